#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <numbers>

#include "support/log_capture.h"
#include "ui/slider.h"
#include "ui/view_transform.h"

namespace lumigrave::ui {
namespace {

constexpr double kQuarter = std::numbers::pi / 2;

struct TurnRow {
    QRectF frame;
    int turns;
    QRectF shown;
};

class TurnedFrameTest : public ::testing::TestWithParam<TurnRow> {};

TEST_P(TurnedFrameTest, TurnsAboutTheFramesCentre) {
    const TurnRow& row = GetParam();
    EXPECT_EQ(turnedFrame(row.frame, row.turns), row.shown);
    // Turning back gives the frame again.
    EXPECT_EQ(turnedFrame(turnedFrame(row.frame, row.turns), -row.turns), row.frame);
}

INSTANTIATE_TEST_SUITE_P(Frames, TurnedFrameTest,
                         ::testing::Values(
                             // The layout editor's margin sliders on a 320 × 480 view: upright over
                             // the bottom 180 points, at x 20 and at W - 40.
                             TurnRow{{-60, 380, 180, 20}, -1, {20, 300, 20, 180}},
                             TurnRow{{200, 380, 180, 20}, -1, {280, 300, 20, 180}},
                             TurnRow{{-60, 380, 180, 20}, 1, {20, 300, 20, 180}},
                             TurnRow{{-60, 380, 180, 20}, 3, {20, 300, 20, 180}},
                             TurnRow{{-60, 380, 180, 20}, 2, {-60, 380, 180, 20}},
                             TurnRow{{-60, 380, 180, 20}, 0, {-60, 380, 180, 20}},
                             TurnRow{{-60, 380, 180, 20}, -4, {-60, 380, 180, 20}},
                             TurnRow{{0, 0, 11, 4}, 1, {3.5, -3.5, 4, 11}},
                             TurnRow{{5, 5, 30, 30}, 1, {5, 5, 30, 30}},
                             TurnRow{{0, 0, 0, 0}, 1, {0, 0, 0, 0}}));

struct AngleRow {
    double radians;
    bool whole;
    int turns;
};

class QuarterTurnsTest : public ::testing::TestWithParam<AngleRow> {};

TEST_P(QuarterTurnsTest, OnlyWholeQuarterTurnsAreTaken) {
    const AngleRow& row = GetParam();
    int turns = 99;
    EXPECT_EQ(quarterTurnsForAngle(row.radians, &turns), row.whole) << row.radians;
    EXPECT_EQ(turns, row.whole ? row.turns : 99) << row.radians;
}

INSTANTIATE_TEST_SUITE_P(
    Angles, QuarterTurnsTest,
    ::testing::Values(AngleRow{0, true, 0}, AngleRow{-kQuarter, true, 3},
                      AngleRow{double(-float(kQuarter)), true, 3}, AngleRow{kQuarter, true, 1},
                      AngleRow{2 * kQuarter, true, 2}, AngleRow{-2 * kQuarter, true, 2},
                      AngleRow{4 * kQuarter, true, 0}, AngleRow{5 * kQuarter, true, 1},
                      AngleRow{0.3, false, 0}, AngleRow{kQuarter / 2, false, 0},
                      AngleRow{NAN, false, 0}, AngleRow{INFINITY, false, 0}));

TEST(BoundsToTurnedView, CornersLandWhereTheTurnPutsThem) {
    const QSizeF bounds(180, 20);
    // Counter-clockwise: the left end goes to the bottom, the top edge to the left.
    const QTransform counter = boundsToTurnedView(bounds, 3);
    EXPECT_EQ(counter.map(QPointF(0, 10)), QPointF(10, 180));
    EXPECT_EQ(counter.map(QPointF(180, 10)), QPointF(10, 0));
    EXPECT_EQ(counter.map(QPointF(90, 0)), QPointF(0, 90));
    const QTransform clockwise = boundsToTurnedView(bounds, 1);
    EXPECT_EQ(clockwise.map(QPointF(0, 10)), QPointF(10, 0));
    EXPECT_EQ(clockwise.map(QPointF(180, 0)), QPointF(20, 180));
    const QTransform half = boundsToTurnedView(bounds, 2);
    EXPECT_EQ(half.map(QPointF(0, 0)), QPointF(180, 20));
    EXPECT_TRUE(boundsToTurnedView(bounds, 0).isIdentity());
    // Every turn keeps the bounds inside the turned view.
    for (int turns = 0; turns < 4; ++turns) {
        const QRectF shown = boundsToTurnedView(bounds, turns).mapRect(QRectF(QPointF(), bounds));
        EXPECT_EQ(shown.topLeft(), QPointF(0, 0)) << turns;
        EXPECT_EQ(shown.size(), turns % 2 ? bounds.transposed() : bounds) << turns;
    }
}

// A margin slider: built lying down, then turned a quarter counter-clockwise.
class TurnedSliderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.resize(320, 480);
        slider = new Slider(&host);
        slider->setFrame(QRectF(-60, 380, 180, 20));
        slider->setMaximumValue(0.5f);
        slider->setRotation(-kQuarter);
        slider->addTarget(ControlEvent::ValueChanged, [this] { ++changes; });
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    // Where, in the turned slider, the thumb's centre stands for value.
    QPoint pointFor(float value) const {
        const QRectF bounds = slider->bounds();
        const QPointF centre =
            slider->thumbRectForBounds(bounds, slider->trackRectForBounds(bounds), value).center();
        return slider->boundsTransform().map(centre).toPoint();
    }

    QWidget host;
    Slider* slider = nullptr;
    int changes = 0;
};

TEST_F(TurnedSliderTest, StandsUprightInItsTurnedFrame) {
    EXPECT_EQ(slider->geometry(), QRect(20, 300, 20, 180));
    EXPECT_EQ(slider->frame(), QRectF(-60, 380, 180, 20));
    EXPECT_EQ(slider->bounds(), QRectF(0, 0, 180, 20));
    EXPECT_EQ(slider->quarterTurns(), 3);
    // The minimum is at the bottom and the maximum at the top.
    EXPECT_GT(pointFor(0).y(), 150);
    EXPECT_LT(pointFor(0.5f).y(), 30);
    EXPECT_EQ(pointFor(0.25f).x(), 10);

    // The thumb is drawn where it stands: the slider's image differs there most.
    slider->setValue(0.5f);
    const QImage top = slider->grab().toImage();
    slider->setValue(0);
    const QImage bottom = slider->grab().toImage();
    EXPECT_EQ(top.size(), QSize(20, 180));
    EXPECT_NE(top.pixel(pointFor(0.5f)), bottom.pixel(pointFor(0.5f)));
    EXPECT_NE(top.pixel(pointFor(0)), bottom.pixel(pointFor(0)));

    // Moved later, it stays turned.
    slider->setFrame(QRectF(200, 380, 180, 20));
    EXPECT_EQ(slider->geometry(), QRect(280, 300, 20, 180));
    // Another angle than a quarter turn is refused and changes nothing.
    test::LogCapture log;
    slider->setRotation(0.3);
    EXPECT_EQ(slider->geometry(), QRect(280, 300, 20, 180));
    EXPECT_TRUE(log.contains("A control can only be turned by quarter turns, not by 0.3 radians"))
        << log.lines().join('\n').toStdString();
    // Turning back lays it down again.
    slider->setRotation(0);
    EXPECT_EQ(slider->geometry(), QRect(200, 380, 180, 20));
}

TEST_F(TurnedSliderTest, DragClickWheelAndKeysWorkAlongTheUprightTrack) {
    // Dragging the thumb up from the bottom raises the value.
    QTest::mousePress(slider, Qt::LeftButton, {}, pointFor(0));
    EXPECT_FLOAT_EQ(slider->value(), 0);
    QTest::mouseMove(slider, pointFor(0.25f));
    EXPECT_NEAR(slider->value(), 0.25, 0.01);
    QTest::mouseMove(slider, QPoint(10, -200));
    EXPECT_FLOAT_EQ(slider->value(), 0.5f);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(10, -200));
    EXPECT_EQ(changes, 2);

    // A click low on the track jumps there.
    QTest::mouseClick(slider, Qt::LeftButton, {}, pointFor(0.1f));
    EXPECT_NEAR(slider->value(), 0.1, 0.01);
    EXPECT_EQ(changes, 3);

    slider->setValue(0.2f);
    QTest::keyClick(slider, Qt::Key_Up);
    EXPECT_NEAR(slider->value(), 0.205, 1e-5);
    QTest::keyClick(slider, Qt::Key_Down);
    QTest::keyClick(slider, Qt::Key_Down);
    EXPECT_NEAR(slider->value(), 0.195, 1e-5);

    const QPointF middle(10, 90);
    QWheelEvent up(middle, slider->mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(slider, &up);
    EXPECT_NEAR(slider->value(), 0.21, 1e-5);
    EXPECT_EQ(changes, 7);
}

}  // namespace
}  // namespace lumigrave::ui
