// The photo fitted to the screen, zoomed and panned within its limits, through the
// events a mouse, a wheel and a touchpad send.
#include <QApplication>
#include <QInputDevice>
#include <QNativeGestureEvent>
#include <QPointingDevice>
#include <QTest>
#include <QWheelEvent>

#include "app_fixture.h"
#include "platform/screen.h"
#include "platform/user_defaults.h"
#include "ui/image_view.h"

namespace lumigrave::test {
namespace {

// A 320 × 460 screen, with the photos used at their own size.
class ImagePlacementTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        Screen::setBounds(Size{320, 460});
        launch();
        UserDefaults defaults;
        defaults.setInteger(kMaxOutputPixKey, 0);
        defaults.synchronize();
    }

    ui::ImageView& view() { return *root().imageSubView(); }
    QWidget* photoArea() { return root().view(); }
    Point centre() { return view().center(); }
    Size frameSize() { return view().frame().size; }

    // A touchpad pinch: the value is the growth of the scale since the last event.
    void pinch(qreal growth) {
        const QPointF at(160, 230);
        const QPointingDevice* device = QPointingDevice::primaryPointingDevice();
        for (auto [type, value] :
             {std::pair{Qt::BeginNativeGesture, 0.0}, std::pair{Qt::ZoomNativeGesture, growth},
              std::pair{Qt::EndNativeGesture, 0.0}}) {
            QNativeGestureEvent event(type, device, 2, at,
                                      photoArea()->mapTo(photoArea()->window(), at),
                                      photoArea()->mapToGlobal(at), value, QPointF());
            QApplication::sendEvent(photoArea(), &event);
        }
        settle();
    }
    // Wheel notches over the photo, up to zoom in.
    void wheel(int notches) {
        const QPointF at(160, 230);
        QWheelEvent event(at, photoArea()->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(photoArea(), &event);
        settle();
    }
    // A drag with the mouse from one point over the photo by an offset.
    void drag(QPoint from, QPoint by) {
        QTest::mousePress(photoArea(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(photoArea(), from + by / 2);
        QTest::mouseMove(photoArea(), from + by);
        QTest::mouseRelease(photoArea(), Qt::LeftButton, Qt::NoModifier, from + by);
        settle();
    }
};

TEST_F(ImagePlacementTest, APhotoNarrowerThanTheScreenIsShownAtOnePointPerPointAndCentred) {
    pick(photo(300, 500));
    EXPECT_FLOAT_EQ(root().minimumScale(), 1);
    EXPECT_FLOAT_EQ(root().maximumScale(), 1);
    EXPECT_EQ(view().frame(), (Rect{Point{10, -20}, Size{300, 500}}));
    pinch(1.0);
    wheel(3);
    EXPECT_FLOAT_EQ(view().transformScale(), 1);
    EXPECT_EQ(view().frame(), (Rect{Point{10, -20}, Size{300, 500}}));
    // Taller than the screen, it may move up and down until its edges reach the screen's.
    drag(QPoint(100, 200), QPoint(40, 100));
    EXPECT_EQ(centre(), (Point{160, 250}));
}

TEST_F(ImagePlacementTest, AWidePhotoFillsTheScreenWidthAndStaysCentredVertically) {
    pick(photo(1440, 1080));
    EXPECT_EQ(view().image().size(), (Size{1440, 1080}));
    EXPECT_FLOAT_EQ(root().minimumScale(), 1);
    EXPECT_FLOAT_EQ(root().maximumScale(), 4.5);
    EXPECT_EQ(view().frame(), Screen::applicationFrame());
    EXPECT_EQ(view().frame(), (Rect{Point{0, 0}, Size{320, 460}}));
    // The picture shows 320 × 240, narrower and shorter than the view: no pan moves it.
    drag(QPoint(100, 200), QPoint(60, -90));
    EXPECT_EQ(centre(), (Point{160, 230}));

    pinch(1.0);
    EXPECT_FLOAT_EQ(view().transformScale(), 2);
    EXPECT_EQ(frameSize(), (Size{640, 920}));
    EXPECT_EQ(centre(), (Point{160, 230}));

    // At twice the size (picture 640 × 480) it moves 160 points across and 10 up or down.
    drag(QPoint(100, 200), QPoint(100, 5));
    EXPECT_EQ(centre(), (Point{260, 235}));
    drag(QPoint(100, 200), QPoint(400, 300));
    EXPECT_EQ(centre(), (Point{320, 240}));
    drag(QPoint(300, 300), QPoint(-700, -300));
    EXPECT_EQ(centre(), (Point{0, 220}));
    drag(QPoint(100, 300), QPoint(160, 10));
    EXPECT_EQ(centre(), (Point{160, 230}));
}

TEST_F(ImagePlacementTest, APanStartsFromWhereTheLastOneEnded) {
    pick(photo(1440, 1080));
    pinch(1.0);
    drag(QPoint(200, 200), QPoint(-30, 0));
    EXPECT_EQ(centre(), (Point{130, 230}));
    drag(QPoint(50, 50), QPoint(-40, 6));
    EXPECT_EQ(centre(), (Point{90, 236}));
    // A click without a move is a tap, not a pan: the photo stays where it is.
    click(photoArea(), QPoint(10, 100));
    EXPECT_EQ(centre(), (Point{90, 236}));
}

TEST_F(ImagePlacementTest, ZoomStopsAtItsLimitsAndANewPhotoIsFittedAgain) {
    pick(photo(1440, 1080));
    wheel(5);
    EXPECT_GT(view().transformScale(), 1);
    EXPECT_LT(view().transformScale(), 4.5);
    wheel(40);
    EXPECT_FLOAT_EQ(view().transformScale(), 4.5);
    EXPECT_EQ(frameSize(), (Size{1440, 2070}));
    pinch(3.0);
    EXPECT_FLOAT_EQ(view().transformScale(), 4.5);
    pinch(-0.9);
    EXPECT_FLOAT_EQ(view().transformScale(), 1);
    wheel(-10);
    EXPECT_FLOAT_EQ(view().transformScale(), 1);
    EXPECT_EQ(centre(), (Point{160, 230}));

    // Zoomed and moved, then turned: the fit starts over with the turned picture's limits.
    pinch(1.0);
    drag(QPoint(100, 100), QPoint(80, 0));
    root().doRotateLeft();
    EXPECT_FLOAT_EQ(view().transformScale(), 1);
    EXPECT_FLOAT_EQ(root().maximumScale(), 1080.0f / 320);
    EXPECT_EQ(centre(), (Point{160, 230}));
    EXPECT_EQ(view().frame(), (Rect{Point{0, 0}, Size{320, 460}}));
}

}  // namespace
}  // namespace lumigrave::test
