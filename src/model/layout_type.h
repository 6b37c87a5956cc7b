#pragma once

#include <QString>

namespace lumigrave {

// Where a watermark goes on the photo; the value stored in a preset's layout_type.
enum LayoutType : int {
    kLayoutCenter = 0,
    kLayoutTopLeft = 1,
    kLayoutTopRight = 2,
    kLayoutBottomLeft = 3,
    kLayoutBottomRight = 4,
    kLayoutTileParallel = 5,
    kLayoutTileInterlace = 6,
};

constexpr int kLayoutTypeCount = 7;

// The title the layout picker shows ("Center", "Top Left", …); empty for other values.
QString layoutTypeTitle(int layoutType);

}  // namespace lumigrave
