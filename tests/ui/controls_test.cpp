#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QPointingDevice>
#include <QTest>
#include <QWheelEvent>
#include <vector>

#include "ui/button.h"
#include "ui/segmented_control.h"
#include "ui/slider.h"
#include "ui/switch.h"

namespace lumigrave::ui {
namespace {

void showAt(QWidget& widget, QSize size) {
    widget.resize(size);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
}

using Events = std::vector<ControlEvent>;

// Every control event the button sends, in order.
struct EventLog {
    explicit EventLog(Button& button) {
        for (auto event : {ControlEvent::TouchDown, ControlEvent::TouchDragInside,
                           ControlEvent::TouchDragOutside, ControlEvent::TouchUpInside,
                           ControlEvent::TouchUpOutside, ControlEvent::TouchCancel,
                           ControlEvent::ValueChanged}) {
            button.addTarget(event, [this, event] { seen.push_back(event); });
        }
    }
    Events seen;
};

class ButtonTest : public ::testing::Test {
  protected:
    void SetUp() override { showAt(button, {100, 40}); }

    Button button{QStringLiteral("Save")};
    EventLog log{button};
};

TEST_F(ButtonTest, APressInsideHighlightsAndItsReleaseSendsTouchUpInside) {
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(30, 20));
    EXPECT_TRUE(button.isHighlighted());
    EXPECT_EQ(log.seen, (Events{ControlEvent::TouchDown}));

    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(30, 20));
    EXPECT_FALSE(button.isHighlighted());
    EXPECT_EQ(log.seen, (Events{ControlEvent::TouchDown, ControlEvent::TouchUpInside}));
}

TEST_F(ButtonTest, TheHighlightFollowsTheDragAndAReleaseOutsideSendsTouchUpOutside) {
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(30, 20));
    QTest::mouseMove(&button, QPoint(150, 20));
    EXPECT_FALSE(button.isHighlighted());
    QTest::mouseMove(&button, QPoint(50, 20));
    EXPECT_TRUE(button.isHighlighted());
    QTest::mouseMove(&button, QPoint(50, 60));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(50, 60));

    EXPECT_FALSE(button.isHighlighted());
    EXPECT_EQ(log.seen, (Events{ControlEvent::TouchDown, ControlEvent::TouchDragOutside,
                                ControlEvent::TouchDragInside, ControlEvent::TouchDragOutside,
                                ControlEvent::TouchUpOutside}));
}

TEST_F(ButtonTest, OnlyTheLeftMouseButtonPresses) {
    QTest::mouseClick(&button, Qt::RightButton, {}, QPoint(30, 20));
    QTest::mouseClick(&button, Qt::MiddleButton, {}, QPoint(30, 20));
    EXPECT_TRUE(log.seen.empty());
}

TEST_F(ButtonTest, SpaceAndEnterPressItLikeAClick) {
    QTest::keyPress(&button, Qt::Key_Space);
    EXPECT_TRUE(button.isHighlighted());
    QTest::keyRelease(&button, Qt::Key_Space);
    EXPECT_FALSE(button.isHighlighted());
    QTest::keyClick(&button, Qt::Key_Return);
    QTest::keyClick(&button, Qt::Key_Enter);
    QTest::keyClick(&button, Qt::Key_A);

    EXPECT_EQ(log.seen, (Events{ControlEvent::TouchDown, ControlEvent::TouchUpInside,
                                ControlEvent::TouchDown, ControlEvent::TouchUpInside,
                                ControlEvent::TouchDown, ControlEvent::TouchUpInside}));
}

TEST_F(ButtonTest, DisablingCancelsAPressAndADisabledButtonTakesNone) {
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(30, 20));
    button.setEnabled(false);
    EXPECT_FALSE(button.isHighlighted());
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(30, 20));
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(30, 20));

    EXPECT_EQ(log.seen, (Events{ControlEvent::TouchDown, ControlEvent::TouchCancel}));
}

TEST_F(ButtonTest, ATouchPressesOnceWithoutMouseDuplicates) {
    static QPointingDevice* const touchScreen = QTest::createTouchDevice();
    QTest::touchEvent(&button, touchScreen).press(0, QPoint(30, 20), &button);
    EXPECT_TRUE(button.isHighlighted());
    QTest::touchEvent(&button, touchScreen).release(0, QPoint(30, 20), &button);

    EXPECT_FALSE(button.isHighlighted());
    EXPECT_EQ(log.seen, (Events{ControlEvent::TouchDown, ControlEvent::TouchUpInside}));
}

TEST(Button, AnImageButtonIsTheImageAtItsSizeInPoints) {
    Button button(QStringLiteral("Ignored"));
    QImage pixels(88, 60, QImage::Format_ARGB32_Premultiplied);
    pixels.fill(Qt::blue);
    button.setImage(Image(pixels, 2));
    EXPECT_EQ(button.sizeHint(), QSize(44, 30));
    button.resize(button.sizeHint());
    const QImage drawn = button.grab().toImage();
    EXPECT_EQ(QColor(drawn.pixel(drawn.width() / 2, drawn.height() / 2)), QColor(Qt::blue));
    // Highlighted, it darkens.
    button.setHighlighted(true);
    const QImage pressed = button.grab().toImage();
    EXPECT_LT(QColor(pressed.pixel(pressed.width() / 2, pressed.height() / 2)).blue(), 255);
    // Without an image it is a titled button again.
    button.setImage(Image());
    EXPECT_GT(button.sizeHint().width(), 44);
}

TEST(Button, ATargetMayDeleteTheButton) {
    auto* button = new Button(QStringLiteral("Close"));
    button->resize(100, 40);
    bool laterTargetRan = false;
    button->addTarget(ControlEvent::TouchUpInside, [&] {
        delete button;
        button = nullptr;
    });
    button->addTarget(ControlEvent::TouchUpInside, [&] { laterTargetRan = true; });

    button->touchesBegan(QPointF(30, 20));
    button->touchesEnded(QPointF(30, 20));
    EXPECT_EQ(button, nullptr);
    EXPECT_FALSE(laterTargetRan);
}

TEST(Slider, TheValueStaysInTheRangeAndChangesInCodeSendNothing) {
    Slider slider;
    int changes = 0;
    slider.addTarget(ControlEvent::ValueChanged, [&] { ++changes; });
    slider.setMaximumValue(10);
    slider.setValue(12);
    EXPECT_FLOAT_EQ(slider.value(), 10);
    slider.setValue(-3);
    EXPECT_FLOAT_EQ(slider.value(), 0);

    slider.setValue(8);
    slider.setMaximumValue(5);
    EXPECT_FLOAT_EQ(slider.value(), 5);
    slider.setMinimumValue(7);
    EXPECT_FLOAT_EQ(slider.maximumValue(), 7);
    EXPECT_FLOAT_EQ(slider.value(), 7);
    EXPECT_EQ(changes, 0);
}

TEST(Slider, TheTrackRunsBetweenTheEndImagesAndTheThumbStaysOnIt) {
    Slider slider;
    QPixmap dot(16, 16);
    dot.fill(Qt::red);
    slider.setMinimumValueImage(QIcon(dot));
    slider.setMaximumValueImage(QIcon(dot));
    const QRectF bounds(0, 0, 200, 30);

    EXPECT_EQ(slider.minimumValueImageRectForBounds(bounds), QRectF(0, 7, 16, 16));
    EXPECT_EQ(slider.maximumValueImageRectForBounds(bounds), QRectF(184, 7, 16, 16));
    const QRectF track = slider.trackRectForBounds(bounds);
    EXPECT_GE(track.left(), 16);
    EXPECT_LE(track.right(), 184);
    EXPECT_DOUBLE_EQ(slider.thumbRectForBounds(bounds, track, 0).left(), track.left());
    EXPECT_DOUBLE_EQ(slider.thumbRectForBounds(bounds, track, 1).right(), track.right());
}

class SliderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        showAt(slider, {200, 30});
        slider.addTarget(ControlEvent::ValueChanged, [this] { ++changes; });
    }

    // Where the thumb's centre stands for value.
    QPoint pointFor(float value) const {
        const QRectF bounds(slider.rect());
        return slider.thumbRectForBounds(bounds, slider.trackRectForBounds(bounds), value)
            .center()
            .toPoint();
    }

    Slider slider;
    int changes = 0;
};

TEST_F(SliderTest, DraggingTheThumbReportsEachChange) {
    QTest::mousePress(&slider, Qt::LeftButton, {}, pointFor(0));
    EXPECT_FLOAT_EQ(slider.value(), 0);  // taking the thumb does not move it
    EXPECT_EQ(changes, 0);
    QTest::mouseMove(&slider, pointFor(0.5f));
    EXPECT_NEAR(slider.value(), 0.5, 0.01);
    EXPECT_EQ(changes, 1);
    QTest::mouseMove(&slider, QPoint(500, 15));
    EXPECT_FLOAT_EQ(slider.value(), 1);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(500, 15));
    EXPECT_EQ(changes, 2);
}

TEST_F(SliderTest, APressOnTheTrackMovesTheThumbThere) {
    QTest::mouseClick(&slider, Qt::LeftButton, {}, pointFor(0.75f));
    EXPECT_NEAR(slider.value(), 0.75, 0.01);
    EXPECT_EQ(changes, 1);
}

TEST_F(SliderTest, ANonContinuousSliderReportsOnlyTheEndOfADrag) {
    slider.setContinuous(false);
    QTest::mousePress(&slider, Qt::LeftButton, {}, pointFor(0));
    QTest::mouseMove(&slider, pointFor(0.3f));
    QTest::mouseMove(&slider, pointFor(0.5f));
    EXPECT_NEAR(slider.value(), 0.5, 0.01);
    EXPECT_EQ(changes, 0);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, pointFor(0.5f));
    EXPECT_EQ(changes, 1);
}

TEST_F(SliderTest, KeysAndTheWheelStepTheValue) {
    slider.setValue(0.5f);
    QTest::keyClick(&slider, Qt::Key_Right);
    EXPECT_NEAR(slider.value(), 0.51, 1e-5);
    QTest::keyClick(&slider, Qt::Key_PageUp);
    EXPECT_NEAR(slider.value(), 0.61, 1e-5);
    QTest::keyClick(&slider, Qt::Key_Down);
    EXPECT_NEAR(slider.value(), 0.60, 1e-5);
    QTest::keyClick(&slider, Qt::Key_End);
    EXPECT_FLOAT_EQ(slider.value(), 1);
    QTest::keyClick(&slider, Qt::Key_End);  // already there: no change to report
    EXPECT_EQ(changes, 4);
    QTest::keyClick(&slider, Qt::Key_Home);
    EXPECT_FLOAT_EQ(slider.value(), 0);

    const QPointF middle(100, 15);
    QWheelEvent up(middle, slider.mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&slider, &up);
    EXPECT_NEAR(slider.value(), 0.03, 1e-5);
    EXPECT_EQ(changes, 6);
}

class SegmentedControlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        showAt(control, {300, 30});
        control.addTarget(ControlEvent::ValueChanged, [this] { ++changes; });
    }

    void click(int segment) {
        QTest::mouseClick(&control, Qt::LeftButton, {}, QPoint(segment * 100 + 50, 15));
    }
    std::vector<bool> selectedViews() const {
        std::vector<bool> selected;
        for (const SegmentView* view : control.segmentViews()) {
            selected.push_back(view->isSelected());
        }
        return selected;
    }

    SegmentedControl control{QStringList{"Text", "Logo", "Date"}};
    int changes = 0;
};

TEST_F(SegmentedControlTest, StartsWithNoSegmentSelected) {
    EXPECT_EQ(control.numberOfSegments(), 3);
    EXPECT_EQ(control.selectedSegmentIndex(), -1);
    EXPECT_EQ(selectedViews(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(control.segmentViews()[2]->title(), "Date");
}

TEST_F(SegmentedControlTest, AClickSelectsItsSegmentAndReportsOnlyAChange) {
    click(1);
    EXPECT_EQ(control.selectedSegmentIndex(), 1);
    EXPECT_EQ(selectedViews(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(changes, 1);

    click(1);
    EXPECT_EQ(changes, 1);
    click(2);
    EXPECT_EQ(control.selectedSegmentIndex(), 2);
    EXPECT_EQ(changes, 2);
}

TEST_F(SegmentedControlTest, ATouchEndingInAnotherSegmentSelectsNothing) {
    QTest::mousePress(&control, Qt::LeftButton, {}, QPoint(50, 15));
    QTest::mouseMove(&control, QPoint(250, 15));
    QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(250, 15));
    EXPECT_EQ(control.selectedSegmentIndex(), -1);
    EXPECT_EQ(changes, 0);
}

TEST_F(SegmentedControlTest, ASelectionInCodeIsNotReported) {
    control.setSelectedSegmentIndex(2);
    EXPECT_EQ(selectedViews(), (std::vector<bool>{false, false, true}));
    control.setSelectedSegmentIndex(5);  // out of range: none
    EXPECT_EQ(control.selectedSegmentIndex(), -1);
    EXPECT_EQ(changes, 0);
}

TEST_F(SegmentedControlTest, ArrowKeysSelectTheNeighbour) {
    QTest::keyClick(&control, Qt::Key_Right);
    EXPECT_EQ(control.selectedSegmentIndex(), 0);
    QTest::keyClick(&control, Qt::Key_Right);
    QTest::keyClick(&control, Qt::Key_Left);
    QTest::keyClick(&control, Qt::Key_Left);  // nothing left of the first
    EXPECT_EQ(control.selectedSegmentIndex(), 0);
    EXPECT_EQ(changes, 3);
}

class SwitchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        showAt(toggle, {Switch::kWidth, Switch::kHeight});
        toggle.addTarget(ControlEvent::ValueChanged, [this] { changes.push_back(toggle.isOn()); });
    }

    Switch toggle;
    std::vector<bool> changes;
};

TEST_F(SwitchTest, EachClickFlipsItAndReportsTheNewValueButCodeReportsNothing) {
    EXPECT_FALSE(toggle.isOn());
    QTest::mouseClick(&toggle, Qt::LeftButton, {}, QPoint(20, 13));
    EXPECT_TRUE(toggle.isOn());
    // Anywhere on it, not only on the knob.
    QTest::mouseClick(&toggle, Qt::LeftButton, {}, QPoint(60, 13));
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));

    toggle.setOn(true);
    toggle.setOn(true);
    EXPECT_TRUE(toggle.isOn());
    EXPECT_EQ(changes.size(), 2u);
}

TEST_F(SwitchTest, APressDraggedOffOrOnADisabledSwitchChangesNothing) {
    QTest::mousePress(&toggle, Qt::LeftButton, {}, QPoint(20, 13));
    EXPECT_TRUE(toggle.isHighlighted());
    QTest::mouseMove(&toggle, QPoint(20, 80));
    QTest::mouseRelease(&toggle, Qt::LeftButton, {}, QPoint(20, 80));
    EXPECT_FALSE(toggle.isHighlighted());
    toggle.setEnabled(false);
    QTest::mouseClick(&toggle, Qt::LeftButton, {}, QPoint(20, 13));
    QTest::keyClick(&toggle, Qt::Key_Space);
    EXPECT_FALSE(toggle.isOn());
    EXPECT_TRUE(changes.empty());
}

TEST_F(SwitchTest, SpaceAndEnterFlipItLikeAClickOtherKeysDoNot) {
    QTest::keyClick(&toggle, Qt::Key_Space);
    QTest::keyClick(&toggle, Qt::Key_Return);
    QTest::keyClick(&toggle, Qt::Key_Enter);
    QTest::keyClick(&toggle, Qt::Key_A);
    EXPECT_EQ(changes, (std::vector<bool>{true, false, true}));
}

}  // namespace
}  // namespace lumigrave::ui
