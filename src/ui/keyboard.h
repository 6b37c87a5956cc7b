#pragma once

#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <memory>

class QWidget;

namespace lumigrave::ui {

class TextField;
class KeyboardAccessory;

// The keyboard the text inputs share. It is up while some text input edits: it comes up
// when one takes the focus and goes when editing ends. Moving from one text input to
// another keeps it up and posts nothing, so an observer that moves the focus on did-show
// does not bring about another did-show.
//
// Notifications (NotificationCenter's default centre), with the field as sender:
//   "UIKeyboardDidShowNotification" and "UIKeyboardDidHideNotification", each with the
//   keyboard's frame in window coordinates, as a QRectF, under
//   "UIKeyboardFrameEndUserInfoKey" (for did-hide, the frame it had while up).
// A desktop's physical keyboard takes no room: the frame has height 0 at the bottom of
// the window. Where Qt reports an on-screen keyboard, its height is used.
//
// The accessory view of the field that brought the keyboard up is docked at the bottom of
// the window, non-modal, until the keyboard goes; a field moved to that has an accessory
// of its own replaces it, one without keeps it (the field may live in it).
class Keyboard {
  public:
    static inline const QString DidShowNotification =
        QStringLiteral("UIKeyboardDidShowNotification");
    static inline const QString DidHideNotification =
        QStringLiteral("UIKeyboardDidHideNotification");
    static inline const QString FrameEndUserInfoKey =
        QStringLiteral("UIKeyboardFrameEndUserInfoKey");

    static Keyboard& shared();

    bool isShown() const { return shown_; }
    // The text input editing now; null when the keyboard is down.
    TextField* firstResponder() const { return current_; }
    // The accessory docked now; null when none is.
    QWidget* dockedAccessoryView() const;

    // The keyboard's frame in a window of the given size, for a keyboard height.
    static QRectF endFrame(QSizeF window, qreal keyboardHeight);

    ~Keyboard();

  private:
    friend class TextField;
    Keyboard();
    void textInputBegan(TextField* field);
    // handingOver: another text input takes the focus next; the keyboard waits for it.
    void textInputEnded(TextField* field, bool handingOver = false);
    void dockAccessory(TextField* field);
    void undockAccessory();
    QRectF frameFor(const QWidget* window) const;

    QPointer<TextField> current_;
    bool shown_ = false;
    QRectF frame_;
    std::unique_ptr<KeyboardAccessory> accessory_;
};

}  // namespace lumigrave::ui
