#pragma once
// The model layer: watermark presets (Embosser) and their SQLite store.
// Store operations return true on success; on failure they write a diagnostic log line
// and hand back the database's own error text through an out-parameter, which callers
// show in an "Error" alert. Nothing here throws.

#include "model/database_seed.h"
#include "model/embosser.h"
#include "model/embosser_load.h"
#include "model/layout_type.h"
