#include "app/editors/font_picker_data_source.h"

#include <QCollator>
#include <QLabel>
#include <algorithm>

#include "app/editors/font_view_controller.h"
#include "platform/font_registry.h"
#include "platform/screen.h"

namespace lumigrave {

FontPickerDataSource::FontPickerDataSource(FontViewController* viewController)
    : viewController_(viewController),
      fontPickerArray_(installedFontNames()),
      pickerWidth_(Screen::applicationFrame().size.width - 20) {}

QStringList FontPickerDataSource::installedFontNames() {
    QStringList families = FontRegistry::familyNames();
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(families.begin(), families.end(), [&](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
    QStringList names;
    for (const QString& family : families) {
        names += FontRegistry::fontNamesForFamilyName(family);
    }
    return names;
}

int FontPickerDataSource::indexOfFont(const QString& fontName) const {
    return std::max<qsizetype>(0, fontPickerArray_.indexOf(fontName));
}

int FontPickerDataSource::numberOfRowsInComponent(int) const {
    return int(fontPickerArray_.size());
}

QString FontPickerDataSource::titleForRow(int row, int) const {
    return fontPickerArray_.value(row);
}

QWidget* FontPickerDataSource::viewForRow(int row, int, QWidget*) {
    if (row < 0 || row >= fontPickerArray_.size()) {
        return nullptr;
    }
    const QString& name = fontPickerArray_[row];
    auto* label = new QLabel(name);
    // The platform's points are our device-independent pixels.
    QFont font = FontRegistry::fontWithName(name, kRowFontSize);
    font.setPixelSize(int(kRowFontSize));
    label->setFont(font);
    label->setAutoFillBackground(false);  // a clear background
    label->resize(label->sizeHint());
    return label;
}

void FontPickerDataSource::didSelectRow(int row, int) {
    if (viewController_) {
        viewController_->updateDidSelectRow(row);
    }
}

}  // namespace lumigrave
