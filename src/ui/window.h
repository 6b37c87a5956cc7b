#pragma once

#include <QWidget>

namespace lumigrave::ui {

class ViewController;

// The application's one window. The root screen's view fills it; alerts, sheets,
// popovers and the activity overlay are drawn over it as child widgets. As it is
// resized, the screen's bounds (and so the interface idiom) follow its size in points;
// activating, minimising, hiding and closing it drive the application's lifecycle.
class Window : public QWidget {
    Q_OBJECT
  public:
    explicit Window(QWidget* parent = nullptr);
    ~Window() override;

    // Does not take ownership: the application delegate owns the controller.
    void setRootViewController(ViewController* controller);
    ViewController* rootViewController() const { return root_; }
    // Shows the window and gives it the focus; the root screen appears.
    void makeKeyAndVisible();

    // The window alerts and sheets appear in: the active window, else the first visible
    // one, else null.
    static Window* keyWindow();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    ViewController* root_ = nullptr;
    bool appeared_ = false;
};

}  // namespace lumigrave::ui
