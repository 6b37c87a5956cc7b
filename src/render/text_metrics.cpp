#include "render/text_metrics.h"

#include <QFontMetricsF>
#include <QImage>

#include "platform/font_registry.h"

namespace lumigrave {

namespace {

// A 72 dpi device, so that a font of n points is n units tall: the units of the image
// sizes the text is compared with.
QPaintDevice* pointDevice() {
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMeter = qRound(72 / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return &device;
}

}  // namespace

TextMetrics::TextMetrics(const QString& fontName, const QString& text)
    : font_(FontRegistry::fontWithName(fontName, kReferencePointSize)) {
    const QFontMetricsF metrics(font_, pointDevice());
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
