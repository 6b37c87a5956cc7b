#pragma once

#include <cstddef>
#include <cstdint>

namespace lumigrave {

// The light the relief renderer uses: from the +x side, 30° above the surface.
constexpr double kReliefLightAzimuth = 0.0;
constexpr double kReliefLightElevation = 0.5235987755982988;  // π/6
constexpr unsigned kReliefFilterWidth = 3;

// Shades a grey height field (white high, black low; width × height bytes, stride width)
// lit by a distant light, into width × height pixels of four equal bytes (stride
// 4 × width) that the caller allocated. Flat areas and the one-pixel border get the
// background shade, the light's height component.
//
// Returns false, writing nothing, for a filter width of 0, a missing buffer or a size
// whose byte count does not fit in size_t; the reason is logged.
bool embossShade(double azimuth, double elevation, unsigned filterWidth, const uint8_t* bump,
                 uint8_t* out, size_t width, size_t height);

}  // namespace lumigrave
