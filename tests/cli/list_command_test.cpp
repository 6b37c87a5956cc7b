// lumigrave-cli list, run as a user runs it: a separate process in a fresh home.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "cli/cli_process.h"
#include "model/embosser.h"
#include "platform/paths.h"
#include "platform/user_defaults.h"
#include "support/temp_home.h"

namespace lumigrave {
namespace {

using test::CliRun;

CliRun cli(const QStringList& arguments) {
    return test::runCli(arguments);
}

TEST(CliList, SeedsAFreshHomeAndListsPresetsAndTheDemoPhotosSizes) {
    test::TempHome home;
    const CliRun run = cli({"list"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(Paths::appDatabasePath()));
    EXPECT_TRUE(run.out.contains(Paths::appDatabasePath()));
    EXPECT_TRUE(
        run.out.contains(QStringLiteral("* 0  \"\u00A9 lumigrave.app\"  DejaVuSans-Bold  "
                                        "Center  width 0.8  opacity 0.6  angle 0\n")))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Tile Interlace")));
    EXPECT_TRUE(
        run.out.contains(QStringLiteral("Output sizes for the demo photo (800 x 500 points):\n"
                                        "  0  800 x 500  (the photo's own size)\n"
                                        "  1  800 x 500\n"
                                        "  2  700 x 437.5\n")))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("  7  400 x 250\n")));
}

TEST(CliList, KeepsTheUsersDatabaseAndMarksTheActivePreset) {
    test::TempHome home;
    ASSERT_EQ(cli({"list"}).status, 0);
    Embosser mine;
    mine.setText(QStringLiteral("Studio Nord"));
    ASSERT_TRUE(Embosser::dbAddEmbosser(Paths::appDatabasePath(), mine, nullptr));
    UserDefaults defaults;
    defaults.setInteger("LastUsedEmbosser", 2);
    ASSERT_TRUE(defaults.synchronize());

    const CliRun run = cli({"list"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("  0  \"Studio Nord\"")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("* 2  ")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("  5  ")));  // the seeded rows are all still there
}

TEST(CliList, AnUnusableDatabaseIsAClearErrorAndNothingIsCreated) {
    test::TempHome home;
    const QString missing = home.filePath("no/such/dir/presets.sqlite");
    CliRun run = cli({"list", "--db", missing});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("The presets cannot be read from")))
        << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(home.filePath("no")));

    const QString notes = home.filePath("notes.txt");
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a database\n");
    file.close();
    run = cli({"list", "--db", notes});
    EXPECT_EQ(run.status, 1);
    QFile again(notes);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray("not a database\n"));
}

// The words are checked in-process (command_line_test); here where the real binary
// sends them and the status it exits with.
TEST(CliList, HelpSucceedsOnTheOutputAndAMistakeFailsOnTheErrors) {
    test::TempHome home;
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("usage: lumigrave-cli")))
        << help.out.toStdString();
    EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();
    const CliRun wrong = cli({"list", "--db"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_TRUE(wrong.out.isEmpty());
    EXPECT_TRUE(
        wrong.err.startsWith(QStringLiteral("lumigrave-cli list: --db needs a file name\n"
                                            "usage: lumigrave-cli")))
        << wrong.err.toStdString();
}

}  // namespace
}  // namespace lumigrave
