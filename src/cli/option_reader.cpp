#include "cli/option_reader.h"

#include <cmath>

namespace lumigrave::cli {

bool OptionReader::value(const QString& option, QString* out) {
    if (atEnd()) {
        return fail(QStringLiteral("%1 needs a value").arg(option));
    }
    *out = take();
    return true;
}

bool OptionReader::path(const QString& option, const char* kind, QString* out) {
    if (atEnd() || args_[next_].isEmpty()) {
        return fail(QStringLiteral("%1 needs a %2 name").arg(option, QLatin1String(kind)));
    }
    *out = take();
    if (out->startsWith('-')) {
        return fail(QStringLiteral("%1 needs a %2 name, not \"%3\"")
                        .arg(option, QLatin1String(kind), *out));
    }
    return true;
}

bool OptionReader::number(const QString& option, float* out) {
    QString text;
    if (!value(option, &text)) {
        return false;
    }
    bool ok = false;
    *out = text.toFloat(&ok);
    if (!ok || !std::isfinite(*out)) {
        return fail(QStringLiteral("%1 needs a number, not \"%2\"").arg(option, text));
    }
    return true;
}

bool OptionReader::integer(const QString& option, qint64* out, qint64 low, qint64 high) {
    QString text;
    if (!value(option, &text)) {
        return false;
    }
    bool ok = false;
    *out = text.toLongLong(&ok);
    if (!ok || *out < low || *out > high) {
        return fail(QStringLiteral("%1 needs a whole number from %2 to %3, not \"%4\"")
                        .arg(option)
                        .arg(low)
                        .arg(high)
                        .arg(text));
    }
    return true;
}

bool OptionReader::fail(const QString& message) {
    *error_ = message;
    return false;
}

}  // namespace lumigrave::cli
