#include "ui/shadow.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

namespace lumigrave::ui {

void gaussianBlur(QImage& image, qreal sigma) {
    if (image.format() != QImage::Format_ARGB32_Premultiplied) {
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    }
    if (!(sigma > 0) || image.isNull()) {
        return;  // also NaN
    }
    // Beyond the image's own extent the kernel adds only clear pixels.
    const int radius =
        int(std::min<qreal>(std::ceil(sigma * 3), std::max(image.width(), image.height())));
    std::vector<float> kernel(2 * radius + 1);
    float sum = 0;
    for (int k = -radius; k <= radius; ++k) {
        kernel[k + radius] = float(std::exp(-(k * k) / (2 * sigma * sigma)));
        sum += kernel[k + radius];
    }
    for (float& weight : kernel) {
        weight /= sum;
    }
    const int width = image.width();
    const int height = image.height();
    std::vector<float> across(size_t(width) * height * 4, 0.0f);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            float* out = &across[(size_t(y) * width + x) * 4];
            for (int k = std::max(-radius, -x); k <= std::min(radius, width - 1 - x); ++k) {
                const QRgb pixel = row[x + k];
                const float weight = kernel[k + radius];
                out[0] += weight * qAlpha(pixel);
                out[1] += weight * qRed(pixel);
                out[2] += weight * qGreen(pixel);
                out[3] += weight * qBlue(pixel);
            }
        }
    }
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            float sums[4] = {0, 0, 0, 0};
            for (int k = std::max(-radius, -y); k <= std::min(radius, height - 1 - y); ++k) {
                const float* in = &across[(size_t(y + k) * width + x) * 4];
                for (int c = 0; c < 4; ++c) {
                    sums[c] += kernel[k + radius] * in[c];
                }
            }
            const int alpha = std::clamp(int(std::lround(sums[0])), 0, 255);
            auto channel = [&](float v) { return std::clamp(int(std::lround(v)), 0, alpha); };
            row[x] = qRgba(channel(sums[1]), channel(sums[2]), channel(sums[3]), alpha);
        }
    }
}

void drawShadow(QPainter& painter, const QPainterPath& path, QPointF offset, qreal blur,
                const QColor& colour) {
    const qreal scale = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const qreal margin = std::ceil(blur * 2);
    const QRectF area = path.boundingRect().adjusted(-margin, -margin, margin, margin);
    QImage image(int(std::ceil(area.width() * scale)), int(std::ceil(area.height() * scale)),
                 QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        return;
    }
    image.fill(Qt::transparent);
    {
        QPainter shape(&image);
        shape.setRenderHint(QPainter::Antialiasing);
        shape.scale(scale, scale);
        shape.translate(-area.topLeft());
        shape.fillPath(path, colour);
    }
    // A shadow blur of b spreads like a Gaussian of deviation b / 2.
    gaussianBlur(image, blur / 2 * scale);
    image.setDevicePixelRatio(scale);
    painter.drawImage(area.topLeft() + offset, image);
}

}  // namespace lumigrave::ui
