#include "ui/navigation_controller.h"

#include <QEvent>
#include <QPropertyAnimation>
#include <QWidget>

#include "ui/bar_button_item.h"
#include "ui/navigation_bar.h"
#include "ui/toolbar.h"

namespace lumigrave::ui {

namespace {
// The platform's bar slide takes a fifth of a second.
constexpr int kSlideMilliseconds = 200;
}  // namespace

NavigationController::NavigationController(ViewController* root, QObject* parent)
    : ViewController(parent) {
    if (root != nullptr) {
        root->navigationController_ = this;
        stack_.emplace_back(root);
    }
}

NavigationController::~NavigationController() {
    // Screens go before the bars that may show their items' widgets.
    while (!stack_.empty()) {
        stack_.pop_back();
    }
}

void NavigationController::loadView() {
    auto* container = new QWidget;
    container->installEventFilter(this);
    backItem_ = new BarButtonItem(
        QStringLiteral("Back"), BarButtonItem::Style::Bordered,
        [this](BarButtonItem*) { popViewControllerAnimated(true); }, this);
    backItem_->setObjectName(QStringLiteral("Back"));
    navigationBar_ = new NavigationBar(container);
    toolbar_ = new Toolbar(container);
    toolbar_->hide();
    setView(container);
    showTop(nullptr, false);
}

std::vector<ViewController*> NavigationController::viewControllers() const {
    std::vector<ViewController*> controllers;
    for (const auto& controller : stack_) {
        controllers.push_back(controller.get());
    }
    return controllers;
}

ViewController* NavigationController::topViewController() const {
    return stack_.empty() ? nullptr : stack_.back().get();
}

void NavigationController::pushViewController(ViewController* controller, bool animated) {
    if (controller == nullptr) {
        return;
    }
    ViewController* leaving = topViewController();
    controller->navigationController_ = this;
    stack_.emplace_back(controller);
    if (isViewLoaded()) {
        showTop(leaving, animated);
    }
}

bool NavigationController::popViewControllerAnimated(bool animated) {
    if (stack_.size() < 2) {
        return false;
    }
    std::unique_ptr<ViewController> leaving = std::move(stack_.back());
    stack_.pop_back();
    if (isViewLoaded()) {
        showTop(leaving.get(), animated);
    }
    leaving->navigationController_ = nullptr;
    // The screen may be popping itself from one of its own handlers.
    leaving.release()->deleteLater();
    return true;
}

void NavigationController::popToRootViewControllerAnimated(bool animated) {
    if (stack_.size() < 2) {
        return;
    }
    // Only the top screen leaves the screen; those between were never on it on the way
    // down, and go without being told anything.
    std::unique_ptr<ViewController> leaving = std::move(stack_.back());
    stack_.pop_back();
    while (stack_.size() > 1) {
        stack_.back()->navigationController_ = nullptr;
        stack_.back().release()->deleteLater();
        stack_.pop_back();
    }
    if (isViewLoaded()) {
        showTop(leaving.get(), animated);
    }
    leaving->navigationController_ = nullptr;
    leaving.release()->deleteLater();
}

void NavigationController::setViewControllers(const std::vector<ViewController*>& controllers,
                                              bool animated) {
    ViewController* leaving = topViewController();
    std::vector<std::unique_ptr<ViewController>> old = std::move(stack_);
    stack_.clear();
    for (ViewController* controller : controllers) {
        if (controller == nullptr) {
            continue;
        }
        for (auto& kept : old) {
            if (kept.get() == controller) {
                kept.release();
            }
        }
        controller->navigationController_ = this;
        stack_.emplace_back(controller);
    }
    if (leaving == topViewController()) {
        leaving = nullptr;
    }
    if (isViewLoaded()) {
        if (!stack_.empty()) {
            showTop(leaving, animated);
        } else if (leaving != nullptr && leaving->isViewLoaded()) {
            leaving->view()->hide();
        }
    }
    // The screens that left may be running one of their own handlers.
    for (auto& gone : old) {
        if (gone != nullptr) {
            gone->navigationController_ = nullptr;
            gone.release()->deleteLater();
        }
    }
}

void NavigationController::showTop(ViewController* leaving, bool animated) {
    ViewController* arriving = topViewController();
    if (arriving == nullptr) {
        return;  // an empty stack waits for its first screen
    }
    QWidget* container = view();
    bool onScreen = container->isVisible();
    if (leaving != nullptr && onScreen) {
        leaving->viewWillDisappear(animated);
    }
    QWidget* arrivingView = arriving->view();
    arrivingView->setParent(container);
    arrivingView->setGeometry(container->rect());
    if (onScreen) {
        arriving->viewWillAppear(animated);
    }
    if (leaving != nullptr && leaving->isViewLoaded()) {
        leaving->view()->hide();
    }
    arrivingView->show();
    arrivingView->lower();
    // The bar follows the top screen's item, and the title of the one beneath for the
    // back button.
    disconnect(topItemWatch_);
    disconnect(beneathItemWatch_);
    topItemWatch_ = connect(&arriving->navigationItem(), &NavigationItem::changed, this,
                            [this] { showTopItem(); });
    if (stack_.size() > 1) {
        beneathItemWatch_ = connect(&stack_[stack_.size() - 2]->navigationItem(),
                                    &NavigationItem::changed, this, [this] { showTopItem(); });
    }
    showTopItem();
    toolbar_->setItems(arriving->toolbarItems(), false);
    if (leaving != nullptr && onScreen) {
        leaving->viewDidDisappear(animated);
    }
    if (onScreen) {
        arriving->viewDidAppear(animated);
    }
    layoutBars(false);
}

void NavigationController::showTopItem() {
    ViewController* top = topViewController();
    if (!isViewLoaded() || top == nullptr) {
        return;
    }
    BarButtonItem* back = nullptr;
    if (stack_.size() > 1) {
        const QString beneath = stack_[stack_.size() - 2]->title();
        backItem_->setTitle(beneath.isEmpty() ? QStringLiteral("Back") : beneath);
        back = backItem_;
    }
    navigationBar_->showItem(top->navigationItem(), back);
}

QRect NavigationController::contentArea() const {
    if (!isViewLoaded()) {
        return {};
    }
    QRect area = view_->rect();
    if (!navigationBarHidden_) {
        area.setTop(kBarHeight);
    }
    if (!toolbarHidden_) {
        area.setBottom(area.bottom() - kBarHeight);
    }
    return area;
}

void NavigationController::controllerItemsChanged(ViewController* controller, bool animated) {
    if (!isViewLoaded() || controller != topViewController()) {
        return;
    }
    if (toolbar_->items() != controller->toolbarItems()) {
        toolbar_->setItems(controller->toolbarItems(), animated);
    }
}

void NavigationController::setNavigationBarHidden(bool hidden, bool animated) {
    navigationBarHidden_ = hidden;
    if (!isViewLoaded()) {
        return;
    }
    slide(navigationBar_, hidden ? -kBarHeight : 0, hidden, animated);
    reportContentArea();
}

void NavigationController::setToolbarHidden(bool hidden, bool animated) {
    toolbarHidden_ = hidden;
    if (!isViewLoaded()) {
        return;
    }
    int h = view()->height();
    slide(toolbar_, hidden ? h : h - kBarHeight, hidden, animated);
    reportContentArea();
}

void NavigationController::slide(QWidget* bar, int y, bool hide, bool animated) {
    bar->resize(view()->width(), kBarHeight);
    if (auto* running = bar->findChild<QPropertyAnimation*>(QStringLiteral("slide"))) {
        running->stop();
        running->deleteLater();
    }
    if (!animated || !view()->isVisible()) {
        bar->move(0, y);
        bar->setVisible(!hide);
        bar->raise();
        return;
    }
    bar->show();
    bar->raise();
    auto* animation = new QPropertyAnimation(bar, "pos", bar);
    animation->setObjectName(QStringLiteral("slide"));
    animation->setDuration(kSlideMilliseconds);
    animation->setEndValue(QPoint(0, y));
    connect(animation, &QPropertyAnimation::finished, bar, [bar, hide] {
        if (hide) {
            bar->hide();
        }
    });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void NavigationController::layoutBars(bool animated) {
    setNavigationBarHidden(navigationBarHidden_, animated);
    setToolbarHidden(toolbarHidden_, animated);
}

void NavigationController::reportContentArea() {
    const QRect area = contentArea();
    if (area != lastContentArea_) {
        lastContentArea_ = area;
        emit contentAreaChanged(area);
    }
}

void NavigationController::viewWillAppear(bool animated) {
    if (ViewController* top = topViewController()) {
        top->viewWillAppear(animated);
    }
}

void NavigationController::viewDidAppear(bool animated) {
    if (ViewController* top = topViewController()) {
        top->viewDidAppear(animated);
    }
}

void NavigationController::viewWillDisappear(bool animated) {
    if (ViewController* top = topViewController()) {
        top->viewWillDisappear(animated);
    }
}

void NavigationController::viewDidDisappear(bool animated) {
    if (ViewController* top = topViewController()) {
        top->viewDidDisappear(animated);
    }
}

bool NavigationController::eventFilter(QObject* watched, QEvent* event) {
    if (isViewLoaded() && watched == view() && event->type() == QEvent::Resize) {
        if (ViewController* top = topViewController(); top != nullptr && top->isViewLoaded()) {
            top->view()->setGeometry(view()->rect());
        }
        layoutBars(false);
    }
    return ViewController::eventFilter(watched, event);
}

}  // namespace lumigrave::ui
