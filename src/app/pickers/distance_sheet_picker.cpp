#include "app/pickers/distance_sheet_picker.h"

#include <QFontMetricsF>
#include <algorithm>

#include "app/pickers/distance_picker_view.h"

namespace lumigrave {

namespace {
constexpr int kPickerTop = 40;
constexpr int kPickerHeight = 216;
constexpr float kWheelInset = 30;

int digitCount(int max) {
    return int(QString::asprintf("%i", max).size());
}
}  // namespace

DistanceSheetPicker* DistanceSheetPicker::showPickerWithTitle(
    const QString& title, const QString& bigUnitString, int bigUnitMax, int selectedBigUnit,
    const QString& smallUnitString, int smallUnitMax, int selectedSmallUnit, DoneBlock doneBlock,
    CancelBlock cancelBlock, QObject* origin) {
    auto* picker = new DistanceSheetPicker(title, bigUnitString, bigUnitMax, selectedBigUnit,
                                           smallUnitString, smallUnitMax, selectedSmallUnit,
                                           std::move(doneBlock), std::move(cancelBlock), origin);
    picker->showSheetPicker();
    return picker;
}

DistanceSheetPicker::DistanceSheetPicker(const QString& title, const QString& bigUnitString,
                                         int bigUnitMax, int selectedBigUnit,
                                         const QString& smallUnitString, int smallUnitMax,
                                         int selectedSmallUnit, DoneBlock doneBlock,
                                         CancelBlock cancelBlock, QObject* origin)
    : AbstractSheetPicker(origin),
      bigUnitString_(bigUnitString),
      bigUnitMax_(bigUnitMax),
      bigUnitDigits_(digitCount(bigUnitMax)),
      selectedBigUnit_(selectedBigUnit),
      smallUnitString_(smallUnitString),
      smallUnitMax_(smallUnitMax),
      smallUnitDigits_(digitCount(smallUnitMax)),
      selectedSmallUnit_(selectedSmallUnit),
      onSheetDone_(std::move(doneBlock)) {
    setTitle(title);
    setOnSheetCancel(std::move(cancelBlock));
}

DistanceSheetPicker::~DistanceSheetPicker() {
    // The wheels may outlive the picker while its sheet slides away.
    if (auto* picker = qobject_cast<ui::PickerView*>(pickerView())) {
        picker->setDataSource(nullptr);
        picker->setDelegate(nullptr);
    }
}

void DistanceSheetPicker::customButtonPressed(ui::BarButtonItem*) {
    qWarning("Not implemented.");
}

DistanceSheetPicker::Digit DistanceSheetPicker::digitOf(int component) const {
    if (component < bigUnitDigits_) {
        return {bigUnitDigits_, bigUnitMax_, component};
    }
    return {smallUnitDigits_, smallUnitMax_, component - bigUnitDigits_};
}

int DistanceSheetPicker::powerOfTen(int exponent) {
    int power = 1;
    for (int i = 0; i < exponent; ++i) {
        power *= 10;
    }
    return power;
}

int DistanceSheetPicker::numberOfRowsInComponent(int component) const {
    const Digit digit = digitOf(component);
    return digit.place == 0 ? digit.max / powerOfTen(digit.digits - 1) + 1 : 10;
}

QString DistanceSheetPicker::titleForRow(int row, int) const {
    return QString::asprintf("%i", row);
}

float DistanceSheetPicker::widthForComponent(int component) const {
    const Digit digit = digitOf(component);
    if (!digit.isLast()) {
        return wheelWidth_;
    }
    return wheelWidth_ + (component < bigUnitDigits_ ? bigUnitWidth_ : smallUnitWidth_);
}

QWidget* DistanceSheetPicker::configuredPickerView() {
    const float width = float(viewSize().width());
    const QFontMetricsF metrics(DistancePickerView::labelFont());
    bigUnitWidth_ = float(metrics.horizontalAdvance(bigUnitString_));
    smallUnitWidth_ = float(metrics.horizontalAdvance(smallUnitString_));
    wheelWidth_ =
        (width - kWheelInset - bigUnitWidth_ - smallUnitWidth_) / float(numberOfComponents());

    auto* picker = new DistancePickerView;
    picker->setGeometry(0, kPickerTop, int(width), kPickerHeight);
    picker->setDelegate(this);
    picker->setDataSource(this);
    picker->setShowsSelectionIndicator(true);
    for (int component = 0; component < numberOfComponents(); ++component) {
        const Digit digit = digitOf(component);
        const int selected = component < bigUnitDigits_ ? selectedBigUnit_ : selectedSmallUnit_;
        const int shown = selected / powerOfTen(digit.digits - 1 - digit.place);
        picker->selectRow(digit.place == 0 ? shown : shown % 10, component, false);
    }
    picker->addLabel(bigUnitString_, bigUnitDigits_ - 1);
    picker->addLabel(smallUnitString_, numberOfComponents() - 1);
    return picker;
}

int DistanceSheetPicker::valueOfWheels(int firstComponent, int digits) const {
    auto* picker = qobject_cast<ui::PickerView*>(pickerView());
    if (!picker) {
        return 0;
    }
    int value = 0;
    for (int place = 0; place < digits; ++place) {
        const int row = std::max(0, picker->selectedRowInComponent(firstComponent + place));
        value += row * powerOfTen(digits - 1 - place);
    }
    return value;
}

bool DistanceSheetPicker::notifyDidSucceed() {
    if (pickerView()) {
        selectedBigUnit_ = valueOfWheels(0, bigUnitDigits_);
        selectedSmallUnit_ = valueOfWheels(bigUnitDigits_, smallUnitDigits_);
    }
    if (!onSheetDone_) {
        return false;
    }
    onSheetDone_(this, selectedBigUnit_, selectedSmallUnit_);
    return true;
}

}  // namespace lumigrave
