#include "ui/text_field.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>

#include "ui/keyboard.h"
#include "ui/overlay_panel.h"
#include "ui/style.h"

namespace lumigrave::ui {

namespace {

// A QLineEdit that is a text field's own, of a field other than self.
bool isOtherTextInput(const QWidget* widget, const TextField* self) {
    return widget != nullptr && qobject_cast<const QLineEdit*>(widget) != nullptr &&
           qobject_cast<const TextField*>(widget->parentWidget()) != nullptr &&
           widget->parentWidget() != self;
}

// Tells an on-screen keyboard which label its return key wears.
class ReturnKeyLineEdit : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;
    Qt::EnterKeyType enterKeyType = Qt::EnterKeyDefault;

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override {
        if (query == Qt::ImEnterKeyType) {
            return enterKeyType;
        }
        return QLineEdit::inputMethodQuery(query);
    }
};

}  // namespace

TextField::TextField(QWidget* parent) : Control(parent), edit_(new ReturnKeyLineEdit(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit_);
    setFocusProxy(edit_);
    setFocusPolicy(Qt::StrongFocus);
    edit_->installEventFilter(this);
    connect(edit_, &QLineEdit::textEdited, this,
            [this] { sendActionsForControlEvents(ControlEvent::EditingChanged); });
    applyStyle();
}

TextField::~TextField() {
    if (editing_) {
        // A first responder taken off the screen takes the keyboard down with it.
        editing_ = false;
        Keyboard::shared().textInputEnded(this);
    }
}

QString TextField::text() const {
    return edit_->text();
}

void TextField::setText(const QString& text) {
    edit_->setText(text);
}

QString TextField::placeholder() const {
    return edit_->placeholderText();
}

void TextField::setPlaceholder(const QString& placeholder) {
    edit_->setPlaceholderText(placeholder);
}

void TextField::setTextFont(const QFont& font) {
    edit_->setFont(font);
}

void TextField::setBorderStyle(BorderStyle style) {
    borderStyle_ = style;
    applyStyle();
}

void TextField::setClearButtonMode(ClearButtonMode mode) {
    clearButtonMode_ = mode;
    updateClearButton();
}

bool TextField::isClearButtonOffered() const {
    return edit_->isClearButtonEnabled();
}

void TextField::setReturnKeyType(ReturnKeyType type) {
    returnKeyType_ = type;
    static_cast<ReturnKeyLineEdit*>(edit_)->enterKeyType =
        type == ReturnKeyType::Done ? Qt::EnterKeyDone : Qt::EnterKeyDefault;
}

bool TextField::becomeFirstResponder() {
    if (!isVisible() || !isEnabled()) {
        return false;
    }
    // A window that is not active gets its focus events only once it is: editing begins
    // here then. When the focus event did come, editing began there, and what happened
    // on the way (an observer moving the focus on) stands.
    focusInSeen_ = false;
    edit_->setFocus(Qt::OtherFocusReason);
    if (!focusInSeen_) {
        beginEditing();
    }
    return true;
}

void TextField::resignFirstResponder() {
    if (!editing_) {
        return;
    }
    // The focus goes first: ending the editing takes the keyboard's accessory down, and a
    // field inside it, hidden with the focus, would hand the focus on to the next text
    // input, which would bring the keyboard straight back.
    if (edit_->hasFocus()) {
        edit_->clearFocus();
    }
    endEditing();
}

void TextField::paste() {
    edit_->paste();
}

void TextField::beginEditing() {
    if (editing_) {
        return;
    }
    editing_ = true;
    updateClearButton();
    sendActionsForControlEvents(ControlEvent::EditingDidBegin);
    if (delegate_ != nullptr) {
        delegate_->textFieldDidBeginEditing(*this);
    }
    Keyboard::shared().textInputBegan(this);
}

void TextField::endEditing(bool handingOver) {
    if (!editing_) {
        return;
    }
    editing_ = false;
    updateClearButton();
    sendActionsForControlEvents(ControlEvent::EditingDidEnd);
    if (delegate_ != nullptr) {
        delegate_->textFieldDidEndEditing(*this);
    }
    Keyboard::shared().textInputEnded(this, handingOver);
}

void TextField::returnPressed() {
    if (delegate_ != nullptr && !delegate_->textFieldShouldReturn(*this)) {
        return;
    }
    QPointer<TextField> alive(this);
    sendActionsForControlEvents(ControlEvent::EditingDidEndOnExit);
    if (alive) {
        resignFirstResponder();
    }
}

bool TextField::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_) {
        return Control::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::FocusIn:
            focusInSeen_ = true;
            beginEditing();
            break;
        case QEvent::FocusOut: {
            // The window losing the focus (another application, a menu) keeps the
            // editing going; the field finds it where it was on the way back. So does an
            // alert over the window, which hands the focus back when it goes.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                !OverlayPanel::isInModalLayer(QApplication::focusWidget())) {
                // Qt names the widget taking the focus before telling the one losing it.
                endEditing(isOtherTextInput(QApplication::focusWidget(), this));
            }
            break;
        }
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                returnPressed();
                return true;
            }
            if (key == Qt::Key_Escape && editing_) {
                resignFirstResponder();
                return true;
            }
            break;
        }
        default:
            break;
    }
    return Control::eventFilter(watched, event);
}

void TextField::applyStyle() {
    edit_->setStyleSheet(style::textFieldStyleSheet(borderStyle_ == BorderStyle::RoundedRect));
}

void TextField::updateClearButton() {
    edit_->setClearButtonEnabled(clearButtonMode_ == ClearButtonMode::Always ||
                                 (clearButtonMode_ == ClearButtonMode::WhileEditing && editing_));
}

}  // namespace lumigrave::ui
