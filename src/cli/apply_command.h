#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace lumigrave::cli {

// lumigrave-cli apply [options] FILE... -o DIR. Returns the exit status: 0 when every
// photo was written, 1 when any was not, 2 for a mistake in the arguments.
int runApply(const QStringList& arguments, const QString& databasePath, QTextStream& out,
             QTextStream& err);

// lumigrave-cli demo: the bundled demo photo with the active preset; prints the result's
// path.
int runDemo(const QString& databasePath, QTextStream& out, QTextStream& err);

}  // namespace lumigrave::cli
