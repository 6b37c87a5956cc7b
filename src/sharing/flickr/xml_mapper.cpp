#include "sharing/flickr/xml_mapper.h"

#include <QList>
#include <QVariantList>
#include <QXmlStreamReader>

namespace lumigrave::sharing {

namespace {

struct Open {
    QString name;
    QVariantMap dictionary;
};

bool storesAsList(const QString& parent, const QString& child) {
    return parent.size() > child.size() && parent.startsWith(child) &&
           parent.endsWith(QLatin1Char('s'));
}

// False when the parent already holds something under that name that cannot take
// another element: an attribute or the collected text.
bool store(Open* parent, const QString& name, const QVariantMap& child) {
    QVariantMap& into = parent->dictionary;
    const auto it = into.find(name);
    if (it == into.end()) {
        if (storesAsList(parent->name, name)) {
            into.insert(name, QVariantList{child});
        } else {
            into.insert(name, child);
        }
        return true;
    }
    if (it->typeId() == QMetaType::QVariantList) {
        QVariantList list = it->toList();
        list.append(child);
        *it = list;
        return true;
    }
    if (it->typeId() == QMetaType::QVariantMap) {
        *it = QVariantList{*it, child};
        return true;
    }
    return false;
}

// Where the reader stopped on a well-formedness error: in an entity reference it would
// not resolve, in a stray or mismatched end tag, or elsewhere.
enum class BrokenAt { Entity, EndTag, Other };

BrokenAt brokenAt(const QByteArray& xml, const QXmlStreamReader& reader) {
    const QString text = QString::fromUtf8(xml);
    const QString before = text.left(reader.characterOffset());
    const qsizetype open = before.lastIndexOf(QLatin1Char('<'));
    const qsizetype ampersand = before.lastIndexOf(QLatin1Char('&'));
    if (ampersand > open) {
        return BrokenAt::Entity;
    }
    if (open >= 0 && before.mid(open + 1, 1) == QLatin1String("/")) {
        return BrokenAt::EndTag;
    }
    return text.mid(before.size()).startsWith(QLatin1String("</")) ? BrokenAt::EndTag
                                                                   : BrokenAt::Other;
}

void fail(QString* error, QString* exceptionName, const QString& message,
          const QString& name = QString()) {
    if (error) {
        *error = message;
    }
    if (exceptionName) {
        *exceptionName = name;
    }
}

}  // namespace

std::optional<QVariantMap> XMLMapper::dictionaryFromData(const QByteArray& xml, QString* error,
                                                         QString* exceptionName) {
    const QString exception = QString::fromLatin1(kExceptionName);
    if (xml.size() > kMaxBytes) {
        fail(error, exceptionName, QStringLiteral("The answer is larger than 16 MB."));
        return std::nullopt;
    }
    QXmlStreamReader reader(xml);
    QList<Open> open{Open{}};
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        switch (token) {
            case QXmlStreamReader::DTD:
                // Entities are declared here; stopping before the content means none is
                // ever expanded.
                fail(error, exceptionName,
                     QStringLiteral("The answer declares a document type, which is refused."));
                return std::nullopt;
            case QXmlStreamReader::EntityReference:
                fail(error, exceptionName,
                     QStringLiteral("The answer refers to an entity, which is refused."));
                return std::nullopt;
            case QXmlStreamReader::StartElement: {
                if (open.size() > kMaxDepth) {
                    fail(error, exceptionName,
                         QStringLiteral("The answer nests elements deeper than %1 levels.")
                             .arg(kMaxDepth));
                    return std::nullopt;
                }
                Open element{reader.name().toString(), {}};
                for (const QXmlStreamAttribute& attribute : reader.attributes()) {
                    element.dictionary.insert(attribute.qualifiedName().toString(),
                                              attribute.value().toString());
                }
                open.append(std::move(element));
                break;
            }
            case QXmlStreamReader::EndElement: {
                if (open.size() < 2 || open.last().name != reader.name()) {
                    fail(error, exceptionName, QString::fromLatin1(kUnbalancedClosing), exception);
                    return std::nullopt;
                }
                const Open element = open.takeLast();
                if (!store(&open.last(), element.name, element.dictionary)) {
                    fail(error, exceptionName, QString::fromLatin1(kFaultyStructure), exception);
                    return std::nullopt;
                }
                break;
            }
            case QXmlStreamReader::Characters: {
                if (open.size() < 2) {
                    break;
                }
                QVariantMap& into = open.last().dictionary;
                const QString key = QStringLiteral("_text");
                const QVariant held = into.value(key);
                if (held.isValid() && held.typeId() != QMetaType::QString) {
                    fail(error, exceptionName, QString::fromLatin1(kFaultyStructure), exception);
                    return std::nullopt;
                }
                into.insert(key, held.toString() + reader.text().toString());
                break;
            }
            default:
                break;
        }
    }
    if (reader.hasError()) {
        const BrokenAt at = reader.error() == QXmlStreamReader::NotWellFormedError
                                ? brokenAt(xml, reader)
                                : BrokenAt::Other;
        if (at == BrokenAt::Entity) {
            fail(error, exceptionName,
                 QStringLiteral("The answer refers to an entity, which is refused."));
        } else if (at == BrokenAt::EndTag) {
            fail(error, exceptionName, QString::fromLatin1(kUnbalancedClosing), exception);
        } else {
            fail(error, exceptionName,
                 QStringLiteral("The answer is not well-formed XML (line %1, column %2).")
                     .arg(reader.lineNumber())
                     .arg(reader.columnNumber()));
        }
        return std::nullopt;
    }
    return open.first().dictionary;
}

}  // namespace lumigrave::sharing
