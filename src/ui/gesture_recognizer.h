#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <functional>

class QWidget;

namespace lumigrave::ui {

// Gestures with the platform's states: a continuous gesture goes began, changed …,
// ended; a discrete one (a tap) goes straight to ended when recognized. The action
// runs on every one of those changes. A recognizer watches the view it is added to;
// what the device has feeds it: touch and native pinch events where there are any, the
// mouse wheel (zoom), a drag (pan) and a click (tap) with a mouse.
class GestureRecognizer : public QObject {
    Q_OBJECT
  public:
    enum class State { Possible, Began, Changed, Ended, Cancelled, Failed };
    // The recognizer's single event, its target: every change of state.
    using Action = std::function<void(GestureRecognizer& recognizer)>;
    // The recognizer's protocol; its one call is optional.
    class Delegate {
      public:
        virtual ~Delegate() = default;
        // Asked before a touch (a press) is given to the recognizer.
        virtual bool shouldReceiveTouch(GestureRecognizer& recognizer, QPointF position) {
            Q_UNUSED(recognizer);
            Q_UNUSED(position);
            return true;
        }
    };

    explicit GestureRecognizer(Action action, QObject* parent = nullptr);

    // Starts watching view (the platform's addGestureRecognizer).
    void addToView(QWidget* view);
    QWidget* view() const { return view_; }
    State state() const { return state_; }
    // Not owned; null lets every touch through.
    Delegate* delegate() const { return delegate_; }
    void setDelegate(Delegate* delegate) { delegate_ = delegate; }
    QPointF locationInView(QWidget* view) const;

    // Moves to a state and runs the action, as recognition does. Public so that input
    // the recognizers do not know (an accessibility tool, a test) can drive them.
    void setState(State state);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    virtual bool handleEvent(QEvent* event) = 0;
    bool mayReceiveTouch(QPointF position);

    QPointer<QWidget> view_;
    QPointF location_;

  private:
    State state_ = State::Possible;
    Action action_;
    Delegate* delegate_ = nullptr;
};

class PinchGestureRecognizer : public GestureRecognizer {
    Q_OBJECT
  public:
    using GestureRecognizer::GestureRecognizer;
    // The scale since the gesture began, or since it was last reset.
    float scale() const { return scale_; }
    void setScale(float scale) { scale_ = scale; }

  protected:
    bool handleEvent(QEvent* event) override;

  private:
    void change(float factor, QPointF position);
    void finish();

    float scale_ = 1;
    unsigned wheelNotches_ = 0;
};

class PanGestureRecognizer : public GestureRecognizer {
    Q_OBJECT
  public:
    using GestureRecognizer::GestureRecognizer;
    int minimumNumberOfTouches() const { return minTouches_; }
    void setMinimumNumberOfTouches(int touches) { minTouches_ = touches; }
    int maximumNumberOfTouches() const { return maxTouches_; }
    void setMaximumNumberOfTouches(int touches) { maxTouches_ = touches; }
    // The movement since the pan began, in the coordinates of view.
    QPointF translationInView(QWidget* view) const;
    void setTranslation(QPointF translation, QWidget* view);

  protected:
    bool handleEvent(QEvent* event) override;

  private:
    int minTouches_ = 1;
    int maxTouches_ = 1000;
    bool pressed_ = false;
    QPointF start_;
    QPointF translation_;
};

class TapGestureRecognizer : public GestureRecognizer {
    Q_OBJECT
  public:
    using GestureRecognizer::GestureRecognizer;

  protected:
    bool handleEvent(QEvent* event) override;

  private:
    bool pressed_ = false;
    QPointF start_;
};

// How far a press may move and still be a tap, and must move to begin a pan.
constexpr qreal kGestureSlop = 8;

}  // namespace lumigrave::ui
