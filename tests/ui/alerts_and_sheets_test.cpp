// Alerts, action sheets and popovers over the window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <memory>

#include "platform/screen.h"
#include "support/image_compare.h"
#include "support/log_capture.h"
#include "support/widget_test_support.h"
#include "ui/action_sheet.h"
#include "ui/activity_indicator_view.h"
#include "ui/alert_view.h"
#include "ui/bar_button_item.h"
#include "ui/on_screen.h"
#include "ui/overlay_panel.h"
#include "ui/popover_controller.h"
#include "ui/toolbar.h"
#include "ui/view_controller.h"
#include "ui/window.h"

namespace lumigrave::ui {
namespace {

using test::eventually;
using test::flushDeletes;
using test::settle;

// The on-screen button of a panel for a button position, as OnScreen finds it.
QWidget* button(QWidget* panel, int index) {
    return panel->findChild<QAbstractButton*>(Presentation::buttonObjectName(index));
}

// Escape, typed where the keyboard focus of the panel is.
void pressEscape(QWidget* panel) {
    QWidget* target = panel->focusWidget() != nullptr ? panel->focusWidget() : panel;
    QTest::keyClick(target, Qt::Key_Escape);
}

QRect inWindow(QWidget* widget) {
    return QRect(widget->mapTo(widget->window(), QPoint()), widget->size());
}

// A shown 320 × 480 window, the key window the overlays appear in.
class OverlayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedBounds_ = Screen::bounds();
        window_ = std::make_unique<Window>();
        window_->resize(320, 480);
        window_->show();
        settle();
    }
    void TearDown() override {
        window_.reset();
        settle();
        Screen::setBounds(savedBounds_);
        // Whatever was left up went with the window.
        EXPECT_TRUE(OnScreen::all<ui::AlertView>().isEmpty());
        EXPECT_TRUE(OnScreen::all<ui::ActionSheet>().isEmpty());
        EXPECT_TRUE(OnScreen::all<ui::PopoverController>().isEmpty());
    }

    Window* window() const { return window_.get(); }

    std::unique_ptr<Window> window_;
    QStringList calls;

    AlertView::Delegate* alertDelegate() { return &alertCalls_; }
    ActionSheet::Delegate* sheetDelegate() { return &sheetCalls_; }

  private:
    // Each records what it is told, and checks that the presentation is listed on screen
    // while it is clicked and no longer when it has been dismissed.
    struct AlertCalls : AlertView::Delegate {
        explicit AlertCalls(QStringList* log) : calls(log) {}
        QStringList* calls;
        void clickedButtonAtIndex(AlertView& alert, int index) override {
            *calls << QStringLiteral("clicked %1").arg(index);
            EXPECT_TRUE(OnScreen::all<AlertView>().contains(&alert));
        }
        void didDismissWithButtonIndex(AlertView& alert, int index) override {
            *calls << QStringLiteral("dismissed %1").arg(index);
            EXPECT_FALSE(OnScreen::all<AlertView>().contains(&alert));
        }
    };
    struct SheetCalls : ActionSheet::Delegate {
        explicit SheetCalls(QStringList* log) : calls(log) {}
        QStringList* calls;
        void clickedButtonAtIndex(ActionSheet& sheet, int index) override {
            *calls << QStringLiteral("clicked %1 tag %2").arg(index).arg(sheet.tag());
            EXPECT_TRUE(OnScreen::all<ActionSheet>().contains(&sheet));
        }
        void didDismissWithButtonIndex(ActionSheet& sheet, int index) override {
            *calls << QStringLiteral("dismissed %1 tag %2").arg(index).arg(sheet.tag());
            EXPECT_FALSE(OnScreen::all<ActionSheet>().contains(&sheet));
        }
    };
    AlertCalls alertCalls_{&calls};
    SheetCalls sheetCalls_{&calls};
    Size savedBounds_;
};

TEST_F(OverlayTest, AnAlertNumbersCancelFirstAndAPressIsToldBeforeTheAlertGoes) {
    auto* alert = new AlertView("Delete the photo?", "It cannot be undone.", alertDelegate(),
                                "Cancel", {"Delete", "Keep"});
    EXPECT_EQ(alert->cancelButtonIndex(), 0);
    EXPECT_EQ(alert->addButtonWithTitle("Later"), 3);
    EXPECT_EQ(alert->numberOfButtons(), 4);
    EXPECT_EQ(OnScreen::buttonTitles(*alert), QStringList({"Cancel", "Delete", "Keep", "Later"}));
    EXPECT_EQ(alert->buttonTitleAtIndex(4), QString());
    EXPECT_FALSE(alert->isVisible());
    EXPECT_TRUE(OnScreen::all<ui::AlertView>().isEmpty());

    QPointer<AlertView> alive = alert;
    alert->show();
    // Showing returns at once; the alert waits on screen while the loop runs.
    EXPECT_TRUE(alert->isVisible());
    EXPECT_EQ(OnScreen::all<ui::AlertView>(), QList<AlertView*>{alert});
    EXPECT_EQ(OnScreen::top<ui::AlertView>(), alert);
    QWidget* panel = alert->panel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->window(), window());
    EXPECT_EQ(panel->parentWidget()->geometry(), window()->rect());
    settle();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_NEAR(inWindow(panel).center().x(), window()->rect().center().x(), 1);
    EXPECT_NEAR(inWindow(panel).center().y(), window()->rect().center().y(), 1);
    // More than two buttons are stacked, cancel at the bottom; Enter takes the first
    // button that is not cancel.
    EXPECT_LT(button(panel, 1)->y(), button(panel, 2)->y());
    EXPECT_LT(button(panel, 2)->y(), button(panel, 3)->y());
    EXPECT_LT(button(panel, 3)->y(), button(panel, 0)->y());
    EXPECT_EQ(panel->focusWidget(), button(panel, 1));

    EXPECT_FALSE(OnScreen::pressButton(*alert, 4));
    EXPECT_TRUE(calls.isEmpty());
    ASSERT_TRUE(OnScreen::pressButton(*alert, 2));
    EXPECT_EQ(calls, QStringList({"clicked 2", "dismissed 2"}));
    EXPECT_TRUE(OnScreen::all<ui::AlertView>().isEmpty());
    EXPECT_EQ(OnScreen::top<ui::AlertView>(), nullptr);
    EXPECT_FALSE(alert->isVisible());
    flushDeletes();
    EXPECT_TRUE(alive.isNull());
}

TEST_F(OverlayTest, TwoAlertButtonsSitSideBySideWithCancelOnTheLeft) {
    auto* alert = new AlertView("Rename", {}, alertDelegate(), "Cancel", {"OK"});
    alert->show();
    settle();
    QWidget* panel = alert->panel();
    EXPECT_EQ(button(panel, 0)->y(), button(panel, 1)->y());
    EXPECT_LT(button(panel, 0)->x(), button(panel, 1)->x());
    EXPECT_EQ(panel->focusWidget(), button(panel, 1));
    ASSERT_TRUE(OnScreen::pressButton(*alert, 1));
    EXPECT_EQ(calls, QStringList({"clicked 1", "dismissed 1"}));
}

TEST_F(OverlayTest, EscapePressesCancelAndNothingWhenThereIsNone) {
    auto* leave = new AlertView("Leave?", {}, alertDelegate(), "Stay", {"Leave"});
    leave->show();
    pressEscape(leave->panel());
    EXPECT_EQ(calls, QStringList({"clicked 0", "dismissed 0"}));
    calls.clear();

    auto* done = new AlertView("Saved", {}, alertDelegate(), QString(), {"OK"});
    EXPECT_EQ(done->cancelButtonIndex(), -1);
    EXPECT_EQ(done->buttonTitleAtIndex(0), "OK");
    done->show();
    pressEscape(done->panel());
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_TRUE(done->isVisible());
    ASSERT_TRUE(OnScreen::pressButton(*done, 0));
    EXPECT_EQ(calls, QStringList({"clicked 0", "dismissed 0"}));
}

TEST_F(OverlayTest, EnterPressesTheFocusedButtonAsOnAnyDesktop) {
    auto* done = new AlertView("Image Saved", {}, alertDelegate(), QString(), {"OK"});
    done->show();
    settle();
    QTest::keyClick(done->panel()->focusWidget(), Qt::Key_Return);
    EXPECT_EQ(calls, QStringList({"clicked 0", "dismissed 0"}));
    calls.clear();

    auto* leave = new AlertView("Leave?", {}, alertDelegate(), "Stay", {"Leave"});
    leave->show();
    settle();
    QWidget* panel = leave->panel();
    ASSERT_EQ(panel->focusWidget(), button(panel, 1));
    // Tab moves to the other button; Enter (the keypad's too) presses it.
    button(panel, 0)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(panel->focusWidget(), Qt::Key_Enter);
    EXPECT_EQ(calls, QStringList({"clicked 0", "dismissed 0"}));
}

TEST_F(OverlayTest, EnterOnASheetNeverStartsOnTheDestructiveChoice) {
    auto* drafts = new ActionSheet({}, sheetDelegate(), "Cancel", "Delete Draft", {"Save Draft"});
    drafts->showInView(window_.get());
    settle();
    QTest::keyClick(drafts->panel()->focusWidget(), Qt::Key_Return);
    EXPECT_EQ(calls.value(0), "clicked 1 tag 0");
    calls.clear();

    auto* remove = new ActionSheet({}, sheetDelegate(), "Cancel", "Delete", {});
    remove->showInView(window_.get());
    settle();
    QTest::keyClick(remove->panel()->focusWidget(), Qt::Key_Return);
    EXPECT_EQ(calls.value(0), "clicked 1 tag 0") << "Enter pressed Delete";
}

TEST_F(OverlayTest, AnErrorAlertHasOneOkAndNeedsNoDelegate) {
    auto* older = new AlertView("Older", {}, nullptr, "Cancel");
    older->show();
    showErrorAlert("The disk is full.");
    AlertView* error = OnScreen::top<ui::AlertView>();
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(OnScreen::all<ui::AlertView>(), QList<AlertView*>({older, error}));
    EXPECT_EQ(error->title(), "Error");
    EXPECT_EQ(error->message(), "The disk is full.");
    EXPECT_EQ(OnScreen::buttonTitles(*error), QStringList{"OK"});
    EXPECT_EQ(error->cancelButtonIndex(), 0);
    ASSERT_TRUE(OnScreen::pressButton(*error, 0));
    EXPECT_EQ(OnScreen::top<ui::AlertView>(), older);
    ASSERT_TRUE(OnScreen::pressButton(*older, 0));
    EXPECT_TRUE(OnScreen::all<ui::AlertView>().isEmpty());
}

TEST_F(OverlayTest, AnAlertShowsInTheActiveWindowAndGoesWithIt) {
    auto other = std::make_unique<Window>();
    other->resize(300, 400);
    other->show();
    settle();
    QApplication::setActiveWindow(other.get());
    auto* alert = new AlertView("Closing", {}, alertDelegate(), "OK");
    QPointer<AlertView> alive = alert;
    alert->show();
    ASSERT_TRUE(alert->isVisible());
    EXPECT_EQ(alert->panel()->window(), other.get());

    other.reset();
    EXPECT_TRUE(OnScreen::all<ui::AlertView>().isEmpty());
    flushDeletes();
    EXPECT_TRUE(alive.isNull());
    EXPECT_TRUE(calls.isEmpty());
}

TEST_F(OverlayTest, WithNoWindowAnAlertSaysSoAndGoes) {
    window_.reset();
    settle();
    lumigrave::test::LogCapture logs;
    auto* alert = new AlertView("Nowhere to go", {}, alertDelegate(), "OK");
    QPointer<AlertView> alive = alert;
    alert->show();
    EXPECT_FALSE(alert->isVisible());
    EXPECT_TRUE(OnScreen::all<ui::AlertView>().isEmpty());
    flushDeletes();
    EXPECT_TRUE(alive.isNull());
    EXPECT_TRUE(std::any_of(logs.lines().begin(), logs.lines().end(),
                            [](const QString& line) { return line.contains("Nowhere to go"); }));
}

TEST_F(OverlayTest, ASheetNumbersDestructiveFirstThenTheOthersThenCancel) {
    ActionSheet full("Photo", {}, "Cancel", "Delete", {"Copy", "Move"});
    EXPECT_EQ(OnScreen::buttonTitles(full), QStringList({"Delete", "Copy", "Move", "Cancel"}));
    EXPECT_EQ(full.destructiveButtonIndex(), 0);
    EXPECT_EQ(full.firstOtherButtonIndex(), 1);
    EXPECT_EQ(full.cancelButtonIndex(), 3);

    ActionSheet plain("Photo", {}, "Cancel", QString(), {"Copy"});
    EXPECT_EQ(OnScreen::buttonTitles(plain), QStringList({"Copy", "Cancel"}));
    EXPECT_EQ(plain.destructiveButtonIndex(), -1);
    EXPECT_EQ(plain.firstOtherButtonIndex(), 0);
    EXPECT_EQ(plain.cancelButtonIndex(), 1);
    EXPECT_EQ(plain.addButtonWithTitle("Print"), 2);
    EXPECT_EQ(plain.buttonTitleAtIndex(2), "Print");

    ActionSheet onlyCancel("", {}, "Cancel", QString(), {});
    EXPECT_EQ(onlyCancel.cancelButtonIndex(), 0);
    EXPECT_EQ(onlyCancel.firstOtherButtonIndex(), -1);
    EXPECT_EQ(onlyCancel.style(), ActionSheet::Style::Default);
    EXPECT_FALSE(onlyCancel.isVisible());
}

TEST_F(OverlayTest, ASheetRisesToTheBottomAndReportsThePressWithItsTag) {
    auto* sheet =
        new ActionSheet("Share the photo", sheetDelegate(), "Cancel", "Delete", {"Mail", "Save"});
    sheet->setTag(7);
    sheet->setActionSheetStyle(ActionSheet::Style::BlackTranslucent);
    EXPECT_EQ(sheet->style(), ActionSheet::Style::BlackTranslucent);
    QPointer<ActionSheet> alive = sheet;
    sheet->showInView(window());
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(OnScreen::all<ui::ActionSheet>(), QList<ActionSheet*>{sheet});
    EXPECT_EQ(OnScreen::top<ui::ActionSheet>(), sheet);
    QWidget* panel = sheet->panel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->window(), window());
    EXPECT_TRUE(eventually([&] { return panel->y() + panel->height() == window()->height(); }));
    EXPECT_EQ(panel->x(), 0);
    EXPECT_EQ(panel->width(), window()->width());
    settle();
    for (int index = 0; index < 3; ++index) {
        EXPECT_LT(button(panel, index)->y(), button(panel, index + 1)->y()) << index;
    }

    ASSERT_TRUE(OnScreen::pressButton(*sheet, 2));
    EXPECT_EQ(calls, QStringList({"clicked 2 tag 7", "dismissed 2 tag 7"}));
    EXPECT_TRUE(OnScreen::all<ui::ActionSheet>().isEmpty());
    EXPECT_EQ(OnScreen::top<ui::ActionSheet>(), nullptr);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_FALSE(OnScreen::pressButton(*sheet, 0));
    flushDeletes();
    EXPECT_TRUE(alive.isNull());
}

TEST_F(OverlayTest, EscapeOnASheetIsCancelOrTheEndOfItsView) {
    auto* sheet = new ActionSheet("Share", sheetDelegate(), "Cancel", QString(), {"Mail"});
    sheet->showInView(window());
    pressEscape(sheet->panel());
    EXPECT_EQ(calls, QStringList({"clicked 1 tag 0", "dismissed 1 tag 0"}));
    calls.clear();

    // A sheet carrying a picker has no buttons: Escape ends it with no position, so its
    // delegate (the picker) can tell it from a button.
    auto* picker = new ActionSheet("\n\n\n", sheetDelegate(), QString(), QString(), {});
    QPointer<QWidget> wheels = new QWidget;
    wheels->resize(320, 216);
    picker->addSubview(wheels);
    picker->showInView(window());
    EXPECT_EQ(wheels->parentWidget(), picker->panel());
    EXPECT_EQ(wheels->size(), QSize(320, 216));
    EXPECT_TRUE(wheels->isVisible());
    pressEscape(picker->panel());
    EXPECT_EQ(calls, QStringList({"clicked -1 tag 0", "dismissed -1 tag 0"}));
    // The view went with the sheet.
    flushDeletes();
    EXPECT_TRUE(wheels.isNull());
    calls.clear();

    auto* stuck = new ActionSheet("Busy", sheetDelegate(), QString(), QString(), {"Wait"});
    stuck->showInView(window());
    pressEscape(stuck->panel());
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_TRUE(stuck->isVisible());
}

TEST_F(OverlayTest, ASheetShowsInTheWindowOfWhatItIsShownFrom) {
    QWidget other;
    other.resize(300, 400);
    auto* toolbar = new Toolbar(&other);
    toolbar->setGeometry(0, 400 - kBarHeight, 300, kBarHeight);
    auto* share = new BarButtonItem(BarButtonItem::SystemItem::Action, nullptr, toolbar);
    toolbar->setItems({share});
    other.show();
    settle();

    auto* fromToolbar = new ActionSheet("A", nullptr, "Cancel", QString(), {});
    fromToolbar->showFromToolbar(toolbar);
    EXPECT_EQ(fromToolbar->panel()->window(), &other);
    // Shown already, it stays where it is.
    fromToolbar->showInView(window());
    EXPECT_EQ(fromToolbar->panel()->window(), &other);

    auto* fromItem = new ActionSheet("B", nullptr, "Cancel", QString(), {});
    fromItem->showFromBarButtonItem(share, true);
    EXPECT_EQ(fromItem->panel()->window(), &other);

    auto* fromRect = new ActionSheet("C", nullptr, "Cancel", QString(), {});
    fromRect->showFromRect(QRectF(0, 0, 10, 10), toolbar, true);
    EXPECT_EQ(fromRect->panel()->window(), &other);

    // An item no bar shows points nowhere: the sheet goes to the key window.
    BarButtonItem hidden("Elsewhere", BarButtonItem::Style::Plain, nullptr);
    auto* fromHidden = new ActionSheet("D", nullptr, "Cancel", QString(), {});
    fromHidden->showFromBarButtonItem(&hidden, true);
    EXPECT_EQ(fromHidden->panel()->window(), window());
    EXPECT_EQ(OnScreen::all<ui::ActionSheet>(),
              QList<ActionSheet*>({fromToolbar, fromItem, fromRect, fromHidden}));
}

TEST_F(OverlayTest, ABoundsSetWhileTheSheetRisesKeepItAtTheBottom) {
    auto* sheet = new ActionSheet("", nullptr, "Cancel", QString(), {});
    sheet->showInView(window());
    sheet->setBounds(QRectF(0, 0, 300, 260));
    EXPECT_EQ(sheet->bounds(), QRectF(0, 0, 300, 260));
    const QRect expected(10, 480 - 260, 300, 260);
    QWidget* panel = sheet->panel();
    EXPECT_TRUE(eventually([&] { return panel->geometry() == expected; }));
    // Once the rise is over too.
    QTest::qWait(800);
    EXPECT_EQ(panel->geometry(), expected);
}

// Writes its appearance callbacks, as a popover's content screen sees them.
class ContentController : public ViewController {
  public:
    explicit ContentController(QStringList* log) : log_(log) {}
    void viewWillAppear(bool) override { log_->append("willAppear"); }
    void viewDidAppear(bool) override { log_->append("didAppear"); }
    void viewWillDisappear(bool) override { log_->append("willDisappear"); }
    void viewDidDisappear(bool) override { log_->append("didDisappear"); }

  private:
    QStringList* log_;
};

// Told only when the user closes the popover.
struct PopoverCalls : PopoverController::Delegate {
    explicit PopoverCalls(QStringList* log) : calls(log) {}
    void popoverControllerDidDismissPopover(PopoverController&) override {
        *calls << "closed by the user";
    }
    QStringList* calls;
};

TEST_F(OverlayTest, APopoverPointsAtItsAnchorAndAClickOutsideClosesItTellingOnlyItsDelegate) {
    auto* content = new ContentController(&calls);
    PopoverController popover(content);
    PopoverCalls delegate(&calls);
    popover.setDelegate(&delegate);
    EXPECT_EQ(popover.contentViewController(), content);
    EXPECT_EQ(popover.popoverContentSize(), QSizeF(320, 260));
    popover.setPopoverContentSize(QSizeF(200, 150));
    EXPECT_FALSE(popover.isPopoverVisible());

    auto* anchorView = new QWidget(window());
    anchorView->setGeometry(100, 30, 100, 40);
    anchorView->show();
    popover.presentPopoverFromRect(QRectF(0, 0, 100, 40), anchorView, false);
    ASSERT_TRUE(popover.isPopoverVisible());
    EXPECT_EQ(OnScreen::all<ui::PopoverController>(), QList<PopoverController*>{&popover});
    EXPECT_EQ(calls, QStringList({"willAppear", "didAppear"}));
    QWidget* view = content->view();
    EXPECT_EQ(view->size(), QSize(200, 150));
    EXPECT_TRUE(view->isVisible());
    QRect placed = inWindow(popover.panel());
    const QRect anchor(100, 30, 100, 40);
    EXPECT_GT(placed.top(), anchor.bottom());  // room below: it hangs under the anchor
    EXPECT_NEAR(placed.center().x(), anchor.center().x(), 1);
    EXPECT_TRUE(window()->rect().contains(placed));

    // A click on the popover itself keeps it.
    QTest::mouseClick(view, Qt::LeftButton);
    EXPECT_TRUE(popover.isPopoverVisible());
    calls.clear();
    QWidget* layer = popover.panel()->parentWidget();
    QTest::mouseClick(layer, Qt::LeftButton, {}, QPoint(5, layer->height() - 5));
    EXPECT_FALSE(popover.isPopoverVisible());
    EXPECT_EQ(calls, QStringList({"willDisappear", "didDisappear", "closed by the user"}));
    EXPECT_TRUE(OnScreen::all<ui::PopoverController>().isEmpty());
    flushDeletes();

    // Shown again from an item of a bar at the bottom: above it, with the same view.
    auto* toolbar = new Toolbar(window());
    toolbar->setGeometry(0, 480 - kBarHeight, 320, kBarHeight);
    auto* item = new BarButtonItem(BarButtonItem::SystemItem::Action, nullptr, toolbar);
    toolbar->setItems({item});
    toolbar->show();
    settle();
    calls.clear();
    popover.presentPopoverFromBarButtonItem(item, true);
    ASSERT_TRUE(popover.isPopoverVisible());
    EXPECT_EQ(content->view(), view);
    EXPECT_EQ(view->size(), QSize(200, 150));
    placed = inWindow(popover.panel());
    EXPECT_LT(placed.bottom(), inWindow(toolbar->widgetForItemAt(0)).top());
    EXPECT_TRUE(window()->rect().contains(placed));

    pressEscape(popover.panel()->parentWidget());
    EXPECT_FALSE(popover.isPopoverVisible());
    EXPECT_EQ(calls, QStringList({"willAppear", "didAppear", "willDisappear", "didDisappear",
                                  "closed by the user"}));

    // Dismissed by code, it tells its delegate nothing.
    popover.presentPopoverFromBarButtonItem(item, false);
    calls.clear();
    popover.dismissPopoverAnimated(false);
    EXPECT_EQ(calls, QStringList({"willDisappear", "didDisappear"}));
}

}  // namespace
}  // namespace lumigrave::ui
