// Compositing: the watermark over mid-grey, the photo over that with Overlay.
#include <QDebug>
#include <QPainter>
#include <QTransform>
#include <cmath>

#include "render/emboss_composer.h"
#include "render/overlay_blend.h"
#include "render/tile_grid.h"

namespace lumigrave {

namespace {

// The platform's standard grey, level 0.5.
const QColor kMidGrey = QColor::fromRgbF(0.5, 0.5, 0.5);

// Drawing happens in points in a y-up space with the origin at the bottom-left, as the
// placement geometry gives its origins; Qt's space is y-down. An upright rectangle at
// (x, y) in the y-up space of a canvas of height h has its top-left at (x, h − y − rh).
QRectF yDown(Point origin, Size size, float canvasHeight) {
    return QRectF(origin.x, canvasHeight - origin.y - size.height, size.width, size.height);
}

QImage opaqueCanvas(int width, int height) {
    QImage canvas(width, height, QImage::Format_RGB32);
    if (!canvas.isNull()) {
        canvas.fill(kMidGrey);
    }
    return canvas;
}

void preparePainter(QPainter& painter, float scale) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
}

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

void drawTiles(QPainter& painter, const TileGrid& grid, const QImage& tile) {
    grid.forEachTile([&](Point corner) {
        painter.drawImage(yDown(corner, grid.tile, grid.canvas.height), tile);
    });
}

void drawWatermark(QPainter& painter, const Embosser& embosser, Size photo,
                   const Image& watermark) {
    const QImage pixels = watermark.uprightPixels();
    const Size size = watermark.size();
    painter.setOpacity(embosser.opacity());
    if (embosser.isTiled()) {
        // The tiles go straight onto the photo's canvas in the tile canvas's frame: the
        // same picture as drawing the whole grey tile canvas at the opacity (grey over grey
        // stays grey), without building and resampling a canvas larger than the photo.
        const TileGrid grid = tileGridFor(embosser, photo, size);
        painter.setTransform(
            placement(embosser, QPointF(photo.width * 0.5, photo.height * 0.5), grid.canvas), true);
        painter.setClipRect(QRectF(0, 0, grid.canvas.width, grid.canvas.height));
        drawTiles(painter, grid, pixels);
        return;
    }
    const Point origin = EmbossComposer::originForEmbosser(embosser, photo, size);
    const QRectF rect = yDown(origin, size, photo.height);
    painter.setTransform(placement(embosser, rect.center(), size), true);
    painter.drawImage(QRectF(0, 0, size.width, size.height), pixels);
}

}  // namespace

Image EmbossComposer::tiledImageForEmbosser(const Embosser& embosser, const Image& destImage,
                                            const Image& embossedText) {
    if (destImage.isNull()) {
        qWarning() << "Error context not created";
        return Image();
    }
    const float scale = destImage.scale();
    const TileGrid grid = tileGridFor(embosser, destImage.size(), embossedText.size());
    QImage canvas = opaqueCanvas(int(std::ceil(grid.canvas.width * scale - 1e-3f)),
                                 int(std::ceil(grid.canvas.height * scale - 1e-3f)));
    if (canvas.isNull()) {
        qWarning() << "Error context not created";
        return Image();
    }
    if (!embossedText.isNull()) {
        QPainter painter(&canvas);
        preparePainter(painter, scale);
        drawTiles(painter, grid, embossedText.uprightPixels());
    }
    return Image(std::move(canvas), scale);
}

Image EmbossComposer::embossedImageForEmbosser(const Embosser& embosser, const Image& destImage,
                                               const Image& embossedText) {
    if (destImage.isNull()) {
        qWarning() << "Error context not created";
        return Image();
    }
    const QImage photo = destImage.uprightPixels();
    QImage canvas = opaqueCanvas(photo.width(), photo.height());
    if (canvas.isNull()) {
        qWarning() << "Error context not created";
        return Image();
    }
    if (!embossedText.isNull()) {
        QPainter painter(&canvas);
        preparePainter(painter, destImage.scale());
        drawWatermark(painter, embosser, destImage.size(), embossedText);
    }
    if (!overlayPhotoOntoGreyCanvas(photo, canvas)) {
        // Photos with transparency take the general path.
        QPainter painter(&canvas);
        painter.setCompositionMode(QPainter::CompositionMode_Overlay);
        painter.drawImage(0, 0, photo);
    }
    return Image(std::move(canvas), destImage.scale());
}

Image EmbossComposer::embossedImageForEmbosser(const Embosser& embosser, const Image& destImage) {
    return embossedImageForEmbosser(embosser, destImage,
                                    embossedTextForEmbosser(embosser, destImage));
}

Image EmbossComposer::rotateImage(const Image& image, int orient) {
    if (image.isNull()) {
        return Image();
    }
    QImage upright = image.uprightPixels();
    if (orient == kOrientationLeft) {
        upright = upright.transformed(QTransform().rotate(270));
    } else if (orient == kOrientationRight) {
        upright = upright.transformed(QTransform().rotate(90));
    }
    return Image(std::move(upright), image.scale());
}

}  // namespace lumigrave
