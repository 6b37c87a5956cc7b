#include "render/tile_grid.h"

#include <QDebug>
#include <cmath>

#include "model/layout_type.h"

namespace lumigrave {

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;

// An odd count of steps that covers length from its middle outwards.
int oddCount(float length, float tile, float photoSide, float step) {
    if (!(tile < photoSide)) {
        return 1;
    }
    return 2 * int(std::ceil(((length + tile) * 0.5) / step)) - 1;
}

}  // namespace

float textAngleRadians(const Embosser& embosser) {
    return float(embosser.text_angle() * kRadiansPerDegree);
}

TileGrid tileGridFor(const Embosser& embosser, Size photo, Size tile) {
    TileGrid grid;
    const double theta = textAngleRadians(embosser);
    const double c = std::fabs(std::cos(theta));
    const double s = std::fabs(std::sin(theta));
    grid.canvas =
        Size{float(photo.width * c + photo.height * s), float(photo.width * s + photo.height * c)};
    grid.tile = tile;
    grid.stepX = tile.width + photo.width * embosser.marginHorizontal();
    grid.stepY = tile.height + photo.height * embosser.marginVertical();
    grid.interlace = embosser.layoutType() == kLayoutTileInterlace;
    // A missing watermark image with no margin gives a zero step: no tiles, rather than
    // a count derived from a division by zero.
    if (!(grid.stepX > 0) || !(grid.stepY > 0)) {
        return grid;
    }
    const int columns = oddCount(grid.canvas.width, tile.width, photo.width, grid.stepX);
    const int rows = oddCount(grid.canvas.height, tile.height, photo.height, grid.stepY);
    if ((long long)columns * rows > TileGrid::kMaxTiles) {
        qWarning() << "Too many tiles to draw:" << columns << "x" << rows;
        return grid;
    }
    grid.columns = columns;
    grid.rows = rows;
    grid.x0 = float(grid.stepX + (grid.canvas.width - tile.width) * 0.5 -
                    grid.stepX * (columns + 1) * 0.5);
    grid.y0 = float(grid.stepY + (grid.canvas.height - tile.height) * 0.5 -
                    grid.stepY * (rows + 1) * 0.5);
    return grid;
}

void TileGrid::forEachTile(const std::function<void(Point)>& draw) const {
    for (int r = 0; r < rows; ++r) {
        const float y = y0 + r * stepY;
        const float xr = (interlace && r % 2 == 1) ? x0 - stepX * 0.5f : x0;
        for (int c = 0; c < columns; ++c) {
            draw(Point{xr + c * stepX, y});
        }
        // A single shifted column leaves its far half empty: one more tile fills it
        // while it still starts inside the canvas.
        if (interlace && columns == 1 && xr != x0 && xr + stepX < canvas.width) {
            draw(Point{xr + stepX, y});
        }
    }
}

}  // namespace lumigrave
