// The watermark's place on the photo's backdrop: where the relief (or each tile) lands,
// turned by the preset's angle about its own centre.
#include "render/watermark_layer.h"

#include <QTransform>

#include "render/emboss_composer.h"
#include "render/tile_grid.h"

namespace lumigrave {

namespace {

// The transform that puts a watermark of the given size with its centre at centre (in
// Qt's space), turned counter-clockwise by the preset's angle as seen on the photo. An
// angle of exactly 0 takes no rotation at all, so nothing is resampled.
QTransform placement(const Embosser& embosser, QPointF centre, Size size) {
    QTransform t;
    t.translate(centre.x(), centre.y());
    if (embosser.text_angle() != 0) {
        t.rotateRadians(-textAngleRadians(embosser));
    }
    t.translate(-size.width * 0.5, -size.height * 0.5);
    return t;
}

}  // namespace

QRectF yDownRect(Point origin, Size size, float canvasHeight) {
    return QRectF(origin.x, canvasHeight - origin.y - size.height, size.width, size.height);
}

void layTiles(Backdrop& backdrop, const TileGrid& grid, const QTransform& canvasToBackdrop,
              const Image& tile, const GreyImage& grey, float opacity) {
    const QTransform fromPixels = QTransform::fromScale(1.0 / tile.scale(), 1.0 / tile.scale());
    grid.forEachTile([&](Point corner) {
        const QRectF rect = yDownRect(corner, grid.tile, grid.canvas.height);
        backdrop.lay(grey,
                     fromPixels * QTransform::fromTranslate(rect.x(), rect.y()) * canvasToBackdrop,
                     opacity);
    });
}

void layWatermark(Backdrop& backdrop, const Embosser& embosser, Size photo, float scale,
                  const Image& watermark, const GreyImage& grey) {
    const Size size = watermark.size();
    // From the watermark's pixels to points at its own scale, and from points to the
    // backdrop's pixels.
    const QTransform fromPixels =
        QTransform::fromScale(1.0 / watermark.scale(), 1.0 / watermark.scale());
    const QTransform toPixels = QTransform::fromScale(scale, scale);
    if (embosser.isTiled()) {
        // Each tile goes straight onto the photo's backdrop in the tile canvas's frame:
        // the same picture as the grey tile canvas laid at the opacity (grey over grey
        // stays grey), without building and resampling a canvas larger than the photo.
        const TileGrid grid = tileGridFor(embosser, photo, size);
        const QTransform canvas =
            placement(embosser, QPointF(photo.width * 0.5, photo.height * 0.5), grid.canvas);
        layTiles(backdrop, grid, canvas * toPixels, watermark, grey, embosser.opacity());
        return;
    }
    const Point origin = EmbossComposer::originForEmbosser(embosser, photo, size);
    const QRectF rect = yDownRect(origin, size, photo.height);
    backdrop.lay(grey, fromPixels * placement(embosser, rect.center(), size) * toPixels,
                 embosser.opacity());
}

}  // namespace lumigrave
