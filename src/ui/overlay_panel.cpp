#include "ui/overlay_panel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>

#include "ui/window.h"

namespace lumigrave::ui {

OverlayPanel::OverlayPanel(QWidget* host, QWidget* panel, Placement placement, qreal dimming)
    : QWidget(host), host_(host), panel_(panel), placement_(placement), dimming_(dimming) {
    panel_->setParent(this);
    setFocusPolicy(Qt::StrongFocus);
    host->installEventFilter(this);
    setGeometry(host->rect());
}

void OverlayPanel::present(bool animated) {
    layoutPanel();
    show();
    raise();
    panel_->show();
    setFocus();
    if (animated && placement_ == Placement::Bottom) {
        slide_ = new QPropertyAnimation(panel_, "pos", panel_);
        QPoint end = panel_->pos();
        slide_->setStartValue(QPoint(end.x(), height()));
        slide_->setEndValue(end);
        slide_->setDuration(250);
        slide_->setEasingCurve(QEasingCurve::OutCubic);
        slide_->start(QAbstractAnimation::DeleteWhenStopped);
    }
}

bool OverlayPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == host_ && event->type() == QEvent::Resize) {
        setGeometry(host_->rect());
        layoutPanel();
    }
    return QWidget::eventFilter(watched, event);
}

void OverlayPanel::layoutPanel() {
    QSize size = panel_->size().isEmpty() ? panel_->sizeHint() : panel_->size();
    size = size.boundedTo(this->size());
    switch (placement_) {
        case Placement::Centre:
            panel_->setGeometry(
                QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size));
            break;
        case Placement::Bottom: {
            const QPoint end((width() - size.width()) / 2, height() - size.height());
            if (slide_ && slide_->state() == QAbstractAnimation::Running) {
                // The rise goes on, to where the panel now belongs.
                panel_->resize(size);
                slide_->setEndValue(end);
            } else {
                panel_->setGeometry(QRect(end, size));
            }
            break;
        }
        case Placement::Anchored: {
            // Below the anchor when there is room, else above it; kept inside the window.
            QRect anchor = anchor_.toAlignedRect();
            int x = anchor.center().x() - size.width() / 2;
            int y = anchor.bottom() + 8;
            if (y + size.height() > height()) {
                y = anchor.top() - 8 - size.height();
            }
            x = std::clamp(x, 0, std::max(0, width() - size.width()));
            y = std::clamp(y, 0, std::max(0, height() - size.height()));
            panel_->setGeometry(QRect(QPoint(x, y), size));
            break;
        }
    }
}

void OverlayPanel::paintEvent(QPaintEvent*) {
    if (dimming_ > 0) {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0, 0, 0, int(dimming_ * 255)));
    }
}

void OverlayPanel::mousePressEvent(QMouseEvent* event) {
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

QWidget* makePanelButton(const QString& title, PanelButtonRole role, std::function<void()> pressed,
                         QWidget* parent) {
    auto* button = new QPushButton(title, parent);
    button->setMinimumHeight(40);
    button->setCursor(Qt::PointingHandCursor);
    QString colours;
    switch (role) {
        case PanelButtonRole::Normal:
            colours = QStringLiteral("background: #e8e8ec; color: #1a1a1a;");
            break;
        case PanelButtonRole::Cancel:
            colours = QStringLiteral("background: #3a3a40; color: white;");
            break;
        case PanelButtonRole::Destructive:
            colours = QStringLiteral("background: #c8322a; color: white;");
            break;
    }
    button->setStyleSheet(QStringLiteral("QPushButton { %1 border-radius: 8px; font-weight: bold; "
                                         "padding: 6px 14px; } QPushButton:focus { border: 2px "
                                         "solid #5a9cff; } QPushButton:pressed { background: "
                                         "#8a8a90; }")
                              .arg(colours));
    QObject::connect(button, &QPushButton::clicked, button, [pressed] { pressed(); });
    return button;
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
