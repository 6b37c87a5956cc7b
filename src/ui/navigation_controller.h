#pragma once

#include <memory>
#include <vector>

#include "ui/view_controller.h"

class QPropertyAnimation;

namespace lumigrave::ui {

class NavigationBar;
class Toolbar;

// A stack of screens with a navigation bar above and a toolbar below. It owns the
// screens pushed onto it. The bars float over the screen's view (as translucent bars
// do), so a screen's view always fills the whole content area; hiding a bar slides it
// out of the area, showing it slides it back.
class NavigationController : public ViewController {
    Q_OBJECT
  public:
    // Takes ownership of root.
    explicit NavigationController(ViewController* root, QObject* parent = nullptr);
    ~NavigationController() override;

    // Takes ownership of controller.
    void pushViewController(ViewController* controller, bool animated);
    // Pops and destroys the top screen (never the root); false when only the root is left.
    bool popViewControllerAnimated(bool animated);
    void popToRootViewControllerAnimated(bool animated);

    std::vector<ViewController*> viewControllers() const;
    ViewController* topViewController() const;

    NavigationBar* navigationBar() const { return navigationBar_; }
    Toolbar* toolbar() const { return toolbar_; }

    bool isNavigationBarHidden() const { return navigationBarHidden_; }
    void setNavigationBarHidden(bool hidden, bool animated);
    bool isToolbarHidden() const { return toolbarHidden_; }
    void setToolbarHidden(bool hidden, bool animated);

    // Called by a screen whose title, bar items or toolbar items changed.
    void controllerItemsChanged(ViewController* controller, bool animated);

    // The top screen appears and disappears with the navigation controller.
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidDisappear(bool animated) override;

  protected:
    void loadView() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showTop(ViewController* leaving, bool animated);
    void layoutBars(bool animated);
    void slide(QWidget* bar, int y, bool hide, bool animated);

    std::vector<std::unique_ptr<ViewController>> stack_;
    NavigationBar* navigationBar_ = nullptr;
    Toolbar* toolbar_ = nullptr;
    bool navigationBarHidden_ = false;
    bool toolbarHidden_ = true;
};

}  // namespace lumigrave::ui
