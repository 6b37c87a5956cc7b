#pragma once

#include <QIcon>
#include <QRectF>
#include <QWidget>
#include "ui/control.h"

namespace lumigrave::ui {

// A horizontal slider drawn by us: an optional image at each end, the track between them
// and a round thumb. The geometry comes from the four rect functions, which subclasses
// may move; painting and hit testing both use them. The thumb follows a drag (a press on
// the track jumps there first), the arrow keys, Page Up/Down, Home/End and the wheel.
// Turned a quarter (Control::setRotation) it stands upright and works the same way along
// its turned track: turned counter-clockwise, its minimum is at the bottom and Up raises.
class Slider : public Control {
    Q_OBJECT
  public:
    explicit Slider(QWidget* parent = nullptr);

    float value() const { return value_; }
    // Clamped to the range; sends no event, as a change made in code never does.
    void setValue(float value);
    float minimumValue() const { return minimum_; }
    // A minimum above the maximum raises the maximum to it, and the other way round.
    void setMinimumValue(float minimum);
    float maximumValue() const { return maximum_; }
    void setMaximumValue(float maximum);
    // Continuous sliders report every change of a drag; the others only its end.
    bool isContinuous() const { return continuous_; }
    void setContinuous(bool continuous) { continuous_ = continuous; }

    QIcon minimumValueImage() const { return minimumImage_; }
    void setMinimumValueImage(const QIcon& image);
    QIcon maximumValueImage() const { return maximumImage_; }
    void setMaximumValueImage(const QIcon& image);

    // In the coordinates of bounds (normally rect()). An end without an image has an
    // empty rect at its edge.
    virtual QRectF minimumValueImageRectForBounds(QRectF bounds) const;
    virtual QRectF maximumValueImageRectForBounds(QRectF bounds) const;
    virtual QRectF trackRectForBounds(QRectF bounds) const;
    virtual QRectF thumbRectForBounds(QRectF bounds, QRectF trackRect, float value) const;

    void touchesBegan(QPointF pos) override;
    void touchesMoved(QPointF pos) override;
    void touchesEnded(QPointF pos) override;
    void touchesCancelled(QPointF pos) override;

    QSize sizeHint() const override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QSizeF imageSize(const QIcon& image, qreal maxHeight) const;
    // The value whose thumb is centred at x.
    float valueAt(qreal x) const;
    // A change made by the user: clamped, and reported when it changes the value.
    void changeValueByUser(float value);

    float value_ = 0;
    float minimum_ = 0;
    float maximum_ = 1;
    bool continuous_ = true;
    float valueAtPress_ = 0;
    qreal grabOffset_ = 0;  // from the thumb's centre to where it was taken
    QIcon minimumImage_;
    QIcon maximumImage_;
};

}  // namespace lumigrave::ui
