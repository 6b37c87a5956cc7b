// The image view's geometry and painting, and the gestures the wheel, a touchpad and the
// mouse make.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPointingDevice>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <memory>
#include <vector>

#include "platform/image.h"
#include "support/widget_test_support.h"
#include "ui/gesture_recognizer.h"
#include "ui/image_view.h"

namespace lumigrave::ui {
namespace {

// A recognizer's delegate that lets through the touches a function allows.
class TouchFilter : public GestureRecognizer::Delegate {
  public:
    explicit TouchFilter(std::function<bool(QPointF)> allow) : allow_(std::move(allow)) {}
    bool shouldReceiveTouch(GestureRecognizer&, QPointF position) override {
        return allow_(position);
    }

  private:
    std::function<bool(QPointF)> allow_;
};

using test::advance;
using test::settle;
using State = GestureRecognizer::State;
using States = std::vector<State>;

TEST(ImageView, AScaleTurnsAboutTheCentreAndTheFrameIsTheScaledBoundsBox) {
    QWidget parent;
    parent.resize(400, 300);
    auto* view = new ImageView(&parent);
    view->setFrame(Rect{Point{10, 20}, Size{200, 100}});
    EXPECT_EQ(view->bounds(), (Rect{Point{}, Size{200, 100}}));
    EXPECT_EQ(view->center(), (Point{110, 70}));
    EXPECT_EQ(view->frame(), (Rect{Point{10, 20}, Size{200, 100}}));
    EXPECT_EQ(view->geometry(), QRect(10, 20, 200, 100));

    view->setTransformScale(2);
    EXPECT_FLOAT_EQ(view->transformScale(), 2);
    EXPECT_EQ(view->bounds(), (Rect{Point{}, Size{200, 100}}));
    EXPECT_EQ(view->center(), (Point{110, 70}));
    EXPECT_EQ(view->frame(), (Rect{Point{-90, -30}, Size{400, 200}}));
    EXPECT_EQ(view->geometry(), QRect(-90, -30, 400, 200));

    // A frame set under a scale leaves the scale: the bounds are the frame over it.
    view->setFrame(Rect{Point{0, 0}, Size{100, 50}});
    EXPECT_EQ(view->bounds(), (Rect{Point{}, Size{50, 25}}));
    EXPECT_EQ(view->center(), (Point{50, 25}));
    EXPECT_EQ(view->frame(), (Rect{Point{0, 0}, Size{100, 50}}));

    // A widget sits on whole points, covering the exact frame.
    view->setTransformScale(0.5f);
    EXPECT_EQ(view->frame(), (Rect{Point{37.5f, 18.75f}, Size{25, 12.5f}}));
    EXPECT_EQ(view->geometry(), QRect(37, 18, 26, 14));
    view->setCenter(Point{200, 150});
    EXPECT_EQ(view->frame(), (Rect{Point{187.5f, 143.75f}, Size{25, 12.5f}}));
    EXPECT_EQ(view->geometry(), QRect(187, 143, 26, 14));

    // Clicks go to the view under it, which carries the gestures.
    view->setTransformScale(4);
    parent.show();
    settle();
    EXPECT_EQ(parent.childAt(200, 150), nullptr);
}

// A photo: the top half red, the bottom half blue.
QImage halves(int width, int height) {
    QImage pixels(width, height, QImage::Format_RGB32);
    pixels.fill(Qt::red);
    for (int y = height / 2; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.setPixel(x, y, qRgb(0, 0, 255));
        }
    }
    return pixels;
}

// What the view paints, over nothing: where it draws nothing stays transparent.
QImage painted(ImageView& view) {
    QImage out(view.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    view.render(&out, QPoint(), QRegion(), QWidget::RenderFlags());
    return out;
}

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);

TEST(ImageView, FitsThePhotoInsideItsFrameAndLeavesTheBarsUnpainted) {
    QWidget parent;
    parent.resize(300, 300);
    auto* view = new ImageView(&parent);
    view->setFrame(Rect{Point{0, 0}, Size{100, 100}});
    parent.show();
    settle();
    EXPECT_EQ(qAlpha(painted(*view).pixel(50, 50)), 0);  // nothing to show yet

    const Image wide(halves(200, 100));
    view->setImage(wide);
    EXPECT_TRUE(view->image().isSameImage(wide));
    QImage shot = painted(*view);
    // The width is filled; the bars above and below are left as they were.
    EXPECT_EQ(qAlpha(shot.pixel(50, 10)), 0);
    EXPECT_EQ(qAlpha(shot.pixel(50, 90)), 0);
    EXPECT_EQ(shot.pixel(50, 35), kRed);
    EXPECT_EQ(shot.pixel(50, 65), kBlue);
    EXPECT_EQ(shot.pixel(1, 35), kRed);
    EXPECT_EQ(shot.pixel(98, 65), kBlue);

    // Under a scale the photo is drawn at the scaled size.
    view->setTransformScale(2);
    shot = painted(*view);
    ASSERT_EQ(shot.size(), QSize(200, 200));
    EXPECT_EQ(qAlpha(shot.pixel(100, 20)), 0);
    EXPECT_EQ(qAlpha(shot.pixel(100, 180)), 0);
    EXPECT_EQ(shot.pixel(100, 70), kRed);
    EXPECT_EQ(shot.pixel(100, 130), kBlue);
    EXPECT_EQ(shot.pixel(2, 70), kRed);

    // Turned a quarter turn, the same pixels stand upright and tall: the bars are at the
    // sides.
    view->setTransformScale(1);
    view->setImage(Image(halves(200, 100), 1, kOrientationRight));
    shot = painted(*view);
    EXPECT_EQ(qAlpha(shot.pixel(10, 50)), 0);
    EXPECT_EQ(qAlpha(shot.pixel(90, 50)), 0);
    EXPECT_EQ(qAlpha(shot.pixel(50, 5)), 255);
    EXPECT_EQ(qAlpha(shot.pixel(50, 95)), 255);
    EXPECT_NE(shot.pixel(30, 50), shot.pixel(70, 50));

    // The scale of the photo counts in points, not in pixels: a 2x photo of the same
    // shape fits the same way.
    view->setImage(Image(halves(400, 200), 2));
    shot = painted(*view);
    EXPECT_EQ(qAlpha(shot.pixel(50, 10)), 0);
    EXPECT_EQ(shot.pixel(50, 35), kRed);
    EXPECT_EQ(shot.pixel(50, 65), kBlue);
}

// The view the gestures are made on. It takes the mouse as the photo area does, so the
// events end here.
class Surface : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseMoveEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
    void wheelEvent(QWheelEvent* event) override { event->accept(); }
};

void wheel(QWidget& view, QPointF at, QPoint angle) {
    QWheelEvent event(at, view.mapToGlobal(at), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &event);
}

void touchpad(QWidget& view, Qt::NativeGestureType type, qreal value, QPointF at = {50, 60}) {
    QNativeGestureEvent event(type, QPointingDevice::primaryPointingDevice(), 2, at,
                              view.mapTo(view.window(), at), view.mapToGlobal(at), value,
                              QPointF());
    QApplication::sendEvent(&view, &event);
}

// A shown surface with a pinch on it that writes down each state and the scale then.
class PinchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        surface.resize(200, 200);
        surface.show();
        settle();
        pinch.addToView(&surface);
    }

    Surface surface;
    States states;
    std::vector<float> scales;
    PinchGestureRecognizer pinch{[this](GestureRecognizer& recognizer) {
        states.push_back(recognizer.state());
        scales.push_back(static_cast<PinchGestureRecognizer&>(recognizer).scale());
    }};
};

TEST_F(PinchTest, TheWheelZoomsAboutAFifthANotchAndEndsOnceItRests) {
    EXPECT_EQ(pinch.view(), &surface);
    EXPECT_EQ(pinch.state(), State::Possible);
    wheel(surface, QPointF(60, 80), QPoint(0, 120));
    EXPECT_EQ(states, (States{State::Began, State::Changed}));
    EXPECT_FLOAT_EQ(scales[0], 1);
    EXPECT_NEAR(scales[1], 1.2, 0.01);
    const float notch = scales[1];
    EXPECT_EQ(pinch.state(), State::Changed);
    EXPECT_EQ(pinch.locationInView(&surface), QPointF(60, 80));

    // A notch back before the wheel rests is the same gesture, and undoes the first.
    wheel(surface, QPointF(60, 80), QPoint(0, -120));
    EXPECT_EQ(states, (States{State::Began, State::Changed, State::Changed}));
    EXPECT_NEAR(scales.back(), 1, 1e-5);
    // It rests a quarter of a second from the last notch, not from the first.
    advance(0.249);
    EXPECT_EQ(states.size(), 3u);
    advance(0.001);
    EXPECT_EQ(states.back(), State::Ended);
    EXPECT_EQ(states.size(), 4u);
    EXPECT_NEAR(scales.back(), 1, 1e-5);
    EXPECT_EQ(pinch.state(), State::Possible);

    // A new turn is a new gesture from 1; two half notches are one notch.
    states.clear();
    scales.clear();
    wheel(surface, QPointF(10, 10), QPoint(0, 60));
    EXPECT_NEAR(scales.back(), std::sqrt(notch), 1e-4);
    wheel(surface, QPointF(10, 10), QPoint(0, 60));
    EXPECT_EQ(states, (States{State::Began, State::Changed, State::Changed}));
    EXPECT_NEAR(scales.back(), notch, 1e-4);
    // The handler's reset makes the next change count from 1 again.
    pinch.setScale(1);
    wheel(surface, QPointF(10, 10), QPoint(0, 120));
    EXPECT_NEAR(scales.back(), notch, 1e-4);
    EXPECT_EQ(pinch.locationInView(nullptr), QPointF(10, 10));
    advance(0.25);
    EXPECT_EQ(states.back(), State::Ended);

    // Sideways scrolling is no zoom, and a refused touch none either.
    states.clear();
    wheel(surface, QPointF(10, 10), QPoint(120, 0));
    std::vector<QPointF> asked;
    TouchFilter refuseAll([&](QPointF at) {
        asked.push_back(at);
        return false;
    });
    pinch.setDelegate(&refuseAll);
    wheel(surface, QPointF(30, 40), QPoint(0, 120));
    EXPECT_TRUE(states.empty());
    EXPECT_EQ(asked, std::vector<QPointF>{QPointF(30, 40)});
    advance(0.4);
    EXPECT_TRUE(states.empty());
}

TEST_F(PinchTest, ATouchpadPinchGrowsByEachValueAndEndsWithTheGesture) {
    touchpad(surface, Qt::BeginNativeGesture, 0);
    EXPECT_TRUE(states.empty());
    touchpad(surface, Qt::ZoomNativeGesture, 0.25);
    touchpad(surface, Qt::ZoomNativeGesture, 0.2, QPointF(70, 90));
    EXPECT_EQ(states, (States{State::Began, State::Changed, State::Changed}));
    EXPECT_FLOAT_EQ(scales[0], 1);
    EXPECT_FLOAT_EQ(scales[1], 1.25f);
    EXPECT_FLOAT_EQ(scales[2], 1.5f);
    EXPECT_EQ(pinch.locationInView(&surface), QPointF(70, 90));
    touchpad(surface, Qt::EndNativeGesture, 0);
    EXPECT_EQ(states.back(), State::Ended);
    EXPECT_FLOAT_EQ(scales.back(), 1.5f);
    EXPECT_EQ(pinch.state(), State::Possible);

    // An end without a pinch, or the wheel's pause, ends nothing more.
    touchpad(surface, Qt::EndNativeGesture, 0);
    advance(0.4);
    EXPECT_EQ(states.size(), 4u);

    // Zooming out shrinks it.
    touchpad(surface, Qt::BeginNativeGesture, 0);
    touchpad(surface, Qt::ZoomNativeGesture, -0.5);
    touchpad(surface, Qt::EndNativeGesture, 0);
    EXPECT_FLOAT_EQ(scales[4], 1);
    EXPECT_FLOAT_EQ(scales.back(), 0.5f);
}

// Each state of a pan with its translation: "Began 20,10".
QString describe(const GestureRecognizer& recognizer, QPointF translation) {
    static const char* const names[] = {"Possible", "Began",     "Changed",
                                        "Ended",    "Cancelled", "Failed"};
    return QStringLiteral("%1 %2,%3")
        .arg(QLatin1String(names[int(recognizer.state())]))
        .arg(translation.x())
        .arg(translation.y());
}

void drag(QWidget& view, QPoint from, std::initializer_list<QPoint> through, QPoint to,
          Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(&view, button, {}, from);
    for (QPoint point : through) {
        QTest::mouseMove(&view, point);
    }
    QTest::mouseMove(&view, to);
    QTest::mouseRelease(&view, button, {}, to);
}

class PanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        surface.resize(200, 200);
        surface.show();
        settle();
        pan.addToView(&surface);
    }

    Surface surface;
    QStringList seen;
    bool takeTranslation = false;
    PanGestureRecognizer pan{[this](GestureRecognizer& recognizer) {
        auto& panning = static_cast<PanGestureRecognizer&>(recognizer);
        seen << describe(recognizer, panning.translationInView(&surface));
        if (takeTranslation) {
            panning.setTranslation(QPointF(), &surface);
        }
    }};
};

TEST_F(PanTest, ADragBeyondTheSlopBeginsChangesAndEnds) {
    QTest::mousePress(&surface, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(&surface, QPoint(54, 53));  // five points: not yet a pan
    EXPECT_TRUE(seen.isEmpty());
    QTest::mouseMove(&surface, QPoint(70, 60));
    QTest::mouseMove(&surface, QPoint(90, 40));
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, QPoint(95, 45));
    EXPECT_EQ(seen, QStringList({"Began 20,10", "Changed 40,-10", "Ended 45,-5"}));
    EXPECT_EQ(pan.state(), State::Possible);
    EXPECT_EQ(pan.locationInView(&surface), QPointF(95, 45));
    seen.clear();

    drag(surface, QPoint(50, 50), {QPoint(53, 52)}, QPoint(55, 50));
    EXPECT_TRUE(seen.isEmpty());

    // The handler may take the movement so far; the next change counts from there.
    takeTranslation = true;
    drag(surface, QPoint(10, 10), {QPoint(30, 10)}, QPoint(35, 12));
    EXPECT_EQ(seen, QStringList({"Began 20,0", "Changed 5,2", "Ended 0,0"}));
    takeTranslation = false;
    seen.clear();

    // A new drag starts from nothing.
    drag(surface, QPoint(100, 100), {QPoint(100, 120)}, QPoint(100, 130));
    EXPECT_EQ(seen, QStringList({"Began 0,20", "Changed 0,30", "Ended 0,30"}));
}

TEST_F(PanTest, OnlyALeftDragThatMayBeTakenAndFitsTheTouchCountsPans) {
    drag(surface, QPoint(50, 50), {QPoint(80, 80)}, QPoint(100, 100), Qt::RightButton);
    EXPECT_TRUE(seen.isEmpty());

    // A mouse is one finger.
    pan.setMinimumNumberOfTouches(2);
    EXPECT_EQ(pan.minimumNumberOfTouches(), 2);
    drag(surface, QPoint(50, 50), {QPoint(80, 80)}, QPoint(100, 100));
    EXPECT_TRUE(seen.isEmpty());
    pan.setMinimumNumberOfTouches(1);
    pan.setMaximumNumberOfTouches(0);
    drag(surface, QPoint(50, 50), {QPoint(80, 80)}, QPoint(100, 100));
    EXPECT_TRUE(seen.isEmpty());
    pan.setMaximumNumberOfTouches(1);
    drag(surface, QPoint(50, 50), {QPoint(80, 80)}, QPoint(100, 100));
    EXPECT_EQ(seen.size(), 3);
    seen.clear();

    std::vector<QPointF> asked;
    TouchFilter refuseAll([&](QPointF at) {
        asked.push_back(at);
        return false;
    });
    pan.setDelegate(&refuseAll);
    drag(surface, QPoint(40, 30), {QPoint(80, 80)}, QPoint(100, 100));
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_EQ(asked, std::vector<QPointF>{QPointF(40, 30)});
}

class TapTest : public ::testing::Test {
  protected:
    void SetUp() override {
        surface.resize(200, 200);
        surface.show();
        settle();
        tap.addToView(&surface);
    }

    Surface surface;
    States taps;
    TapGestureRecognizer tap{
        [this](GestureRecognizer& recognizer) { taps.push_back(recognizer.state()); }};
};

TEST_F(TapTest, AClickTapsOnceAndADragNever) {
    QTest::mouseClick(&surface, Qt::LeftButton, {}, QPoint(40, 30));
    EXPECT_EQ(taps, States{State::Ended});
    EXPECT_EQ(tap.state(), State::Possible);
    EXPECT_EQ(tap.locationInView(&surface), QPointF(40, 30));

    // A little wobble is still a tap.
    drag(surface, QPoint(40, 30), {QPoint(43, 33)}, QPoint(44, 32));
    EXPECT_EQ(taps.size(), 2u);
    // Beyond the slop it is a drag, even when it comes back.
    drag(surface, QPoint(40, 30), {QPoint(60, 30)}, QPoint(40, 30));
    QTest::mouseClick(&surface, Qt::RightButton, {}, QPoint(40, 30));
    EXPECT_EQ(taps.size(), 2u);

    TouchFilter rightHalf([](QPointF at) { return at.x() > 100; });
    tap.setDelegate(&rightHalf);
    QTest::mouseClick(&surface, Qt::LeftButton, {}, QPoint(40, 30));
    EXPECT_EQ(taps.size(), 2u);
    QTest::mouseClick(&surface, Qt::LeftButton, {}, QPoint(140, 30));
    EXPECT_EQ(taps.size(), 3u);
}

TEST_F(TapTest, TheLocationIsGivenInAnyViewAndTheRecognizerMayMove) {
    QWidget host;
    host.resize(300, 300);
    auto* inner = new Surface(&host);
    inner->setGeometry(50, 40, 100, 100);
    host.show();
    settle();

    tap.addToView(inner);
    EXPECT_EQ(tap.view(), inner);
    QTest::mouseClick(&surface, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(taps.empty());
    QTest::mouseClick(inner, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(taps.size(), 1u);
    EXPECT_EQ(tap.locationInView(inner), QPointF(10, 10));
    EXPECT_EQ(tap.locationInView(&host), QPointF(60, 50));
    EXPECT_EQ(tap.locationInView(nullptr), QPointF(10, 10));
}

// The photo area carries a pinch, a pan and a tap at once, added in that order.
TEST(Gestures, OnOneViewAClickIsATapAndADragAPan) {
    for (bool tapAddedLast : {true, false}) {
        SCOPED_TRACE(tapAddedLast ? "tap added last" : "pan added last");
        Surface surface;
        surface.resize(200, 200);
        surface.show();
        settle();
        int taps = 0;
        QStringList pans;
        PinchGestureRecognizer pinch([](GestureRecognizer&) {});
        PanGestureRecognizer pan([&](GestureRecognizer& recognizer) {
            pans << describe(
                recognizer,
                static_cast<PanGestureRecognizer&>(recognizer).translationInView(&surface));
        });
        TapGestureRecognizer tap([&](GestureRecognizer&) { ++taps; });
        pinch.addToView(&surface);
        if (tapAddedLast) {
            pan.addToView(&surface);
            tap.addToView(&surface);
        } else {
            tap.addToView(&surface);
            pan.addToView(&surface);
        }

        QTest::mouseClick(&surface, Qt::LeftButton, {}, QPoint(50, 50));
        EXPECT_EQ(taps, 1);
        EXPECT_TRUE(pans.isEmpty());
        drag(surface, QPoint(50, 50), {QPoint(70, 50)}, QPoint(90, 50));
        EXPECT_EQ(taps, 1);
        EXPECT_EQ(pans, QStringList({"Began 20,0", "Changed 40,0", "Ended 40,0"}));
        pans.clear();

        // Whichever took the click's release, the button is up: a drag with another
        // button pans nothing.
        QTest::mouseClick(&surface, Qt::LeftButton, {}, QPoint(50, 50));
        drag(surface, QPoint(50, 50), {QPoint(80, 80)}, QPoint(100, 100), Qt::RightButton);
        EXPECT_EQ(taps, 2);
        EXPECT_TRUE(pans.isEmpty());
    }
}

}  // namespace
}  // namespace lumigrave::ui
