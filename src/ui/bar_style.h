#pragma once

#include <QColor>

namespace lumigrave::ui {

// The bar styles by their platform numbers: 0 default, 1 black, 2 black translucent.
enum class BarStyle { Default = 0, Black = 1, BlackTranslucent = 2 };

// The colour a bar is filled with in a style; a translucent bar lets the content show
// through.
QColor barBackground(BarStyle style, bool translucent);

// The height of navigation bars and toolbars, in points.
constexpr int kBarHeight = 44;

}  // namespace lumigrave::ui
