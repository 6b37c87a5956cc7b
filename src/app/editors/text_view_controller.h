#pragma once

#include <QPointer>
#include <QRect>

#include "app/editors/action_base_view_controller.h"
#include "platform/image.h"
#include "ui/bar_button_item.h"
#include "ui/button.h"
#include "ui/image_view.h"
#include "ui/text_field.h"
#include "ui/toolbar.h"
#include "ui/window.h"

namespace lumigrave {

struct Notification;

// Where the copyright key's pop-up goes, in the editor view's coordinates: one point in
// from the right edge, standing on the bar that rides on the keyboard. view is the editor
// view's size, toolbarHeight the bar's, pop the pop-up's size, keyboardHeight the
// keyboard's end frame height. The platform counts the bar in its keyboard frame, so its
// T + VH − ph − (K + T) is VH − ph − K with ours, which does not.
QRect copyrightPopFrame(QSize view, int toolbarHeight, QSize pop, qreal keyboardHeight);

// The watermark text editor. The main screen's snapshot stays frozen behind the keyboard,
// and the text field rides on the keyboard in a bar, with a key that types the copyright
// sign. An invisible field brings the keyboard up with the bar on it; once it is up the
// visible field is filled from the active preset and takes over. When the keyboard goes,
// for whatever reason, the editor closes: Done and the return key validate and store the
// trimmed text first, Escape and Cancel store nothing. Switching to another application
// and back leaves it open.
class TextViewController : public ActionBaseViewController, public ui::TextField::Delegate {
    Q_OBJECT
  public:
    // background: the main screen as it looked when the editor was asked for.
    explicit TextViewController(const Image& background, QObject* parent = nullptr);
    ~TextViewController() override;

    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void doneButtonTouched() override;

    // Trims the field's text, refuses an empty one with an alert, and stores a changed one.
    bool textFieldShouldReturn(ui::TextField& field) override;

    void registerForKeyboardNotifications();
    void deregisterForKeyboardNotifications();
    void keyboardDidShow(const Notification& notification);
    void keyboardDidHide(const Notification& notification);

    // The copyright key: pressed, left, and released on it.
    void popCopyrightSignKey();
    void hideCopyrightSignKey();
    void insertCopyrightSign();
    void playSystemKeyboardClick();

    ui::TextField* embTextField() const { return embTextField_; }
    ui::TextField* fakeTextField() const { return fakeTextField_; }
    ui::Toolbar* textToolbar() const { return textToolbar_; }
    ui::BarButtonItem* copyrightItem() const { return copyrightItem_; }
    ui::Button* copyrightKey() const { return copyrightKey_; }
    ui::Window* copyrightPopWindow() const { return copyrightPopWindow_; }
    ui::ImageView* copyrightPopView() const { return copyrightPopView_; }
    const Image& bgImage() const { return bgImage_; }

  protected:
    void loadView() override;
    void viewDidUnload() override;
    void layoutEditorViews(QSize size) override;
    // Enter is the field's return key, which validates first.
    bool enterIsDone() const override { return false; }

  private:
    void createToolbar(QRect frame);
    void createTextField(QRect frame);
    void createCopyrightPopWindow();
    // Takes down what lives outside the view: the bar and the pop-up window.
    void releaseViews();

    QPointer<ui::TextField> embTextField_;
    QPointer<ui::TextField> fakeTextField_;
    QPointer<ui::Toolbar> textToolbar_;
    QPointer<ui::BarButtonItem> copyrightItem_;
    QPointer<ui::Button> copyrightKey_;
    QPointer<ui::Window> copyrightPopWindow_;
    QPointer<ui::ImageView> copyrightPopView_;
    Image bgImage_;
};

}  // namespace lumigrave
