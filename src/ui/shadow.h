#pragma once
// Soft shadows, as the platform's drawing contexts cast them.

#include <QColor>
#include <QImage>
#include <QPointF>

class QPainter;
class QPainterPath;

namespace lumigrave::ui {

// A Gaussian blur of deviation sigma, separable, over premultiplied pixels (the image is
// converted to them first); outside the image counts as clear. A sigma that is not
// above 0 (NaN too) leaves the image as it is.
void gaussianBlur(QImage& image, qreal sigma);

// The shadow a path casts: its shape in the colour, blurred as a shadow blur of blur
// points (a Gaussian of deviation blur / 2), drawn offset, at the painter's device pixel
// ratio.
void drawShadow(QPainter& painter, const QPainterPath& path, QPointF offset, qreal blur,
                const QColor& colour);

}  // namespace lumigrave::ui
