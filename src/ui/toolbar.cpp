#include "ui/toolbar.h"

#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QPropertyAnimation>

#include "ui/navigation_bar.h"
#include "ui/style.h"

namespace lumigrave::ui {

namespace {
constexpr int kSideMargin = 6;
constexpr int kItemGap = 10;

// A widget's size hint within its own minimum and maximum, as Qt's layouts take it: a
// custom view given a fixed size keeps it.
QSize itemSize(const QWidget* widget) {
    return widget->sizeHint().expandedTo(widget->minimumSize()).boundedTo(widget->maximumSize());
}
}  // namespace

Toolbar::Toolbar(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_StyledBackground, false);
}

void Toolbar::setItems(const QList<BarButtonItem*>& items, bool animated) {
    items_ = items;
    rebuild();
    if (animated && isVisible()) {
        auto* effect = new QGraphicsOpacityEffect(this);
        setGraphicsEffect(effect);
        auto* fade = new QPropertyAnimation(effect, "opacity", this);
        fade->setDuration(200);
        fade->setStartValue(0.0);
        fade->setEndValue(1.0);
        connect(fade, &QPropertyAnimation::finished, this, [this] { setGraphicsEffect(nullptr); });
        fade->start(QAbstractAnimation::DeleteWhenStopped);
    }
}

void Toolbar::setBarStyle(BarStyle style) {
    barStyle_ = style;
    rebuild();
}

void Toolbar::setTranslucent(bool translucent) {
    translucent_ = translucent;
    update();
}

QWidget* Toolbar::widgetForItemAt(int index) const {
    return index >= 0 && index < widgets_.size() ? widgets_[index] : nullptr;
}

QWidget* Toolbar::widgetForItem(const BarButtonItem* item) const {
    int index = items_.indexOf(const_cast<BarButtonItem*>(item));
    return widgetForItemAt(index);
}

QSize Toolbar::sizeHint() const {
    return QSize(320, kBarHeight);
}

void Toolbar::rebuild() {
    for (QWidget* widget : widgets_) {
        if (widget == nullptr) {
            continue;
        }
        // A custom view goes back to its item rather than with the old widgets.
        if (widget->property(kCustomViewProperty).toBool()) {
            widget->hide();
            widget->setParent(nullptr);
        } else {
            widget->deleteLater();
            widget->hide();
        }
    }
    widgets_.clear();
    for (BarButtonItem* item : items_) {
        if (item == nullptr || item->isSpace()) {
            widgets_.append(nullptr);
            continue;
        }
        QWidget* widget = makeBarItemWidget(item, barStyle_, this);
        widget->show();
        widgets_.append(widget);
    }
    layoutItems();
    update();
}

void Toolbar::layoutItems() {
    int fixed = 0;
    int flexible = 0;
    int shown = 0;
    for (int i = 0; i < items_.size(); ++i) {
        BarButtonItem* item = items_[i];
        if (item == nullptr) {
            continue;
        }
        if (item->systemItem() == BarButtonItem::SystemItem::FlexibleSpace) {
            ++flexible;
        } else if (item->systemItem() == BarButtonItem::SystemItem::FixedSpace) {
            fixed += int(item->width());
        } else if (widgets_[i] != nullptr) {
            fixed += itemSize(widgets_[i]).width();
            ++shown;
        }
    }
    // A gap follows each shown item but the last; spaces bring none of their own.
    int gaps = std::max(0, shown - 1) * kItemGap;
    int room = std::max(0, width() - 2 * kSideMargin - fixed - gaps);
    int share = flexible > 0 ? room / flexible : 0;
    int x = kSideMargin;
    for (int i = 0; i < items_.size(); ++i) {
        BarButtonItem* item = items_[i];
        if (item == nullptr) {
            continue;
        }
        if (item->systemItem() == BarButtonItem::SystemItem::FlexibleSpace) {
            x += share;
            continue;
        }
        if (item->systemItem() == BarButtonItem::SystemItem::FixedSpace) {
            x += int(item->width());
            continue;
        }
        QWidget* widget = widgets_[i];
        QSize hint = itemSize(widget);
        int h = std::min(hint.height(), height());
        widget->setGeometry(x, (height() - h) / 2, hint.width(), h);
        x += hint.width() + kItemGap;
    }
}

void Toolbar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), style::barBackground(barStyle_, translucent_));
    painter.setPen(style::toolbarEdge());
    painter.drawLine(0, 0, width(), 0);
}

void Toolbar::resizeEvent(QResizeEvent*) {
    layoutItems();
}

}  // namespace lumigrave::ui
