#include "image/HotImage.h"
#include "foundation/KelException.h"
#include "image/SurfaceTestSupport.h"

#include <gtest/gtest.h>

namespace {

uint8_t Pattern(int32_t x, int32_t y) {
    return static_cast<uint8_t>(1 + (x * 11 + y * 3) % 200);
}

class HotImageTest : public ::testing::Test {
protected:
    HotImageTest()
        : Files({{"picture", 30, 20, Pattern}, {"sprite", 6, 4, Pattern, 217}, {"longname", 5, 5, Pattern}}) {
        THotImage::SetGlobalLibrary(&Files.Library);
    }
    ~HotImageTest() override { THotImage::SetGlobalLibrary(nullptr); }

    TestLibrary Files;
};

} // namespace

TEST_F(HotImageTest, ImagesByNameShareOneNode) {
    auto first = THotImage::Create("PICTURE");
    auto second = THotImage::Create("picture");
    ASSERT_EQ(first->Node(), second->Node());
    EXPECT_EQ(first->Node()->UseCount, 2);
    EXPECT_EQ(&first->ImageData(), &second->ImageData());
    first.reset();
    EXPECT_EQ(second->Node()->UseCount, 1);
    EXPECT_EQ(second->ImageData().GetPixel({7, 5}), Pattern(7, 5));
    auto cut = THotImage::Create("LongNameWithMore");
    EXPECT_EQ(cut->Node()->Name, "longname");
}

TEST_F(HotImageTest, UnknownNamesAndAMissingLibraryRaise) {
    EXPECT_THROW(THotImage::Create("nothere"), ZQ5Exception);
    THotImage::SetGlobalLibrary(nullptr);
    EXPECT_THROW(THotImage::Create("picture"), ZQ5Exception);
    EXPECT_THROW(THotImage::CreateBlank(4, 4), ZQ5Exception);
}

TEST(HotImageLibraryTest, TheClassLibraryIsForgottenWhenItGoes) {
    {
        TestLibrary files({{"picture", 3, 2, Pattern}});
        THotImage::SetGlobalLibrary(&files.Library);
        ASSERT_EQ(THotImage::GlobalLibrary(), &files.Library);
    }
    EXPECT_EQ(THotImage::GlobalLibrary(), nullptr);
    EXPECT_THROW(THotImage::Create("picture"), ZQ5Exception);
}

TEST_F(HotImageTest, PrivateImagesAreNumberedOneAfterAnother) {
    auto blank = THotImage::CreateBlank(12, 7);
    const int first = std::stoi(blank->Node()->Name);
    EXPECT_GE(first, 1);
    EXPECT_EQ(blank->ImageData().Width, 12);
    EXPECT_EQ(blank->ImageData().Height, 7);
    EXPECT_TRUE(Pixels(blank->ImageData()) == std::vector<uint8_t>(12 * 7, 0));
    auto shared = THotImage::Create("picture");
    auto copy = THotImage::CreateCopy(shared->ImageData());
    auto made = THotImage::Create("picture", true);
    EXPECT_EQ(copy->Node()->Name, std::to_string(first + 1));
    EXPECT_EQ(made->Node()->Name, std::to_string(first + 2));
    EXPECT_NE(made->Node(), shared->Node());
}

TEST_F(HotImageTest, CopyKeepsPixelsAndTransparencyAndLeavesTheSourceAsItWas) {
    auto sprite = THotImage::Create("sprite");
    TZQ5ImageData& source = sprite->ImageData();
    ASSERT_EQ(source.TransparentOrNone(), 217);
    auto copy = THotImage::CreateCopy(source);
    EXPECT_EQ(copy->ImageData().TransparentOrNone(), 217);
    EXPECT_EQ(source.TransparentOrNone(), 217);
    EXPECT_TRUE(Pixels(copy->ImageData()) == Pixels(source));
    copy->ImageData().FillRect({0, 0, 2, 2}, 9);
    EXPECT_EQ(source.GetPixel({0, 0}), Pattern(0, 0));

    auto picture = THotImage::Create("picture");
    picture->ImageData().SetTransparent(40, false);
    auto opaque = THotImage::CreateCopy(picture->ImageData());
    EXPECT_EQ(opaque->ImageData().TransparentOrNone(), -1);
    EXPECT_EQ(picture->ImageData().TransparentIndex, 40);
}

TEST_F(HotImageTest, CopyTakesTheLayersOverTheSourcesOwnPicture) {
    auto picture = THotImage::Create("picture");
    auto sprite = THotImage::Create("sprite");
    TZQ5ImageData& source = picture->ImageData();
    LayerParams params;
    params.X = 3;
    params.Y = 2;
    source.AddLayer(&sprite->ImageData(), params);
    auto copy = THotImage::CreateCopy(source);
    TZQ5ImageData& made = copy->ImageData();
    EXPECT_TRUE(Pixels(made) == Pixels(source));
    ASSERT_EQ(made.Layers.Count(), 1);
    made.SetLayerNodeVisible(static_cast<TZQ5LayerNode*>(made.Layers.Head()), false);
    EXPECT_EQ(made.GetPixel({4, 3}), Pattern(4, 3));
    made.RemoveLayerNode(static_cast<TZQ5LayerNode*>(made.Layers.Head()));
    source.RemoveLayerNode(static_cast<TZQ5LayerNode*>(source.Layers.Head()));
}

TEST_F(HotImageTest, ImageDataIsCountedAndFreedAtTheLastRelease) {
    TZQ5Library& library = Files.Library;
    TImageNode* node = library.GetImage("picture");
    TZQ5ImageData* surface = library.GetImageData(node);
    EXPECT_EQ(library.GetImageData(node), surface);
    EXPECT_EQ(node->DataUseCount, 2);
    library.ReleaseImageData(node);
    EXPECT_EQ(node->Data.get(), surface);
    library.ReleaseImageData(node);
    EXPECT_EQ(node->Data, nullptr);
    EXPECT_EQ(node->DataUseCount, 0);
    library.ReleaseImageData(node); // nothing left to release
    EXPECT_EQ(library.GetImageData(node)->GetPixel({3, 4}), Pattern(3, 4));
    library.ReleaseImage(node);
}
