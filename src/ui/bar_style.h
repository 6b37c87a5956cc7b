#pragma once

namespace lumigrave::ui {

// The bar styles by their platform numbers: 0 default, 1 black, 2 black translucent.
enum class BarStyle { Default = 0, Black = 1, BlackTranslucent = 2 };

// The height of navigation bars and toolbars, in points.
constexpr int kBarHeight = 44;

}  // namespace lumigrave::ui
