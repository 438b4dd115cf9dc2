// The title picture as the build ships it: its parts sit where they were
// drawn to sit, and none is half hidden behind another by accident.

#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <vector>

namespace {
constexpr uint32_t PencilTip = 0xfff2cc;
constexpr uint32_t PinkPencil = 0xff80b8;
// The play button's box in the title picture.
constexpr TRect PlayButton{186, 196, 326, 260};

class ShippedTitle : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string path = std::string(VOREL_BIN_DIR) + "/vorel.zq5";
        if (!std::filesystem::exists(path)) GTEST_SKIP() << "the data files are not built: " << path;
        Library.Load(path, true);
        Node = Library.GetImage("title");
        Surface = Library.GetImageData(Node);
        ASSERT_NE(Surface, nullptr);
        for (int32_t y = 0; y < Surface->Height; ++y)
            for (int32_t x = 0; x < Surface->Width; ++x)
                Pixels.push_back(Library.GetHPal()[Surface->GetPixel({x, y})] & 0xffffffu);
    }
    void TearDown() override {
        if (Surface) Library.ReleaseImageData(Node);
        if (Node) Library.ReleaseImage(Node);
    }
    uint32_t At(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y * Surface->Width + x)]; }

    // Sizes of the 8-connected areas of one colour.
    std::vector<int> AreasOf(uint32_t colour) const {
        std::vector<int> sizes;
        std::set<std::pair<int32_t, int32_t>> seen;
        for (int32_t y = 0; y < Surface->Height; ++y)
            for (int32_t x = 0; x < Surface->Width; ++x) {
                if (At(x, y) != colour || seen.count({x, y})) continue;
                int size = 0;
                std::vector<std::pair<int32_t, int32_t>> todo{{x, y}};
                seen.insert({x, y});
                while (!todo.empty()) {
                    auto [px, py] = todo.back();
                    todo.pop_back();
                    ++size;
                    for (int32_t dy = -1; dy <= 1; ++dy)
                        for (int32_t dx = -1; dx <= 1; ++dx) {
                            int32_t nx = px + dx, ny = py + dy;
                            if (nx < 0 || ny < 0 || nx >= Surface->Width || ny >= Surface->Height) continue;
                            if (At(nx, ny) == colour && seen.insert({nx, ny}).second) todo.push_back({nx, ny});
                        }
                }
                sizes.push_back(size);
            }
        return sizes;
    }

    TZQ5Library Library;
    TImageNode* Node = nullptr;
    TZQ5ImageData* Surface = nullptr;
    std::vector<uint32_t> Pixels;
};
} // namespace

TEST_F(ShippedTitle, EveryPencilTipShowsWhole) {
    std::vector<int> tips = AreasOf(PencilTip);
    ASSERT_EQ(tips.size(), 8u);
    for (int size : tips)
        EXPECT_EQ(size, tips.front()) << "a tip is partly covered";
}

TEST_F(ShippedTitle, NoPencilReachesUnderThePlayButton) {
    for (int32_t y = PlayButton.Top; y < PlayButton.Bottom; ++y)
        for (int32_t x = PlayButton.Left; x < PlayButton.Right; ++x) {
            ASSERT_NE(At(x, y), PencilTip) << x << "," << y;
            ASSERT_NE(At(x, y), PinkPencil) << x << "," << y;
        }
}
