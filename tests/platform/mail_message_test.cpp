// The message text the composer hands to sendmail and writes as a draft.
#include "platform/mail_message.h"

#include <gtest/gtest.h>

#include "support/mime_parts.h"

namespace lumigrave {
namespace {

using test::decodeHeader;
using test::MimePart;
using test::parseMime;

const QDateTime kDate(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC);

MailMessage photoMessage() {
    MailMessage message;
    message.toRecipients = {QStringLiteral("friend@example.test")};
    message.subject = QStringLiteral("Photo Sharing");
    message.body = QStringLiteral("\nCreated by Lumigrave.");
    message.attachments.append({QByteArray("\x89PNG\r\n\x1a\n\0\xff", 10),
                                QStringLiteral("image/png"), QStringLiteral("Lumigrave")});
    return message;
}

QByteArray compose(const MailMessage& message, const QByteArray& lineEnding = "\n") {
    return composeMimeMessage(message, kDate, boundaryFor(message), lineEnding);
}

TEST(MailMessage, CarriesTheBodyAndTheAttachmentAsAReaderSeesThem) {
    for (const QByteArray& lineEnding : {QByteArray("\n"), QByteArray("\r\n")}) {
        const QByteArray text = compose(photoMessage(), lineEnding);
        if (lineEnding == "\r\n") {
            EXPECT_FALSE(QByteArray(text).replace("\r\n", "").contains('\n'));
        } else {
            EXPECT_FALSE(text.contains('\r'));
        }
        const MimePart message = parseMime(text);
        EXPECT_EQ(message.header("to"), "friend@example.test");
        EXPECT_EQ(message.header("subject"), "Photo Sharing");
        EXPECT_EQ(message.header("mime-version"), "1.0");
        EXPECT_EQ(message.header("date"), "01 Mar 2026 09:30:00 +0000");
        ASSERT_EQ(message.contentType(), "multipart/mixed");
        ASSERT_EQ(message.parts.size(), 2);
        EXPECT_EQ(message.parts[0].contentType(), "text/plain");
        EXPECT_EQ(message.parts[0].parameter("content-type", "charset"), "UTF-8");
        EXPECT_EQ(QString::fromUtf8(message.parts[0].body), "\nCreated by Lumigrave.");
        EXPECT_EQ(message.parts[1].contentType(), "image/png");
        EXPECT_EQ(message.parts[1].parameter("content-disposition", "filename"), "Lumigrave");
        EXPECT_TRUE(message.parts[1].header("content-disposition").startsWith("attachment"));
        EXPECT_EQ(message.parts[1].body, photoMessage().attachments[0].data);
    }
}

TEST(MailMessage, TextOutsideAsciiIsEncodedAndComesBackWhole) {
    MailMessage message = photoMessage();
    message.subject =
        QStringLiteral("Fotos vom Bodensee \u2014 Gr\u00fc\u00dfe aus M\u00fcnchen \U0001F600!");
    message.body = QStringLiteral("Gr\u00fc\u00dfe\n") + QString(1200, u'x');
    message.attachments[0].fileName = QStringLiteral("B\u00fcro \"Foto\".png");
    const QByteArray text = compose(message);
    for (const QByteArray& line : text.split('\n')) {
        EXPECT_LE(line.size(), 998);
        for (char c : line) {
            EXPECT_TRUE(static_cast<unsigned char>(c) < 0x80) << line.toStdString();
        }
    }
    const MimePart parsed = parseMime(text);
    EXPECT_EQ(decodeHeader(parsed.header("subject")), message.subject);
    EXPECT_EQ(QString::fromUtf8(parsed.parts[0].body).replace("\r\n", "\n"), message.body);
    EXPECT_EQ(parsed.parts[1].parameter("content-disposition", "filename"),
              message.attachments[0].fileName);
}

TEST(MailMessage, LineBreaksTypedIntoHeadersAddNoHeader) {
    MailMessage message = photoMessage();
    message.subject = QStringLiteral("Hello\r\nBcc: everyone@example.test");
    message.toRecipients = {QStringLiteral("friend@example.test\nCc: other@example.test")};
    message.attachments[0].fileName = QStringLiteral("a\r\nContent-Type: text/html");
    const MimePart parsed = parseMime(compose(message));
    EXPECT_FALSE(parsed.headers.contains("bcc"));
    EXPECT_FALSE(parsed.headers.contains("cc"));
    EXPECT_EQ(parsed.header("subject"), "Hello Bcc: everyone@example.test");
    EXPECT_EQ(parsed.parts[1].contentType(), "image/png");
}

TEST(MailMessage, AnUnusableMimeTypeBecomesOctetStream) {
    for (const char* type : {"", "image", "image/png; name=x", "text/plain\r\nX: y"}) {
        MailMessage message = photoMessage();
        message.attachments[0].mimeType = QString::fromLatin1(type);
        EXPECT_EQ(parseMime(compose(message)).parts[1].contentType(), "application/octet-stream")
            << type;
    }
}

TEST(MailMessage, WithoutAttachmentsTheBodyIsTheMessage) {
    MailMessage message = photoMessage();
    message.attachments.clear();
    message.body = QStringLiteral("--=_lumigrave_0\n.\nplain");
    const MimePart parsed = parseMime(compose(message));
    EXPECT_EQ(parsed.contentType(), "text/plain");
    EXPECT_EQ(parsed.body, "--=_lumigrave_0\n.\nplain\n");
}

TEST(MailMessage, TheBoundaryNeverOccursInTheBody) {
    MailMessage message = photoMessage();
    for (int i = 0; i < 20; ++i) {
        const QByteArray boundary = boundaryFor(message);
        EXPECT_TRUE(boundary.startsWith("=_lumigrave_"));
        EXPECT_FALSE(message.body.toUtf8().contains(boundary));
        message.body += QString::fromLatin1(boundary) + u'\n';
    }
}

}  // namespace
}  // namespace lumigrave
