// The photo fitted to the screen, zoomed and panned within its limits: the decisions
// as tables, then the screen through the events a mouse, a wheel and a touchpad send.
#include <QApplication>
#include <QInputDevice>
#include <QNativeGestureEvent>
#include <QPointingDevice>
#include <QTest>
#include <QWheelEvent>

#include "app/main/image_placement.h"
#include "app_fixture.h"
#include "platform/screen.h"
#include "platform/user_defaults.h"
#include "ui/image_view.h"

namespace lumigrave::test {
namespace {

template <typename Row>
std::string rowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

// The fit on a 320 × 460 application frame unless a row says otherwise.
struct FitRow {
    const char* name;
    Size picture;
    Rect applicationFrame;
    ImageFit expected;
};

class FitImageViewTest : public ::testing::TestWithParam<FitRow> {};

TEST_P(FitImageViewTest, GivesTheZoomLimitsAndTheFrame) {
    const FitRow& row = GetParam();
    ImageFit fit = fitImageView(row.picture, row.applicationFrame);
    EXPECT_FLOAT_EQ(fit.minimumScale, row.expected.minimumScale);
    EXPECT_FLOAT_EQ(fit.maximumScale, row.expected.maximumScale);
    EXPECT_EQ(fit.frame, row.expected.frame);
}

const Rect kPhone{Point{}, Size{320, 460}};

INSTANTIATE_TEST_SUITE_P(
    Table, FitImageViewTest,
    ::testing::Values(
        // Narrower than the screen: one point per point, no zoom, taller than the screen.
        FitRow{"Narrower", {300, 500}, kPhone, {1, 1, Rect{Point{}, Size{300, 500}}}},
        // Exactly the screen's width is not wider: still its own frame.
        FitRow{"AsWideAsTheScreen", {320, 240}, kPhone, {1, 1, Rect{Point{}, Size{320, 240}}}},
        FitRow{"OnePointWider", {321, 240}, kPhone, {1, 321.0f / 320, kPhone}},
        FitRow{"Landscape1440", {1440, 1080}, kPhone, {1, 4.5f, kPhone}},
        FitRow{"Portrait1440", {1080, 1440}, kPhone, {1, 3.375f, kPhone}},
        FitRow{"TallPhotoOnAWideWindow",
               {1936, 2592},
               Rect{Point{}, Size{400, 700}},
               {1, 4.84f, Rect{Point{}, Size{400, 700}}}},
        // An empty image view is not zoomed and has no size.
        FitRow{"NoPicture", {0, 0}, kPhone, {1, 1, Rect{}}}),
    rowName<FitRow>);

struct ZoomRow {
    const char* name;
    float wanted;
    float minimum;
    float maximum;
    float expected;
};

class ClampedZoomScaleTest : public ::testing::TestWithParam<ZoomRow> {};

TEST_P(ClampedZoomScaleTest, StopsAtTheLimits) {
    const ZoomRow& row = GetParam();
    EXPECT_FLOAT_EQ(clampedZoomScale(row.wanted, row.minimum, row.maximum), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ClampedZoomScaleTest,
                         ::testing::Values(ZoomRow{"Within", 2, 1, 4.5f, 2},
                                           ZoomRow{"AtTheLowerLimit", 1, 1, 4.5f, 1},
                                           ZoomRow{"AtTheUpperLimit", 4.5f, 1, 4.5f, 4.5f},
                                           ZoomRow{"BelowOne", 0.4f, 1, 4.5f, 1},
                                           ZoomRow{"AboveTheMaximum", 9, 1, 4.5f, 4.5f},
                                           // A picture narrower than the screen: no zoom.
                                           ZoomRow{"NoRoomToGrow", 3, 1, 1, 1},
                                           ZoomRow{"NoRoomToShrink", 0.2f, 1, 1, 1},
                                           // Crossed limits: the upper one is applied last.
                                           ZoomRow{"CrossedLimits", 0.5f, 2, 1.5f, 1.5f}),
                         rowName<ZoomRow>);

// The image view's centre for a wanted centre, on a 320 × 460 root view (centre 160, 230).
struct CentreRow {
    const char* name;
    Point wanted;
    Size picture;
    Size imageFrame;
    Point expected;
};

class ClampedImageCentreTest : public ::testing::TestWithParam<CentreRow> {};

TEST_P(ClampedImageCentreTest, KeepsThePictureOverTheScreen) {
    const CentreRow& row = GetParam();
    std::optional<Point> centre =
        clampedImageCentre(row.wanted, row.picture, Size{320, 460}, row.imageFrame);
    ASSERT_TRUE(centre.has_value());
    EXPECT_FLOAT_EQ(centre->x, row.expected.x);
    EXPECT_FLOAT_EQ(centre->y, row.expected.y);
}

// A 1440 × 1080 photo in the application frame shows 320 × 240; zoomed to 2 the frame is
// 640 × 920 and the picture 640 × 480: 160 points of play across, 10 up and down.
const Size kLandscape{1440, 1080};
const Size kAtOne{320, 460};
const Size kAtTwo{640, 920};

INSTANTIATE_TEST_SUITE_P(
    Table, ClampedImageCentreTest,
    ::testing::Values(
        // At scale 1 the picture is as wide as the screen and shorter: it stays centred.
        CentreRow{"AtOneStaysCentred", {160, 230}, kLandscape, kAtOne, {160, 230}},
        CentreRow{"AtOneAPanRight", {220, 140}, kLandscape, kAtOne, {160, 230}},
        CentreRow{"AtOneAPanLeft", {100, 320}, kLandscape, kAtOne, {160, 230}},
        CentreRow{"AtTwoUnmoved", {160, 230}, kLandscape, kAtTwo, {160, 230}},
        CentreRow{"AtTwoWithinThePlay", {260, 235}, kLandscape, kAtTwo, {260, 235}},
        CentreRow{
            "AtTwoExactlyAtTheRightAndLowerLimits", {320, 240}, kLandscape, kAtTwo, {320, 240}},
        CentreRow{"AtTwoExactlyAtTheLeftAndUpperLimits", {0, 220}, kLandscape, kAtTwo, {0, 220}},
        CentreRow{"AtTwoJustBeyondRightAndBelow", {320.5f, 240.5f}, kLandscape, kAtTwo, {320, 240}},
        CentreRow{"AtTwoFarBeyondRightAndBelow", {900, 700}, kLandscape, kAtTwo, {320, 240}},
        CentreRow{"AtTwoFarBeyondLeftAndAbove", {-400, -50}, kLandscape, kAtTwo, {0, 220}},
        CentreRow{"AtTwoBeyondLeftOnly", {-1, 233}, kLandscape, kAtTwo, {0, 233}},
        // A 300 × 500 photo at one point per point: centred across, 20 points of play up
        // and down.
        CentreRow{
            "NarrowAndTallMovesOnlyUpAndDown", {100, 300}, {300, 500}, {300, 500}, {160, 250}},
        CentreRow{"NarrowAndTallBeyondTheTop", {400, 100}, {300, 500}, {300, 500}, {160, 210}},
        // A portrait photo flatter than the screen's shape fills its width: at scale 1 it
        // is 320 × 426.67 and stays centred; at 3 (960 × 1280) it snaps to both limits.
        CentreRow{"PortraitAtOne", {10, 10}, {1080, 1440}, kAtOne, {160, 230}},
        CentreRow{"PortraitAtThree", {-500, 900}, {1080, 1440}, {960, 1380}, {-160, 640}}),
    rowName<CentreRow>);

TEST(ClampedImageCentre, APictureWithoutASizeLeavesTheViewWhereItIs) {
    EXPECT_FALSE(clampedImageCentre({10, 10}, Size{}, Size{320, 460}, Size{320, 460}));
    EXPECT_FALSE(clampedImageCentre({10, 10}, Size{0, 300}, Size{320, 460}, Size{320, 460}));
    EXPECT_FALSE(clampedImageCentre({10, 10}, Size{400, 300}, Size{}, Size{320, 460}));
}

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
