#include "ui/button.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTouchEvent>
#include <algorithm>

namespace lumigrave::ui {

bool TouchResponder::routePointerEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            // A quick second click comes as a double click; it is one more press here.
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton || down_) {
                return false;
            }
            down_ = true;
            lastPos_ = mouse->position();
            touchesBegan(lastPos_);
            return true;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (!down_ || !(mouse->buttons() & Qt::LeftButton)) {
                return false;
            }
            lastPos_ = mouse->position();
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
            lastPos_ = mouse->position();
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
                lastPos_ = touch->points().first().position();
            }
            const QEvent::Type type = event->type();
            if (type == QEvent::TouchBegin) {
                if (!down_) {
                    down_ = true;
                    touchesBegan(lastPos_);
                }
            } else if (!down_) {
                // The press was forgotten (the control was disabled); its rest is ignored.
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

Button::Button(QWidget* parent) : Button(QString(), parent) {}

Button::Button(const QString& title, QWidget* parent) : QWidget(parent), title_(title) {
    setAttribute(Qt::WA_AcceptTouchEvents);
    setFocusPolicy(Qt::StrongFocus);
}

void Button::setTitle(const QString& title) {
    if (title_ != title) {
        title_ = title;
        updateGeometry();
        update();
    }
}

void Button::setHighlighted(bool highlighted) {
    if (highlighted_ != highlighted) {
        highlighted_ = highlighted;
        update();
    }
}

void Button::addTarget(ControlEvent event, std::function<void()> action) {
    targets_.emplace_back(event, std::move(action));
}

void Button::sendActionsForControlEvents(ControlEvent event) {
    // A copy, and a guard: a target may add targets or delete the button.
    const auto targets = targets_;
    QPointer<Button> alive(this);
    for (const auto& [targetEvent, action] : targets) {
        if (!alive) {
            return;
        }
        if (targetEvent == event && action) {
            action();
        }
    }
}

void Button::touchesBegan(QPointF) {
    if (!isEnabled() || tracking_) {
        return;
    }
    tracking_ = true;
    setHighlighted(true);
    sendActionsForControlEvents(TouchDown);
}

void Button::touchesMoved(QPointF pos) {
    if (!tracking_) {
        return;
    }
    const bool in = inside(pos);
    setHighlighted(in);
    sendActionsForControlEvents(in ? TouchDragInside : TouchDragOutside);
}

void Button::touchesEnded(QPointF pos) {
    if (!tracking_) {
        return;
    }
    tracking_ = false;
    setHighlighted(false);
    sendActionsForControlEvents(inside(pos) ? TouchUpInside : TouchUpOutside);
}

void Button::touchesCancelled(QPointF) {
    if (!tracking_) {
        return;
    }
    tracking_ = false;
    setHighlighted(false);
    sendActionsForControlEvents(TouchCancel);
}

QSize Button::sizeHint() const {
    QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(title_) + 24, std::max(37, metrics.height() + 12));
}

bool Button::event(QEvent* event) {
    // Disabled controls take no presses (QWidget::event would have dropped them).
    if (isEnabled() && routePointerEvent(event)) {
        return true;
    }
    if (event->type() == QEvent::Hide) {
        abandonPress();
    }
    return QWidget::event(event);
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

void Button::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            abandonPress();
        }
        update();
    }
    QWidget::changeEvent(event);
}

void Button::abandonPress() {
    forgetPointer();
    pressedKey_ = 0;
    if (tracking_) {
        touchesCancelled(QRectF(rect()).center());
    }
}

void Button::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colours = palette();
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(colours.color(QPalette::Mid), 1));
    painter.setBrush(colours.color(highlighted_ ? QPalette::Highlight : QPalette::Button));
    painter.drawRoundedRect(frame, 8, 8);
    if (hasFocus()) {
        painter.setPen(QPen(colours.color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(frame.adjusted(1, 1, -1, -1), 7, 7);
    }
    painter.setPen(highlighted_ ? colours.color(QPalette::HighlightedText)
                                : colours.color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                                QPalette::ButtonText));
    painter.drawText(rect(), Qt::AlignCenter, title_);
}

}  // namespace lumigrave::ui
