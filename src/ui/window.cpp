#include "ui/window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "platform/screen.h"
#include "ui/application.h"
#include "ui/view_controller.h"

namespace lumigrave::ui {

Window::Window(QWidget* parent) : QWidget(parent) {
    setAcceptDrops(true);
    setMinimumSize(240, 320);
}

Window::~Window() = default;

void Window::setRootViewController(ViewController* controller) {
    root_ = controller;
    QWidget* view = controller->view();
    view->setParent(this);
    view->setGeometry(rect());
    view->show();
}

void Window::makeKeyAndVisible() {
    show();
    raise();
    activateWindow();
}

Window* Window::keyWindow() {
    if (auto* active = qobject_cast<Window*>(QApplication::activeWindow())) {
        return active;
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget);
            window != nullptr && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

void Window::resizeEvent(QResizeEvent*) {
    Screen::setBounds(Size{float(width()), float(height())});
    if (root_ != nullptr && root_->isViewLoaded()) {
        root_->view()->setGeometry(rect());
    }
}

void Window::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    Application* app = Application::sharedApplication();
    if (app == nullptr) {
        return;
    }
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow()) {
            app->windowActivated();
        } else {
            app->windowDeactivated();
        }
    } else if (event->type() == QEvent::WindowStateChange) {
        if (isMinimized()) {
            app->windowHidden();
        } else {
            app->windowShown();
        }
    }
}

void Window::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Screen::setMainScreenScale(float(devicePixelRatioF()));
    Screen::setBounds(Size{float(width()), float(height())});
    if (Application* app = Application::sharedApplication()) {
        app->windowShown();
    }
    if (!appeared_ && root_ != nullptr) {
        appeared_ = true;
        root_->viewWillAppear(false);
        root_->viewDidAppear(false);
    }
}

void Window::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // A minimised window is reported by its state change; this is a real hide.
    if (Application* app = Application::sharedApplication(); app != nullptr && !isMinimized()) {
        app->windowHidden();
    }
}

void Window::closeEvent(QCloseEvent* event) {
    event->accept();
    if (Application* app = Application::sharedApplication()) {
        app->terminate();
    }
}

void Window::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void Window::dropEvent(QDropEvent* event) {
    QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    if (Application* app = Application::sharedApplication()) {
        app->dropFiles(urls);
    }
}

}  // namespace lumigrave::ui
