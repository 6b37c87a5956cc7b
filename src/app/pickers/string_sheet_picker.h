#pragma once

#include <QStringList>
#include <functional>
#include <optional>

#include "app/pickers/abstract_sheet_picker.h"
#include "ui/picker_view.h"

namespace lumigrave {

// A sheet picker offering a list of strings on one wheel. On Done it calls the done block
// with the row chosen and its string.
class StringSheetPicker : public AbstractSheetPicker,
                          public ui::PickerViewDataSource,
                          public ui::PickerViewDelegate {
    Q_OBJECT
  public:
    using DoneBlock = std::function<void(StringSheetPicker* picker, int selectedIndex,
                                         const QString& selectedValue)>;

    // Makes a picker and shows it; it deletes itself once dismissed.
    static StringSheetPicker* showPickerWithTitle(const QString& title,
                                                  const std::optional<QStringList>& rows,
                                                  int initialSelection, DoneBlock doneBlock,
                                                  CancelBlock cancelBlock, QObject* origin);

    // No rows (nullopt) shows the toolbar alone.
    StringSheetPicker(const QString& title, const std::optional<QStringList>& rows,
                      int initialSelection, DoneBlock doneBlock, CancelBlock cancelBlock,
                      QObject* origin);
    ~StringSheetPicker() override;

    const std::optional<QStringList>& data() const { return data_; }
    int selectedIndex() const { return selectedIndex_; }
    void setSelectedIndex(int index) { selectedIndex_ = index; }
    const DoneBlock& onSheetDone() const { return onSheetDone_; }
    void setOnSheetDone(DoneBlock block) { onSheetDone_ = std::move(block); }

    int numberOfComponents() const override { return 1; }
    int numberOfRowsInComponent(int component) const override;
    QString titleForRow(int row, int component) const override;
    float widthForComponent(int component) const override;
    void didSelectRow(int row, int component) override;

  protected:
    QWidget* configuredPickerView() override;
    bool notifyDidSucceed() override;

  private:
    std::optional<QStringList> data_;
    int selectedIndex_ = 0;
    DoneBlock onSheetDone_;
};

}  // namespace lumigrave
