#include "ui/page_curl.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "platform/run_loop.h"

namespace lumigrave::ui {

namespace {

// 40 frames a second: smooth enough for a one-second turn, and a whole number of frames
// in the durations the screens use.
constexpr double kFrameSeconds = 0.025;

// The roll at the page's lower edge, as a share of the container's height at the start;
// it unrolls to nothing as the page comes down.
constexpr double kRollShare = 0.12;
// How far the leading corner of the page is ahead of the other at the start, as a share
// of the container's height.
constexpr double kLeadShare = 0.3;

}  // namespace

void PageCurl::curlDown(QWidget* container, double seconds, std::function<void()> change,
                        std::function<void()> completion) {
    if (container == nullptr) {
        return;
    }
    if (PageCurl* earlier = running(container)) {
        earlier->finish();
    }
    auto* curl = new PageCurl(container, seconds, std::move(change), std::move(completion));
    curl->show();
    curl->raise();
    // The end is one call of its own, so a slow frame rate never stretches the duration.
    RunLoop::performAfter(
        std::max(seconds, 0.0), [curl] { curl->finish(); }, curl);
    RunLoop::performAfter(
        kFrameSeconds, [curl] { curl->nextFrame(); }, curl);
}

PageCurl* PageCurl::running(const QWidget* container) {
    if (container == nullptr) {
        return nullptr;
    }
    for (PageCurl* curl : container->findChildren<PageCurl*>(Qt::FindDirectChildrenOnly)) {
        if (!curl->finished_) {
            return curl;
        }
    }
    return nullptr;
}

PageCurl::PageCurl(QWidget* container, double seconds, std::function<void()> change,
                   std::function<void()> completion)
    : QWidget(container),
      page_(container->grab()),
      seconds_(seconds),
      change_(std::move(change)),
      completion_(std::move(completion)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(container->rect());
    container->installEventFilter(this);
}

bool PageCurl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
    }
    return QWidget::eventFilter(watched, event);
}

void PageCurl::nextFrame() {
    if (finished_) {
        return;
    }
    ++frames_;
    progress_ = seconds_ > 0 ? std::min(1.0, frames_ * kFrameSeconds / seconds_) : 1.0;
    update();
    if (progress_ < 1.0) {
        RunLoop::performAfter(
            kFrameSeconds, [this] { nextFrame(); }, this);
    }
}

void PageCurl::finish() {
    if (finished_) {
        return;
    }
    finished_ = true;
    progress_ = 1.0;
    hide();
    // Moved out first: the change or the completion may start the next transition.
    auto change = std::move(change_);
    auto completion = std::move(completion_);
    deleteLater();
    if (change) {
        change();
    }
    if (completion) {
        completion();
    }
}

void PageCurl::paintEvent(QPaintEvent*) {
    const double w = width();
    const double h = height();
    // The page's lower edge comes down aslant, its right corner leading, and straightens
    // as the page lands; the roll along it shrinks as the page unrolls, so both are gone
    // when the page lies flat.
    const double lead = kLeadShare * h;
    const double right = progress_ * (h + lead);
    const double left = right - lead * (1.0 - progress_);
    const double roll = kRollShare * h * (1.0 - progress_);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    // The flat part: the page lies where it will stay.
    QPainterPath flat;
    flat.addPolygon(QPolygonF({QPointF(0, 0), QPointF(w, 0), QPointF(w, right), QPointF(0, left)}));
    painter.save();
    painter.setClipPath(flat);
    painter.drawPixmap(QPointF(0, 0), page_);
    painter.restore();
    if (roll < 0.5) {
        return;
    }

    // Across the edge: from its middle, at right angles to it.
    const QPointF middle(w / 2, (left + right) / 2);
    QPointF across(-(right - left), w);
    across /= std::hypot(across.x(), across.y());
    auto band = [&](double from, double to) {
        return QPolygonF({QPointF(0, left + from), QPointF(w, right + from), QPointF(w, right + to),
                          QPointF(0, left + to)});
    };
    painter.setPen(Qt::NoPen);

    // The shadow the roll throws on what lies below it.
    const double shadowDepth = std::min(roll, 12.0);
    QLinearGradient shade(middle + across * roll, middle + across * (roll + shadowDepth));
    shade.setColorAt(0, QColor(0, 0, 0, 110));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    painter.setBrush(shade);
    painter.drawPolygon(band(roll, roll + shadowDepth));

    // The roll: the back of the paper, lit from above, darker where it turns away.
    QLinearGradient paper(middle, middle + across * roll);
    paper.setColorAt(0.0, QColor(150, 150, 150));
    paper.setColorAt(0.35, QColor(248, 248, 248));
    paper.setColorAt(0.7, QColor(222, 222, 222));
    paper.setColorAt(1.0, QColor(120, 120, 120));
    painter.setBrush(paper);
    painter.drawPolygon(band(0, roll));
}

}  // namespace lumigrave::ui
