// The relief image: text drawn dark on light, read as a height field and shaded.
#include <QDebug>
#include <QPainter>
#include <QPainterPath>
#include <cstring>
#include <memory>
#include <new>

#include "platform/image_buffer.h"
#include "platform/screen.h"
#include "render/emboss_composer.h"
#include "render/emboss_shade.h"
#include "render/text_metrics.h"

namespace lumigrave {

namespace {

std::unique_ptr<uint8_t[]> allocateZeroed(size_t count) {
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[count]);
    if (bytes) {
        std::memset(bytes.get(), 0, count);
    }
    return bytes;
}

// The padded text bitmap, drawn straight at its whole-pixel size so that the bump map's
// stride and the filter's width are the same number.
QImage paddedTextBitmap(const TextMetrics& metrics, Size text, float fontSize, float scale,
                        int width, int height) {
    QImage bitmap = allocateImage(width, height, QImage::Format_RGB32);
    if (bitmap.isNull()) {
        return bitmap;
    }
    bitmap.fill(Qt::white);
    if (metrics.text().isEmpty() || fontSize <= 0) {
        return bitmap;
    }
    QPainter painter(&bitmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    // The layout box is inset one point from the top-left; what overhangs it is clipped.
    painter.setClipRect(QRectF(1, 1, text.width, text.height));
    painter.translate(1, 1);
    const qreal factor = fontSize / TextMetrics::kReferencePointSize;
    painter.scale(factor, factor);
    QPainterPath path;
    path.addText(QPointF(0, metrics.ascentAt(float(TextMetrics::kReferencePointSize))),
                 metrics.referenceFont(), metrics.text());
    painter.fillPath(path, Qt::black);
    return bitmap;
}

// One grey byte per pixel, rows of exactly width bytes.
std::unique_ptr<uint8_t[]> grayBitmapFromImage(const QImage& image) {
    const size_t width = size_t(image.width());
    auto bump = allocateZeroed(width * size_t(image.height()));
    if (!bump) {
        qWarning() << "Error context not created";
        return bump;
    }
    // Text is drawn black on white, so every channel holds the same grey level.
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uint8_t* out = bump.get() + size_t(y) * width;
        for (size_t x = 0; x < width; ++x) {
            out[x] = uint8_t(qGray(row[x]));
        }
    }
    return bump;
}

// The relief's pixels: the padded text bitmap read as a height field and shaded. The
// filter writes straight into the image's rows, which are exactly 4 × width bytes, so
// there is no separate buffer to copy from.
QImage renderEmbossedTextBitmap(const Embosser& embosser, Size photo) {
    float fontSize = 0;
    const Size text = EmbossComposer::sizeForEmbosser(embosser, photo, &fontSize);
    const float scale = Screen::mainScreenScale();
    const int width = int((text.width + 2) * scale);
    const int height = int((text.height + 2) * scale);

    const TextMetrics metrics(embosser.font_name(), embosser.text());
    const QImage bitmap = paddedTextBitmap(metrics, text, fontSize, scale, width, height);
    if (bitmap.isNull()) {
        qWarning() << "Error context not created";
        return QImage();
    }
    std::unique_ptr<uint8_t[]> bump = grayBitmapFromImage(bitmap);
    QImage relief = allocateImage(width, height, QImage::Format_RGB32);
    if (relief.isNull() || relief.bytesPerLine() != 4 * qsizetype(width)) {
        qWarning() << "Error: Memory not allocated for bitmap";
        return QImage();
    }
    if (bump) {
        embossShade(kReliefLightAzimuth, kReliefLightElevation, kReliefFilterWidth, bump.get(),
                    relief.bits(), size_t(width), size_t(height));
    } else {
        relief.fill(qRgb(127, 127, 127));  // no bump map: a flat relief
    }
    // The filter's fourth byte is padding; the image is opaque.
    auto* pixels = reinterpret_cast<QRgb*>(relief.bits());
    const size_t count = size_t(width) * size_t(height);
    for (size_t i = 0; i < count; ++i) {
        pixels[i] |= 0xFF000000u;
    }
    return relief;
}

}  // namespace

Image EmbossComposer::bitmapRGBA8ToImage(const uint8_t* buffer, int width, int height) {
    if (!buffer || width <= 0 || height <= 0) {
        qWarning() << "Error context not created";
        return Image();
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        qWarning() << "Error: Memory not allocated for bitmap";
        return Image();
    }
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = buffer + size_t(y) * size_t(width) * 4;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, in += 4) {
            out[x] = qRgb(in[0], in[1], in[2]);  // the fourth byte is padding
        }
    }
    return Image(std::move(image), Screen::mainScreenScale());
}

Image EmbossComposer::embossedTextForEmbosser(const Embosser& embosser, const Image& destImage) {
    return embossedTextForEmbosser(embosser, destImage.isNull() ? Size{} : destImage.size());
}

Image EmbossComposer::embossedTextForEmbosser(const Embosser& embosser, Size destSize) {
    QImage relief = renderEmbossedTextBitmap(embosser, destSize);
    if (relief.isNull()) {
        return Image();
    }
    return Image(std::move(relief), Screen::mainScreenScale());
}

}  // namespace lumigrave
