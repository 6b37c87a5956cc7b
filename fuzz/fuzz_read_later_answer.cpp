// Fuzzes the reading of the read-later service's answers: a status and an "X-Error"
// header, whose text is shown to the user. The first two bytes are the status (big
// endian, modulo 1000), the rest the header.
#include "fuzz_input.h"
#include "sharing/readlater/read_later_add.h"

using lumigrave::sharing::ReadLaterAdd;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes;
    if (!lumigrave::fuzz::wrap(data, size, 16 * 1024, &bytes) || bytes.size() < 2) {
        return 0;
    }
    const int status = ((uint8_t(bytes[0]) << 8) | uint8_t(bytes[1])) % 1000;
    const ReadLaterAdd::Outcome outcome = ReadLaterAdd::outcomeForAnswer(status, bytes.mid(2));
    const bool success = status >= 200 && status < 300;
    if ((outcome.kind == ReadLaterAdd::Outcome::Kind::Saved) != success) {
        lumigrave::fuzz::broken("a 2xx status, and only that, saves");
    }
    if (outcome.message.size() > ReadLaterAdd::kMaxMessageChars + 1) {
        lumigrave::fuzz::broken("a message is cut to its cap");
    }
    if (outcome.kind == ReadLaterAdd::Outcome::Kind::Failed && outcome.message.isEmpty()) {
        lumigrave::fuzz::broken("a failure always says something");
    }
    for (const QChar c : outcome.message) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
            (c.isSpace() && c != QLatin1Char(' '))) {
            lumigrave::fuzz::broken("a message is one line of plain text");
        }
    }
    if (outcome.message != outcome.message.trimmed() || outcome.message.contains("  ")) {
        lumigrave::fuzz::broken("a message has no blanks at its ends or in a row");
    }
    return 0;
}
