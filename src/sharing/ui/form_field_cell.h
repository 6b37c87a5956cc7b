#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

#include "sharing/form_field_settings.h"
#include "ui/table_view_cell.h"

class QLabel;

namespace lumigrave::ui {
class Switch;
class TextField;
}  // namespace lumigrave::ui

namespace lumigrave::sharing {

// One row of a share form: the field's label on the left and, beside it, what edits the
// value: a text field, a switch, or the current choice of an option field (whose row
// opens the option page, hence its disclosure indicator).
class FormFieldCell : public ui::TableViewCell {
    Q_OBJECT
  public:
    // shown: what an option row shows for the value.
    FormFieldCell(const FormFieldSettings& field, const QString& value, const QString& shown);

    const FormFieldSettings& field() const { return field_; }
    // Null unless the field is of that kind.
    ui::TextField* textField() const { return textField_; }
    ui::Switch* switchControl() const { return switch_; }
    QLabel* detailLabel() const { return detail_; }

    // Each change the user makes, with the field's new value.
    std::function<void(const QString& value)> onValueChanged;

    // Where a text field starts, from the cell's left edge: the form gives all its cells
    // the room its longest label needs, so the fields line up. Never more than half the
    // row.
    static constexpr int kLabelWidth = 100;
    void setLabelWidth(int width);
    // The room labels need, in points, for the widest of them.
    static int labelWidthFor(const QStringList& labels);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void layoutField();

    FormFieldSettings field_;
    ui::TextField* textField_ = nullptr;
    ui::Switch* switch_ = nullptr;
    QLabel* detail_ = nullptr;
    int labelWidth_ = kLabelWidth;
};

}  // namespace lumigrave::sharing
