#include "sharing/ui/form_field_cell.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

#include "ui/style.h"
#include "ui/switch.h"
#include "ui/text_field.h"

namespace lumigrave::sharing {

namespace {
constexpr int kInset = 10;
constexpr int kFieldHeight = 30;

Qt::InputMethodHints hintsFor(FormFieldSettings::Type type) {
    switch (type) {
        case FormFieldSettings::Type::TextNoCorrect:
            return Qt::ImhNoAutoUppercase | Qt::ImhNoPredictiveText;
        case FormFieldSettings::Type::Password:
            return Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoAutoUppercase |
                   Qt::ImhNoPredictiveText;
        default:
            return Qt::ImhNone;
    }
}
}  // namespace

FormFieldCell::FormFieldCell(const FormFieldSettings& field, const QString& value,
                             const QString& shown)
    : ui::TableViewCell(Style::Default, QStringLiteral("FormField")), field_(field) {
    setObjectName(field.key());
    textLabel()->setText(field.label());
    if (field.isTextInput()) {
        textField_ = new ui::TextField(contentView());
        textField_->setObjectName(field.key());
        textField_->setAccessibleName(field.label());
        textField_->setText(value);
        textField_->setTextFont(ui::style::systemFont(17));
        textField_->setClearButtonMode(ui::TextField::ClearButtonMode::WhileEditing);
        QLineEdit* edit = textField_->lineEdit();
        edit->setInputMethodHints(hintsFor(field.type()));
        if (field.type() == FormFieldSettings::Type::Password) {
            edit->setEchoMode(QLineEdit::Password);
        }
        // Every change counts, not only typing: the clear button, undo, a paste.
        connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) {
            if (onValueChanged) {
                onValueChanged(text);
            }
        });
    } else if (field.type() == FormFieldSettings::Type::Switch) {
        switch_ = new ui::Switch(contentView());
        switch_->setObjectName(field.key());
        switch_->setAccessibleName(field.label());
        switch_->setOn(value == FormFieldSettings::switchValue(true));
        switch_->addTarget(ui::ControlEvent::ValueChanged, [this] {
            if (onValueChanged) {
                onValueChanged(FormFieldSettings::switchValue(switch_->isOn()));
            }
        });
    } else {
        detail_ = new QLabel(shown, contentView());
        detail_->setObjectName(field.key());
        detail_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        detail_->setFont(ui::style::systemFont(17));
        detail_->setStyleSheet(ui::style::tableDetailTextStyleSheet());
        // A click on the choice is a click on the row, which opens the page.
        detail_->setAttribute(Qt::WA_TransparentForMouseEvents);
        setAccessoryType(AccessoryType::DisclosureIndicator);
    }
    layoutField();
}

void FormFieldCell::setLabelWidth(int width) {
    labelWidth_ = width;
    layoutField();
}

int FormFieldCell::labelWidthFor(const QStringList& labels) {
    const QFontMetrics metrics(ui::style::tableCellFont());
    int widest = 0;
    for (const QString& label : labels) {
        widest = std::max(widest, metrics.horizontalAdvance(label));
    }
    // The label's inset on both sides, and a little air before the field.
    return std::max(kLabelWidth, widest + 2 * kInset + 4);
}

void FormFieldCell::resizeEvent(QResizeEvent* event) {
    ui::TableViewCell::resizeEvent(event);
    layoutField();
}

void FormFieldCell::layoutField() {
    const QRect area = contentView()->rect();
    const int middle = (area.height() - kFieldHeight) / 2;
    if (textField_ != nullptr) {
        // A field without a label has the whole row.
        const int left =
            field_.label().isEmpty() ? kInset : std::min(labelWidth_, area.width() / 2);
        textLabel()->setGeometry(kInset, 0, std::max(0, left - 2 * kInset), area.height());
        textField_->setGeometry(left, middle, std::max(0, area.width() - left - kInset),
                                kFieldHeight);
    } else if (switch_ != nullptr) {
        const int x = area.width() - kInset - ui::Switch::kWidth;
        textLabel()->setGeometry(kInset, 0, std::max(0, x - 2 * kInset), area.height());
        switch_->setGeometry(x, (area.height() - ui::Switch::kHeight) / 2, ui::Switch::kWidth,
                             ui::Switch::kHeight);
    } else if (detail_ != nullptr) {
        const int labelWidth = std::min(textLabel()->sizeHint().width(), area.width() / 2);
        textLabel()->setGeometry(kInset, 0, labelWidth, area.height());
        const int left = kInset + labelWidth + kInset;
        detail_->setGeometry(left, 0, std::max(0, area.width() - left), area.height());
    }
}

}  // namespace lumigrave::sharing
