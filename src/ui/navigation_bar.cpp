#include "ui/navigation_bar.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

#include "ui/bar_button_item.h"
#include "ui/style.h"
#include "ui/view_controller.h"

namespace lumigrave::ui {

namespace {

// The button of an image, title or system item.
class BarItemButton : public QAbstractButton {
  public:
    BarItemButton(BarButtonItem* item, QWidget* parent) : QAbstractButton(parent), item_(item) {
        setFocusPolicy(Qt::TabFocus);
        setCursor(Qt::PointingHandCursor);
        QString name = item->title();
        if (name.isEmpty()) {
            name = item->objectName();
        }
        setAccessibleName(name);
        setToolTip(name);
        setEnabled(item->isEnabled());
        connect(this, &QAbstractButton::clicked, item, [item] { item->trigger(); });
        connect(item, &BarButtonItem::changed, this, [this, item] {
            setEnabled(item->isEnabled());
            update();
        });
    }

    QSize sizeHint() const override {
        if (!item_->title().isEmpty()) {
            int w = fontMetrics().horizontalAdvance(item_->title()) + 20;
            return QSize(std::max(w, 44), 30);
        }
        if (item_->systemItem() == BarButtonItem::SystemItem::Action ||
            item_->systemItem() == BarButtonItem::SystemItem::Trash) {
            return QSize(36, 30);
        }
        QSize icon = item_->image().actualSize(QSize(64, 64));
        int w = icon.isValid() ? icon.width() : 24;
        return QSize(w + (item_->style() == BarButtonItem::Style::Plain ? 12 : 18), 30);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QRectF frame = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
        bool pressed = isDown();
        if (item_->style() != BarButtonItem::Style::Plain) {
            QPainterPath path;
            path.addRoundedRect(frame, 5, 5);
            QColor fill = style::barItemFill(item_->style() == BarButtonItem::Style::Done);
            painter.fillPath(path, pressed ? fill.darker(150) : fill);
            painter.setPen(QPen(style::barItemOutline(), 1));
            painter.drawPath(path);
        } else if (pressed) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(style::barItemHighlight());
            painter.drawEllipse(rect().center(), height() / 2, height() / 2);
        }
        if (hasFocus()) {
            painter.setPen(QPen(palette().highlight().color(), 1.5));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(frame, 5, 5);
        }
        painter.setOpacity(isEnabled() ? 1.0 : 0.4);
        if (!item_->title().isEmpty()) {
            painter.setFont(style::barItemFont(painter.font()));
            painter.setPen(style::chromeText());
            painter.drawText(rect(), Qt::AlignCenter, item_->title());
        } else if (item_->systemItem() == BarButtonItem::SystemItem::Action) {
            QIcon icon = resourceIcon(QStringLiteral("images/sys-action.png"));
            icon.paint(&painter, rect().adjusted(4, 2, -4, -2));
        } else if (item_->systemItem() == BarButtonItem::SystemItem::Trash) {
            drawTrash(painter, QRectF(rect()).adjusted(10, 5, -10, -5));
        } else {
            item_->image().paint(&painter, rect().adjusted(4, 2, -4, -2));
        }
    }

    // A bin with a lid and three ribs, in the bar's text colour.
    static void drawTrash(QPainter& painter, QRectF area) {
        const qreal w = std::min(area.width(), area.height() * 0.8);
        const QRectF box(area.center().x() - w / 2, area.top(), w, area.height());
        painter.setPen(QPen(style::chromeText(), 1.6, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        const qreal lid = box.top() + box.height() * 0.18;
        painter.drawLine(QPointF(box.left() - 2, lid), QPointF(box.right() + 2, lid));
        painter.drawLine(QPointF(box.center().x() - w * 0.2, box.top()),
                         QPointF(box.center().x() + w * 0.2, box.top()));
        QPainterPath bin;
        bin.moveTo(box.left() + 1, lid);
        bin.lineTo(box.left() + w * 0.15, box.bottom());
        bin.lineTo(box.right() - w * 0.15, box.bottom());
        bin.lineTo(box.right() - 1, lid);
        painter.drawPath(bin);
        for (int i = 1; i <= 3; ++i) {
            const qreal x = box.left() + w * i / 4;
            painter.drawLine(QPointF(x, lid + 4), QPointF(x, box.bottom() - 3));
        }
    }

  private:
    BarButtonItem* item_;
};

}  // namespace

QWidget* makeBarItemWidget(BarButtonItem* item, BarStyle, QWidget* parent) {
    if (QWidget* custom = item->customView()) {
        custom->setProperty(kCustomViewProperty, true);
        custom->setParent(parent);
        item->setShownWidget(custom);
        return custom;
    }
    auto* button = new BarItemButton(item, parent);
    item->setShownWidget(button);
    return button;
}

NavigationBar::NavigationBar(QWidget* parent) : QWidget(parent), titleLabel_(new QLabel(this)) {
    titleLabel_->setFont(style::barTitleFont(titleLabel_->font()));
    titleLabel_->setAlignment(Qt::AlignCenter);
    titleLabel_->setStyleSheet(style::barTitleStyleSheet());
}

void NavigationBar::showItem(const NavigationItem& item, BarButtonItem* backItem) {
    titleLabel_->setText(item.title());
    auto replace = [this](QPointer<QWidget>& slot, BarButtonItem* barItem) {
        if (slot) {
            if (slot->property(kCustomViewProperty).toBool()) {
                slot->hide();
                slot->setParent(nullptr);
            } else {
                slot->hide();
                slot->deleteLater();
            }
        }
        slot = barItem ? makeBarItemWidget(barItem, barStyle_, this) : nullptr;
        if (slot) {
            slot->show();
        }
    };
    BarButtonItem* left = item.leftBarButtonItem();
    if (left == nullptr && !item.hidesBackButton()) {
        left = backItem;
    }
    replace(left_, left);
    replace(right_, item.rightBarButtonItem());
    layoutContents();
}

QString NavigationBar::title() const {
    return titleLabel_->text();
}

void NavigationBar::setBarStyle(BarStyle style) {
    barStyle_ = style;
    update();
}

void NavigationBar::setTranslucent(bool translucent) {
    translucent_ = translucent;
    update();
}

void NavigationBar::setTintColor(const QColor& tint) {
    tint_ = tint;
    update();
}

QSize NavigationBar::sizeHint() const {
    return QSize(320, kBarHeight);
}

void NavigationBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), style::barBackground(barStyle_, translucent_, tint_));
    painter.setPen(style::barEdge());
    painter.drawLine(0, height() - 1, width(), height() - 1);
}

void NavigationBar::resizeEvent(QResizeEvent*) {
    layoutContents();
}

void NavigationBar::layoutContents() {
    constexpr int kMargin = 5;
    int leftEdge = kMargin;
    int rightEdge = width() - kMargin;
    if (left_) {
        QSize hint = left_->sizeHint();
        left_->setGeometry(kMargin, (height() - hint.height()) / 2, hint.width(), hint.height());
        leftEdge = left_->geometry().right() + kMargin;
    }
    if (right_) {
        QSize hint = right_->sizeHint();
        right_->setGeometry(width() - kMargin - hint.width(), (height() - hint.height()) / 2,
                            hint.width(), hint.height());
        rightEdge = right_->geometry().left() - kMargin;
    }
    // The title stays centred on the bar while the buttons leave it room.
    int half = std::max(0, std::min(width() / 2 - leftEdge, rightEdge - width() / 2));
    titleLabel_->setGeometry(width() / 2 - half, 0, 2 * half, height());
}

}  // namespace lumigrave::ui
