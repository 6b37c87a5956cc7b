#include "sharing/twitter/twitter_api.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDebug>
#include <QPainter>

#include "platform/jpeg_rows.h"
#include "sharing/share_configuration.h"
#include "sharing/share_item.h"
#include "sharing/shown_message.h"

namespace lumigrave::sharing {

namespace {

QUrl onBase(const char* setting, const QString& path) {
    QString base = ShareConfiguration::sharedInstance().stringValue(QString::fromLatin1(setting));
    while (base.endsWith(QLatin1Char('/'))) {
        base.chop(1);
    }
    return QUrl(base + path);
}

QUrl onApi(const QString& path) {
    return onBase("twitterAPIURL", path);
}

// What of an untrusted answer is looked at: the answers we read are short, and a service
// that sends megabytes gains nothing by having them searched.
QByteArrayView scanned(const QByteArray& body) {
    return QByteArrayView(body).first(qMin(body.size(), TwitterApi::kMaxScannedBytes));
}

bool isJsonBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

qsizetype skipJsonBlanks(QByteArrayView text, qsizetype at) {
    while (at < text.size() && isJsonBlank(text[at])) {
        ++at;
    }
    return at;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The JSON string whose text starts at `at` (just after its opening quotation mark), up to
// the quotation mark that ends it; nothing when the body ends first. Escapes are read as
// JSON means them, so that "Invalid \/ used nonce" is the service's "Invalid / used nonce"
// and an escaped quotation mark does not end the text early.
std::optional<QString> jsonStringAt(QByteArrayView text, qsizetype at) {
    QString value;
    QByteArray run;
    const auto flush = [&] {
        value += QString::fromUtf8(run);
        run.clear();
    };
    while (at < text.size()) {
        const char c = text[at++];
        if (c == '"') {
            flush();
            return value;
        }
        if (c != '\\') {
            run += c;
            continue;
        }
        if (at == text.size()) {
            break;
        }
        const char escaped = text[at++];
        switch (escaped) {
            case '"':
            case '\\':
            case '/':
                run += escaped;
                break;
            case 'b':
            case 'f':
            case 'n':
            case 'r':
            case 't':
                // Line breaks and tabs become blanks in an alert anyway.
                run += ' ';
                break;
            case 'u': {
                int code = 0;
                bool valid = at + 4 <= text.size();
                for (qsizetype i = 0; valid && i < 4; ++i) {
                    const int digit = hexValue(text[at + i]);
                    valid = digit >= 0;
                    code = code * 16 + digit;
                }
                if (!valid) {
                    run += "\\u";
                    break;
                }
                at += 4;
                flush();
                // Halves of a pair join in the string; a lone half is dropped when shown.
                value += QChar(char16_t(code));
                break;
            }
            default:
                run += '\\';
                run += escaped;
                break;
        }
    }
    return std::nullopt;
}

QString decodeXmlEntities(QString text) {
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    text.replace(QLatin1String("&apos;"), QLatin1String("'"));
    // Last, so that "&amp;lt;" stays the text "&lt;".
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text;
}

// Whether an XML element <code> in text (its attributes aside) holds 401, blanks around it
// allowed.
bool hasCode401(QByteArrayView text) {
    qsizetype at = 0;
    for (;;) {
        const qsizetype open = text.indexOf("<code", at);
        if (open < 0) {
            return false;
        }
        at = open + 5;
        if (at >= text.size()) {
            return false;
        }
        if (text[at] != '>' && !isJsonBlank(text[at])) {
            continue;  // Another element whose name starts with "code".
        }
        const qsizetype tagEnd = text.indexOf('>', at);
        if (tagEnd < 0) {
            return false;
        }
        if (text[tagEnd - 1] == '/') {
            at = tagEnd + 1;  // An empty element.
            continue;
        }
        const qsizetype close = text.indexOf("</code", tagEnd + 1);
        if (close < 0) {
            return false;
        }
        if (text.sliced(tagEnd + 1, close - tagEnd - 1).trimmed() == QByteArrayView("401")) {
            return true;
        }
        at = close;
    }
}

// Pixels for a JPEG: 32-bit RGB, opaque (transparency shows white, as on a web page) and in
// sRGB, which is what the web assumes of an image without a profile.
QImage opaqueSrgbPixels(const QImage& image) {
    QImage pixels;
    if (image.hasAlphaChannel()) {
        pixels = QImage(image.size(), QImage::Format_RGB32);
        pixels.fill(Qt::white);
        QPainter painter(&pixels);
        painter.drawImage(0, 0, image);
        painter.end();
        pixels.setColorSpace(image.colorSpace());
    } else {
        pixels = image.convertToFormat(QImage::Format_RGB32);
    }
    if (pixels.colorSpace().isValid() && pixels.colorSpace() != QColorSpace(QColorSpace::SRgb)) {
        pixels.convertToColorSpace(QColorSpace::SRgb);
    }
    return pixels;
}

}  // namespace

QUrl TwitterApi::apiRoot() {
    return onApi(QString());
}

QUrl TwitterApi::authorizeUrl() {
    return onApi(QStringLiteral("/oauth/authorize"));
}

QUrl TwitterApi::requestTokenUrl() {
    return onApi(QStringLiteral("/oauth/request_token"));
}

QUrl TwitterApi::accessTokenUrl() {
    return onApi(QStringLiteral("/oauth/access_token"));
}

QUrl TwitterApi::statusUpdateUrl() {
    return onApi(QStringLiteral("/1/statuses/update.json"));
}

QUrl TwitterApi::verifyCredentialsUrl() {
    return onApi(QStringLiteral("/1/account/verify_credentials.json"));
}

QUrl TwitterApi::imageUploadUrl() {
    return onBase("twitterImageHostURL", QStringLiteral("/api/2/upload.xml"));
}

QString TwitterApi::tagText(const QString& tag) {
    // Composed first, so that an accent typed as a separate mark stays on its letter.
    const QString composed = tag.normalized(QString::NormalizationForm_C);
    QString text;
    for (const char32_t c : composed.toUcs4()) {
        if (QChar::isLetter(c) || QChar::isDigit(c)) {
            text += QString::fromUcs4(&c, 1);
        }
    }
    return text;
}

QString TwitterApi::statusForItem(const ShareItem& item) {
    if (item.custom().contains(QStringLiteral("status"))) {
        return item.customValueForKey(QStringLiteral("status"));
    }
    QStringList parts;
    const QString start =
        (item.shareType() == ShareTypeText ? item.text() : item.title()).trimmed();
    if (!start.isEmpty()) {
        parts << start;
    }
    for (const QString& tag : item.tags()) {
        const QString text = tagText(tag);
        if (!text.isEmpty()) {
            parts << QLatin1Char('#') + text;
        }
    }
    if (!item.URL().isEmpty()) {
        // Escapes of letters are read as the letters, so a link reads as the user knows
        // it; spaces, delimiters and control characters stay escaped, or the link posted
        // would no longer be the same link, or no longer one link.
        parts << item.URL().toString(QUrl::EncodeSpaces);
    }
    return parts.join(QLatin1Char(' '));
}

bool TwitterApi::isValidStatus(const QString& status) {
    return !status.isEmpty() && status.size() <= kMaxStatusLength;
}

QByteArray TwitterApi::fitJpeg(const std::function<QByteArray(int quality)>& encode,
                               qsizetype maxBytes) {
    QByteArray data;
    for (int quality = 90; quality >= 10; quality -= 10) {
        data = encode(quality);
        if (data.isEmpty() || data.size() <= maxBytes) {
            return data;
        }
    }
    return data;
}

QByteArray TwitterApi::jpeg(const QImage& image, int quality) {
    if (image.isNull()) {
        return {};
    }
    const QImage pixels = opaqueSrgbPixels(image);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    JpegRowEncoder encoder;
    QString error;
    const bool encoded = encoder.start(buffer, pixels.width(), pixels.height(),
                                       qBound(0, quality, 100), {}, &error) &&
                         encoder.writeRows(reinterpret_cast<const QRgb*>(pixels.constBits()),
                                           pixels.bytesPerLine(), pixels.height(), &error) &&
                         encoder.finish(&error);
    if (!encoded) {
        qWarning().noquote() << "The image for Twitter could not be made a JPEG:" << error;
        return {};
    }
    return data;
}

QByteArray TwitterApi::imageUploadBody(const QByteArray& jpeg, const QString& status) {
    const QByteArray boundary(kBoundary);
    QByteArray body;
    body.reserve(jpeg.size() + 400);
    body += "--" + boundary + "\r\n";
    body += "Content-Disposition: form-data; name=\"media\"; filename=\"upload.jpg\"\r\n";
    body += "Content-Type: image/jpg\r\n\r\n";
    body += jpeg;
    body += "\r\n--" + boundary + "\r\n";
    body += "Content-Disposition: form-data; name=\"message\"\r\n\r\n";
    body += status.toUtf8();
    body += "\r\n--" + boundary + "--\r\n";
    return body;
}

QByteArray TwitterApi::imageUploadContentType() {
    return QByteArray("multipart/form-data; boundary=") + kBoundary;
}

std::optional<QString> TwitterApi::linkFromUploadAnswer(const QByteArray& body) {
    const QByteArrayView text = scanned(body);
    // Lower case has the same length in ASCII, so positions carry over.
    const QByteArray lower = text.toByteArray().toLower();
    const qsizetype open = lower.indexOf("<url>");
    if (open < 0) {
        return std::nullopt;
    }
    const qsizetype start = open + 5;
    const qsizetype close = lower.indexOf("</url>", start);
    if (close < 0) {
        return std::nullopt;
    }
    const QString link =
        decodeXmlEntities(QString::fromUtf8(text.sliced(start, close - start))).trimmed();
    // Appended to the status, a link with blanks or control characters in it would no
    // longer be one link.
    for (const QChar c : link) {
        if (c.isSpace() || c.category() == QChar::Other_Control) {
            return std::nullopt;
        }
    }
    if (link.isEmpty()) {
        return std::nullopt;
    }
    return link;
}

QString TwitterApi::errorMessage(const QByteArray& body) {
    const QByteArrayView text = scanned(body);
    constexpr QByteArrayView kName("\"error\"");
    for (qsizetype at = text.indexOf(kName); at >= 0; at = text.indexOf(kName, at + 1)) {
        qsizetype next = skipJsonBlanks(text, at + kName.size());
        if (next >= text.size() || text[next] != ':') {
            continue;
        }
        next = skipJsonBlanks(text, next + 1);
        if (next >= text.size() || text[next] != '"') {
            continue;  // An error object or number: no message of this form.
        }
        const std::optional<QString> value = jsonStringAt(text, next + 1);
        if (!value) {
            break;  // Cut off inside the message.
        }
        const QString message = shownMessage(*value, kMaxMessageChars);
        if (!message.isEmpty()) {
            return message;
        }
    }
    return QStringLiteral("Unknown Error");
}

bool TwitterApi::asksForNewLogin(const QString& message, const QByteArray& body) {
    return message == QLatin1String("Invalid / used nonce") ||
           message == QLatin1String("Could not authenticate with OAuth.") ||
           hasCode401(scanned(body));
}

}  // namespace lumigrave::sharing
