#include "ui/presentation.h"

#include <QPushButton>
#include <QWidget>

#include "ui/on_screen.h"
#include "ui/style.h"

namespace lumigrave::ui {

Presentation::Presentation(bool ownsItself, QObject* parent)
    : QObject(parent), ownsItself_(ownsItself) {}

Presentation::~Presentation() {
    OnScreen::gone(this);
    if (overlay_) {
        overlay_->disconnect(this);
        overlay_->hide();
        overlay_->deleteLater();
    }
}

QString Presentation::buttonObjectName(int index) {
    return QStringLiteral("button%1").arg(index);
}

bool Presentation::presentPanel(QWidget* host, QWidget* panel, Placement placement, qreal dimming,
                                Modality modality, bool animated, QRectF anchorInHost,
                                const QString& what) {
    if (overlay_ || host == nullptr) {
        if (host == nullptr) {
            qWarning("%s could not be shown: there is no window", qPrintable(what));
        }
        delete panel;
        return false;
    }
    auto* overlay = new OverlayPanel(host, panel, placement, dimming, modality == Modality::Modal);
    overlay->setAnchor(anchorInHost);
    overlay->onEscape = [this] { escapePressed(); };
    overlay->onClickOutside = [this] { clickedOutside(); };
    overlay_ = overlay;
    panel_ = panel;
    // A window closed under the presentation takes the layer along.
    connect(overlay, &QObject::destroyed, this, [this] { windowClosed(); });
    overlay->present(animated);
    OnScreen::shown(this);
    return true;
}

QWidget* Presentation::makeButton(int index, const QString& title, ButtonRole role,
                                  QWidget* parent) {
    auto* button = new QPushButton(title, parent);
    button->setObjectName(buttonObjectName(index));
    button->setMinimumHeight(40);
    button->setCursor(Qt::PointingHandCursor);
    // Enter presses the button that has the focus, as in any desktop dialog.
    button->setAutoDefault(true);
    button->setStyleSheet(style::panelButtonStyleSheet(role));
    connect(button, &QPushButton::clicked, this, [this, index] { dismissPresentation(index); });
    return button;
}

void Presentation::relayout() {
    if (overlay_) {
        overlay_->layoutPanel();
    }
}

void Presentation::dismissPresentation(int buttonIndex) {
    // A delegate told of the click may ask for the dismissal again: it is under way.
    if (!overlay_ || dismissing_) {
        return;
    }
    dismissing_ = true;
    presentationClicked(buttonIndex);
    dismissing_ = false;
    if (!overlay_) {
        return;  // the window went meanwhile
    }
    presentationWillHide();
    OverlayPanel* overlay = overlay_;
    overlay->disconnect(this);
    overlay_ = nullptr;
    panel_ = nullptr;
    overlay->hide();
    overlay->deleteLater();
    OnScreen::gone(this);
    presentationDidDismiss(buttonIndex);
    if (ownsItself_) {
        deleteLater();
    }
}

void Presentation::releaseUnshown() {
    if (ownsItself_ && !overlay_) {
        deleteLater();
    }
}

void Presentation::windowClosed() {
    overlay_ = nullptr;
    panel_ = nullptr;
    OnScreen::gone(this);
    if (ownsItself_) {
        deleteLater();
    }
}

}  // namespace lumigrave::ui
