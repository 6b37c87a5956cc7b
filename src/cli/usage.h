#pragma once

#include <QString>

namespace lumigrave::cli {

// What --help prints, and what follows every mistake in the arguments. The layouts are
// read from the one list of layout names, so a new layout is offered here by itself.
QString usageText();

}  // namespace lumigrave::cli
