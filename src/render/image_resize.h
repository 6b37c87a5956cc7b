#pragma once

#include <QTransform>

#include "platform/geometry.h"
#include "platform/image.h"

namespace lumigrave {

// How an image is fitted to bounds.
enum ContentMode : int { kContentModeScaleAspectFit = 1, kContentModeScaleAspectFill = 2 };

// Interpolation quality levels; anything but None scales smoothly.
enum InterpolationQuality : int {
    kInterpolationDefault = 0,
    kInterpolationNone = 1,
    kInterpolationLow = 2,
    kInterpolationHigh = 3,
    kInterpolationMedium = 4,
};

// The image scaled by one factor to fit (mode 1) or fill (mode 2) the bounds, drawn
// upright. Any other mode throws std::invalid_argument("Unsupported content mode: N").
Image resizedImageWithContentMode(const Image& image, int contentMode, Size bounds, int quality);

// The image drawn upright at newSize, widened to whole points; scale 1, orientation up.
// A smooth, area-averaging scale unless the quality is None.
Image resizedImage(const Image& image, Size newSize, int quality);

// The smallest rectangle of whole numbers that holds rect.
Rect integralRect(Rect rect);

// The transform that turns stored pixels upright at newSize, in the y-up space of a
// bitmap context (x right, y up), and whether the stored image is then drawn into the
// rectangle with its width and height swapped.
QTransform transformForOrientation(int orientation, Size newSize);
bool drawsTransposed(int orientation);

}  // namespace lumigrave
