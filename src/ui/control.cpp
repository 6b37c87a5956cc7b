#include "ui/control.h"

#include <QDebug>
#include <QMouseEvent>
#include <QPointer>
#include <QTouchEvent>

#include "ui/view_transform.h"

namespace lumigrave::ui {

Control::Control(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_AcceptTouchEvents);
    setFocusPolicy(Qt::StrongFocus);
}

void Control::setHighlighted(bool highlighted) {
    if (highlighted_ != highlighted) {
        highlighted_ = highlighted;
        update();
    }
}

void Control::setSelected(bool selected) {
    if (selected_ != selected) {
        selected_ = selected;
        update();
    }
}

void Control::addTarget(ControlEvent event, std::function<void()> action) {
    if (action) {
        targets_.emplace_back(event, std::move(action));
    }
}

void Control::sendActionsForControlEvents(ControlEvent event) {
    // A copy, and a guard: a target may add targets or delete the control.
    const auto targets = targets_;
    QPointer<Control> alive(this);
    for (const auto& [targetEvent, action] : targets) {
        if (!alive) {
            return;
        }
        if (targetEvent == event) {
            action();
        }
    }
}

void Control::setRotation(double radians) {
    int turns = 0;
    if (!quarterTurnsForAngle(radians, &turns)) {
        qWarning().noquote() << "A control can only be turned by quarter turns, not by" << radians
                             << "radians";
        return;
    }
    const QRectF unturned = frame();
    quarterTurns_ = turns;
    setFrame(unturned);
}

QRectF Control::frame() const {
    return quarterTurns_ == 0 ? QRectF(geometry()) : frame_;
}

void Control::setFrame(QRectF frame) {
    frame_ = frame;
    setGeometry(turnedFrame(frame, quarterTurns_).toRect());
}

QRectF Control::bounds() const {
    const QSizeF shown(size());
    return QRectF(QPointF(0, 0), quarterTurns_ % 2 == 0 ? shown : shown.transposed());
}

QTransform Control::boundsTransform() const {
    return boundsToTurnedView(bounds().size(), quarterTurns_);
}

QPointF Control::toBounds(QPointF widgetPos) const {
    return quarterTurns_ == 0 ? widgetPos : boundsTransform().inverted().map(widgetPos);
}

void Control::abandonPress() {
    down_ = false;
    if (tracking_) {
        touchesCancelled(bounds().center());
    }
}

bool Control::event(QEvent* event) {
    // Disabled controls take no presses (QWidget::event would have dropped them).
    if (isEnabled() && routePointerEvent(event)) {
        return true;
    }
    const bool interrupted =
        event->type() == QEvent::Hide || (event->type() == QEvent::EnabledChange && !isEnabled());
    if (interrupted) {
        abandonPress();
    }
    if (event->type() == QEvent::EnabledChange) {
        update();
    }
    return QWidget::event(event);
}

bool Control::routePointerEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            // A quick second click comes as a double click; it is one more press here.
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton || down_) {
                return false;
            }
            down_ = true;
            lastPos_ = toBounds(mouse->position());
            touchesBegan(lastPos_);
            return true;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (!down_ || !(mouse->buttons() & Qt::LeftButton)) {
                return false;
            }
            lastPos_ = toBounds(mouse->position());
            touchesMoved(lastPos_);
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (!down_ || mouse->button() != Qt::LeftButton) {
                return false;
            }
            // The state is settled before the handler runs: a target may close the screen.
            down_ = false;
            lastPos_ = toBounds(mouse->position());
            touchesEnded(lastPos_);
            return true;
        }
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel: {
            auto* touch = static_cast<QTouchEvent*>(event);
            touch->accept();  // taken, so Qt does not also make mouse events of it
            if (!touch->points().isEmpty()) {
                lastPos_ = toBounds(touch->points().first().position());
            }
            const QEvent::Type type = event->type();
            if (type == QEvent::TouchBegin) {
                if (!down_) {
                    down_ = true;
                    touchesBegan(lastPos_);
                }
            } else if (!down_) {
                // The press was abandoned (the control was disabled); its rest is ignored.
            } else if (type == QEvent::TouchUpdate) {
                touchesMoved(lastPos_);
            } else {
                down_ = false;
                if (type == QEvent::TouchEnd) {
                    touchesEnded(lastPos_);
                } else {
                    touchesCancelled(lastPos_);
                }
            }
            return true;
        }
        default:
            return false;
    }
}

}  // namespace lumigrave::ui
