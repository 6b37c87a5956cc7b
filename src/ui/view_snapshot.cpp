#include "ui/view_snapshot.h"

#include <QPainter>
#include <QWidget>
#include <cmath>

#include "platform/screen.h"

namespace lumigrave::ui {

namespace {

bool isOpaqueBrush(const QBrush& brush) {
    return brush.style() != Qt::NoBrush && brush.isOpaque();
}

// A window's background is drawn by the system unless it asks otherwise; a child's only
// when it fills its background itself.
bool drawsSystemBackground(const QWidget& view) {
    return view.isWindow() && !view.testAttribute(Qt::WA_NoSystemBackground) &&
           !view.testAttribute(Qt::WA_TranslucentBackground);
}

}  // namespace

bool isOpaqueView(const QWidget& view) {
    if (view.testAttribute(Qt::WA_OpaquePaintEvent)) {
        return true;
    }
    const QBrush background = view.palette().brush(view.backgroundRole());
    return (view.autoFillBackground() || drawsSystemBackground(view)) && isOpaqueBrush(background);
}

Image imageByRenderingView(QWidget* view) {
    if (!view) {
        qWarning("No snapshot of a view that does not exist");
        return {};
    }
    if (view->isHidden()) {
        qWarning("No snapshot of the hidden view %s", view->metaObject()->className());
        return {};
    }
    const QSize points = view->size();
    if (points.isEmpty()) {
        qWarning("No snapshot of the empty view %s (%d x %d points)",
                 view->metaObject()->className(), points.width(), points.height());
        return {};
    }
    const float scale = Screen::mainScreenScale();
    const QSize pixels(static_cast<int>(std::ceil(points.width() * scale)),
                       static_cast<int>(std::ceil(points.height() * scale)));
    const bool opaque = isOpaqueView(*view);
    QImage image(pixels, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        qWarning("No snapshot of %s: %d x %d pixels do not fit in memory",
                 view->metaObject()->className(), pixels.width(), pixels.height());
        return {};
    }
    // What an opaque view promises to cover but does not shows as black, as on a fresh
    // opaque context; a translucent view's uncovered pixels stay see-through.
    image.fill(opaque ? Qt::black : Qt::transparent);
    image.setDevicePixelRatio(scale);
    {
        QPainter painter(&image);
        // A child's inherited palette is no background of its own: drawing it would
        // cover what a translucent child leaves see-through.
        QWidget::RenderFlags flags = QWidget::DrawChildren;
        if (drawsSystemBackground(*view)) {
            flags |= QWidget::DrawWindowBackground;
        }
        view->render(&painter, QPoint(), QRegion(), flags);
    }
    image.setDevicePixelRatio(1);
    return Image(std::move(image), scale);
}

}  // namespace lumigrave::ui
