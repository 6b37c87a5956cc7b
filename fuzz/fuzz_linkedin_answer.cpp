// Fuzzes the reading of the LinkedIn service's error answers, whose message is shown to
// the user. The first two bytes are the HTTP status (big endian, modulo 1000), the rest
// the body.
#include "fuzz_input.h"
#include "sharing/linkedin/linkedin_api.h"

using lumigrave::sharing::LinkedInApi;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes;
    if (!lumigrave::fuzz::wrap(data, size, 128 * 1024, &bytes) || bytes.size() < 2) {
        return 0;
    }
    const int status = ((uint8_t(bytes[0]) << 8) | uint8_t(bytes[1])) % 1000;
    const QString message = LinkedInApi::errorMessage(status, bytes.mid(2));
    if (message.isEmpty() || message.size() > LinkedInApi::kMaxMessageChars) {
        lumigrave::fuzz::broken("a message says something and is cut to its cap");
    }
    for (const QChar c : message) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
            (c.isSpace() && c != QLatin1Char(' '))) {
            lumigrave::fuzz::broken("a message is one line of plain text");
        }
    }
    if (message != message.trimmed() || message.contains(QLatin1String("  "))) {
        lumigrave::fuzz::broken("a message has no blanks at its ends or in a row");
    }
    return 0;
}
