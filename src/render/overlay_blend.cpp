#include "render/overlay_blend.h"

#include <array>
#include <cmath>

namespace lumigrave {

namespace {

using Row = std::array<uint8_t, 256>;

// Every result for every backdrop level, computed once: 64 KiB, so the blend of a photo
// is three table reads a pixel.
const std::array<Row, 256>& overlayTable() {
    static const std::array<Row, 256> table = [] {
        std::array<Row, 256> t{};
        for (int b = 0; b < 256; ++b) {
            for (int a = 0; a < 256; ++a) {
                t[b][a] = uint8_t(overlayLevel(a, b));
            }
        }
        return t;
    }();
    return table;
}

}  // namespace

int overlayLevel(int photo, int backdrop) {
    const double a = photo / 255.0;
    const double b = backdrop / 255.0;
    const double result = b <= 0.5 ? 2 * a * b : 1 - 2 * (1 - a) * (1 - b);
    return int(std::lround(result * 255));
}

bool overlayPhotoOntoGreyCanvas(const QImage& photo, QImage& canvas) {
    if (photo.size() != canvas.size() || photo.format() != QImage::Format_RGB32 ||
        canvas.format() != QImage::Format_RGB32) {
        return false;
    }
    const auto& table = overlayTable();
    const int width = canvas.width();
    for (int y = 0; y < canvas.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(photo.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const Row& row = table[out[x] & 0xFF];
            const QRgb a = in[x];
            out[x] = 0xFF000000u | (uint32_t(row[(a >> 16) & 0xFF]) << 16) |
                     (uint32_t(row[(a >> 8) & 0xFF]) << 8) | row[a & 0xFF];
        }
    }
    return true;
}

}  // namespace lumigrave
