#include "ui/gesture_recognizer.h"

#include <QGestureEvent>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPinchGesture>
#include <QWheelEvent>
#include <QWidget>
#include <cmath>

#include "platform/run_loop.h"

namespace lumigrave::ui {

namespace {
// A wheel turn of one notch (120 units) zooms by about a fifth.
constexpr double kWheelZoomPerUnit = 1.0015;
// A wheel zoom ends when the wheel has been still this long.
constexpr int kWheelEndMs = 250;
}  // namespace

GestureRecognizer::GestureRecognizer(Action action, QObject* parent)
    : QObject(parent), action_(std::move(action)) {}

void GestureRecognizer::addToView(QWidget* view) {
    if (view_) {
        view_->removeEventFilter(this);
    }
    view_ = view;
    view->installEventFilter(this);
    view->setAttribute(Qt::WA_AcceptTouchEvents);
    view->grabGesture(Qt::PinchGesture);
}

QPointF GestureRecognizer::locationInView(QWidget* view) const {
    if (view == nullptr || !view_ || view == view_) {
        return location_;
    }
    // Through the screen: mapFrom() only maps from a widget's own ancestors.
    return view->mapFromGlobal(view_->mapToGlobal(location_));
}

void GestureRecognizer::setState(State state) {
    state_ = state;
    if (state != State::Possible && state != State::Failed && action_) {
        action_(*this);
    }
    // A finished gesture makes room for the next one.
    if (state == State::Ended || state == State::Cancelled || state == State::Failed) {
        state_ = State::Possible;
    }
}

bool GestureRecognizer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_) {
        return handleEvent(event);
    }
    return QObject::eventFilter(watched, event);
}

bool GestureRecognizer::mayReceiveTouch(QPointF position) {
    return delegate_ == nullptr || delegate_->shouldReceiveTouch(*this, position);
}

bool PinchGestureRecognizer::handleEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::Wheel: {
            auto* wheel = static_cast<QWheelEvent*>(event);
            int delta = wheel->angleDelta().y();
            if (delta == 0 || !mayReceiveTouch(wheel->position())) {
                return false;
            }
            change(float(std::pow(kWheelZoomPerUnit, delta)), wheel->position());
            // The gesture ends once the wheel has rested a while: each notch moves the end
            // on, and only the last notch's call finds itself still the latest.
            const unsigned notch = ++wheelNotches_;
            RunLoop::performAfter(
                kWheelEndMs / 1000.0,
                [this, notch] {
                    if (notch == wheelNotches_) {
                        finish();
                    }
                },
                this);
            return true;
        }
        case QEvent::NativeGesture: {
            auto* gesture = static_cast<QNativeGestureEvent*>(event);
            if (gesture->gestureType() == Qt::ZoomNativeGesture) {
                change(float(1 + gesture->value()), gesture->position());
                return true;
            }
            if (gesture->gestureType() == Qt::EndNativeGesture && state() != State::Possible) {
                finish();
                return true;
            }
            return false;
        }
        case QEvent::Gesture: {
            auto* gestures = static_cast<QGestureEvent*>(event);
            auto* pinch = static_cast<QPinchGesture*>(gestures->gesture(Qt::PinchGesture));
            if (pinch == nullptr) {
                return false;
            }
            if (pinch->state() == Qt::GestureFinished || pinch->state() == Qt::GestureCanceled) {
                finish();
            } else {
                change(float(pinch->scaleFactor()), pinch->centerPoint());
            }
            gestures->accept(pinch);
            return true;
        }
        default:
            return false;
    }
}

void PinchGestureRecognizer::change(float factor, QPointF position) {
    location_ = position;
    if (state() == State::Possible) {
        scale_ = 1;
        setState(State::Began);
    }
    scale_ *= factor;
    setState(State::Changed);
}

void PinchGestureRecognizer::finish() {
    ++wheelNotches_;  // a wheel end still pending has nothing left to end
    if (state() != State::Possible) {
        setState(State::Ended);
    }
}

QPointF PanGestureRecognizer::translationInView(QWidget*) const {
    // The recognizer's view and the views it is asked about share their scale here.
    return translation_;
}

void PanGestureRecognizer::setTranslation(QPointF translation, QWidget*) {
    translation_ = translation;
    start_ = location_ - translation;
}

bool PanGestureRecognizer::handleEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            // A mouse is one finger.
            if (mouse->button() != Qt::LeftButton || minTouches_ > 1 || maxTouches_ < 1 ||
                !mayReceiveTouch(mouse->position())) {
                return false;
            }
            pressed_ = true;
            start_ = mouse->position();
            location_ = start_;
            translation_ = {};
            return false;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            // A release another recognizer took never reached us: the held buttons say
            // whether the press still lasts.
            if (pressed_ && !(mouse->buttons() & Qt::LeftButton)) {
                pressed_ = false;
                if (state() != State::Possible) {
                    setState(State::Cancelled);
                }
            }
            if (!pressed_) {
                return false;
            }
            location_ = mouse->position();
            translation_ = location_ - start_;
            if (state() == State::Possible) {
                if (std::hypot(translation_.x(), translation_.y()) < kGestureSlop) {
                    return false;
                }
                setState(State::Began);
            } else {
                setState(State::Changed);
            }
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (!pressed_ || mouse->button() != Qt::LeftButton) {
                return false;
            }
            pressed_ = false;
            if (state() != State::Possible) {
                location_ = mouse->position();
                translation_ = location_ - start_;
                setState(State::Ended);
                return true;
            }
            return false;
        }
        default:
            return false;
    }
}

bool TapGestureRecognizer::handleEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            pressed_ = mouse->button() == Qt::LeftButton && mayReceiveTouch(mouse->position());
            start_ = mouse->position();
            return false;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            QPointF moved = mouse->position() - start_;
            if (pressed_ && std::hypot(moved.x(), moved.y()) >= kGestureSlop) {
                pressed_ = false;
            }
            return false;
        }
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (!pressed_ || mouse->button() != Qt::LeftButton) {
                return false;
            }
            pressed_ = false;
            location_ = mouse->position();
            setState(State::Ended);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace lumigrave::ui
