#pragma once

#include <memory>
#include <vector>

#include "ui/view_controller.h"

class QPropertyAnimation;

#include <QRect>

namespace lumigrave::ui {

class NavigationBar;
class Toolbar;

// A stack of screens with a navigation bar above and a toolbar below. It owns the
// screens pushed onto it. The bars float over the screen's view (as translucent bars
// do), so a screen's view always fills the whole container; contentArea() is the part
// no visible bar covers, for a screen that lays itself out under opaque bars. Hiding a
// bar slides it out, showing it slides it back.
//
// The bar follows the top screen's navigation item by itself. Above the root, the left
// place holds a back button titled after the screen beneath ("Back" when that has no
// title), which pops the top screen, unless the item has a left button of its own or
// hides the back button.
class NavigationController : public ViewController {
    Q_OBJECT
  public:
    // Takes ownership of root. Without a root the stack starts empty and the first screen
    // pushed becomes its root (a sharer knows its first screen only once it runs).
    explicit NavigationController(ViewController* root, QObject* parent = nullptr);
    ~NavigationController() override;

    // Takes ownership of controller.
    void pushViewController(ViewController* controller, bool animated);
    // Pops and destroys the top screen (never the root); false when only the root is left.
    bool popViewControllerAnimated(bool animated);
    void popToRootViewControllerAnimated(bool animated);
    // Replaces the whole stack (taking ownership of the new screens); screens not in the
    // new stack are destroyed. The last one is shown as a push or pop would show it.
    void setViewControllers(const std::vector<ViewController*>& controllers, bool animated);

    std::vector<ViewController*> viewControllers() const;
    ViewController* topViewController() const;

    NavigationBar* navigationBar() const { return navigationBar_; }
    Toolbar* toolbar() const { return toolbar_; }

    bool isNavigationBarHidden() const { return navigationBarHidden_; }
    void setNavigationBarHidden(bool hidden, bool animated);
    bool isToolbarHidden() const { return toolbarHidden_; }
    void setToolbarHidden(bool hidden, bool animated);

    // Called by a screen whose toolbar items changed.
    void controllerItemsChanged(ViewController* controller, bool animated);

    // In the container's coordinates; follows the bars as they are hidden or shown (at
    // once, not at the end of a slide) and the container as it is resized.
    QRect contentArea() const;
    // The back button shown above the root; null before the view is loaded.
    BarButtonItem* backBarButtonItem() const { return backItem_; }

    // The top screen appears and disappears with the navigation controller.
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidDisappear(bool animated) override;

  signals:
    void contentAreaChanged(QRect area);

  protected:
    void loadView() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showTop(ViewController* leaving, bool animated);
    void layoutBars(bool animated);
    void slide(QWidget* bar, int y, bool hide, bool animated);
    // Shows the top screen's item, with the back button when there is a screen beneath.
    void showTopItem();
    void reportContentArea();

    std::vector<std::unique_ptr<ViewController>> stack_;
    NavigationBar* navigationBar_ = nullptr;
    Toolbar* toolbar_ = nullptr;
    bool navigationBarHidden_ = false;
    bool toolbarHidden_ = true;
    BarButtonItem* backItem_ = nullptr;
    QMetaObject::Connection topItemWatch_;
    QMetaObject::Connection beneathItemWatch_;
    QRect lastContentArea_;
};

}  // namespace lumigrave::ui
