#include "app/pickers/string_sheet_picker.h"

namespace lumigrave {

namespace {
constexpr int kPickerTop = 40;
constexpr int kPickerHeight = 216;
constexpr float kWheelInset = 30;
}  // namespace

StringSheetPicker* StringSheetPicker::showPickerWithTitle(const QString& title,
                                                          const std::optional<QStringList>& rows,
                                                          int initialSelection, DoneBlock doneBlock,
                                                          CancelBlock cancelBlock,
                                                          QObject* origin) {
    auto* picker = new StringSheetPicker(title, rows, initialSelection, std::move(doneBlock),
                                         std::move(cancelBlock), origin);
    picker->showSheetPicker();
    return picker;
}

StringSheetPicker::StringSheetPicker(const QString& title, const std::optional<QStringList>& rows,
                                     int initialSelection, DoneBlock doneBlock,
                                     CancelBlock cancelBlock, QObject* origin)
    : AbstractSheetPicker(origin),
      data_(rows),
      selectedIndex_(initialSelection),
      onSheetDone_(std::move(doneBlock)) {
    setTitle(title);
    setOnSheetCancel(std::move(cancelBlock));
}

StringSheetPicker::~StringSheetPicker() {
    // The wheel may outlive the picker while its sheet slides away.
    if (auto* picker = qobject_cast<ui::PickerView*>(pickerView())) {
        picker->setDataSource(nullptr);
        picker->setDelegate(nullptr);
    }
}

int StringSheetPicker::numberOfRowsInComponent(int) const {
    return data_ ? int(data_->size()) : 0;
}

QString StringSheetPicker::titleForRow(int row, int) const {
    return data_ ? data_->value(row) : QString();
}

float StringSheetPicker::widthForComponent(int) const {
    return pickerView() ? float(pickerView()->width()) - kWheelInset : 0;
}

void StringSheetPicker::didSelectRow(int row, int) {
    selectedIndex_ = row;
}

QWidget* StringSheetPicker::configuredPickerView() {
    if (!data_) {
        return nullptr;
    }
    auto* picker = new ui::PickerView;
    picker->setGeometry(0, kPickerTop, int(viewSize().width()), kPickerHeight);
    setPickerView(picker);  // the wheel's width is asked of it while wiring
    picker->setDelegate(this);
    picker->setDataSource(this);
    picker->setShowsSelectionIndicator(true);
    picker->selectRow(selectedIndex_, 0, false);
    return picker;
}

bool StringSheetPicker::notifyDidSucceed() {
    if (!onSheetDone_) {
        return false;
    }
    onSheetDone_(this, selectedIndex_, data_ ? data_->value(selectedIndex_) : QString());
    return true;
}

}  // namespace lumigrave
