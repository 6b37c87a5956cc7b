#include "sharing/ui/share_activity_indicator.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

#include "platform/run_loop.h"
#include "ui/activity_indicator_view.h"
#include "ui/overlay_panel.h"
#include "ui/style.h"

namespace lumigrave::sharing {

// The box: a spinner or a large centre message, and a line under it.
class ShareActivityPanel : public QWidget {
  public:
    static constexpr int kSide = 160;

    ShareActivityPanel()
        : spinner_(
              new ui::ActivityIndicatorView(ui::ActivityIndicatorView::Style::WhiteLarge, this)),
          centre_(new QLabel(this)),
          message_(new QLabel(this)) {
        setObjectName(QStringLiteral("shareActivityPanel"));
        resize(kSide, kSide);
        centre_->setObjectName(QStringLiteral("centreMessage"));
        centre_->setAlignment(Qt::AlignCenter);
        centre_->setFont(ui::style::activityCentreFont());
        centre_->setStyleSheet(ui::style::activityMessageStyleSheet());
        message_->setObjectName(QStringLiteral("subMessage"));
        message_->setAlignment(Qt::AlignCenter);
        message_->setWordWrap(true);
        message_->setFont(ui::style::activitySubFont());
        message_->setStyleSheet(ui::style::activityMessageStyleSheet());
        spinner_->setGeometry(kSide / 2 - 18, 40, 36, 36);
        centre_->setGeometry(0, 20, kSide, 70);
        message_->setGeometry(8, 96, kSide - 16, 56);
        // Clicks go through the box to the screen beneath.
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    void show(const QString& centre, const QString& message, bool spinning) {
        centre_->setText(centre);
        centre_->setVisible(!centre.isEmpty());
        message_->setText(message);
        if (spinning) {
            spinner_->startAnimating();
        } else {
            spinner_->stopAnimating();
        }
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath box;
        box.addRoundedRect(QRectF(rect()), 10, 10);
        painter.fillPath(box, ui::style::activityBoxBackdrop());
    }

  private:
    ui::ActivityIndicatorView* spinner_;
    QLabel* centre_;
    QLabel* message_;
};

ShareActivityIndicator::ShareActivityIndicator() : ui::Presentation(false, qApp) {}

ShareActivityIndicator* ShareActivityIndicator::currentIndicator() {
    // Goes with the application object, which outlives every window it may be shown in.
    static QPointer<ShareActivityIndicator> current;
    if (current == nullptr) {
        current = new ShareActivityIndicator;
    }
    return current;
}

void ShareActivityIndicator::displayActivity(const QString& message) {
    display(QString(), message, true);
}

void ShareActivityIndicator::displayCompleted(const QString& message) {
    displayCompleted(QStringLiteral("\u2713"), message);
}

void ShareActivityIndicator::displayCompleted(const QString& centre, const QString& message) {
    display(centre, message, false);
    const unsigned long long shown = shown_;
    RunLoop::performAfter(
        kCompletedSeconds,
        [this, shown] {
            if (shown_ == shown) {
                hide();
            }
        },
        this);
}

void ShareActivityIndicator::display(const QString& centre, const QString& message, bool spinning) {
    ++shown_;
    centre_ = centre;
    message_ = message;
    spinning_ = spinning;
    if (!isPresented()) {
        // The last box went with its window, or when it was hidden.
        auto* panel = new ShareActivityPanel;
        panel_ = panel;
        if (!presentPanel(ui::hostWindowFor(nullptr), panel, Placement::Centre, 0,
                          Modality::NonModal, false, {},
                          QStringLiteral("The share activity indicator"))) {
            return;
        }
        // The layer is the box's size; it lets clicks through as the box does.
        panel->parentWidget()->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    if (panel_) {
        panel_->show(centre, message, spinning);
    }
}

void ShareActivityIndicator::hide() {
    ++shown_;
    spinning_ = false;
    dismissPresentation(-1);
}

}  // namespace lumigrave::sharing
