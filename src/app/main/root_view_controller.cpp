// The main screen itself: its view and bars, the two modes, the screens it opens, the
// output sheet and the rating prompt.
#include "app/main/root_view_controller.h"

#include <QCoreApplication>

#include "app/app_delegate.h"
#include "app/editors/embossers_view_controller.h"
#include "app/editors/font_view_controller.h"
#include "app/editors/layout_view_controller.h"
#include "app/editors/opacity_view_controller.h"
#include "app/editors/text_view_controller.h"
#include "app/main/mm_segmented_switcher.h"
#include "app/settings/settings_view_controller.h"
#include "app/store_link.h"
#include "model/embosser.h"
#include "platform/bundle.h"
#include "platform/notification_center.h"
#include "platform/photo_album.h"
#include "platform/run_loop.h"
#include "platform/screen.h"
#include "platform/user_defaults.h"
#include "sharing/share_item.h"
#include "sharing/ui/facebook_sharer.h"
#include "sharing/ui/flickr_sharer.h"
#include "sharing/ui/twitter_sharer.h"
#include "ui/action_sheet.h"
#include "ui/alert_view.h"
#include "ui/application.h"
#include "ui/bar_button_item.h"
#include "ui/gesture_recognizer.h"
#include "ui/image_picker_controller.h"
#include "ui/image_view.h"
#include "ui/mail_compose_view_controller.h"
#include "ui/navigation_controller.h"
#include "ui/on_screen.h"
#include "ui/style.h"
#include "ui/toolbar.h"
#include "ui/view_snapshot.h"

namespace lumigrave {

namespace {
QString localized(const char* key) {
    return QCoreApplication::translate("Localizable", key);
}
}  // namespace

RootViewController::RootViewController(MainScreenState& state, QObject* parent)
    : ui::ViewController(parent), state_(state) {}

RootViewController::~RootViewController() {
    stopObserving();
    // Alerts and sheets on screen outlive the screen; they tell it nothing more.
    for (ui::AlertView* alert : ui::OnScreen::all<ui::AlertView>()) {
        if (alert->delegate() == this) {
            alert->setDelegate(nullptr);
        }
    }
    for (ui::ActionSheet* sheet : ui::OnScreen::all<ui::ActionSheet>()) {
        if (sheet->delegate() == this) {
            sheet->setDelegate(nullptr);
        }
    }
    for (auto* composer : ui::OnScreen::all<ui::MailComposeViewController>()) {
        if (composer->mailComposeDelegate() == this) {
            composer->setMailComposeDelegate(nullptr);
        }
    }
}

ui::BarButtonItem* RootViewController::imageItem(const QString& image,
                                                 void (RootViewController::*action)(),
                                                 const QString& name) {
    auto* item = new ui::BarButtonItem(
        ui::resourceIcon(image), ui::BarButtonItem::Style::Plain,
        [this, action](ui::BarButtonItem*) { (this->*action)(); }, this);
    item->setObjectName(name);
    return item;
}

void RootViewController::createToolbarItemsEmbosser() {
    auto* space =
        new ui::BarButtonItem(ui::BarButtonItem::SystemItem::FlexibleSpace, nullptr, this);
    tbItemsEmbosser_ = {
        imageItem(QStringLiteral("images/tb-text.png"), &RootViewController::showTextDialog,
                  QStringLiteral("Text")),
        space,
        imageItem(QStringLiteral("images/tb-font.png"), &RootViewController::showFontDialog,
                  QStringLiteral("Font")),
        space,
        imageItem(QStringLiteral("images/tb-opacity.png"), &RootViewController::showOpacityDialog,
                  QStringLiteral("Size, Opacity and Angle")),
        space,
        imageItem(QStringLiteral("images/tb-layout.png"), &RootViewController::showLayoutDialog,
                  QStringLiteral("Layout")),
        space,
        imageItem(QStringLiteral("images/tb-embosser-list.png"),
                  &RootViewController::showEmbossersDialog, QStringLiteral("Presets")),
    };
}

void RootViewController::createToolbarItemsPhoto() {
    auto* space =
        new ui::BarButtonItem(ui::BarButtonItem::SystemItem::FlexibleSpace, nullptr, this);
    auto* action = new ui::BarButtonItem(
        ui::BarButtonItem::SystemItem::Action, [this](ui::BarButtonItem*) { showActions(); }, this);
    action->setObjectName(QStringLiteral("Output"));
    tbItemsPhoto_ = {
        imageItem(QStringLiteral("images/tb-open.png"), &RootViewController::showLoadDialog,
                  QStringLiteral("Open Photo")),
        space,
        imageItem(QStringLiteral("images/tb-resize.png"), &RootViewController::showResizeDialog,
                  QStringLiteral("Output Size")),
        space,
        imageItem(QStringLiteral("images/tb-rotatel.png"), &RootViewController::doRotateLeft,
                  QStringLiteral("Rotate Left")),
        space,
        imageItem(QStringLiteral("images/tb-rotater.png"), &RootViewController::doRotateRight,
                  QStringLiteral("Rotate Right")),
        space,
        action,
    };
}

void RootViewController::loadView() {
    setTitle(Bundle::infoValue(QStringLiteral("CFBundleDisplayName")));
    ui::NavigationController* navigation = navigationController();
    if (navigation != nullptr) {
        navigation->setNavigationBarHidden(true, false);
    }

    operatingModeSeg_ = new MMSegmentedSwitcher(
        QList<QIcon>{ui::resourceIcon(QStringLiteral("images/nv-embosser.png")),
                     ui::resourceIcon(QStringLiteral("images/nv-photo.png"))});
    operatingModeSeg_->setSegmentedControlStyle(2);
    operatingModeSeg_->setAccessibleName(QStringLiteral("Mode"));
    auto* modeItem = new ui::BarButtonItem(operatingModeSeg_, this);
    navigationItem().setLeftBarButtonItem(modeItem);
    auto* settings = new ui::BarButtonItem(
        ui::resourceIcon(QStringLiteral("images/nv-gear.png")), ui::BarButtonItem::Style::Bordered,
        [this](ui::BarButtonItem*) { showSettings(); }, this);
    settings->setObjectName(QStringLiteral("Settings"));
    navigationItem().setRightBarButtonItem(settings);

    createToolbarItemsEmbosser();
    createToolbarItemsPhoto();

    operatingMode_ = int(UserDefaults().integerForKey(kOperatingModeKey));
    operatingModeSeg_->setSelectedSegmentIndex(operatingMode_);
    setToolbarItems(operatingMode_ != 0 ? tbItemsPhoto_ : tbItemsEmbosser_, false);
    operatingModeSeg_->addTarget(ui::ControlEvent::ValueChanged,
                                 [this] { updateOperationgMode(); });

    Rect frame = Screen::applicationFrame();
    auto* root = new QWidget;
    root->resize(int(frame.size.width), int(frame.size.height));
    ui::style::fillWithPattern(root, QStringLiteral("images/background.png"));
    imageSubView_ = new ui::ImageView(root);
    imageSubView_->setFrame(frame);
    setView(root);

    setupGestureRecognizer();
    RunLoop::performAfter(
        0.3, [this] { slideInBar(); }, this);

    AppDelegate* app = AppDelegate::shared();
    bool background = app != nullptr && app->backgroundSupported();
    NotificationCenter::defaultCenter().addObserver(
        this, background ? ui::kDidEnterBackgroundNotification : ui::kWillTerminateNotification,
        [this] { saveStates(); });
}

void RootViewController::stopObserving() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

void RootViewController::viewDidUnload() {
    stopObserving();
    tbItemsEmbosser_.clear();
    tbItemsPhoto_.clear();
    imageSubView_ = nullptr;
    operatingModeSeg_ = nullptr;
    pinRecognizer_ = nullptr;
    panRecognizer_ = nullptr;
    tapRecognizer_ = nullptr;
}

void RootViewController::updateOperationgMode() {
    ui::NavigationController* navigation = navigationController();
    navigation->setToolbarHidden(true, true);
    operatingMode_ = operatingModeSeg_->selectedSegmentIndex();
    setToolbarItems(operatingMode_ != 0 ? tbItemsPhoto_ : tbItemsEmbosser_, false);
    navigation->setToolbarHidden(false, true);
}

void RootViewController::saveStates() {
    UserDefaults defaults;
    defaults.setInteger(kOperatingModeKey, operatingMode_);
    defaults.synchronize();
}

void RootViewController::switchBars() {
    ui::NavigationController* navigation = navigationController();
    bool hidden = !navigation->isNavigationBarHidden();
    navigation->setNavigationBarHidden(hidden, true);
    navigation->setToolbarHidden(hidden, true);
}

void RootViewController::slideBar(bool hidden) {
    ui::NavigationController* navigation = navigationController();
    navigation->setNavigationBarHidden(hidden, true);
    navigation->setToolbarHidden(hidden, true);
    if (!navigation->isNavigationBarHidden()) {
        navigation->setToolbarHidden(false, true);
    }
}

void RootViewController::slideInBar() {
    slideBar(false);
}

void RootViewController::viewWillAppear(bool animated) {
    ui::ViewController::viewWillAppear(animated);
    ui::NavigationController* navigation = navigationController();
    if (navigation != nullptr && !navigation->isNavigationBarHidden()) {
        navigation->setToolbarHidden(false, false);
    }
    AppDelegate* app = AppDelegate::shared();
    if (app == nullptr) {
        return;
    }
    Embosser* active = app->activeEmbosser();
    if (active != nullptr && active->modified()) {
        active->setModified(false);
        Image image = app->activeImage();
        RunLoop::performAfter(
            0, [this, image] { updateImageNHideIndicator(image); }, this);
    } else if (!app->embossedImage().isNull()) {
        imageSubView_->setImage(app->embossedImage());
        if (!state_.firstAppearanceDone) {
            state_.firstAppearanceDone = true;
            resetImageView();
        }
    }
}

void RootViewController::showTextDialog() {
    AppDelegate::shared()->showActivityView(QStringLiteral("Loading..."));
    RunLoop::performAfter(
        0, [this] { loadTextDialog(); }, this);
}

void RootViewController::loadTextDialog() {
    // The editor keeps the screen as it is now frozen behind its keyboard.
    navigationController()->pushViewController(
        new TextViewController(ui::imageByRenderingView(view())), false);
}

void RootViewController::showFontDialog() {
    AppDelegate::shared()->showActivityView(QStringLiteral("Loading..."));
    RunLoop::performAfter(
        0, [this] { loadFontDialog(); }, this);
}

void RootViewController::loadFontDialog() {
    navigationController()->pushViewController(new FontViewController, false);
}

void RootViewController::showOpacityDialog() {
    navigationController()->pushViewController(new OpacityViewController, false);
}

void RootViewController::showLayoutDialog() {
    navigationController()->pushViewController(new LayoutViewController, false);
}

void RootViewController::showEmbossersDialog() {
    navigationController()->pushViewController(new EmbossersViewController, true);
}

void RootViewController::showSettings() {
    navigationController()->pushViewController(new SettingsViewController, true);
}

void RootViewController::showActions() {
    auto* sheet =
        new ui::ActionSheet(QString(), this, QStringLiteral("Cancel"), QString(),
                            {QStringLiteral("Share Image..."), QStringLiteral("E-Mail Image..."),
                             QStringLiteral("Save to Photo Album")});
    sheet->setTag(kOutputActionsSheet);
    sheet->setActionSheetStyle(ui::ActionSheet::Style::BlackTranslucent);
    sheet->showInView(view());
}

void RootViewController::didDismissWithButtonIndex(ui::ActionSheet& sheet, int buttonIndex) {
    if (buttonIndex == sheet.cancelButtonIndex()) {
        return;
    }
    switch (sheet.tag()) {
        case kShareServiceSheet:
            AppDelegate::shared()->showActivityView(QStringLiteral("Loading..."));
            RunLoop::performAfter(
                0, [this, buttonIndex] { shareToService(buttonIndex); }, this);
            break;
        case kOutputActionsSheet:
            processResultWithOption(buttonIndex);
            break;
        case kPhotoSourceSheet:
            showImagePicker(buttonIndex == 1);
            break;
        default:
            break;
    }
}

void RootViewController::processResultWithOption(int option) {
    switch (option) {
        case kOutputShare: {
            auto* sheet = new ui::ActionSheet(
                QStringLiteral("Share to"), this, QStringLiteral("Cancel"), QString(),
                {QStringLiteral("Facebook"), QStringLiteral("Twitter"), QStringLiteral("Flickr")});
            sheet->setTag(kShareServiceSheet);
            sheet->setActionSheetStyle(ui::ActionSheet::Style::BlackTranslucent);
            sheet->showFromToolbar(navigationController()->toolbar());
            break;
        }
        case kOutputEmail:
            AppDelegate::shared()->showActivityView(QStringLiteral("Loading..."));
            RunLoop::performAfter(
                0, [this] { emailImage(finalImage()); }, this);
            break;
        default: {
            AppDelegate::shared()->showActivityView(QStringLiteral("Saving..."));
            // The image is the one on screen now, whatever happens before the turn comes.
            const Image image = finalImage();
            RunLoop::performAfter(
                0, [this, image] { saveImage(image); }, this);
            break;
        }
    }
}

Image RootViewController::finalImage() const {
    return AppDelegate::shared()->embossedImage();
}

void RootViewController::saveImage(const Image& image) {
    // The album never keeps where the photo was taken.
    PhotoAlbum::writeImageToSavedPhotosAlbum(
        image, AppDelegate::shared()->originalMetadata(), this,
        [this](const Image& saved, const std::optional<QString>& error) {
            didFinishSavingWithError(saved, error, nullptr);
        });
}

void RootViewController::didFinishSavingWithError(const Image&, const std::optional<QString>& error,
                                                  void*) {
    NotificationCenter::defaultCenter().postNotification(kHideActivityViewNotification);
    auto* alert =
        error ? new ui::AlertView(QStringLiteral("Error"), *error, nullptr, QStringLiteral("OK"))
              : new ui::AlertView(QStringLiteral("Image Saved"),
                                  QStringLiteral("The image has been successfully saved!"), nullptr,
                                  QStringLiteral("OK"));
    alert->show();
}

QString RootViewController::shareItemTitle() {
    return QStringLiteral("Created by ") + Bundle::infoValue(QStringLiteral("CFBundleDisplayName"));
}

void RootViewController::shareToService(int service) {
    const sharing::ShareItem item = sharing::ShareItem::image(finalImage(), shareItemTitle());
    NotificationCenter::defaultCenter().postNotification(kHideActivityViewNotification);
    if (service == 0) {
        sharing::Sharer::shareItem<sharing::FacebookSharer>(item);
        return;
    }
    if (service == 1) {
        sharing::Sharer::shareItem<sharing::TwitterSharer>(item);
        return;
    }
    sharing::Sharer::shareItem<sharing::FlickrSharer>(item);
}

QUrl RootViewController::reviewUrl() {
    return storeReviewUrl();
}

void RootViewController::showRateMe() {
    // The window may be activated again while the prompt is up; one prompt is enough.
    if (rateMeAlert_ && rateMeAlert_->isVisible()) {
        return;
    }
    auto* alert = new ui::AlertView(
        localized("Rate Me!"),
        localized("Do you Enjoy using this app?\n We need your feedback to make it better, rate "
                  "it now?"),
        this, QStringLiteral("No, Thanks"));
    rateMeIndexSure_ = alert->addButtonWithTitle(QStringLiteral("Rate It Now!"));
    rateMeIndexRemind_ = alert->addButtonWithTitle(QStringLiteral("Remind Me Later"));
    rateMeAlert_ = alert;
    alert->show();
}

void RootViewController::clickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) {
    if (&alert != rateMeAlert_.data()) {
        return;
    }
    UserDefaults defaults;
    defaults.setInteger(kRequestRateCountdownKey, buttonIndex == rateMeIndexRemind_ ? 2 : 0);
    defaults.synchronize();
    if (buttonIndex == rateMeIndexSure_) {
        if (ui::Application* app = ui::Application::sharedApplication()) {
            app->openURL(reviewUrl());
        }
    }
}

}  // namespace lumigrave
