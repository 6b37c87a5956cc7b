#include "sharing/linkedin/linkedin_api.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <optional>

#include "sharing/share_configuration.h"
#include "sharing/shown_message.h"

namespace lumigrave::sharing {

namespace {

QUrl onApi(const QString& path) {
    QString base =
        ShareConfiguration::sharedInstance().stringValue(QStringLiteral("linkedInAPIURL"));
    while (base.endsWith(QLatin1Char('/'))) {
        base.chop(1);
    }
    return QUrl(base + path);
}

bool isXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The text without what XML 1.0 cannot hold (most control characters, lone surrogates,
// U+FFFE and U+FFFF): the service would refuse the whole share for one of them.
QString xmlText(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            kept.append(c);
            kept.append(text[++i]);
        } else if (!c.isSurrogate() && isXmlChar(c.unicode())) {
            kept.append(c);
        }
    }
    return kept;
}

// The text of the "message" child of a root "error" element, when body is a whole,
// well-formed XML document without a DTD. Entities other than XML's own need a DTD, so
// refusing DTDs refuses entity expansion too.
std::optional<QString> messageOfErrorDocument(const QByteArray& body) {
    if (body.size() > LinkedInApi::kMaxAnswerBytes) {
        return std::nullopt;
    }
    QXmlStreamReader reader(body);
    std::optional<QString> message;
    int depth = 0;
    bool inMessage = false;
    QString text;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
            case QXmlStreamReader::DTD:
            case QXmlStreamReader::EntityReference:
                return std::nullopt;
            case QXmlStreamReader::StartElement:
                if (++depth > LinkedInApi::kMaxAnswerDepth) {
                    return std::nullopt;
                }
                if (depth == 1 && reader.name() != QLatin1String("error")) {
                    return std::nullopt;
                }
                inMessage = depth == 2 && reader.name() == QLatin1String("message");
                break;
            case QXmlStreamReader::Characters:
                if (inMessage) {
                    text += reader.text();
                }
                break;
            case QXmlStreamReader::EndElement:
                if (inMessage && depth == 2 && !message) {
                    message = text;
                }
                inMessage = false;
                --depth;
                break;
            default:
                break;
        }
    }
    if (reader.hasError()) {
        return std::nullopt;
    }
    return message;
}

QString ownMessage(int httpStatus) {
    switch (httpStatus) {
        case 401:
            return QStringLiteral("LinkedIn did not accept the login.");
        case 403:
            return QStringLiteral("LinkedIn did not allow the share.");
        default:
            break;
    }
    if (httpStatus >= 500) {
        return QStringLiteral(
                   "LinkedIn could not take the share just now (%1). Please try again "
                   "later.")
            .arg(httpStatus);
    }
    return QStringLiteral("LinkedIn refused the share (%1).").arg(httpStatus);
}

}  // namespace

QUrl LinkedInApi::requestTokenUrl() {
    return onApi(QStringLiteral("/uas/oauth/requestToken"));
}

QUrl LinkedInApi::authorizeUrl() {
    return onApi(QStringLiteral("/uas/oauth/authorize"));
}

QUrl LinkedInApi::accessTokenUrl() {
    return onApi(QStringLiteral("/uas/oauth/accessToken"));
}

QUrl LinkedInApi::shareUrl() {
    return onApi(QStringLiteral("/v1/people/~/shares"));
}

QByteArray LinkedInApi::shareBody(const QString& comment, const QUrl& link) {
    const QString text = xmlText(comment);
    QByteArray body;
    QXmlStreamWriter writer(&body);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("share"));
    writer.writeTextElement(QStringLiteral("comment"), text);
    writer.writeStartElement(QStringLiteral("content"));
    writer.writeTextElement(QStringLiteral("title"), text);
    // The encoded form: plain ASCII, and the very link the user shares.
    writer.writeTextElement(QStringLiteral("submitted-url"), QString::fromLatin1(link.toEncoded()));
    writer.writeEndElement();
    writer.writeStartElement(QStringLiteral("visibility"));
    writer.writeTextElement(QStringLiteral("code"), QStringLiteral("anyone"));
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndDocument();
    return body;
}

QString LinkedInApi::errorMessage(int httpStatus, const QByteArray& body) {
    if (const std::optional<QString> message = messageOfErrorDocument(body)) {
        const QString shown = shownMessage(*message, kMaxMessageChars);
        if (!shown.isEmpty()) {
            return shown;
        }
    }
    return ownMessage(httpStatus);
}

}  // namespace lumigrave::sharing
