// The tile canvas: the relief repeated upright over mid-grey, large enough to cover the
// photo turned by the preset's angle.
#include <QDebug>
#include <cmath>

#include "render/backdrop.h"
#include "render/emboss_composer.h"
#include "render/tile_grid.h"
#include "render/watermark_layer.h"

namespace lumigrave {

Image EmbossComposer::tiledImageForEmbosser(const Embosser& embosser, const Image& destImage,
                                            const Image& embossedText) {
    if (destImage.isNull()) {
        qWarning() << "Error context not created";
        return Image();
    }
    const float scale = destImage.scale();
    const TileGrid grid = tileGridFor(embosser, destImage.size(), embossedText.size());
    // The tiles are sampled as the compositor samples them on the photo, at their exact
    // fractional places, so that laying this canvas gives the composite's own picture.
    Backdrop canvas(int(std::ceil(grid.canvas.width * scale - 1e-3f)),
                    int(std::ceil(grid.canvas.height * scale - 1e-3f)));
    const GreyImage grey =
        embossedText.isNull() ? GreyImage() : GreyImage::fromImage(embossedText.uprightPixels());
    if (!grey.isEmpty()) {
        layTiles(canvas, grid, QTransform::fromScale(scale, scale), embossedText, grey, 1);
    }
    QImage pixels = canvas.toImage();
    if (pixels.isNull()) {
        qWarning() << "Error context not created";
        return Image();
    }
    return Image(std::move(pixels), scale);
}

}  // namespace lumigrave
