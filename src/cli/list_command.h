#pragma once

#include <QString>
#include <QTextStream>

namespace lumigrave::cli {

// lumigrave-cli list: the presets, newest first, and the output sizes offered for the
// demo photo. Seeds the database first when there is none, as the application does.
// Returns the process exit status.
int runList(const QString& databasePath, QTextStream& out, QTextStream& err);

}  // namespace lumigrave::cli
