#pragma once

#include <QColor>
#include <cstdint>

namespace lumigrave {

// The Overlay blend of the PDF model, the photo (source a) over a grey backdrop (b):
// 2·a·b where b ≤ 0.5, else 1 − 2·(1 − a)·(1 − b), per colour component.
//
// Levels are 0 to 255, except that the backdrop's mid-grey level 128 stands for 0.5
// exactly, which leaves the photo as it is.
int overlayLevel(int photo, int backdrop);

// Blends count opaque photo pixels over their backdrop levels into out (which may be the
// photo itself). Runs the vector kernel where cpu::useAvx2() says so, the scalar one
// otherwise; both give the same levels.
void overlayRow(const QRgb* photo, const uint8_t* backdrop, QRgb* out, int count);

// The same for photo pixels with transparency, premultiplied (QImage's
// ARGB32_Premultiplied): the colour blends as above and the alpha stays the photo's, so
// the result is the opaque blend clipped to the photo's own shape. Scalar only: such
// photos are rare and small.
void overlayRowPremultiplied(const QRgb* photo, const uint8_t* backdrop, QRgb* out, int count);

class Backdrop;

enum class PhotoAlpha { Opaque, Premultiplied };

// Blends row y of a photo (32-bit, the backdrop's width) over row y of the backdrop, in
// place, touching only the span a watermark reached. levels is the backdrop's scratch
// row: width entries, mid-grey on entry, mid-grey again on return.
void overlayBackdropRow(const Backdrop& backdrop, int y, QRgb* row, uint8_t* levels,
                        PhotoAlpha alpha = PhotoAlpha::Opaque);

}  // namespace lumigrave
