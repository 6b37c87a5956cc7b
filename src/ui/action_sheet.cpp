#include "ui/action_sheet.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/screen.h"
#include "ui/bar_button_item.h"
#include "ui/on_screen.h"
#include "ui/overlay_panel.h"
#include "ui/toolbar.h"

namespace lumigrave::ui {

ActionSheet::ActionSheet(const QString& title, Delegate delegate, const QString& cancelButtonTitle,
                         const QString& destructiveButtonTitle,
                         const QStringList& otherButtonTitles)
    : title_(title), delegate_(std::move(delegate)) {
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
    OnScreen::gone(this);
    if (panel_) {
        panel_->parentWidget()->deleteLater();
    }
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
    if (panel_) {
        panel_->setFixedSize(bounds.size().toSize());
        // Kept at the bottom with its new size, also while it rises.
        static_cast<OverlayPanel*>(panel_->parentWidget())->layoutPanel();
    }
}

QRectF ActionSheet::bounds() const {
    if (panel_) {
        return QRectF(QPointF(), QSizeF(panel_->size()));
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
    if (panel_) {
        return;
    }
    if (host == nullptr) {
        qWarning("An action sheet could not be shown: there is no window");
        return;
    }
    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("sheetPanel"));
    QString fill = style_ == Style::Default ? QStringLiteral("rgba(70, 80, 100, 240)")
                                            : QStringLiteral("rgba(0, 0, 0, 200)");
    frame->setStyleSheet(QStringLiteral("#sheetPanel { background: %1; border-top: 1px solid "
                                        "rgba(255,255,255,90); } #sheetTitle { color: #dddddd; }")
                             .arg(fill));
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(16, 12, 16, 14);
    layout->setSpacing(8);
    // A title of line breaks only makes room for a view on the platform; here the view
    // has its own place.
    if (!title_.trimmed().isEmpty()) {
        auto* titleLabel = new QLabel(title_, frame);
        // Named so the sheet's colour stays off the labels of a view shown in it.
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
    QWidget* first = nullptr;
    for (int i = 0; i < buttons_.size(); ++i) {
        if (i == cancelButtonIndex_) {
            continue;
        }
        PanelButtonRole role =
            i == destructiveButtonIndex_ ? PanelButtonRole::Destructive : PanelButtonRole::Normal;
        QWidget* button = makePanelButton(
            buttons_[i], role, [this, i] { dismissWithClickedButtonIndex(i, true); }, frame);
        button->setObjectName(QStringLiteral("button%1").arg(i));
        layout->addWidget(button);
        first = first == nullptr ? button : first;
    }
    if (cancelButtonIndex_ >= 0) {
        layout->addSpacing(6);
        int index = cancelButtonIndex_;
        QWidget* button = makePanelButton(
            buttons_[index], PanelButtonRole::Cancel,
            [this, index] { dismissWithClickedButtonIndex(index, true); }, frame);
        button->setObjectName(QStringLiteral("button%1").arg(index));
        layout->addWidget(button);
        first = first == nullptr ? button : first;
    }
    float width = std::min(Screen::bounds().width, 400.0f);
    if (!bounds_.isEmpty()) {
        frame->setFixedSize(bounds_.size().toSize());
    } else {
        frame->setFixedWidth(int(width));
        frame->adjustSize();
    }
    auto* overlay = new OverlayPanel(host, frame, OverlayPanel::Placement::Bottom, 0.35);
    overlay->onEscape = [this] {
        if (cancelButtonIndex_ >= 0) {
            dismissWithClickedButtonIndex(cancelButtonIndex_, true);
        } else if (content_) {
            dismissWithClickedButtonIndex(0, true);
        }
    };
    panel_ = frame;
    // A window closed under the sheet takes the panel along, and the sheet goes with it.
    connect(frame, &QObject::destroyed, this, [this] {
        OnScreen::gone(this);
        deleteLater();
    });
    overlay->present(true);
    if (first != nullptr) {
        first->setFocus();
    }
    OnScreen::shown(this);
}

void ActionSheet::dismissWithClickedButtonIndex(int index, bool) {
    if (!panel_) {
        return;
    }
    if (delegate_.clickedButtonAtIndex) {
        delegate_.clickedButtonAtIndex(*this, index);
    }
    QWidget* overlay = panel_->parentWidget();
    panel_->disconnect(this);
    panel_ = nullptr;
    // The content view goes with the panel now that the sheet is done with it.
    content_ = nullptr;
    overlay->hide();
    overlay->deleteLater();
    OnScreen::gone(this);
    if (delegate_.didDismissWithButtonIndex) {
        delegate_.didDismissWithButtonIndex(*this, index);
    }
    deleteLater();
}

}  // namespace lumigrave::ui
