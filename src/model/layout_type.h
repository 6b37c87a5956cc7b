#pragma once

#include <QString>
#include <array>
#include <optional>

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

// The one list of layout types and their names: the name the command line takes and the
// title the layout picker shows. Every place that names layouts reads it, so a new
// layout needs a row here and nothing else to be offered everywhere.
struct LayoutTypeNames {
    LayoutType type;
    const char* name;   // "top-left"
    const char* title;  // "Top Left"
};

inline constexpr std::array<LayoutTypeNames, kLayoutTypeCount> kLayoutTypeNames = {{
    {kLayoutCenter, "center", "Center"},
    {kLayoutTopLeft, "top-left", "Top Left"},
    {kLayoutTopRight, "top-right", "Top Right"},
    {kLayoutBottomLeft, "bottom-left", "Bottom Left"},
    {kLayoutBottomRight, "bottom-right", "Bottom Right"},
    {kLayoutTileParallel, "tile-parallel", "Tile Parallel"},
    {kLayoutTileInterlace, "tile-interlace", "Tile Interlace"},
}};

// A row missing after kLayoutTypeCount grew, or rows out of order, fail the build here.
constexpr bool layoutTypeNamesComplete() {
    for (int i = 0; i < kLayoutTypeCount; ++i) {
        const LayoutTypeNames& row = kLayoutTypeNames[size_t(i)];
        if (row.type != i || row.name == nullptr || row.title == nullptr) {
            return false;
        }
    }
    return true;
}
static_assert(layoutTypeNamesComplete(), "kLayoutTypeNames needs one row per layout, in order");

// The title the layout picker shows ("Center", "Top Left", …); empty for other values.
QString layoutTypeTitle(int layoutType);

// The layout type a command-line name stands for; nothing for an unknown name.
std::optional<LayoutType> layoutTypeForName(const QString& name);

}  // namespace lumigrave
