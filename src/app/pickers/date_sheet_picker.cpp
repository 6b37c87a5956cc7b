#include "app/pickers/date_sheet_picker.h"

namespace lumigrave {

namespace {
constexpr int kPickerTop = 40;
constexpr int kPickerHeight = 216;
}  // namespace

DateSheetPicker* DateSheetPicker::showPickerWithTitle(const QString& title,
                                                      ui::DatePicker::Mode datePickerMode,
                                                      const QDateTime& selectedDate,
                                                      DoneBlock doneBlock, CancelBlock cancelBlock,
                                                      QObject* origin) {
    auto* picker = new DateSheetPicker(title, datePickerMode, selectedDate, std::move(doneBlock),
                                       std::move(cancelBlock), origin);
    picker->showSheetPicker();
    return picker;
}

DateSheetPicker::DateSheetPicker(const QString& title, ui::DatePicker::Mode datePickerMode,
                                 const QDateTime& selectedDate, DoneBlock doneBlock,
                                 CancelBlock cancelBlock, QObject* origin)
    : AbstractSheetPicker(origin),
      datePickerMode_(datePickerMode),
      selectedDate_(selectedDate),
      onSheetDone_(std::move(doneBlock)) {
    setTitle(title);
    setOnSheetCancel(std::move(cancelBlock));
}

DateSheetPicker::~DateSheetPicker() {
    // The date picker may outlive this object while its sheet slides away.
    if (auto* picker = qobject_cast<ui::DatePicker*>(pickerView())) {
        picker->removeAllTargets();
    }
}

void DateSheetPicker::customButtonPressed(ui::BarButtonItem* sender) {
    const int index = sender ? sender->tag() : -1;
    if (index < 0 || index >= customButtons().size()) {
        return;
    }
    const QDateTime date = customButtons()[index].buttonValue.toDateTime();
    if (!date.isValid()) {
        return;
    }
    if (auto* picker = qobject_cast<ui::DatePicker*>(pickerView())) {
        picker->setDate(date, true);
    }
    selectedDate_ = date;
}

QWidget* DateSheetPicker::configuredPickerView() {
    auto* picker = new ui::DatePicker;
    picker->setGeometry(0, kPickerTop, int(viewSize().width()), kPickerHeight);
    picker->setDatePickerMode(datePickerMode_);
    picker->setDate(selectedDate_, false);
    // Without a date the picker shows the present, and Done reports what it shows.
    if (!selectedDate_.isValid()) {
        selectedDate_ = picker->date();
    }
    picker->addTarget(ui::ControlEvent::ValueChanged,
                      [this, picker] { selectedDate_ = picker->date(); });
    return picker;
}

bool DateSheetPicker::notifyDidSucceed() {
    if (!onSheetDone_) {
        return false;
    }
    onSheetDone_(this, selectedDate_);
    return true;
}

}  // namespace lumigrave
