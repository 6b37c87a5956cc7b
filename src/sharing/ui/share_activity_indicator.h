#pragma once

#include <QPointer>
#include <QString>

#include "ui/presentation.h"

class QLabel;

namespace lumigrave::ui {
class ActivityIndicatorView;
}

namespace lumigrave::sharing {

class ShareActivityPanel;

// The small box in the middle of the window that tells how a share goes: a spinner with
// "Saving to ..." while it is sent, then a large "✓" with "Saved!" under it. There is
// one per process, shown in the key window. It is not modal: clicks and keys go on to the
// screens beneath and the focus stays where it was.
class ShareActivityIndicator : public ui::Presentation {
    Q_OBJECT
  public:
    // How long a completed share's box stays before it hides itself, in seconds.
    static constexpr double kCompletedSeconds = 0.6;

    static ShareActivityIndicator* currentIndicator();

    // The spinner, with the message under it; stays until replaced or hidden.
    void displayActivity(const QString& message);
    // centre (by default "✓") large in the middle and message under it; hides itself
    // kCompletedSeconds later unless something else is displayed meanwhile.
    void displayCompleted(const QString& message);
    void displayCompleted(const QString& centre, const QString& message);
    void hide();

    bool isShown() const { return isPresented(); }
    QString centreMessage() const { return centre_; }
    QString subMessage() const { return message_; }
    bool isSpinning() const { return spinning_; }

  private:
    ShareActivityIndicator();
    void display(const QString& centre, const QString& message, bool spinning);

    QPointer<ShareActivityPanel> panel_;
    QString centre_;
    QString message_;
    bool spinning_ = false;
    // Tells a deferred hide whether the box it was meant for is still the one shown.
    unsigned long long shown_ = 0;
};

}  // namespace lumigrave::sharing
