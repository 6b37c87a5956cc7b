#pragma once

#include <QString>
#include <QTextStream>

#include "cli/apply_options.h"

namespace lumigrave::cli {

// lumigrave-cli apply, its options parsed already. Returns the exit status: 0 when
// every photo was written, 1 when any was not or the preset could not be had.
int runApply(const ApplyOptions& options, const QString& databasePath, QTextStream& out,
             QTextStream& err);

// lumigrave-cli demo: the bundled demo photo with the active preset; prints the result's
// path.
int runDemo(const QString& databasePath, QTextStream& out, QTextStream& err);

}  // namespace lumigrave::cli
