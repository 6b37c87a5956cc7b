#include "ui/segmented_control.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "ui/style.h"

namespace lumigrave::ui {

namespace {

// A segment's outline: the control's rounded ends belong to its first and last segments
// only, so the row reads as one control.
QPainterPath segmentShape(QRectF rect, qreal radius, bool first, bool last) {
    QPainterPath shape;
    if (!first && !last) {
        shape.addRect(rect);
        return shape;
    }
    shape.addRoundedRect(rect, radius, radius);
    if (first != last) {
        QRectF square = rect;
        if (first) {
            square.setLeft(rect.center().x());
        } else {
            square.setRight(rect.center().x());
        }
        QPainterPath squared;
        squared.addRect(square);
        shape = shape.united(squared);
    }
    return shape;
}

}  // namespace

SegmentView::SegmentView(SegmentedControl* control) : QWidget(control), control_(control) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SegmentView::setTintColor(const QColor& color) {
    if (tint_ != color) {
        tint_ = color;
        update();
    }
}

void SegmentView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool bar = control_->segmentedControlStyle() == SegmentedControl::kStyleBar;
    const int index = int(control_->segmentViews().indexOf(this));
    const bool first = index == 0;
    const bool last = index == control_->numberOfSegments() - 1;
    const QRectF rect = QRectF(this->rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath shape = segmentShape(rect, bar ? 4 : 8, first, last);
    const QColor controlTint = control_->effectiveTint();

    // A segment with its own tint shows that tint as it is; the others show the selection.
    const bool filled = tint_.isValid() || bar || selected_;
    QColor fill = tint_.isValid() ? tint_
                  : bar           ? (selected_ ? controlTint.darker(130) : controlTint)
                  : selected_     ? controlTint
                                  : palette().color(QPalette::Base);
    if (pressed_) {
        fill = fill.darker(115);
    }
    if (bar) {
        QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
        gradient.setColorAt(0, fill.lighter(125));
        gradient.setColorAt(1, fill);
        painter.fillPath(shape, gradient);
        painter.setPen(QPen(fill.darker(150), 1));
    } else {
        painter.fillPath(shape, fill);
        painter.setPen(QPen(controlTint, 1));
    }
    painter.drawPath(shape);
    if (selected_ && control_->hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight).lighter(140), 2));
        painter.drawPath(segmentShape(rect.adjusted(2, 2, -2, -2), bar ? 3 : 6, first, last));
    }

    const QRect content = this->rect().adjusted(4, 4, -4, -4);
    if (!image_.isNull()) {
        image_.paint(&painter, content, Qt::AlignCenter,
                     control_->isEnabled() ? QIcon::Normal : QIcon::Disabled);
    } else {
        QFont font = painter.font();
        font.setBold(bar);
        painter.setFont(font);
        painter.setPen(filled ? style::chromeText() : controlTint);
        painter.drawText(content, Qt::AlignCenter, title_);
    }
}

SegmentedControl::SegmentedControl(QWidget* parent) : Control(parent) {}

SegmentedControl::SegmentedControl(const QStringList& titles, QWidget* parent)
    : SegmentedControl(parent) {
    for (const QString& title : titles) {
        insertSegment(title, numberOfSegments());
    }
}

SegmentedControl::SegmentedControl(const QList<QIcon>& images, QWidget* parent)
    : SegmentedControl(parent) {
    for (const QIcon& image : images) {
        insertSegment(image, numberOfSegments());
    }
}

SegmentView* SegmentedControl::insert(int index) {
    index = std::clamp(index, 0, numberOfSegments());
    auto* view = new SegmentView(this);
    segments_.insert(index, view);
    if (selected_ >= index) {
        ++selected_;
    }
    tracked_ = -1;
    layoutSegments();
    view->show();
    updateGeometry();
    return view;
}

void SegmentedControl::insertSegment(const QString& title, int index) {
    insert(index)->title_ = title;
}

void SegmentedControl::insertSegment(const QIcon& image, int index) {
    insert(index)->image_ = image;
}

void SegmentedControl::removeAllSegments() {
    qDeleteAll(segments_);
    segments_.clear();
    selected_ = -1;
    tracked_ = -1;
    updateGeometry();
}

void SegmentedControl::setTitle(const QString& title, int segment) {
    if (segment >= 0 && segment < numberOfSegments()) {
        segments_[segment]->title_ = title;
        segments_[segment]->update();
        updateGeometry();
    }
}

QString SegmentedControl::titleForSegment(int segment) const {
    return segment >= 0 && segment < numberOfSegments() ? segments_[segment]->title_ : QString();
}

void SegmentedControl::setImage(const QIcon& image, int segment) {
    if (segment >= 0 && segment < numberOfSegments()) {
        segments_[segment]->image_ = image;
        segments_[segment]->update();
        updateGeometry();
    }
}

QIcon SegmentedControl::imageForSegment(int segment) const {
    return segment >= 0 && segment < numberOfSegments() ? segments_[segment]->image_ : QIcon();
}

int SegmentedControl::segmentIndexAt(QPointF pos) const {
    for (int i = 0; i < numberOfSegments(); ++i) {
        if (QRectF(segmentRect(i)).contains(pos)) {
            return i;
        }
    }
    return -1;
}

void SegmentedControl::setSelectedSegmentIndex(int index) {
    if (index < -1 || index >= numberOfSegments()) {
        index = -1;
    }
    selected_ = index;
    for (int i = 0; i < numberOfSegments(); ++i) {
        segments_[i]->selected_ = i == index;
        segments_[i]->update();
    }
}

void SegmentedControl::setSegmentedControlStyle(int style) {
    style_ = style;
    updateGeometry();
    for (SegmentView* view : segments_) {
        view->update();
    }
}

void SegmentedControl::setTintColor(const QColor& color) {
    tint_ = color;
    for (SegmentView* view : segments_) {
        view->update();
    }
}

QColor SegmentedControl::effectiveTint() const {
    if (tint_.isValid()) {
        return tint_;
    }
    return style_ == kStyleBar ? style::segmentBarTint() : palette().color(QPalette::Highlight);
}

void SegmentedControl::setPressed(int index) {
    for (int i = 0; i < numberOfSegments(); ++i) {
        if (segments_[i]->pressed_ != (i == index)) {
            segments_[i]->pressed_ = i == index;
            segments_[i]->update();
        }
    }
}

void SegmentedControl::touchesBegan(QPointF pos) {
    if (!isEnabled() || tracked_ >= 0) {
        return;
    }
    tracked_ = segmentIndexAt(pos);
    setTracking(tracked_ >= 0);
    setPressed(tracked_);
}

void SegmentedControl::touchesMoved(QPointF pos) {
    if (tracked_ >= 0) {
        setPressed(segmentIndexAt(pos) == tracked_ ? tracked_ : -1);
    }
}

void SegmentedControl::touchesEnded(QPointF pos) {
    if (tracked_ < 0) {
        return;
    }
    const int touched = tracked_;
    tracked_ = -1;
    setTracking(false);
    setPressed(-1);
    if (segmentIndexAt(pos) != touched) {
        return;
    }
    const int before = selected_;
    setSelectedSegmentIndex(touched);
    if (selected_ != before) {
        sendActionsForControlEvents(ControlEvent::ValueChanged);
    }
}

void SegmentedControl::touchesCancelled(QPointF) {
    tracked_ = -1;
    setTracking(false);
    setPressed(-1);
}

QSize SegmentedControl::sizeHint() const {
    const QFontMetrics metrics(font());
    int widest = 44;
    for (const SegmentView* view : segments_) {
        widest = std::max(widest, metrics.horizontalAdvance(view->title_) + 20);
        for (const QSize& size : view->image_.availableSizes()) {
            widest = std::max(widest, size.width() + 16);
        }
    }
    return QSize(widest * std::max(1, numberOfSegments()), style_ == kStyleBar ? 30 : 44);
}

bool SegmentedControl::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            for (SegmentView* view : segments_) {
                view->update();
            }
            break;
        default:
            break;
    }
    return Control::event(event);
}

void SegmentedControl::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key != Qt::Key_Left && key != Qt::Key_Right) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    const int n = numberOfSegments();
    int target = key == Qt::Key_Right ? selected_ + 1 : selected_ - 1;
    if (selected_ < 0) {
        target = key == Qt::Key_Right ? 0 : n - 1;
    }
    if (target < 0 || target >= n || tracked_ >= 0 || isPointerDown()) {
        return;
    }
    // As a tap on that segment, so that a subclass's touch handling applies to keys too.
    const QPointF centre = QRectF(segmentRect(target)).center();
    touchesBegan(centre);
    touchesEnded(centre);
}

void SegmentedControl::resizeEvent(QResizeEvent* event) {
    layoutSegments();
    QWidget::resizeEvent(event);
}

QRect SegmentedControl::segmentRect(int index) const {
    const int n = numberOfSegments();
    const int left = int(std::lround(double(index) * width() / n));
    const int right = int(std::lround(double(index + 1) * width() / n));
    return QRect(left, 0, right - left, height());
}

void SegmentedControl::layoutSegments() {
    for (int i = 0; i < numberOfSegments(); ++i) {
        segments_[i]->setGeometry(segmentRect(i));
    }
}

}  // namespace lumigrave::ui
