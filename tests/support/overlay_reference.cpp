#include "support/overlay_reference.h"

#include <algorithm>
#include <cmath>

namespace lumigrave::test {

double overlayReference(double source, double backdrop) {
    if (backdrop <= 0.5) {
        return source * (2 * backdrop);  // multiply with 2b
    }
    const double screenWith = 2 * backdrop - 1;
    return source + screenWith - source * screenWith;  // screen with 2b − 1
}

double backdropFraction(int level) {
    return level == 128 ? 0.5 : level / 255.0;
}

double overlayGap(QRgb result, QRgb photo, double backdrop) {
    auto gap = [&](int out, int in) {
        return std::abs(out - 255 * overlayReference(in / 255.0, backdrop));
    };
    return std::max({gap(qRed(result), qRed(photo)), gap(qGreen(result), qGreen(photo)),
                     gap(qBlue(result), qBlue(photo))});
}

}  // namespace lumigrave::test
