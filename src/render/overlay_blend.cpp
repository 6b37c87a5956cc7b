#include "render/overlay_blend.h"

#include <array>
#include <cmath>

#include "render/backdrop.h"

namespace lumigrave {

namespace {

using Row = std::array<uint8_t, 256>;

// Every result for every backdrop level, computed once: 64 KiB, so the blend of a pixel
// is three table reads.
const std::array<Row, 256>& overlayTable() {
    static const std::array<Row, 256> table = [] {
        std::array<Row, 256> t{};
        for (int b = 0; b < 256; ++b) {
            for (int a = 0; a < 256; ++a) {
                t[size_t(b)][size_t(a)] = uint8_t(overlayLevel(a, b));
            }
        }
        return t;
    }();
    return table;
}

}  // namespace

int overlayLevel(int photo, int backdrop) {
    if (backdrop == Backdrop::kMidGrey) {
        return photo;
    }
    const double a = photo / 255.0;
    const double b = backdrop / 255.0;
    const double result = b <= 0.5 ? 2 * a * b : 1 - 2 * (1 - a) * (1 - b);
    return int(std::lround(result * 255));
}

void overlayRow(const QRgb* photo, const uint8_t* backdrop, QRgb* out, int count) {
    const auto& table = overlayTable();
    for (int x = 0; x < count; ++x) {
        const uint8_t b = backdrop[x];
        const QRgb a = photo[x];
        if (b == Backdrop::kMidGrey) {
            out[x] = a;
            continue;
        }
        const Row& row = table[b];
        out[x] = 0xFF000000u | (uint32_t(row[(a >> 16) & 0xFF]) << 16) |
                 (uint32_t(row[(a >> 8) & 0xFF]) << 8) | row[a & 0xFF];
    }
}

}  // namespace lumigrave
