#include "ui/date_picker.h"
#include "ui/style.h"

#include <QDateTimeEdit>
#include <QVBoxLayout>

namespace lumigrave::ui {

DatePicker::DatePicker(QWidget* parent) : QWidget(parent), editor_(new QDateTimeEdit(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editor_, 0, Qt::AlignCenter);
    editor_->setFont(style::dateEditorFont(editor_->font()));
    editor_->setAlignment(Qt::AlignCenter);
    editor_->setMinimumWidth(240);
    editor_->setDateTime(QDateTime::currentDateTime());
    connect(editor_, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& date) {
        if (!settingDate_ && valueChanged_) {
            valueChanged_(date);
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
