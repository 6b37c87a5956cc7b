#pragma once

#include <QWidget>

namespace lumigrave::ui {

class ViewController;

// A window. The root screen's view fills it; alerts, sheets, popovers and the activity
// overlay are drawn over it as child widgets.
//
// The main window (normal level) is the screen: as it is resized, the screen's bounds
// (and so the interface idiom) follow its size in points; as it is shown or moves to a
// display of another ratio, the screen's scale follows it; activating, minimising,
// hiding and closing it drive the application's lifecycle, and closing it quits.
// A window of alert level (a pop-up such as the copyright key's) does none of that: it
// only shows its root screen. Given the main window as parent it is a layer of that
// window: it covers the whole of it and follows its size, stays above everything else in
// it (alerts, sheets, the keyboard's accessory, whatever comes later) and takes no input,
// so clicks and keys go on to what is beneath. Without a parent it is a frameless window
// of its own that stays above the main window.
class Window : public QWidget {
    Q_OBJECT
  public:
    enum class Level { Normal, Alert };

    explicit Window(Level level = Level::Normal, QWidget* parent = nullptr);
    ~Window() override;

    Level level() const { return level_; }
    bool isMainWindow() const { return level_ == Level::Normal; }

    // Does not take ownership: the application delegate owns the controller. Null
    // leaves the window without one, for an owner about to let its controller go.
    void setRootViewController(ViewController* controller);
    ViewController* rootViewController() const { return root_; }
    // Shows the window and gives it the focus; the root screen appears. A layer of the
    // main window is only shown, on top: the focus stays where it was.
    void makeKeyAndVisible();
    // True for an alert-level window that is a layer of its parent window.
    bool isLayer() const { return level_ == Level::Alert && parentWidget() != nullptr; }

    // The window alerts and sheets appear in: the active main window, else the first
    // visible one, else null.
    static Window* keyWindow();

  signals:
    // The main window's display has another ratio: what was rendered for the old scale
    // wants rendering again.
    void screenScaleChanged(float scale);

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Takes the display's ratio as the screen's scale; tells when it changed.
    void followScreenScale();
    // Keeps a layer over the whole of its parent and above its other children.
    void stayOnTop();

    Level level_;
    ViewController* root_ = nullptr;
    bool appeared_ = false;
};

}  // namespace lumigrave::ui
