#pragma once

#include <QPointF>

#include "ui/control.h"

namespace lumigrave::ui {

// An on/off switch. A click (or a touch) anywhere on it flips it, and so do Space and
// Enter while it has the focus; each flip by the user sends ValueChanged. setOn() in code
// sends nothing, as on the platform.
class Switch : public Control {
    Q_OBJECT
  public:
    // The platform's switch, in points.
    static constexpr int kWidth = 79;
    static constexpr int kHeight = 27;

    explicit Switch(QWidget* parent = nullptr);

    bool isOn() const { return on_; }
    // The slide of the knob is a fade the desktop does without.
    void setOn(bool on, bool animated = false);

    void touchesBegan(QPointF pos) override;
    void touchesEnded(QPointF pos) override;
    void touchesCancelled(QPointF pos) override;

    QSize sizeHint() const override { return QSize(kWidth, kHeight); }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // Flips the switch as the user does, telling the targets.
    void toggleByUser();

    bool on_ = false;
};

}  // namespace lumigrave::ui
