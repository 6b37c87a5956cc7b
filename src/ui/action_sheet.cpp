#include "ui/action_sheet.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/screen.h"
#include "ui/bar_button_item.h"
#include "ui/style.h"
#include "ui/toolbar.h"

namespace lumigrave::ui {

ActionSheet::ActionSheet(const QString& title, Delegate* delegate, const QString& cancelButtonTitle,
                         const QString& destructiveButtonTitle,
                         const QStringList& otherButtonTitles)
    : Presentation(true), title_(title), delegate_(delegate) {
    if (!destructiveButtonTitle.isNull()) {
        destructiveButtonIndex_ = 0;
        buttons_.append(destructiveButtonTitle);
    }
    buttons_.append(otherButtonTitles);
    if (!cancelButtonTitle.isNull()) {
        cancelButtonIndex_ = int(buttons_.size());
        buttons_.append(cancelButtonTitle);
    }
}

ActionSheet::~ActionSheet() {
    delete content_.data();
}

int ActionSheet::addButtonWithTitle(const QString& title) {
    buttons_.append(title);
    return int(buttons_.size()) - 1;
}

QString ActionSheet::buttonTitleAtIndex(int index) const {
    return index >= 0 && index < buttons_.size() ? buttons_[index] : QString();
}

int ActionSheet::firstOtherButtonIndex() const {
    for (int i = 0; i < buttons_.size(); ++i) {
        if (i != cancelButtonIndex_ && i != destructiveButtonIndex_) {
            return i;
        }
    }
    return -1;
}

void ActionSheet::addSubview(QWidget* view) {
    delete content_.data();
    content_ = view;
}

void ActionSheet::setBounds(QRectF bounds) {
    bounds_ = bounds;
    if (QWidget* shown = panel()) {
        shown->setFixedSize(bounds.size().toSize());
        // Kept at the bottom with its new size, also while it rises.
        relayout();
    }
}

QRectF ActionSheet::bounds() const {
    if (QWidget* shown = panel()) {
        return QRectF(QPointF(), QSizeF(shown->size()));
    }
    return bounds_;
}

void ActionSheet::showInView(QWidget* view) {
    present(hostWindowFor(view));
}

void ActionSheet::showFromToolbar(Toolbar* toolbar) {
    present(hostWindowFor(toolbar));
}

void ActionSheet::showFromBarButtonItem(BarButtonItem* item, bool) {
    present(hostWindowFor(item != nullptr ? item->shownWidget() : nullptr));
}

void ActionSheet::showFromRect(QRectF, QWidget* view, bool) {
    present(hostWindowFor(view));
}

void ActionSheet::present(QWidget* host) {
    if (isPresented()) {
        return;
    }
    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("sheetPanel"));
    frame->setStyleSheet(style::sheetPanelStyleSheet(style_ != Style::Default));
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(16, 12, 16, 14);
    layout->setSpacing(8);
    // A title of line breaks only makes room for a view on the platform; here the view
    // has its own place.
    if (!title_.trimmed().isEmpty()) {
        auto* titleLabel = new QLabel(title_, frame);
        titleLabel->setObjectName(QStringLiteral("sheetTitle"));
        titleLabel->setAlignment(Qt::AlignCenter);
        titleLabel->setWordWrap(true);
        layout->addWidget(titleLabel);
    }
    if (content_) {
        content_->setParent(frame);
        content_->setFixedSize(content_->size().isEmpty() ? content_->sizeHint()
                                                          : content_->size());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(content_, 0, Qt::AlignTop | Qt::AlignHCenter);
        content_->show();
    }
    // The focus, which Enter presses, starts on the first harmless choice: never on the
    // destructive one while anything else is offered.
    QWidget* first = nullptr;
    QWidget* destructive = nullptr;
    for (int i = 0; i < buttons_.size(); ++i) {
        if (i == cancelButtonIndex_) {
            continue;
        }
        const ButtonRole role =
            i == destructiveButtonIndex_ ? ButtonRole::Destructive : ButtonRole::Normal;
        QWidget* button = makeButton(i, buttons_[i], role, frame);
        layout->addWidget(button);
        if (role == ButtonRole::Destructive) {
            destructive = button;
        } else if (first == nullptr) {
            first = button;
        }
    }
    if (cancelButtonIndex_ >= 0) {
        layout->addSpacing(6);
        QWidget* button =
            makeButton(cancelButtonIndex_, buttons_[cancelButtonIndex_], ButtonRole::Cancel, frame);
        layout->addWidget(button);
        first = first == nullptr ? button : first;
    }
    first = first == nullptr ? destructive : first;
    if (!bounds_.isEmpty()) {
        frame->setFixedSize(bounds_.size().toSize());
    } else {
        frame->setFixedWidth(int(std::min(Screen::bounds().width, 400.0f)));
        frame->adjustSize();
    }
    if (!presentPanel(host, frame, Placement::Bottom, 0.35, Modality::Modal, true, {},
                      QStringLiteral("The action sheet \"%1\"").arg(title_.trimmed()))) {
        releaseUnshown();
        return;
    }
    if (first != nullptr) {
        first->setFocus();
    }
}

void ActionSheet::dismissWithClickedButtonIndex(int index, bool) {
    dismissPresentation(index);
}

void ActionSheet::presentationClicked(int buttonIndex) {
    if (delegate_ != nullptr) {
        delegate_->clickedButtonAtIndex(*this, buttonIndex);
    }
}

void ActionSheet::presentationWillHide() {
    // The content view goes with the panel now that the sheet is done with it.
    content_ = nullptr;
}

void ActionSheet::presentationDidDismiss(int buttonIndex) {
    if (delegate_ != nullptr) {
        delegate_->didDismissWithButtonIndex(*this, buttonIndex);
    }
}

void ActionSheet::escapePressed() {
    if (cancelButtonIndex_ >= 0) {
        dismissPresentation(cancelButtonIndex_);
    } else if (content_) {
        dismissPresentation(-1);
    }
}

}  // namespace lumigrave::ui
