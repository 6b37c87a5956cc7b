#pragma once

#include <QPointF>
#include <QRectF>
#include <QTransform>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

namespace lumigrave::ui {

// The events a control reports to its targets, as the platform names them.
enum class ControlEvent {
    TouchDown,
    TouchDragInside,
    TouchDragOutside,
    TouchUpInside,
    TouchUpOutside,
    TouchCancel,
    ValueChanged,
    EditingDidBegin,
    EditingChanged,
    EditingDidEnd,
    EditingDidEndOnExit,
};

// The base of every control: buttons, sliders, segmented controls, text fields and
// switches. It holds what they share:
// - the touch adapter: the left mouse button and the first touch point become the same
//   four calls, so a control (or a subclass of one) handles both once. Positions are in
//   the control's coordinates. A press that cannot finish (the control is hidden or
//   disabled under it) ends in touchesCancelled.
// - the enabled, highlighted and selected states; a disabled control takes no presses.
// - targets per control event and one dispatch that survives a target deleting the
//   control or adding targets.
// - the view transform of a quarter turn (the margin sliders stand upright): the control
//   lays itself out, paints and takes touches in its unturned bounds(), and only its
//   frame on screen is turned.
class Control : public QWidget {
    Q_OBJECT
  public:
    explicit Control(QWidget* parent = nullptr);

    // True while a press is held and the pointer is inside (buttons), or while the
    // control is being pressed (segments).
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);
    // True while a touch the control accepted lasts.
    bool isTracking() const { return tracking_; }

    // Targets run in the order they were added.
    void addTarget(ControlEvent event, std::function<void()> action);
    void removeAllTargets() { targets_.clear(); }
    void sendActionsForControlEvents(ControlEvent event);
    void setNeedsDisplay() { update(); }

    // Turns the control about its frame's centre; angles in radians, positive clockwise
    // on screen. Only whole quarter turns can be shown: another angle is logged and
    // leaves the control as it was.
    void setRotation(double radians);
    // 0 to 3 clockwise quarter turns.
    int quarterTurns() const { return quarterTurns_; }
    // The frame before the turn, in the parent's coordinates; the control is shown in
    // the turned frame. A turned control is moved with setFrame, not setGeometry.
    QRectF frame() const;
    void setFrame(QRectF frame);
    // The control's own coordinates: the unturned frame's size, origin top-left. Touch
    // positions arrive in them; a subclass paints in them after applying
    // boundsTransform() to its painter.
    QRectF bounds() const;
    QTransform boundsTransform() const;

    virtual void touchesBegan(QPointF pos) { Q_UNUSED(pos); }
    virtual void touchesMoved(QPointF pos) { Q_UNUSED(pos); }
    virtual void touchesEnded(QPointF pos) { Q_UNUSED(pos); }
    virtual void touchesCancelled(QPointF pos) { Q_UNUSED(pos); }

  protected:
    void setTracking(bool tracking) { tracking_ = tracking; }
    bool isPointerDown() const { return down_; }
    // Forgets a press in progress and, when the control was tracking it, cancels it.
    // Called when the control is hidden or disabled under a press.
    virtual void abandonPress();

    bool event(QEvent* event) override;

  private:
    // True when the event was a press, move or release of the left button or a touch,
    // and has been handed to the touch handlers.
    bool routePointerEvent(QEvent* event);
    QPointF toBounds(QPointF widgetPos) const;

    bool down_ = false;
    bool highlighted_ = false;
    bool selected_ = false;
    bool tracking_ = false;
    QPointF lastPos_;
    int quarterTurns_ = 0;
    QRectF frame_;  // the unturned frame while turned
    std::vector<std::pair<ControlEvent, std::function<void()>>> targets_;
};

}  // namespace lumigrave::ui
