#pragma once

#include <QImage>

namespace lumigrave {

// The Overlay blend of the PDF model, the photo (source) over a grey backdrop:
// 2·a·b where b ≤ 0.5, else 1 − 2·(1 − a)·(1 − b), per colour component.
//
// The backdrop is the watermark canvas, grey in every pixel (red = green = blue), so its
// blue channel serves all three components. The result replaces the canvas. The photo
// must be opaque 32-bit RGB of the canvas's size; others return false.
bool overlayPhotoOntoGreyCanvas(const QImage& photo, QImage& canvas);

// One component, 0 to 255, rounded to the nearest level: the reference for the kernel.
int overlayLevel(int photo, int backdrop);

}  // namespace lumigrave
