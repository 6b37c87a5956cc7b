// The whole command line: which command runs with which database, help, and the exact
// words of every mistake, all decided before anything is opened.
#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <functional>
#include <ostream>

#include "cli/usage.h"
#include "model/layout_type.h"
#include "platform/paths.h"
#include "support/temp_home.h"

namespace lumigrave::cli {

void PrintTo(const CommandLine& line, std::ostream* out) {
    *out << "command " << int(line.command) << " db "
         << (line.databasePath ? line.databasePath->toStdString() : std::string("-")) << " files "
         << line.apply.files.join('|').toStdString() << " error \"" << line.error.toStdString()
         << "\"";
}

namespace {

using Change = std::function<void(CommandLine&)>;

struct CommandRow {
    const char* name;
    QStringList arguments;
    CommandLine expected;
};

std::ostream& operator<<(std::ostream& out, const CommandRow& row) {
    return out << row.arguments.join(' ').toStdString();
}

CommandLine line(Command command, std::optional<QString> database = std::nullopt,
                 const Change& change = {}) {
    CommandLine l;
    l.command = command;
    l.databasePath = std::move(database);
    if (change) {
        change(l);
    }
    return l;
}

CommandLine mistake(const QString& error) {
    CommandLine l;
    l.command = Command::Mistake;
    l.error = error;
    return l;
}

// apply with one photo into "out", plus what the row changes.
CommandLine applyLine(std::optional<QString> database = std::nullopt,
                      const std::function<void(ApplyOptions&)>& change = {}) {
    return line(Command::Apply, std::move(database), [&](CommandLine& l) {
        l.apply.files = QStringList{"a.jpg"};
        l.apply.outputDirectory = QStringLiteral("out");
        if (change) {
            change(l.apply);
        }
    });
}

const QString kMine = QStringLiteral("mine.sqlite");

std::string rowName(const testing::TestParamInfo<CommandRow>& info) {
    return info.param.name;
}

class CommandLineTable : public testing::TestWithParam<CommandRow> {};

TEST_P(CommandLineTable, ChoosesTheCommandOrSaysWhatIsWrong) {
    const CommandRow& row = GetParam();
    EXPECT_EQ(parseCommandLine(row.arguments), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandLineTable,
    testing::Values(
        CommandRow{"NothingIsTheDemo", {}, line(Command::Demo)},
        CommandRow{"Demo", {"demo"}, line(Command::Demo)},
        CommandRow{"List", {"list"}, line(Command::List)},
        CommandRow{"Apply", {"apply", "a.jpg", "-o", "out"}, applyLine()},
        CommandRow{"DatabaseAlone", {"--db", "mine.sqlite"}, line(Command::Demo, kMine)},
        CommandRow{
            "DatabaseBeforeList", {"--db", "mine.sqlite", "list"}, line(Command::List, kMine)},
        CommandRow{
            "DatabaseAfterList", {"list", "--db", "mine.sqlite"}, line(Command::List, kMine)},
        CommandRow{
            "DatabaseAfterDemo", {"demo", "--db", "mine.sqlite"}, line(Command::Demo, kMine)},
        CommandRow{"LastDatabaseCounts",
                   {"--db", "other.sqlite", "--db", "mine.sqlite", "list"},
                   line(Command::List, kMine)},
        CommandRow{"DatabaseBeforeApply",
                   {"--db", "mine.sqlite", "apply", "a.jpg", "-o", "out"},
                   applyLine(kMine)},
        CommandRow{"DatabaseAmongApplysOptions",
                   {"apply", "a.jpg", "-o", "out", "--db", "mine.sqlite"},
                   applyLine(kMine)},
        CommandRow{"ApplysDatabaseOverridesTheEarlierOne",
                   {"--db", "other.sqlite", "apply", "--db", "mine.sqlite", "a.jpg", "-o", "out"},
                   applyLine(kMine)},
        CommandRow{"ApplyOptionsAreHandedOn",
                   {"apply", "--quality", "75", "--layout", "top-left", "a.jpg", "-o", "out"},
                   applyLine(std::nullopt,
                             [](ApplyOptions& o) {
                                 o.quality = 75;
                                 o.layoutType = kLayoutTopLeft;
                             })},
        // Used to open a.jpg as the database: --db was looked for among all the arguments.
        CommandRow{
            "DatabaseAsApplysTextIsAText",
            {"apply", "--text", "--db", "a.jpg", "-o", "out"},
            applyLine(std::nullopt, [](ApplyOptions& o) { o.text = QStringLiteral("--db"); })},
        // Used to print the help: --help was looked for among all the arguments.
        CommandRow{
            "HelpAsApplysTextIsAText",
            {"apply", "--text", "-h", "a.jpg", "-o", "out"},
            applyLine(std::nullopt, [](ApplyOptions& o) { o.text = QStringLiteral("-h"); })}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    Help, CommandLineTable,
    testing::Values(
        CommandRow{"Long", {"--help"}, line(Command::Help)},
        CommandRow{"Short", {"-h"}, line(Command::Help)},
        CommandRow{"AfterTheDatabase", {"--db", "mine.sqlite", "--help"}, line(Command::Help)},
        CommandRow{"AfterDemo", {"demo", "--help"}, line(Command::Help)},
        CommandRow{"AfterList", {"list", "-h"}, line(Command::Help)},
        CommandRow{"AmongApplysOptions", {"apply", "a.jpg", "--help"}, line(Command::Help)},
        CommandRow{"BeforeACommand", {"--help", "frobnicate"}, line(Command::Help)}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    Mistakes, CommandLineTable,
    testing::Values(
        CommandRow{"UnknownCommand",
                   {"frobnicate"},
                   mistake("lumigrave-cli: unknown command \"frobnicate\"")},
        CommandRow{
            "CommandsAreLowerCase", {"List"}, mistake("lumigrave-cli: unknown command \"List\"")},
        CommandRow{"HelpAfterAnUnknownCommand",
                   {"frobnicate", "--help"},
                   mistake("lumigrave-cli: unknown command \"frobnicate\"")},
        CommandRow{
            "UnknownOption", {"--verbose"}, mistake("lumigrave-cli: unknown option --verbose")},
        // Qt's own options are not taken: the tool gives Qt none of its arguments.
        CommandRow{"QtsPlatformOption",
                   {"-platform", "offscreen"},
                   mistake("lumigrave-cli: unknown option -platform")},
        CommandRow{"LoneDash", {"-"}, mistake("lumigrave-cli: unknown option -")},
        CommandRow{"DatabaseMissing", {"--db"}, mistake("lumigrave-cli: --db needs a file name")},
        // An empty name would otherwise fall back to the application's own database.
        CommandRow{"DatabaseEmpty",
                   {"--db", "", "list"},
                   mistake("lumigrave-cli: --db needs a file name")},
        CommandRow{"OptionInPlaceOfTheDatabase",
                   {"--db", "--help"},
                   mistake("lumigrave-cli: --db needs a file name, not \"--help\"")},
        CommandRow{"DatabaseMissingAfterList",
                   {"list", "--db"},
                   mistake("lumigrave-cli list: --db needs a file name")},
        CommandRow{"ArgumentToList",
                   {"list", "extra"},
                   mistake("lumigrave-cli list: unexpected argument \"extra\"")},
        CommandRow{"ApplyOptionToList",
                   {"list", "--overwrite"},
                   mistake("lumigrave-cli list: unexpected argument \"--overwrite\"")},
        CommandRow{"PhotoToDemo",
                   {"demo", "a.jpg"},
                   mistake("lumigrave-cli demo: unexpected argument \"a.jpg\"")},
        CommandRow{"TwoCommands",
                   {"list", "demo"},
                   mistake("lumigrave-cli list: unexpected argument \"demo\"")},
        CommandRow{"ApplyAlone",
                   {"apply"},
                   mistake("lumigrave-cli apply: say where the results go with -o DIR")},
        CommandRow{"ApplysOwnMistake",
                   {"apply", "--jobs", "0", "a.jpg", "-o", "out"},
                   mistake("lumigrave-cli apply: --jobs needs a whole number from 1 to 256, "
                           "not \"0\"")}),
    rowName);

TEST(CommandLine, HelpGoesToTheOutputAndSucceeds) {
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    EXPECT_EQ(runCommandLine(parseCommandLine({"--help"}), outStream, errStream), 0);
    outStream.flush();
    errStream.flush();
    EXPECT_EQ(out, usageText());
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
}

TEST(CommandLine, AMistakeIsSaidAboveTheUsageAndTouchesNothing) {
    test::TempHome home;
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const CommandLine line = parseCommandLine({"apply", "--quality", "101", "a.jpg", "-o", "out"});
    EXPECT_EQ(runCommandLine(line, outStream, errStream), 2);
    outStream.flush();
    errStream.flush();
    EXPECT_EQ(err, QStringLiteral("lumigrave-cli apply: --quality needs a whole number from 0 to "
                                  "100, not \"101\"\n") +
                       usageText());
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(QDir(home.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        << QDir(home.path())
               .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
               .join(' ')
               .toStdString();
}

TEST(CommandLine, TheDatabaseGivenIsTheOneListed) {
    test::TempHome home;
    const QString mine = home.filePath("mine.sqlite");
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    EXPECT_EQ(runCommandLine(parseCommandLine({"list", "--db", mine}), outStream, errStream), 0)
        << err.toStdString();
    outStream.flush();
    EXPECT_TRUE(out.startsWith(QStringLiteral("Presets, newest first (%1):\n").arg(mine)))
        << out.toStdString();
    EXPECT_TRUE(QFileInfo::exists(mine));
    EXPECT_FALSE(QFileInfo::exists(Paths::appDatabasePath()));
}

// A layout added to the one list of names is offered and accepted with no other change.
TEST(Usage, EveryLayoutNameIsOfferedAndAccepted) {
    const QStringList lines = usageText().split('\n');
    const auto layoutLine = std::find_if(lines.begin(), lines.end(), [](const QString& l) {
        return l.startsWith(QStringLiteral("  --layout "));
    });
    ASSERT_NE(layoutLine, lines.end()) << usageText().toStdString();
    const QStringList offered = layoutLine->mid(QStringLiteral("  --layout ").size()).split('|');
    ASSERT_EQ(offered.size(), kLayoutTypeCount) << layoutLine->toStdString();
    for (const LayoutTypeNames& row : kLayoutTypeNames) {
        const QString name = QString::fromLatin1(row.name);
        EXPECT_TRUE(offered.contains(name)) << row.name;
        const CommandLine parsed =
            parseCommandLine({"apply", "--layout", name, "a.jpg", "-o", "out"});
        ASSERT_EQ(parsed.command, Command::Apply) << parsed.error.toStdString();
        EXPECT_EQ(parsed.apply.layoutType, int(row.type)) << row.name;
    }
}

}  // namespace
}  // namespace lumigrave::cli
