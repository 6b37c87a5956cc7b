#pragma once

#include <QDateTime>

#include "ui/control.h"

class QDateTimeEdit;

namespace lumigrave::ui {

// A date and time chooser in one of the platform's four modes, on an editor whose fields
// turn with the arrow keys and the mouse wheel. A change the user makes is reported to
// the ValueChanged targets; setDate() stays silent, as on the platform.
class DatePicker : public Control {
    Q_OBJECT
  public:
    enum class Mode { Time, Date, DateAndTime, CountDownTimer };

    explicit DatePicker(QWidget* parent = nullptr);

    Mode datePickerMode() const { return mode_; }
    void setDatePickerMode(Mode mode);

    QDateTime date() const;
    // An invalid date is ignored. The editor has no motion of its own, so animated only
    // keeps the platform's call shape.
    void setDate(const QDateTime& date, bool animated = false);

    // The editor, for tests.
    QDateTimeEdit* editor() const { return editor_; }

    QSize sizeHint() const override { return {320, 216}; }

  private:
    QDateTimeEdit* editor_;
    Mode mode_ = Mode::DateAndTime;
    bool settingDate_ = false;
};

}  // namespace lumigrave::ui
