#pragma once

#include "ui/slider.h"

namespace lumigrave {

// The main screen's slider: its end images sit a little in from the ends and lower, where
// the artwork's own margins want them.
class MMSlider : public ui::Slider {
    Q_OBJECT
  public:
    using ui::Slider::Slider;

    QRectF minimumValueImageRectForBounds(QRectF bounds) const override;
    QRectF maximumValueImageRectForBounds(QRectF bounds) const override;
};

}  // namespace lumigrave
