// The shared activity indicator: its words, its hiding on the run loop's clock, and a
// window beneath it that goes on taking clicks and keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "sharing/ui/share_activity_indicator.h"
#include "support/log_capture.h"
#include "support/widget_test_support.h"
#include "ui/activity_indicator_view.h"
#include "ui/button.h"
#include "ui/on_screen.h"
#include "ui/window.h"

namespace lumigrave::sharing {
namespace {

using ui::test::advance;
using ui::test::settle;

class IndicatorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_.resize(320, 480);
        button_ = new ui::Button("Under", &window_);
        button_->setGeometry(60, 200, 200, 80);
        button_->addTarget(ui::ControlEvent::TouchUpInside, [this] { ++clicks_; });
        field_ = new QLineEdit(&window_);
        field_->setGeometry(10, 10, 300, 30);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
        QApplication::setActiveWindow(&window_);
        field_->setFocus();
        settle();
    }
    void TearDown() override {
        indicator()->hide();
        settle();
    }
    static ShareActivityIndicator* indicator() {
        return ShareActivityIndicator::currentIndicator();
    }
    QString label(const char* name) {
        QWidget* panel = indicator()->panel();
        auto* found = panel != nullptr ? panel->findChild<QLabel*>(name) : nullptr;
        return found != nullptr && found->isVisibleTo(panel) ? found->text() : QString();
    }
    bool spinnerShown() {
        QWidget* panel = indicator()->panel();
        auto* spinner = panel != nullptr ? panel->findChild<ui::ActivityIndicatorView*>() : nullptr;
        return spinner != nullptr && spinner->isAnimating() && spinner->isVisibleTo(panel);
    }

    ui::Window window_;
    ui::Button* button_ = nullptr;
    QLineEdit* field_ = nullptr;
    int clicks_ = 0;
};

TEST_F(IndicatorTest, ThereIsOneAndItIsListedWithWhatIsOnScreen) {
    EXPECT_EQ(indicator(), ShareActivityIndicator::currentIndicator());
    EXPECT_EQ(ui::OnScreen::top<ShareActivityIndicator>(), nullptr);
    indicator()->displayActivity("Saving to Facebook");
    EXPECT_EQ(ui::OnScreen::top<ShareActivityIndicator>(), indicator());
    ASSERT_NE(indicator()->panel(), nullptr);
    EXPECT_EQ(indicator()->panel()->window(), &window_);
    // In the middle of the window.
    const QRect box(indicator()->panel()->mapTo(&window_, QPoint()), indicator()->panel()->size());
    EXPECT_EQ(box.center(), window_.rect().center());
    indicator()->hide();
    EXPECT_FALSE(indicator()->isShown());
    EXPECT_EQ(ui::OnScreen::top<ShareActivityIndicator>(), nullptr);
}

TEST_F(IndicatorTest, ActivitySpinsOverItsMessageAndCompletionShowsTheTick) {
    indicator()->displayActivity("Saving to Facebook");
    EXPECT_TRUE(indicator()->isSpinning());
    EXPECT_TRUE(spinnerShown());
    EXPECT_EQ(label("subMessage"), "Saving to Facebook");
    EXPECT_EQ(label("centreMessage"), "");

    indicator()->displayCompleted("Saved!");
    EXPECT_TRUE(indicator()->isShown());
    EXPECT_FALSE(spinnerShown());
    EXPECT_EQ(indicator()->centreMessage(), "\u2713");
    EXPECT_EQ(label("centreMessage"), "\u2713");
    EXPECT_EQ(label("subMessage"), "Saved!");

    indicator()->displayCompleted("!", "Done");
    EXPECT_EQ(label("centreMessage"), "!");
    EXPECT_EQ(label("subMessage"), "Done");
}

TEST_F(IndicatorTest, ACompletedShareHidesSixTenthsOfASecondLater) {
    indicator()->displayCompleted("Saved!");
    advance(0.59);
    EXPECT_TRUE(indicator()->isShown());
    advance(0.01);
    EXPECT_FALSE(indicator()->isShown());

    // Another share starting meanwhile keeps its box up; the old deadline is void.
    indicator()->displayCompleted("Saved!");
    advance(0.3);
    indicator()->displayActivity("Saving to Twitter");
    advance(1.0);
    EXPECT_TRUE(indicator()->isShown());
    EXPECT_EQ(label("subMessage"), "Saving to Twitter");
    // Its own completion counts its own 0.6 seconds.
    indicator()->displayCompleted("Saved!");
    advance(0.5);
    EXPECT_TRUE(indicator()->isShown());
    advance(0.1);
    EXPECT_FALSE(indicator()->isShown());

    // Hidden by hand before its time: shown again later, it is not hidden by the old call.
    indicator()->displayCompleted("Saved!");
    indicator()->hide();
    advance(0.3);
    indicator()->displayActivity("Saving to Flickr");
    advance(0.5);
    EXPECT_TRUE(indicator()->isShown());
}

TEST_F(IndicatorTest, TheWindowBeneathKeepsItsClicksAndFocus) {
    indicator()->displayActivity("Saving to Facebook");
    settle();
    EXPECT_EQ(QApplication::focusWidget(), field_);
    // The button lies under the box: a click there still reaches it.
    const QPoint middle = window_.rect().center();
    ASSERT_TRUE(button_->geometry().contains(middle));
    QWidget* under = window_.childAt(middle);
    EXPECT_EQ(under, button_);
    QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(&window_, middle));
    EXPECT_EQ(clicks_, 1);
    QTest::keyClicks(field_, "typing");
    EXPECT_EQ(field_->text(), "typing");
}

TEST(ShareActivityIndicator, WithNoWindowItSaysSoAndShowsNothing) {
    lumigrave::test::LogCapture log;
    ShareActivityIndicator::currentIndicator()->displayActivity("Saving to Facebook");
    EXPECT_FALSE(ShareActivityIndicator::currentIndicator()->isShown());
    EXPECT_TRUE(
        log.contains("The share activity indicator could not be shown: there is no window"));
    ShareActivityIndicator::currentIndicator()->displayCompleted("Saved!");
    advance(1);
    EXPECT_FALSE(ShareActivityIndicator::currentIndicator()->isShown());
}

TEST(ShareActivityIndicator, AWindowClosedUnderItTakesTheBoxAndTheNextShowsInTheNewOne) {
    {
        ui::Window first;
        first.resize(320, 480);
        first.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&first));
        ShareActivityIndicator::currentIndicator()->displayActivity("Saving to Facebook");
        EXPECT_TRUE(ShareActivityIndicator::currentIndicator()->isShown());
    }
    settle();
    EXPECT_FALSE(ShareActivityIndicator::currentIndicator()->isShown());
    ui::Window second;
    second.resize(320, 480);
    second.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));
    ShareActivityIndicator::currentIndicator()->displayCompleted("Saved!");
    ASSERT_TRUE(ShareActivityIndicator::currentIndicator()->isShown());
    EXPECT_EQ(ShareActivityIndicator::currentIndicator()->panel()->window(), &second);
    advance(0.6);
    EXPECT_FALSE(ShareActivityIndicator::currentIndicator()->isShown());
}

}  // namespace
}  // namespace lumigrave::sharing
