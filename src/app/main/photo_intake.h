#pragma once

#include <QtGlobal>
#include <optional>
#include <vector>

#include "platform/geometry.h"

namespace lumigrave {

// The photo intake's decisions, apart from the screen that acts on them.

// What choosing a row of the output-size picker means: the size to scale the original
// photo to, and the length stored as MaxOutputPix (0 for the photo's own size).
struct OutputSizeChoice {
    Size target;
    qint64 maxOutputPix = 0;
    friend bool operator==(const OutputSizeChoice&, const OutputSizeChoice&) = default;
};

// Row 0 is the photo's own size; any other row stores its entry's longer side, truncated
// toward zero (a 959.99994 side stores 959). A row outside the list means nothing: the
// list may have changed under a picker, and storing 0 for it would drop the user's size.
std::optional<OutputSizeChoice> outputSizeForRow(const std::vector<Size>& sizes, int row);

}  // namespace lumigrave
