#include "ui/view_snapshot.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QWidget>
#include <memory>

#include "platform/screen.h"
#include "support/log_capture.h"

namespace lumigrave::ui {
namespace {

QWidget* filledView(QWidget* parent, const QRect& frame, const QColor& colour) {
    auto* view = new QWidget(parent);
    view->setGeometry(frame);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Window, colour);
    view->setPalette(palette);
    view->setAutoFillBackground(true);
    return view;
}

// Paints every pixel itself, green, without a background of its own.
class SelfPaintedView : public QWidget {
  public:
    explicit SelfPaintedView(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::green); }
};

class ViewSnapshotTest : public testing::Test {
  protected:
    void SetUp() override {
        savedScale_ = Screen::mainScreenScale();
        // A red 40 × 30 window with a blue 10 × 10 child at (10, 5).
        window_.resize(40, 30);
        QPalette palette = window_.palette();
        palette.setColor(QPalette::Window, Qt::red);
        window_.setPalette(palette);
        filledView(&window_, QRect(10, 5, 10, 10), Qt::blue);
        window_.show();
    }
    void TearDown() override { Screen::setMainScreenScale(savedScale_); }

    QWidget window_;
    float savedScale_ = 1;
};

TEST_F(ViewSnapshotTest, TheViewAndItsChildAreDrawnAtTheMainScreensScale) {
    for (const int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        Screen::setMainScreenScale(scale);
        const Image image = imageByRenderingView(&window_);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.scale(), scale);
        EXPECT_EQ(image.size(), (Size{40, 30}));
        const QImage& pixels = image.pixels();
        ASSERT_EQ(pixels.size(), QSize(40 * scale, 30 * scale));
        EXPECT_EQ(pixels.format(), QImage::Format_RGB32);
        // Points inside and just outside the child, in points, and the far corner.
        const auto at = [&](int x, int y) { return pixels.pixel(x * scale, y * scale); };
        EXPECT_EQ(at(0, 0), qRgb(255, 0, 0));
        EXPECT_EQ(at(10, 5), qRgb(0, 0, 255));
        EXPECT_EQ(pixels.pixel(20 * scale - 1, 15 * scale - 1), qRgb(0, 0, 255));
        EXPECT_EQ(at(20, 15), qRgb(255, 0, 0));
        EXPECT_EQ(at(9, 5), qRgb(255, 0, 0));
        EXPECT_EQ(pixels.pixel(40 * scale - 1, 30 * scale - 1), qRgb(255, 0, 0));
    }
}

TEST_F(ViewSnapshotTest, OnlyAnOpaqueViewGivesAnImageWithoutAlpha) {
    Screen::setMainScreenScale(1);
    // A plain container holding the blue square: only the square is painted.
    auto* plain = new QWidget(&window_);
    plain->setGeometry(0, 0, 30, 20);
    filledView(plain, QRect(5, 5, 5, 5), Qt::blue);
    plain->show();
    EXPECT_FALSE(isOpaqueView(*plain));
    const Image translucent = imageByRenderingView(plain);
    ASSERT_FALSE(translucent.isNull());
    EXPECT_TRUE(translucent.pixels().hasAlphaChannel());
    EXPECT_EQ(translucent.pixels().pixel(0, 0), qRgba(0, 0, 0, 0));
    EXPECT_EQ(translucent.pixels().pixel(29, 19), qRgba(0, 0, 0, 0));
    EXPECT_EQ(translucent.pixels().pixel(6, 6), qRgb(0, 0, 255));

    // Filled with a half-transparent colour it is still see-through.
    auto* tinted = filledView(&window_, QRect(0, 0, 10, 10), QColor(0, 255, 0, 128));
    tinted->show();
    EXPECT_FALSE(isOpaqueView(*tinted));
    EXPECT_TRUE(imageByRenderingView(tinted).pixels().hasAlphaChannel());

    // Filled with an opaque colour, or painting all of itself, it is opaque.
    auto* filled = filledView(&window_, QRect(0, 0, 10, 10), Qt::blue);
    filled->show();
    EXPECT_TRUE(isOpaqueView(*filled));
    EXPECT_FALSE(imageByRenderingView(filled).pixels().hasAlphaChannel());
    auto* selfPainted = new SelfPaintedView(&window_);
    selfPainted->setGeometry(0, 0, 10, 10);
    selfPainted->show();
    EXPECT_TRUE(isOpaqueView(*selfPainted));
    const Image painted = imageByRenderingView(selfPainted);
    EXPECT_FALSE(painted.pixels().hasAlphaChannel());
    EXPECT_EQ(painted.pixels().pixel(9, 9), qRgb(0, 255, 0));

    // A window is opaque through its system background, unless it asks to be see-through.
    EXPECT_TRUE(isOpaqueView(window_));
    QWidget translucentWindow;
    translucentWindow.setAttribute(Qt::WA_TranslucentBackground);
    EXPECT_FALSE(isOpaqueView(translucentWindow));
}

TEST_F(ViewSnapshotTest, NoViewAHiddenOneOrAnEmptyOneGivesANullImageAndSaysWhy) {
    auto* child = filledView(&window_, QRect(0, 0, 10, 10), Qt::blue);
    {
        lumigrave::test::LogCapture log;
        EXPECT_TRUE(imageByRenderingView(nullptr).isNull());
        ASSERT_EQ(log.lines().size(), 1);
        EXPECT_TRUE(log.lines()[0].contains("does not exist"));
    }
    child->hide();
    {
        lumigrave::test::LogCapture log;
        EXPECT_TRUE(imageByRenderingView(child).isNull());
        ASSERT_EQ(log.lines().size(), 1);
        EXPECT_TRUE(log.lines()[0].contains("hidden"));
    }
    child->show();
    for (const QSize size : {QSize(0, 10), QSize(10, 0)}) {
        child->resize(size);
        lumigrave::test::LogCapture log;
        EXPECT_TRUE(imageByRenderingView(child).isNull());
        ASSERT_EQ(log.lines().size(), 1);
        EXPECT_TRUE(log.lines()[0].contains("empty"));
    }
}

}  // namespace
}  // namespace lumigrave::ui
