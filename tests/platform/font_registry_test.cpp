#include "platform/font_registry.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QTemporaryDir>

#include "platform/font_name_table.h"

#include "support/font_copies.h"

namespace lumigrave {
namespace {

TEST(FontRegistry, TheBundledBoldFontIsInstalledUnderItsPostScriptName) {
    EXPECT_EQ(FontRegistry::boldSystemFontName(), QStringLiteral("DejaVuSans-Bold"));
    EXPECT_TRUE(FontRegistry::hasFont(QStringLiteral("DejaVuSans-Bold")));
    EXPECT_TRUE(FontRegistry::familyNames().contains(QStringLiteral("DejaVu Sans")));
    EXPECT_TRUE(FontRegistry::fontNamesForFamilyName(QStringLiteral("DejaVu Sans"))
                    .contains(QStringLiteral("DejaVuSans-Bold")));
    EXPECT_TRUE(FontRegistry::registerBundledFonts());  // a second call is harmless
}

TEST(FontRegistry, FontsComeAtTheAskedSizeInTheirOwnFace) {
    const QFont font = FontRegistry::fontWithName(QStringLiteral("DejaVuSans-Bold"), 37.25);
    EXPECT_EQ(font.pointSizeF(), 37.25);
    const QFontInfo info(font);
    EXPECT_EQ(info.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_TRUE(info.bold());
}

TEST(FontRegistry, UnknownNamesFallBackToTheBundledBoldFont) {
    EXPECT_FALSE(FontRegistry::hasFont(QStringLiteral("ChalkboardSE-Regular")));
    const QFont font = FontRegistry::fontWithName(QStringLiteral("ChalkboardSE-Regular"), 12);
    const QFontInfo info(font);
    EXPECT_EQ(info.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_TRUE(info.bold());
    const QFont empty = FontRegistry::fontWithName(QString(), 12);
    EXPECT_EQ(QFontInfo(empty).family(), QStringLiteral("DejaVu Sans"));
}

TEST(FontRegistry, EveryListedNameResolvesToItsOwnFamily) {
    for (const QString& family : FontRegistry::familyNames()) {
        for (const QString& name : FontRegistry::fontNamesForFamilyName(family)) {
            EXPECT_TRUE(FontRegistry::hasFont(name)) << name.toStdString();
            EXPECT_EQ(FontRegistry::fontWithName(name, 12).family(), family) << name.toStdString();
        }
    }
}

TEST(FontRegistry, AFontAddedWhileRunningIsListedAndGoneOnceRemoved) {
    ASSERT_TRUE(FontRegistry::hasFont(QStringLiteral("DejaVuSans-Bold")));  // read once
    const QByteArray copy = test::renamedBundledFont(42);
    ASSERT_FALSE(copy.isEmpty());
    const int id = QFontDatabase::addApplicationFontFromData(copy);
    ASSERT_GE(id, 0);
    EXPECT_TRUE(FontRegistry::familyNames().contains(test::renamedFamily(42)));
    EXPECT_EQ(FontRegistry::fontNamesForFamilyName(test::renamedFamily(42)),
              QStringList{test::renamedPostScriptName(42)});
    EXPECT_EQ(FontRegistry::fontWithName(test::renamedPostScriptName(42), 12).family(),
              test::renamedFamily(42));

    ASSERT_TRUE(QFontDatabase::removeApplicationFont(id));
    EXPECT_FALSE(FontRegistry::hasFont(test::renamedPostScriptName(42)));
    EXPECT_TRUE(FontRegistry::hasFont(QStringLiteral("DejaVuSans-Bold")));
}

// Names come from fontconfig's cache where it lists the face, else from the font's own
// name table; both must give the face's real PostScript name.
TEST(FontRegistry, ListedNamesAreTheFacesOwnWhereverTheyAreRead) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("copy.ttf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_GT(file.write(test::renamedBundledFont(7)), 0);
    file.close();
    const int id = QFontDatabase::addApplicationFont(path);
    ASSERT_GE(id, 0);
    FontRegistry::dropCatalogue();

    EXPECT_EQ(FontRegistry::fontNamesForFamilyName(test::renamedFamily(7)),
              QStringList{test::renamedPostScriptName(7)});
    for (const QString& family : FontRegistry::familyNames()) {
        for (const QString& name : FontRegistry::fontNamesForFamilyName(family)) {
            const QByteArray table =
                QRawFont::fromFont(FontRegistry::fontWithName(name, 12)).fontTable("name");
            if (!table.isEmpty()) {
                EXPECT_EQ(postScriptNameFromNameTable(table), name);
            }
        }
    }
    QFontDatabase::removeApplicationFont(id);
}

}  // namespace
}  // namespace lumigrave
