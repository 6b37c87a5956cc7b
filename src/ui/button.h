#pragma once

#include <QPointF>
#include <QString>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

namespace lumigrave::ui {

// The touch handlers of a control. The platform's controls follow touches; here the left
// mouse button and the first touch point become the same four calls, so a control (or a
// subclass of one) is written once for both. Positions are in the control's coordinates.
class TouchResponder {
  public:
    virtual ~TouchResponder() = default;
    virtual void touchesBegan(QPointF pos) = 0;
    virtual void touchesMoved(QPointF pos) = 0;
    virtual void touchesEnded(QPointF pos) = 0;
    virtual void touchesCancelled(QPointF pos) = 0;

  protected:
    // Call first from event(): true when the event was a press, move or release of the
    // left button or a touch, and has been handed to the handlers.
    bool routePointerEvent(QEvent* event);
    // Forgets a press in progress without calling any handler; the control decides
    // what an interrupted press means.
    void forgetPointer() { down_ = false; }
    bool isPointerDown() const { return down_; }

  private:
    bool down_ = false;
    QPointF lastPos_;
};

// A push button that reports the platform's control events. Space and Enter press it
// when it has the focus, as any desktop button, and arrive as touches at its centre.
class Button : public QWidget, public TouchResponder {
    Q_OBJECT
  public:
    enum ControlEvent {
        TouchDown,
        TouchDragInside,
        TouchDragOutside,
        TouchUpInside,
        TouchUpOutside,
        TouchCancel,
        ValueChanged,
    };

    explicit Button(QWidget* parent = nullptr);
    explicit Button(const QString& title, QWidget* parent = nullptr);

    QString title() const { return title_; }
    void setTitle(const QString& title);
    // True while a press is held and the pointer is inside the button.
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    bool isTracking() const { return tracking_; }

    // Targets run in the order they were added.
    void addTarget(ControlEvent event, std::function<void()> action);
    void sendActionsForControlEvents(ControlEvent event);
    void setNeedsDisplay() { update(); }

    // The standard tracking: a press highlights and sends TouchDown; moves follow whether
    // the pointer is inside; the end sends TouchUpInside or TouchUpOutside.
    void touchesBegan(QPointF pos) override;
    void touchesMoved(QPointF pos) override;
    void touchesEnded(QPointF pos) override;
    void touchesCancelled(QPointF pos) override;

    QSize sizeHint() const override;

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    bool inside(QPointF pos) const { return QRectF(rect()).contains(pos); }
    // A press that cannot finish (the button was disabled or hidden) is cancelled.
    void abandonPress();

    QString title_;
    bool highlighted_ = false;
    bool tracking_ = false;
    int pressedKey_ = 0;  // the key holding the button down; 0 for none
    std::vector<std::pair<ControlEvent, std::function<void()>>> targets_;
};

}  // namespace lumigrave::ui
