#pragma once

#include <QDateTime>

#include "app/pickers/abstract_sheet_picker.h"
#include "ui/date_picker.h"

namespace lumigrave {

// A sheet picker for a date or a time. On Done the target's action(QDateTime selectedDate,
// QObject* origin) is called when the target has it. Custom button values are dates.
class DateSheetPicker : public AbstractSheetPicker {
    Q_OBJECT
  public:
    static DateSheetPicker* showPickerWithTitle(const QString& title,
                                                ui::DatePicker::Mode datePickerMode,
                                                const QDateTime& selectedDate, QObject* target,
                                                const QByteArray& action, QObject* origin);

    DateSheetPicker(const QString& title, ui::DatePicker::Mode datePickerMode,
                    const QDateTime& selectedDate, QObject* target, const QByteArray& action,
                    QObject* origin);
    ~DateSheetPicker() override;

    ui::DatePicker::Mode datePickerMode() const { return datePickerMode_; }
    void setDatePickerMode(ui::DatePicker::Mode mode) { datePickerMode_ = mode; }
    QDateTime selectedDate() const { return selectedDate_; }
    void setSelectedDate(const QDateTime& date) { selectedDate_ = date; }

    void customButtonPressed(ui::BarButtonItem* sender) override;

  protected:
    QWidget* configuredPickerView() override;
    void notifyTargetDidSucceed(QObject* target, const QByteArray& action,
                                QObject* origin) override;

  private:
    ui::DatePicker::Mode datePickerMode_;
    QDateTime selectedDate_;
};

}  // namespace lumigrave
