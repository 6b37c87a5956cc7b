// lumigrave-cli: the batch watermarker, on the same engine and presets as the application.
#include <QGuiApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

#include "cli/list_command.h"
#include "platform/font_registry.h"
#include "platform/paths.h"

namespace {

const char* const kUsage =
    "usage: lumigrave-cli list [--db FILE]\n"
    "\n"
    "  list   print the presets, newest first, and the output sizes of the demo photo\n"
    "  --db   the preset database to use instead of the application's own\n";

}  // namespace

int main(int argc, char** argv) {
    // A command-line tool needs no display; fonts and painting work offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Qt wants a private runtime directory and complains when the session has none.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid()) {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    }
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("lumigrave"));
    lumigrave::FontRegistry::registerBundledFonts();

    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QGuiApplication::arguments().mid(1);
    QString databasePath;
    const qsizetype db = args.indexOf(QStringLiteral("--db"));
    if (db >= 0) {
        if (db + 1 >= args.size()) {
            err << "--db needs a file name\n" << kUsage;
            return 2;
        }
        databasePath = args[db + 1];
        args.remove(db, 2);
    } else {
        databasePath = lumigrave::Paths::appDatabasePath();
    }
    if (args == QStringList{QStringLiteral("list")}) {
        return lumigrave::cli::runList(databasePath, out, err);
    }
    err << kUsage;
    return 2;
}
