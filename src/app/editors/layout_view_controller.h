#pragma once

#include <QPointer>
#include <QRectF>
#include <memory>

#include "app/editors/action_base_view_controller.h"
#include "app/main/mm_slider.h"
#include "model/embosser.h"
#include "platform/image.h"
#include "ui/image_view.h"
#include "ui/picker_view.h"

namespace lumigrave {

class LayoutPickerDataSource;

// The layout editor: the seven layout types in a picker at the bottom, an upright margin
// slider either side of it (horizontal margin on the left, vertical on the right), and the
// live preview above. Picking and sliding only re-composite the preview: the relief is
// rendered once, when the view is built. Done stores the layout type and both margins.
class LayoutViewController : public ActionBaseViewController {
    Q_OBJECT
  public:
    static constexpr float kMaximumMargin = 0.5f;

    explicit LayoutViewController(QObject* parent = nullptr);
    ~LayoutViewController() override;

    // Shows the working copy's layout and margins at once; the first preview follows on
    // the next turn of the run loop.
    void viewWillAppear(bool animated) override;
    void initSelectRow(int row);
    // Applies a layout choice: "Center" has no margins, so its sliders are disabled and
    // moved to 0 (and not restored when another layout is picked).
    void updateDidSelectRow(int row);
    // Either slider moving sets both margins of the working copy from both sliders.
    void onMarginHorizontalChanged(MMSlider* slider);
    void onMarginVerticalChanged(MMSlider* slider);
    void doneButtonTouched() override;

    // The sliders' frames before their quarter turn, for a view of that size.
    static QRectF marginHorizontalSliderFrame(QSize viewSize);
    static QRectF marginVerticalSliderFrame(QSize viewSize);

    ui::PickerView* layoutPickerView() const { return layoutPickerView_; }
    LayoutPickerDataSource* layoutPickerDataSource() const { return layoutPickerDataSource_.get(); }
    MMSlider* marginHorizontalSlider() const { return marginHorizontalSlider_; }
    MMSlider* marginVerticalSlider() const { return marginVerticalSlider_; }
    ui::ImageView* imageSubView() const { return imageSubView_; }
    const Image& scaledImage() const { return scaledImage_; }
    const Image& scaledText() const { return scaledText_; }
    // The working copy the preview shows; null before the view is built.
    const Embosser* tmpEmbosser() const { return tmpEmbosser_.get(); }

  protected:
    void loadView() override;
    void viewDidUnload() override;
    void layoutEditorViews(QSize size) override;
    void createLayoutPicker();
    MMSlider* createMarginHorizontalSliderWithFrame(QRectF frame, LayoutViewController* delegate);
    MMSlider* createMarginVerticalSliderWithFrame(QRectF frame, LayoutViewController* delegate);

  private:
    MMSlider* createMarginSlider(QRectF frame, const QString& minimumImage,
                                 const QString& maximumImage);
    void recomposite();
    void releaseViews();

    // The views live in the root view, which may go first.
    QPointer<ui::PickerView> layoutPickerView_;
    std::unique_ptr<LayoutPickerDataSource> layoutPickerDataSource_;
    QPointer<MMSlider> marginHorizontalSlider_;
    QPointer<MMSlider> marginVerticalSlider_;
    QPointer<ui::ImageView> imageSubView_;
    Image scaledImage_;
    Image scaledText_;
    std::unique_ptr<Embosser> tmpEmbosser_;
};

}  // namespace lumigrave
