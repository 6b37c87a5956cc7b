#pragma once

#include "platform/image.h"

class QWidget;

namespace lumigrave::ui {

// Whether a view covers every pixel of its bounds with opaque paint, so that a snapshot
// of it needs no alpha channel. A widget is opaque when
//   - it promises to paint all of itself (Qt::WA_OpaquePaintEvent), or
//   - it fills its background (autoFillBackground) with an opaque brush of its
//     background role, or
//   - it is a window whose system background is drawn (neither
//     Qt::WA_NoSystemBackground nor Qt::WA_TranslucentBackground) with an opaque brush of
//     its background role.
// Anything else (a plain container, for one) leaves uncovered pixels see-through.
bool isOpaqueView(const QWidget& view);

// The view and its children rendered into an image of the view's size in points at the
// main screen's scale (pixels = points × scale; the image carries that scale). The image
// has no alpha channel exactly when the view is opaque; uncovered pixels of a
// translucent view are fully transparent. A null, hidden or empty view gives a null
// image, and the reason is logged.
Image imageByRenderingView(QWidget* view);

}  // namespace lumigrave::ui
