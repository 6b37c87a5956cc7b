#include "platform/font_name_table.h"

#include <cstdint>

namespace lumigrave {

namespace {

constexpr int kPostScriptNameId = 6;
constexpr qsizetype kHeaderSize = 6;
constexpr qsizetype kRecordSize = 12;

quint16 readU16(const QByteArray& data, qsizetype at) {
    return quint16((quint8(data[at]) << 8) | quint8(data[at + 1]));
}

QString decodeUtf16BigEndian(const QByteArray& bytes) {
    QString result;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        result.append(QChar(readU16(bytes, i)));
    }
    return result;
}

}  // namespace

QString postScriptNameFromNameTable(const QByteArray& table) {
    if (table.size() < kHeaderSize) {
        return {};
    }
    const qsizetype count = readU16(table, 2);
    const qsizetype storage = readU16(table, 4);
    QString macName;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype record = kHeaderSize + i * kRecordSize;
        if (record + kRecordSize > table.size()) {
            break;
        }
        const quint16 platform = readU16(table, record);
        const quint16 encoding = readU16(table, record + 2);
        const quint16 nameId = readU16(table, record + 6);
        const qsizetype length = readU16(table, record + 8);
        const qsizetype offset = storage + readU16(table, record + 10);
        if (nameId != kPostScriptNameId || length == 0 || offset + length > table.size()) {
            continue;
        }
        const QByteArray bytes = table.mid(offset, length);
        const bool unicode = platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10));
        if (unicode) {
            return decodeUtf16BigEndian(bytes);
        }
        if (platform == 1 && encoding == 0 && macName.isEmpty()) {
            // PostScript names are printable ASCII, which Mac Roman shares.
            macName = QString::fromLatin1(bytes);
        }
    }
    return macName;
}

}  // namespace lumigrave
