#include "ui/alert_view.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>

#include "ui/on_screen.h"
#include "ui/overlay_panel.h"

namespace lumigrave::ui {

AlertView::AlertView(const QString& title, const QString& message, Delegate delegate,
                     const QString& cancelButtonTitle, const QStringList& otherButtonTitles)
    : title_(title), message_(message), delegate_(std::move(delegate)) {
    if (!cancelButtonTitle.isNull()) {
        cancelButtonIndex_ = 0;
        buttons_.append(cancelButtonTitle);
    }
    buttons_.append(otherButtonTitles);
}

AlertView::~AlertView() {
    OnScreen::gone(this);
    if (panel_) {
        panel_->parentWidget()->deleteLater();
    }
}

int AlertView::addButtonWithTitle(const QString& title) {
    buttons_.append(title);
    return int(buttons_.size()) - 1;
}

QString AlertView::buttonTitleAtIndex(int index) const {
    return index >= 0 && index < buttons_.size() ? buttons_[index] : QString();
}

void AlertView::show() {
    if (panel_) {
        return;
    }
    QWidget* host = hostWindowFor(nullptr);
    if (host == nullptr) {
        qWarning("An alert \"%s\" could not be shown: there is no window", qPrintable(title_));
        deleteLater();
        return;
    }
    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("alertPanel"));
    frame->setStyleSheet(
        QStringLiteral("#alertPanel { background: rgba(20, 30, 60, 235); "
                       "border: 2px solid rgba(255,255,255,180); "
                       "border-radius: 10px; } QLabel { color: white; }"));
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(16, 14, 16, 14);
    auto* titleLabel = new QLabel(title_, frame);
    QFont bold = titleLabel->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    titleLabel->setFont(bold);
    titleLabel->setAlignment(Qt::AlignCenter);
    titleLabel->setWordWrap(true);
    layout->addWidget(titleLabel);
    if (!message_.isEmpty()) {
        auto* messageLabel = new QLabel(message_, frame);
        messageLabel->setAlignment(Qt::AlignCenter);
        messageLabel->setWordWrap(true);
        layout->addWidget(messageLabel);
    }
    // Two buttons sit side by side, cancel on the left; more are stacked, cancel last.
    bool sideBySide = buttons_.size() == 2;
    QBoxLayout* row = sideBySide ? static_cast<QBoxLayout*>(new QHBoxLayout)
                                 : static_cast<QBoxLayout*>(new QVBoxLayout);
    layout->addLayout(row);
    QList<int> order;
    for (int i = 0; i < buttons_.size(); ++i) {
        if (i != cancelButtonIndex_) {
            order.append(i);
        }
    }
    if (cancelButtonIndex_ >= 0) {
        if (sideBySide) {
            order.prepend(cancelButtonIndex_);
        } else {
            order.append(cancelButtonIndex_);
        }
    }
    QWidget* first = nullptr;
    for (int index : order) {
        QWidget* button = makePanelButton(
            buttons_[index],
            index == cancelButtonIndex_ ? PanelButtonRole::Cancel : PanelButtonRole::Normal,
            [this, index] { dismissWithClickedButtonIndex(index, true); }, frame);
        button->setObjectName(QStringLiteral("button%1").arg(index));
        row->addWidget(button);
        // The default is the first button that is not cancel, as Enter expects.
        if (first == nullptr ||
            (index != cancelButtonIndex_ &&
             first->objectName() == QStringLiteral("button%1").arg(cancelButtonIndex_))) {
            first = button;
        }
    }
    frame->setFixedWidth(280);
    frame->adjustSize();
    auto* overlay = new OverlayPanel(host, frame, OverlayPanel::Placement::Centre, 0.4);
    overlay->onEscape = [this] {
        if (cancelButtonIndex_ >= 0) {
            dismissWithClickedButtonIndex(cancelButtonIndex_, true);
        }
    };
    panel_ = frame;
    // A window closed under the alert takes the panel along, and the alert goes with it.
    connect(frame, &QObject::destroyed, this, [this] {
        OnScreen::gone(this);
        deleteLater();
    });
    overlay->present(false);
    if (first != nullptr) {
        first->setFocus();
    }
    OnScreen::shown(this);
}

void AlertView::dismissWithClickedButtonIndex(int index, bool) {
    if (!panel_) {
        return;
    }
    if (delegate_.clickedButtonAtIndex) {
        delegate_.clickedButtonAtIndex(*this, index);
    }
    QWidget* overlay = panel_->parentWidget();
    panel_->disconnect(this);
    panel_ = nullptr;
    overlay->hide();
    overlay->deleteLater();
    OnScreen::gone(this);
    if (delegate_.didDismissWithButtonIndex) {
        delegate_.didDismissWithButtonIndex(*this, index);
    }
    deleteLater();
}

void showErrorAlert(const QString& message) {
    (new AlertView(QStringLiteral("Error"), message, {}, QStringLiteral("OK")))->show();
}

}  // namespace lumigrave::ui
