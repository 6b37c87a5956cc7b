#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <optional>

namespace lumigrave {

// XML property lists in the form the original platform writes and other tools (Python's
// plistlib among them) read: the XML declaration, the plist DOCTYPE and one value inside
// <plist version="1.0">.
//
// Values map as: QVariantMap (or QVariantHash) <-> dict, QVariantList (QStringList on
// write) <-> array, QString <-> string, bool <-> true/false, any integral type <-> integer
// (read back as qint64, or quint64 above its range), double and float <-> real,
// QByteArray <-> data (base64), QDateTime <-> date (UTC, whole seconds).
//
// Nothing is written that cannot be read back: a value of another type, a string holding a
// character XML cannot carry, nesting deeper than kMaxDepth or a document larger than
// kMaxBytes is refused with a message. Every file read is treated as untrusted: the reader
// refuses entity declarations and references, unknown elements, malformed values and
// trailing content with a message that names the line, and never expands anything.
class PropertyList {
  public:
    static constexpr qsizetype kMaxBytes = 16 * 1024 * 1024;
    static constexpr int kMaxDepth = 256;

    // The document, or an empty array with *errorMessage set when root cannot be written.
    static QByteArray toXml(const QVariant& root, QString* errorMessage = nullptr);
    // Writes the document atomically: on failure the file at path stays as it was.
    static bool writeFile(const QString& path, const QVariant& root, QString* errorMessage);

    static std::optional<QVariant> fromXml(const QByteArray& xml, QString* errorMessage);
    static std::optional<QVariant> readFile(const QString& path, QString* errorMessage);
};

}  // namespace lumigrave
