#pragma once

#include <QString>
#include <optional>

namespace lumigrave {

// What a screen tells the user when its mail composer finishes: nothing after a cancel or a
// saved draft, "Mail Sent" after a send, "Sending Failed" otherwise, with the failure's own
// description when there is one.
struct MailResultAlert {
    QString title;
    QString message;
};
std::optional<MailResultAlert> mailResultAlert(int result, const QString& error);

}  // namespace lumigrave
