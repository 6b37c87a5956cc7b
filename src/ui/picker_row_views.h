#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <vector>

namespace lumigrave::ui {

// The views one wheel of a picker shows for the rows now on screen, and who owns them.
//
// Ownership follows the view's parent, as everywhere in Qt:
// - a view handed over without a parent becomes the wheel's: it is parented (hidden) to
//   the wheel, and when its row leaves the screen it is kept as a spare, offered back to
//   the delegate as the reusable view, and deleted when not taken;
// - a view that already has a parent stays its parent's: the wheel only draws it and
//   forgets it when its row leaves the screen. Such a view may go at any time; the wheel
//   then draws nothing for the row until it asks again.
// Views are never reparented into the wheel's visible tree: the wheel draws them, so
// they take no clicks and a borrowed view never changes hands.
class PickerRowViews {
  public:
    // Makes the view of a row; null means "draw the title".
    using Maker = std::function<QWidget*(int row, QWidget* reusable)>;

    explicit PickerRowViews(QWidget* owner) : owner_(owner) {}
    ~PickerRowViews() { clear(); }
    PickerRowViews(const PickerRowViews&) = delete;
    PickerRowViews& operator=(const PickerRowViews&) = delete;

    // Holds views for the rows first to last and lets go of all others; rows already
    // held are not asked for again. An empty range (last < first) lets go of all.
    void keep(int first, int last, const Maker& make);
    // The view held for a row; null when the row is off screen or shows its title.
    QWidget* view(int row) const;
    // Lets go of every view, as when the rows themselves change.
    void clear();

  private:
    struct Held {
        QPointer<QWidget> view;
        bool owned = false;
    };
    static constexpr std::size_t kMaxSpares = 4;

    void release(Held& held);
    QWidget* takeSpare();

    QWidget* owner_;
    std::map<int, Held> rows_;
    std::vector<QPointer<QWidget>> spares_;
};

}  // namespace lumigrave::ui
