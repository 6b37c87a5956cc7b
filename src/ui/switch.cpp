#include "ui/switch.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include "ui/style.h"

namespace lumigrave::ui {

Switch::Switch(QWidget* parent) : Control(parent) {
    resize(kWidth, kHeight);
    setCursor(Qt::PointingHandCursor);
}

void Switch::setOn(bool on, bool) {
    if (on_ != on) {
        on_ = on;
        update();
    }
}

void Switch::touchesBegan(QPointF) {
    if (!isEnabled() || isTracking()) {
        return;
    }
    setTracking(true);
    setHighlighted(true);
}

void Switch::touchesEnded(QPointF pos) {
    if (!isTracking()) {
        return;
    }
    setTracking(false);
    setHighlighted(false);
    // A press dragged off the switch before it is let go changes nothing.
    if (bounds().contains(pos)) {
        toggleByUser();
    }
}

void Switch::touchesCancelled(QPointF) {
    setTracking(false);
    setHighlighted(false);
}

void Switch::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) {
        Control::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat()) {
        toggleByUser();
    }
    event->accept();
}

void Switch::toggleByUser() {
    on_ = !on_;
    update();
    sendActionsForControlEvents(ControlEvent::ValueChanged);
}

void Switch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isEnabled() ? 1.0 : 0.5);
    const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = track.height() / 2;
    QPainterPath shape;
    shape.addRoundedRect(track, radius, radius);
    painter.fillPath(shape, style::switchTrack(on_));
    painter.setPen(QPen(style::switchOutline(), 1));
    painter.drawPath(shape);

    // The knob sits at the end the switch is set to; the word shows in the other half.
    const qreal knob = track.height();
    const QRectF knobRect(on_ ? track.right() - knob : track.left(), track.top(), knob, knob);
    const QRectF wordRect =
        on_ ? QRectF(track.left(), track.top(), track.width() - knob, track.height())
            : QRectF(knobRect.right(), track.top(), track.width() - knob, track.height());
    painter.setFont(style::switchFont());
    painter.setPen(style::switchText(on_));
    painter.drawText(wordRect, Qt::AlignCenter, on_ ? tr("ON") : tr("OFF"));
    painter.setBrush(isHighlighted() ? style::switchKnob().darker(115) : style::switchKnob());
    painter.setPen(QPen(style::switchOutline(), 1));
    painter.drawEllipse(knobRect.adjusted(1, 1, -1, -1));
    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(palette().highlight().color(), 2));
        painter.drawRoundedRect(track.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    }
}

}  // namespace lumigrave::ui
