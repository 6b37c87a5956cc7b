#include "model/layout_type.h"

namespace lumigrave {

QString layoutTypeTitle(int layoutType) {
    if (layoutType < 0 || layoutType >= kLayoutTypeCount) {
        return {};
    }
    return QString::fromLatin1(kLayoutTypeNames[size_t(layoutType)].title);
}

std::optional<LayoutType> layoutTypeForName(const QString& name) {
    for (const LayoutTypeNames& row : kLayoutTypeNames) {
        if (name == QLatin1String(row.name)) {
            return row.type;
        }
    }
    return std::nullopt;
}

}  // namespace lumigrave
