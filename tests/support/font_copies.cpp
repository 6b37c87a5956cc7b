#include "support/font_copies.h"

#include <QFile>
#include <QtEndian>

namespace lumigrave::test {

namespace {

// Every occurrence of from, in both encodings a name table uses (UTF-16 big-endian and
// single-byte), replaced in place by to, which has the same length.
void replaceName(QByteArray& table, const QString& from, const QString& to) {
    Q_ASSERT(from.size() == to.size());
    QByteArray wideFrom;
    QByteArray wideTo;
    for (int i = 0; i < from.size(); ++i) {
        wideFrom.append('\0').append(char(from[i].unicode()));
        wideTo.append('\0').append(char(to[i].unicode()));
    }
    table.replace(wideFrom, wideTo);
    table.replace(from.toLatin1(), to.toLatin1());
}

QString digits(int number) {
    return QString::number(number).rightJustified(6, QLatin1Char('0'));
}

}  // namespace

QString renamedFamily(int number) {
    return QStringLiteral("Copy ") + digits(number);
}

QString renamedPostScriptName(int number) {
    return QStringLiteral("Copy") + digits(number) + QStringLiteral("-Bold");
}

QByteArray renamedBundledFont(int number) {
    static const QByteArray original = [] {
        QFile file(QStringLiteral(":/fonts/DejaVuSans-Bold.ttf"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    if (original.size() < 12 || number < 0 || number > 999999) {
        return {};
    }
    QByteArray font = original;
    const auto* bytes = reinterpret_cast<const uchar*>(font.constData());
    const int tables = qFromBigEndian<quint16>(bytes + 4);
    for (int i = 0; i < tables; ++i) {
        const qsizetype record = 12 + qsizetype(i) * 16;
        if (record + 16 > font.size()) {
            return {};
        }
        if (font.mid(record, 4) != "name") {
            continue;
        }
        const quint32 offset = qFromBigEndian<quint32>(bytes + record + 8);
        const quint32 length = qFromBigEndian<quint32>(bytes + record + 12);
        if (qsizetype(offset) + qsizetype(length) > font.size()) {
            return {};
        }
        QByteArray table = font.mid(offset, length);
        // The longer name first: the PostScript name has no space.
        replaceName(table, QStringLiteral("DejaVu Sans"), renamedFamily(number));
        replaceName(table, QStringLiteral("DejaVuSans"), QStringLiteral("Copy") + digits(number));
        font.replace(offset, length, table);
        return font;
    }
    return {};
}

}  // namespace lumigrave::test
