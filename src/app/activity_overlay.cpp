#include "app/activity_overlay.h"

#include <QLabel>
#include <QPainter>

#include "ui/activity_indicator_view.h"
#include "ui/style.h"

namespace lumigrave {

ActivityPanel::ActivityPanel()
    : indicator_(new ui::ActivityIndicatorView(ui::ActivityIndicatorView::Style::WhiteLarge, this)),
      label_(new QLabel(this)) {
    label_->setAlignment(Qt::AlignCenter);
    label_->setStyleSheet(ui::style::activityMessageStyleSheet());
}

void ActivityPanel::resizeEvent(QResizeEvent*) {
    const int w = width();
    const int h = height();
    indicator_->setGeometry(int(w * 0.5 - 12), int(h * 0.5 - 12), 24, 24);
    label_->setGeometry(0, int(h * 0.5 + 36), w, 24);
}

void ActivityPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ui::style::activityBackdrop());
}

ActivityOverlay::ActivityOverlay() : ui::Presentation(false), view_(new ActivityPanel) {}

ActivityOverlay::~ActivityOverlay() {
    delete view_.data();
}

void ActivityOverlay::showIn(QWidget* host, const QString& message) {
    if (!view_) {
        view_ = new ActivityPanel;  // the last one closed with its window
    }
    view_->label()->setText(message);
    view_->indicator()->startAnimating();
    if (!isPresented()) {
        presentPanel(host, view_, Placement::Fill, 0, Modality::Modal, false, {},
                     QStringLiteral("The activity overlay"));
    }
    // Drawn now: the work it announces starts on the next turn of the event loop.
    if (view_ && view_->isVisible()) {
        view_->repaint();
    }
}

void ActivityOverlay::hideOverlay() {
    if (view_) {
        view_->indicator()->stopAnimating();
    }
    dismissPresentation(-1);
}

QString ActivityOverlay::message() const {
    return view_ ? view_->label()->text() : QString();
}

void ActivityOverlay::presentationWillHide() {
    if (view_) {
        view_->hide();
        view_->setParent(nullptr);
    }
}

}  // namespace lumigrave
