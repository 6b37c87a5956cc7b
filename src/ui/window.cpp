#include "ui/window.h"

#include <QApplication>
#include <QChildEvent>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "platform/screen.h"
#include "ui/application.h"
#include "ui/view_controller.h"

namespace lumigrave::ui {

Window::Window(Level level, QWidget* parent) : QWidget(parent), level_(level) {
    if (level == Level::Alert && parent != nullptr) {
        // Mouse transparency holds for the children too: the root screen's views never
        // catch a click meant for the control beneath them.
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(parent->rect());
        // Hidden until shown, even when the parent is shown again later.
        hide();
        parent->installEventFilter(this);
        for (QObject* child : parent->children()) {
            if (child != this && child->isWidgetType()) {
                child->installEventFilter(this);
            }
        }
        return;
    }
    if (level == Level::Alert) {
        setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        return;
    }
    setAcceptDrops(true);
    setMinimumSize(240, 320);
}

Window::~Window() = default;

void Window::setRootViewController(ViewController* controller) {
    root_ = controller;
    if (controller == nullptr) {
        return;  // its owner is about to let it go
    }
    QWidget* view = controller->view();
    view->setParent(this);
    view->setGeometry(rect());
    view->show();
}

void Window::makeKeyAndVisible() {
    show();
    raise();
    if (!isLayer()) {
        activateWindow();
    }
}

bool Window::eventFilter(QObject* watched, QEvent* event) {
    if (!isLayer()) {
        return QWidget::eventFilter(watched, event);
    }
    QWidget* parent = parentWidget();
    if (watched == parent) {
        if (event->type() == QEvent::Resize) {
            setGeometry(parent->rect());
        } else if (event->type() == QEvent::ChildAdded) {
            // A sibling that is raised or shown later (an alert, a sheet, an accessory
            // docking) would cover the layer: it is watched from the start.
            QObject* child = static_cast<QChildEvent*>(event)->child();
            if (child != this && child->isWidgetType()) {
                child->installEventFilter(this);
            }
        }
    } else if (event->type() == QEvent::ZOrderChange || event->type() == QEvent::Show) {
        stayOnTop();
    }
    return QWidget::eventFilter(watched, event);
}

void Window::stayOnTop() {
    if (!isVisible() || parentWidget() == nullptr) {
        return;
    }
    // The last widget among the parent's children is drawn over the others. Raising
    // only when covered, and raising tells the siblings nothing: no loop.
    const QObjectList& siblings = parentWidget()->children();
    for (auto it = siblings.crbegin(); it != siblings.crend(); ++it) {
        if ((*it)->isWidgetType()) {
            if (*it != this) {
                raise();
            }
            return;
        }
    }
}

Window* Window::keyWindow() {
    if (auto* active = qobject_cast<Window*>(QApplication::activeWindow());
        active != nullptr && active->isMainWindow()) {
        return active;
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget);
            window != nullptr && window->isMainWindow() && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

bool Window::event(QEvent* event) {
    if (event->type() == QEvent::ScreenChangeInternal && isMainWindow()) {
        followScreenScale();
    }
    return QWidget::event(event);
}

void Window::followScreenScale() {
    const float before = Screen::mainScreenScale();
    Screen::setMainScreenScale(float(devicePixelRatioF()));
    if (Screen::mainScreenScale() != before) {
        emit screenScaleChanged(Screen::mainScreenScale());
    }
}

void Window::resizeEvent(QResizeEvent*) {
    if (isMainWindow()) {
        Screen::setBounds(Size{float(width()), float(height())});
    }
    if (root_ != nullptr && root_->isViewLoaded()) {
        root_->view()->setGeometry(rect());
    }
}

void Window::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    Application* app = Application::sharedApplication();
    if (app == nullptr || !isMainWindow()) {
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
    if (isMainWindow()) {
        followScreenScale();
        Screen::setBounds(Size{float(width()), float(height())});
        if (Application* app = Application::sharedApplication()) {
            app->windowShown();
        }
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
    if (Application* app = Application::sharedApplication();
        app != nullptr && isMainWindow() && !isMinimized()) {
        app->windowHidden();
    }
}

void Window::closeEvent(QCloseEvent* event) {
    event->accept();
    if (Application* app = Application::sharedApplication(); app != nullptr && isMainWindow()) {
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
