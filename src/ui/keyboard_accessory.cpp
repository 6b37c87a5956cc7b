#include "ui/keyboard_accessory.h"

#include <QEvent>
#include <QWidget>

namespace lumigrave::ui {

KeyboardAccessory::~KeyboardAccessory() {
    // The layer goes with the base; the view is not ours to take along.
    takeBackView();
}

bool KeyboardAccessory::dock(QWidget* view, QWidget* window) {
    if (view == nullptr || isPresented()) {
        return false;
    }
    if (window == nullptr) {
        // Checked here: a presentation that cannot be shown deletes its panel, and the
        // view belongs to whoever gave it to the field.
        qWarning("A keyboard accessory could not be shown: the field has no window");
        return false;
    }
    view_ = view;
    formerParent_ = view->parentWidget();
    view->resize(window->width(), view->height() > 0 ? view->height() : view->sizeHint().height());
    if (!presentPanel(window, view, Placement::Bottom, 0, Modality::NonModal, false, {},
                      QStringLiteral("A keyboard accessory"))) {
        view_ = nullptr;
        return false;
    }
    window_ = window;
    window->installEventFilter(this);
    return true;
}

bool KeyboardAccessory::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Resize && view_ && panel() == view_) {
        view_->resize(window_->width(), view_->height());
        relayout();
    }
    return Presentation::eventFilter(watched, event);
}

void KeyboardAccessory::takeBackView() {
    if (window_) {
        window_->removeEventFilter(this);
        window_ = nullptr;
    }
    if (view_ && panel() == view_) {
        view_->hide();
        view_->setParent(formerParent_);
    }
    view_ = nullptr;
    formerParent_ = nullptr;
}

}  // namespace lumigrave::ui
