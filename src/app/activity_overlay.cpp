#include "app/activity_overlay.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>

#include "ui/activity_indicator_view.h"

namespace lumigrave {

ActivityOverlay::ActivityOverlay(QSize initialSize)
    : indicator_(new ui::ActivityIndicatorView(ui::ActivityIndicatorView::Style::WhiteLarge, this)),
      label_(new QLabel(this)) {
    label_->setAlignment(Qt::AlignCenter);
    label_->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    // Work runs while it is shown; clicks must not reach the screens beneath.
    setAttribute(Qt::WA_NoMousePropagation);
    layoutFor(initialSize);
}

void ActivityOverlay::layoutFor(QSize size) {
    int w = size.width();
    int h = size.height();
    setGeometry(0, 0, w, h);
    indicator_->setGeometry(int(w * 0.5 - 12), int(h * 0.5 - 12), 24, 24);
    label_->setGeometry(0, int(h * 0.5 + 36), w, 24);
}

void ActivityOverlay::showIn(QWidget* host, const QString& message) {
    if (host != nullptr && parentWidget() == nullptr) {
        setParent(host);
        host_ = host;
        host->installEventFilter(this);
        // The window may have changed size since the overlay was last shown.
        layoutFor(host->size());
    }
    indicator_->startAnimating();
    label_->setText(message);
    show();
    raise();
    // Drawn now: the work it announces starts on the next turn of the event loop.
    repaint();
}

void ActivityOverlay::hideOverlay() {
    indicator_->stopAnimating();
    if (parentWidget() != nullptr) {
        if (host_) {
            host_->removeEventFilter(this);
        }
        hide();
        setParent(nullptr);
        host_ = nullptr;
    }
}

QString ActivityOverlay::message() const {
    return label_->text();
}

bool ActivityOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == host_ && event->type() == QEvent::Resize) {
        layoutFor(host_->size());
    }
    return QWidget::eventFilter(watched, event);
}

void ActivityOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgbF(0, 0, 0, 0.8f));
}

}  // namespace lumigrave
