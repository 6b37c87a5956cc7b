#pragma once

#include <QRectF>

#include "model/embosser.h"
#include "platform/geometry.h"
#include "platform/image.h"
#include "render/backdrop.h"
#include "render/tile_grid.h"

namespace lumigrave {

// Lays a preset's watermark (or, for a tiled preset, its tiles) on the backdrop of a
// photo of the given size in points, drawn at scale pixels per point. grey holds the
// watermark image's pixels and must outlive the backdrop.
void layWatermark(Backdrop& backdrop, const Embosser& embosser, Size photo, float scale,
                  const Image& watermark, const GreyImage& grey);

// Lays the tiles of grid, each the image tile (whose pixels grey holds), at the opacity:
// canvasToBackdrop maps the tile canvas's y-down space in points onto the backdrop's
// pixels.
void layTiles(Backdrop& backdrop, const TileGrid& grid, const QTransform& canvasToBackdrop,
              const Image& tile, const GreyImage& grey, float opacity);

// The rectangle at origin (its bottom-left corner in the y-up space the placement
// geometry uses) in Qt's y-down space of a canvas canvasHeight high.
QRectF yDownRect(Point origin, Size size, float canvasHeight);

}  // namespace lumigrave
