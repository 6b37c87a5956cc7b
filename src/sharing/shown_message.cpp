#include "sharing/shown_message.h"

namespace lumigrave::sharing {

QString shownMessage(QStringView text, qsizetype maxChars) {
    QString message;
    message.reserve(qMin(text.size(), maxChars + 1));
    bool blankPending = false;
    for (qsizetype i = 0; i < text.size() && message.size() <= maxChars; ++i) {
        const QChar c = text[i];
        if (c.isSpace() || c.category() == QChar::Other_Control) {
            blankPending = !message.isEmpty();
            continue;
        }
        // Format characters (bidirectional overrides among them) could make the text
        // read differently from what it says; lone surrogates are no text at all.
        if (c.category() == QChar::Other_Format) {
            continue;
        }
        if (c.isSurrogate()) {
            const bool pair =
                c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
            if (!pair) {
                continue;
            }
            if (QChar::category(QChar::surrogateToUcs4(c, text[i + 1])) == QChar::Other_Format) {
                ++i;
                continue;
            }
        }
        if (blankPending) {
            message.append(QLatin1Char(' '));
            blankPending = false;
        }
        message.append(c);
        if (c.isHighSurrogate()) {
            message.append(text[++i]);
        }
    }
    if (message.size() > maxChars) {
        message.truncate(maxChars - 1);
        if (message.back().isHighSurrogate()) {
            message.chop(1);
        }
        // A cut right after a blank would leave it before the ellipsis.
        while (message.endsWith(QLatin1Char(' '))) {
            message.chop(1);
        }
        message.append(QChar(0x2026));
    }
    return message;
}

}  // namespace lumigrave::sharing
