// The preset browser, opened from the main screen of a real launch and driven with real
// clicks, drags and keys: paging, copying, deleting and choosing presets, what reaches the
// store and the preferences, store failures, and every way of leaving the page.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QTest>

#include "app/editors/embossers_view_controller.h"
#include "app_fixture.h"
#include "model/embosser.h"
#include "model/embosser_load.h"
#include "platform/paths.h"
#include "platform/user_defaults.h"
#include "render/emboss_composer.h"
#include "support/unprivileged.h"
#include "support/widget_test_support.h"
#include "ui/action_sheet.h"
#include "ui/alert_view.h"
#include "ui/bar_button_item.h"
#include "ui/image_view.h"
#include "ui/navigation_bar.h"
#include "ui/navigation_controller.h"
#include "ui/on_screen.h"
#include "ui/page_curl.h"
#include "ui/toolbar.h"
#include "ui/window.h"

namespace lumigrave::test {
namespace {

// Pushes and pops slide for a fraction of a second; this leaves room for a slow machine.
constexpr int kSlideMs = 3000;
// The seed database holds five presets; the newest, first, is active on a first launch.
constexpr int kSeedPresets = 5;
const QString kReadOnlyMessage = QStringLiteral("attempt to write a readonly database");

class BrowserTest : public AppTest {
  protected:
    ui::NavigationController& navigation() { return *app().navigationController(); }

    // Launches, waits for the bars to slide in and opens the browser from the toolbar.
    void launchAndOpen() {
        launch();
        open();
    }
    void open() {
        advance(0.3);
        // The bars slide in after the start; a click lands on the toolbar once it is there.
        ASSERT_TRUE(ui::test::eventually([&] {
            const QWidget* bar = navigation().toolbar();
            return bar->isVisible() &&
                   bar->geometry().bottom() + 1 == bar->parentWidget()->height();
        }));
        clickToolbarItem("Presets");
        ASSERT_TRUE(ui::test::eventually([&] { return browser() != nullptr; }, kSlideMs));
        settle();
    }
    EmbossersViewController* browser() {
        return dynamic_cast<EmbossersViewController*>(navigation().topViewController());
    }
    QString title() { return browser()->title(); }
    int index() { return browser()->currentEmbosserIndex(); }
    std::vector<Embosser*> presets() {
        std::vector<Embosser*> list;
        for (const auto& preset : app().embossers()) {
            list.push_back(preset.get());
        }
        return list;
    }
    Embosser* shown() { return presets().at(size_t(index())); }

    void clickItem(ui::BarButtonItem* item) {
        ASSERT_NE(item, nullptr);
        click(navigation().toolbar()->widgetForItem(item));
    }
    void clickSelect() { click(navigation().navigationBar()->rightWidget()); }
    void key(Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), key);
        settle();
    }
    bool backOnMainScreen() {
        return ui::test::eventually([&] { return navigation().topViewController() == &root(); },
                                    kSlideMs);
    }

    // Presses the sheet's button with that title.
    static void answerSheet(const QString& button) {
        ui::ActionSheet* sheet = ui::OnScreen::top<ui::ActionSheet>();
        ASSERT_NE(sheet, nullptr);
        const int at = int(ui::OnScreen::buttonTitles(*sheet).indexOf(button));
        ASSERT_GE(at, 0) << button.toStdString();
        ASSERT_TRUE(ui::OnScreen::pressButton(*sheet, at));
        settle();
    }
    void copyShown() {
        clickItem(browser()->theCopyAsNewButton());
        answerSheet("Copy As New");
    }
    void deleteShown() {
        clickItem(browser()->trashButton());
        answerSheet("Delete Embosser");
    }

    // A horizontal drag across the page with the mouse: pressed, moved far enough for
    // the pan to begin, then moved on by `by` more points and released there. Only the
    // movement after the pan began counts as the swipe.
    void swipe(double by, double vertical = 0) {
        QWidget* page = browser()->view();
        const QPointF start(page->width() / 2.0, page->height() / 2.0);
        const QPointF begun = start + QPointF(by < 0 ? -10 : 10, 0);
        const QPointF end = begun + QPointF(by, vertical);
        mouse(page, QEvent::MouseButtonPress, start, Qt::LeftButton);
        mouse(page, QEvent::MouseMove, begun, Qt::LeftButton);
        mouse(page, QEvent::MouseMove, end, Qt::LeftButton);
        mouse(page, QEvent::MouseButtonRelease, end, Qt::NoButton);
        settle();
    }
    // Delivered to the page, whose pan recognizer watches it. (Sent to the child under the
    // point, Qt would hand the event on to the page at whole points, and a swipe of 20.5
    // points could not be told from one of 21.)
    static void mouse(QWidget* page, QEvent::Type type, QPointF at, Qt::MouseButtons held) {
        const Qt::MouseButton button =
            type == QEvent::MouseMove ? Qt::NoButton : Qt::MouseButton(Qt::LeftButton);
        QMouseEvent event(type, at, page->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(page, &event);
    }

    static qint64 lastUsed() { return UserDefaults().integerForKey(kLastUsedEmbosserKey); }
    // Launched once, so the first launch's seeding is over, then quit with the position
    // stored.
    void launchOnceAndStoreLastUsed(qint64 position) {
        launch();
        quit();
        storeLastUsed(position);
    }
    static void storeLastUsed(qint64 position) {
        UserDefaults defaults;
        defaults.setInteger(kLastUsedEmbosserKey, position);
        defaults.synchronize();
    }
    // The presets as the next launch reads them.
    static std::vector<QString> storedTexts() {
        EmbosserList list;
        EXPECT_TRUE(loadEmbossers(Paths::appDatabasePath(), 0, list, nullptr));
        std::vector<QString> texts;
        for (const auto& preset : list.embossers) {
            texts.push_back(preset->text());
        }
        return texts;
    }
    static size_t storedCount() { return storedTexts().size(); }

    // Leaves only the first `keep` presets in the store, between two launches.
    void keepOnlyStored(size_t keep) {
        launch();
        quit();
        EmbosserList list;
        ASSERT_TRUE(loadEmbossers(Paths::appDatabasePath(), 0, list, nullptr));
        for (size_t i = keep; i < list.embossers.size(); ++i) {
            ASSERT_TRUE(
                Embosser::dbDeleteEmbosser(Paths::appDatabasePath(), *list.embossers[i], nullptr));
        }
    }

    // Writes to the database fail from here on as they do on a read-only file.
    void makeStoreReadOnly() {
        const QString path = Paths::appDatabasePath();
        for (QFileInfo dir(QFileInfo(path).absolutePath()); dir.absoluteFilePath() != "/";
             dir = QFileInfo(dir.absolutePath())) {
            makeWorldReadable(dir.absoluteFilePath().toUtf8().constData(), true);
            if (dir.absoluteFilePath() == home_->path()) {
                break;
            }
        }
        ASSERT_TRUE(QFile::setPermissions(
            path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        nobody_ = std::make_unique<AsUnprivilegedUser>();
    }
    void makeStoreWritable() {
        nobody_.reset();
        QFile::setPermissions(Paths::appDatabasePath(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    void TearDown() override {
        makeStoreWritable();
        AppTest::TearDown();
    }

    std::unique_ptr<AsUnprivilegedUser> nobody_;
};

TEST(BrowserTitle, CountsFromOneAndMarksTheActivePreset) {
    EXPECT_EQ(EmbossersViewController::titleFor(1, 5, true), "2 of 5 (selected)");
    EXPECT_EQ(EmbossersViewController::titleFor(1, 5, false), "2 of 5");
    EXPECT_EQ(EmbossersViewController::titleFor(0, 1, true), "1 of 1 (selected)");
    EXPECT_EQ(EmbossersViewController::titleFor(11, 12, false), "12 of 12");
}

TEST_F(BrowserTest, OpensOnTheActivePresetWithItsToolbarAndNoWayBackButSelect) {
    launchOnceAndStoreLastUsed(1);
    launchAndOpen();
    EXPECT_EQ(title(), "2 of 5 (selected)");
    EXPECT_EQ(shown(), app().activeEmbosser());
    EXPECT_TRUE(browser()->navigationItem().hidesBackButton());
    EXPECT_EQ(browser()->navigationItem().leftBarButtonItem(), nullptr);
    ui::BarButtonItem* select = browser()->navigationItem().rightBarButtonItem();
    ASSERT_NE(select, nullptr);
    EXPECT_EQ(select->title(), "Select");
    EXPECT_EQ(select->style(), ui::BarButtonItem::Style::Done);
    EXPECT_FALSE(navigation().isToolbarHidden());

    const QList<ui::BarButtonItem*>& items = navigation().toolbar()->items();
    ASSERT_EQ(items.size(), 7);
    EXPECT_EQ(items[0], browser()->theCopyAsNewButton());
    EXPECT_EQ(items[2], browser()->previousButton());
    EXPECT_EQ(items[4], browser()->nextButton());
    EXPECT_EQ(items[6], browser()->trashButton());
    EXPECT_EQ(items[6]->systemItem(), ui::BarButtonItem::SystemItem::Trash);
    EXPECT_TRUE(items[1]->isSpace());
    EXPECT_EQ(items[1], items[3]);
    EXPECT_EQ(items[3], items[5]);

    // The preview is the preset on show stamped on the demonstration photo, in a square
    // as wide as the window.
    EXPECT_EQ(browser()->containerView()->size(), QSize(320, 320));
    const Image preview = browser()->shownImageView()->image();
    ASSERT_FALSE(preview.isNull());
    EXPECT_EQ(preview.size(), browser()->demoImage().size());
    EXPECT_EQ(browser()->imageSubView2()->parent(), nullptr);
}

TEST_F(BrowserTest, ThePreviewStaysASquareInTheMiddleOfAResizedWindow) {
    launchAndOpen();
    app().window()->resize(600, 400);
    settle();
    EXPECT_EQ(browser()->containerView()->geometry(), QRect(100, 0, 400, 400));
    EXPECT_FLOAT_EQ(browser()->shownImageView()->frame().size.width, 400);
    app().window()->resize(300, 700);
    settle();
    EXPECT_EQ(browser()->containerView()->geometry(), QRect(0, 200, 300, 300));
}

TEST_F(BrowserTest, ButtonsKeysAndSwipesPageWithoutWrappingAround) {
    launchAndOpen();
    EXPECT_EQ(title(), "1 of 5 (selected)");
    EXPECT_FALSE(browser()->previousButton()->isEnabled());
    EXPECT_TRUE(browser()->nextButton()->isEnabled());
    EXPECT_TRUE(browser()->trashButton()->isEnabled());
    const Image first = browser()->shownImageView()->image();

    // At the first page, backwards goes nowhere.
    clickItem(browser()->previousButton());
    key(Qt::Key_Left);
    swipe(30);
    EXPECT_EQ(title(), "1 of 5 (selected)");

    clickItem(browser()->nextButton());
    EXPECT_EQ(title(), "2 of 5");
    EXPECT_TRUE(browser()->previousButton()->isEnabled());
    EXPECT_FALSE(browser()->shownImageView()->image().isSameImage(first));
    key(Qt::Key_Right);
    EXPECT_EQ(title(), "3 of 5");
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(title(), "5 of 5");
    EXPECT_FALSE(browser()->nextButton()->isEnabled());
    EXPECT_TRUE(browser()->previousButton()->isEnabled());

    // At the last page, onwards goes nowhere.
    clickItem(browser()->nextButton());
    key(Qt::Key_Right);
    swipe(-30);
    EXPECT_EQ(title(), "5 of 5");

    key(Qt::Key_Left);
    EXPECT_EQ(title(), "4 of 5");
    clickItem(browser()->previousButton());
    EXPECT_EQ(title(), "3 of 5");
}

TEST_F(BrowserTest, ASwipeMustGoBeyondTwentyPointsEitherWay) {
    launchAndOpen();
    clickItem(browser()->nextButton());
    ASSERT_EQ(title(), "2 of 5");

    swipe(-20);
    EXPECT_EQ(title(), "2 of 5");
    swipe(20);
    EXPECT_EQ(title(), "2 of 5");
    swipe(-20.5);  // to the left: the next preset
    EXPECT_EQ(title(), "3 of 5");
    swipe(20.5);  // to the right: the previous one
    EXPECT_EQ(title(), "2 of 5");
    // Only the horizontal movement counts.
    swipe(-20.5, 80);
    EXPECT_EQ(title(), "3 of 5");
    swipe(5, -120);
    EXPECT_EQ(title(), "3 of 5");
}

TEST_F(BrowserTest, WithOnePresetThereIsNothingToPageOrDelete) {
    keepOnlyStored(1);
    launchAndOpen();
    EXPECT_EQ(title(), "1 of 1 (selected)");
    EXPECT_FALSE(browser()->previousButton()->isEnabled());
    EXPECT_FALSE(browser()->nextButton()->isEnabled());
    EXPECT_FALSE(browser()->trashButton()->isEnabled());
    EXPECT_TRUE(browser()->theCopyAsNewButton()->isEnabled());
    // The disabled trash item opens no sheet.
    clickItem(browser()->trashButton());
    EXPECT_EQ(ui::OnScreen::top<ui::ActionSheet>(), nullptr);
    EXPECT_EQ(presets().size(), 1u);
}

TEST_F(BrowserTest, ACopyGoesToTheFrontAndTheActivePresetKeepsItsMark) {
    launchAndOpen();
    const std::vector<Embosser*> before = presets();
    clickItem(browser()->nextButton());
    clickItem(browser()->nextButton());
    ASSERT_EQ(title(), "3 of 5");
    Embosser* third = shown();

    clickItem(browser()->theCopyAsNewButton());
    ui::ActionSheet* sheet = ui::OnScreen::top<ui::ActionSheet>();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->title(), "");
    EXPECT_EQ(ui::OnScreen::buttonTitles(*sheet), (QStringList{"Copy As New", "Cancel"}));
    EXPECT_EQ(sheet->tag(), EmbossersViewController::kCopyAsNewSheet);
    EXPECT_EQ(sheet->style(), ui::ActionSheet::Style::BlackTranslucent);
    answerSheet("Copy As New");

    EXPECT_EQ(title(), "1 of 6");
    ASSERT_EQ(presets().size(), 6u);
    Embosser* copy = presets()[0];
    EXPECT_NE(copy, third);
    EXPECT_NE(copy->rid(), third->rid());
    EXPECT_GT(copy->rid(), 0);
    EXPECT_EQ(copy->text(), third->text());
    EXPECT_EQ(copy->layoutType(), third->layoutType());
    EXPECT_FLOAT_EQ(copy->marginHorizontal(), third->marginHorizontal());
    EXPECT_FLOAT_EQ(copy->text_angle(), third->text_angle());
    EXPECT_FALSE(copy->modified());
    const std::vector<Embosser*> after = presets();
    EXPECT_EQ(std::vector<Embosser*>(after.begin() + 1, after.end()), before);
    // Not active: the user has to select it.
    EXPECT_EQ(app().activeEmbosser(), before[0]);
    clickItem(browser()->nextButton());
    EXPECT_EQ(title(), "2 of 6 (selected)");
    clickItem(browser()->previousButton());

    // Stored as the newest row, so the next launch puts it first too.
    ASSERT_EQ(storedCount(), 6u);
    EXPECT_EQ(storedTexts()[0], third->text());

    // The page turns down over a second; then the two image views have traded places.
    ui::ImageView* first = browser()->imageSubView();
    ui::ImageView* second = browser()->imageSubView2();
    ASSERT_NE(ui::PageCurl::running(browser()->containerView()), nullptr);
    EXPECT_EQ(first->parent(), browser()->containerView());
    advance(1.0);
    EXPECT_EQ(ui::PageCurl::running(browser()->containerView()), nullptr);
    EXPECT_EQ(second->parent(), browser()->containerView());
    EXPECT_EQ(first->parent(), nullptr);
    EXPECT_EQ(browser()->shownImageView(), second);
    EXPECT_TRUE(second->image().isSameImage(first->image()));

    // The next copy refreshes the view now on show and trades them back.
    copyShown();
    EXPECT_EQ(title(), "1 of 7");
    advance(1.0);
    EXPECT_EQ(browser()->shownImageView(), first);
    EXPECT_EQ(second->parent(), nullptr);
}

TEST_F(BrowserTest, DeletingShowsTheNextPresetOrTheNewLastOne) {
    launchAndOpen();
    const std::vector<Embosser*> before = presets();

    // A middle one: the one that followed it moves up to the same number.
    clickItem(browser()->nextButton());
    clickItem(browser()->trashButton());
    ui::ActionSheet* sheet = ui::OnScreen::top<ui::ActionSheet>();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(ui::OnScreen::buttonTitles(*sheet), (QStringList{"Delete Embosser", "Cancel"}));
    EXPECT_EQ(sheet->destructiveButtonIndex(), 0);
    EXPECT_EQ(sheet->tag(), EmbossersViewController::kDeleteSheet);
    answerSheet("Delete Embosser");
    EXPECT_EQ(title(), "2 of 4");
    EXPECT_EQ(shown(), before[2]);
    EXPECT_EQ(presets(), (std::vector<Embosser*>{before[0], before[2], before[3], before[4]}));
    EXPECT_EQ(storedCount(), 4u);

    // The last one: the new last one is shown.
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    ASSERT_EQ(title(), "4 of 4");
    deleteShown();
    EXPECT_EQ(title(), "3 of 3");
    EXPECT_EQ(shown(), before[3]);
    EXPECT_FALSE(browser()->nextButton()->isEnabled());
    EXPECT_EQ(storedCount(), 3u);
    EXPECT_EQ(app().activeEmbosser(), before[0]);

    // Down to one, the trash goes grey.
    deleteShown();
    deleteShown();
    EXPECT_EQ(title(), "1 of 1 (selected)");
    EXPECT_FALSE(browser()->trashButton()->isEnabled());
    EXPECT_EQ(storedCount(), 1u);
}

TEST_F(BrowserTest, DeletingTheActivePresetLeavesNoneUntilSelect) {
    launchAndOpen();
    const std::vector<Embosser*> before = presets();
    const Image rendered = app().embossedImage();
    deleteShown();
    EXPECT_EQ(app().activeEmbosser(), nullptr);
    EXPECT_EQ(title(), "1 of 4");
    for (int i = 0; i < 3; ++i) {
        key(Qt::Key_Right);
        EXPECT_FALSE(title().contains("selected")) << title().toStdString();
    }
    ASSERT_EQ(title(), "4 of 4");

    // What Select does at once, before the main screen shows again.
    press(navigation().navigationBar()->rightWidget());
    EXPECT_EQ(app().activeEmbosser(), before[4]);
    EXPECT_EQ(overlayMessage(), "Proccessing...");
    EXPECT_EQ(lastUsed(), 3);
    ASSERT_TRUE(backOnMainScreen());
    settle();
    // The main screen renders the new preset and takes the overlay down.
    EXPECT_EQ(overlayMessage(), "");
    EXPECT_FALSE(app().embossedImage().isSameImage(rendered));
    EXPECT_FALSE(before[4]->modified());
}

TEST_F(BrowserTest, SelectingTheActivePresetStillStoresItsPosition) {
    launchOnceAndStoreLastUsed(2);
    launchAndOpen();
    ASSERT_EQ(title(), "3 of 5 (selected)");
    const Image rendered = app().embossedImage();
    // Paged away and back: still the active one.
    key(Qt::Key_Left);
    key(Qt::Key_Right);
    copyShown();  // the active preset moves to position 3
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    ASSERT_EQ(title(), "4 of 6 (selected)");

    key(Qt::Key_Return);
    EXPECT_EQ(overlayMessage(), "");
    EXPECT_EQ(lastUsed(), 3);
    ASSERT_TRUE(backOnMainScreen());
    settle();
    EXPECT_FALSE(app().activeEmbosser()->modified());
    EXPECT_TRUE(app().embossedImage().isSameImage(rendered));
}

TEST_F(BrowserTest, TheSelectedPresetIsActiveAgainAfterARestart) {
    launchAndOpen();
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    Embosser* third = shown();
    const int rid = third->rid();
    key(Qt::Key_Enter);
    EXPECT_EQ(app().activeEmbosser(), third);
    EXPECT_EQ(lastUsed(), 2);
    ASSERT_TRUE(backOnMainScreen());
    settle();

    quit();
    launch();
    ASSERT_NE(app().activeEmbosser(), nullptr);
    EXPECT_EQ(app().activeEmbosser()->rid(), rid);
    EXPECT_EQ(app().activeEmbosser(), app().embossers()[2].get());
}

TEST_F(BrowserTest, CancellingEitherSheetChangesNothing) {
    launchAndOpen();
    key(Qt::Key_Right);
    const std::vector<Embosser*> before = presets();
    clickItem(browser()->theCopyAsNewButton());
    answerSheet("Cancel");
    clickItem(browser()->trashButton());
    answerSheet("Cancel");
    // Escape leaves a sheet as its cancel button does.
    clickItem(browser()->trashButton());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    settle();
    EXPECT_EQ(ui::OnScreen::top<ui::ActionSheet>(), nullptr);

    EXPECT_EQ(presets(), before);
    EXPECT_EQ(title(), "2 of 5");
    EXPECT_EQ(app().activeEmbosser(), before[0]);
    EXPECT_EQ(storedCount(), 5u);
    EXPECT_EQ(ui::PageCurl::running(browser()->containerView()), nullptr);
    // The keys reach the page again once the sheet is gone.
    key(Qt::Key_Right);
    EXPECT_EQ(title(), "3 of 5");
}

TEST_F(BrowserTest, ASheetLeftUpByAPageThatWentAwayDeletesNothing) {
    launchAndOpen();
    const std::vector<Embosser*> before = presets();
    clickItem(browser()->trashButton());
    ui::ActionSheet* sheet = ui::OnScreen::top<ui::ActionSheet>();
    ASSERT_NE(sheet, nullptr);
    navigation().popViewControllerAnimated(false);
    settle();
    ASSERT_EQ(navigation().topViewController(), &root());
    // Whatever is still on screen is answered; nothing calls into the page that is gone.
    if (ui::ActionSheet* still = ui::OnScreen::top<ui::ActionSheet>()) {
        ui::OnScreen::pressButton(*still, 0);
        settle();
    }
    EXPECT_EQ(presets(), before);
    EXPECT_EQ(storedCount(), 5u);
}

TEST_F(BrowserTest, AStoreThatRefusesWritesIsReportedAndNothingChanges) {
    launchAndOpen();
    key(Qt::Key_Right);
    const std::vector<Embosser*> before = presets();
    makeStoreReadOnly();

    for (const char* action : {"copy", "delete"}) {
        SCOPED_TRACE(action);
        if (std::string(action) == "copy") {
            copyShown();
        } else {
            deleteShown();
        }
        ui::AlertView* alert = ui::OnScreen::top<ui::AlertView>();
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(alert->title(), "Error");
        EXPECT_EQ(alert->message(), kReadOnlyMessage);
        EXPECT_EQ(ui::OnScreen::buttonTitles(*alert), QStringList{"OK"});
        EXPECT_EQ(presets(), before);
        EXPECT_EQ(index(), 1);
        EXPECT_EQ(title(), "2 of 5");
        EXPECT_EQ(ui::PageCurl::running(browser()->containerView()), nullptr);
        ASSERT_TRUE(ui::OnScreen::pressButton(*alert, 0));
        settle();
    }
    makeStoreWritable();
    EXPECT_EQ(storedCount(), 5u);
    EXPECT_EQ(app().activeEmbosser(), before[0]);
}

// Select is the only way off the page that the page itself offers; closing the window,
// quitting or the page going otherwise must still leave a preset active and a stored
// position that exists.
TEST_F(BrowserTest, QuittingAfterDeletingTheActivePresetMakesTheOneOnShowActive) {
    launchAndOpen();
    deleteShown();
    Embosser* onShow = shown();
    const int rid = onShow->rid();
    ASSERT_EQ(app().activeEmbosser(), nullptr);

    application().terminate();
    EXPECT_EQ(app().activeEmbosser(), onShow);
    EXPECT_EQ(lastUsed(), 0);
    kill();

    launch();
    ASSERT_NE(app().activeEmbosser(), nullptr);
    EXPECT_EQ(app().activeEmbosser()->rid(), rid);
}

TEST_F(BrowserTest, ClosingTheWindowAfterDeletingTheLastActivePresetStoresAPositionThatExists) {
    launchAndOpen();
    for (int i = 0; i < 4; ++i) {
        key(Qt::Key_Right);
    }
    key(Qt::Key_Return);  // the fifth is active, its position 4 stored
    ASSERT_TRUE(backOnMainScreen());
    ASSERT_EQ(lastUsed(), 4);
    open();
    ASSERT_EQ(title(), "5 of 5 (selected)");
    deleteShown();
    ASSERT_EQ(title(), "4 of 4");
    Embosser* onShow = shown();
    const int rid = onShow->rid();

    app().window()->close();
    EXPECT_EQ(app().activeEmbosser(), onShow);
    EXPECT_EQ(lastUsed(), 3);
    kill();

    launch();
    ASSERT_NE(app().activeEmbosser(), nullptr);
    EXPECT_EQ(app().activeEmbosser()->rid(), rid);
}

TEST_F(BrowserTest, APageTakenAwayOtherwiseLeavesTheMainScreenAPresetToRender) {
    launchAndOpen();
    key(Qt::Key_Right);
    deleteShown();  // not the active one: it stays active
    ASSERT_EQ(title(), "2 of 4");
    navigation().popViewControllerAnimated(false);
    ASSERT_TRUE(backOnMainScreen());
    EXPECT_EQ(app().activeEmbosser(), presets()[0]);
    EXPECT_EQ(lastUsed(), 0);

    const Image rendered = app().embossedImage();
    open();
    deleteShown();  // the active one
    Embosser* onShow = shown();
    navigation().popViewControllerAnimated(false);
    ASSERT_TRUE(backOnMainScreen());
    settle();
    EXPECT_EQ(app().activeEmbosser(), onShow);
    EXPECT_FALSE(onShow->modified());  // rendered on return, as after Select
    EXPECT_FALSE(app().embossedImage().isSameImage(rendered));
    EXPECT_EQ(lastUsed(), 0);
}

TEST_F(BrowserTest, AnActivePresetOutsideTheListStartsAtTheFirst) {
    launch();
    Embosser stranger;
    app().setActiveEmbosser(&stranger);
    open();
    EXPECT_EQ(title(), "1 of 5");
    clickSelect();
    EXPECT_EQ(app().activeEmbosser(), presets()[0]);
    ASSERT_TRUE(backOnMainScreen());
    settle();
}

}  // namespace
}  // namespace lumigrave::test
