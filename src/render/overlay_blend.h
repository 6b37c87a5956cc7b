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
// photo itself). Runs the vector kernel where the processor has AVX2, the scalar one
// elsewhere; both give the same levels.
void overlayRow(const QRgb* photo, const uint8_t* backdrop, QRgb* out, int count);

class Backdrop;

// Blends row y of a photo (opaque 32-bit RGB, the backdrop's width) over row y of the
// backdrop, in place, touching only the span a watermark reached. levels is the
// backdrop's scratch row: width entries, mid-grey on entry, mid-grey again on return.
void overlayBackdropRow(const Backdrop& backdrop, int y, QRgb* row, uint8_t* levels);

// The two kernels themselves, for the tests that hold them to each other.
void overlayRowScalar(const QRgb* photo, const uint8_t* backdrop, QRgb* out, int count);
// False, doing nothing, where the processor lacks AVX2.
bool overlayRowAvx2(const QRgb* photo, const uint8_t* backdrop, QRgb* out, int count);

}  // namespace lumigrave
