#pragma once

#include <QDateTime>

#include "app/pickers/abstract_sheet_picker.h"
#include "ui/date_picker.h"

namespace lumigrave {

// A sheet picker for a date or a time. On Done the done block is told the date shown.
// Custom button values are dates.
class DateSheetPicker : public AbstractSheetPicker {
    Q_OBJECT
  public:
    using DoneBlock = std::function<void(DateSheetPicker* picker, const QDateTime& selectedDate)>;

    static DateSheetPicker* showPickerWithTitle(const QString& title,
                                                ui::DatePicker::Mode datePickerMode,
                                                const QDateTime& selectedDate, DoneBlock doneBlock,
                                                CancelBlock cancelBlock, QObject* origin);

    DateSheetPicker(const QString& title, ui::DatePicker::Mode datePickerMode,
                    const QDateTime& selectedDate, DoneBlock doneBlock, CancelBlock cancelBlock,
                    QObject* origin);
    ~DateSheetPicker() override;

    ui::DatePicker::Mode datePickerMode() const { return datePickerMode_; }
    void setDatePickerMode(ui::DatePicker::Mode mode) { datePickerMode_ = mode; }
    QDateTime selectedDate() const { return selectedDate_; }
    void setSelectedDate(const QDateTime& date) { selectedDate_ = date; }

    void customButtonPressed(ui::BarButtonItem* sender) override;

  protected:
    QWidget* configuredPickerView() override;
    bool notifyDidSucceed() override;

  private:
    ui::DatePicker::Mode datePickerMode_;
    QDateTime selectedDate_;
    DoneBlock onSheetDone_;
};

}  // namespace lumigrave
