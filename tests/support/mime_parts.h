#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

namespace lumigrave::test {

// A MIME entity read back the way a mail reader reads it, for tests to check what a
// message carries rather than how it was spelled.
struct MimePart {
    // Header names in lower case, folded lines joined.
    QMap<QByteArray, QByteArray> headers;
    // The body with its transfer encoding undone (base64 or none); lines end in "\n".
    QByteArray body;
    // A multipart's parts, in order.
    QList<MimePart> parts;

    QByteArray header(const QByteArray& name) const { return headers.value(name.toLower()); }
    // "type/subtype" in lower case.
    QByteArray contentType() const;
    // A parameter of a header ("boundary", "filename"), unquoted; RFC 2231 values decoded.
    QString parameter(const QByteArray& headerName, const QByteArray& name) const;
};

// Reads a message with CRLF or LF line ends.
MimePart parseMime(const QByteArray& message);
// A header value with its RFC 2047 encoded words decoded.
QString decodeHeader(const QByteArray& value);

}  // namespace lumigrave::test
