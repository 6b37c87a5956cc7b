#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

#include "cli/apply_options.h"

namespace lumigrave::cli {

enum class Command { Demo, List, Apply, Help, Mistake };

// What a whole command line asks for, decided before anything is opened.
struct CommandLine {
    Command command = Command::Demo;
    std::optional<QString> databasePath;  // --db; otherwise the application's own
    ApplyOptions apply;                   // for Apply
    QString error;                        // for Mistake: the line said above the usage

    bool operator==(const CommandLine&) const = default;
};

// lumigrave-cli [--db FILE] [demo | list | apply OPTIONS...]; --db and --help may also
// follow the command. The arguments are those after the program's name.
CommandLine parseCommandLine(const QStringList& arguments);

// Does what the command line asks and returns the exit status: 0 done, 1 when a photo
// or the presets failed, 2 for a mistake in the arguments. Help and mistakes touch
// nothing but the streams; the commands need a QGuiApplication with the bundled fonts.
int runCommandLine(const CommandLine& commandLine, QTextStream& out, QTextStream& err);

}  // namespace lumigrave::cli
