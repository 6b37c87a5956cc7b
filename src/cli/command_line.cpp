#include "cli/command_line.h"

#include "cli/apply_command.h"
#include "cli/list_command.h"
#include "cli/option_reader.h"
#include "cli/usage.h"
#include "platform/paths.h"

namespace lumigrave::cli {

namespace {

bool isHelp(const QString& argument) {
    return argument == QLatin1String("--help") || argument == QLatin1String("-h");
}

CommandLine help() {
    CommandLine line;
    line.command = Command::Help;
    return line;
}

CommandLine mistake(const QString& error) {
    CommandLine line;
    line.command = Command::Mistake;
    line.error = error;
    return line;
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine line;
    QString error;
    OptionReader reader(arguments, &error);
    auto takeDatabase = [&] {
        QString path;
        if (!reader.path(QStringLiteral("--db"), "file", &path)) {
            return false;
        }
        line.databasePath = path;
        return true;
    };

    QString command = QStringLiteral("demo");
    while (!reader.atEnd()) {
        const QString a = reader.take();
        if (isHelp(a)) {
            return help();
        }
        if (a == QLatin1String("--db")) {
            if (!takeDatabase()) {
                return mistake(QStringLiteral("lumigrave-cli: ") + error);
            }
        } else if (a.startsWith('-')) {
            return mistake(QStringLiteral("lumigrave-cli: unknown option %1").arg(a));
        } else {
            command = a;
            break;
        }
    }

    if (command == QLatin1String("apply")) {
        std::optional<ApplyOptions> options = parseApplyOptions(reader.rest(), &error);
        if (!options) {
            return mistake(QStringLiteral("lumigrave-cli apply: ") + error);
        }
        if (options->help) {
            return help();
        }
        if (options->databasePath) {
            line.databasePath = options->databasePath;
            options->databasePath.reset();
        }
        line.command = Command::Apply;
        line.apply = *options;
        return line;
    }
    if (command == QLatin1String("demo")) {
        line.command = Command::Demo;
    } else if (command == QLatin1String("list")) {
        line.command = Command::List;
    } else {
        return mistake(QStringLiteral("lumigrave-cli: unknown command \"%1\"").arg(command));
    }
    // demo and list take nothing but --db and --help.
    while (!reader.atEnd()) {
        const QString a = reader.take();
        if (isHelp(a)) {
            return help();
        }
        if (a != QLatin1String("--db")) {
            return mistake(
                QStringLiteral("lumigrave-cli %1: unexpected argument \"%2\"").arg(command, a));
        }
        if (!takeDatabase()) {
            return mistake(QStringLiteral("lumigrave-cli %1: ").arg(command) + error);
        }
    }
    return line;
}

int runCommandLine(const CommandLine& commandLine, QTextStream& out, QTextStream& err) {
    const auto databasePath = [&] {
        return commandLine.databasePath ? *commandLine.databasePath : Paths::appDatabasePath();
    };
    switch (commandLine.command) {
        case Command::Help:
            out << usageText();
            return 0;
        case Command::Mistake:
            err << commandLine.error << "\n" << usageText();
            return 2;
        case Command::Demo:
            return runDemo(databasePath(), out, err);
        case Command::List:
            return runList(databasePath(), out, err);
        case Command::Apply:
            return runApply(commandLine.apply, databasePath(), out, err);
    }
    return 2;
}

}  // namespace lumigrave::cli
