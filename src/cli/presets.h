#pragma once

#include <QString>
#include <QTextStream>

#include "model/embosser_load.h"

namespace lumigrave::cli {

// The presets as the application sees them: the database seeded when there is none, the
// list newest first and the active one per the stored LastUsedEmbosser. False, with a
// message on err, when the database cannot be read.
bool loadPresets(const QString& databasePath, EmbosserList& list, QTextStream& err);

}  // namespace lumigrave::cli
