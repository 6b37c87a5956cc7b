#include "cli/usage.h"

#include "cli/apply_options.h"

namespace lumigrave::cli {

QString usageText() {
    return QStringLiteral(
               "usage: lumigrave-cli [--db FILE] [demo]\n"
               "       lumigrave-cli [--db FILE] list\n"
               "       lumigrave-cli [--db FILE] apply [options] FILE... -o DIR\n"
               "       lumigrave-cli --help\n"
               "\n"
               "  demo   watermark the bundled demo photo with the active preset (the default)\n"
               "  list   print the presets, newest first, and the output sizes of the demo photo\n"
               "  apply  watermark photos into DIR, each under its own name\n"
               "\n"
               "apply options:\n"
               "  --preset N            the preset at position N of the list (default: the "
               "active one)\n"
               "  --text T  --font NAME  --width-ratio R  --opacity O  --angle DEGREES\n"
               "  --layout %1\n"
               "  --margins H V         change the preset's fields for this run\n"
               "  --size L              the output's longer side in points (default: the "
               "photo's own)\n"
               "  --rotate left|right   a quarter turn\n"
               "  --format jpeg|png  --quality Q (default 90)\n"
               "  --jobs N              photos worked on at once (default: one per core)\n"
               "  --screen-scale 1|2    the scale the relief is rendered at (default 1)\n"
               "  --overwrite           replace results that exist already\n"
               "  --keep-gps            keep where each photo was taken (left out by default)\n"
               "\n"
               "  --db FILE             the preset database to use instead of the "
               "application's own\n")
        .arg(layoutNames(QStringLiteral("|")));
}

}  // namespace lumigrave::cli
