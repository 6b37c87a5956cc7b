#include "ui/keyboard_accessory.h"

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
    if (!presentPanel(window, view, Placement::Bottom, 0, Modality::NonModal, false, {},
                      QStringLiteral("A keyboard accessory"))) {
        view_ = nullptr;
        return false;
    }
    return true;
}

void KeyboardAccessory::takeBackView() {
    if (view_ && panel() == view_) {
        view_->hide();
        view_->setParent(formerParent_);
    }
    view_ = nullptr;
    formerParent_ = nullptr;
}

}  // namespace lumigrave::ui
