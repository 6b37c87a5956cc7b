#pragma once

#include <QString>
#include <QUrl>

#include "ui/action_sheet.h"
#include "ui/alert_view.h"
#include "ui/mail_compose_view_controller.h"
#include "ui/table_view_controller.h"

class QLabel;

namespace lumigrave {

// The settings page: a grouped table of six rows in four sections — the quick tutorial
// under "Help", the credits and the privacy page under "Miscellaneous", then telling
// friends, and the review page and the feedback mail — over a footer with the
// application's name, version and copyright notice.
class SettingsViewController : public ui::TableViewController,
                               public ui::ActionSheet::Delegate,
                               public ui::AlertView::Delegate,
                               public ui::MailComposeViewController::Delegate {
    Q_OBJECT
  public:
    // The maker's support address, which feedback mail goes to.
    static inline const QString kSupportAddress = QStringLiteral("support@lumigrave.app");
    static inline const QString kCopyrightNotice =
        QStringLiteral("\u00A9 2026 Lumigrave developers");

    explicit SettingsViewController(QObject* parent = nullptr);
    ~SettingsViewController() override;

    void viewWillAppear(bool animated) override;

    // The table's data and its choices.
    int numberOfSectionsInTableView(ui::TableView& table) override;
    int numberOfRowsInSection(ui::TableView& table, int section) override;
    QString titleForHeaderInSection(ui::TableView& table, int section) override;
    ui::TableViewCell* cellForRowAtIndexPath(ui::TableView& table,
                                             ui::IndexPath indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath indexPath) override;

    void tellFriends();
    void rateThisApp();
    void emailFeedback();
    // The composer's end: the result's alert, if any, then the composer goes.
    void mailComposeController(ui::MailComposeViewController& controller, int didFinishWithResult,
                               const QString& error) override;
    void didDismissWithButtonIndex(ui::ActionSheet& sheet, int buttonIndex) override;

    // The footer's text: name and version, then the copyright notice.
    static QString footerText();
    // What a recommendation says, and the page it points to.
    static QString recommendationTitle();
    static QUrl storePageUrl();
    // The feedback mail's subject and opening.
    static QString feedbackSubject();
    static QString feedbackBody();

    QLabel* footerLabel() const { return footerLabel_; }

  protected:
    void viewDidLoad() override;

  private:
    QLabel* footerLabel_ = nullptr;
};

}  // namespace lumigrave
