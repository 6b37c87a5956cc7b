#pragma once

#include <QString>

namespace lumigrave {

// Puts a copy of the seed database at databasePath when no file is there yet. The copy
// is written beside its place and renamed into it, so an interrupted copy never leaves a
// half-written database that a later start would take for the real one. It is made
// writable: the seed itself may be read-only (a compiled-in resource always is).
// Returns true when a database is there afterwards; false, with a log line, otherwise.
bool seedDatabaseFile(const QString& seedPath, const QString& databasePath);

}  // namespace lumigrave
