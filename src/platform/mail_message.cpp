#include "platform/mail_message.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QUrl>

namespace lumigrave {

namespace {

bool isPlainAscii(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() > 0x7e || (c.unicode() < 0x20 && c != u'\n' && c != u'\t')) {
            return false;
        }
    }
    return true;
}

// A header value never carries a line break of its own: one would start a new header.
QString oneLine(const QString& value) {
    QString line = value;
    line.replace(QRegularExpression(QStringLiteral("[\\r\\n]+")), QStringLiteral(" "));
    return line;
}

// RFC 2047 encoded words, each short enough for a header line, never splitting a
// character's UTF-8 bytes or a surrogate pair.
QByteArray encodedWords(const QString& text, const QByteArray& lineEnding) {
    if (isPlainAscii(text)) {
        return text.toLatin1();
    }
    QList<QByteArray> words;
    int start = 0;
    while (start < text.size()) {
        int end = qMin(start + 10, int(text.size()));
        if (end < text.size() && text.at(end).isLowSurrogate()) {
            ++end;
        }
        words.append("=?UTF-8?B?" + text.mid(start, end - start).toUtf8().toBase64() + "?=");
        start = end;
    }
    return words.join(lineEnding + " ");
}

QByteArray base64Lines(const QByteArray& data, const QByteArray& lineEnding) {
    const QByteArray encoded = data.toBase64();
    QByteArray lines;
    for (qsizetype at = 0; at < encoded.size(); at += 76) {
        lines += encoded.mid(at, 76) + lineEnding;
    }
    return lines;
}

bool fitsSevenBit(const QString& body) {
    if (!isPlainAscii(body)) {
        return false;
    }
    for (const QString& line : body.split(u'\n')) {
        if (line.size() > 998) {
            return false;
        }
    }
    return true;
}

QByteArray withLineEnding(const QString& text, const QByteArray& lineEnding) {
    QByteArray bytes = text.toUtf8();
    bytes.replace("\r\n", "\n");
    bytes.replace('\r', '\n');
    if (lineEnding != "\n") {
        bytes.replace("\n", lineEnding);
    }
    return bytes;
}

// Without a line end of its own: the one before the next boundary belongs to the boundary.
QByteArray bodyPart(const MailMessage& message, const QByteArray& lineEnding) {
    const QByteArray type = message.bodyIsHTML ? "text/html" : "text/plain";
    if (fitsSevenBit(message.body)) {
        return "Content-Type: " + type + "; charset=UTF-8" + lineEnding +
               "Content-Transfer-Encoding: 7bit" + lineEnding + lineEnding +
               withLineEnding(message.body, lineEnding);
    }
    return "Content-Type: " + type + "; charset=UTF-8" + lineEnding +
           "Content-Transfer-Encoding: base64" + lineEnding + lineEnding +
           base64Lines(withLineEnding(message.body, "\r\n"), lineEnding);
}

QByteArray mimeTypeOf(const MailAttachment& attachment) {
    static const QRegularExpression kType(
        QStringLiteral("^[A-Za-z0-9][A-Za-z0-9!#$&^_.+-]*/[A-Za-z0-9][A-Za-z0-9!#$&^_.+-]*$"));
    return kType.match(attachment.mimeType).hasMatch() ? attachment.mimeType.toLatin1()
                                                       : QByteArray("application/octet-stream");
}

// The file name as a quoted string when it is plain ASCII, else as an RFC 2231 parameter
// (with an encoded word beside it for readers that know only the older form).
QByteArray fileNameParameters(const QString& fileName, const QByteArray& lineEnding) {
    const QString name = oneLine(fileName);
    if (isPlainAscii(name) && !name.contains(u'"') && !name.contains(u'\\')) {
        return "; filename=\"" + name.toLatin1() + "\"";
    }
    return ";" + lineEnding + " filename*=UTF-8''" +
           QUrl::toPercentEncoding(name, {}, "*'%()<>@,;:\\\"/[]?=");
}

QByteArray attachmentPart(const MailAttachment& attachment, const QByteArray& lineEnding) {
    const QByteArray name = oneLine(attachment.fileName).isEmpty()
                                ? QByteArray()
                                : fileNameParameters(attachment.fileName, lineEnding);
    QByteArray quotedName;
    if (!name.isEmpty()) {
        const QString plain = oneLine(attachment.fileName);
        quotedName = isPlainAscii(plain) && !plain.contains(u'"') && !plain.contains(u'\\')
                         ? "; name=\"" + plain.toLatin1() + "\""
                         : "; name=\"" + encodedWords(plain, lineEnding) + "\"";
    }
    return "Content-Type: " + mimeTypeOf(attachment) + quotedName + lineEnding +
           "Content-Transfer-Encoding: base64" + lineEnding + "Content-Disposition: attachment" +
           name + lineEnding + lineEnding + base64Lines(attachment.data, lineEnding);
}

}  // namespace

QByteArray boundaryFor(const MailMessage& message) {
    // '_' is not in base64's alphabet, so no encoded part can hold the boundary; the
    // body, sent as it stands when it is plain ASCII, is checked.
    const QByteArray body = message.body.toUtf8();
    for (;;) {
        const QByteArray boundary =
            "=_lumigrave_" + QByteArray::number(QRandomGenerator::global()->generate64(), 16)
                                 .rightJustified(16, '0');
        if (!body.contains(boundary)) {
            return boundary;
        }
    }
}

QByteArray composeMimeMessage(const MailMessage& message, const QDateTime& date,
                              const QByteArray& boundary, const QByteArray& lineEnding) {
    QStringList recipients;
    for (const QString& to : message.toRecipients) {
        const QString address = oneLine(to).trimmed();
        if (!address.isEmpty()) {
            recipients.append(address);
        }
    }
    QByteArray text;
    if (!recipients.isEmpty()) {
        // Addresses go as written: an encoded word is not allowed in an address.
        text += "To: " + recipients.join(QStringLiteral(", ")).toUtf8() + lineEnding;
    }
    text += "Subject: " + encodedWords(oneLine(message.subject), lineEnding) + lineEnding;
    text += "Date: " + date.toString(Qt::RFC2822Date).toLatin1() + lineEnding;
    text += "MIME-Version: 1.0" + lineEnding;
    if (message.attachments.isEmpty()) {
        return text + bodyPart(message, lineEnding) + lineEnding;
    }
    text +=
        "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"" + lineEnding + lineEnding;
    text += "This is a message in MIME format." + lineEnding;
    text += lineEnding + "--" + boundary + lineEnding + bodyPart(message, lineEnding);
    for (const MailAttachment& attachment : message.attachments) {
        text += lineEnding + "--" + boundary + lineEnding + attachmentPart(attachment, lineEnding);
    }
    text += lineEnding + "--" + boundary + "--" + lineEnding;
    return text;
}

}  // namespace lumigrave
