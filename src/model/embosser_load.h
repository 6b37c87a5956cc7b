#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "model/embosser.h"

namespace lumigrave {

// All presets in load order (newest first) and the active one, a plain reference into
// the list.
struct EmbosserList {
    std::vector<std::unique_ptr<Embosser>> embossers;
    Embosser* activeEmbosser = nullptr;
};

// Reads every preset from the database, through the validating setters, and picks the
// active one at position lastUsedEmbosser (the first when that is out of range).
//
// An empty table gets one default preset, inserted and active; when that insert fails,
// *alertMessage (when given) receives the text for an "Error" alert, and the preset is
// still used. When the database cannot be opened or read — no table, or reading stops
// part-way through the rows (a damaged file) — the list is left as it was and the
// result is false; the database's message is logged and, when alertMessage is given,
// handed back in it.
bool loadEmbossers(const QString& databasePath, qint64 lastUsedEmbosser, EmbosserList& list,
                   QString* alertMessage);

}  // namespace lumigrave
