#include "ui/popover_controller.h"

#include <QFrame>
#include <QVBoxLayout>

#include "ui/bar_button_item.h"
#include "ui/on_screen.h"
#include "ui/overlay_panel.h"
#include "ui/view_controller.h"

namespace lumigrave::ui {

PopoverController::PopoverController(ViewController* content, QObject* parent)
    : QObject(parent), content_(content) {
    content_->setParent(this);
}

PopoverController::~PopoverController() {
    OnScreen::gone(this);
    if (panel_) {
        // The content's view is the content controller's to delete.
        if (content_->isViewLoaded()) {
            content_->view()->setParent(nullptr);
        }
        panel_->parentWidget()->deleteLater();
    }
}

void PopoverController::presentPopoverFromRect(QRectF rect, QWidget* view, bool) {
    QWidget* host = hostWindowFor(view);
    if (host == nullptr) {
        qWarning("A popover could not be shown: there is no window");
        return;
    }
    QPointF topLeft = view != nullptr ? view->mapTo(host, rect.topLeft().toPoint()) : QPointF();
    present(host, QRectF(topLeft, rect.size()));
}

void PopoverController::presentPopoverFromBarButtonItem(BarButtonItem* item, bool animated) {
    QWidget* widget = item != nullptr ? item->shownWidget() : nullptr;
    presentPopoverFromRect(widget != nullptr ? QRectF(widget->rect()) : QRectF(), widget, animated);
}

void PopoverController::present(QWidget* host, QRectF anchorInHost) {
    if (panel_) {
        return;
    }
    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("popoverPanel"));
    frame->setStyleSheet(
        QStringLiteral("#popoverPanel { background: rgb(20, 24, 32); border: "
                       "2px solid rgba(255,255,255,120); border-radius: 8px; }"));
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(4, 4, 4, 4);
    QWidget* view = content_->view();
    view->setParent(frame);
    view->setFixedSize(contentSize_.toSize());
    layout->addWidget(view);
    view->show();
    frame->adjustSize();
    auto* overlay = new OverlayPanel(host, frame, OverlayPanel::Placement::Anchored, 0);
    overlay->setAnchor(anchorInHost);
    // A click outside closes the popover and tells nobody, as on the platform.
    overlay->onClickOutside = [this] { dismissPopoverAnimated(true); };
    overlay->onEscape = [this] { dismissPopoverAnimated(true); };
    panel_ = frame;
    content_->viewWillAppear(false);
    overlay->present(false);
    content_->viewDidAppear(false);
    OnScreen::shown(this);
}

void PopoverController::dismissPopoverAnimated(bool) {
    if (!panel_) {
        return;
    }
    content_->viewWillDisappear(false);
    QWidget* overlay = panel_->parentWidget();
    if (content_->isViewLoaded()) {
        content_->view()->hide();
        content_->view()->setParent(nullptr);
    }
    panel_ = nullptr;
    overlay->hide();
    overlay->deleteLater();
    content_->viewDidDisappear(false);
    OnScreen::gone(this);
}

}  // namespace lumigrave::ui
