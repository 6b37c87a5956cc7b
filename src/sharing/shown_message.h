#pragma once

#include <QString>
#include <QStringView>

namespace lumigrave::sharing {

// A service's own words made fit for an alert: one line of plain text with no control or
// format characters, blanks collapsed and trimmed, and at most maxChars characters (a
// longer one is cut, never inside a surrogate pair, and ends with "…"). Services are
// untrusted, so whatever they send passes through here before a user sees it.
QString shownMessage(QStringView text, qsizetype maxChars);

}  // namespace lumigrave::sharing
