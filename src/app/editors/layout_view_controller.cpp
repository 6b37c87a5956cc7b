#include "app/editors/layout_view_controller.h"

#include <QIcon>
#include <cmath>
#include <numbers>

#include "app/app_delegate.h"
#include "app/editors/editor_preview.h"
#include "app/editors/layout_picker_data_source.h"
#include "app/main/mm_slider.h"
#include "model/layout_type.h"
#include "platform/bundle.h"
#include "platform/run_loop.h"
#include "render/emboss_composer.h"
#include "ui/image_view.h"
#include "ui/picker_view.h"

namespace lumigrave {

namespace {
Rect rectOf(QRect rect) {
    return Rect{Point{float(rect.x()), float(rect.y())},
                Size{float(rect.width()), float(rect.height())}};
}

// A resource image by its name; null while the artwork is not there.
QIcon resourceImage(const QString& name) {
    const QString path = Bundle::pathForResource(name, QStringLiteral("png"));
    return path.isEmpty() ? QIcon() : QIcon(path);
}

// Lying 180 × 20 with its centre 100 points above the bottom, so that, turned upright,
// it stands over the bottom 180 points.
constexpr float kSliderLength = 180;
constexpr float kSliderThickness = 20;
float sliderTop(QSize viewSize) {
    return std::trunc(float(viewSize.height()) - 100);
}
}  // namespace

LayoutViewController::LayoutViewController(QObject* parent) : ActionBaseViewController(parent) {}

LayoutViewController::~LayoutViewController() {
    releaseViews();
}

QRectF LayoutViewController::marginHorizontalSliderFrame(QSize viewSize) {
    return QRectF(-60, sliderTop(viewSize), kSliderLength, kSliderThickness);
}

QRectF LayoutViewController::marginVerticalSliderFrame(QSize viewSize) {
    return QRectF(float(viewSize.width()) - 120, sliderTop(viewSize), kSliderLength,
                  kSliderThickness);
}

void LayoutViewController::loadView() {
    ActionBaseViewController::loadView();
    createLayoutPicker();
    const QSize size = view()->size();
    marginHorizontalSlider_ =
        createMarginHorizontalSliderWithFrame(marginHorizontalSliderFrame(size), this);
    marginVerticalSlider_ =
        createMarginVerticalSliderWithFrame(marginVerticalSliderFrame(size), this);

    AppDelegate* app = AppDelegate::shared();
    const QRect area = editor_preview::previewFrame(size, navigationBarHeight());
    imageSubView_ = new ui::ImageView(view());
    imageSubView_->setFrame(rectOf(area));
    imageSubView_->show();
    if (!app || !app->activeEmbosser()) {
        return;
    }
    tmpEmbosser_ = std::make_unique<Embosser>(app->activeEmbosser()->copy());
    scaledImage_ = editor_preview::scaledPhoto(app->activeImage(), rectOf(area).size);
    // Layout and margins never change the relief: it is rendered this once.
    const Image relief = EmbossComposer::embossedTextForEmbosser(*tmpEmbosser_, app->activeImage());
    scaledText_ = editor_preview::scaledText(*tmpEmbosser_, relief, scaledImage_.size());
}

void LayoutViewController::createLayoutPicker() {
    layoutPickerDataSource_ = std::make_unique<LayoutPickerDataSource>(this);
    layoutPickerView_ = new ui::PickerView(view());
    layoutPickerView_->setShowsSelectionIndicator(true);
    layoutPickerView_->setDelegate(layoutPickerDataSource_.get());
    layoutPickerView_->setDataSource(layoutPickerDataSource_.get());
    layoutPickerView_->setGeometry(editor_preview::controlsFrame(view()->size()));
    layoutPickerView_->show();
}

MMSlider* LayoutViewController::createMarginSlider(QRectF frame, const QString& minimumImage,
                                                   const QString& maximumImage) {
    auto* slider = new MMSlider(view());
    slider->setFrame(frame);
    slider->setMinimumValue(0);
    slider->setMaximumValue(kMaximumMargin);
    slider->setMinimumValueImage(resourceImage(minimumImage));
    slider->setMaximumValueImage(resourceImage(maximumImage));
    // A quarter turn counter-clockwise: upright, the minimum at the bottom.
    slider->setRotation(-std::numbers::pi / 2);
    slider->show();
    slider->raise();
    return slider;
}

MMSlider* LayoutViewController::createMarginHorizontalSliderWithFrame(
    QRectF frame, LayoutViewController* delegate) {
    MMSlider* slider = createMarginSlider(frame, QStringLiteral("images/tb-margin-hmin"),
                                          QStringLiteral("images/tb-margin-hmax"));
    slider->addTarget(ui::ControlEvent::ValueChanged,
                      [delegate, slider] { delegate->onMarginHorizontalChanged(slider); });
    return slider;
}

MMSlider* LayoutViewController::createMarginVerticalSliderWithFrame(
    QRectF frame, LayoutViewController* delegate) {
    MMSlider* slider = createMarginSlider(frame, QStringLiteral("images/tb-margin-vmin"),
                                          QStringLiteral("images/tb-margin-vmax"));
    slider->addTarget(ui::ControlEvent::ValueChanged,
                      [delegate, slider] { delegate->onMarginVerticalChanged(slider); });
    return slider;
}

void LayoutViewController::layoutEditorViews(QSize size) {
    if (layoutPickerView_) {
        layoutPickerView_->setGeometry(editor_preview::controlsFrame(size));
    }
    if (marginHorizontalSlider_) {
        marginHorizontalSlider_->setFrame(marginHorizontalSliderFrame(size));
        marginHorizontalSlider_->raise();
    }
    if (marginVerticalSlider_) {
        marginVerticalSlider_->setFrame(marginVerticalSliderFrame(size));
        marginVerticalSlider_->raise();
    }
    if (imageSubView_) {
        imageSubView_->setFrame(rectOf(editor_preview::previewFrame(size, navigationBarHeight())));
    }
}

void LayoutViewController::viewWillAppear(bool animated) {
    ActionBaseViewController::viewWillAppear(animated);
    if (!tmpEmbosser_ || !layoutPickerView_) {
        return;
    }
    const int layout = tmpEmbosser_->layoutType();
    layoutPickerView_->selectRow(layout, 0, false);
    marginHorizontalSlider_->setValue(tmpEmbosser_->marginHorizontal());
    marginVerticalSlider_->setValue(tmpEmbosser_->marginVertical());
    RunLoop::performAfter(
        0, [this, layout] { initSelectRow(layout); }, this);
}

void LayoutViewController::initSelectRow(int row) {
    updateDidSelectRow(row);
}

void LayoutViewController::updateDidSelectRow(int row) {
    if (!tmpEmbosser_ || !marginHorizontalSlider_ || !marginVerticalSlider_) {
        return;
    }
    const bool hasMargins = row != kLayoutCenter;
    marginHorizontalSlider_->setEnabled(hasMargins);
    marginVerticalSlider_->setEnabled(hasMargins);
    tmpEmbosser_->setLayoutType(row);
    if (!hasMargins) {
        marginHorizontalSlider_->setValue(0);
        marginVerticalSlider_->setValue(0);
    }
    recomposite();
}

void LayoutViewController::onMarginHorizontalChanged(MMSlider*) {
    if (!tmpEmbosser_ || !marginHorizontalSlider_ || !marginVerticalSlider_) {
        return;
    }
    tmpEmbosser_->setMarginHorizontal(marginHorizontalSlider_->value());
    tmpEmbosser_->setMarginVertical(marginVerticalSlider_->value());
    recomposite();
}

void LayoutViewController::onMarginVerticalChanged(MMSlider* slider) {
    onMarginHorizontalChanged(slider);
}

void LayoutViewController::recomposite() {
    if (imageSubView_ && tmpEmbosser_) {
        imageSubView_->setImage(
            editor_preview::composite(*tmpEmbosser_, scaledImage_, scaledText_));
    }
}

void LayoutViewController::doneButtonTouched() {
    AppDelegate* app = AppDelegate::shared();
    Embosser* active = app ? app->activeEmbosser() : nullptr;
    if (active && layoutPickerView_ && marginHorizontalSlider_ && marginVerticalSlider_) {
        bool changed = false;
        // The layout first: the margin setters do nothing while the layout is "Center".
        const int row = layoutPickerView_->selectedRowInComponent(0);
        if (row >= 0 && active->layoutType() != row) {
            active->setLayoutType(row);
            changed = true;
        }
        if (active->marginHorizontal() != marginHorizontalSlider_->value()) {
            active->setMarginHorizontal(marginHorizontalSlider_->value());
            changed = true;
        }
        if (active->marginVertical() != marginVerticalSlider_->value()) {
            active->setMarginVertical(marginVerticalSlider_->value());
            changed = true;
        }
        active->setModified(changed);
        if (changed) {
            storeActivePreset(EditorGroup::LayoutMargins);
        }
    }
    ActionBaseViewController::doneButtonTouched();
}

void LayoutViewController::viewDidUnload() {
    ActionBaseViewController::viewDidUnload();
    releaseViews();
}

void LayoutViewController::releaseViews() {
    // The picker must not ask a data source that is gone.
    if (layoutPickerView_) {
        layoutPickerView_->setDataSource(nullptr);
        layoutPickerView_->setDelegate(nullptr);
    }
    layoutPickerView_ = nullptr;
    marginHorizontalSlider_ = nullptr;
    marginVerticalSlider_ = nullptr;
    imageSubView_ = nullptr;
    layoutPickerDataSource_.reset();
    scaledImage_ = Image();
    scaledText_ = Image();
    tmpEmbosser_.reset();
}

}  // namespace lumigrave
