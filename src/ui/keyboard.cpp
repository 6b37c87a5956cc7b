#include "ui/keyboard.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QVariantMap>
#include <QWidget>

#include "platform/notification_center.h"
#include "ui/keyboard_accessory.h"
#include "ui/text_field.h"

namespace lumigrave::ui {

Keyboard& Keyboard::shared() {
    static Keyboard keyboard;
    return keyboard;
}

Keyboard::Keyboard() = default;
Keyboard::~Keyboard() = default;

QWidget* Keyboard::dockedAccessoryView() const {
    return accessory_ && accessory_->isPresented() ? accessory_->view() : nullptr;
}

QRectF Keyboard::endFrame(QSizeF window, qreal keyboardHeight) {
    const qreal height = qBound<qreal>(0, keyboardHeight, window.height());
    return QRectF(0, window.height() - height, window.width(), height);
}

QRectF Keyboard::frameFor(const QWidget* window) const {
    if (window == nullptr) {
        return {};
    }
    const QInputMethod* input = QGuiApplication::inputMethod();
    const qreal height = input && input->isVisible() ? input->keyboardRectangle().height() : 0;
    return endFrame(window->size(), height);
}

void Keyboard::textInputBegan(TextField* field) {
    QPointer<TextField> previous = current_;
    current_ = field;
    if (previous && previous != field) {
        // One first responder: the one left behind ends its editing; the keyboard stays.
        previous->endEditing();
    }
    if (field->inputAccessoryView() != nullptr &&
        field->inputAccessoryView() != dockedAccessoryView()) {
        undockAccessory();
        dockAccessory(field);
    }
    if (shown_) {
        return;
    }
    shown_ = true;
    frame_ = frameFor(field->window());
    // Last, so that an observer may move the focus on to another text input.
    NotificationCenter::defaultCenter().postNotification(
        DidShowNotification, field, QVariantMap{{FrameEndUserInfoKey, frame_}});
}

void Keyboard::textInputEnded(TextField* field, bool handingOver) {
    if (field != current_ || !shown_) {
        return;  // another text input has taken over already
    }
    current_ = nullptr;
    if (handingOver) {
        return;
    }
    shown_ = false;
    undockAccessory();
    NotificationCenter::defaultCenter().postNotification(
        DidHideNotification, field, QVariantMap{{FrameEndUserInfoKey, frame_}});
}

void Keyboard::dockAccessory(TextField* field) {
    if (!accessory_) {
        accessory_ = std::make_unique<KeyboardAccessory>();
    }
    accessory_->dock(field->inputAccessoryView(), field->window());
}

void Keyboard::undockAccessory() {
    if (accessory_) {
        accessory_->undock();
    }
}

}  // namespace lumigrave::ui
