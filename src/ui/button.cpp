#include "ui/button.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace lumigrave::ui {

Button::Button(QWidget* parent) : Button(QString(), parent) {}

Button::Button(const QString& title, QWidget* parent) : Control(parent), title_(title) {}

void Button::setTitle(const QString& title) {
    if (title_ != title) {
        title_ = title;
        updateGeometry();
        update();
    }
}

void Button::setImage(const Image& image) {
    image_ = image;
    updateGeometry();
    update();
}

void Button::touchesBegan(QPointF) {
    if (!isEnabled() || isTracking()) {
        return;
    }
    setTracking(true);
    setHighlighted(true);
    sendActionsForControlEvents(ControlEvent::TouchDown);
}

void Button::touchesMoved(QPointF pos) {
    if (!isTracking()) {
        return;
    }
    const bool in = inside(pos);
    setHighlighted(in);
    sendActionsForControlEvents(in ? ControlEvent::TouchDragInside
                                   : ControlEvent::TouchDragOutside);
}

void Button::touchesEnded(QPointF pos) {
    if (!isTracking()) {
        return;
    }
    setTracking(false);
    setHighlighted(false);
    sendActionsForControlEvents(inside(pos) ? ControlEvent::TouchUpInside
                                            : ControlEvent::TouchUpOutside);
}

void Button::touchesCancelled(QPointF) {
    if (!isTracking()) {
        return;
    }
    setTracking(false);
    setHighlighted(false);
    sendActionsForControlEvents(ControlEvent::TouchCancel);
}

QSize Button::sizeHint() const {
    if (!image_.isNull()) {
        const Size size = image_.size();
        return QSize(qRound(size.width), qRound(size.height));
    }
    QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(title_) + 24, std::max(37, metrics.height() + 12));
}

void Button::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat() && pressedKey_ == 0 && !isPointerDown()) {
        pressedKey_ = key;
        touchesBegan(QRectF(rect()).center());
    }
    event->accept();
}

void Button::keyReleaseEvent(QKeyEvent* event) {
    if (pressedKey_ == 0 || event->key() != pressedKey_) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    if (!event->isAutoRepeat()) {
        pressedKey_ = 0;
        touchesEnded(QRectF(rect()).center());
    }
    event->accept();
}

void Button::focusOutEvent(QFocusEvent* event) {
    if (pressedKey_ != 0) {
        pressedKey_ = 0;
        touchesCancelled(QRectF(rect()).center());
    }
    QWidget::focusOutEvent(event);
}

void Button::abandonPress() {
    pressedKey_ = 0;
    Control::abandonPress();
}

void Button::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!image_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(rect()), image_.uprightPixels());
        if (isHighlighted()) {
            painter.fillRect(rect(), QColor(0, 0, 0, 80));
        }
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colours = palette();
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(colours.color(QPalette::Mid), 1));
    painter.setBrush(colours.color(isHighlighted() ? QPalette::Highlight : QPalette::Button));
    painter.drawRoundedRect(frame, 8, 8);
    if (hasFocus()) {
        painter.setPen(QPen(colours.color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(frame.adjusted(1, 1, -1, -1), 7, 7);
    }
    painter.setPen(isHighlighted()
                       ? colours.color(QPalette::HighlightedText)
                       : colours.color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::ButtonText));
    painter.drawText(rect(), Qt::AlignCenter, title_);
}

}  // namespace lumigrave::ui
