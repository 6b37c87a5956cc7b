#pragma once

#include "app/pickers/abstract_sheet_picker.h"
#include "ui/picker_view.h"

namespace lumigrave {

// A sheet picker for a distance in two units (metres and centimetres, feet and inches),
// one wheel per decimal digit. On Done the done block is told the two values the wheels
// show. Custom buttons are not supported.
class DistanceSheetPicker : public AbstractSheetPicker,
                            public ui::PickerViewDataSource,
                            public ui::PickerViewDelegate {
    Q_OBJECT
  public:
    using DoneBlock = std::function<void(DistanceSheetPicker* picker, int bigUnit, int smallUnit)>;

    static DistanceSheetPicker* showPickerWithTitle(
        const QString& title, const QString& bigUnitString, int bigUnitMax, int selectedBigUnit,
        const QString& smallUnitString, int smallUnitMax, int selectedSmallUnit,
        DoneBlock doneBlock, CancelBlock cancelBlock, QObject* origin);

    DistanceSheetPicker(const QString& title, const QString& bigUnitString, int bigUnitMax,
                        int selectedBigUnit, const QString& smallUnitString, int smallUnitMax,
                        int selectedSmallUnit, DoneBlock doneBlock, CancelBlock cancelBlock,
                        QObject* origin);
    ~DistanceSheetPicker() override;

    QString bigUnitString() const { return bigUnitString_; }
    int bigUnitMax() const { return bigUnitMax_; }
    int bigUnitDigits() const { return bigUnitDigits_; }
    int selectedBigUnit() const { return selectedBigUnit_; }
    QString smallUnitString() const { return smallUnitString_; }
    int smallUnitMax() const { return smallUnitMax_; }
    int smallUnitDigits() const { return smallUnitDigits_; }
    int selectedSmallUnit() const { return selectedSmallUnit_; }

    void customButtonPressed(ui::BarButtonItem* sender) override;

    int numberOfComponents() const override { return bigUnitDigits_ + smallUnitDigits_; }
    int numberOfRowsInComponent(int component) const override;
    QString titleForRow(int row, int component) const override;
    float widthForComponent(int component) const override;

  protected:
    QWidget* configuredPickerView() override;
    bool notifyDidSucceed() override;

  private:
    // Where a wheel sits: its unit's digits and maximum, and its place among them.
    struct Digit {
        int digits;
        int max;
        int place;  // 0 for the unit's leftmost wheel
        bool isLast() const { return place == digits - 1; }
    };
    Digit digitOf(int component) const;
    static int powerOfTen(int exponent);
    // The value a group of wheels shows.
    int valueOfWheels(int firstComponent, int digits) const;

    QString bigUnitString_;
    int bigUnitMax_;
    int bigUnitDigits_;
    int selectedBigUnit_;
    QString smallUnitString_;
    int smallUnitMax_;
    int smallUnitDigits_;
    int selectedSmallUnit_;
    float wheelWidth_ = 0;
    float bigUnitWidth_ = 0;
    float smallUnitWidth_ = 0;
    DoneBlock onSheetDone_;
};

}  // namespace lumigrave
