#include "support/mime_parts.h"

#include <QRegularExpression>
#include <QUrl>

namespace lumigrave::test {

QByteArray MimePart::contentType() const {
    QByteArray type = header("content-type");
    const qsizetype semicolon = type.indexOf(';');
    if (semicolon >= 0) {
        type.truncate(semicolon);
    }
    return type.trimmed().toLower();
}

QString MimePart::parameter(const QByteArray& headerName, const QByteArray& name) const {
    const QString value = QString::fromUtf8(header(headerName));
    const QRegularExpression extended(
        QStringLiteral("(?:^|;)\\s*%1\\*=([^']*)'[^']*'([^;\\s]*)")
            .arg(QRegularExpression::escape(QString::fromLatin1(name))),
        QRegularExpression::CaseInsensitiveOption);
    if (const auto match = extended.match(value); match.hasMatch()) {
        return QString::fromUtf8(QByteArray::fromPercentEncoding(match.captured(2).toLatin1()));
    }
    const QRegularExpression plain(QStringLiteral("(?:^|;)\\s*%1=(\"([^\"]*)\"|[^;\\s]*)")
                                       .arg(QRegularExpression::escape(QString::fromLatin1(name))),
                                   QRegularExpression::CaseInsensitiveOption);
    if (const auto match = plain.match(value); match.hasMatch()) {
        return match.captured(2).isNull() ? match.captured(1) : match.captured(2);
    }
    return {};
}

QString decodeHeader(const QByteArray& value) {
    static const QRegularExpression kWord(
        QStringLiteral("=\\?([^?]+)\\?([BbQq])\\?([^?]*)\\?=(\\s+(?==\\?))?"));
    const QString text = QString::fromUtf8(value);
    QString decoded;
    qsizetype at = 0;
    for (auto it = kWord.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        decoded += text.mid(at, match.capturedStart() - at);
        const QByteArray payload = match.captured(3).toLatin1();
        decoded += match.captured(2).toUpper() == QLatin1String("B")
                       ? QString::fromUtf8(QByteArray::fromBase64(payload))
                       : QString::fromUtf8(QByteArray::fromPercentEncoding(
                             QByteArray(payload).replace('_', ' ').replace('=', '%')));
        at = match.capturedEnd();
    }
    return decoded + text.mid(at);
}

MimePart parseMime(const QByteArray& message) {
    QByteArray text = message;
    text.replace("\r\n", "\n");
    MimePart part;
    const qsizetype split = text.startsWith('\n') ? 0 : text.indexOf("\n\n");
    const QByteArray head = split < 0 ? text : text.left(split);
    QByteArray body = split < 0 ? QByteArray() : text.mid(split + (split == 0 ? 1 : 2));
    QByteArray name;
    for (const QByteArray& line : head.split('\n')) {
        if ((line.startsWith(' ') || line.startsWith('\t')) && !name.isEmpty()) {
            part.headers[name] += " " + line.trimmed();
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon > 0) {
            name = line.left(colon).trimmed().toLower();
            part.headers[name] = line.mid(colon + 1).trimmed();
        }
    }
    if (part.contentType().startsWith("multipart/")) {
        const QByteArray boundary = "--" + part.parameter("content-type", "boundary").toUtf8();
        QList<QByteArray> pieces;
        QByteArray current;
        bool inside = false;
        for (const QByteArray& line : body.split('\n')) {
            if (line == boundary || line == boundary + "--") {
                if (inside) {
                    pieces.append(current);
                }
                current.clear();
                inside = line == boundary;
                continue;
            }
            if (inside) {
                current += line + "\n";
            }
        }
        for (QByteArray& piece : pieces) {
            // The line break before a boundary belongs to the boundary.
            if (piece.endsWith('\n')) {
                piece.chop(1);
            }
            part.parts.append(parseMime(piece));
        }
        return part;
    }
    if (part.header("content-transfer-encoding").trimmed().toLower() == "base64") {
        body = QByteArray::fromBase64(body);
    }
    part.body = body;
    return part;
}

}  // namespace lumigrave::test
