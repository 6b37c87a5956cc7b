#include <algorithm>
#include <cmath>

#include "model/layout_type.h"
#include "render/emboss_composer.h"
#include "render/output_sizes.h"
#include "render/text_metrics.h"

namespace lumigrave {

namespace {

// The largest font size between minimum and start at which the text is no wider than
// targetWidth; the minimum when even that is too wide. Widths grow linearly with the
// size, so the size is solved for and then stepped down past any rounding.
float fittingFontSize(const TextMetrics& metrics, float start, float minimum, float targetWidth) {
    auto fits = [&](float size) { return metrics.sizeAt(size).width <= targetWidth; };
    if (start <= minimum || fits(start)) {
        return start;
    }
    if (!fits(minimum)) {
        return minimum;
    }
    const float widthPerPoint = metrics.sizeAt(1).width;
    float size = std::clamp(targetWidth / widthPerPoint, minimum, start);
    while (size > minimum && !fits(size)) {
        size = std::nextafter(size, minimum);
    }
    // Rounding may also have left the solution a step short of the largest that fits.
    for (float up = std::nextafter(size, start); up < start && fits(up);
         up = std::nextafter(up, start)) {
        size = up;
    }
    return size;
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
    const TextMetrics metrics(embosser.font_name(), embosser.text());
    const float fontSize = fittingFontSize(metrics, start, minimum, targetWidth);
    if (actualFontSize) {
        *actualFontSize = fontSize;
    }
    return metrics.sizeAt(fontSize);
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
            return Point{trunc((double(W) - double(w)) * 0.5),
                         trunc((double(H) - double(h)) * 0.5)};
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
