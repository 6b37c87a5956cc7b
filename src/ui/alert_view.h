#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace lumigrave::ui {

// A modal message with buttons, drawn over the window without blocking the event loop.
// The cancel button, when there is one, is position 0 and the others follow in the
// order added. The alert owns itself while it is shown and goes once dismissed.
class AlertView : public QObject {
    Q_OBJECT
  public:
    // Told the position of the button pressed. Either may be empty.
    struct Delegate {
        std::function<void(AlertView& alert, int buttonIndex)> clickedButtonAtIndex;
        std::function<void(AlertView& alert, int buttonIndex)> didDismissWithButtonIndex;
    };

    AlertView(const QString& title, const QString& message, Delegate delegate,
              const QString& cancelButtonTitle, const QStringList& otherButtonTitles = {});
    ~AlertView() override;

    // The new button's position.
    int addButtonWithTitle(const QString& title);
    int numberOfButtons() const { return int(buttons_.size()); }
    QString buttonTitleAtIndex(int index) const;
    int cancelButtonIndex() const { return cancelButtonIndex_; }
    QString title() const { return title_; }
    QString message() const { return message_; }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    // Shows the alert in the active window (the first top-level window when none is
    // active).
    void show();
    bool isVisible() const { return panel_ != nullptr; }
    // As if the button at index were pressed: the delegate is told, then the alert goes.
    void dismissWithClickedButtonIndex(int index, bool animated);

    // The alert's panel, for tests; null when not shown.
    QWidget* panel() const { return panel_; }

  private:
    QString title_;
    QString message_;
    Delegate delegate_;
    QStringList buttons_;
    int cancelButtonIndex_ = -1;
    int tag_ = 0;
    QPointer<QWidget> panel_;
};

// Shows an alert titled "Error" with the message and the single button "OK": how store
// failures reach the user.
void showErrorAlert(const QString& message);

}  // namespace lumigrave::ui
