// PropertyList's reading half. Every document is untrusted: the reader stops at the first
// thing it does not expect, and nothing in a document can make it expand text.
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <cmath>
#include <limits>

#include "platform/property_list.h"

namespace lumigrave {

namespace {

class Reader {
  public:
    explicit Reader(const QByteArray& xml) : xml_(xml), blank_(xml.trimmed().isEmpty()) {}

    std::optional<QVariant> document() {
        if (blank_) {
            return fail(QStringLiteral("the document is empty"));
        }
        if (!prologue()) {
            return std::nullopt;
        }
        // At <plist>: exactly one value, then its end.
        if (!nextElement()) {
            return fail(QStringLiteral("the plist element holds no value"));
        }
        std::optional<QVariant> root = value(0);
        if (!root) {
            return std::nullopt;
        }
        if (nextElement()) {
            return fail(QStringLiteral("the plist element holds more than one value"));
        }
        if (!error_.isEmpty()) {
            return std::nullopt;
        }
        // Whatever follows the root element must be nothing but comments and blanks.
        while (!xml_.atEnd()) {
            if (!skippable(xml_.readNext())) {
                if (!error_.isEmpty()) {
                    return std::nullopt;
                }
                return fail(QStringLiteral("content follows the plist element"));
            }
        }
        if (xml_.hasError()) {
            return fail(xml_.errorString());
        }
        return root;
    }

    const QString& error() const { return error_; }

  private:
    std::nullopt_t fail(const QString& message) {
        if (error_.isEmpty()) {
            error_ = QStringLiteral("line %1, column %2: %3")
                         .arg(xml_.lineNumber())
                         .arg(xml_.columnNumber())
                         .arg(message);
        }
        return std::nullopt;
    }

    // Tokens that carry nothing: the XML declaration, comments, processing instructions
    // and blanks. A DTD passes only when it declares nothing; an entity reference never
    // does. Sets the error for a token that is refused outright.
    bool skippable(QXmlStreamReader::TokenType token) {
        switch (token) {
            case QXmlStreamReader::StartDocument:
            case QXmlStreamReader::EndDocument:
            case QXmlStreamReader::Comment:
            case QXmlStreamReader::ProcessingInstruction:
                return true;
            case QXmlStreamReader::Characters:
                return xml_.isWhitespace();
            case QXmlStreamReader::DTD:
                if (xml_.dtdName() != u"plist") {
                    fail(QStringLiteral("the document type is \"%1\", not plist")
                             .arg(xml_.dtdName()));
                    return false;
                }
                if (!xml_.entityDeclarations().isEmpty() ||
                    !xml_.notationDeclarations().isEmpty() || xml_.text().contains(u'[')) {
                    fail(
                        QStringLiteral("the document type declares entities or other "
                                       "declarations, which a property list never has"));
                    return false;
                }
                return true;
            case QXmlStreamReader::EntityReference:
                fail(QStringLiteral("the entity reference &%1; is not allowed").arg(xml_.name()));
                return false;
            case QXmlStreamReader::Invalid:
                fail(xml_.error() == QXmlStreamReader::PrematureEndOfDocumentError
                         ? QStringLiteral("the document ends before it is complete")
                         : xml_.errorString());
                return false;
            default:
                return false;
        }
    }

    bool prologue() {
        while (!xml_.atEnd()) {
            const QXmlStreamReader::TokenType token = xml_.readNext();
            if (skippable(token)) {
                continue;
            }
            if (!error_.isEmpty()) {
                return false;
            }
            if (token == QXmlStreamReader::StartElement) {
                if (xml_.name() != u"plist") {
                    fail(QStringLiteral("the root element is <%1>, not <plist>").arg(xml_.name()));
                    return false;
                }
                return true;
            }
            break;
        }
        const bool cut =
            !xml_.hasError() || xml_.error() == QXmlStreamReader::PrematureEndOfDocumentError;
        fail(cut ? QStringLiteral("no plist element") : xml_.errorString());
        return false;
    }

    // Moves to the next child element of the current one: true there, false at the current
    // element's end or on an error (then error_ is set).
    bool nextElement() {
        while (!xml_.atEnd()) {
            const QXmlStreamReader::TokenType token = xml_.readNext();
            if (skippable(token)) {
                continue;
            }
            if (!error_.isEmpty()) {
                return false;
            }
            if (token == QXmlStreamReader::StartElement) {
                return true;
            }
            if (token == QXmlStreamReader::EndElement) {
                return false;
            }
            if (token == QXmlStreamReader::Characters) {
                fail(QStringLiteral("text \"%1\" stands where an element belongs")
                         .arg(xml_.text().trimmed().left(40)));
                return false;
            }
            break;
        }
        fail(xml_.hasError() ? xml_.errorString()
                             : QStringLiteral("the document ends inside an element"));
        return false;
    }

    // The text of the current element, which may hold no element and no entity reference.
    // Leaves the reader at its end.
    std::optional<QString> elementText() {
        const QString element = xml_.name().toString();
        QString text;
        while (!xml_.atEnd()) {
            const QXmlStreamReader::TokenType token = xml_.readNext();
            switch (token) {
                case QXmlStreamReader::Characters:
                    text += xml_.text();
                    break;
                case QXmlStreamReader::Comment:
                case QXmlStreamReader::ProcessingInstruction:
                    break;
                case QXmlStreamReader::EndElement:
                    return text;
                case QXmlStreamReader::StartElement:
                    return fail(QStringLiteral("<%1> stands inside <%2>, which holds only text")
                                    .arg(xml_.name(), element));
                default:
                    skippable(token);  // sets the error for an entity or a parse error
                    return fail(xml_.hasError() ? xml_.errorString()
                                                : QStringLiteral("unexpected content"));
            }
        }
        return fail(xml_.hasError() ? xml_.errorString()
                                    : QStringLiteral("the document ends inside <%1>").arg(element));
    }

    // The value whose start element the reader stands on; leaves it at the value's end.
    std::optional<QVariant> value(int depth) {
        const QStringView name = xml_.name();
        if (name == u"dict") {
            return dict(depth);
        }
        if (name == u"array") {
            return array(depth);
        }
        if (name == u"true" || name == u"false") {
            const bool truth = name == u"true";
            const std::optional<QString> text = elementText();
            if (!text) {
                return std::nullopt;
            }
            if (!text->trimmed().isEmpty()) {
                return fail(QStringLiteral("<%1> holds text").arg(truth ? "true" : "false"));
            }
            return QVariant(truth);
        }
        if (name == u"string") {
            const std::optional<QString> text = elementText();
            return text ? std::optional<QVariant>(*text) : std::nullopt;
        }
        if (name == u"integer") {
            return integer();
        }
        if (name == u"real") {
            return real();
        }
        if (name == u"data") {
            return data();
        }
        if (name == u"date") {
            return date();
        }
        return fail(QStringLiteral("unknown element <%1>").arg(name));
    }

    bool deeper(int depth) {
        if (depth >= PropertyList::kMaxDepth) {
            fail(QStringLiteral("the values nest deeper than %1 levels")
                     .arg(PropertyList::kMaxDepth));
            return false;
        }
        return true;
    }

    std::optional<QVariant> dict(int depth) {
        if (!deeper(depth)) {
            return std::nullopt;
        }
        QVariantMap map;
        while (nextElement()) {
            if (xml_.name() != u"key") {
                return fail(
                    QStringLiteral("<%1> stands where a dict key belongs").arg(xml_.name()));
            }
            const std::optional<QString> key = elementText();
            if (!key) {
                return std::nullopt;
            }
            if (!nextElement()) {
                return error_.isEmpty()
                           ? fail(QStringLiteral("the key \"%1\" has no value").arg(*key))
                           : std::nullopt;
            }
            if (xml_.name() == u"key") {
                return fail(QStringLiteral("the key \"%1\" has no value").arg(*key));
            }
            std::optional<QVariant> item = value(depth + 1);
            if (!item) {
                return std::nullopt;
            }
            if (map.contains(*key)) {
                return fail(QStringLiteral("the key \"%1\" appears twice in one dict").arg(*key));
            }
            map.insert(*key, *item);
        }
        if (!error_.isEmpty()) {
            return std::nullopt;
        }
        return QVariant(map);
    }

    std::optional<QVariant> array(int depth) {
        if (!deeper(depth)) {
            return std::nullopt;
        }
        QVariantList list;
        while (nextElement()) {
            std::optional<QVariant> item = value(depth + 1);
            if (!item) {
                return std::nullopt;
            }
            list.append(*item);
        }
        if (!error_.isEmpty()) {
            return std::nullopt;
        }
        return QVariant(list);
    }

    std::optional<QVariant> integer() {
        const std::optional<QString> text = elementText();
        if (!text) {
            return std::nullopt;
        }
        const QString digits = text->trimmed();
        const bool negative = digits.startsWith(u'-');
        const bool signed_ = negative || digits.startsWith(u'+');
        const QString magnitude = digits.mid(signed_ ? 1 : 0);
        // Plain decimal, or hexadecimal after 0x; no blanks or signs inside.
        static const QRegularExpression shape(QStringLiteral("\\A(?:[0-9]+|0[xX][0-9a-fA-F]+)\\z"));
        if (!shape.match(magnitude).hasMatch()) {
            return fail(QStringLiteral("\"%1\" is not an integer").arg(digits.left(40)));
        }
        const bool hex = magnitude.size() > 1 && magnitude.at(1).toLower() == u'x';
        bool ok = false;
        const qulonglong value = magnitude.mid(hex ? 2 : 0).toULongLong(&ok, hex ? 16 : 10);
        constexpr qulonglong kMax = qulonglong(std::numeric_limits<qint64>::max());
        if (ok && !negative) {
            return value <= kMax ? QVariant(qint64(value)) : QVariant(value);
        }
        if (ok && value <= kMax + 1) {
            return QVariant(qint64(0 - value));
        }
        return fail(QStringLiteral("the integer %1 is out of range").arg(digits.left(40)));
    }

    std::optional<QVariant> real() {
        const std::optional<QString> text = elementText();
        if (!text) {
            return std::nullopt;
        }
        const QString number = text->trimmed().toLower();
        if (number == u"nan") {
            return QVariant(std::numeric_limits<double>::quiet_NaN());
        }
        if (number == u"inf" || number == u"+inf" || number == u"infinity" ||
            number == u"+infinity") {
            return QVariant(std::numeric_limits<double>::infinity());
        }
        if (number == u"-inf" || number == u"-infinity") {
            return QVariant(-std::numeric_limits<double>::infinity());
        }
        static const QRegularExpression shape(
            QStringLiteral("\\A[+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:e[+-]?[0-9]+)?\\z"));
        bool ok = false;
        const double value =
            shape.match(number).hasMatch() ? QLocale::c().toDouble(number, &ok) : 0.0;
        if (!ok || !std::isfinite(value)) {
            return fail(QStringLiteral("\"%1\" is not a real number").arg(number.left(40)));
        }
        return QVariant(value);
    }

    std::optional<QVariant> data() {
        const std::optional<QString> text = elementText();
        if (!text) {
            return std::nullopt;
        }
        // Writers break base64 into indented lines; blanks carry nothing.
        QByteArray base64;
        base64.reserve(text->size());
        for (const QChar c : *text) {
            if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') {
                continue;
            }
            if (c.unicode() > 0x7F) {
                return fail(QStringLiteral("<data> holds something other than base64"));
            }
            base64.append(char(c.unicode()));
        }
        if (base64.size() % 4 != 0) {
            return fail(QStringLiteral("<data> holds something other than base64"));
        }
        const QByteArray::FromBase64Result decoded =
            QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded) {
            return fail(QStringLiteral("<data> holds something other than base64"));
        }
        return QVariant(decoded.decoded);
    }

    std::optional<QVariant> date() {
        const std::optional<QString> text = elementText();
        if (!text) {
            return std::nullopt;
        }
        const QString stamp = text->trimmed();
        static const QRegularExpression shape(
            QStringLiteral("\\A(\\d{4})-(\\d{2})-(\\d{2})T(\\d{2}):(\\d{2}):(\\d{2})Z\\z"));
        const QRegularExpressionMatch match = shape.match(stamp);
        if (match.hasMatch()) {
            const QDate day(match.captured(1).toInt(), match.captured(2).toInt(),
                            match.captured(3).toInt());
            const QTime time(match.captured(4).toInt(), match.captured(5).toInt(),
                             match.captured(6).toInt());
            if (day.isValid() && time.isValid()) {
                return QVariant(QDateTime(day, time, Qt::UTC));
            }
        }
        return fail(QStringLiteral("\"%1\" is not a date of the form 2001-12-31T23:59:59Z")
                        .arg(stamp.left(40)));
    }

    QXmlStreamReader xml_;
    const bool blank_;
    QString error_;
};

}  // namespace

std::optional<QVariant> PropertyList::fromXml(const QByteArray& xml, QString* errorMessage) {
    auto refuse = [&](const QString& why) -> std::optional<QVariant> {
        if (errorMessage) {
            *errorMessage = QStringLiteral("Not a valid property list: %1.").arg(why);
        }
        return std::nullopt;
    };
    if (xml.size() > kMaxBytes) {
        return refuse(QStringLiteral("it is larger than %1 MB").arg(kMaxBytes / (1024 * 1024)));
    }
    Reader reader(xml);
    std::optional<QVariant> root = reader.document();
    if (!root) {
        return refuse(reader.error());
    }
    return root;
}

std::optional<QVariant> PropertyList::readFile(const QString& path, QString* errorMessage) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (errorMessage) {
            *errorMessage = QStringLiteral("Cannot read the property list %1: %2")
                                .arg(path, file.errorString());
        }
        return std::nullopt;
    }
    // One byte past the cap is enough to know the file is too large, whatever its size.
    const QByteArray xml = file.read(kMaxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        if (errorMessage) {
            *errorMessage = QStringLiteral("Cannot read the property list %1: %2")
                                .arg(path, file.errorString());
        }
        return std::nullopt;
    }
    QString why;
    std::optional<QVariant> root = fromXml(xml, &why);
    if (!root && errorMessage) {
        *errorMessage = QStringLiteral("%1 (%2)").arg(why, path);
    }
    return root;
}

}  // namespace lumigrave
