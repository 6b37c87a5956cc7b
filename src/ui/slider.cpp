#include "ui/slider.h"

#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "ui/style.h"

namespace lumigrave::ui {

namespace {
constexpr qreal kThumbDiameter = 23;
constexpr qreal kTrackHeight = 4;
constexpr qreal kImageGap = 4;  // between an end image and the track
// A press this close to the thumb takes it where it is rather than jumping.
constexpr qreal kThumbSlop = 4;
}  // namespace

Slider::Slider(QWidget* parent) : Control(parent) {}

void Slider::setValue(float value) {
    value = std::clamp(value, minimum_, maximum_);
    if (value != value_) {
        value_ = value;
        update();
    }
}

void Slider::setMinimumValue(float minimum) {
    minimum_ = minimum;
    maximum_ = std::max(maximum_, minimum);
    value_ = std::clamp(value_, minimum_, maximum_);
    update();
}

void Slider::setMaximumValue(float maximum) {
    maximum_ = maximum;
    minimum_ = std::min(minimum_, maximum);
    value_ = std::clamp(value_, minimum_, maximum_);
    update();
}

void Slider::setMinimumValueImage(const QIcon& image) {
    minimumImage_ = image;
    updateGeometry();
    update();
}

void Slider::setMaximumValueImage(const QIcon& image) {
    maximumImage_ = image;
    updateGeometry();
    update();
}

QSizeF Slider::imageSize(const QIcon& image, qreal maxHeight) const {
    if (image.isNull()) {
        return {};
    }
    // The smallest size the icon holds is its size in points; its "@2x" twin is larger.
    const QList<QSize> sizes = image.availableSizes();
    QSizeF size = sizes.isEmpty()
                      ? QSizeF(image.actualSize(QSize(64, 64)))
                      : QSizeF(*std::min_element(sizes.begin(), sizes.end(), [](QSize a, QSize b) {
                            return a.width() * a.height() < b.width() * b.height();
                        }));
    if (size.height() > maxHeight && size.height() > 0) {
        size *= maxHeight / size.height();
    }
    return size;
}

QRectF Slider::minimumValueImageRectForBounds(QRectF bounds) const {
    const QSizeF size = imageSize(minimumImage_, bounds.height());
    return QRectF(QPointF(bounds.left(), bounds.center().y() - size.height() / 2), size);
}

QRectF Slider::maximumValueImageRectForBounds(QRectF bounds) const {
    const QSizeF size = imageSize(maximumImage_, bounds.height());
    return QRectF(QPointF(bounds.right() - size.width(), bounds.center().y() - size.height() / 2),
                  size);
}

QRectF Slider::trackRectForBounds(QRectF bounds) const {
    // The standard image rects, not a subclass's: moving an image does not move the track.
    const QRectF minimumRect = Slider::minimumValueImageRectForBounds(bounds);
    const QRectF maximumRect = Slider::maximumValueImageRectForBounds(bounds);
    const qreal left = minimumRect.right() + (minimumImage_.isNull() ? 0 : kImageGap);
    const qreal right = maximumRect.left() - (maximumImage_.isNull() ? 0 : kImageGap);
    return QRectF(left, bounds.center().y() - kTrackHeight / 2, std::max<qreal>(0, right - left),
                  kTrackHeight);
}

QRectF Slider::thumbRectForBounds(QRectF bounds, QRectF trackRect, float value) const {
    const qreal diameter = std::min(kThumbDiameter, bounds.height());
    const float range = maximum_ - minimum_;
    const qreal fraction = range > 0 ? std::clamp((value - minimum_) / range, 0.0f, 1.0f) : 0;
    const qreal travel = trackRect.width() - diameter;
    const qreal centre =
        travel > 0 ? trackRect.left() + diameter / 2 + fraction * travel : trackRect.center().x();
    return QRectF(centre - diameter / 2, trackRect.center().y() - diameter / 2, diameter, diameter);
}

float Slider::valueAt(qreal x) const {
    const QRectF bounds = Control::bounds();
    const QRectF track = trackRectForBounds(bounds);
    const qreal diameter = thumbRectForBounds(bounds, track, value_).width();
    const qreal travel = track.width() - diameter;
    if (travel <= 0) {
        return value_;
    }
    const qreal fraction = std::clamp((x - track.left() - diameter / 2) / travel, 0.0, 1.0);
    return minimum_ + float(fraction) * (maximum_ - minimum_);
}

void Slider::changeValueByUser(float value) {
    const float before = value_;
    setValue(value);
    if (value_ != before && (continuous_ || !isTracking())) {
        sendActionsForControlEvents(ControlEvent::ValueChanged);
    }
}

void Slider::touchesBegan(QPointF pos) {
    if (!isEnabled() || isTracking()) {
        return;
    }
    setTracking(true);
    valueAtPress_ = value_;
    const QRectF bounds = Control::bounds();
    const QRectF thumb = thumbRectForBounds(bounds, trackRectForBounds(bounds), value_);
    if (thumb.adjusted(-kThumbSlop, -kThumbSlop, kThumbSlop, kThumbSlop).contains(pos)) {
        grabOffset_ = pos.x() - thumb.center().x();
    } else {
        grabOffset_ = 0;
        changeValueByUser(valueAt(pos.x()));
    }
    update();
}

void Slider::touchesMoved(QPointF pos) {
    if (isTracking()) {
        changeValueByUser(valueAt(pos.x() - grabOffset_));
    }
}

void Slider::touchesEnded(QPointF) {
    if (!isTracking()) {
        return;
    }
    setTracking(false);
    update();
    if (!continuous_ && value_ != valueAtPress_) {
        sendActionsForControlEvents(ControlEvent::ValueChanged);
    }
}

void Slider::touchesCancelled(QPointF pos) {
    // The thumb stays where the drag left it, so the change is reported as at an end.
    touchesEnded(pos);
}

QSize Slider::sizeHint() const {
    const QSizeF minimum = imageSize(minimumImage_, kThumbDiameter);
    const QSizeF maximum = imageSize(maximumImage_, kThumbDiameter);
    return QSize(int(160 + minimum.width() + maximum.width()), int(kThumbDiameter));
}

void Slider::keyPressEvent(QKeyEvent* event) {
    const float range = maximum_ - minimum_;
    float target = value_;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
            target -= range / 100;
            break;
        case Qt::Key_Right:
        case Qt::Key_Up:
            target += range / 100;
            break;
        case Qt::Key_PageDown:
            target -= range / 10;
            break;
        case Qt::Key_PageUp:
            target += range / 10;
            break;
        case Qt::Key_Home:
            target = minimum_;
            break;
        case Qt::Key_End:
            target = maximum_;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
    if (!isTracking()) {
        changeValueByUser(target);
    }
}

void Slider::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    const int notches = delta.y() != 0 ? delta.y() : delta.x();
    if (notches == 0 || isTracking() || !isEnabled()) {
        event->ignore();
        return;
    }
    event->accept();
    // Three small steps a notch, as the desktop's own sliders.
    changeValueByUser(value_ + float(notches) / 120 * 3 * (maximum_ - minimum_) / 100);
}

void Slider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setTransform(boundsTransform());
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled()) {
        painter.setOpacity(0.5);
    }
    const QRectF bounds = Control::bounds();
    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    if (!minimumImage_.isNull()) {
        minimumImage_.paint(&painter, minimumValueImageRectForBounds(bounds).toRect(),
                            Qt::AlignCenter, mode);
    }
    if (!maximumImage_.isNull()) {
        maximumImage_.paint(&painter, maximumValueImageRectForBounds(bounds).toRect(),
                            Qt::AlignCenter, mode);
    }

    const QPalette& colours = palette();
    const QRectF track = trackRectForBounds(bounds);
    const QRectF thumb = thumbRectForBounds(bounds, track, value_);
    const qreal radius = track.height() / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.color(QPalette::Mid));
    painter.drawRoundedRect(track, radius, radius);
    QRectF filled = track;
    filled.setRight(std::clamp(thumb.center().x(), track.left(), track.right()));
    painter.setBrush(colours.color(QPalette::Highlight));
    painter.drawRoundedRect(filled, radius, radius);

    painter.setPen(hasFocus() ? QPen(colours.color(QPalette::Highlight), 2)
                              : QPen(style::sliderThumbOutline(), 1));
    painter.setBrush(style::sliderThumb(isTracking()));
    painter.drawEllipse(thumb.adjusted(1, 1, -1, -1));
}

}  // namespace lumigrave::ui
