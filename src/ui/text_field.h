#pragma once

#include <QPointer>
#include <QString>

#include "ui/control.h"

class QFont;
class QLineEdit;

namespace lumigrave::ui {

// A one-line text input. The typing itself is a QLineEdit inside it (its focus proxy);
// the field adds what the platform's field has: first responder calls, the editing
// control events, a delegate asked on the return key, and an accessory view docked over
// the window while it edits (see Keyboard).
//
// Editing begins when the field takes the focus and ends when it resigns, on the return
// key (when the delegate agrees), on Escape, or when another text input takes over. It
// does not end when the whole window loses the focus, nor under a modal alert: switching
// to another application and back, or answering the alert, keeps the user's editing
// where it was.
//
// Control events, in the order they come: EditingDidBegin, EditingChanged for each change
// the user makes (typing, deleting, pasting; not setText), then EditingDidEndOnExit (the
// return key only) and EditingDidEnd.
class TextField : public Control {
    Q_OBJECT
  public:
    class Delegate {
      public:
        virtual ~Delegate() = default;
        // The return key. True: the field ends editing and resigns.
        virtual bool textFieldShouldReturn(TextField& field) {
            Q_UNUSED(field);
            return true;
        }
        virtual void textFieldDidBeginEditing(TextField& field) { Q_UNUSED(field); }
        virtual void textFieldDidEndEditing(TextField& field) { Q_UNUSED(field); }
    };

    enum class BorderStyle { None, RoundedRect };
    enum class ClearButtonMode { Never, WhileEditing, Always };
    enum class ReturnKeyType { Default, Done };

    explicit TextField(QWidget* parent = nullptr);
    ~TextField() override;

    QString text() const;
    void setText(const QString& text);
    QString placeholder() const;
    void setPlaceholder(const QString& placeholder);
    void setTextFont(const QFont& font);

    BorderStyle borderStyle() const { return borderStyle_; }
    void setBorderStyle(BorderStyle style);
    ClearButtonMode clearButtonMode() const { return clearButtonMode_; }
    void setClearButtonMode(ClearButtonMode mode);
    // True when the clear button is offered now (it shows once there is text).
    bool isClearButtonOffered() const;
    ReturnKeyType returnKeyType() const { return returnKeyType_; }
    void setReturnKeyType(ReturnKeyType type);

    // Not owned: the delegate must outlive the field or be cleared.
    void setDelegate(Delegate* delegate) { delegate_ = delegate; }
    Delegate* delegate() const { return delegate_; }

    // Not owned. Shown docked at the bottom of the window while the field edits, and
    // handed back to its former parent (hidden) when editing ends.
    void setInputAccessoryView(QWidget* view) { accessory_ = view; }
    QWidget* inputAccessoryView() const { return accessory_; }

    // False when the field cannot edit (hidden or disabled).
    bool becomeFirstResponder();
    void resignFirstResponder();
    bool isFirstResponder() const { return editing_; }

    // The clipboard's text replaces the selection, or goes in at the cursor.
    void paste();

    QLineEdit* lineEdit() const { return edit_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    friend class Keyboard;
    void beginEditing();
    // Ends editing without giving up the focus: the caller decides where it goes.
    // handingOver: another text input is taking the focus, the keyboard stays up for it.
    void endEditing(bool handingOver = false);
    void returnPressed();
    void applyStyle();
    void updateClearButton();

    QLineEdit* edit_;
    Delegate* delegate_ = nullptr;
    QPointer<QWidget> accessory_;
    BorderStyle borderStyle_ = BorderStyle::None;
    ClearButtonMode clearButtonMode_ = ClearButtonMode::Never;
    ReturnKeyType returnKeyType_ = ReturnKeyType::Default;
    bool editing_ = false;
    bool focusInSeen_ = false;
};

}  // namespace lumigrave::ui
