#include "foundation/KelException.h"
#include "image/SurfaceTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace {

LayerParams At(int32_t x, int32_t y, uint16_t priority = 0) {
    LayerParams params;
    params.X = x;
    params.Y = y;
    params.Priority = priority;
    return params;
}

std::vector<TZQ5ImageData*> ParentsOf(const TZQ5ImageData& source) {
    std::vector<TZQ5ImageData*> parents;
    for (TDataNode* node : source.Parents)
        parents.push_back(static_cast<TZQ5ImageData*>(node->Data));
    return parents;
}

uint8_t Pattern(int32_t x, int32_t y) {
    return static_cast<uint8_t>('A' + (x * 3 + y * 5) % 26);
}

} // namespace

TEST(LayerTest, HigherPriorityDrawsOverAndEqualPrioritiesKeepTheirOrder) {
    TestSurface parent(10, 1), a(3, 1), b(3, 1), c(3, 1);
    Paint(*parent, {".........."});
    Paint(*a, {"aaa"});
    Paint(*b, {"bbb"});
    Paint(*c, {"ccc"});
    parent->AddLayer(a.Get(), At(0, 0, 5));
    parent->AddLayer(b.Get(), At(1, 0, 5));
    EXPECT_EQ(Picture(*parent)[0], "abbb......");
    parent->AddLayer(c.Get(), At(2, 0, 3));
    EXPECT_EQ(Picture(*parent)[0], "abbbc.....");
    std::vector<void*> order;
    for (TPriNode* node : parent->Layers)
        order.push_back(static_cast<TZQ5LayerNode*>(node)->Data);
    EXPECT_EQ(order, (std::vector<void*>{c.Get(), a.Get(), b.Get()}));
}

TEST(LayerTest, ShowingAndHidingRestoresTheParentExactly) {
    TestSurface parent(20, 12), lower(8, 6), upper(5, 5);
    SetPixels(*parent, Pattern);
    SetPixels(*lower,
              [](int32_t x, int32_t y) { return static_cast<uint8_t>((x + y) % 3 == 0 ? '*' : 'l'); });
    SetPixels(*upper, [](int32_t, int32_t) { return uint8_t{'u'}; });
    lower->SetTransparent('*', true);
    const std::vector<uint8_t> original = Pixels(*parent);

    TZQ5LayerNode* low = parent->AddLayer(lower.Get(), At(-2, 3, 1));
    EXPECT_EQ(parent->GetPixel({0, 3}), 'l');           // lower's (2, 0)
    EXPECT_EQ(parent->GetPixel({1, 3}), Pattern(1, 3)); // lower's (3, 0) is transparent
    TZQ5LayerNode* high = parent->AddLayer(upper.Get(), At(4, 6, 2));
    EXPECT_EQ(parent->GetPixel({4, 6}), 'u');
    parent->SetLayerNodeVisible(low, false);
    EXPECT_EQ(parent->GetPixel({4, 6}), 'u');
    EXPECT_EQ(parent->GetPixel({0, 3}), Pattern(0, 3));
    parent->SetLayerNodeVisible(low, true);
    EXPECT_EQ(parent->GetPixel({0, 3}), 'l');
    parent->SetLayerNodeVisible(high, false);
    parent->SetLayerNodeVisible(low, false);
    EXPECT_TRUE(Pixels(*parent) == original);
    parent->SetLayerNodeVisible(high, true);
    parent->SetLayerNodeVisible(low, true);
    parent->RemoveLayerNode(low);
    parent->RemoveLayerNode(high);
    EXPECT_TRUE(Pixels(*parent) == original);
    EXPECT_TRUE(parent->Layers.IsEmpty());
    EXPECT_TRUE(lower->Parents.IsEmpty());
}

TEST(LayerTest, DrawingUnderALayerKeepsItOnTopAndUpdatesItsBackground) {
    TestSurface parent(10, 10), sprite(4, 4);
    Paint(*sprite, {"ssss", "ssss", "ssss", "ssss"});
    TZQ5LayerNode* layer = parent->AddLayer(sprite.Get(), At(3, 3));
    parent->ClearDamage();
    parent->FillRect({0, 0, 10, 10}, 'f');
    EXPECT_EQ(parent->GetPixel({4, 4}), 's');
    EXPECT_EQ(parent->GetPixel({2, 2}), 'f');
    EXPECT_EQ(parent->DamageList().Head()->Rect, (TRect{0, 0, 10, 10}));
    parent->SetLayerNodeVisible(layer, false);
    EXPECT_EQ(parent->GetPixel({4, 4}), 'f');
}

TEST(LayerTest, FloodFillWorksOnThePixelsUnderTheLayers) {
    TestSurface parent(10, 3), sprite(2, 3);
    Paint(*parent, {"..........", "..........", ".........."});
    Paint(*sprite, {"##", "##", "##"});
    parent->AddLayer(sprite.Get(), At(4, 0));
    EXPECT_EQ(parent->FloodFill({0, 0}, 'o'), (TRect{0, 0, 10, 3}));
    EXPECT_EQ(Picture(*parent), (std::vector<std::string>{"oooo##oooo", "oooo##oooo", "oooo##oooo"}));
}

TEST(LayerTest, ARefusedParentAddsNothing) {
    TestSurface a(4, 4), b(4, 4);
    a->AddLayer(b.Get(), At(0, 0));
    try {
        b->AddLayer(a.Get(), At(0, 0));
        FAIL() << "a parent was accepted as a layer";
    } catch (const ZQ5Exception& error) {
        EXPECT_STREQ(error.what(), "AddLayer: can't make parent a layer");
    }
    EXPECT_TRUE(b->Layers.IsEmpty());
    EXPECT_TRUE(a->Parents.IsEmpty());
    EXPECT_THROW(a->AddLayer(a.Get(), At(0, 0)), ZQ5Exception);
}

TEST(LayerTest, UnknownLayersAreRefusedByName) {
    TestSurface a(4, 4), b(4, 4), c(2, 2);
    TZQ5LayerNode* foreign = b->AddLayer(c.Get(), At(0, 0));
    LayerParams params;
    auto expectText = [](auto action, const char* text) {
        try {
            action();
            FAIL() << text;
        } catch (const ZQ5Exception& error) {
            EXPECT_STREQ(error.what(), text);
        }
    };
    expectText([&] { a->RemoveLayerNode(foreign); }, "RemoveLayerNode: Unknown layer");
    expectText([&] { a->SetLayerNodeVisible(nullptr, true); }, "SetLayerNodeVisible: Unknown layer");
    expectText([&] { a->GetLayerNodeParams(foreign, params); }, "SetLayerNodeSourceRect: Unknown layer");
}

TEST(LayerTest, AFillSeededUnderALayerFillsTheSurfaceBelow) {
    TestSurface parent(10, 3), sprite(2, 3);
    Paint(*parent, {"..........", "..........", ".........."});
    Paint(*sprite, {"##", "##", "##"});
    TZQ5LayerNode* layer = parent->AddLayer(sprite.Get(), At(4, 0));
    EXPECT_EQ(parent->FloodFill({4, 1}, 'o'), (TRect{0, 0, 10, 3}));
    EXPECT_EQ(Picture(*parent), (std::vector<std::string>{"oooo##oooo", "oooo##oooo", "oooo##oooo"}));
    parent->SetLayerNodeVisible(layer, false);
    EXPECT_EQ(Picture(*parent)[1], "oooooooooo");
}

// After any change of a scaled layer's source, the parent shows what a fresh
// drawing of the layer shows: the refresh reaches every column and line.
TEST(LayerTest, ScaledLayerRefreshesEveryChangedColumnAndLine) {
    std::mt19937 random(21);
    for (int round = 0; round < 300; ++round) {
        const int32_t w = 1 + static_cast<int32_t>(random() % 9), h = 1 + static_cast<int32_t>(random() % 9);
        TestSurface parent(40, 40), sprite(w, h);
        SetPixels(*parent, [](int32_t, int32_t) { return uint8_t{'.'}; });
        SetPixels(*sprite, Pattern);
        LayerParams params = At(1, 2);
        params.ScaleX = static_cast<uint16_t>(1 + random() % 7);
        params.ScaleY = static_cast<uint16_t>(1 + random() % 7);
        params.ScaleDivisor = static_cast<uint16_t>(1 + random() % 5);
        TZQ5LayerNode* layer = parent->AddLayer(sprite.Get(), params);
        const int32_t x = static_cast<int32_t>(random() % static_cast<unsigned>(w));
        const int32_t y = static_cast<int32_t>(random() % static_cast<unsigned>(h));
        sprite->FillRect({x, y, x + 1 + static_cast<int32_t>(random() % static_cast<unsigned>(w - x)), y + 1}, 'z');
        const std::vector<std::string> refreshed = Picture(*parent);
        parent->SetLayerNodeVisible(layer, false);
        parent->SetLayerNodeVisible(layer, true);
        ASSERT_EQ(refreshed, Picture(*parent)) << "round " << round << ": " << w << "x" << h << " scaled "
                                               << params.ScaleX << "/" << params.ScaleDivisor << ", "
                                               << params.ScaleY << "/" << params.ScaleDivisor;
    }
}

TEST(LayerTest, ChangesOfTheSourceReachTheParent) {
    TestSurface parent(10, 6), sprite(4, 4);
    SetPixels(*parent, Pattern);
    Paint(*sprite, {"ssss", "ssss", "ssss", "ssss"});
    sprite->SetTransparent('*', true);
    parent->AddLayer(sprite.Get(), At(5, 1));
    parent->ClearDamage();
    sprite->FillRect({1, 1, 3, 2}, 'n');
    EXPECT_EQ(parent->GetPixel({6, 2}), 'n');
    EXPECT_EQ(parent->GetPixel({7, 2}), 'n');
    EXPECT_EQ(parent->GetPixel({8, 2}), 's');
    EXPECT_EQ(parent->DamageList().Head()->Rect, (TRect{6, 2, 8, 3}));
    // Pixels that become transparent show the parent's own picture again.
    sprite->FillRect({0, 0, 4, 1}, '*');
    for (int32_t x = 5; x < 9; ++x)
        EXPECT_EQ(parent->GetPixel({x, 1}), Pattern(x, 1));
}

TEST(LayerTest, ChangesReachALayerShowingALaterFrameOrAMirroredSource) {
    TestSurface parent(6, 4), strip(3, 4);
    Paint(*parent, {"......", "......", "......", "......"});
    Paint(*strip, {"abc", "def", "ghi", "jkl"});
    strip->FrameHeight = 2;
    LayerParams params = At(0, 0);
    params.FrameIndex = 1;
    parent->AddLayer(strip.Get(), params);
    EXPECT_EQ(Picture(*parent)[0], "ghi...");
    strip->FillRect({2, 3, 3, 4}, 'z');
    EXPECT_EQ(Picture(*parent)[1], "jkz...");
    strip->FillRect({0, 0, 3, 1}, 'q'); // frame 0: not shown
    EXPECT_EQ(Picture(*parent)[0], "ghi...");

    TestSurface other(6, 2), mirrored(3, 2);
    Paint(*other, {"......", "......"});
    Paint(*mirrored, {"abc", "def"});
    mirrored->MirrorHorizontal = true;
    other->AddLayer(mirrored.Get(), At(1, 0));
    EXPECT_EQ(Picture(*other), (std::vector<std::string>{".cba..", ".fed.."}));
    mirrored->FillRect({0, 1, 1, 2}, 'x');
    EXPECT_EQ(Picture(*other), (std::vector<std::string>{".cba..", ".fex.."}));
}

TEST(LayerTest, ScaledLayerShowsItsSourceEnlargedAndHidesCleanly) {
    TestSurface parent(8, 6), sprite(2, 2);
    Paint(*parent, {"........", "........", "........", "........", "........", "........"});
    Paint(*sprite, {"ab", "cd"});
    LayerParams params = At(1, 1);
    params.ScaleX = 3;
    params.ScaleY = 2;
    params.ScaleDivisor = 2;
    TZQ5LayerNode* layer = parent->AddLayer(sprite.Get(), params);
    EXPECT_EQ(layer->SaveSurface->Width, 3);
    EXPECT_EQ(layer->SaveSurface->Height, 2);
    EXPECT_EQ(Picture(*parent)[1], ".abb....");
    EXPECT_EQ(Picture(*parent)[2], ".cdd....");
    sprite->FillRect({1, 0, 2, 1}, 'x');
    EXPECT_EQ(Picture(*parent)[1], ".axx....");
    parent->SetLayerNodeVisible(layer, false);
    EXPECT_EQ(Picture(*parent)[1], "........");
    params.ScaleDivisor = 0;
    EXPECT_THROW(parent->AddLayer(sprite.Get(), params), ZQ5Exception);
}

TEST(LayerTest, ParentsListEachParentOnceWhileOneOfItsLayersShowsTheSource) {
    TestSurface parent(10, 10), other(10, 10), sprite(2, 2);
    TZQ5LayerNode* first = parent->AddLayer(sprite.Get(), At(0, 0));
    TZQ5LayerNode* second = parent->AddLayer(sprite.Get(), At(5, 5));
    other->AddLayer(sprite.Get(), At(1, 1));
    EXPECT_EQ(ParentsOf(*sprite), (std::vector<TZQ5ImageData*>{parent.Get(), other.Get()}));
    parent->RemoveLayerNode(first);
    EXPECT_EQ(ParentsOf(*sprite), (std::vector<TZQ5ImageData*>{parent.Get(), other.Get()}));
    parent->RemoveLayerNode(second);
    EXPECT_EQ(ParentsOf(*sprite), (std::vector<TZQ5ImageData*>{other.Get()}));
    other.Destroy();
    EXPECT_TRUE(sprite->Parents.IsEmpty());
}

TEST(LayerTest, ADestroyedSourceLeavesItsParentsWithTheirPixelsRestored) {
    TestSurface parent(10, 10), sprite(3, 3), keeper(2, 2);
    SetPixels(*parent, Pattern);
    Paint(*sprite, {"sss", "sss", "sss"});
    Paint(*keeper, {"kk", "kk"});
    const std::vector<uint8_t> original = Pixels(*parent);
    parent->AddLayer(sprite.Get(), At(2, 2, 1));
    parent->AddLayer(sprite.Get(), At(6, 6, 1));
    parent->AddLayer(keeper.Get(), At(3, 3, 2));
    sprite.Destroy();
    ASSERT_EQ(parent->Layers.Count(), 1);
    EXPECT_EQ(parent->GetPixel({3, 3}), 'k');
    EXPECT_EQ(parent->GetPixel({2, 2}), Pattern(2, 2));
    EXPECT_EQ(parent->GetPixel({7, 7}), Pattern(7, 7));
    parent->RemoveLayerNode(static_cast<TZQ5LayerNode*>(parent->Layers.Head()));
    EXPECT_TRUE(Pixels(*parent) == original);
}

TEST(LayerTest, ParamsReadBackAndCopiedLayersMatch) {
    TestSurface parent(12, 8), copy(12, 8), sprite(4, 4);
    Paint(*sprite, {"abcd", "efgh", "ijkl", "mnop"});
    LayerParams params = At(3, 2, 7);
    params.UseSourceRect = true;
    params.SourceRect = {1, 1, 3, 4};
    params.Hidden = true;
    TZQ5LayerNode* hidden = parent->AddLayer(sprite.Get(), params);
    parent->AddLayer(sprite.Get(), At(8, 0, 2));
    LayerParams read;
    parent->GetLayerNodeParams(hidden, read);
    EXPECT_EQ(read.Priority, 7);
    EXPECT_TRUE(read.UseSourceRect);
    EXPECT_TRUE(read.Hidden);
    EXPECT_EQ(read.X, 3);
    EXPECT_EQ(read.Y, 2);
    EXPECT_EQ(read.SourceRect, (TRect{1, 1, 3, 4}));
    parent->SetLayerNodeVisible(hidden, true);
    EXPECT_EQ(parent->GetPixel({3, 2}), 'f');
    EXPECT_EQ(parent->GetPixel({4, 4}), 'o');
    copy->CopyLayersFrom(*parent);
    EXPECT_TRUE(Pixels(*copy) == Pixels(*parent));
    EXPECT_EQ(copy->Layers.Count(), 2);
}

TEST(LayerTest, LayersAcrossBandBoundariesRestoreExactly) {
    TestSurface parent(640, 480), sprite(50, 300);
    ASSERT_EQ(parent->SegmentCount(), 5);
    SetPixels(*parent, Pattern);
    SetPixels(*sprite,
              [](int32_t x, int32_t y) { return static_cast<uint8_t>((x * y) % 7 == 0 ? '*' : 's'); });
    sprite->SetTransparent('*', true);
    const std::vector<uint8_t> original = Pixels(*parent);
    TZQ5LayerNode* layer = parent->AddLayer(sprite.Get(), At(600, 90));
    EXPECT_EQ(parent->GetPixel({601, 91}), 's');
    EXPECT_EQ(parent->GetPixel({600, 91}), Pattern(600, 91));
    EXPECT_EQ(parent->GetPixel({639, 389}), 's');
    parent->FillRect({590, 380, 640, 400}, 'f');
    EXPECT_EQ(parent->GetPixel({601, 381}), 's');
    EXPECT_EQ(parent->GetPixel({600, 381}), 'f');
    parent->RemoveLayerNode(layer);
    for (int32_t y = 380; y < 400; ++y)
        for (int32_t x = 590; x < 640; ++x)
            ASSERT_EQ(parent->GetPixel({x, y}), 'f');
    parent->FillRect({590, 380, 640, 400}, 0);
    for (int32_t y = 380; y < 400; ++y)
        for (int32_t x = 590; x < 640; ++x)
            ASSERT_EQ(parent->GetPixel({x, y}), 0);
    std::vector<uint8_t> after = Pixels(*parent);
    for (size_t i = 0; i < after.size(); ++i) {
        const auto x = static_cast<int32_t>(i % 640), y = static_cast<int32_t>(i / 640);
        if (x >= 590 && y >= 380 && y < 400) continue;
        ASSERT_EQ(after[i], original[i]) << x << "," << y;
    }
}

// The layer machinery works on the whole parent, whatever clip rectangle and
// mirroring its users have set for their own drawing.
TEST(LayerTest, ClipRectAndMirroringOfTheParentDoNotSpoilTheRestore) {
    TestSurface parent(12, 6), sprite(4, 4);
    SetPixels(*parent, Pattern);
    Paint(*sprite, {"ssss", "ssss", "ssss", "ssss"});
    const std::vector<uint8_t> original = Pixels(*parent);
    parent->MirrorHorizontal = true;
    parent->MirrorVertical = true;
    parent->SetClipRect({0, 0, 5, 3});
    TZQ5LayerNode* layer = parent->AddLayer(sprite.Get(), At(3, 1));
    EXPECT_EQ(parent->GetPixel({6, 4}), 's');
    parent->SetLayerNodeVisible(layer, false);
    EXPECT_TRUE(Pixels(*parent) == original);
    parent->SetLayerNodeVisible(layer, true);
    parent->RemoveLayerNode(layer);
    EXPECT_TRUE(Pixels(*parent) == original);
    EXPECT_EQ(parent->ClipRect, (TRect{0, 0, 5, 3}));
}

// Random drawing on a parent and on its layer sources, with layers shown,
// hidden, added and removed: the parent must always show its own picture with
// the visible layers over it in priority order.
TEST(LayerTest, RandomOperationsKeepTheComposedPictureRight) {
    std::mt19937 random(4242);
    TestSurface parent(40, 30);
    std::vector<std::unique_ptr<TestSurface>> sources;
    for (int i = 0; i < 3; ++i) {
        sources.push_back(std::make_unique<TestSurface>(static_cast<uint16_t>(3 + random() % 12),
                                                        static_cast<uint16_t>(3 + random() % 12)));
        SetPixels(**sources.back(), [&](int32_t, int32_t) { return static_cast<uint8_t>(random() % 4); });
        if (i != 1) (*sources.back())->SetTransparent(0, true);
    }
    std::vector<uint8_t> base(40 * 30, 9);
    parent->FillRect(parent->BoundsRect(), 9);
    auto randomRect = [&](int32_t w, int32_t h) {
        const auto x = static_cast<int32_t>(random() % (w + 10)) - 5,
                   y = static_cast<int32_t>(random() % (h + 10)) - 5;
        return TRect{x, y, x + static_cast<int32_t>(random() % 20), y + static_cast<int32_t>(random() % 20)};
    };
    auto composed = [&] {
        std::vector<uint8_t> pixels = base;
        for (TPriNode* node : parent->Layers) {
            auto* layer = static_cast<TZQ5LayerNode*>(node);
            if (!layer->Visible) continue;
            TZQ5ImageData& source = *layer->Source();
            for (int32_t y = 0; y < source.Height; ++y)
                for (int32_t x = 0; x < source.Width; ++x) {
                    const int32_t px = x + layer->Position.X, py = y + layer->Position.Y;
                    const uint8_t value = source.GetPixel({x, y});
                    if (px < 0 || py < 0 || px >= 40 || py >= 30 || value == source.TransparentOrNone())
                        continue;
                    pixels[static_cast<size_t>(py) * 40 + px] = value;
                }
        }
        return pixels;
    };
    for (int step = 0; step < 300; ++step) {
        const auto pick = random() % 6;
        const auto colour = static_cast<uint8_t>(random() % 12);
        TZQ5ImageData& source = **sources[random() % sources.size()];
        auto* layer = static_cast<TZQ5LayerNode*>(parent->Layers.Nth(1 + static_cast<int32_t>(random() % 4)));
        if (pick == 0) {
            TRect rect = randomRect(40, 30);
            parent->FillRect(rect, colour);
            parent->ClipToDrawable(rect);
            for (int32_t y = rect.Top; y < rect.Bottom; ++y)
                for (int32_t x = rect.Left; x < rect.Right; ++x)
                    base[static_cast<size_t>(y) * 40 + x] = colour;
        } else if (pick == 1) {
            source.FillRect(randomRect(source.Width, source.Height), static_cast<uint8_t>(colour % 4));
        } else if (pick == 2 && parent->Layers.Count() < 6) {
            parent->AddLayer(&source, At(static_cast<int32_t>(random() % 46) - 5,
                                         static_cast<int32_t>(random() % 36) - 5,
                                         static_cast<uint16_t>(random() % 3)));
        } else if (pick == 3 && layer) {
            parent->SetLayerNodeVisible(layer, !layer->Visible);
        } else if (pick == 4 && layer) {
            parent->RemoveLayerNode(layer);
        } else if (pick == 5) {
            parent->AddDamage(randomRect(40, 30));
            parent->ClearDamage();
        }
        ASSERT_TRUE(Pixels(*parent) == composed()) << "step " << step << " operation " << pick;
    }
    while (auto* layer = static_cast<TZQ5LayerNode*>(parent->Layers.Head()))
        parent->RemoveLayerNode(layer);
    EXPECT_TRUE(Pixels(*parent) == base);
}
