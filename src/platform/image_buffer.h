#pragma once

#include <QImage>

namespace lumigrave {

// A new image whose pixels live in memory the kernel may back with huge pages.
//
// A photo's pixels are tens of megabytes. Touching freshly allocated memory for the first
// time costs a page fault per 4 KiB, which on a virtual machine can take longer than the
// decoding or blending done in it; with 2 MiB pages there are 512 times fewer faults.
// Small images are allocated as usual. The contents are uninitialised; null when there
// is not enough memory.
QImage allocateImage(int width, int height, QImage::Format format);

// A deep copy of image in such memory, with its resolution and colour space.
QImage copyImage(const QImage& image);

}  // namespace lumigrave
