#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <algorithm>
#include <cstdlib>

#include "app/main/gloss_button.h"
#include "app/main/mm_segmented_switcher.h"
#include "app/main/mm_slider.h"
#include "platform/screen.h"
#include "support/widget_test_support.h"

namespace lumigrave {
namespace {

void showAt(QWidget& widget, QSize size) {
    widget.resize(size);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    QCoreApplication::processEvents();
}

class PaintCounter : public QObject {
  public:
    int count = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++count;
        }
        return false;
    }
};

TEST(GlossButton, StartsGreenInCodeAndWhiteFromTheInterfaceFile) {
    GlossButton made;
    EXPECT_FLOAT_EQ(made.hue(), 0.333f);
    EXPECT_FLOAT_EQ(made.saturation(), 0.75f);
    EXPECT_FLOAT_EQ(made.brightness(), 0.8f);
    EXPECT_TRUE(made.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_FALSE(made.autoFillBackground());

    GlossButton laidOut{GlossButton::FromInterfaceFile{}};
    EXPECT_FLOAT_EQ(laidOut.hue(), 1);
    EXPECT_FLOAT_EQ(laidOut.saturation(), 1);
    EXPECT_FLOAT_EQ(laidOut.brightness(), 1);
}

// The button's body in a 120 × 44 image: the outer rect is 3..117 × 3..41, the inner one
// 4..116 × 4..40.
QImage drawn(float hue, float saturation, float brightness, bool highlighted) {
    QImage image(120, 44, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    drawGlossButton(painter, QRectF(0, 0, 120, 44), hue, saturation, brightness, highlighted);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);  // pixel() then reads plain colours
}

TEST(GlossButtonDrawing, APressedButtonCastsNoShadow) {
    const QImage normal = drawn(0.333f, 0.75f, 0.8f, false);
    const QImage pressed = drawn(0.333f, 0.75f, 0.8f, true);
    // The last row is clear of the body and its stroke; only the shadow, 2 down, reaches it.
    int normalLeast = 255;
    int pressedMost = 0;
    for (int x = 20; x < 100; ++x) {
        normalLeast = std::min(normalLeast, qAlpha(normal.pixel(x, 43)));
        pressedMost = std::max(pressedMost, qAlpha(pressed.pixel(x, 43)));
    }
    EXPECT_GT(normalLeast, 20);
    EXPECT_EQ(pressedMost, 0);
}

TEST(GlossButtonDrawing, APressedButtonHasNoHighlightRing) {
    // At brightness 0 both states are black, so the ring is all that can differ at the top
    // edge, where it shows through the half-transparent outer stroke.
    const QRgb normal = drawn(0.5f, 1, 0, false).pixel(60, 3);
    const QRgb pressed = drawn(0.5f, 1, 0, true).pixel(60, 3);
    EXPECT_GT(qRed(normal) - qRed(pressed), 20);
    EXPECT_GT(qGreen(normal) - qGreen(pressed), 20);
}

TEST(GlossButtonDrawing, APressedButtonIsATenthDarkerBeforeTheShadingFactors) {
    // A row just below the middle, where the gloss has ended: the inner body's gradient
    // from 0.9 to 0.7 of the brightness.
    const int row = 24;
    const double along = (row + 0.5 - 4) / 36;
    auto expected = [&](double brightness) {
        return QColor::fromHsvF(0.333f, 0.75f, float(brightness * (0.9 - 0.2 * along))).rgb();
    };
    auto near = [](QRgb actual, QRgb wanted) {
        return std::abs(qRed(actual) - qRed(wanted)) <= 3 &&
               std::abs(qGreen(actual) - qGreen(wanted)) <= 3 &&
               std::abs(qBlue(actual) - qBlue(wanted)) <= 3;
    };
    const QRgb normal = drawn(0.333f, 0.75f, 0.8f, false).pixel(60, row);
    const QRgb pressed = drawn(0.333f, 0.75f, 0.8f, true).pixel(60, row);
    EXPECT_TRUE(near(normal, expected(0.8))) << std::hex << normal << " " << expected(0.8);
    EXPECT_TRUE(near(pressed, expected(0.7))) << std::hex << pressed << " " << expected(0.7);
    EXPECT_EQ(qAlpha(normal), 255);
}

class GlossButtonWidgetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        showAt(button, {120, 44});
        button.installEventFilter(&paints);
        paints.count = 0;
    }

    bool repainted() {
        return QTest::qWaitFor([this] { return paints.count > 0; }, 2000);
    }

    GlossButton button;
    PaintCounter paints;
};

TEST_F(GlossButtonWidgetTest, EachSetterRepaints) {
    button.setHue(0.6f);
    EXPECT_TRUE(repainted());
    paints.count = 0;
    button.setSaturation(0.2f);
    EXPECT_TRUE(repainted());
    paints.count = 0;
    button.setBrightness(0.4f);
    EXPECT_TRUE(repainted());
    EXPECT_FLOAT_EQ(button.hue(), 0.6f);
    EXPECT_FLOAT_EQ(button.saturation(), 0.2f);
    EXPECT_FLOAT_EQ(button.brightness(), 0.4f);
}

TEST_F(GlossButtonWidgetTest, ItRedrawsAgainAMomentAfterARelease) {
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(60, 22));
    EXPECT_TRUE(button.isHighlighted());
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(60, 22));
    QCoreApplication::processEvents();  // the redraw at the release itself
    paints.count = 0;
    ui::test::advance(0.099);
    EXPECT_EQ(paints.count, 0);
    ui::test::advance(0.001);
    EXPECT_GE(paints.count, 1);
    EXPECT_FALSE(button.isHighlighted());
}

TEST(MMSlider, EndImagesSitSevenInAndTwoDown) {
    QPixmap mark(16, 12);
    mark.fill(Qt::black);
    ui::Slider standard;
    MMSlider moved;
    for (ui::Slider* slider : {&standard, static_cast<ui::Slider*>(&moved)}) {
        slider->setMinimumValueImage(QIcon(mark));
        slider->setMaximumValueImage(QIcon(mark));
    }
    const QRectF bounds(0, 0, 240, 30);
    const QRectF minimum = standard.minimumValueImageRectForBounds(bounds);
    const QRectF maximum = standard.maximumValueImageRectForBounds(bounds);
    ASSERT_EQ(minimum.size(), QSizeF(16, 12));

    EXPECT_EQ(moved.minimumValueImageRectForBounds(bounds), minimum.translated(7, 2));
    EXPECT_EQ(moved.maximumValueImageRectForBounds(bounds), maximum.translated(-7, 2));
    EXPECT_EQ(moved.trackRectForBounds(bounds), standard.trackRectForBounds(bounds));
}

class MMSegmentedSwitcherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Device::setSystemVersionForTesting(QStringLiteral("12"));
        showAt(switcher, {300, 30});
        switcher.addTarget(ui::ControlEvent::ValueChanged, [this] { ++changes; });
    }
    void TearDown() override { Device::setSystemVersionForTesting(QString()); }

    void tap(int segment) {
        QTest::mouseClick(&switcher, Qt::LeftButton, {}, QPoint(segment * 100 + 50, 15));
    }
    // Green for the selected segment, dark grey for the others.
    void expectTintsFollowSelection() {
        const QColor green = QColor::fromRgbF(0.2f, 0.9f, 0.2f, 1);
        const QColor grey = QColor::fromRgbF(0.2f, 0.2f, 0.2f, 1);
        const auto& views = switcher.segmentViews();
        for (int i = 0; i < int(views.size()); ++i) {
            EXPECT_EQ(views[i]->isSelected(), i == switcher.selectedSegmentIndex());
            EXPECT_EQ(views[i]->tintColor(), views[i]->isSelected() ? green : grey)
                << "segment " << i;
        }
    }

    MMSegmentedSwitcher switcher{QStringList{"Off", "On", "Auto"}};
    int changes = 0;
};

TEST_F(MMSegmentedSwitcherTest, AnyTouchFlipsBetweenTheFirstTwoSegments) {
    tap(2);  // from none: the first, whatever segment was touched
    EXPECT_EQ(switcher.selectedSegmentIndex(), 0);
    expectTintsFollowSelection();
    for (int expected : {1, 0, 1, 0}) {
        tap(2);
        EXPECT_EQ(switcher.selectedSegmentIndex(), expected);
        expectTintsFollowSelection();
    }
    tap(0);
    EXPECT_EQ(switcher.selectedSegmentIndex(), 1);
    EXPECT_EQ(changes, 6);
}

TEST_F(MMSegmentedSwitcherTest, TheFlipHappensAtThePressAndTheReleaseAddsNothing) {
    QTest::mousePress(&switcher, Qt::LeftButton, {}, QPoint(150, 15));
    EXPECT_EQ(switcher.selectedSegmentIndex(), 0);
    EXPECT_EQ(changes, 1);
    QTest::mouseRelease(&switcher, Qt::LeftButton, {}, QPoint(150, 15));
    EXPECT_EQ(switcher.selectedSegmentIndex(), 0);
    EXPECT_EQ(changes, 1);
}

TEST_F(MMSegmentedSwitcherTest, FromVersionFiveASelectionInCodeIsReportedToo) {
    Device::setSystemVersionForTesting(QStringLiteral("5.0.1"));
    switcher.setSelectedSegmentIndex(2);
    expectTintsFollowSelection();
    EXPECT_EQ(changes, 1);
    switcher.setSelectedSegmentIndex(-1);
    expectTintsFollowSelection();
    EXPECT_EQ(changes, 2);
}

TEST_F(MMSegmentedSwitcherTest, BeforeVersionFiveNothingIsReported) {
    for (const char* old : {"4.3", "unknown"}) {
        Device::setSystemVersionForTesting(QString::fromLatin1(old));
        tap(0);
        tap(1);
        switcher.setSelectedSegmentIndex(1);
        expectTintsFollowSelection();
    }
    EXPECT_EQ(changes, 0);
}

TEST(MMSegmentedSwitcher, ReadsTheLeadingNumberOfTheVersion) {
    EXPECT_DOUBLE_EQ(MMSegmentedSwitcher::versionNumber("12"), 12.0);
    EXPECT_DOUBLE_EQ(MMSegmentedSwitcher::versionNumber("6.1.2"), 6.1);
    EXPECT_DOUBLE_EQ(MMSegmentedSwitcher::versionNumber("4.3"), 4.3);
    EXPECT_DOUBLE_EQ(MMSegmentedSwitcher::versionNumber("unknown"), 0.0);
    EXPECT_DOUBLE_EQ(MMSegmentedSwitcher::versionNumber(""), 0.0);
}

}  // namespace
}  // namespace lumigrave
