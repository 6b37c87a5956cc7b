#include "platform/user_defaults.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "support/log_capture.h"
#include "support/temp_home.h"
#include "support/unprivileged.h"

namespace lumigrave {
namespace {

// What the file holds, as another process would read it.
QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

TEST(UserDefaults, KeysNeverSetReadAsZeroFalseOrEmpty) {
    test::TempHome home;
    UserDefaults defaults;
    EXPECT_EQ(defaults.integerForKey("MaxOutputPix"), 0);
    EXPECT_FALSE(defaults.boolForKey("Launched"));
    EXPECT_TRUE(defaults.stringForKey("Anything").isEmpty());
}

TEST(UserDefaults, ListsSurviveAsReadableTextAndAnEmptyListIsNotNone) {
    test::TempHome home;
    QString path;
    {
        UserDefaults defaults;
        defaults.setStringList("SHARE_FAVS_3", {"FacebookSharer", "TwitterSharer"});
        defaults.setStringList("SHARE_FAVS_1", {"ReadLaterSharer"});
        defaults.setStringList("ShareExcluded", {});
        ASSERT_TRUE(defaults.synchronize());
        path = defaults.filePath();
    }
    EXPECT_TRUE(contents(path).contains("FacebookSharer, TwitterSharer"));
    UserDefaults defaults;
    EXPECT_EQ(defaults.stringListForKey("SHARE_FAVS_3"),
              QStringList({"FacebookSharer", "TwitterSharer"}));
    EXPECT_EQ(defaults.stringListForKey("SHARE_FAVS_1"), QStringList{"ReadLaterSharer"});
    EXPECT_TRUE(defaults.hasObjectForKey("ShareExcluded"));
    EXPECT_TRUE(defaults.stringListForKey("ShareExcluded").isEmpty());
    EXPECT_FALSE(defaults.hasObjectForKey("SHARE_FAVS_2"));
    EXPECT_TRUE(defaults.stringListForKey("SHARE_FAVS_2").isEmpty());
}

TEST(UserDefaults, SynchronizedValuesSurviveIntoTheNextStart) {
    test::TempHome home;
    {
        UserDefaults defaults;
        defaults.setBool("Launched", true);
        defaults.setInteger("RequestRateCountdown", 3);
        defaults.setInteger("LastUsedEmbosser", -2);
        defaults.setString("Name", QStringLiteral("Fjord \u00A9"));
        EXPECT_TRUE(defaults.synchronize());
        EXPECT_TRUE(defaults.filePath().startsWith(home.path()));
        EXPECT_TRUE(QFileInfo::exists(defaults.filePath()));
    }
    UserDefaults again;
    EXPECT_TRUE(again.boolForKey("Launched"));
    EXPECT_EQ(again.integerForKey("RequestRateCountdown"), 3);
    EXPECT_EQ(again.integerForKey("LastUsedEmbosser"), -2);
    EXPECT_EQ(again.stringForKey("Name"), QStringLiteral("Fjord \u00A9"));
    again.removeObjectForKey("RequestRateCountdown");
    EXPECT_EQ(again.integerForKey("RequestRateCountdown"), 0);
}

TEST(UserDefaults, AValueThatIsNotANumberReadsAsZero) {
    test::TempHome home;
    UserDefaults defaults;
    defaults.setString("MaxOutputPix", QStringLiteral("large"));
    EXPECT_EQ(defaults.integerForKey("MaxOutputPix"), 0);
}

// A folder on the way to the file is a regular file: no one can write there.
TEST(UserDefaults, AStoreThatCannotBeWrittenSaysWhereAndWhyAndKeepsItsValues) {
    test::TempHome home;
    const QString path = home.filePath("missing/dir/lumigrave.conf");
    UserDefaults defaults(path);
    QFile blocker(home.filePath("missing"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    defaults.setInteger("MaxOutputPix", 800);
    {
        test::LogCapture log;
        EXPECT_FALSE(defaults.synchronize());
        EXPECT_EQ(log.lines(), QStringList{"The preferences could not be saved to " + path +
                                           " - the file or its folder cannot be written"});
    }
    EXPECT_EQ(defaults.integerForKey("MaxOutputPix"), 800);

    // Once the way is clear, the same store writes what it held.
    ASSERT_TRUE(blocker.remove());
    EXPECT_TRUE(defaults.synchronize());
    EXPECT_EQ(contents(path), "[General]\nMaxOutputPix=800\n");
    defaults.setInteger("MaxOutputPix", 1024);
    EXPECT_TRUE(defaults.synchronize());
    EXPECT_EQ(contents(path), "[General]\nMaxOutputPix=1024\n");
}

// A folder the user may not write to (as root, the test drops to an unprivileged user).
TEST(UserDefaults, AStoreInAFolderWithoutWritePermissionSaysSoAndLosesNoChange) {
    test::TempHome home;
    test::makeWorldReadable(QFile::encodeName(home.path()).constData(), true);
    const QString folder = home.filePath("locked");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString path = folder + "/lumigrave.conf";
    {
        UserDefaults earlier(path);
        earlier.setInteger("LastUsedEmbosser", 2);
        ASSERT_TRUE(earlier.synchronize());
    }
    test::makeWorldReadable(QFile::encodeName(path).constData(), false);
    UserDefaults defaults(path);
    defaults.setBool("Launched", true);
    defaults.removeObjectForKey("LastUsedEmbosser");
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner |
                                                  QFile::ReadGroup | QFile::ExeGroup |
                                                  QFile::ReadOther | QFile::ExeOther));
    {
        test::AsUnprivilegedUser nobody;
        test::LogCapture log;
        EXPECT_FALSE(defaults.synchronize());
        ASSERT_EQ(log.lines().size(), 1);
        EXPECT_TRUE(log.lines()[0].contains(path)) << log.lines()[0].toStdString();
        EXPECT_TRUE(log.lines()[0].contains("cannot be written"));
    }
    EXPECT_EQ(contents(path), "[General]\nLastUsedEmbosser=2\n");
    EXPECT_TRUE(defaults.boolForKey("Launched"));
    EXPECT_EQ(defaults.integerForKey("LastUsedEmbosser"), 0);

    // Write access back: the same store saves both the value and the removal.
    ASSERT_TRUE(
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    EXPECT_TRUE(defaults.synchronize());
    EXPECT_EQ(contents(path), "[General]\nLaunched=true\n");
}

}  // namespace
}  // namespace lumigrave
