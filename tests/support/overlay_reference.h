#pragma once

#include <QColor>

namespace lumigrave::test {

// The Overlay blend written from its definition, independently of the renderer's
// kernels: multiply by 2b where the backdrop b is dark, screen with 2b − 1 where it is
// light. Source (the photo) and backdrop in 0 … 1.
double overlayReference(double source, double backdrop);

// A backdrop level as a fraction, as the renderer reads it: level 128 is mid-grey, 0.5
// exactly; any other level is level / 255.
double backdropFraction(int level);

// The largest distance, in levels, of result's colour channels from the Overlay of
// photo's over backdrop (a fraction). Pixels with transparency are compared
// unpremultiplied (QRgb as QImage::Format_ARGB32 holds it).
double overlayGap(QRgb result, QRgb photo, double backdrop);

}  // namespace lumigrave::test
