#include "ui/overlay_panel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPropertyAnimation>

#include "ui/style.h"
#include "ui/window.h"

namespace lumigrave::ui {

OverlayPanel::OverlayPanel(QWidget* host, QWidget* panel, Placement placement, qreal dimming,
                           bool modal)
    : QWidget(host),
      host_(host),
      panel_(panel),
      placement_(placement),
      dimming_(modal ? dimming : 0),
      modal_(modal) {
    panel_->setParent(this);
    setFocusPolicy(modal ? Qt::StrongFocus : Qt::NoFocus);
    host->installEventFilter(this);
    setGeometry(host->rect());
}

void OverlayPanel::present(bool animated) {
    layoutPanel();
    show();
    raise();
    panel_->show();
    if (modal_) {
        focusBefore_ = QApplication::focusWidget();
        setFocus();
    }
    if (animated && placement_ == Placement::Bottom) {
        // A modal layer stays put and its panel rises in it; a non-modal layer is the
        // panel's own size and rises itself.
        QWidget* moving = modal_ ? panel_ : static_cast<QWidget*>(this);
        slide_ = new QPropertyAnimation(moving, "pos", moving);
        QPoint end = moving->pos();
        slide_->setStartValue(QPoint(end.x(), host_ ? host_->height() : height()));
        slide_->setEndValue(end);
        slide_->setDuration(250);
        slide_->setEasingCurve(QEasingCurve::OutCubic);
        slide_->start(QAbstractAnimation::DeleteWhenStopped);
    }
}

bool OverlayPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == host_ && event->type() == QEvent::Resize) {
        layoutPanel();
    }
    return QWidget::eventFilter(watched, event);
}

QRect OverlayPanel::panelRect(QSize size) const {
    const QSize room = host_ ? host_->size() : this->size();
    size = size.boundedTo(room);
    switch (placement_) {
        case Placement::Centre:
            return QRect(
                QPoint((room.width() - size.width()) / 2, (room.height() - size.height()) / 2),
                size);
        case Placement::Bottom:
            return QRect(QPoint((room.width() - size.width()) / 2, room.height() - size.height()),
                         size);
        case Placement::Anchored: {
            // Below the anchor when there is room, else above it; kept inside the window.
            const QRect anchor = anchor_.toAlignedRect();
            int x = anchor.center().x() - size.width() / 2;
            int y = anchor.bottom() + 8;
            if (y + size.height() > room.height()) {
                y = anchor.top() - 8 - size.height();
            }
            x = std::clamp(x, 0, std::max(0, room.width() - size.width()));
            y = std::clamp(y, 0, std::max(0, room.height() - size.height()));
            return QRect(QPoint(x, y), size);
        }
        case Placement::Fill:
            break;
    }
    return QRect(QPoint(), room);
}

void OverlayPanel::layoutPanel() {
    const QSize wanted = panel_->size().isEmpty() ? panel_->sizeHint() : panel_->size();
    const QRect target = panelRect(wanted);
    const bool sliding = slide_ && slide_->state() == QAbstractAnimation::Running;
    if (modal_) {
        setGeometry(host_ ? host_->rect() : rect());
        if (sliding) {
            // The rise goes on, to where the panel now belongs.
            panel_->resize(target.size());
            slide_->setEndValue(target.topLeft());
        } else {
            panel_->setGeometry(target);
        }
        return;
    }
    panel_->setGeometry(QRect(QPoint(), target.size()));
    if (sliding) {
        resize(target.size());
        slide_->setEndValue(target.topLeft());
    } else {
        setGeometry(target);
    }
}

void OverlayPanel::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Unless the focus has moved on to something outside the layer meanwhile.
    const QWidget* focus = QApplication::focusWidget();
    const bool focusHere = focus == nullptr || focus == this || isAncestorOf(focus);
    if (modal_ && focusBefore_ && focusBefore_->isVisible() && focusHere) {
        focusBefore_->setFocus(Qt::OtherFocusReason);
    }
    focusBefore_ = nullptr;
}

bool OverlayPanel::isInModalLayer(const QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (auto* layer = qobject_cast<const OverlayPanel*>(widget); layer && layer->isModal()) {
            return true;
        }
    }
    return false;
}

void OverlayPanel::paintEvent(QPaintEvent*) {
    if (dimming_ > 0) {
        QPainter painter(this);
        painter.fillRect(rect(), style::dimming(dimming_));
    }
}

void OverlayPanel::mousePressEvent(QMouseEvent* event) {
    // Clicks outside a modal panel stop here; the screens beneath never see them.
    if (!panel_->geometry().contains(event->position().toPoint()) && onClickOutside) {
        onClickOutside();
    }
}

void OverlayPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && onEscape) {
        onEscape();
        return;
    }
    QWidget::keyPressEvent(event);
}

QWidget* hostWindowFor(QWidget* view) {
    if (view != nullptr) {
        return view->window();
    }
    if (Window* key = Window::keyWindow()) {
        return key;
    }
    return QApplication::activeWindow();
}

}  // namespace lumigrave::ui
