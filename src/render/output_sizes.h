#pragma once

#include <QtGlobal>
#include <vector>

#include "platform/geometry.h"

namespace lumigrave {

// The longer sides, in points, that output sizes are offered at, largest first.
extern const std::vector<float> kOutputSizeLengths;

// The output sizes offered for a photo: its own size first, then the sizes of
// EmbossComposer::validOutputSizesForImageSize. Empty for a photo too small to take.
std::vector<Size> maxOutputSizes(Size photoSize);

// The position in outputSizes (as maxOutputSizes gives them) of the stored longer side
// storedLength: 0 (the photo's own size) for 0 or a list shorter than 2, the first
// position from 1 on whose longer side equals it exactly in single precision, else 1.
int matchedIndexForOutputSize(const std::vector<Size>& outputSizes, qint64 storedLength);

}  // namespace lumigrave
