#include "ui/alert_view.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>

#include "ui/style.h"

namespace lumigrave::ui {

AlertView::AlertView(const QString& title, const QString& message, Delegate* delegate,
                     const QString& cancelButtonTitle, const QStringList& otherButtonTitles)
    : Presentation(true), title_(title), message_(message), delegate_(delegate) {
    if (!cancelButtonTitle.isNull()) {
        cancelButtonIndex_ = 0;
        buttons_.append(cancelButtonTitle);
    }
    buttons_.append(otherButtonTitles);
}

int AlertView::addButtonWithTitle(const QString& title) {
    buttons_.append(title);
    return int(buttons_.size()) - 1;
}

QString AlertView::buttonTitleAtIndex(int index) const {
    return index >= 0 && index < buttons_.size() ? buttons_[index] : QString();
}

void AlertView::show() {
    if (isPresented()) {
        return;
    }
    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("alertPanel"));
    frame->setStyleSheet(style::alertPanelStyleSheet());
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(16, 14, 16, 14);
    auto* titleLabel = new QLabel(title_, frame);
    titleLabel->setFont(style::alertTitleFont(titleLabel->font()));
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
    const bool sideBySide = buttons_.size() == 2;
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
    // The default is the first button that is not cancel, as Enter expects.
    QWidget* first = nullptr;
    for (int index : order) {
        const bool cancel = index == cancelButtonIndex_;
        QWidget* button = makeButton(index, buttons_[index],
                                     cancel ? ButtonRole::Cancel : ButtonRole::Normal, frame);
        row->addWidget(button);
        if (first == nullptr ||
            (!cancel && first->objectName() == buttonObjectName(cancelButtonIndex_))) {
            first = button;
        }
    }
    frame->setFixedWidth(280);
    frame->adjustSize();
    if (!presentPanel(hostWindowFor(nullptr), frame, Placement::Centre, 0.4, Modality::Modal, false,
                      {}, "An alert")) {
        qWarning("The alert \"%s\" was not shown", qPrintable(title_));
        releaseUnshown();
        return;
    }
    if (first != nullptr) {
        first->setFocus();
    }
}

void AlertView::dismissWithClickedButtonIndex(int index, bool) {
    dismissPresentation(index);
}

void AlertView::presentationClicked(int buttonIndex) {
    if (delegate_ != nullptr) {
        delegate_->clickedButtonAtIndex(*this, buttonIndex);
    }
}

void AlertView::presentationDidDismiss(int buttonIndex) {
    if (delegate_ != nullptr) {
        delegate_->didDismissWithButtonIndex(*this, buttonIndex);
    }
}

void AlertView::escapePressed() {
    if (cancelButtonIndex_ >= 0) {
        dismissPresentation(cancelButtonIndex_);
    }
}

void showErrorAlert(const QString& message) {
    (new AlertView(QStringLiteral("Error"), message, nullptr, QStringLiteral("OK")))->show();
}

}  // namespace lumigrave::ui
