#include "shell/PlayArea.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {
struct Event {
    std::string Kind;
    int Button;
    TShiftState Shift;
    int X;
    int Y;
    bool operator==(const Event&) const = default;
};

class RecordingClient : public PlayAreaClient {
public:
    std::vector<Event> Events;
    std::vector<TRect> Paints;
    void ViewMouseDown(int button, TShiftState shift, int32_t x, int32_t y) override {
        Events.push_back({"down", button, shift, x, y});
    }
    void ViewMouseMove(TShiftState shift, int32_t x, int32_t y) override {
        Events.push_back({"move", -1, shift, x, y});
    }
    void ViewMouseUp(int button, TShiftState shift, int32_t x, int32_t y) override {
        Events.push_back({"up", button, shift, x, y});
    }
    void ViewPaint(const TRect& clip) override { Paints.push_back(clip); }
};
} // namespace

TEST(PlayAreaTest, MousePositionsMapBackThroughTheScale) {
    RecordingClient client;
    PlayArea area(client, nullptr);
    area.SetScale(3);
    area.resize(1536, 960);
    area.show();
    QTest::mousePress(&area, Qt::LeftButton, Qt::ShiftModifier, QPoint(31, 62));
    QTest::mouseMove(&area, QPoint(1535, 959));
    QTest::mouseRelease(&area, Qt::LeftButton, Qt::NoModifier, QPoint(1535, 959));
    QTest::mousePress(&area, Qt::RightButton, Qt::ControlModifier, QPoint(3, 3));
    ASSERT_GE(client.Events.size(), 4u);
    EXPECT_EQ(client.Events[0], (Event{"down", 0, ssShift | ssLeft, 10, 20}));
    EXPECT_EQ(client.Events[1].Kind, "move");
    EXPECT_EQ(client.Events[1].X, 511);
    EXPECT_EQ(client.Events[1].Y, 319);
    EXPECT_EQ(client.Events[2], (Event{"up", 0, {}, 511, 319}));
    EXPECT_EQ(client.Events.back(), (Event{"down", 1, ssCtrl | ssRight, 1, 1}));
}

TEST(PlayAreaTest, DoubleClickIsAPressWithTheDoubleBit) {
    RecordingClient client;
    PlayArea area(client, nullptr);
    area.show();
    QTest::mouseDClick(&area, Qt::LeftButton, {}, QPoint(7, 9));
    ASSERT_FALSE(client.Events.empty());
    bool sawDouble = false;
    for (const Event& e : client.Events)
        if (e.Kind == "down" && e.Shift.Has(ssDouble)) sawDouble = e.X == 7 && e.Y == 9;
    EXPECT_TRUE(sawDouble);
}

TEST(PlayAreaTest, PaintAsksForTheExposedPartInScreenPixels) {
    RecordingClient client;
    PlayArea area(client, nullptr);
    area.SetScale(2);
    area.resize(1024, 640);
    QImage shot(1024, 640, QImage::Format_RGB32);
    area.render(&shot, QPoint(), QRegion(100, 50, 21, 10));
    ASSERT_EQ(client.Paints.size(), 1u);
    EXPECT_EQ(client.Paints[0], (TRect{50, 25, 61, 30}));
}
