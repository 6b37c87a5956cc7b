#include "render/text_metrics.h"

#include <QFontMetricsF>

#include "platform/font_registry.h"

namespace lumigrave {

TextMetrics::TextMetrics(const QString& fontName, const QString& text)
    : font_(FontRegistry::fontWithName(fontName, kReferencePointSize)), text_(text) {
    // Sized in pixels, one per point: independent of any device's resolution.
    font_.setPixelSize(int(kReferencePointSize));
    const QFontMetricsF metrics(font_);
    width_ = metrics.horizontalAdvance(text);
    height_ = metrics.height();
    ascent_ = metrics.ascent();
}

Size TextMetrics::sizeAt(float pointSize) const {
    const double factor = pointSize / kReferencePointSize;
    return Size{static_cast<float>(width_ * factor), static_cast<float>(height_ * factor)};
}

float TextMetrics::ascentAt(float pointSize) const {
    return static_cast<float>(ascent_ * pointSize / kReferencePointSize);
}

}  // namespace lumigrave
