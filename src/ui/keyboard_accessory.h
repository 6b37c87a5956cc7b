#pragma once

#include <QPointer>

#include "ui/presentation.h"

namespace lumigrave::ui {

// A text input's accessory view, docked at the bottom of the window while the keyboard
// is up, as wide as the window (the keyboard's width) however the window is resized; its
// height is its own. Non-modal: the field keeps the focus and the window stays usable.
// The view is not owned; when it leaves it goes back, hidden, to the parent it had before.
class KeyboardAccessory : public Presentation {
    Q_OBJECT
  public:
    KeyboardAccessory() : Presentation(false) {}
    ~KeyboardAccessory() override;

    // False when the view has no window to dock in (logged).
    bool dock(QWidget* view, QWidget* window);
    void undock() { dismissPresentation(-1); }
    QWidget* view() const { return view_; }

  protected:
    void presentationWillHide() override { takeBackView(); }
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void takeBackView();

    QPointer<QWidget> view_;
    QPointer<QWidget> formerParent_;
    QPointer<QWidget> window_;
};

}  // namespace lumigrave::ui
