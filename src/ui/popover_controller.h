#pragma once

#include <QRectF>
#include <QSizeF>

#include "ui/presentation.h"

class QWidget;

namespace lumigrave::ui {

class BarButtonItem;
class ViewController;

// A floating panel pointing at a rectangle or a bar item, holding a screen's view; on a
// tablet-sized window pickers show in one. A click outside (or Escape) closes it and
// tells only its delegate, as the platform does. It is owned by whoever made it and stays after it
// is dismissed, ready to be presented again.
class PopoverController : public Presentation {
    Q_OBJECT
  public:
    // The popover's protocol: told when the user closed it (a click outside, Escape),
    // never when code dismissed it, as on the platform.
    class Delegate {
      public:
        virtual ~Delegate() = default;
        virtual void popoverControllerDidDismissPopover(PopoverController& popover) {
            Q_UNUSED(popover);
        }
    };

    // Takes ownership of content.
    explicit PopoverController(ViewController* content, QObject* parent = nullptr);
    ~PopoverController() override;

    ViewController* contentViewController() const { return content_; }
    // Not owned; it must outlive the popover or be null.
    Delegate* delegate() const { return delegate_; }
    void setDelegate(Delegate* delegate) { delegate_ = delegate; }
    QSizeF popoverContentSize() const { return contentSize_; }
    void setPopoverContentSize(QSizeF size) { contentSize_ = size; }

    void presentPopoverFromRect(QRectF rect, QWidget* view, bool animated);
    void presentPopoverFromBarButtonItem(BarButtonItem* item, bool animated);
    bool isPopoverVisible() const { return isPresented(); }
    void dismissPopoverAnimated(bool animated);

  protected:
    void presentationClicked(int buttonIndex) override;
    void presentationWillHide() override;
    void presentationDidDismiss(int buttonIndex) override;
    void escapePressed() override { dismissByUser(); }
    void clickedOutside() override { dismissByUser(); }

  private:
    void present(QWidget* host, QRectF anchorInHost);
    // Takes the content's view back from the panel, which is about to go.
    void takeBackContentView();
    void dismissByUser();

    ViewController* content_;
    QSizeF contentSize_{320, 260};
    Delegate* delegate_ = nullptr;
};

}  // namespace lumigrave::ui
