#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "ui/presentation.h"

namespace lumigrave::ui {

// A modal message with buttons, drawn over the window without blocking the event loop.
// The cancel button, when there is one, is position 0 and the others follow in the
// order added. The alert owns itself while it is shown and goes once dismissed.
class AlertView : public Presentation {
    Q_OBJECT
  public:
    // The alert's protocol: both calls are optional.
    class Delegate {
      public:
        virtual ~Delegate() = default;
        virtual void clickedButtonAtIndex(AlertView& alert, int buttonIndex) {
            Q_UNUSED(alert);
            Q_UNUSED(buttonIndex);
        }
        virtual void didDismissWithButtonIndex(AlertView& alert, int buttonIndex) {
            Q_UNUSED(alert);
            Q_UNUSED(buttonIndex);
        }
    };

    // The delegate is not owned; it must outlive the alert or be null.
    AlertView(const QString& title, const QString& message, Delegate* delegate,
              const QString& cancelButtonTitle, const QStringList& otherButtonTitles = {});

    // The new button's position.
    int addButtonWithTitle(const QString& title);
    int numberOfButtons() const override { return int(buttons_.size()); }
    QString buttonTitleAtIndex(int index) const override;
    int cancelButtonIndex() const { return cancelButtonIndex_; }
    QString title() const { return title_; }
    QString message() const { return message_; }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    Delegate* delegate() const { return delegate_; }
    void setDelegate(Delegate* delegate) { delegate_ = delegate; }

    // Shows the alert in the key window (the first visible window when none is active).
    void show();
    bool isVisible() const { return isPresented(); }
    // As if the button at index were pressed: the delegate is told, then the alert goes.
    void dismissWithClickedButtonIndex(int index, bool animated);

  protected:
    void presentationClicked(int buttonIndex) override;
    void presentationDidDismiss(int buttonIndex) override;
    void escapePressed() override;

  private:
    QString title_;
    QString message_;
    Delegate* delegate_;
    QStringList buttons_;
    int cancelButtonIndex_ = -1;
    int tag_ = 0;
};

// Shows an alert titled "Error" with the message and the single button "OK": how store
// failures reach the user.
void showErrorAlert(const QString& message);

}  // namespace lumigrave::ui
