#pragma once

#include <QByteArray>
#include <QString>

namespace lumigrave {

// Reads the PostScript name (name ID 6) from a TrueType/OpenType 'name' table.
// The table comes from font files we did not write, so every offset is checked;
// a table that is short, truncated or lacks the record yields an empty string.
QString postScriptNameFromNameTable(const QByteArray& table);

}  // namespace lumigrave
