// Fuzzes the reading of what the Twitter service and its image host answer: the image's
// link in an upload answer, which goes into the posted status, and the error message,
// which is shown to the user and decides whether to log in again.
#include "fuzz_input.h"
#include "sharing/twitter/twitter_api.h"

using lumigrave::sharing::TwitterApi;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray body;
    if (!lumigrave::fuzz::wrap(data, size, 256 * 1024, &body)) {
        return 0;
    }
    if (const std::optional<QString> link = TwitterApi::linkFromUploadAnswer(body)) {
        if (link->isEmpty()) {
            lumigrave::fuzz::broken("a link is never empty");
        }
        for (const QChar c : *link) {
            if (c.isSpace() || c.category() == QChar::Other_Control) {
                lumigrave::fuzz::broken("a link is one word without control characters");
            }
        }
    }
    const QString message = TwitterApi::errorMessage(body);
    if (message.isEmpty() || message.size() > TwitterApi::kMaxMessageChars) {
        lumigrave::fuzz::broken("a message says something and is cut to its cap");
    }
    for (qsizetype i = 0; i < message.size(); ++i) {
        const QChar c = message[i];
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
            (c.isSpace() && c != QLatin1Char(' '))) {
            lumigrave::fuzz::broken("a message is one line of plain text");
        }
        if (c.isHighSurrogate() && (i + 1 == message.size() || !message[i + 1].isLowSurrogate())) {
            lumigrave::fuzz::broken("a message holds no half of a surrogate pair");
        }
        if (c.isLowSurrogate() && (i == 0 || !message[i - 1].isHighSurrogate())) {
            lumigrave::fuzz::broken("a message holds no half of a surrogate pair");
        }
    }
    if (message != message.trimmed() || message.contains(QLatin1String("  "))) {
        lumigrave::fuzz::broken("a message has no blanks at its ends or in a row");
    }
    // Whatever follows the part that is read changes nothing.
    const bool relogin = TwitterApi::asksForNewLogin(message, body);
    if (body.size() <= TwitterApi::kMaxScannedBytes &&
        TwitterApi::asksForNewLogin(message, body + QByteArray(TwitterApi::kMaxScannedBytes, 'x') +
                                                 "<code>401</code>") != relogin) {
        lumigrave::fuzz::broken("only the first part of an answer is read");
    }
    return 0;
}
