#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace lumigrave {

struct MailAttachment {
    QByteArray data;
    QString mimeType;
    QString fileName;
};

// A message as the composer holds it, before it is put into words for a transport.
struct MailMessage {
    QStringList toRecipients;
    QString subject;
    QString body;
    bool bodyIsHTML = false;
    QList<MailAttachment> attachments;
};

// The message as RFC 5322 text with MIME: multipart/mixed with the body first, then each
// attachment in base64 under its type and file name; a message without attachments is
// the body alone. Headers outside ASCII are encoded words, file names outside ASCII RFC
// 2231 parameters; line breaks in header values become spaces, so no text a user typed
// can add a header. lineEnding is "\n" for a local sendmail (which turns it into CRLF
// itself) and "\r\n" for a file another mail program reads. The boundary must not
// occur in any part: boundaryFor() gives one that does not.
QByteArray composeMimeMessage(const MailMessage& message, const QDateTime& date,
                              const QByteArray& boundary, const QByteArray& lineEnding);
QByteArray boundaryFor(const MailMessage& message);

}  // namespace lumigrave
