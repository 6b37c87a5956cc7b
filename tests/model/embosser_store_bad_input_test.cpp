// Databases that cannot be used: each store operation fails with the database's own text
// and never loses a row that was there.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "model/database_fixture.h"
#include "model/embosser.h"
#include "model/embosser_load.h"
#include "support/log_capture.h"
#include "support/presets.h"
#include "support/unprivileged.h"

namespace lumigrave {
namespace {

class StoreBadInput : public test::DatabaseTest {
  protected:
    QByteArray fileBytes() {
        QFile f(dbPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Every store operation fails with exactly this message.
    void expectEveryOperationFails(const QString& path, const QString& message) {
        test::LogCapture log;
        Embosser e;
        e.setRid(1);
        QString error;
        EXPECT_FALSE(Embosser::dbAddEmbosser(path, e, &error));
        EXPECT_EQ(error, message);
        EXPECT_EQ(e.rid(), 0);
        e.setRid(1);
        error.clear();
        EXPECT_FALSE(Embosser::dbDeleteEmbosser(path, e, &error));
        EXPECT_EQ(error, message);
        for (EditorGroup forView : test::kEditorGroups) {
            error.clear();
            EXPECT_FALSE(Embosser::dbUpdateEmbosser(path, e, forView, &error)) << int(forView);
            EXPECT_EQ(error, message) << int(forView);
        }
        EXPECT_FALSE(log.lines().isEmpty());
    }

    void insertRow(const QString& text) {
        exec(QStringLiteral("INSERT INTO embossers VALUES ('%1', 'DejaVuSans-Bold', 0.5, 0.5, 0, "
                            "0, 0, 0, '2020-01-01 00:00:00')")
                 .arg(text));
    }
};

TEST_F(StoreBadInput, ADatabaseInAMissingDirectoryIsAFailureNotASilentSuccess) {
    const QString path = dirPath() + "/no/such/dir/app_data.sqlite";
    expectEveryOperationFails(path, QStringLiteral("unable to open database file"));
    EXPECT_FALSE(QFileInfo::exists(dirPath() + "/no"));

    EmbosserList list;
    EXPECT_FALSE(loadEmbossers(path, 0, list, nullptr));
    EXPECT_TRUE(list.embossers.empty());
}

TEST_F(StoreBadInput, ADirectoryWhereTheFileShouldBeCannotBeOpened) {
    ASSERT_TRUE(QDir().mkpath(dbPath()));
    expectEveryOperationFails(dbPath(), QStringLiteral("unable to open database file"));
    EXPECT_TRUE(QFileInfo(dbPath()).isDir());
}

TEST_F(StoreBadInput, AFileThatIsNotADatabaseIsLeftAsItWas) {
    {
        QFile f(dbPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("These are my holiday notes, not a database.\n").repeated(200));
    }
    const QByteArray before = fileBytes();
    expectEveryOperationFails(dbPath(), QStringLiteral("file is not a database"));

    EmbosserList list;
    EXPECT_FALSE(loadEmbossers(dbPath(), 0, list, nullptr));
    EXPECT_TRUE(list.embossers.empty());
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(StoreBadInput, AnUnreadableFileFailsAndKeepsItsRows) {
    createTable();
    insertRow(QStringLiteral("keep me"));
    test::makeWorldReadable(dirPath().toUtf8().constData(), true);
    ASSERT_TRUE(QFile::setPermissions(dbPath(), QFileDevice::Permissions()));
    {
        test::AsUnprivilegedUser nobody;
        expectEveryOperationFails(dbPath(), QStringLiteral("unable to open database file"));
        EmbosserList list;
        EXPECT_FALSE(loadEmbossers(dbPath(), 0, list, nullptr));
    }
    QFile::setPermissions(dbPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0].text, QStringLiteral("keep me"));
}

TEST_F(StoreBadInput, AReadOnlyDatabaseRefusesWritesButStillLoads) {
    createTable();
    insertRow(QStringLiteral("keep me"));
    test::makeWorldReadable(dirPath().toUtf8().constData(), true);
    ASSERT_TRUE(QFile::setPermissions(
        dbPath(), QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    {
        test::AsUnprivilegedUser nobody;
        Embosser e;
        QString error;
        EXPECT_FALSE(Embosser::dbAddEmbosser(dbPath(), e, &error));
        EXPECT_EQ(error, QStringLiteral("attempt to write a readonly database"));
        e.setRid(1);
        EXPECT_FALSE(Embosser::dbUpdateEmbosser(dbPath(), e, EditorGroup::All, &error));
        EXPECT_FALSE(Embosser::dbDeleteEmbosser(dbPath(), e, &error));
        EXPECT_EQ(error, QStringLiteral("attempt to write a readonly database"));

        EmbosserList list;
        ASSERT_TRUE(loadEmbossers(dbPath(), 0, list, nullptr));
        ASSERT_EQ(list.embossers.size(), 1u);
        EXPECT_EQ(list.embossers[0]->text(), QStringLiteral("keep me"));
    }
    QFile::setPermissions(dbPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0].text, QStringLiteral("keep me"));
}

TEST_F(StoreBadInput, ADatabaseWithoutTheTableIsNeverGivenOne) {
    exec(QStringLiteral("CREATE TABLE notes (body TEXT); INSERT INTO notes VALUES ('mine')"));
    expectEveryOperationFails(dbPath(), QStringLiteral("no such table: embossers"));

    // The load neither creates the table nor inserts its default preset.
    EmbosserList list;
    EXPECT_FALSE(loadEmbossers(dbPath(), 0, list, nullptr));
    EXPECT_TRUE(list.embossers.empty());
    expectEveryOperationFails(dbPath(), QStringLiteral("no such table: embossers"));
}

}  // namespace
}  // namespace lumigrave
