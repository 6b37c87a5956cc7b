#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "ui/picker_view.h"

namespace lumigrave {

class LayoutPickerItem;
class LayoutViewController;

// The layout editor's picker: one column of the seven layout types, row = layout type,
// each a prebuilt LayoutPickerItem; it tells the editor of the user's choices.
class LayoutPickerDataSource : public ui::PickerViewDataSource, public ui::PickerViewDelegate {
  public:
    // Refers to the editor without owning it; the editor owns the data source. Builds the
    // seven rows.
    explicit LayoutPickerDataSource(LayoutViewController* viewController);
    ~LayoutPickerDataSource() override;

    LayoutViewController* viewController() const { return viewController_; }
    // Index = layout type.
    const std::vector<LayoutPickerItem*>& pickerArray() const { return pickerArray_; }

    int numberOfComponents() const override { return 1; }
    int numberOfRowsInComponent(int component) const override;
    QString titleForRow(int row, int component) const override;
    float widthForComponent(int component) const override;
    float rowHeightForComponent(int component) const override;
    // The prebuilt item of the row (the reusable view is not used). The items are
    // children of a holder this data source owns, so the picker only draws them.
    QWidget* viewForRow(int row, int component, QWidget* reusingView) override;
    void didSelectRow(int row, int component) override;

  private:
    LayoutViewController* viewController_;
    std::unique_ptr<QWidget> holder_;
    std::vector<LayoutPickerItem*> pickerArray_;
};

}  // namespace lumigrave
