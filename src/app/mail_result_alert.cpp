#include "app/mail_result_alert.h"

#include "ui/mail_compose_view_controller.h"

namespace lumigrave {

std::optional<MailResultAlert> mailResultAlert(int result, const QString& error) {
    using Composer = ui::MailComposeViewController;
    switch (result) {
        case Composer::kResultCancelled:
        case Composer::kResultSaved:
            return std::nullopt;
        case Composer::kResultSent:
            return MailResultAlert{QStringLiteral("Mail Sent"),
                                   QStringLiteral("The email message was queued successfully.")};
        default:
            return MailResultAlert{QStringLiteral("Sending Failed"),
                                   result == Composer::kResultFailed && !error.isNull()
                                       ? error
                                       : QStringLiteral("Message sending failed (unknown error).")};
    }
}

}  // namespace lumigrave
