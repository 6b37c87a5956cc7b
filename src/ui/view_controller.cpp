#include "ui/view_controller.h"

#include <QEvent>
#include <QWidget>

#include "ui/navigation_controller.h"

namespace lumigrave::ui {

namespace {

// Keeps a view over the whole of its host as the host is resized; it goes with the view.
class CoverHost : public QObject {
  public:
    CoverHost(QWidget* cover, QWidget* host) : QObject(cover), cover_(cover) {
        host->installEventFilter(this);
        cover->setGeometry(host->rect());
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            cover_->setGeometry(static_cast<QWidget*>(watched)->rect());
        }
        return false;
    }

  private:
    QWidget* cover_;
};

}  // namespace

ViewController::ViewController(QObject* parent) : QObject(parent) {}

ViewController::~ViewController() {
    // A presented controller that ends its own life leaves its presenter free.
    if (presenting_ != nullptr && presenting_->modal_ == this) {
        presenting_->modal_ = nullptr;
    }
    if (modal_ != nullptr) {
        modal_->presenting_ = nullptr;
        delete modal_;
    }
    delete view_;
}

QWidget* ViewController::view() {
    if (view_ == nullptr) {
        loadView();
        if (view_ == nullptr) {
            setView(new QWidget);
        }
        viewDidLoad();
    }
    return view_;
}

void ViewController::unloadView() {
    if (view_ == nullptr) {
        return;
    }
    delete view_;
    view_ = nullptr;
    viewDidUnload();
}

void ViewController::setToolbarItems(const QList<BarButtonItem*>& items, bool animated) {
    toolbarItems_ = items;
    if (navigationController_ != nullptr) {
        navigationController_->controllerItemsChanged(this, animated);
    }
}

void ViewController::presentModalViewController(ViewController* controller, bool) {
    if (controller == nullptr || modal_ != nullptr) {
        delete controller;
        return;
    }
    modal_ = controller;
    controller->presenting_ = this;
    QWidget* host = view()->window();
    QWidget* modalView = controller->view();
    modalView->setParent(host);
    new CoverHost(modalView, host);
    controller->viewWillAppear(false);
    modalView->show();
    modalView->raise();
    controller->viewDidAppear(false);
}

void ViewController::dismissModalViewControllerAnimated(bool) {
    if (modal_ == nullptr) {
        // As on the platform, a presented screen may ask to be dismissed itself.
        if (presenting_ != nullptr) {
            presenting_->dismissModalViewControllerAnimated(false);
        }
        return;
    }
    ViewController* controller = modal_;
    modal_ = nullptr;
    controller->viewWillDisappear(false);
    if (controller->view_ != nullptr) {
        controller->view_->hide();
    }
    controller->viewDidDisappear(false);
    controller->presenting_ = nullptr;
    controller->didDismissFromPresentation();
}

void ViewController::viewWillAppear(bool) {}
void ViewController::viewDidAppear(bool) {}
void ViewController::viewWillDisappear(bool) {}
void ViewController::viewDidDisappear(bool) {}

void ViewController::loadView() {
    setView(new QWidget);
}

void ViewController::setView(QWidget* view) {
    if (view_ != nullptr && view_ != view) {
        delete view_;
    }
    view_ = view;
}

}  // namespace lumigrave::ui
