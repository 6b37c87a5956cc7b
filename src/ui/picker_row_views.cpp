#include "ui/picker_row_views.h"

#include <algorithm>

namespace lumigrave::ui {

void PickerRowViews::keep(int first, int last, const Maker& make) {
    for (auto it = rows_.begin(); it != rows_.end();) {
        if (it->first < first || it->first > last) {
            release(it->second);
            it = rows_.erase(it);
        } else {
            ++it;
        }
    }
    for (int row = first; row <= last; ++row) {
        if (rows_.count(row) != 0) {
            continue;
        }
        QWidget* spare = takeSpare();
        QWidget* made = make ? make(row, spare) : nullptr;
        if (spare && made != spare) {
            // Not taken: the spare goes back for the next row.
            spares_.push_back(spare);
        }
        Held held;
        held.view = made;
        if (made) {
            if (!made->parentWidget()) {
                made->setParent(owner_);
                made->hide();
            }
            held.owned = made->parentWidget() == owner_;
        }
        rows_[row] = held;
    }
    while (spares_.size() > kMaxSpares) {
        delete spares_.front().data();
        spares_.erase(spares_.begin());
    }
}

QWidget* PickerRowViews::view(int row) const {
    const auto it = rows_.find(row);
    return it == rows_.end() ? nullptr : it->second.view.data();
}

void PickerRowViews::clear() {
    for (auto& [row, held] : rows_) {
        release(held);
    }
    rows_.clear();
    for (QPointer<QWidget>& spare : spares_) {
        delete spare.data();
    }
    spares_.clear();
}

void PickerRowViews::release(Held& held) {
    if (!held.view || !held.owned) {
        return;
    }
    // The same view may be held for two rows when a delegate returns it twice.
    const bool stillShown = std::any_of(rows_.begin(), rows_.end(), [&](const auto& entry) {
        return &entry.second != &held && entry.second.view == held.view;
    });
    const bool spare = std::find(spares_.begin(), spares_.end(), held.view) != spares_.end();
    if (!stillShown && !spare) {
        spares_.push_back(held.view);
    }
}

QWidget* PickerRowViews::takeSpare() {
    while (!spares_.empty()) {
        QPointer<QWidget> spare = spares_.back();
        spares_.pop_back();
        if (spare) {
            return spare;
        }
    }
    return nullptr;
}

}  // namespace lumigrave::ui
