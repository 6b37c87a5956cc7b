// Compositing: the watermark over mid-grey, the photo over that with Overlay.
#include <QDebug>
#include <QPainter>
#include <QTransform>
#include <cmath>
#include <thread>
#include <vector>

#include "platform/image_buffer.h"
#include "render/backdrop.h"
#include "render/emboss_composer.h"
#include "render/overlay_blend.h"
#include "render/tile_grid.h"
#include "render/watermark_layer.h"

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

}  // namespace

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
        grid.forEachTile([&](Point corner) {
            const QRectF rect = yDown(corner, grid.tile, grid.canvas.height);
            const QTransform tile =
                fromPixels * QTransform::fromTranslate(rect.x(), rect.y()) * canvas * toPixels;
            backdrop.lay(grey, tile, embosser.opacity());
        });
        return;
    }
    const Point origin = EmbossComposer::originForEmbosser(embosser, photo, size);
    const QRectF rect = yDown(origin, size, photo.height);
    backdrop.lay(grey, fromPixels * placement(embosser, rect.center(), size) * toPixels,
                 embosser.opacity());
}

namespace {

// Below this many pixels a second thread costs more than it saves.
constexpr qint64 kTwoThreadPixels = 1'000'000;

// Where the backdrop stays mid-grey the photo is unchanged: only the spans of each row
// that a watermark touched are blended.
void blendRows(uchar* bits, qsizetype stride, const Backdrop& backdrop, int first, int last) {
    std::vector<uint8_t> levels(size_t(backdrop.width()), Backdrop::kMidGrey);
    for (int y = first; y < last; ++y) {
        overlayBackdropRow(backdrop, y, reinterpret_cast<QRgb*>(bits + y * stride), levels.data());
    }
}

// Photos with transparency take the general path: the backdrop as an image, and Qt's
// own Overlay.
QImage overlayWithAlpha(const QImage& photo, const Backdrop& backdrop) {
    QImage canvas = allocateImage(backdrop.width(), backdrop.height(), QImage::Format_RGB32);
    if (canvas.isNull()) {
        return canvas;
    }
    std::vector<uint8_t> levels(size_t(backdrop.width()), Backdrop::kMidGrey);
    for (int y = 0; y < canvas.height(); ++y) {
        const auto span = backdrop.renderRow(y, levels.data());
        auto* out = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = 0; x < canvas.width(); ++x) {
            out[x] = qRgb(levels[size_t(x)], levels[size_t(x)], levels[size_t(x)]);
        }
        Backdrop::resetSpan(levels.data(), span);
    }
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Overlay);
    painter.drawImage(0, 0, photo);
    return canvas;
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
    return embossedImageForEmbosser(embosser, Image(destImage), embossedText);
}

Image EmbossComposer::embossedImageForEmbosser(const Embosser& embosser, Image&& destImage,
                                               const Image& embossedText) {
    if (destImage.isNull()) {
        qWarning() << "Error context not created";
        return Image();
    }
    const float scale = destImage.scale();
    const Size size = destImage.size();
    // A photo nobody else holds is blended where it lies; otherwise into a copy.
    QImage photo = std::move(destImage).takeUprightPixels();
    Backdrop backdrop(photo.width(), photo.height());
    const GreyImage grey =
        embossedText.isNull() ? GreyImage() : GreyImage::fromImage(embossedText.uprightPixels());
    if (!grey.isEmpty()) {
        layWatermark(backdrop, embosser, size, scale, embossedText, grey);
    }
    if (photo.format() != QImage::Format_RGB32) {
        return Image(overlayWithAlpha(photo, backdrop), scale);
    }
    if (!photo.isDetached()) {
        photo = copyImage(photo);
    }
    if (photo.isNull()) {
        qWarning() << "Error: Memory not allocated for bitmap";
        return Image();
    }
    // A large photo is shared between two threads, half the rows each.
    uchar* bits = photo.bits();
    const qsizetype stride = photo.bytesPerLine();
    const int rows = photo.height();
    if (qint64(photo.width()) * rows >= kTwoThreadPixels &&
        std::thread::hardware_concurrency() > 1) {
        std::thread lower([&] { blendRows(bits, stride, backdrop, rows / 2, rows); });
        blendRows(bits, stride, backdrop, 0, rows / 2);
        lower.join();
    } else {
        blendRows(bits, stride, backdrop, 0, rows);
    }
    return Image(std::move(photo), scale);
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
