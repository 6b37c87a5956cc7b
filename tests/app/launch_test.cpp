// The launch, the shared state and the lifecycle of the application delegate.
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

#include "app/activity_overlay.h"
#include "app_fixture.h"
#include "platform/notification_center.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/user_defaults.h"
#include "render/emboss_composer.h"
#include "sharing/share_center.h"
#include "sharing/ui/offline_flush.h"
#include "support/widget_test_support.h"
#include "ui/activity_indicator_view.h"
#include "ui/alert_view.h"
#include "ui/bar_style.h"
#include "ui/image_view.h"
#include "ui/mail_compose_view_controller.h"
#include "ui/navigation_bar.h"
#include "ui/navigation_controller.h"
#include "ui/on_screen.h"
#include "ui/toolbar.h"
#include "ui/window.h"

namespace lumigrave::test {
namespace {

// Records the launch's steps as they run.
class RecordingDelegate : public AppDelegate {
  public:
    QStringList steps;
    void seedAppDatabase() override {
        record("seedAppDatabase", [this] { AppDelegate::seedAppDatabase(); });
    }
    void seedPreferences() override {
        record("seedPreferences", [this] { AppDelegate::seedPreferences(); });
    }
    void detectBackgroundSupport() override {
        record("detectBackgroundSupport", [this] { AppDelegate::detectBackgroundSupport(); });
    }
    void loadEmbossers() override {
        record("loadEmbossers", [this] { AppDelegate::loadEmbossers(); });
    }
    void initDemoImage() override {
        record("initDemoImage", [this] { AppDelegate::initDemoImage(); });
    }
    void registerForActivityNotification() override {
        record("registerForActivityNotification",
               [this] { AppDelegate::registerForActivityNotification(); });
    }
    void configureSharing() override {
        record("configureSharing", [this] { AppDelegate::configureSharing(); });
    }
    void createWindow() override {
        record("createWindow", [this] { AppDelegate::createWindow(); });
    }
    void testOffline() override {
        record("testOffline", [this] { AppDelegate::testOffline(); });
    }

  private:
    // A member pointer would dispatch virtually back here, so the base's step comes as a
    // call that names it.
    template <typename Step>
    void record(const char* name, Step step) {
        steps.append(QString::fromLatin1(name));
        step();
    }
};

using LaunchTest = AppTest;

TEST_F(LaunchTest, RunsTheStepsInOrderAndFlushesTheOfflineQueueHalfASecondLater) {
    auto recording = std::make_unique<RecordingDelegate>();
    RecordingDelegate* delegate = recording.get();
    delegate_ = std::move(recording);
    application_ = std::make_unique<ui::Application>(delegate_.get());
    int flushes = sharing::OfflineFlush::requestCount();
    ASSERT_TRUE(application_->launch());
    EXPECT_EQ(delegate->steps,
              QStringList({"seedAppDatabase", "seedPreferences", "detectBackgroundSupport",
                           "loadEmbossers", "initDemoImage", "registerForActivityNotification",
                           "configureSharing", "createWindow"}));
    settle();
    advance(0.499);
    EXPECT_EQ(sharing::OfflineFlush::requestCount(), flushes);
    EXPECT_EQ(delegate->steps.last(), "createWindow");
    advance(0.001);
    EXPECT_EQ(sharing::OfflineFlush::requestCount(), flushes + 1);
    EXPECT_EQ(delegate->steps.last(), "testOffline");
}

TEST_F(LaunchTest, BuildsTheSharedStateFromTheSeedDatabaseAndTheDemoPhoto) {
    launch();
    EXPECT_TRUE(QFile::exists(Paths::appDatabasePath()));
    ASSERT_EQ(app().embossers().size(), 5u);
    EXPECT_EQ(app().activeEmbosser(), app().embossers().front().get());
    EXPECT_TRUE(app().backgroundSupported());
    EXPECT_TRUE(app().originalImage().isSameImage(app().activeImage()));
    EXPECT_EQ(app().originalImage().scale(), 2);
    ASSERT_FALSE(app().embossedImage().isNull());
    EXPECT_EQ(app().embossedImage().size(), app().activeImage().size());

    ASSERT_NE(app().window(), nullptr);
    EXPECT_TRUE(app().window()->isVisible());
    EXPECT_EQ(app().window()->size(), QSize(320, 480));
    ui::NavigationController* navigation = app().navigationController();
    EXPECT_EQ(navigation->viewControllers().front(), app().rootViewController());
    EXPECT_EQ(navigation->navigationBar()->barStyle(), ui::BarStyle::Black);
    EXPECT_TRUE(navigation->navigationBar()->isTranslucent());
    EXPECT_EQ(navigation->toolbar()->barStyle(), ui::BarStyle::BlackTranslucent);
    EXPECT_EQ(navigation->navigationBar()->title(), "Lumigrave");
}

TEST_F(LaunchTest, TheWatermarkFollowsTheWindowToAScreenOfAnotherScale) {
    launch();
    EXPECT_FLOAT_EQ(Screen::mainScreenScale(), float(app().window()->devicePixelRatioF()));
    const Image here = app().embossedImage();
    // As if it had been rendered on a screen of twice the density before the window
    // came to this one.
    Screen::setMainScreenScale(2);
    root().updateImage(app().activeImage());
    ASSERT_NE(app().embossedImage().pixels(), here.pixels());

    QEvent moved(QEvent::ScreenChangeInternal);
    QCoreApplication::sendEvent(app().window(), &moved);
    EXPECT_FLOAT_EQ(Screen::mainScreenScale(), 1);
    EXPECT_EQ(app().embossedImage().pixels(), here.pixels());
    EXPECT_TRUE(root().imageSubView()->image().isSameImage(app().embossedImage()));

    // A screen of the same scale renders nothing again.
    const Image current = app().embossedImage();
    QCoreApplication::sendEvent(app().window(), &moved);
    app().window()->hide();
    app().window()->show();
    settle();
    EXPECT_TRUE(app().embossedImage().isSameImage(current));
}

TEST_F(LaunchTest, SeedsThePreferencesOnTheFirstLaunchOnly) {
    launch();
    {
        UserDefaults defaults;
        EXPECT_TRUE(defaults.boolForKey(kLaunchedKey));
        EXPECT_EQ(defaults.integerForKey(kRequestRateCountdownKey), 3);
        EXPECT_EQ(defaults.integerForKey(kMaxOutputPixKey), 800);
        EXPECT_EQ(defaults.integerForKey(kOperatingModeKey), 0);
        EXPECT_EQ(defaults.integerForKey(kLastUsedEmbosserKey), 0);
        defaults.setInteger(kMaxOutputPixKey, 1024);
        defaults.setInteger(kLastUsedEmbosserKey, 2);
        defaults.setInteger(kRequestRateCountdownKey, 0);
        defaults.synchronize();
    }
    quit();
    launch();
    UserDefaults defaults;
    EXPECT_EQ(defaults.integerForKey(kMaxOutputPixKey), 1024);
    EXPECT_EQ(defaults.integerForKey(kRequestRateCountdownKey), 0);
    EXPECT_EQ(app().activeEmbosser(), app().embossers()[2].get());
}

TEST_F(LaunchTest, ADatabaseThatCannotBeOpenedLeavesADefaultPresetAndSaysWhy) {
    // A directory where the database file should be: SQLite cannot open it.
    QString path = Paths::appDatabasePath();
    ASSERT_TRUE(QDir().mkpath(path));
    launch();
    EXPECT_TRUE(app().embossers().empty());
    ASSERT_NE(app().activeEmbosser(), nullptr);
    EXPECT_FALSE(app().embossedImage().isNull());
    // Once the window is up: the launch's settle ran the zero-delay call.
    ui::AlertView* alert = ui::OnScreen::top<ui::AlertView>();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "Error");
    EXPECT_EQ(alert->message(), "unable to open database file");
    EXPECT_EQ(ui::OnScreen::buttonTitles(*alert), QStringList{"OK"});
    EXPECT_TRUE(ui::OnScreen::pressButton(*alert, 0));
    settle();
    EXPECT_TRUE(ui::OnScreen::all<ui::AlertView>().isEmpty());
}

TEST_F(LaunchTest, OffersTheOutputSizesOfTheOriginalPhoto) {
    launch();
    app().setOriginalImage(photo(3264, 2448));
    std::vector<Size> sizes = app().maxOutputSizes();
    ASSERT_EQ(sizes.size(), 16u);
    EXPECT_EQ(sizes[0], (Size{3264, 2448}));
    EXPECT_EQ(sizes[1], (Size{1440, 1080}));
    EXPECT_EQ(sizes[15], (Size{400, 300}));
    EXPECT_EQ(app().matchedIndexForOutputSize(800), 9);
    EXPECT_EQ(app().matchedIndexForOutputSize(1440), 1);
    EXPECT_EQ(app().matchedIndexForOutputSize(0), 0);
    EXPECT_EQ(app().matchedIndexForOutputSize(750), 1);
    // Its 960 entry's longer side is 960.00006 in single precision.
    EXPECT_EQ(app().matchedIndexForOutputSize(960), 1);

    app().setOriginalImage(photo(600, 450));
    sizes = app().maxOutputSizes();
    EXPECT_EQ(sizes,
              (std::vector<Size>{{600, 450}, {600, 450}, {500, 375}, {480, 360}, {400, 300}}));
    EXPECT_EQ(app().matchedIndexForOutputSize(800), 1);

    app().setOriginalImage(photo(399, 300));
    EXPECT_TRUE(app().maxOutputSizes().empty());
    EXPECT_EQ(app().matchedIndexForOutputSize(800), 0);
}

TEST_F(LaunchTest, TheOverlayIsOneViewReusedAndAlwaysCoversTheWindow) {
    launch();
    EXPECT_EQ(app().overlay(), nullptr);
    EXPECT_EQ(app().activityView(), nullptr);
    app().hideActivityView();  // nothing shown yet: nothing happens

    app().showActivityView("Loading...");
    ActivityOverlay* overlay = app().overlay();
    ASSERT_NE(overlay, nullptr);
    QWidget* view = app().activityView();
    ASSERT_EQ(view, overlay->view());
    app().showActivityView("Saving...");
    EXPECT_EQ(app().activityView(), view);
    EXPECT_EQ(ui::OnScreen::all<ActivityOverlay>(), QList<ActivityOverlay*>{overlay});
    EXPECT_EQ(overlay->message(), "Saving...");
    EXPECT_EQ(view->window(), app().window());
    EXPECT_EQ(view->mapTo(app().window(), QPoint()), QPoint(0, 0));
    EXPECT_EQ(view->size(), QSize(320, 480));
    EXPECT_EQ(overlay->indicator()->geometry(), QRect(148, 228, 24, 24));
    EXPECT_EQ(overlay->label()->geometry(), QRect(0, 276, 320, 24));
    EXPECT_TRUE(overlay->indicator()->isAnimating());

    // The window grows while the overlay is up, and again while it is hidden.
    app().window()->resize(500, 600);
    settle();
    EXPECT_EQ(view->size(), QSize(500, 600));
    EXPECT_EQ(overlay->indicator()->geometry(), QRect(238, 288, 24, 24));

    NotificationCenter::defaultCenter().postNotification(kHideActivityViewNotification);
    EXPECT_FALSE(overlay->isShown());
    EXPECT_TRUE(ui::OnScreen::all<ActivityOverlay>().isEmpty());
    EXPECT_FALSE(overlay->indicator()->isAnimating());
    app().hideActivityView();
    EXPECT_EQ(app().activityView(), view);

    app().window()->resize(360, 640);
    settle();
    app().showActivityView("Proccessing...");
    EXPECT_EQ(view->size(), QSize(360, 640));
    EXPECT_EQ(overlay->message(), "Proccessing...");
}

TEST_F(LaunchTest, RoutesFacebookLoginReturnsAndAcceptsEveryOtherUrl) {
    launch();
    // On the login scheme, a URL that answers no login is refused.
    EXPECT_FALSE(app().handleOpenURL(QUrl("fb417820365194623://authorize")));
    EXPECT_TRUE(app().handleOpenURL(QUrl("lumigrave://flickr")));
    EXPECT_TRUE(app().handleOpenURL(QUrl("fb123://authorize")));
}

// The countdown across trips to the background, with each answer of the prompt.
class RatingTest : public AppTest {
  protected:
    void tripToBackground() {
        application().windowHidden();
        application().windowShown();
        application().windowActivated();
    }
    qint64 countdown() { return UserDefaults().integerForKey(kRequestRateCountdownKey); }
    // The prompt on screen; null when there is none.
    static ui::AlertView* rateAlert() {
        for (ui::AlertView* alert : ui::OnScreen::all<ui::AlertView>()) {
            if (alert->title() == "Rate Me!") {
                return alert;
            }
        }
        return nullptr;
    }
    // The prompt, once its second has passed; null when none came.
    ui::AlertView* prompt() {
        advance(1.0);
        return rateAlert();
    }
};

TEST_F(RatingTest, AsksAfterTwoTripsAndRemindsAfterOneMore) {
    launch();
    application().windowActivated();
    EXPECT_EQ(countdown(), 3);
    tripToBackground();
    EXPECT_EQ(countdown(), 2);
    tripToBackground();
    EXPECT_EQ(countdown(), 1);
    advance(0.999);
    EXPECT_EQ(rateAlert(), nullptr);
    advance(0.001);
    ui::AlertView* alert = rateAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->message(),
              "Do you Enjoy using this app?\n We need your feedback to make it better, rate it "
              "now?");
    EXPECT_EQ(ui::OnScreen::buttonTitles(*alert),
              QStringList({"No, Thanks", "Rate It Now!", "Remind Me Later"}));
    ASSERT_TRUE(ui::OnScreen::pressButton(*alert, 2));
    settle();
    EXPECT_EQ(countdown(), 2);
    tripToBackground();
    EXPECT_EQ(countdown(), 1);
    alert = prompt();
    ASSERT_NE(alert, nullptr);
    ASSERT_TRUE(ui::OnScreen::pressButton(*alert, 0));
    settle();
    EXPECT_EQ(countdown(), 0);
    tripToBackground();
    EXPECT_EQ(countdown(), 0);
    EXPECT_EQ(prompt(), nullptr);
}

// Records the URLs handed to the desktop for the store's scheme.
class StoreUrls : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened.append(url); }
};

TEST_F(RatingTest, RateItNowOpensTheReviewPageAndNeverAsksAgain) {
    StoreUrls store;
    QDesktopServices::setUrlHandler("itms-apps", &store, "open");
    launch();
    UserDefaults defaults;
    defaults.setInteger(kRequestRateCountdownKey, 1);
    defaults.synchronize();
    application().windowDeactivated();
    application().windowActivated();
    ui::AlertView* alert = prompt();
    ASSERT_NE(alert, nullptr);
    // A second activation while the prompt is up brings no second prompt.
    application().windowDeactivated();
    application().windowActivated();
    advance(1.0);
    EXPECT_EQ(ui::OnScreen::all<ui::AlertView>().size(), 1);
    ASSERT_TRUE(ui::OnScreen::pressButton(*alert, 1));
    settle();
    EXPECT_EQ(countdown(), 0);
    ASSERT_EQ(store.opened.size(), 1);
    EXPECT_EQ(store.opened[0].scheme(), "itms-apps");
    EXPECT_EQ(store.opened[0].path(), "/WebObjects/MZStore.woa/wa/viewContentsUserReviews");
    EXPECT_EQ(store.opened[0].query(),
              "id=app.lumigrave.Lumigrave&onlyLatestVersion=true&pageNumber=0&sortOrdering=1&"
              "type=Purple+Software");
    QDesktopServices::unsetUrlHandler("itms-apps");
}

TEST_F(RatingTest, OtherAlertsLeaveTheCountdownAlone) {
    StoreUrls store;
    QDesktopServices::setUrlHandler("itms-apps", &store, "open");
    launch();
    UserDefaults defaults;
    defaults.setInteger(kRequestRateCountdownKey, 2);
    defaults.synchronize();
    // A mail result's alert, the kind the rating prompt shares its delegate with.
    root().emailImage(Image(QImage(8, 8, QImage::Format_RGB32)));
    settle();
    auto* composer = ui::OnScreen::top<ui::MailComposeViewController>();
    ASSERT_NE(composer, nullptr);
    root().mailComposeController(*composer, ui::MailComposeViewController::kResultSent, {});
    settle();
    ASSERT_NE(ui::OnScreen::top<ui::AlertView>(), nullptr);
    ASSERT_TRUE(ui::OnScreen::pressButton(*ui::OnScreen::top<ui::AlertView>(), 0));
    settle();
    EXPECT_EQ(countdown(), 2);
    EXPECT_TRUE(store.opened.isEmpty());
    QDesktopServices::unsetUrlHandler("itms-apps");
}

}  // namespace
}  // namespace lumigrave::test

#include "launch_test.moc"
