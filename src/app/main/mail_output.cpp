// The main screen's e-mail output: the watermarked photo attached to a new message, and
// the alerts that tell how the message ended.
#include <QBuffer>

#include "app/app_delegate.h"
#include "app/main/root_view_controller.h"
#include "platform/notification_center.h"
#include "ui/alert_view.h"
#include "ui/mail_compose_view_controller.h"

namespace lumigrave {

void RootViewController::emailImage(const Image& image) {
    auto* composer = new ui::MailComposeViewController;
    composer->setMailComposeDelegate(this);
    composer->setSubject(QStringLiteral("Photo Sharing"));
    composer->setMessageBody(QStringLiteral("\nCreated by %1.").arg(title()), false);
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    QString error;
    if (image.write(png, "png", 0, &error)) {
        composer->addAttachmentData(png.data(), QStringLiteral("image/png"), title());
    } else {
        // The message still goes to the composer: the user sees there is no attachment.
        qWarning("The photo could not be attached to the mail: %s", qPrintable(error));
    }
    NotificationCenter::defaultCenter().postNotification(kHideActivityViewNotification);
    composer->presentFrom(view(), true);
}

void RootViewController::mailComposeController(ui::MailComposeViewController& controller,
                                               int didFinishWithResult, const QString& error) {
    QString alertTitle;
    QString alertMessage;
    switch (didFinishWithResult) {
        case ui::MailComposeViewController::kResultCancelled:
        case ui::MailComposeViewController::kResultSaved:
            break;
        case ui::MailComposeViewController::kResultSent:
            alertTitle = QStringLiteral("Mail Sent");
            alertMessage = QStringLiteral("The email message was queued successfully.");
            break;
        default:
            alertTitle = QStringLiteral("Sending Failed");
            alertMessage = didFinishWithResult == ui::MailComposeViewController::kResultFailed &&
                                   !error.isNull()
                               ? error
                               : QStringLiteral("Message sending failed (unknown error).");
            break;
    }
    if (!alertTitle.isEmpty()) {
        (new ui::AlertView(alertTitle, alertMessage, nullptr, QStringLiteral("OK")))->show();
    }
    controller.dismissModalViewControllerAnimated(true);
}

}  // namespace lumigrave
