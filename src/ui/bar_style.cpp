#include "ui/bar_style.h"

namespace lumigrave::ui {

QColor barBackground(BarStyle style, bool translucent) {
    QColor colour = style == BarStyle::Default ? QColor(109, 132, 162) : QColor(0, 0, 0);
    if (translucent || style == BarStyle::BlackTranslucent) {
        colour.setAlphaF(0.6f);
    }
    return colour;
}

}  // namespace lumigrave::ui
