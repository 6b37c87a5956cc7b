#include "app/editors/opacity_view_controller.h"

#include <cmath>

#include "app/app_delegate.h"
#include "app/editors/editor_preview.h"
#include "app/main/mm_slider.h"
#include "render/emboss_composer.h"
#include "ui/bar_button_item.h"
#include "ui/image_view.h"
#include "ui/style.h"

namespace lumigrave {

namespace {

constexpr int kSliderInset = 20;
constexpr int kSliderHeight = 20;
// Distances of the sliders' tops from the bottom of the view, top to bottom.
constexpr int kWidthRatioFromBottom = 160;
constexpr int kOpacityFromBottom = 100;
constexpr int kTextAngleFromBottom = 40;

Rect rectOf(QRect r) {
    return Rect{Point{float(r.x()), float(r.y())}, Size{float(r.width()), float(r.height())}};
}

}  // namespace

int reliefCacheIndexForWidthRatio(double widthRatio) {
    // Taken as unsigned, a ratio at or below 0 lands far above 3 and is clamped too.
    auto index = unsigned(int(std::ceil(4.0 * widthRatio)) - 1);
    return index > 3 ? 3 : int(index);
}

OpacityViewController::OpacityViewController(QObject* parent) : ActionBaseViewController(parent) {}

OpacityViewController::~OpacityViewController() = default;

MMSlider* OpacityViewController::createSlider(float minimum, float maximum,
                                              const QString& minimumImage,
                                              const QString& maximumImage,
                                              void (OpacityViewController::*action)()) {
    auto* slider = new MMSlider(view());
    slider->setMinimumValue(minimum);
    slider->setMaximumValue(maximum);
    slider->setContinuous(true);
    slider->setMinimumValueImage(ui::resourceIcon(minimumImage));
    slider->setMaximumValueImage(ui::resourceIcon(maximumImage));
    slider->addTarget(ui::ControlEvent::ValueChanged, [this, action] { (this->*action)(); });
    return slider;
}

void OpacityViewController::loadView() {
    ActionBaseViewController::loadView();
    QWidget* root = view();

    panel_ = new QWidget(root);
    ui::style::fillWithPattern(panel_, QStringLiteral("images/pickview_bg.png"));

    widthRatioSlider_ = createSlider(0.1f, 1.0f, QStringLiteral("images/tb-font-small.png"),
                                     QStringLiteral("images/tb-font-large.png"),
                                     &OpacityViewController::onWidthRatioChanged);
    widthRatioSlider_->setObjectName(QStringLiteral("widthRatioSlider"));
    opacitySlider_ = createSlider(0.1f, 1.0f, QStringLiteral("images/tb-font-transparent.png"),
                                  QStringLiteral("images/tb-font-normal.png"),
                                  &OpacityViewController::onOpacityChanged);
    opacitySlider_->setObjectName(QStringLiteral("opacitySlider"));
    textAngleSlider_ = createSlider(0, 359, QStringLiteral("images/tb-font-normal.png"),
                                    QStringLiteral("images/tb-font-rotate.png"),
                                    &OpacityViewController::onTextAngleChanged);
    textAngleSlider_->setObjectName(QStringLiteral("textAngleSlider"));
    widthRatioSlider_->raise();
    opacitySlider_->raise();
    textAngleSlider_->raise();

    imageSubView_ = new ui::ImageView(root);
    imageSubView_->setObjectName(QStringLiteral("imageSubView"));

    AppDelegate* app = AppDelegate::shared();
    if (app != nullptr && app->activeEmbosser() != nullptr) {
        tmpEmbosser_ = app->activeEmbosser()->copy();
        const QRect area = editor_preview::previewFrame(root->size(), navigationBarHeight());
        scaledImage_ = editor_preview::scaledPhoto(app->activeImage(),
                                                   Size{float(area.width()), float(area.height())});
        createCacheForEmbossedText();
        updateScaledTextImage();
        recomposite();
    }
    layoutEditorViews(root->size());
}

void OpacityViewController::layoutEditorViews(QSize size) {
    if (imageSubView_ == nullptr) {
        return;
    }
    const int width = size.width() - 2 * kSliderInset;
    const int height = size.height();
    widthRatioSlider_->setGeometry(kSliderInset, height - kWidthRatioFromBottom, width,
                                   kSliderHeight);
    opacitySlider_->setGeometry(kSliderInset, height - kOpacityFromBottom, width, kSliderHeight);
    textAngleSlider_->setGeometry(kSliderInset, height - kTextAngleFromBottom, width,
                                  kSliderHeight);
    panel_->setGeometry(editor_preview::controlsFrame(size));
    imageSubView_->setFrame(rectOf(editor_preview::previewFrame(size, navigationBarHeight())));
}

void OpacityViewController::viewDidUnload() {
    ActionBaseViewController::viewDidUnload();
    widthRatioSlider_ = opacitySlider_ = textAngleSlider_ = nullptr;
    panel_ = nullptr;
    imageSubView_ = nullptr;
    scaledImage_ = {};
    scaledText_ = {};
    originalText_ = {};
    tmpEmbosser_.reset();
}

void OpacityViewController::viewWillAppear(bool animated) {
    ActionBaseViewController::viewWillAppear(animated);
    if (!tmpEmbosser_) {
        return;
    }
    widthRatioSlider_->setValue(tmpEmbosser_->width_ratio());
    opacitySlider_->setValue(tmpEmbosser_->opacity());
    textAngleSlider_->setValue(tmpEmbosser_->text_angle());
}

void OpacityViewController::createCacheForEmbossedText() {
    const Image& photo = AppDelegate::shared()->activeImage();
    const float remembered = tmpEmbosser_->width_ratio();
    for (size_t i = 0; i < kCachedWidthRatios.size(); ++i) {
        tmpEmbosser_->setWidth_ratio(kCachedWidthRatios[i]);
        originalText_[i] = EmbossComposer::embossedTextForEmbosser(*tmpEmbosser_, photo);
    }
    tmpEmbosser_->setWidth_ratio(remembered);
}

void OpacityViewController::updateScaledTextImage() {
    const Image& source = originalText_[reliefCacheIndexForWidthRatio(tmpEmbosser_->width_ratio())];
    scaledText_ = editor_preview::scaledText(*tmpEmbosser_, source, scaledImage_.size());
}

void OpacityViewController::recomposite() {
    imageSubView_->setImage(editor_preview::composite(*tmpEmbosser_, scaledImage_, scaledText_));
}

void OpacityViewController::onWidthRatioChanged() {
    if (!tmpEmbosser_) {
        return;
    }
    tmpEmbosser_->setWidth_ratio(widthRatioSlider_->value());
    updateScaledTextImage();
    recomposite();
}

void OpacityViewController::onOpacityChanged() {
    if (!tmpEmbosser_) {
        return;
    }
    tmpEmbosser_->setOpacity(opacitySlider_->value());
    recomposite();
}

void OpacityViewController::onTextAngleChanged() {
    if (!tmpEmbosser_) {
        return;
    }
    tmpEmbosser_->setText_angle(textAngleSlider_->value());
    recomposite();
}

void OpacityViewController::doneButtonTouched() {
    AppDelegate* app = AppDelegate::shared();
    Embosser* active = app != nullptr ? app->activeEmbosser() : nullptr;
    // Without a working copy the sliders were never set from a preset: nothing to commit.
    if (active != nullptr && tmpEmbosser_ && widthRatioSlider_ != nullptr) {
        bool changed = false;
        if (active->width_ratio() != widthRatioSlider_->value()) {
            active->setWidth_ratio(widthRatioSlider_->value());
            changed = true;
        }
        if (active->opacity() != opacitySlider_->value()) {
            active->setOpacity(opacitySlider_->value());
            changed = true;
        }
        if (active->text_angle() != textAngleSlider_->value()) {
            active->setText_angle(textAngleSlider_->value());
            changed = true;
        }
        active->setModified(changed);
        if (changed) {
            storeActivePreset(EditorGroup::SizeOpacityAngle);
        }
    }
    ActionBaseViewController::doneButtonTouched();
}

}  // namespace lumigrave
