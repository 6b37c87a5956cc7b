#include "app/app_delegate.h"

#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>

#include "app/activity_overlay.h"
#include "app/main/root_view_controller.h"
#include "app/share/share_configurator.h"
#include "model/database_seed.h"
#include "platform/bundle.h"
#include "platform/image_loader.h"
#include "platform/notification_center.h"
#include "platform/paths.h"
#include "platform/run_loop.h"
#include "platform/screen.h"
#include "platform/user_defaults.h"
#include "render/emboss_composer.h"
#include "render/output_sizes.h"
#include "sharing/share_center.h"
#include "sharing/share_configuration.h"
#include "sharing/ui/facebook_sharer.h"
#include "sharing/ui/flickr_sharer.h"
#include "sharing/ui/linkedin_sharer.h"
#include "sharing/ui/offline_flush.h"
#include "sharing/ui/read_later_sharer.h"
#include "sharing/ui/sharer_registry.h"
#include "sharing/ui/twitter_sharer.h"
#include "ui/alert_view.h"
#include "ui/bar_style.h"
#include "ui/navigation_bar.h"
#include "ui/navigation_controller.h"
#include "ui/toolbar.h"
#include "ui/window.h"

namespace lumigrave {

namespace {
AppDelegate* sharedDelegate = nullptr;
}  // namespace

AppDelegate::AppDelegate() {
    sharedDelegate = this;
}

AppDelegate::~AppDelegate() {
    deregisterForActivityNotification();
    // The screens go before the window that shows them, the overlay with the window.
    navigationController_.reset();
    activityView_.reset();
    window_.reset();
    if (sharedDelegate == this) {
        sharedDelegate = nullptr;
    }
}

AppDelegate* AppDelegate::shared() {
    return sharedDelegate;
}

bool AppDelegate::didFinishLaunching() {
    presets_.embossers.clear();
    presets_.activeEmbosser = nullptr;
    originalImage_ = Image();
    activeImage_ = Image();
    embossedImage_ = Image();
    seedAppDatabase();
    seedPreferences();
    detectBackgroundSupport();
    loadEmbossers();
    initDemoImage();
    registerForActivityNotification();
    configureSharing();
    createWindow();
    RunLoop::performAfter(
        0.5, [this] { testOffline(); }, this);
    return true;
}

QString AppDelegate::appDatabasePath() const {
    return Paths::appDatabasePath();
}

void AppDelegate::seedAppDatabase() {
    QString path = appDatabasePath();
    if (path.isEmpty() || QFile::exists(path)) {
        return;
    }
    QString seed = Bundle::pathForResource(QStringLiteral("app_data"), QStringLiteral("sqlite"));
    if (!seed.isEmpty()) {
        // A failed copy is logged by the copy and otherwise ignored: the load reports it.
        seedDatabaseFile(seed, path);
    }
}

void AppDelegate::seedPreferences() {
    UserDefaults defaults;
    if (defaults.boolForKey(kLaunchedKey)) {
        return;
    }
    defaults.setInteger(kRequestRateCountdownKey, 3);
    defaults.setBool(kLaunchedKey, true);
    defaults.setInteger(kMaxOutputPixKey, 800);
    defaults.setInteger(kOperatingModeKey, 0);
    defaults.setInteger(kLastUsedEmbosserKey, 0);
    defaults.synchronize();
}

void AppDelegate::detectBackgroundSupport() {
    backgroundSupported_ = Device::isMultitaskingSupported();
}

void AppDelegate::loadEmbossers() {
    QString alert;
    bool loaded = lumigrave::loadEmbossers(
        appDatabasePath(), UserDefaults().integerForKey(kLastUsedEmbosserKey), presets_, &alert);
    if (presets_.activeEmbosser == nullptr) {
        // Without a database there is no preset; every render would have none to draw.
        fallbackEmbosser_ = std::make_unique<Embosser>();
        presets_.activeEmbosser = fallbackEmbosser_.get();
    }
    if (!alert.isEmpty()) {
        // Shown once the window is up.
        RunLoop::performAfter(
            0, [alert] { ui::showErrorAlert(alert); }, this);
    }
    Q_UNUSED(loaded);
}

void AppDelegate::initDemoImage() {
    ImageLoader::Result demo =
        ImageLoader::loadResource(QStringLiteral("images/water-lake@2x"), QStringLiteral("JPG"));
    if (!demo.ok()) {
        qWarning().noquote() << "The demo photo could not be loaded:" << demo.message;
        return;
    }
    originalImage_ = demo.image;
    originalMetadata_ = PhotoMetadata::fromFile(
        Bundle::pathForResource(QStringLiteral("images/water-lake@2x"), QStringLiteral("JPG")));
    activeImage_ = demo.image;
    embossedImage_ =
        EmbossComposer::embossedImageForEmbosser(*presets_.activeEmbosser, activeImage_);
}

void AppDelegate::registerForActivityNotification() {
    NotificationCenter::defaultCenter().removeObserver(this, kHideActivityViewNotification);
    NotificationCenter::defaultCenter().addObserver(this, kHideActivityViewNotification,
                                                    [this] { hideActivityView(); });
}

void AppDelegate::deregisterForActivityNotification() {
    NotificationCenter::defaultCenter().removeObserver(this, kHideActivityViewNotification);
}

void AppDelegate::configureSharing() {
    sharing::ShareConfiguration::sharedInstanceWithConfigurator(
        std::make_unique<ShareConfigurator>());
    sharing::SharerRegistry::registerSharer<sharing::ReadLaterSharer>(
        QStringLiteral("ReadLaterSharer"));
    sharing::SharerRegistry::registerSharer<sharing::FacebookSharer>(
        QStringLiteral("FacebookSharer"));
    sharing::SharerRegistry::registerSharer<sharing::TwitterSharer>(
        QStringLiteral("TwitterSharer"));
    sharing::SharerRegistry::registerSharer<sharing::LinkedInSharer>(
        QStringLiteral("LinkedInSharer"));
    sharing::SharerRegistry::registerSharer<sharing::FlickrSharer>(QStringLiteral("FlickrSharer"));
}

void AppDelegate::createWindow() {
    window_ = std::make_unique<ui::Window>();
    window_->setWindowTitle(Bundle::infoValue(QStringLiteral("CFBundleDisplayName")));
    window_->setWindowIcon(QIcon(QStringLiteral(":/images/app-icon.png")));
    Size bounds = Screen::bounds();
    window_->resize(int(bounds.width), int(bounds.height));
    // A window opening on, or moved to, a display of another ratio brings another scale.
    connect(window_.get(), &ui::Window::screenScaleChanged, this,
            [this](float) { renderForNewScale(); });
    navigationController_ =
        std::make_unique<ui::NavigationController>(new RootViewController(mainScreenState_));
    navigationController_->view();
    navigationController_->navigationBar()->setBarStyle(ui::BarStyle::Black);
    navigationController_->navigationBar()->setTranslucent(true);
    navigationController_->toolbar()->setBarStyle(ui::BarStyle::BlackTranslucent);
    window_->setRootViewController(navigationController_.get());
    window_->makeKeyAndVisible();
}

void AppDelegate::renderForNewScale() {
    if (activeImage_.isNull() || presets_.activeEmbosser == nullptr) {
        return;
    }
    if (RootViewController* root = rootViewController()) {
        root->updateImage(activeImage_);
    } else {
        embossedImage_ =
            EmbossComposer::embossedImageForEmbosser(*presets_.activeEmbosser, activeImage_);
    }
}

void AppDelegate::testOffline() {
    sharing::OfflineFlush::flushOfflineQueue();
}

RootViewController* AppDelegate::rootViewController() const {
    if (!navigationController_) {
        return nullptr;
    }
    return qobject_cast<RootViewController*>(navigationController_->viewControllers().front());
}

QWidget* AppDelegate::activityView() const {
    return activityView_ ? activityView_->view() : nullptr;
}

ActivityOverlay* AppDelegate::overlay() const {
    return activityView_.get();
}

std::vector<Size> AppDelegate::maxOutputSizes() const {
    if (originalImage_.isNull()) {
        return {};
    }
    return lumigrave::maxOutputSizes(originalImage_.size());
}

int AppDelegate::matchedIndexForOutputSize(qint64 length) const {
    return lumigrave::matchedIndexForOutputSize(maxOutputSizes(), length);
}

void AppDelegate::showActivityView(const QString& message) {
    QWidget* host = nullptr;
    if (navigationController_) {
        if (ui::ViewController* top = navigationController_->topViewController()) {
            host = top->view()->window();
        }
    }
    if (!activityView_) {
        activityView_ = std::make_unique<ActivityOverlay>();
    }
    activityView_->showIn(host, message);
}

void AppDelegate::hideActivityView() {
    if (activityView_) {
        activityView_->hideOverlay();
    }
}

bool AppDelegate::handleOpenURL(const QUrl& url) {
    QString prefix = QStringLiteral("fb%1").arg(
        sharing::ShareConfiguration::sharedInstance().stringValue(QStringLiteral("facebookAppId")));
    if (url.scheme().startsWith(prefix)) {
        return sharing::FacebookSharer::handleOpenURL(url);
    }
    return true;
}

}  // namespace lumigrave
