#include "app/editors/layout_picker_data_source.h"

#include <iterator>

#include "app/editors/layout_picker_item.h"
#include "app/editors/layout_view_controller.h"
#include "model/layout_type.h"
#include "platform/image_loader.h"

namespace lumigrave {

namespace {
// The diagram of each layout type, by row.
const char* const kLayoutImages[] = {
    "layout-center",      "layout-topleft",       "layout-topright",       "layout-bottomleft",
    "layout-bottomright", "layout-tile-parallel", "layout-tile-interlace",
};
static_assert(std::size(kLayoutImages) == kLayoutTypeCount, "one diagram per layout type");

}  // namespace

LayoutPickerDataSource::LayoutPickerDataSource(LayoutViewController* viewController)
    : viewController_(viewController), holder_(std::make_unique<QWidget>()) {
    const int rows = int(std::size(kLayoutImages));
    for (int row = 0; row < rows; ++row) {
        auto* item = new LayoutPickerItem(holder_.get());
        item->setTitle(layoutTypeTitle(row));
        // Artwork still to come is simply not drawn.
        const ImageLoader::Result loaded = ImageLoader::loadResource(
            QStringLiteral("images/") + QLatin1String(kLayoutImages[row]), QStringLiteral("png"));
        item->setImage(loaded.image);
        pickerArray_.push_back(item);
    }
}

LayoutPickerDataSource::~LayoutPickerDataSource() = default;

int LayoutPickerDataSource::numberOfRowsInComponent(int) const {
    return int(pickerArray_.size());
}

QString LayoutPickerDataSource::titleForRow(int row, int) const {
    return row >= 0 && row < int(pickerArray_.size()) ? pickerArray_[row]->title() : QString();
}

float LayoutPickerDataSource::widthForComponent(int) const {
    return LayoutPickerItem::viewWidth();
}

float LayoutPickerDataSource::rowHeightForComponent(int) const {
    return LayoutPickerItem::viewHeight();
}

QWidget* LayoutPickerDataSource::viewForRow(int row, int, QWidget*) {
    return row >= 0 && row < int(pickerArray_.size()) ? pickerArray_[row] : nullptr;
}

void LayoutPickerDataSource::didSelectRow(int row, int) {
    if (viewController_) {
        viewController_->updateDidSelectRow(row);
    }
}

}  // namespace lumigrave
