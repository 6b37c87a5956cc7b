#include "cli/cli_main.h"

#include <QGuiApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>

#include "cli/command_line.h"
#include "platform/font_registry.h"
#include "platform/image_loader.h"

namespace lumigrave::cli {

int cliMain(int argc, char** argv) {
    // The arguments are read before Qt sees them, and Qt is given none: Qt takes away
    // what looks like its own options (-reverse, -title, …), which here are values
    // ("--text -reverse").
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const CommandLine commandLine = parseCommandLine(arguments);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (commandLine.command == Command::Help || commandLine.command == Command::Mistake) {
        // Needs no application, so it works wherever Qt could not start.
        return runCommandLine(commandLine, out, err);
    }

    // A command-line tool needs no display; fonts and painting work offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Qt wants a private runtime directory and complains when the session has none.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid()) {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    }
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("lumigrave"));
    FontRegistry::registerBundledFonts();
    ImageLoader::installAllocationLimit();
    return runCommandLine(commandLine, out, err);
}

}  // namespace lumigrave::cli
