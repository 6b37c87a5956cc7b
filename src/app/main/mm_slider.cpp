#include "app/main/mm_slider.h"

namespace lumigrave {

QRectF MMSlider::minimumValueImageRectForBounds(QRectF bounds) const {
    return ui::Slider::minimumValueImageRectForBounds(bounds).translated(7, 2);
}

QRectF MMSlider::maximumValueImageRectForBounds(QRectF bounds) const {
    return ui::Slider::maximumValueImageRectForBounds(bounds).translated(-7, 2);
}

}  // namespace lumigrave
