#include "ui/date_picker.h"

#include <QDateTimeEdit>
#include <QVBoxLayout>

#include "ui/style.h"

namespace lumigrave::ui {

DatePicker::DatePicker(QWidget* parent) : Control(parent), editor_(new QDateTimeEdit(this)) {
    setFocusProxy(editor_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editor_, 0, Qt::AlignCenter);
    editor_->setFont(style::dateEditorFont(editor_->font()));
    editor_->setAlignment(Qt::AlignCenter);
    editor_->setMinimumWidth(240);
    editor_->setDateTime(QDateTime::currentDateTime());
    connect(editor_, &QDateTimeEdit::dateTimeChanged, this, [this] {
        if (!settingDate_) {
            sendActionsForControlEvents(ControlEvent::ValueChanged);
        }
    });
    setDatePickerMode(mode_);
    resize(sizeHint());
}

void DatePicker::setDatePickerMode(Mode mode) {
    mode_ = mode;
    switch (mode) {
        case Mode::Time:
            editor_->setDisplayFormat("HH:mm");
            break;
        case Mode::Date:
            editor_->setDisplayFormat("d MMMM yyyy");
            break;
        case Mode::DateAndTime:
            editor_->setDisplayFormat("ddd d MMM  HH:mm");
            break;
        case Mode::CountDownTimer:
            editor_->setDisplayFormat("H 'hours' mm 'min'");
            break;
    }
    editor_->setCalendarPopup(mode == Mode::Date || mode == Mode::DateAndTime);
}

QDateTime DatePicker::date() const {
    return editor_->dateTime();
}

void DatePicker::setDate(const QDateTime& date, bool) {
    if (!date.isValid()) {
        return;
    }
    settingDate_ = true;
    editor_->setDateTime(date);
    settingDate_ = false;
}

}  // namespace lumigrave::ui
