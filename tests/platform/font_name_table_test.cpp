#include "platform/font_name_table.h"

#include <gtest/gtest.h>

#include <QtEndian>

namespace lumigrave {
namespace {

struct Record {
    quint16 platform, encoding, language, nameId;
    QByteArray bytes;
};

void appendU16(QByteArray& out, quint16 value) {
    out.append(char(value >> 8));
    out.append(char(value & 0xFF));
}

QByteArray table(const std::vector<Record>& records) {
    QByteArray header, storage;
    appendU16(header, 0);
    appendU16(header, quint16(records.size()));
    appendU16(header, quint16(6 + 12 * records.size()));
    for (const Record& r : records) {
        appendU16(header, r.platform);
        appendU16(header, r.encoding);
        appendU16(header, r.language);
        appendU16(header, r.nameId);
        appendU16(header, quint16(r.bytes.size()));
        appendU16(header, quint16(storage.size()));
        storage.append(r.bytes);
    }
    return header + storage;
}

QByteArray utf16be(const char* ascii) {
    QByteArray out;
    for (const char* c = ascii; *c; ++c) {
        appendU16(out, quint8(*c));
    }
    return out;
}

TEST(FontNameTable, ReadsTheWindowsOrMacPostScriptName) {
    EXPECT_EQ(postScriptNameFromNameTable(table(
                  {{3, 1, 0x409, 1, utf16be("Family")}, {3, 1, 0x409, 6, utf16be("Family-Bold")}})),
              QStringLiteral("Family-Bold"));
    EXPECT_EQ(postScriptNameFromNameTable(table({{1, 0, 0, 6, QByteArray("MacName-Italic")}})),
              QStringLiteral("MacName-Italic"));
    // A Unicode record wins over an earlier Mac one.
    EXPECT_EQ(postScriptNameFromNameTable(
                  table({{1, 0, 0, 6, QByteArray("Mac")}, {0, 3, 0, 6, utf16be("Uni")}})),
              QStringLiteral("Uni"));
}

TEST(FontNameTable, DamagedTablesYieldNoNameAndNoCrash) {
    const QByteArray good = table({{3, 1, 0x409, 6, utf16be("Family-Bold")}});
    EXPECT_TRUE(postScriptNameFromNameTable(QByteArray()).isEmpty());
    EXPECT_TRUE(postScriptNameFromNameTable(table({{3, 1, 0x409, 4, utf16be("Full")}})).isEmpty());
    for (qsizetype cut = 0; cut < good.size(); ++cut) {
        EXPECT_TRUE(postScriptNameFromNameTable(good.left(cut)).isEmpty()) << cut;
    }
    // A record count far beyond the data, and a string offset past the end.
    QByteArray lying = good;
    lying[2] = char(0xFF);
    lying[3] = char(0xFF);
    EXPECT_EQ(postScriptNameFromNameTable(lying), QStringLiteral("Family-Bold"));
    QByteArray pastEnd = good;
    pastEnd[6 + 11] = char(0x7F);
    EXPECT_TRUE(postScriptNameFromNameTable(pastEnd).isEmpty());
}

}  // namespace
}  // namespace lumigrave
