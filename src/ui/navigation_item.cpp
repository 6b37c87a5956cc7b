#include "ui/navigation_item.h"

#include "ui/bar_button_item.h"

namespace lumigrave::ui {

void NavigationItem::setTitle(const QString& title) {
    if (title_ != title || title_.isNull() != title.isNull()) {
        title_ = title;
        emit changed();
    }
}

void NavigationItem::setLeftBarButtonItem(BarButtonItem* item) {
    if (left_ != item) {
        left_ = item;
        emit changed();
    }
}

void NavigationItem::setRightBarButtonItem(BarButtonItem* item) {
    if (right_ != item) {
        right_ = item;
        emit changed();
    }
}

void NavigationItem::setHidesBackButton(bool hides) {
    if (hidesBackButton_ != hides) {
        hidesBackButton_ = hides;
        emit changed();
    }
}

}  // namespace lumigrave::ui
