#include "app/editors/layout_picker_item.h"

#include <QFontMetricsF>
#include <QPainter>

#include "ui/style.h"

namespace lumigrave {

namespace {
constexpr float kImageLeft = 10;
constexpr float kTitleGap = 10;
}  // namespace

LayoutPickerItem::LayoutPickerItem(QWidget* parent) : QWidget(parent) {
    setFixedSize(int(viewWidth()), int(viewHeight()));
    setAutoFillBackground(false);  // a clear background
}

void LayoutPickerItem::setTitle(const QString& title) {
    title_ = title;
    setAccessibleName(title);
    update();
}

void LayoutPickerItem::setImage(const Image& image) {
    image_ = image;
    update();
}

float LayoutPickerItem::titleFontSize(const QString& title, float width) {
    for (float size = kTitleFontSize; size > kMinimumTitleFontSize; size -= 0.5f) {
        if (QFontMetricsF(ui::style::systemFont(size)).horizontalAdvance(title) <= width) {
            return size;
        }
    }
    return kMinimumTitleFontSize;
}

void LayoutPickerItem::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const Size imageSize = image_.isNull() ? Size{} : image_.size();
    const QRectF bounds(rect());
    if (!image_.isNull()) {
        const QRectF target(kImageLeft, (bounds.height() - imageSize.height) / 2, imageSize.width,
                            imageSize.height);
        painter.drawImage(target, image_.uprightPixels());
    }
    // The title from (iw + 20, (H - 18) / 2) on one line, fitted to the row's width as the
    // artwork expects; what runs past the row's edge is not shown.
    const qreal left = imageSize.width + kImageLeft + kTitleGap;
    const float size = titleFontSize(title_, float(bounds.width()));
    const QFont font = ui::style::systemFont(size);
    const QFontMetricsF metrics(font);
    const QRectF line(left, (bounds.height() - kTitleFontSize) / 2, bounds.width(), kTitleFontSize);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::WindowText));
    // Baselines aligned: the title's baseline sits where an 18-point line puts it.
    const qreal baseline =
        line.top() + QFontMetricsF(ui::style::systemFont(kTitleFontSize)).ascent();
    painter.drawText(QPointF(line.left(), baseline),
                     metrics.elidedText(title_, Qt::ElideRight, line.width()));
}

}  // namespace lumigrave
