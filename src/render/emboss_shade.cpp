#include "render/emboss_shade.h"

#include <QDebug>
#include <cmath>
#include <cstring>
#include <limits>

namespace lumigrave {

namespace {

constexpr double kPixelScale = 255.9;
constexpr unsigned kNormalZNumerator = 1530;  // 6 × 255

inline void setPixel(uint8_t* out, size_t index, uint8_t shade) {
    std::memset(out + 4 * index, shade, 4);
}

}  // namespace

bool embossShade(double azimuth, double elevation, unsigned filterWidth, const uint8_t* bump,
                 uint8_t* out, size_t width, size_t height) {
    if (filterWidth == 0) {
        qWarning() << "embossShade: the filter width must not be 0";
        return false;
    }
    if (width != 0 && height > std::numeric_limits<size_t>::max() / 4 / width) {
        qWarning() << "embossShade: the bitmap of" << width << "x" << height << "is too large";
        return false;
    }
    if (width == 0 || height == 0) {
        return true;
    }
    if (!bump || !out) {
        qWarning() << "embossShade: no bitmap to read or to write";
        return false;
    }

    const int lx = static_cast<int>(std::cos(azimuth) * std::cos(elevation) * kPixelScale);
    const int ly = static_cast<int>(std::cos(elevation) * std::sin(azimuth) * kPixelScale);
    const int lz = static_cast<int>(std::sin(elevation) * kPixelScale);
    const int nz = static_cast<int>(kNormalZNumerator / filterWidth);
    const int nz2 = nz * nz;
    const int nzlz = nz * lz;
    const auto background = static_cast<uint8_t>(lz);

    // Counters are size_t: the 16-bit counters of the classic filter would wrap on a
    // bitmap wider or taller than 65535 pixels and never end.
    for (size_t x = 0; x < width; ++x) {
        setPixel(out, x, background);
        setPixel(out, (height - 1) * width + x, background);
    }
    for (size_t y = 1; y + 1 < height; ++y) {
        const uint8_t* a = bump + (y - 1) * width;
        const uint8_t* b = a + width;
        const uint8_t* c = b + width;
        const size_t row = y * width;
        setPixel(out, row, background);
        setPixel(out, row + width - 1, background);
        for (size_t x = 1; x + 1 < width; ++x) {
            const int nx = (a[x - 1] + b[x - 1] + c[x - 1]) - (a[x + 1] + b[x + 1] + c[x + 1]);
            const int ny = (c[x - 1] + c[x] + c[x + 1]) - (a[x - 1] + a[x] + a[x + 1]);
            uint8_t shade;
            if (nx == 0 && ny == 0) {
                shade = background;
            } else {
                const int ndotl = nx * lx + ny * ly + nzlz;
                if (ndotl < 0) {
                    shade = 0;
                } else {
                    const int length2 = nx * nx + ny * ny + nz2;
                    shade = static_cast<uint8_t>(
                        static_cast<int>(ndotl / std::sqrt(static_cast<double>(length2))));
                }
            }
            setPixel(out, row + x, shade);
        }
    }
    return true;
}

}  // namespace lumigrave
