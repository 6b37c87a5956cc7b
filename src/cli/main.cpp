// lumigrave-cli: the batch watermarker, on the same engine and presets as the application.
#include <QGuiApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>

#include "cli/apply_command.h"
#include "cli/list_command.h"
#include "platform/font_registry.h"
#include "platform/image_loader.h"
#include "platform/paths.h"

namespace {

const char* const kUsage =
    "usage: lumigrave-cli [--db FILE] [demo]\n"
    "       lumigrave-cli [--db FILE] list\n"
    "       lumigrave-cli [--db FILE] apply [options] FILE... -o DIR\n"
    "\n"
    "  demo   watermark the bundled demo photo with the active preset (the default)\n"
    "  list   print the presets, newest first, and the output sizes of the demo photo\n"
    "  apply  watermark photos into DIR, each under its own name\n"
    "\n"
    "apply options:\n"
    "  --preset N            the preset at position N of the list (default: the active one)\n"
    "  --text T  --font NAME  --width-ratio R  --opacity O  --angle DEGREES\n"
    "  --layout center|top-left|top-right|bottom-left|bottom-right|tile-parallel|tile-interlace\n"
    "  --margins H V         change the preset's fields for this run\n"
    "  --size L              the output's longer side in points (default: the photo's own)\n"
    "  --rotate left|right   a quarter turn\n"
    "  --format jpeg|png  --quality Q (default 90)\n"
    "  --jobs N              photos worked on at once (default: one per core)\n"
    "  --screen-scale 1|2    the scale the relief is rendered at (default 1)\n"
    "  --overwrite           replace results that exist already\n"
    "\n"
    "  --db FILE             the preset database to use instead of the application's own\n";

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--help") == 0 || qstrcmp(argv[i], "-h") == 0) {
            QTextStream(stdout) << kUsage;
            return 0;
        }
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
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("lumigrave"));
    lumigrave::FontRegistry::registerBundledFonts();
    lumigrave::ImageLoader::installAllocationLimit();

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
    const QString command = args.isEmpty() ? QStringLiteral("demo") : args.takeFirst();
    if (command == QLatin1String("demo") && args.isEmpty()) {
        return lumigrave::cli::runDemo(databasePath, out, err);
    }
    if (command == QLatin1String("list") && args.isEmpty()) {
        return lumigrave::cli::runList(databasePath, out, err);
    }
    if (command == QLatin1String("apply")) {
        const int status = lumigrave::cli::runApply(args, databasePath, out, err);
        if (status == 2) {
            err << kUsage;
        }
        return status;
    }
    err << kUsage;
    return 2;
}
