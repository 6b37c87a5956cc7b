#pragma once

#include <QRect>
#include <array>
#include <optional>

#include "app/editors/action_base_view_controller.h"
#include "platform/image.h"

namespace lumigrave {

class MMSlider;
namespace ui {
class ImageView;
}

// Which of the four cached reliefs (width ratios 0.25, 0.5, 0.75, 1.0) a width ratio is
// scaled from: the smallest at least as wide, so scaling only ever shrinks.
int reliefCacheIndexForWidthRatio(double widthRatio);

// The width ratio, opacity and angle editor. The relief is rendered four times when the
// view is built; while a slider moves the preview only shrinks one of those and composites
// at preview size, so dragging never renders a relief.
class OpacityViewController : public ActionBaseViewController {
    Q_OBJECT
  public:
    static constexpr std::array<float, 4> kCachedWidthRatios{0.25f, 0.5f, 0.75f, 1.0f};

    explicit OpacityViewController(QObject* parent = nullptr);
    ~OpacityViewController() override;

    void viewWillAppear(bool animated) override;
    void doneButtonTouched() override;

    void onWidthRatioChanged();
    void onOpacityChanged();
    void onTextAngleChanged();

    MMSlider* widthRatioSlider() const { return widthRatioSlider_; }
    MMSlider* opacitySlider() const { return opacitySlider_; }
    MMSlider* textAngleSlider() const { return textAngleSlider_; }
    ui::ImageView* imageSubView() const { return imageSubView_; }
    const Image& scaledImage() const { return scaledImage_; }
    const Image& scaledText() const { return scaledText_; }
    const std::array<Image, 4>& originalText() const { return originalText_; }
    // Null before the view is built.
    const Embosser* tmpEmbosser() const { return tmpEmbosser_ ? &*tmpEmbosser_ : nullptr; }

  protected:
    void loadView() override;
    void viewDidUnload() override;
    void layoutEditorViews(QSize size) override;

  private:
    MMSlider* createSlider(float minimum, float maximum, const QString& minimumImage,
                           const QString& maximumImage, void (OpacityViewController::*action)());
    void createCacheForEmbossedText();
    void updateScaledTextImage();
    void recomposite();

    MMSlider* widthRatioSlider_ = nullptr;
    MMSlider* opacitySlider_ = nullptr;
    MMSlider* textAngleSlider_ = nullptr;
    QWidget* panel_ = nullptr;
    ui::ImageView* imageSubView_ = nullptr;
    Image scaledImage_;
    Image scaledText_;
    std::array<Image, 4> originalText_;
    std::optional<Embosser> tmpEmbosser_;
};

}  // namespace lumigrave
