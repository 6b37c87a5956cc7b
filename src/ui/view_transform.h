#pragma once

#include <QRectF>
#include <QSizeF>
#include <QTransform>

namespace lumigrave::ui {

// A view's transform, as far as Qt Widgets can show one: a turn about the centre of the
// view's frame by whole quarter turns. Turns count clockwise on screen (y points down),
// as the platform's rotation angles do, and are kept as 0 to 3.

// The number of quarter turns of a rotation angle; false when the angle is not a whole
// number of quarter turns (widgets cannot be shown at any other angle).
bool quarterTurnsForAngle(double radians, int* quarterTurns);

// The frame a view with that frame takes on screen once turned about its centre: the
// same centre, width and height swapped for odd turns.
QRectF turnedFrame(QRectF frame, int quarterTurns);

// Maps the view's own, unturned coordinates (its bounds, origin top-left, of the size
// given) to the coordinates of the turned view on screen, origin top-left.
QTransform boundsToTurnedView(QSizeF bounds, int quarterTurns);

}  // namespace lumigrave::ui
