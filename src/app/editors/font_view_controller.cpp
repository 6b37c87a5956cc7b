#include "app/editors/font_view_controller.h"

#include "app/app_delegate.h"
#include "app/editors/editor_preview.h"
#include "app/editors/font_picker_data_source.h"
#include "model/layout_type.h"
#include "platform/notification_center.h"
#include "render/emboss_composer.h"
#include "ui/image_view.h"
#include "ui/picker_view.h"

namespace lumigrave {

namespace {
Rect rectOf(QRect rect) {
    return Rect{Point{float(rect.x()), float(rect.y())},
                Size{float(rect.width()), float(rect.height())}};
}
}  // namespace

FontViewController::FontViewController(QObject* parent) : ActionBaseViewController(parent) {}

FontViewController::~FontViewController() {
    releaseViews();
}

void FontViewController::loadView() {
    ActionBaseViewController::loadView();
    fontPickerDataSource_ = std::make_unique<FontPickerDataSource>(this);
    fontPickerView_ = new ui::PickerView(view());
    fontPickerView_->setShowsSelectionIndicator(true);
    fontPickerView_->setDelegate(fontPickerDataSource_.get());
    fontPickerView_->setDataSource(fontPickerDataSource_.get());
    // Stretched to the view's width over the bottom 180 points.
    fontPickerView_->setGeometry(editor_preview::controlsFrame(view()->size()));
    fontPickerView_->show();
    setupImageView();
}

void FontViewController::setupImageView() {
    AppDelegate* app = AppDelegate::shared();
    const QRect area = editor_preview::previewFrame(view()->size(), navigationBarHeight());
    imageSubView_ = new ui::ImageView(view());
    imageSubView_->setFrame(rectOf(area));
    imageSubView_->show();
    if (!app || !app->activeEmbosser()) {
        return;
    }
    tmpEmbosser_ = std::make_unique<Embosser>(app->activeEmbosser()->copy());
    scaledImage_ = editor_preview::scaledPhoto(app->activeImage(), rectOf(area).size);
    // The preview shows the face itself: centred and unrotated.
    tmpEmbosser_->setLayoutType(kLayoutCenter);
    tmpEmbosser_->setText_angle(0);
}

void FontViewController::layoutEditorViews(QSize size) {
    if (fontPickerView_) {
        fontPickerView_->setGeometry(editor_preview::controlsFrame(size));
    }
    if (imageSubView_) {
        const QRect area = editor_preview::previewFrame(size, navigationBarHeight());
        imageSubView_->setFrame(rectOf(area));
    }
}

void FontViewController::viewWillAppear(bool animated) {
    ActionBaseViewController::viewWillAppear(animated);
    if (fontPickerView_ && fontPickerDataSource_) {
        const Embosser* active =
            AppDelegate::shared() ? AppDelegate::shared()->activeEmbosser() : nullptr;
        const int row = active ? fontPickerDataSource_->indexOfFont(active->font_name()) : 0;
        fontPickerView_->selectRow(row, 0, false);
        updateDidSelectRow(row);
    }
    NotificationCenter::defaultCenter().postNotification(kHideActivityViewNotification);
}

QString FontViewController::selectedFont() const {
    if (!fontPickerView_ || !fontPickerDataSource_) {
        return {};
    }
    return fontPickerDataSource_->fontPickerArray().value(
        fontPickerView_->selectedRowInComponent(0));
}

void FontViewController::updateDidSelectRow(int) {
    AppDelegate* app = AppDelegate::shared();
    if (!app || !tmpEmbosser_ || !imageSubView_) {
        return;
    }
    tmpEmbosser_->setFont_name(selectedFont());
    // Every choice renders the relief anew, at the full photo's size.
    const Image relief = EmbossComposer::embossedTextForEmbosser(*tmpEmbosser_, app->activeImage());
    const Image text = editor_preview::scaledText(*tmpEmbosser_, relief, scaledImage_.size());
    imageSubView_->setImage(editor_preview::composite(*tmpEmbosser_, scaledImage_, text));
}

void FontViewController::doneButtonTouched() {
    AppDelegate* app = AppDelegate::shared();
    Embosser* active = app ? app->activeEmbosser() : nullptr;
    const QString font = selectedFont();
    // Only the font reaches the preset: the working copy's layout and angle stay behind.
    if (active && !font.isEmpty() && font != active->font_name()) {
        active->setFont_name(font);
        active->setModified(true);
        storeActivePreset(EditorGroup::Font);
    }
    ActionBaseViewController::doneButtonTouched();
}

void FontViewController::viewDidUnload() {
    ActionBaseViewController::viewDidUnload();
    releaseViews();
}

void FontViewController::releaseViews() {
    // The picker must not ask a data source that is gone.
    if (fontPickerView_) {
        fontPickerView_->setDataSource(nullptr);
        fontPickerView_->setDelegate(nullptr);
    }
    fontPickerView_ = nullptr;
    imageSubView_ = nullptr;
    fontPickerDataSource_.reset();
    scaledImage_ = Image();
    tmpEmbosser_.reset();
}

}  // namespace lumigrave
