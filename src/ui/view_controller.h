#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "ui/navigation_item.h"

namespace lumigrave::ui {

class BarButtonItem;
class NavigationController;

// A screen. Its view is made on first use by loadView(); the navigation controller
// calls the appearance callbacks in the platform's order: the leaving screen's
// viewWillDisappear, the arriving screen's viewWillAppear, then the two "did" calls.
class ViewController : public QObject {
    Q_OBJECT
  public:
    explicit ViewController(QObject* parent = nullptr);
    ~ViewController() override;

    // Loads the view when it is not loaded yet.
    QWidget* view();
    bool isViewLoaded() const { return view_ != nullptr; }
    // Drops the view (as when memory runs low); viewDidUnload follows.
    void unloadView();

    QString title() const { return navigationItem_.title(); }
    void setTitle(const QString& title) { navigationItem_.setTitle(title); }
    // Changes to it reach the navigation bar by themselves.
    NavigationItem& navigationItem() { return navigationItem_; }
    const NavigationItem& navigationItem() const { return navigationItem_; }

    const QList<BarButtonItem*>& toolbarItems() const { return toolbarItems_; }
    void setToolbarItems(const QList<BarButtonItem*>& items, bool animated = false);

    // The navigation controller whose stack holds this screen, or null.
    NavigationController* navigationController() const { return navigationController_; }

    // Shows another screen over the whole window; it stays until dismissed. The
    // presented controller is owned by the presenting one meanwhile.
    void presentModalViewController(ViewController* controller, bool animated);
    void dismissModalViewControllerAnimated(bool animated);
    ViewController* modalViewController() const { return modal_; }
    ViewController* presentingViewController() const { return presenting_; }

    virtual void viewWillAppear(bool animated);
    virtual void viewDidAppear(bool animated);
    virtual void viewWillDisappear(bool animated);
    virtual void viewDidDisappear(bool animated);

  protected:
    // Builds the view and sets it with setView(). The default makes a plain view.
    virtual void loadView();
    virtual void viewDidLoad() {}
    // Called once a presenting controller has dismissed this one. The presenter owned it,
    // so by default it goes; a controller with work left after it leaves the screen (a
    // sharer still sending) takes itself back and ends its own life.
    virtual void didDismissFromPresentation() { deleteLater(); }
    virtual void viewDidUnload() {}
    void setView(QWidget* view);

  private:
    friend class NavigationController;
    // Guarded: the view lives in other widgets, which may go first.
    QPointer<QWidget> view_;
    NavigationItem navigationItem_;
    QList<BarButtonItem*> toolbarItems_;
    NavigationController* navigationController_ = nullptr;
    ViewController* modal_ = nullptr;
    ViewController* presenting_ = nullptr;
};

}  // namespace lumigrave::ui
