#include "app/settings/settings_view_controller.h"

#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QVBoxLayout>

#include "app/app_delegate.h"
#include "app/mail_result_alert.h"
#include "app/settings/html_file_view_controller.h"
#include "app/settings/text_file_view_controller.h"
#include "app/store_link.h"
#include "platform/bundle.h"
#include "platform/notification_center.h"
#include "platform/run_loop.h"
#include "sharing/share_item.h"
#include "sharing/ui/facebook_sharer.h"
#include "sharing/ui/linkedin_sharer.h"
#include "sharing/ui/read_later_sharer.h"
#include "sharing/ui/twitter_sharer.h"
#include "ui/application.h"
#include "ui/mail_compose_view_controller.h"
#include "ui/navigation_controller.h"
#include "ui/on_screen.h"
#include "ui/style.h"
#include "ui/toolbar.h"

namespace lumigrave {

namespace {

enum Section { kHelpSection, kMiscSection, kTellSection, kSupportSection, kSectionCount };

// Where the footer's label sits in its 320 × 60 view.
constexpr int kFooterWidth = 320;
constexpr int kFooterHeight = 60;
constexpr int kFooterLabelTop = 10;

const QStringList kTellFriendsServices = {QStringLiteral("Facebook"), QStringLiteral("Twitter"),
                                          QStringLiteral("LinkedIn"),
                                          QStringLiteral("Pocket (Read It Later)")};

}  // namespace

SettingsViewController::SettingsViewController(QObject* parent)
    : ui::TableViewController(ui::TableView::Style::Grouped, parent) {}

SettingsViewController::~SettingsViewController() {
    // A sheet or alert still on screen tells this page nothing more.
    for (ui::ActionSheet* sheet : ui::OnScreen::all<ui::ActionSheet>()) {
        if (sheet->delegate() == this) {
            sheet->setDelegate(nullptr);
        }
    }
    for (ui::AlertView* alert : ui::OnScreen::all<ui::AlertView>()) {
        if (alert->delegate() == this) {
            alert->setDelegate(nullptr);
        }
    }
}

void SettingsViewController::viewDidLoad() {
    setTitle(QStringLiteral("Settings"));
    ui::TableView* table = tableView();
    table->setBackgroundColor(ui::style::groupTableViewBackground());
    table->setScrollEnabled(true);

    auto* footer = new QWidget;
    footer->setObjectName(QStringLiteral("settingsFooter"));
    footer->resize(kFooterWidth, kFooterHeight);
    // The label spans the footer, whatever width the table gives it.
    auto* layout = new QVBoxLayout(footer);
    layout->setContentsMargins(0, kFooterLabelTop, 0, 0);
    footerLabel_ = new QLabel(footerText());
    footerLabel_->setObjectName(QStringLiteral("footerLabel"));
    layout->addWidget(footerLabel_);
    footerLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    footerLabel_->setWordWrap(true);
    QFont font = ui::style::systemFont(16);
    font.setBold(true);
    footerLabel_->setFont(font);
    footerLabel_->setStyleSheet(
        QStringLiteral("color: %1; background: transparent;").arg(ui::style::lightText().name()));
    auto* shadow = new QGraphicsDropShadowEffect(footerLabel_);
    shadow->setBlurRadius(0);
    shadow->setOffset(1, 1);
    shadow->setColor(ui::style::darkTextShadow());
    footerLabel_->setGraphicsEffect(shadow);
    table->setTableFooterView(footer);
}

void SettingsViewController::viewWillAppear(bool animated) {
    ui::TableViewController::viewWillAppear(animated);
    if (ui::NavigationController* navigation = navigationController()) {
        navigation->setNavigationBarHidden(false, false);
        navigation->setToolbarHidden(true, false);
    }
}

int SettingsViewController::numberOfSectionsInTableView(ui::TableView&) {
    return kSectionCount;
}

int SettingsViewController::numberOfRowsInSection(ui::TableView&, int section) {
    return section == kMiscSection || section == kSupportSection ? 2 : 1;
}

QString SettingsViewController::titleForHeaderInSection(ui::TableView&, int section) {
    switch (section) {
        case kHelpSection:
            return QStringLiteral("Help");
        case kMiscSection:
            return QStringLiteral("Miscellaneous");
        default:
            return {};
    }
}

ui::TableViewCell* SettingsViewController::cellForRowAtIndexPath(ui::TableView& table,
                                                                 ui::IndexPath indexPath) {
    ui::TableViewCell* cell = ui::TableViewController::cellForRowAtIndexPath(table, indexPath);
    QString label;
    bool page = true;
    switch (indexPath.section) {
        case kHelpSection:
            label = QStringLiteral("Quick Tutorial");
            break;
        case kMiscSection:
            label = indexPath.row == 0 ? QStringLiteral("Copyright & Credits")
                                       : QStringLiteral("Privacy");
            break;
        case kTellSection:
            label = QStringLiteral("Tell Friends");
            page = false;
            break;
        default:
            label = indexPath.row == 0 ? QStringLiteral("Rate/Review This App")
                                       : QStringLiteral("Feedback or Support");
            page = false;
            break;
    }
    cell->textLabel()->setText(label);
    if (page) {
        cell->setAccessoryType(ui::TableViewCell::AccessoryType::DisclosureIndicator);
    } else {
        cell->textLabel()->setAlignment(Qt::AlignCenter);
    }
    return cell;
}

void SettingsViewController::didSelectRowAtIndexPath(ui::TableView& table,
                                                     ui::IndexPath indexPath) {
    table.deselectRowAtIndexPath(indexPath, true);
    ui::NavigationController* navigation = navigationController();
    auto pushPage = [navigation](ui::ViewController* page, const QString& title) {
        page->setTitle(title);
        if (navigation != nullptr) {
            navigation->pushViewController(page, true);
        } else {
            delete page;
        }
    };
    switch (indexPath.section) {
        case kHelpSection:
            pushPage(new HtmlFileViewController(QStringLiteral("html_files/quick-tutor")),
                     QStringLiteral("Quick Tutorial"));
            break;
        case kMiscSection:
            if (indexPath.row == 0) {
                pushPage(new TextFileViewController(QStringLiteral("copyright")),
                         QStringLiteral("Copyright & Credits"));
            } else {
                pushPage(new TextFileViewController(QStringLiteral("privacy")),
                         QStringLiteral("Privacy"));
            }
            break;
        case kTellSection:
            tellFriends();
            break;
        default:
            if (indexPath.row == 0) {
                rateThisApp();
            } else {
                // The overlay is drawn before the composer is built.
                AppDelegate::shared()->showActivityView(QStringLiteral("Loading..."));
                RunLoop::performAfter(
                    0, [this] { emailFeedback(); }, this);
            }
            break;
    }
}

void SettingsViewController::tellFriends() {
    auto* sheet = new ui::ActionSheet(QStringLiteral("Tell Friends on"), this,
                                      QStringLiteral("Cancel"), QString(), kTellFriendsServices);
    sheet->setActionSheetStyle(ui::ActionSheet::Style::BlackTranslucent);
    ui::NavigationController* navigation = navigationController();
    if (navigation != nullptr && navigation->toolbar() != nullptr) {
        sheet->showFromToolbar(navigation->toolbar());
    } else {
        sheet->showInView(view());
    }
}

void SettingsViewController::didDismissWithButtonIndex(ui::ActionSheet& sheet, int buttonIndex) {
    if (buttonIndex == sheet.cancelButtonIndex() || buttonIndex < 0 ||
        buttonIndex >= kTellFriendsServices.size()) {
        return;
    }
    const sharing::ShareItem item =
        sharing::ShareItem::URL(storePageUrl(), recommendationTitle(), 1);
    switch (buttonIndex) {
        case 0:
            sharing::Sharer::shareItem<sharing::FacebookSharer>(item);
            break;
        case 1:
            sharing::Sharer::shareItem<sharing::TwitterSharer>(item);
            break;
        case 2:
            sharing::Sharer::shareItem<sharing::LinkedInSharer>(item);
            break;
        default:
            sharing::Sharer::shareItem<sharing::ReadLaterSharer>(item);
            break;
    }
}

void SettingsViewController::rateThisApp() {
    if (ui::Application* application = ui::Application::sharedApplication()) {
        application->openURL(storeReviewUrl());
    }
}

void SettingsViewController::emailFeedback() {
    auto* composer = new ui::MailComposeViewController;
    composer->setMailComposeDelegate(this);
    composer->setToRecipients({kSupportAddress});
    composer->setSubject(feedbackSubject());
    composer->setMessageBody(feedbackBody(), false);
    NotificationCenter::defaultCenter().postNotification(kHideActivityViewNotification);
    composer->presentFrom(view(), true);
}

void SettingsViewController::mailComposeController(ui::MailComposeViewController& controller,
                                                   int didFinishWithResult, const QString& error) {
    if (const auto alert = mailResultAlert(didFinishWithResult, error)) {
        (new ui::AlertView(alert->title, alert->message, this, QStringLiteral("OK")))->show();
    }
    controller.dismissModalViewControllerAnimated(true);
}

QString SettingsViewController::footerText() {
    return QStringLiteral("%1 %2\n%3")
        .arg(Bundle::infoValue(QStringLiteral("CFBundleName")),
             Bundle::infoValue(QStringLiteral("CFBundleVersion")), kCopyrightNotice);
}

QString SettingsViewController::recommendationTitle() {
    return QStringLiteral("%1 is Awesome! Really impressed with the glass-like watermark.")
        .arg(Bundle::infoValue(QStringLiteral("CFBundleDisplayName")));
}

QUrl SettingsViewController::storePageUrl() {
    return QUrl(QStringLiteral("https://lumigrave.app/"));
}

QString SettingsViewController::feedbackSubject() {
    return QStringLiteral("About %1 %2")
        .arg(Bundle::infoValue(QStringLiteral("CFBundleDisplayName")),
             Bundle::infoValue(QStringLiteral("CFBundleVersion")));
}

QString SettingsViewController::feedbackBody() {
    return QStringLiteral("Hi Tessory Support,\n\n");
}

}  // namespace lumigrave
