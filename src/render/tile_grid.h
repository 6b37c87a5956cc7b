#pragma once

#include <functional>

#include "model/embosser.h"
#include "platform/geometry.h"

namespace lumigrave {

// Where the tiles of a tiled preset go: a canvas covering the photo turned by the
// preset's angle, odd counts of columns and rows so that a middle tile sits at the
// canvas's centre, and for "Tile Interlace" every other row shifted by half a step.
// Positions are bottom-left corners in the canvas's y-up space.
struct TileGrid {
    Size canvas;
    Size tile;
    float stepX = 0;
    float stepY = 0;
    int columns = 0;
    int rows = 0;
    float x0 = 0;
    float y0 = 0;
    bool interlace = false;

    // More tiles than this are not drawn: only a tiny watermark image on a huge photo
    // gets near it, and the canvas is then left without tiles (and a log line).
    static constexpr long long kMaxTiles = 100'000;

    // Calls draw with each tile's corner, row by row from the bottom.
    void forEachTile(const std::function<void(Point)>& draw) const;
};

// The preset's angle in radians, as the renderer uses it.
float textAngleRadians(const Embosser& embosser);

TileGrid tileGridFor(const Embosser& embosser, Size photo, Size tile);

}  // namespace lumigrave
