#include <QFontMetricsF>
#include <QImage>
#include <cmath>

#include "model/layout_type.h"
#include "platform/font_registry.h"
#include "render/emboss_composer.h"
#include "render/output_sizes.h"

namespace lumigrave {

namespace {

// How close the shrinking search gets to the largest font size that fits, in points.
constexpr float kFontSizePrecision = 1.0f / 64;

// Text is measured on a 72 dpi device so that a font of n points is n units tall, the
// same units as the image sizes it is compared with.
const QPaintDevice& pointDevice() {
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMeter = qRound(72 / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return device;
}

Size measureSingleLine(const QString& fontName, float pointSize, const QString& text) {
    const QFont font = FontRegistry::fontWithName(fontName, pointSize);
    const QFontMetricsF metrics(font, const_cast<QPaintDevice*>(&pointDevice()));
    return Size{static_cast<float>(metrics.horizontalAdvance(text)),
                static_cast<float>(metrics.height())};
}

// The largest font size between minimum and start at which the text is no wider than
// targetWidth; the minimum when even that is too wide.
float fittingFontSize(const QString& fontName, const QString& text, float start, float minimum,
                      float targetWidth) {
    auto fits = [&](float size) {
        return measureSingleLine(fontName, size, text).width <= targetWidth;
    };
    if (start <= minimum || fits(start)) {
        return start;
    }
    if (!fits(minimum)) {
        return minimum;
    }
    float low = minimum;  // fits
    float high = start;   // too wide
    while (high - low > kFontSizePrecision) {
        const float middle = low + (high - low) / 2;
        if (middle <= low || middle >= high) {
            break;
        }
        (fits(middle) ? low : high) = middle;
    }
    return low;
}

}  // namespace

Size EmbossComposer::sizeForEmbosser(const Embosser& embosser, Size destImageSize,
                                     float* actualFontSize) {
    const float start = destImageSize.height;
    // No text, or nowhere to put it: a zero size, and a font size callers can still read.
    if (embosser.text().isEmpty() || !(start > 0) || !std::isfinite(start)) {
        if (actualFontSize) {
            *actualFontSize = 0;
        }
        return Size{};
    }
    const float targetWidth = destImageSize.width * embosser.width_ratio();
    const float minimum = kSmallSystemFontSize - 2;
    const float fontSize =
        fittingFontSize(embosser.font_name(), embosser.text(), start, minimum, targetWidth);
    if (actualFontSize) {
        *actualFontSize = fontSize;
    }
    return measureSingleLine(embosser.font_name(), fontSize, embosser.text());
}

Point EmbossComposer::originForEmbosser(const Embosser& embosser, Size destSize,
                                        Size embosserSize) {
    const float W = destSize.width;
    const float H = destSize.height;
    const float w = embosserSize.width;
    const float h = embosserSize.height;
    const float mH = embosser.marginHorizontal();
    const float mV = embosser.marginVertical();
    auto trunc = [](auto value) { return static_cast<float>(static_cast<int>(value)); };
    switch (embosser.layoutType()) {
        case kLayoutCenter:
            // Double precision here, single everywhere else.
            return Point{trunc((double(W) - double(w)) * 0.5), trunc((double(H) - double(h)) * 0.5)};
        case kLayoutTopLeft:
            return Point{trunc(W * mH), trunc(H - (h + H * mV))};
        case kLayoutTopRight:
            return Point{trunc(W - (w + W * mH)), trunc(H - (h + H * mV))};
        case kLayoutBottomLeft:
            return Point{trunc(W * mH), trunc(H * mV)};
        case kLayoutBottomRight:
            return Point{trunc(W - (w + W * mH)), trunc(H * mV)};
        default:
            return Point{};
    }
}

Size EmbossComposer::scaledSizeAspectFitInView(Size viewSize, Size imageSize) {
    const float rv = viewSize.height / viewSize.width;
    const float ri = imageSize.height / imageSize.width;
    return Size{ri > rv ? viewSize.height / ri : viewSize.width,
                ri < rv ? viewSize.width * ri : viewSize.height};
}

std::vector<Size> EmbossComposer::validOutputSizesForImageSize(Size imageSize) {
    std::vector<Size> sizes;
    const float longer = imageSize.longerSide();
    for (const float length : kOutputSizeLengths) {
        if (longer >= length) {
            const float factor = length / longer;
            sizes.push_back(Size{imageSize.width * factor, imageSize.height * factor});
        }
    }
    return sizes;
}

}  // namespace lumigrave
