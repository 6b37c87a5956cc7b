#include "model/embosser_load.h"

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <QFile>

#include "model/database_fixture.h"
#include "model/layout_type.h"
#include "support/log_capture.h"
#include "support/unprivileged.h"

namespace lumigrave {
namespace {

class EmbosserLoad : public test::DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        createTable();
    }

    void insertRow(const QString& text, const QString& lastUsed,
                   const QString& values = QStringLiteral("0.5, 0.5, 0, 0, 0, 0")) {
        exec(QStringLiteral("INSERT INTO embossers VALUES ('%1', 'DejaVuSans-Bold', %2, '%3')")
                 .arg(text, values, lastUsed));
    }

    // Three presets; "c" is the newest.
    void insertThree() {
        insertRow("a", "2020-01-01 00:00:01");
        insertRow("c", "2020-01-01 00:00:03");
        insertRow("b", "2020-01-01 00:00:02");
    }

    // A list as the application holds it before a reload.
    static EmbosserList listInMemory() {
        EmbosserList list;
        list.embossers.push_back(std::make_unique<Embosser>());
        list.embossers[0]->setText(QStringLiteral("in memory"));
        list.activeEmbosser = list.embossers[0].get();
        return list;
    }

    static QStringList texts(const EmbosserList& list) {
        QStringList result;
        for (const auto& e : list.embossers) {
            result << e->text();
        }
        return result;
    }
};

TEST_F(EmbosserLoad, ReadsNewestFirstAndPicksTheStoredPosition) {
    insertThree();
    EmbosserList list;
    ASSERT_TRUE(loadEmbossers(dbPath(), 1, list, nullptr));
    EXPECT_EQ(texts(list), (QStringList{"c", "b", "a"}));
    EXPECT_EQ(list.activeEmbosser, list.embossers[1].get());
    EXPECT_EQ(list.embossers[0]->rid(), 2);
    EXPECT_EQ(list.embossers[2]->rid(), 1);
}

TEST_F(EmbosserLoad, AStoredPositionOutOfRangeSelectsTheNewest) {
    insertThree();
    for (qint64 position : {qint64(3), qint64(7), qint64(-1), qint64(1) << 40}) {
        EmbosserList list;
        ASSERT_TRUE(loadEmbossers(dbPath(), position, list, nullptr));
        EXPECT_EQ(list.activeEmbosser, list.embossers[0].get()) << position;
    }
}

TEST_F(EmbosserLoad, AnEmptyTableGetsOneDefaultPresetStoredAndActive) {
    EmbosserList list;
    QString alert;
    ASSERT_TRUE(loadEmbossers(dbPath(), 4, list, &alert));
    EXPECT_TRUE(alert.isEmpty());
    ASSERT_EQ(list.embossers.size(), 1u);
    const Embosser& e = *list.embossers[0];
    EXPECT_EQ(list.activeEmbosser, &e);
    EXPECT_EQ(e.text(), defaultEmbosserText());
    EXPECT_EQ(e.opacity(), 0.6f);
    EXPECT_EQ(e.width_ratio(), 0.8f);
    EXPECT_EQ(e.rid(), 1);
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0].text, defaultEmbosserText());
}

TEST_F(EmbosserLoad, AFailedDefaultInsertIsHandedBackForTheAlertAndThePresetStillUsed) {
    test::makeWorldReadable(dirPath().toUtf8().constData(), true);
    QFile::setPermissions(dbPath(), QFileDevice::ReadOwner | QFileDevice::ReadOther);
    test::AsUnprivilegedUser nobody;
    EmbosserList list;
    QString alert;
    test::LogCapture log;
    ASSERT_TRUE(loadEmbossers(dbPath(), 0, list, &alert));
    EXPECT_EQ(alert, QStringLiteral("attempt to write a readonly database"));
    ASSERT_EQ(list.embossers.size(), 1u);
    EXPECT_EQ(list.activeEmbosser, list.embossers[0].get());
    EXPECT_EQ(list.embossers[0]->rid(), 0);
}

TEST_F(EmbosserLoad, OutOfRangeRowsLoadAsTheFallbacksAndStayStored) {
    // text, font, width, opacity, angle, layout, margins
    insertRow("zero opacity", "2020-01-01 00:00:09", "0.5, 0, 0, 2, 0.1, 0.1");
    insertRow("centred margins", "2020-01-01 00:00:08", "0.5, 0.5, 0, 0, 0.1, 0.1");
    insertRow("wild", "2020-01-01 00:00:07", "5, 1.5, 400, 9, 0.7, -1");
    insertRow("negative layout", "2020-01-01 00:00:06", "0.05, 0.5, -3, -1, 0.2, 0.2");
    insertRow("tiled", "2020-01-01 00:00:05", "0.3, 0.4, 45, 6, 0.2, 0.5");
    EmbosserList list;
    ASSERT_TRUE(loadEmbossers(dbPath(), 0, list, nullptr));
    ASSERT_EQ(list.embossers.size(), 5u);

    const Embosser& zeroOpacity = *list.embossers[0];
    EXPECT_EQ(zeroOpacity.opacity(), 1.0f);
    EXPECT_EQ(zeroOpacity.marginHorizontal(), 0.1f);

    const Embosser& centred = *list.embossers[1];
    EXPECT_EQ(centred.marginHorizontal(), 0.0f);
    EXPECT_EQ(centred.marginVertical(), 0.0f);

    const Embosser& wild = *list.embossers[2];
    EXPECT_EQ(wild.width_ratio(), 1.0f);
    EXPECT_EQ(wild.opacity(), 1.0f);
    EXPECT_EQ(wild.text_angle(), 0.0f);
    EXPECT_EQ(wild.layoutType(), kLayoutCenter);
    EXPECT_EQ(wild.marginHorizontal(), 0.0f);

    const Embosser& negative = *list.embossers[3];
    EXPECT_EQ(negative.layoutType(), kLayoutCenter);
    EXPECT_EQ(negative.width_ratio(), 1.0f);
    EXPECT_EQ(negative.text_angle(), 0.0f);

    const Embosser& tiled = *list.embossers[4];
    EXPECT_EQ(tiled.layoutType(), kLayoutTileInterlace);
    EXPECT_EQ(tiled.width_ratio(), 0.3f);
    EXPECT_EQ(tiled.text_angle(), 45.0f);
    EXPECT_EQ(tiled.marginHorizontal(), 0.2f);
    EXPECT_EQ(tiled.marginVertical(), 0.5f);

    // Loading repairs the presets in memory only; the rows stay as they were.
    EXPECT_EQ(rows().size(), 5u);
    EXPECT_EQ(row(1)->opacity, 0.0);
}

TEST_F(EmbosserLoad, ATableThatCannotBeReadLeavesTheListAsItWas) {
    EmbosserList list = listInMemory();
    exec(QStringLiteral("DROP TABLE embossers"));

    test::LogCapture log;
    EXPECT_FALSE(loadEmbossers(dbPath(), 0, list, nullptr));
    ASSERT_EQ(list.embossers.size(), 1u);
    EXPECT_EQ(list.activeEmbosser, list.embossers[0].get());
    EXPECT_EQ(list.activeEmbosser->text(), QStringLiteral("in memory"));
    EXPECT_FALSE(log.lines().isEmpty());
}

// A database whose last preset in load order is damaged: its long text runs on through
// a chain of overflow pages at the end of the file, and the chain's links are broken.
// With an index on last_used the rows come one by one, so reading stops after the good
// ones; without it, SQLite sorts first and stops before any.
class DamagedEmbosserLoad : public EmbosserLoad {
  protected:
    void damage(bool indexed) {
        if (indexed) {
            exec(QStringLiteral("CREATE INDEX by_last_used ON embossers (last_used)"));
        }
        insertThree();
        insertRow(QString(50'000, 'x'), QStringLiteral("2019-01-01 00:00:00"));
        QFile file(dbPath());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const qint64 pageSize = 4096;  // SQLite's default
        ASSERT_EQ(file.size() % pageSize, 0);
        const qint64 pages = file.size() / pageSize;
        ASSERT_GT(pages, 12);  // the text's overflow pages are the last ones
        // Each overflow page starts with the number of the next; point them nowhere.
        for (qint64 page = pages - 6; page < pages; ++page) {
            file.seek(page * pageSize);
            file.write(QByteArray(4, '\xFF'));
        }
    }

    // How many rows the loader's query yields before SQLite fails, read without our code.
    int rowsBeforeTheFailure() {
        sqlite3* db = nullptr;
        sqlite3_open(dbPath().toUtf8().constData(), &db);
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT rowid, text, font_name, width_ratio, opacity, text_angle, "
                           "layout_type, margin_horizontal, margin_vertical FROM embossers "
                           "ORDER BY last_used DESC",
                           -1, &select, nullptr);
        int rows = 0;
        int rc;
        while ((rc = sqlite3_step(select)) == SQLITE_ROW) {
            ++rows;
        }
        sqlite3_finalize(select);
        sqlite3_close(db);
        return rc == SQLITE_CORRUPT ? rows : -1;
    }
};

TEST_F(DamagedEmbosserLoad, ReadingThatStopsPartWayFailsWithTheDatabasesMessage) {
    damage(true);
    ASSERT_EQ(rowsBeforeTheFailure(), 3);  // the three good presets come first
    EmbosserList list = listInMemory();
    QString alert;
    test::LogCapture log;
    EXPECT_FALSE(loadEmbossers(dbPath(), 0, list, &alert));
    EXPECT_EQ(alert, QStringLiteral("database disk image is malformed"));
    // Not three of four presets passed off as all of them: the list is as it was.
    ASSERT_EQ(list.embossers.size(), 1u);
    EXPECT_EQ(list.activeEmbosser, list.embossers[0].get());
    EXPECT_EQ(list.activeEmbosser->text(), QStringLiteral("in memory"));
    EXPECT_TRUE(log.lines().join(' ').contains(QStringLiteral("stopped after 3")))
        << log.lines().join('\n').toStdString();
}

TEST_F(DamagedEmbosserLoad, ReadingThatFailsAtOnceAddsNoDefaultPreset) {
    damage(false);
    ASSERT_EQ(rowsBeforeTheFailure(), 0);
    EmbosserList list = listInMemory();
    QString alert;
    test::LogCapture log;
    EXPECT_FALSE(loadEmbossers(dbPath(), 0, list, &alert));
    EXPECT_EQ(alert, QStringLiteral("database disk image is malformed"));
    EXPECT_EQ(list.activeEmbosser->text(), QStringLiteral("in memory"));
    // No default preset was written into the damaged table as though it were empty.
    sqlite3* db = nullptr;
    sqlite3_open(dbPath().toUtf8().constData(), &db);
    sqlite3_stmt* count = nullptr;
    sqlite3_prepare_v2(db, "SELECT max(rowid) FROM embossers", -1, &count, nullptr);
    ASSERT_EQ(sqlite3_step(count), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(count, 0), 4);
    sqlite3_finalize(count);
    sqlite3_close(db);
}

TEST_F(EmbosserLoad, AReloadReplacesTheListAndAPresetEditedLaterMovesToTheFront) {
    insertThree();
    EmbosserList list;
    ASSERT_TRUE(loadEmbossers(dbPath(), 0, list, nullptr));
    // The user makes "a" (position 2) active and edits it; the preference still says 2.
    Embosser& a = *list.embossers[2];
    ASSERT_TRUE(Embosser::dbUpdateEmbosser(dbPath(), a, EditorGroup::Text, nullptr));

    ASSERT_TRUE(loadEmbossers(dbPath(), 2, list, nullptr));
    EXPECT_EQ(texts(list), (QStringList{"a", "c", "b"}));
    EXPECT_EQ(list.activeEmbosser->text(), QStringLiteral("b"));
}

}  // namespace
}  // namespace lumigrave
