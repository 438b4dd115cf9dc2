#include "image/LibraryImage.h"
#include "foundation/KelException.h"
#include "image/ZQ5ImageData.h"
#include "support/TestLibrary.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {
uint8_t Pattern(int32_t x, int32_t y) {
    return static_cast<uint8_t>(1 + (x * 7 + y * 5) % 200);
}

std::unique_ptr<TestLibrary> PictureLibrary() {
    return std::make_unique<TestLibrary>(std::vector<TestImageSpec>{{"picture", 12, 8, Pattern}});
}
} // namespace

TEST(LibraryImage, GivesTheSurfaceAndTheImageBackWhenItGoes) {
    auto files = PictureLibrary();
    TZQ5Library& library = files->Library;
    TImageNode* node = nullptr;
    {
        TLibraryImage first = TLibraryImage::Take(library, "PICTURE");
        TLibraryImage second = TLibraryImage::TakeWithSurface(library, "picture");
        node = first.Node();
        ASSERT_EQ(second.Node(), node);
        EXPECT_EQ(node->UseCount, 2);
        EXPECT_EQ(first.TakenSurface(), nullptr);
        EXPECT_EQ(first.Surface().GetPixel({3, 2}), Pattern(3, 2));
        EXPECT_EQ(first.TakenSurface(), second.TakenSurface());
        EXPECT_EQ(node->DataUseCount, 2);
        second.Reset();
        EXPECT_FALSE(second);
        EXPECT_EQ(node->UseCount, 1);
        EXPECT_EQ(node->DataUseCount, 1);
    }
    EXPECT_TRUE(library.Images().IsEmpty());
}

TEST(LibraryImage, MovingHandsTheImageOverOnce) {
    auto files = PictureLibrary();
    TZQ5Library& library = files->Library;
    TLibraryImage made = TLibraryImage::Make(library, "scratch", 4, 3);
    TImageNode* node = made.Node();
    made.Surface().FillRect({0, 0, 4, 3}, 9);
    TLibraryImage moved(std::move(made));
    EXPECT_FALSE(made); // the moved-from handle is empty
    EXPECT_EQ(made.Library(), nullptr);
    EXPECT_EQ(moved.Node(), node);
    EXPECT_EQ(moved.TakenSurface()->GetPixel({1, 1}), 9);

    TLibraryImage picture = TLibraryImage::Take(library, "picture");
    picture = std::move(moved); // the picture goes back, the scratch image stays
    EXPECT_EQ(picture.Node(), node);
    EXPECT_EQ(library.Images().Count(), 1);
    picture.Reset();
    EXPECT_TRUE(library.Images().IsEmpty());
}

TEST(LibraryImage, ALibraryThatGoesFirstLeavesTheHandleEmptyNotDangling) {
    auto files = PictureLibrary();
    TLibraryImage image = TLibraryImage::TakeWithSurface(files->Library, "picture");
    TLibraryImage moved = std::move(image); // the registration moves along
    files.reset();
    EXPECT_EQ(moved.Library(), nullptr);
    moved.Reset(); // touches no freed library (the sanitiser build would say)
    EXPECT_FALSE(moved);
}

TEST(LibraryImage, AnUnknownNameTakesNothing) {
    auto files = PictureLibrary();
    EXPECT_THROW(TLibraryImage::TakeWithSurface(files->Library, "nothing"), KelException);
    EXPECT_TRUE(files->Library.Images().IsEmpty());
}
