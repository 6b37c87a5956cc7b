#include "model/embosser.h"

#include <cmath>

#include "model/layout_type.h"
#include "platform/font_registry.h"

namespace lumigrave {

namespace {

// NaN compares false with every bound, so it is tested for separately: a NaN angle or
// opacity would otherwise pass every range check and poison the rendering.
bool outside(double value, double low, double high) {
    return std::isnan(value) || value < low || value > high;
}

}  // namespace

QString defaultEmbosserText() {
    return QStringLiteral("\u00A9 lumigrave.app");
}

Embosser::Embosser()
    : layout_type_(kLayoutCenter),
      margin_horizontal_(0),
      margin_vertical_(0),
      width_ratio_(0.8f),
      opacity_(0.6f),
      text_angle_(0),
      rid_(0),
      modified_(false) {
    setText(defaultEmbosserText());
    setFont_name(FontRegistry::boldSystemFontName());
}

Embosser Embosser::copy() const {
    Embosser result;
    result.setRid(rid_);
    result.setText(text_);
    result.setFont_name(font_name_);
    result.setWidth_ratio(width_ratio_);
    result.setOpacity(opacity_);
    result.setText_angle(text_angle_);
    result.setLayoutType(layout_type_);
    result.setMarginHorizontal(margin_horizontal_);
    result.setMarginVertical(margin_vertical_);
    return result;
}

void Embosser::setLayoutType(int layoutType) {
    layout_type_ =
        static_cast<unsigned>(layoutType) >= kLayoutTypeCount ? kLayoutCenter : layoutType;
    if (layout_type_ == kLayoutCenter) {
        margin_horizontal_ = 0;
        margin_vertical_ = 0;
    }
}

void Embosser::setMarginHorizontal(float margin) {
    if (layout_type_ == kLayoutCenter) {
        return;
    }
    margin_horizontal_ = outside(margin, 0, 0.5) ? 0.0f : margin;
}

void Embosser::setMarginVertical(float margin) {
    if (layout_type_ == kLayoutCenter) {
        return;
    }
    margin_vertical_ = outside(margin, 0, 0.5) ? 0.0f : margin;
}

void Embosser::setWidth_ratio(float widthRatio) {
    width_ratio_ = outside(widthRatio, 0.1, 1) ? 1.0f : widthRatio;
}

void Embosser::setOpacity(float opacity) {
    opacity_ = outside(opacity, 0.1, 1) ? 1.0f : opacity;
}

void Embosser::setText_angle(float textAngle) {
    text_angle_ = outside(textAngle, 0, 359) ? 0.0f : textAngle;
}

}  // namespace lumigrave
