#include "model/layout_type.h"

#include <array>

namespace lumigrave {

QString layoutTypeTitle(int layoutType) {
    static const std::array<const char*, kLayoutTypeCount> titles = {
        "Center",       "Top Left",      "Top Right",     "Bottom Left",
        "Bottom Right", "Tile Parallel", "Tile Interlace"};
    if (layoutType < 0 || layoutType >= kLayoutTypeCount) {
        return {};
    }
    return QString::fromLatin1(titles[layoutType]);
}

}  // namespace lumigrave
