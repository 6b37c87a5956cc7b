#include "ui/table_view_cell.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "ui/style.h"

namespace lumigrave::ui {

namespace {
// The platform's cell: text 10 points in from the cell's edge, the chevron in a 20-point
// band at the right end.
constexpr int kTextInset = 10;
constexpr int kAccessoryWidth = 20;
constexpr qreal kCornerRadius = 8;
}  // namespace

TableViewCell::TableViewCell(Style, const QString& reuseIdentifier, QWidget* parent)
    : QWidget(parent),
      reuseIdentifier_(reuseIdentifier),
      contentView_(new QWidget(this)),
      textLabel_(new QLabel(contentView_)) {
    textLabel_->setObjectName(QStringLiteral("textLabel"));
    textLabel_->setFont(style::tableCellFont());
    textLabel_->setStyleSheet(style::tableCellTextStyleSheet());
    // Mouse events fall through to the cell, which turns them into a tap.
    textLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(320, kDefaultHeight);
}

void TableViewCell::setAccessoryType(AccessoryType type) {
    accessoryType_ = type;
    layoutContent();
    update();
}

void TableViewCell::setSelected(bool selected, bool) {
    selected_ = selected;
    update();
}

void TableViewCell::setGroupPosition(GroupPosition position, bool grouped) {
    position_ = position;
    grouped_ = grouped;
    update();
}

void TableViewCell::resizeEvent(QResizeEvent*) {
    layoutContent();
}

void TableViewCell::layoutContent() {
    const int accessory = accessoryType_ == AccessoryType::None ? 0 : kAccessoryWidth;
    contentView_->setGeometry(0, 0, width() - accessory, height());
    textLabel_->setGeometry(kTextInset, 0, contentView_->width() - 2 * kTextInset, height());
}

void TableViewCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    if (!grouped_) {
        shape.addRect(box);
    } else {
        // Only the section's outer corners are rounded.
        const bool top = position_ == GroupPosition::Single || position_ == GroupPosition::Top;
        const bool bottom =
            position_ == GroupPosition::Single || position_ == GroupPosition::Bottom;
        const qreal r = kCornerRadius;
        shape.moveTo(box.left(), box.top() + (top ? r : 0));
        if (top) {
            shape.arcTo(QRectF(box.left(), box.top(), 2 * r, 2 * r), 180, -90);
            shape.lineTo(box.right() - r, box.top());
            shape.arcTo(QRectF(box.right() - 2 * r, box.top(), 2 * r, 2 * r), 90, -90);
        } else {
            shape.lineTo(box.right(), box.top());
        }
        if (bottom) {
            shape.lineTo(box.right(), box.bottom() - r);
            shape.arcTo(QRectF(box.right() - 2 * r, box.bottom() - 2 * r, 2 * r, 2 * r), 0, -90);
            shape.lineTo(box.left() + r, box.bottom());
            shape.arcTo(QRectF(box.left(), box.bottom() - 2 * r, 2 * r, 2 * r), 270, -90);
        } else {
            shape.lineTo(box.right(), box.bottom());
            shape.lineTo(box.left(), box.bottom());
        }
        shape.closeSubpath();
    }
    painter.fillPath(
        shape, selected_ || pressed_ ? style::tableCellSelected() : style::tableCellBackground());
    painter.setPen(style::tableSeparator());
    if (grouped_) {
        painter.drawPath(shape);
    } else {
        painter.drawLine(box.bottomLeft(), box.bottomRight());
    }
    if (accessoryType_ == AccessoryType::DisclosureIndicator) {
        // The chevron: two strokes meeting at the right, in the middle of the band.
        QPen pen(style::tableAccessory(), 2.5);
        pen.setCapStyle(Qt::SquareCap);
        painter.setPen(pen);
        const QPointF tip(width() - kAccessoryWidth / 2.0 + 2, height() / 2.0);
        painter.drawPolyline(QPolygonF{tip + QPointF(-4.5, -4.5), tip, tip + QPointF(-4.5, 4.5)});
    } else if (accessoryType_ == AccessoryType::Checkmark) {
        // A tick: a short stroke down to the left of the band's middle, a long one up.
        QPen pen(style::tableCheckmark(), 2.5);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(pen);
        const QPointF base(width() - kAccessoryWidth / 2.0 - 2, height() / 2.0 + 5);
        painter.drawPolyline(QPolygonF{base + QPointF(-5, -5), base, base + QPointF(9, -12)});
    }
}

void TableViewCell::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        update();
    }
}

void TableViewCell::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) {
        return;
    }
    pressed_ = false;
    update();
    if (rect().contains(event->position().toPoint())) {
        emit tapped();
    }
}

}  // namespace lumigrave::ui
