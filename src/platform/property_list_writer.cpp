// PropertyList's writing half: the document and the atomic file.
#include <QBuffer>
#include <QDateTime>
#include <QLocale>
#include <QStringList>
#include <QXmlStreamWriter>
#include <cmath>

#include "platform/atomic_file.h"
#include "platform/property_list.h"

namespace lumigrave {

namespace {

// Characters an XML 1.0 document cannot hold even escaped, and a carriage return, which a
// reader turns into a line feed unless it is written as a character reference.
bool xmlCanCarry(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 == text.size() || !QChar::isLowSurrogate(text.at(i + 1).unicode())) {
                return false;
            }
            ++i;
            continue;
        }
        if (QChar::isLowSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
            return false;
        }
        if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') {
            return false;
        }
    }
    return true;
}

QString realText(double value) {
    if (std::isnan(value)) {
        return QStringLiteral("nan");
    }
    if (std::isinf(value)) {
        return value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    }
    // The shortest text that reads back as the same double.
    return QLocale::c().toString(value, 'g', QLocale::FloatingPointShortest);
}

class Writer {
  public:
    explicit Writer(QIODevice* device) : xml_(device) {
        xml_.setAutoFormatting(true);
        xml_.setAutoFormattingIndent(-1);  // one tab per level, as the platform writes
    }

    bool document(const QVariant& root) {
        xml_.writeStartDocument();
        xml_.writeDTD(
            QStringLiteral("<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">"));
        xml_.writeStartElement(QStringLiteral("plist"));
        xml_.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
        if (!value(root, 0, QStringLiteral("the root"))) {
            return false;
        }
        xml_.writeEndElement();
        xml_.writeEndDocument();
        return true;
    }

    const QString& error() const { return error_; }

  private:
    bool fail(const QString& message) {
        error_ = message;
        return false;
    }

    // Text with its carriage returns as character references, so they survive the
    // reader's line-end normalisation.
    void text(const QString& element, const QString& content) {
        xml_.writeStartElement(element);
        qsizetype start = 0;
        for (qsizetype i = content.indexOf(u'\r'); i >= 0; i = content.indexOf(u'\r', start)) {
            xml_.writeCharacters(content.mid(start, i - start));
            xml_.writeEntityReference(QStringLiteral("#13"));
            start = i + 1;
        }
        xml_.writeCharacters(content.mid(start));
        xml_.writeEndElement();
    }

    bool string(const QString& element, const QString& content, const QString& where) {
        if (!xmlCanCarry(content)) {
            return fail(
                QStringLiteral("%1 holds a character a property list cannot carry").arg(where));
        }
        text(element, content);
        return true;
    }

    bool dict(const QList<std::pair<QString, QVariant>>& entries, int depth) {
        xml_.writeStartElement(QStringLiteral("dict"));
        for (const auto& [key, item] : entries) {
            if (!string(QStringLiteral("key"), key, QStringLiteral("a dict key"))) {
                return false;
            }
            if (!value(item, depth + 1, QStringLiteral("the value of \"%1\"").arg(key))) {
                return false;
            }
        }
        xml_.writeEndElement();
        return true;
    }

    bool array(const QVariantList& items, int depth) {
        xml_.writeStartElement(QStringLiteral("array"));
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (!value(items.at(i), depth + 1, QStringLiteral("array item %1").arg(i))) {
                return false;
            }
        }
        xml_.writeEndElement();
        return true;
    }

    bool value(const QVariant& v, int depth, const QString& where) {
        switch (v.metaType().id()) {
            case QMetaType::QVariantMap:
            case QMetaType::QVariantHash: {
                if (depth >= PropertyList::kMaxDepth) {
                    return fail(QStringLiteral("the values nest deeper than %1 levels")
                                    .arg(PropertyList::kMaxDepth));
                }
                QList<std::pair<QString, QVariant>> entries;
                if (v.metaType().id() == QMetaType::QVariantMap) {
                    const QVariantMap map = v.toMap();
                    for (auto it = map.cbegin(); it != map.cend(); ++it) {
                        entries.append({it.key(), it.value()});
                    }
                } else {
                    // In key order, so that the same values always give the same file.
                    const QVariantHash hash = v.toHash();
                    QStringList keys = hash.keys();
                    keys.sort();
                    for (const QString& key : keys) {
                        entries.append({key, hash.value(key)});
                    }
                }
                return dict(entries, depth);
            }
            case QMetaType::QVariantList:
            case QMetaType::QStringList:
                if (depth >= PropertyList::kMaxDepth) {
                    return fail(QStringLiteral("the values nest deeper than %1 levels")
                                    .arg(PropertyList::kMaxDepth));
                }
                return array(v.toList(), depth);
            case QMetaType::QString:
                return string(QStringLiteral("string"), v.toString(), where);
            case QMetaType::Bool:
                xml_.writeEmptyElement(v.toBool() ? QStringLiteral("true")
                                                  : QStringLiteral("false"));
                return true;
            case QMetaType::Char:
            case QMetaType::SChar:
            case QMetaType::Short:
            case QMetaType::Int:
            case QMetaType::Long:
            case QMetaType::LongLong:
                xml_.writeTextElement(QStringLiteral("integer"), QString::number(v.toLongLong()));
                return true;
            case QMetaType::UChar:
            case QMetaType::UShort:
            case QMetaType::UInt:
            case QMetaType::ULong:
            case QMetaType::ULongLong:
                xml_.writeTextElement(QStringLiteral("integer"), QString::number(v.toULongLong()));
                return true;
            case QMetaType::Double:
            case QMetaType::Float:
                xml_.writeTextElement(QStringLiteral("real"), realText(v.toDouble()));
                return true;
            case QMetaType::QByteArray:
                xml_.writeTextElement(QStringLiteral("data"),
                                      QString::fromLatin1(v.toByteArray().toBase64()));
                return true;
            case QMetaType::QDateTime: {
                const QDateTime when = v.toDateTime();
                if (!when.isValid()) {
                    return fail(QStringLiteral("%1 is an invalid date").arg(where));
                }
                const QDateTime utc = when.toUTC();
                if (utc.date().year() < 1 || utc.date().year() > 9999) {
                    return fail(
                        QStringLiteral("%1 is a date outside the years 1 to 9999").arg(where));
                }
                xml_.writeTextElement(QStringLiteral("date"),
                                      utc.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")));
                return true;
            }
            default:
                break;
        }
        if (!v.isValid()) {
            return fail(QStringLiteral("%1 has no value").arg(where));
        }
        return fail(QStringLiteral("%1 is of a type a property list cannot hold (%2)")
                        .arg(where, QString::fromLatin1(v.typeName())));
    }

    QXmlStreamWriter xml_;
    QString error_;
};

}  // namespace

QByteArray PropertyList::toXml(const QVariant& root, QString* errorMessage) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Writer writer(&buffer);
    QString error;
    if (!writer.document(root)) {
        error = QStringLiteral("Cannot write the property list: %1.").arg(writer.error());
    } else if (bytes.size() > kMaxBytes) {
        error = QStringLiteral("Cannot write the property list: it would be larger than %1 MB.")
                    .arg(kMaxBytes / (1024 * 1024));
    }
    if (!error.isEmpty()) {
        if (errorMessage) {
            *errorMessage = error;
        }
        return {};
    }
    return bytes;
}

bool PropertyList::writeFile(const QString& path, const QVariant& root, QString* errorMessage) {
    QString error;
    const QByteArray xml = toXml(root, &error);
    if (xml.isEmpty()) {
        if (errorMessage) {
            *errorMessage = error;
        }
        return false;
    }
    return writeFileAtomically(
        path,
        [&xml](QIODevice& file, QString* why) {
            if (file.write(xml) != xml.size()) {
                *why = file.errorString();
                return false;
            }
            return true;
        },
        errorMessage);
}

}  // namespace lumigrave
