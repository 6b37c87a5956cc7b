#pragma once

#include <QImage>
#include <cstdint>

namespace lumigrave::bench {

// A photo-like image of the given size: gradients and texture, so that it encodes and
// blends like a photograph. Made once per size and kept.
const QImage& photoOfSize(int width, int height);

// Photos are given as megapixels in the benchmark arguments: 12 → 4000 × 3000,
// 24 → 6000 × 4000.
inline int widthFor(int64_t megapixels) {
    return megapixels == 24 ? 6000 : 4000;
}
inline int heightFor(int64_t megapixels) {
    return megapixels == 24 ? 4000 : 3000;
}

}  // namespace lumigrave::bench
