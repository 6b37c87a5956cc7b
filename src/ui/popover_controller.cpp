#include "ui/popover_controller.h"

#include <QFrame>
#include <QVBoxLayout>

#include "ui/bar_button_item.h"
#include "ui/style.h"
#include "ui/view_controller.h"

namespace lumigrave::ui {

PopoverController::PopoverController(ViewController* content, QObject* parent)
    : Presentation(false, parent), content_(content) {
    content_->setParent(this);
}

PopoverController::~PopoverController() {
    // The content's view is the content controller's to delete.
    takeBackContentView();
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
    if (isPresented()) {
        return;
    }
    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("popoverPanel"));
    frame->setStyleSheet(style::popoverPanelStyleSheet());
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(4, 4, 4, 4);
    QWidget* view = content_->view();
    view->setParent(frame);
    view->setFixedSize(contentSize_.toSize());
    layout->addWidget(view);
    view->show();
    frame->adjustSize();
    content_->viewWillAppear(false);
    // Not dimmed; a click outside closes the popover.
    presentPanel(host, frame, Placement::Anchored, 0, Modality::Modal, false, anchorInHost,
                 QStringLiteral("A popover"));
    content_->viewDidAppear(false);
}

void PopoverController::dismissPopoverAnimated(bool) {
    dismissPresentation(-1);
}

void PopoverController::dismissByUser() {
    dismissPresentation(-1);
    if (delegate_ != nullptr) {
        delegate_->popoverControllerDidDismissPopover(*this);
    }
}

void PopoverController::presentationClicked(int) {
    content_->viewWillDisappear(false);
}

void PopoverController::presentationWillHide() {
    takeBackContentView();
}

void PopoverController::presentationDidDismiss(int) {
    content_->viewDidDisappear(false);
}

void PopoverController::takeBackContentView() {
    if (content_->isViewLoaded() && panel() != nullptr &&
        content_->view()->parentWidget() == panel()) {
        content_->view()->hide();
        content_->view()->setParent(nullptr);
    }
}

}  // namespace lumigrave::ui
