// Screens and their stack, the bars, modal screens, the window and the application's
// lifecycle and second starts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

#include "platform/notification_center.h"
#include "platform/screen.h"
#include "support/widget_test_support.h"
#include "ui/application.h"
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
using test::settle;
using Controllers = std::vector<ViewController*>;

// Writes its appearance callbacks into a log the screens of a test share, so that the
// order across screens shows: "B willAppear animated".
class RecordingController : public ViewController {
  public:
    RecordingController(QString name, QStringList* log, bool buildsView = true)
        : name_(std::move(name)), log_(log), buildsView_(buildsView) {}

    void viewWillAppear(bool animated) override { record("willAppear", animated); }
    void viewDidAppear(bool animated) override { record("didAppear", animated); }
    void viewWillDisappear(bool animated) override { record("willDisappear", animated); }
    void viewDidDisappear(bool animated) override { record("didDisappear", animated); }

    int loads = 0;
    int didLoads = 0;
    int unloads = 0;

  protected:
    void loadView() override {
        ++loads;
        if (buildsView_) {
            setView(new QWidget);
        }
    }
    void viewDidLoad() override { ++didLoads; }
    void viewDidUnload() override { ++unloads; }

  private:
    void record(const char* call, bool animated) {
        log_->append(name_ + QLatin1Char(' ') + QLatin1String(call) +
                     (animated ? QStringLiteral(" animated") : QString()));
    }

    QString name_;
    QStringList* log_;
    bool buildsView_;
};

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

// Items by what their toolbar widget is: none for spaces.
class ToolbarTest : public ::testing::Test {
  protected:
    void SetUp() override {
        toolbar.resize(320, kBarHeight);
        toolbar.show();
        settle();
    }
    static int rightEdge(const QWidget* widget) { return widget->x() + widget->width(); }

    int actions = 0;
    BarButtonItem* lastSender = nullptr;
    BarButtonItem::Action record = [this](BarButtonItem* sender) {
        ++actions;
        lastSender = sender;
    };
    BarButtonItem share{BarButtonItem::SystemItem::Action, record};
    BarButtonItem space{BarButtonItem::SystemItem::FlexibleSpace, nullptr};
    BarButtonItem text{"Text", BarButtonItem::Style::Bordered, record};
    BarButtonItem done{BarButtonItem::SystemItem::Done, record};
    // Declared after the items, so it goes before them.
    Toolbar toolbar;
};

TEST_F(ToolbarTest, FlexibleSpacesShareTheSpareRoomAndClicksRunTheItemsActions) {
    toolbar.setItems({&share, &space, &text, &space, &done});
    ASSERT_EQ(toolbar.items().size(), 5);
    QWidget* left = toolbar.widgetForItemAt(0);
    QWidget* middle = toolbar.widgetForItemAt(2);
    QWidget* right = toolbar.widgetForItemAt(4);
    ASSERT_NE(left, nullptr);
    ASSERT_NE(middle, nullptr);
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(toolbar.widgetForItemAt(1), nullptr);
    EXPECT_EQ(toolbar.widgetForItemAt(3), nullptr);
    EXPECT_EQ(toolbar.widgetForItemAt(5), nullptr);
    EXPECT_EQ(toolbar.widgetForItemAt(-1), nullptr);
    EXPECT_EQ(toolbar.widgetForItem(&text), middle);
    EXPECT_EQ(toolbar.widgetForItem(&space), nullptr);
    EXPECT_EQ(text.shownWidget(), middle);

    // The one space item, twice, splits the room evenly: the items spread from margin
    // to margin.
    EXPECT_GT(left->x(), 0);
    EXPECT_NEAR(toolbar.width() - rightEdge(right), left->x(), 1);
    EXPECT_NEAR(middle->x() - rightEdge(left), right->x() - rightEdge(middle), 1);
    for (QWidget* widget : {left, middle, right}) {
        EXPECT_TRUE(toolbar.rect().contains(widget->geometry()));
        EXPECT_TRUE(widget->isVisible());
    }
    // The Action item is an image button, narrower than a titled one.
    EXPECT_TRUE(share.title().isEmpty());
    EXPECT_EQ(done.title(), "Done");
    EXPECT_EQ(done.style(), BarButtonItem::Style::Done);
    EXPECT_LT(left->width(), right->width());

    QTest::mouseClick(left, Qt::LeftButton);
    EXPECT_EQ(actions, 1);
    EXPECT_EQ(lastSender, &share);
    QTest::mouseClick(right, Qt::LeftButton);
    EXPECT_EQ(actions, 2);
    EXPECT_EQ(lastSender, &done);
    text.setEnabled(false);
    QTest::mouseClick(middle, Qt::LeftButton);
    text.trigger();
    EXPECT_EQ(actions, 2);
    text.setEnabled(true);

    toolbar.resize(480, kBarHeight);
    EXPECT_TRUE(eventually([&] { return rightEdge(right) > 400; }));
    EXPECT_NEAR(toolbar.width() - rightEdge(right), left->x(), 1);

    // New items replace the widgets; the ones made for the old items go.
    QPointer<QWidget> oldMiddle = middle;
    toolbar.setItems({&done});
    flushDeletes();
    EXPECT_TRUE(oldMiddle.isNull());
    ASSERT_NE(toolbar.widgetForItemAt(0), nullptr);
    QTest::mouseClick(toolbar.widgetForItemAt(0), Qt::LeftButton);
    EXPECT_EQ(lastSender, &done);
}

TEST_F(ToolbarTest, ACustomViewIsShownAsItIsAndGivenBackWhenTheItemsChange) {
    auto* field = new QLabel("Size");
    BarButtonItem custom(field);
    toolbar.setItems({&custom, &space, &done});
    EXPECT_EQ(toolbar.widgetForItemAt(0), field);
    EXPECT_EQ(field->parentWidget(), &toolbar);
    EXPECT_TRUE(field->isVisible());
    QPointer<QLabel> kept = field;
    toolbar.setItems({&done});
    flushDeletes();
    ASSERT_FALSE(kept.isNull());
    EXPECT_EQ(field->parentWidget(), nullptr);
    toolbar.setItems({&custom});
    EXPECT_EQ(toolbar.widgetForItemAt(0), field);
    toolbar.setItems({});
}

TEST_F(ToolbarTest, AFixedSpaceAddsItsWidthAndFlexibleRoomStillReachesTheMargin) {
    BarButtonItem one("One", BarButtonItem::Style::Bordered, record);
    BarButtonItem two("Two", BarButtonItem::Style::Bordered, record);
    BarButtonItem gap(BarButtonItem::SystemItem::FixedSpace, nullptr);
    gap.setWidth(30);

    toolbar.setItems({&one, &two});
    const int usual = toolbar.widgetForItemAt(1)->x() - rightEdge(toolbar.widgetForItemAt(0));
    toolbar.setItems({&one, &gap, &two});
    EXPECT_EQ(toolbar.widgetForItemAt(1), nullptr);
    EXPECT_EQ(toolbar.widgetForItemAt(2)->x() - rightEdge(toolbar.widgetForItemAt(0)), usual + 30);

    toolbar.setItems({&one, &gap, &space, &two});
    QWidget* first = toolbar.widgetForItemAt(0);
    QWidget* last = toolbar.widgetForItemAt(3);
    EXPECT_NEAR(toolbar.width() - rightEdge(last), first->x(), 1);
    toolbar.setItems({});
}

// Keeps the bounds and scale the window changes as it is shown and resized.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedBounds_ = Screen::bounds();
        savedScale_ = Screen::mainScreenScale();
    }
    void TearDown() override {
        settle();
        Screen::setBounds(savedBounds_);
        Screen::setMainScreenScale(savedScale_);
    }

  private:
    Size savedBounds_;
    float savedScale_ = 1;
};

TEST_F(WindowTest, ItsSizeInPointsIsTheScreensBoundsAndDecidesTheIdiom) {
    QStringList log;
    Window window;
    // Declared after the window: a root screen is not the window's to delete.
    RecordingController root("R", &log);
    window.setRootViewController(&root);
    EXPECT_EQ(window.rootViewController(), &root);
    window.resize(320, 480);
    Screen::setMainScreenScale(3);
    window.makeKeyAndVisible();
    settle();
    EXPECT_EQ(log, QStringList({"R willAppear", "R didAppear"}));
    EXPECT_EQ(Screen::bounds(), (Size{320, 480}));
    EXPECT_EQ(Screen::applicationFrame(), (Rect{Point{}, Size{320, 480}}));
    EXPECT_FLOAT_EQ(Screen::mainScreenScale(), float(window.devicePixelRatioF()));
    EXPECT_EQ(Device::userInterfaceIdiom(), InterfaceIdiom::Phone);
    EXPECT_EQ(root.view()->geometry(), window.rect());

    window.resize(768, 1024);
    EXPECT_TRUE(eventually([] { return Screen::bounds() == Size{768, 1024}; }));
    EXPECT_EQ(Device::userInterfaceIdiom(), InterfaceIdiom::Pad);
    EXPECT_EQ(Screen::applicationFrame(), (Rect{Point{}, Size{768, 1024}}));
    EXPECT_EQ(root.view()->geometry(), QRect(0, 0, 768, 1024));
    window.resize(767, 1024);
    EXPECT_TRUE(eventually([] { return Screen::bounds() == Size{767, 1024}; }));
    EXPECT_EQ(Device::userInterfaceIdiom(), InterfaceIdiom::Phone);
    // Below its smallest size, the window and so the bounds stop shrinking.
    window.resize(100, 100);
    EXPECT_TRUE(eventually([] { return Screen::bounds() == Size{240, 320}; }));
    EXPECT_EQ(window.size(), QSize(240, 320));

    // The root appears once: showing the window again tells it nothing.
    log.clear();
    window.hide();
    window.show();
    settle();
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(WindowTest, TheKeyWindowIsTheActiveOneElseTheFirstVisibleOne) {
    EXPECT_EQ(Window::keyWindow(), nullptr);
    Window first;
    Window second;
    QWidget other;
    for (QWidget* widget :
         {static_cast<QWidget*>(&first), static_cast<QWidget*>(&second), &other}) {
        widget->resize(300, 400);
        widget->show();
    }
    settle();
    QApplication::setActiveWindow(&second);
    EXPECT_EQ(Window::keyWindow(), &second);
    QApplication::setActiveWindow(&first);
    EXPECT_EQ(Window::keyWindow(), &first);
    QApplication::setActiveWindow(&other);
    Window* key = Window::keyWindow();
    EXPECT_TRUE(key == &first || key == &second);
    first.hide();
    EXPECT_EQ(Window::keyWindow(), &second);
    second.hide();
    EXPECT_EQ(Window::keyWindow(), nullptr);
}

// Writes the delegate's callbacks and the notifications posted into one log, so their
// order shows.
class LifecycleRecorder : public ApplicationDelegate {
  public:
    explicit LifecycleRecorder(QStringList* log) : log_(log) {
        for (const char* name : {"UIApplicationDidEnterBackgroundNotification",
                                 "UIApplicationWillEnterForegroundNotification",
                                 "UIApplicationDidBecomeActiveNotification",
                                 "UIApplicationWillTerminateNotification"}) {
            const QString notification = QString::fromLatin1(name);
            NotificationCenter::defaultCenter().addObserver(
                this, notification, [this, notification] { log_->append(notification); });
        }
    }
    ~LifecycleRecorder() override { NotificationCenter::defaultCenter().removeObserver(this); }

    bool didFinishLaunching() override { return note("didFinishLaunching"); }
    void didBecomeActive() override { note("didBecomeActive"); }
    void willResignActive() override { note("willResignActive"); }
    void didEnterBackground() override { note("didEnterBackground"); }
    void willEnterForeground() override { note("willEnterForeground"); }
    void willTerminate() override { note("willTerminate"); }
    bool openURL(const QUrl& url) override { return note("openURL " + url.toString()); }
    void filesDropped(const QList<QUrl>& urls) override { dropped.append(urls); }

    QList<QUrl> dropped;

  private:
    bool note(const QString& call) {
        log_->append(call);
        return true;
    }
    QStringList* log_;
};

// The log so far, emptied.
QStringList take(QStringList& log) {
    QStringList taken = log;
    log.clear();
    return taken;
}

const QString kBecameActive = QStringLiteral("UIApplicationDidBecomeActiveNotification");
const QString kEnteredBackground = QStringLiteral("UIApplicationDidEnterBackgroundNotification");
const QString kEnteringForeground = QStringLiteral("UIApplicationWillEnterForegroundNotification");
const QString kTerminating = QStringLiteral("UIApplicationWillTerminateNotification");

TEST(Application, MovesThroughTheLifecycleAndPostsEachChange) {
    QStringList log;
    LifecycleRecorder delegate(&log);
    Application application(&delegate);
    EXPECT_EQ(Application::sharedApplication(), &application);
    EXPECT_EQ(application.delegate(), &delegate);
    EXPECT_EQ(application.applicationState(), Application::State::Inactive);
    EXPECT_TRUE(application.launch());
    EXPECT_EQ(take(log), QStringList{"didFinishLaunching"});

    application.windowActivated();
    application.windowActivated();
    EXPECT_EQ(take(log), QStringList({"didBecomeActive", kBecameActive}));
    EXPECT_EQ(application.applicationState(), Application::State::Active);
    application.windowDeactivated();
    application.windowDeactivated();
    EXPECT_EQ(take(log), QStringList{"willResignActive"});
    EXPECT_EQ(application.applicationState(), Application::State::Inactive);
    application.windowActivated();
    EXPECT_EQ(take(log), QStringList({"didBecomeActive", kBecameActive}));

    // Leaving resigns first.
    application.windowHidden();
    application.windowHidden();
    EXPECT_EQ(take(log),
              QStringList({"willResignActive", "didEnterBackground", kEnteredBackground}));
    EXPECT_EQ(application.applicationState(), Application::State::Background);
    // Back in the foreground it is inactive until the window is activated.
    application.windowShown();
    application.windowShown();
    EXPECT_EQ(take(log), QStringList({"willEnterForeground", kEnteringForeground}));
    EXPECT_EQ(application.applicationState(), Application::State::Inactive);
    application.windowActivated();
    EXPECT_EQ(take(log), QStringList({"didBecomeActive", kBecameActive}));

    // Quitting goes to the background first, so what is stored there is stored on quit.
    application.terminate();
    EXPECT_EQ(take(log), QStringList({"willResignActive", "didEnterBackground", kEnteredBackground,
                                      "willTerminate", kTerminating}));
    application.terminate();
    application.windowActivated();
    application.windowShown();
    application.windowHidden();
    EXPECT_TRUE(log.isEmpty());
}

TEST(Application, FromTheBackgroundAnActivationComesThroughTheForeground) {
    QStringList log;
    LifecycleRecorder delegate(&log);
    {
        Application application(&delegate);
        // Never active: nothing to resign.
        application.windowHidden();
        EXPECT_EQ(take(log), QStringList({"didEnterBackground", kEnteredBackground}));
        application.windowActivated();
        EXPECT_EQ(take(log), QStringList({"willEnterForeground", kEnteringForeground,
                                          "didBecomeActive", kBecameActive}));
        application.windowHidden();
        take(log);
        // Already in the background: only the termination is left to tell.
        application.terminate();
        EXPECT_EQ(take(log), QStringList({"willTerminate", kTerminating}));
        EXPECT_TRUE(application.handleOpenURL(QUrl("lumigrave://flickr")));
        EXPECT_EQ(take(log), QStringList{"openURL lumigrave://flickr"});
    }
    EXPECT_EQ(Application::sharedApplication(), nullptr);
}

TEST(Application, TheWindowsActivationMinimisingHidingAndClosingDriveIt) {
    QStringList log;
    LifecycleRecorder delegate(&log);
    Application application(&delegate);
    Window window;
    window.resize(320, 480);
    window.show();
    settle();
    QApplication::setActiveWindow(&window);
    EXPECT_TRUE(
        eventually([&] { return application.applicationState() == Application::State::Active; }));
    EXPECT_EQ(take(log), QStringList({"didBecomeActive", kBecameActive}));

    // Minimised as a window manager does it: the state changes and the focus moves on.
    window.setWindowState(Qt::WindowMinimized);
    QApplication::setActiveWindow(nullptr);
    settle();
    EXPECT_EQ(application.applicationState(), Application::State::Background);
    EXPECT_EQ(take(log),
              QStringList({"willResignActive", "didEnterBackground", kEnteredBackground}));
    window.setWindowState(Qt::WindowNoState);
    settle();
    EXPECT_EQ(take(log), QStringList({"willEnterForeground", kEnteringForeground}));
    QApplication::setActiveWindow(&window);
    settle();
    EXPECT_EQ(take(log), QStringList({"didBecomeActive", kBecameActive}));

    window.hide();
    QApplication::setActiveWindow(nullptr);
    settle();
    EXPECT_EQ(take(log),
              QStringList({"willResignActive", "didEnterBackground", kEnteredBackground}));
    window.show();
    settle();
    QApplication::setActiveWindow(&window);
    settle();
    EXPECT_EQ(take(log), QStringList({"willEnterForeground", kEnteringForeground, "didBecomeActive",
                                      kBecameActive}));

    window.close();
    settle();
    EXPECT_EQ(take(log), QStringList({"willResignActive", "didEnterBackground", kEnteredBackground,
                                      "willTerminate", kTerminating}));
}

// Opens the window's drag and drop handlers to the test, as a drag would reach them.
class DropTarget : public Window {
  public:
    using Window::dragEnterEvent;
    using Window::dropEvent;
};

TEST(Application, FilesDroppedOnTheWindowReachTheDelegate) {
    QStringList log;
    LifecycleRecorder delegate(&log);
    Application application(&delegate);
    DropTarget window;
    window.resize(320, 480);

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/photos/a.jpg"), QUrl("https://example.com/b.png")});
    QDragEnterEvent filesEnter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton,
                               Qt::NoModifier);
    filesEnter.setAccepted(false);
    window.dragEnterEvent(&filesEnter);
    EXPECT_TRUE(filesEnter.isAccepted());

    QMimeData text;
    text.setText("hello");
    QDragEnterEvent textEnter(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton,
                              Qt::NoModifier);
    textEnter.setAccepted(false);
    window.dragEnterEvent(&textEnter);
    EXPECT_FALSE(textEnter.isAccepted());
    QDropEvent textDrop(QPointF(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    window.dropEvent(&textDrop);
    EXPECT_TRUE(delegate.dropped.isEmpty());

    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    drop.setAccepted(false);
    window.dropEvent(&drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(delegate.dropped, files.urls());
}

// Points the runtime directory, where the instance's socket lives, at a fresh directory.
class SecondStartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(runtime_.isValid());
        hadRuntime_ = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
        savedRuntime_ = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
    }
    void TearDown() override {
        if (hadRuntime_) {
            qputenv("XDG_RUNTIME_DIR", savedRuntime_);
        } else {
            qunsetenv("XDG_RUNTIME_DIR");
        }
    }
    QString path(const QString& name) const { return runtime_.filePath(name); }

    QStringList log;
    LifecycleRecorder delegate{&log};

  private:
    QTemporaryDir runtime_;
    bool hadRuntime_ = false;
    QByteArray savedRuntime_;
};

TEST_F(SecondStartTest, HandsItsUrlsToTheRunningInstanceWhichComesForward) {
    EXPECT_EQ(Application::defaultSocketPath(), path("lumigrave.instance"));
    // Nobody runs yet: this start is the one to run.
    EXPECT_FALSE(Application::forwardToRunningInstance({"https://example.com/a"}));

    const QString photo = path("photo.jpg");
    {
        QFile file(photo);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not really a photo");
    }
    {
        Application running(&delegate);
        ASSERT_TRUE(running.listen());
        QObject::connect(&running, &Application::activationRequested,
                         [this] { log.append("activationRequested"); });

        EXPECT_TRUE(Application::forwardToRunningInstance(
            {"--fullscreen", "https://example.com/a?size=2", photo, path("missing.jpg")}));
        EXPECT_TRUE(eventually([&] { return log.size() >= 3; }));
        EXPECT_EQ(log, QStringList({"activationRequested", "openURL https://example.com/a?size=2",
                                    "openURL " + QUrl::fromLocalFile(photo).toString()}));

        // A start with nothing to open still brings the window forward.
        log.clear();
        EXPECT_TRUE(Application::forwardToRunningInstance({}));
        EXPECT_TRUE(eventually([&] { return !log.isEmpty(); }));
        QTest::qWait(100);
        EXPECT_EQ(log, QStringList{"activationRequested"});
    }
    // Once the instance has gone, nobody answers.
    EXPECT_FALSE(Application::forwardToRunningInstance({"https://example.com/a"}));
}

TEST_F(SecondStartTest, ASocketLeftBehindByACrashIsTakenOver) {
    const QString socket = path("crashed.instance");
    {
        QFile leftover(socket);
        ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    }
    EXPECT_FALSE(Application::forwardToRunningInstance({"lumigrave://flickr"}, socket));
    Application running(&delegate);
    ASSERT_TRUE(running.listen(socket));
    EXPECT_TRUE(Application::forwardToRunningInstance({"lumigrave://flickr"}, socket));
    EXPECT_TRUE(eventually([&] { return log.contains("openURL lumigrave://flickr"); }));
}

TEST(Application, TakesUrlsAndExistingFilesFromTheArgumentsAndSkipsOptions) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"photo.jpg", "with space.png"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString savedDirectory = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    // A relative name is a file where this start was made.
    const QUrl relative = QUrl::fromLocalFile(QDir::current().absoluteFilePath("photo.jpg"));
    const QList<QUrl> urls = Application::urlsFromArguments(
        {"--verbose", "-x", "https://example.com/p?q=1", "lumigrave://flickr", "photo.jpg",
         dir.filePath("with space.png"), "missing.jpg", "C:/no/such/file.jpg", "-photo.jpg"});
    QDir::setCurrent(savedDirectory);

    EXPECT_EQ(urls, QList<QUrl>({QUrl("https://example.com/p?q=1"), QUrl("lumigrave://flickr"),
                                 relative, QUrl::fromLocalFile(dir.filePath("with space.png"))}));
}

}  // namespace
}  // namespace lumigrave::ui
