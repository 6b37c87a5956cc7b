// Screens and their stack, the navigation bar and its items, modal screens.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <memory>
#include <vector>

#include "platform/screen.h"
#include "recording_controller.h"
#include "support/widget_test_support.h"
#include "ui/bar_button_item.h"
#include "ui/bar_style.h"
#include "ui/navigation_bar.h"
#include "ui/navigation_controller.h"
#include "ui/toolbar.h"
#include "ui/view_controller.h"
#include "ui/window.h"

namespace lumigrave::ui {
namespace {

using test::eventually;
using test::flushDeletes;
using test::RecordingController;
using test::settle;
using Controllers = std::vector<ViewController*>;

TEST(ViewController, BuildsItsViewOnFirstUseOnlyAndTakesItAlongWhenItGoes) {
    QStringList log;
    RecordingController screen("A", &log);
    EXPECT_FALSE(screen.isViewLoaded());
    EXPECT_EQ(screen.loads, 0);
    QWidget* view = screen.view();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(screen.view(), view);
    EXPECT_EQ(screen.loads, 1);
    EXPECT_EQ(screen.didLoads, 1);

    // Dropped as when memory runs low, it is built anew on the next use.
    screen.unloadView();
    EXPECT_FALSE(screen.isViewLoaded());
    EXPECT_EQ(screen.unloads, 1);
    EXPECT_NE(screen.view(), nullptr);
    EXPECT_EQ(screen.loads, 2);
    EXPECT_EQ(screen.didLoads, 2);

    // A loadView that makes nothing still leaves a view to show.
    RecordingController bare("B", &log, false);
    EXPECT_NE(bare.view(), nullptr);
    EXPECT_EQ(bare.loads, 1);

    auto* leaving = new RecordingController("C", &log);
    QPointer<QWidget> leavingView = leaving->view();
    delete leaving;
    EXPECT_TRUE(leavingView.isNull());
    EXPECT_TRUE(log.isEmpty());
}

TEST(NavigationController, OffScreenItBuildsOnlyTheTopViewAndTellsNobody) {
    QStringList log;
    auto* root = new RecordingController("A", &log);
    auto* top = new RecordingController("B", &log);
    QPointer<ViewController> rootAlive = root;
    QPointer<ViewController> topAlive = top;
    {
        NavigationController navigation(root);
        EXPECT_EQ(root->navigationController(), &navigation);
        navigation.pushViewController(top, true);
        EXPECT_EQ(navigation.viewControllers(), (Controllers{root, top}));
        EXPECT_FALSE(top->isViewLoaded());

        navigation.view();
        EXPECT_TRUE(top->isViewLoaded());
        EXPECT_FALSE(root->isViewLoaded());
        EXPECT_TRUE(navigation.popViewControllerAnimated(false));
        EXPECT_TRUE(root->isViewLoaded());
        EXPECT_TRUE(log.isEmpty());
        // The popped screen's view still sits in the container until the screen goes.
        flushDeletes();
        EXPECT_TRUE(topAlive.isNull());
    }
    // The stack owns its screens.
    EXPECT_TRUE(rootAlive.isNull());
}

// A navigation controller as the root of a shown 320 × 480 window, its root screen "A"
// titled "Photos".
class NavigationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedBounds_ = Screen::bounds();
        root_ = new RecordingController("A", &log);
        root_->setTitle("Photos");
        navigation_ = std::make_unique<NavigationController>(root_);
        window_.resize(320, 480);
        window_.setRootViewController(navigation_.get());
        window_.show();
        settle();
    }
    void TearDown() override {
        // Popped and dismissed screens first, while the views they point at still exist.
        flushDeletes();
        navigation_.reset();
        flushDeletes();
        Screen::setBounds(savedBounds_);
    }

    RecordingController* push(const QString& name, bool animated) {
        auto* screen = new RecordingController(name, &log);
        screen->setTitle(name);
        navigation_->pushViewController(screen, animated);
        return screen;
    }
    QWidget* container() { return navigation_->view(); }

    QStringList log;
    Window window_;
    std::unique_ptr<NavigationController> navigation_;
    RecordingController* root_ = nullptr;

  private:
    Size savedBounds_;
};

TEST_F(NavigationTest, PushAndPopTellTheScreensInThePlatformsOrder) {
    // The window's first showing is the root screen's appearance.
    EXPECT_EQ(log, QStringList({"A willAppear", "A didAppear"}));
    log.clear();

    RecordingController* b = push("B", true);
    EXPECT_EQ(log, QStringList({"A willDisappear animated", "B willAppear animated",
                                "A didDisappear animated", "B didAppear animated"}));
    log.clear();
    RecordingController* c = push("C", false);
    EXPECT_EQ(log,
              QStringList({"B willDisappear", "C willAppear", "B didDisappear", "C didAppear"}));
    EXPECT_EQ(navigation_->viewControllers(), (Controllers{root_, b, c}));
    EXPECT_EQ(navigation_->topViewController(), c);
    EXPECT_EQ(c->navigationController(), navigation_.get());
    EXPECT_EQ(b->loads, 1);

    // The arriving screen fills the area the bars float over; the covered ones are hidden.
    EXPECT_EQ(c->view()->geometry(), container()->rect());
    EXPECT_TRUE(c->view()->isVisible());
    EXPECT_FALSE(b->view()->isVisible());
    EXPECT_FALSE(root_->view()->isVisible());
    EXPECT_EQ(navigation_->navigationBar()->title(), "C");

    log.clear();
    QPointer<ViewController> popped = c;
    EXPECT_TRUE(navigation_->popViewControllerAnimated(true));
    EXPECT_EQ(log, QStringList({"C willDisappear animated", "B willAppear animated",
                                "C didDisappear animated", "B didAppear animated"}));
    EXPECT_EQ(navigation_->viewControllers(), (Controllers{root_, b}));
    EXPECT_TRUE(b->view()->isVisible());
    EXPECT_EQ(b->loads, 1);
    EXPECT_EQ(navigation_->navigationBar()->title(), "B");
    // A screen may pop itself from its own handler, so it goes once the loop runs.
    ASSERT_FALSE(popped.isNull());
    EXPECT_EQ(popped->navigationController(), nullptr);
    flushDeletes();
    EXPECT_TRUE(popped.isNull());

    log.clear();
    EXPECT_TRUE(navigation_->popViewControllerAnimated(false));
    EXPECT_EQ(log,
              QStringList({"B willDisappear", "A willAppear", "B didDisappear", "A didAppear"}));
    log.clear();
    // The root stays.
    EXPECT_FALSE(navigation_->popViewControllerAnimated(true));
    navigation_->pushViewController(nullptr, true);
    EXPECT_TRUE(log.isEmpty());
    EXPECT_EQ(navigation_->viewControllers(), (Controllers{root_}));
    EXPECT_TRUE(root_->view()->isVisible());
    EXPECT_EQ(navigation_->navigationBar()->title(), "Photos");
}

TEST_F(NavigationTest, PoppingToTheRootTellsOnlyTheLeavingTopAndTheRoot) {
    QPointer<ViewController> b = push("B", false);
    QPointer<ViewController> c = push("C", false);
    log.clear();
    navigation_->popToRootViewControllerAnimated(true);
    EXPECT_EQ(navigation_->viewControllers(), (Controllers{root_}));
    EXPECT_EQ(navigation_->navigationBar()->title(), "Photos");
    // B was never on screen on the way down: it has nothing to appear or disappear from.
    EXPECT_EQ(log, QStringList({"C willDisappear animated", "A willAppear animated",
                                "C didDisappear animated", "A didAppear animated"}));
    flushDeletes();
    EXPECT_TRUE(b.isNull());
    EXPECT_TRUE(c.isNull());
}

TEST_F(NavigationTest, TheBarShowsTheTopScreensTitleAndButtons) {
    int edits = 0;
    BarButtonItem* sender = nullptr;
    auto* edit = new BarButtonItem(
        "Edit", BarButtonItem::Style::Bordered,
        [&](BarButtonItem* item) {
            ++edits;
            sender = item;
        },
        root_);
    auto* logo = new QLabel("logo");
    // Outlives the screens, as an item kept by the application does.
    auto logoItem = std::make_unique<BarButtonItem>(logo);
    root_->navigationItem().setRightBarButtonItem(edit);
    root_->navigationItem().setLeftBarButtonItem(logoItem.get());

    NavigationBar* bar = navigation_->navigationBar();
    EXPECT_EQ(bar->title(), "Photos");
    EXPECT_EQ(bar->leftWidget(), logo);
    EXPECT_EQ(logo->parentWidget(), bar);
    EXPECT_TRUE(logo->isVisible());
    ASSERT_NE(bar->rightWidget(), nullptr);
    EXPECT_TRUE(bar->rightWidget()->isVisible());
    EXPECT_TRUE(bar->rect().contains(bar->leftWidget()->geometry()));
    EXPECT_TRUE(bar->rect().contains(bar->rightWidget()->geometry()));
    EXPECT_LT(bar->leftWidget()->geometry().right(), bar->width() / 2);
    EXPECT_GT(bar->rightWidget()->geometry().left(), bar->width() / 2);

    QTest::mouseClick(bar->rightWidget(), Qt::LeftButton);
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(sender, edit);
    edit->setEnabled(false);
    EXPECT_FALSE(bar->rightWidget()->isEnabled());
    QTest::mouseClick(bar->rightWidget(), Qt::LeftButton);
    EXPECT_EQ(edits, 1);
    edit->setEnabled(true);

    QPointer<QWidget> editButton = bar->rightWidget();
    RecordingController* b = push("B", false);
    EXPECT_EQ(bar->title(), "B");
    EXPECT_EQ(bar->leftWidget(), navigation_->backBarButtonItem()->shownWidget());
    EXPECT_EQ(bar->rightWidget(), nullptr);
    // The button made for the item goes; the custom view goes back to its item.
    flushDeletes();
    EXPECT_TRUE(editButton.isNull());
    EXPECT_EQ(logo->parentWidget(), nullptr);

    // A covered screen's title reaches the bar's title only once it is on top again; the
    // back button takes it at once.
    root_->setTitle("Albums");
    EXPECT_EQ(bar->title(), "B");
    EXPECT_EQ(navigation_->backBarButtonItem()->title(), "Albums");
    b->setTitle("Details");
    EXPECT_EQ(bar->title(), "Details");
    navigation_->popViewControllerAnimated(false);
    EXPECT_EQ(bar->title(), "Albums");
    EXPECT_EQ(bar->leftWidget(), logo);
    ASSERT_NE(bar->rightWidget(), nullptr);
    QTest::mouseClick(bar->rightWidget(), Qt::LeftButton);
    EXPECT_EQ(edits, 2);
}

TEST_F(NavigationTest, ChangesToTheTopItemReachTheBarByThemselves) {
    NavigationBar* bar = navigation_->navigationBar();
    auto* save = new BarButtonItem(BarButtonItem::SystemItem::Save, nullptr, root_);
    root_->navigationItem().setRightBarButtonItem(save);
    ASSERT_NE(bar->rightWidget(), nullptr);
    EXPECT_EQ(bar->rightWidget(), save->shownWidget());
    root_->navigationItem().setTitle("Library");
    EXPECT_EQ(bar->title(), "Library");
    root_->navigationItem().setRightBarButtonItem(nullptr);
    EXPECT_EQ(bar->rightWidget(), nullptr);
    // An item that goes away leaves the bar by itself too.
    auto* trash = new BarButtonItem(BarButtonItem::SystemItem::Trash, nullptr);
    root_->navigationItem().setLeftBarButtonItem(trash);
    EXPECT_EQ(bar->leftWidget(), trash->shownWidget());
    delete trash;
    EXPECT_EQ(root_->navigationItem().leftBarButtonItem(), nullptr);
}

TEST_F(NavigationTest, TheBackButtonIsTitledAfterTheScreenBeneathAndPopsTheTop) {
    NavigationBar* bar = navigation_->navigationBar();
    EXPECT_EQ(bar->leftWidget(), nullptr);  // nothing to go back to from the root
    RecordingController* b = push("B", false);
    BarButtonItem* back = navigation_->backBarButtonItem();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->title(), "Photos");
    ASSERT_NE(bar->leftWidget(), nullptr);
    EXPECT_EQ(bar->leftWidget(), back->shownWidget());

    RecordingController* c = push("C", false);
    EXPECT_EQ(back->title(), "B");
    // A screen beneath with no title gives the platform's "Back".
    b->setTitle("");
    EXPECT_EQ(back->title(), "Back");
    b->setTitle("B");
    // A left button of the screen's own takes the back button's place; so does hiding it.
    auto* cancel = new BarButtonItem(BarButtonItem::SystemItem::Cancel, nullptr, c);
    c->navigationItem().setLeftBarButtonItem(cancel);
    EXPECT_EQ(bar->leftWidget(), cancel->shownWidget());
    c->navigationItem().setLeftBarButtonItem(nullptr);
    c->navigationItem().setHidesBackButton(true);
    EXPECT_EQ(bar->leftWidget(), nullptr);
    c->navigationItem().setHidesBackButton(false);
    ASSERT_NE(bar->leftWidget(), nullptr);

    log.clear();
    QTest::mouseClick(bar->leftWidget(), Qt::LeftButton);
    EXPECT_EQ(navigation_->viewControllers().size(), 2u);
    EXPECT_EQ(bar->title(), "B");
    EXPECT_EQ(back->title(), "Photos");
    EXPECT_TRUE(log.contains("B willAppear animated"));
    QTest::mouseClick(bar->leftWidget(), Qt::LeftButton);
    EXPECT_EQ(navigation_->viewControllers(), (Controllers{root_}));
    EXPECT_EQ(bar->leftWidget(), nullptr);
}

TEST_F(NavigationTest, TheContentAreaIsWhatNoVisibleBarCovers) {
    std::vector<QRect> reported;
    QObject::connect(navigation_.get(), &NavigationController::contentAreaChanged,
                     [&](QRect area) { reported.push_back(area); });
    EXPECT_EQ(navigation_->contentArea(), QRect(0, 44, 320, 436));
    navigation_->setToolbarHidden(false, true);
    // At once, not at the end of the slide: a page lays itself out for where the bar goes.
    EXPECT_EQ(navigation_->contentArea(), QRect(0, 44, 320, 392));
    navigation_->setNavigationBarHidden(true, false);
    EXPECT_EQ(navigation_->contentArea(), QRect(0, 0, 320, 436));
    window_.resize(400, 600);
    settle();
    EXPECT_EQ(navigation_->contentArea(), QRect(0, 0, 400, 556));
    EXPECT_EQ(reported, (std::vector<QRect>{QRect(0, 44, 320, 392), QRect(0, 0, 320, 436),
                                            QRect(0, 0, 400, 556)}));
    // The screen's own view still fills the container, under the bars.
    EXPECT_EQ(root_->view()->geometry(), QRect(0, 0, 400, 600));
}

TEST_F(NavigationTest, HiddenBarsSlideOutAndShownOnesSlideBack) {
    NavigationBar* bar = navigation_->navigationBar();
    Toolbar* toolbar = navigation_->toolbar();
    EXPECT_FALSE(navigation_->isNavigationBarHidden());
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 320, kBarHeight));
    EXPECT_TRUE(navigation_->isToolbarHidden());
    EXPECT_FALSE(toolbar->isVisible());

    navigation_->setToolbarHidden(false, false);
    EXPECT_TRUE(toolbar->isVisible());
    EXPECT_EQ(toolbar->geometry(), QRect(0, 480 - kBarHeight, 320, kBarHeight));

    navigation_->setNavigationBarHidden(true, true);
    navigation_->setToolbarHidden(true, true);
    EXPECT_TRUE(navigation_->isNavigationBarHidden());
    EXPECT_TRUE(navigation_->isToolbarHidden());
    EXPECT_TRUE(bar->isVisible());  // still on its way out
    EXPECT_TRUE(eventually([&] { return !bar->isVisible() && !toolbar->isVisible(); }));
    EXPECT_EQ(bar->pos(), QPoint(0, -kBarHeight));
    EXPECT_EQ(toolbar->pos(), QPoint(0, 480));

    navigation_->setNavigationBarHidden(false, true);
    navigation_->setToolbarHidden(false, true);
    EXPECT_FALSE(navigation_->isNavigationBarHidden());
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(toolbar->isVisible());
    EXPECT_TRUE(eventually([&] {
        return bar->pos() == QPoint(0, 0) && toolbar->pos() == QPoint(0, 480 - kBarHeight);
    }));

    navigation_->setNavigationBarHidden(true, false);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(bar->pos(), QPoint(0, -kBarHeight));

    // The bars follow the window, and a hidden one stays hidden.
    window_.resize(400, 600);
    EXPECT_TRUE(eventually(
        [&] { return toolbar->geometry() == QRect(0, 600 - kBarHeight, 400, kBarHeight); }));
    EXPECT_EQ(bar->width(), 400);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(root_->view()->geometry(), QRect(0, 0, 400, 600));
}

TEST_F(NavigationTest, BarsChangedAgainWhileSlidingEndAsTheLastCallAsked) {
    NavigationBar* bar = navigation_->navigationBar();
    Toolbar* toolbar = navigation_->toolbar();
    // As the main screen does when its mode is switched while the toolbar still slides in:
    // out and back in, within one handler.
    navigation_->setToolbarHidden(false, true);
    navigation_->setToolbarHidden(true, true);
    navigation_->setToolbarHidden(false, true);
    navigation_->setNavigationBarHidden(true, true);
    navigation_->setNavigationBarHidden(false, true);
    navigation_->setNavigationBarHidden(true, true);
    navigation_->setNavigationBarHidden(false, true);
    EXPECT_FALSE(navigation_->isToolbarHidden());
    EXPECT_FALSE(navigation_->isNavigationBarHidden());
    EXPECT_TRUE(eventually([&] {
        return toolbar->isVisible() && toolbar->pos() == QPoint(0, 480 - kBarHeight) &&
               bar->isVisible() && bar->pos() == QPoint(0, 0);
    }));
    // Well past every slide, nothing hid them afterwards.
    QTest::qWait(500);
    EXPECT_TRUE(toolbar->isVisible());
    EXPECT_TRUE(bar->isVisible());
}

TEST_F(NavigationTest, AModalScreenCoversTheWindowUntilDismissed) {
    auto* modal = new RecordingController("M", &log);
    QPointer<ViewController> alive = modal;
    log.clear();
    root_->presentModalViewController(modal, false);
    EXPECT_EQ(log, QStringList({"M willAppear", "M didAppear"}));
    EXPECT_EQ(root_->modalViewController(), modal);
    EXPECT_EQ(modal->presentingViewController(), root_);
    QWidget* cover = modal->view();
    EXPECT_EQ(cover->parentWidget(), &window_);
    EXPECT_EQ(cover->geometry(), window_.rect());
    EXPECT_TRUE(cover->isVisible());
    EXPECT_EQ(window_.childAt(window_.rect().center()), cover);
    EXPECT_EQ(window_.childAt(QPoint(5, 5)), cover);  // over the navigation bar too

    // One at a time: a second one is refused while the first is up.
    root_->presentModalViewController(new RecordingController("N", &log), false);
    EXPECT_EQ(root_->modalViewController(), modal);
    EXPECT_EQ(log.size(), 2);

    // The presented screen may dismiss itself.
    log.clear();
    modal->dismissModalViewControllerAnimated(false);
    EXPECT_EQ(log, QStringList({"M willDisappear", "M didDisappear"}));
    EXPECT_EQ(root_->modalViewController(), nullptr);
    EXPECT_FALSE(cover->isVisible());
    flushDeletes();
    EXPECT_TRUE(alive.isNull());
    root_->dismissModalViewControllerAnimated(false);
    EXPECT_EQ(log.size(), 2);
    EXPECT_EQ(window_.childAt(window_.rect().center()), root_->view());
}

TEST_F(NavigationTest, AModalScreenKeepsCoveringTheWindowAsItIsResized) {
    auto* modal = new RecordingController("M", &log);
    root_->presentModalViewController(modal, false);
    window_.resize(500, 640);
    EXPECT_TRUE(eventually([&] { return window_.size() == QSize(500, 640); }));
    EXPECT_TRUE(eventually([&] { return modal->view()->geometry() == window_.rect(); }));
}

}  // namespace
}  // namespace lumigrave::ui
