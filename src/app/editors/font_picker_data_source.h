#pragma once

#include <QString>
#include <QStringList>

#include "ui/picker_view.h"

namespace lumigrave {

class FontViewController;

// The font editor's picker: one column with every installed font, each row written in its
// own face; it tells the editor of the user's choices.
class FontPickerDataSource : public ui::PickerViewDataSource, public ui::PickerViewDelegate {
  public:
    static constexpr float kRowHeight = 44;
    static constexpr float kRowFontSize = 18;

    // Refers to the editor without owning it; the editor owns the data source.
    explicit FontPickerDataSource(FontViewController* viewController);

    // Every installed font's PostScript name: the families in a localized, case-insensitive
    // order, and within a family its faces in the order the platform reports them. The
    // font registry caches what it read from the font files, so this only sorts names.
    static QStringList installedFontNames();

    // The row of a font name; 0 when the name is not in the list.
    int indexOfFont(const QString& fontName) const;

    FontViewController* viewController() const { return viewController_; }
    void setViewController(FontViewController* viewController) { viewController_ = viewController; }
    const QStringList& fontPickerArray() const { return fontPickerArray_; }
    void setFontPickerArray(const QStringList& names) { fontPickerArray_ = names; }
    float pickerWidth() const { return pickerWidth_; }

    int numberOfComponents() const override { return 1; }
    int numberOfRowsInComponent(int component) const override;
    QString titleForRow(int row, int component) const override;
    float widthForComponent(int) const override { return pickerWidth_; }
    float rowHeightForComponent(int) const override { return kRowHeight; }
    // A new label each time (the reusable view is not used): the row's name in that very
    // font at 18 points, on a clear background, sized to its text. It has no parent, so
    // the picker owns it.
    QWidget* viewForRow(int row, int component, QWidget* reusingView) override;
    void didSelectRow(int row, int component) override;

  private:
    FontViewController* viewController_;
    QStringList fontPickerArray_;
    float pickerWidth_ = 0;
};

}  // namespace lumigrave
