#include "ui/activity_indicator_view.h"

#include <QPainter>

#include "ui/style.h"

namespace lumigrave::ui {

namespace {
constexpr int kSpokes = 12;
}

ActivityIndicatorView::ActivityIndicatorView(Style style, QWidget* parent)
    : QWidget(parent), style_(style) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    timer_.setInterval(1000 / kSpokes);
    connect(&timer_, &QTimer::timeout, this, [this] {
        step_ = (step_ + 1) % kSpokes;
        update();
    });
    hide();
}

void ActivityIndicatorView::startAnimating() {
    timer_.start();
    show();
}

void ActivityIndicatorView::stopAnimating() {
    timer_.stop();
    hide();
}

void ActivityIndicatorView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(width() / 2.0, height() / 2.0);
    qreal radius = std::min(width(), height()) / 2.0;
    QColor colour = style::activitySpokes(style_ == Style::Gray);
    QPen pen(colour, std::max(2.0, radius / 5), Qt::SolidLine, Qt::RoundCap);
    for (int i = 0; i < kSpokes; ++i) {
        int age = (step_ - i + kSpokes) % kSpokes;
        colour.setAlphaF(1.0 - age / double(kSpokes) * 0.85);
        pen.setColor(colour);
        painter.setPen(pen);
        painter.drawLine(QPointF(0, -radius * 0.45), QPointF(0, -radius * 0.9));
        painter.rotate(360.0 / kSpokes);
    }
}

}  // namespace lumigrave::ui
