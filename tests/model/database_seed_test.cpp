#include "model/database_seed.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "model/database_fixture.h"
#include "model/embosser_load.h"
#include "model/layout_type.h"
#include "platform/bundle.h"
#include "support/file_size_limit.h"
#include "support/log_capture.h"

namespace lumigrave {
namespace {

class DatabaseSeed : public test::DatabaseTest {
  protected:
    static QString seed() {
        return Bundle::pathForResource(QStringLiteral("app_data"), QStringLiteral("sqlite"));
    }
};

TEST_F(DatabaseSeed, TheBundledSeedHoldsAPresetOfEveryKindNewestDefaultFirst) {
    ASSERT_FALSE(seed().isEmpty());
    ASSERT_TRUE(seedDatabaseFile(seed(), dbPath()));
    EmbosserList list;
    ASSERT_TRUE(loadEmbossers(dbPath(), 0, list, nullptr));
    ASSERT_GE(list.embossers.size(), 4u);
    ASSERT_LE(list.embossers.size(), 5u);

    const Embosser& first = *list.embossers[0];
    EXPECT_EQ(list.activeEmbosser, &first);
    EXPECT_EQ(first.text(), defaultEmbosserText());
    EXPECT_EQ(first.font_name(), QStringLiteral("DejaVuSans-Bold"));
    EXPECT_EQ(first.layoutType(), kLayoutCenter);

    bool corner = false, parallel = false, interlace = false, angled = false;
    for (const auto& e : list.embossers) {
        corner |= e->layoutType() >= kLayoutTopLeft && e->layoutType() <= kLayoutBottomRight &&
                  e->marginHorizontal() > 0 && e->marginVertical() > 0;
        parallel |= e->layoutType() == kLayoutTileParallel;
        interlace |= e->layoutType() == kLayoutTileInterlace;
        angled |= e->text_angle() != 0;
    }
    EXPECT_TRUE(corner);
    EXPECT_TRUE(parallel);
    EXPECT_TRUE(interlace);
    EXPECT_TRUE(angled);
}

TEST_F(DatabaseSeed, TheCopyIsWritableThoughTheResourceIsNot) {
    ASSERT_TRUE(seedDatabaseFile(seed(), dbPath()));
    Embosser e;
    QString error;
    EXPECT_TRUE(Embosser::dbAddEmbosser(dbPath(), e, &error)) << error.toStdString();
    EXPECT_GT(e.rid(), 0);
}

TEST_F(DatabaseSeed, AnExistingDatabaseIsNeverReplaced) {
    createTable();
    exec(
        QStringLiteral("INSERT INTO embossers VALUES ('mine', 'DejaVuSans-Bold', 0.5, 0.5, 0, "
                       "0, 0, 0, '2020-01-01 00:00:00')"));
    ASSERT_TRUE(seedDatabaseFile(seed(), dbPath()));
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0].text, QStringLiteral("mine"));
}

TEST_F(DatabaseSeed, WithoutASeedNothingIsCreated) {
    test::LogCapture log;
    EXPECT_FALSE(seedDatabaseFile(QString(), dbPath()));
    EXPECT_FALSE(seedDatabaseFile(dirPath() + "/missing.sqlite", dbPath()));
    EXPECT_FALSE(QFileInfo::exists(dbPath()));
    EXPECT_FALSE(seedDatabaseFile(seed(), dirPath() + "/no/such/dir/app_data.sqlite"));
}

// The disk fills up part-way through the copy: no cut-off database is left to be opened
// (and found damaged, or worse, short of presets) on the next start.
TEST_F(DatabaseSeed, ACopyCutShortLeavesNoDatabase) {
    const qint64 seedSize = QFileInfo(seed()).size();
    ASSERT_GT(seedSize, 2048);
    test::LogCapture log;
    bool copied;
    {
        test::FileSizeLimit fullDisk(rlim_t(seedSize - 100));
        copied = seedDatabaseFile(seed(), dbPath());
    }
    EXPECT_FALSE(copied);
    EXPECT_FALSE(QFileInfo::exists(dbPath()));
    EXPECT_TRUE(log.lines().join('\n').contains(QStringLiteral("File too large")))
        << log.lines().join('\n').toStdString();
    ASSERT_TRUE(seedDatabaseFile(seed(), dbPath()));  // and the next start copies it whole
    EXPECT_EQ(QFileInfo(dbPath()).size(), seedSize);
}

}  // namespace
}  // namespace lumigrave
