// The main screen's e-mail output: the watermarked photo attached to a new message, and
// the alerts that tell how the message ended.
#include <QBuffer>

#include "app/app_delegate.h"
#include "app/mail_result_alert.h"
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
    if (const auto alert = mailResultAlert(didFinishWithResult, error)) {
        (new ui::AlertView(alert->title, alert->message, nullptr, QStringLiteral("OK")))->show();
    }
    controller.dismissModalViewControllerAnimated(true);
}

}  // namespace lumigrave
