#include "ui/view_transform.h"

#include <cmath>
#include <numbers>

namespace lumigrave::ui {

namespace {
int normalised(int quarterTurns) {
    return ((quarterTurns % 4) + 4) % 4;
}
}  // namespace

bool quarterTurnsForAngle(double radians, int* quarterTurns) {
    if (!std::isfinite(radians)) {
        return false;
    }
    const double turns = radians / (std::numbers::pi / 2);
    const double whole = std::round(turns);
    // The platform's own constants (M_PI_2 in single or double precision) land this close.
    if (std::abs(turns - whole) > 1e-6 || std::abs(whole) > 1e6) {
        return false;
    }
    *quarterTurns = normalised(int(whole));
    return true;
}

QRectF turnedFrame(QRectF frame, int quarterTurns) {
    if (normalised(quarterTurns) % 2 == 0) {
        return frame;
    }
    const QPointF centre = frame.center();
    const QSizeF size = frame.size().transposed();
    return QRectF(centre.x() - size.width() / 2, centre.y() - size.height() / 2, size.width(),
                  size.height());
}

QTransform boundsToTurnedView(QSizeF bounds, int quarterTurns) {
    const qreal w = bounds.width();
    const qreal h = bounds.height();
    // QTransform(m11, m12, m21, m22, dx, dy): x' = m11 x + m21 y + dx, y' = m12 x + m22 y + dy.
    switch (normalised(quarterTurns)) {
        case 1:  // clockwise: the top edge becomes the right edge
            return QTransform(0, 1, -1, 0, h, 0);
        case 2:
            return QTransform(-1, 0, 0, -1, w, h);
        case 3:  // counter-clockwise: the left edge becomes the bottom edge
            return QTransform(0, -1, 1, 0, 0, w);
        default:
            return {};
    }
}

}  // namespace lumigrave::ui
