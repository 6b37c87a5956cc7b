#pragma once

#include <QPointer>
#include <memory>

#include "app/editors/action_base_view_controller.h"
#include "model/embosser.h"
#include "platform/image.h"
#include "ui/image_view.h"
#include "ui/picker_view.h"

namespace lumigrave {

class FontPickerDataSource;

// The font editor: every installed font in a picker at the bottom, each row in its own
// face, and above it the active photo with the watermark set in the font under the
// selection band, centred and unrotated whatever the preset's layout and angle. Done
// stores the chosen font, and only it.
class FontViewController : public ActionBaseViewController {
    Q_OBJECT
  public:
    explicit FontViewController(QObject* parent = nullptr);
    ~FontViewController() override;

    void viewWillAppear(bool animated) override;
    // The font name in the picker's selected row; empty while there is none.
    QString selectedFont() const;
    // Renders the preview for the picker's selection (the row itself is not used).
    void updateDidSelectRow(int row);
    void doneButtonTouched() override;

    ui::PickerView* fontPickerView() const { return fontPickerView_; }
    FontPickerDataSource* fontPickerDataSource() const { return fontPickerDataSource_.get(); }
    ui::ImageView* imageSubView() const { return imageSubView_; }
    const Image& scaledImage() const { return scaledImage_; }
    // The working copy the preview shows; null before the view is built.
    const Embosser* tmpEmbosser() const { return tmpEmbosser_.get(); }

  protected:
    void loadView() override;
    void viewDidUnload() override;
    void layoutEditorViews(QSize size) override;
    void setupImageView();

  private:
    void releaseViews();

    // Both live in the view, which may go first.
    QPointer<ui::PickerView> fontPickerView_;
    std::unique_ptr<FontPickerDataSource> fontPickerDataSource_;
    QPointer<ui::ImageView> imageSubView_;
    Image scaledImage_;
    std::unique_ptr<Embosser> tmpEmbosser_;
};

}  // namespace lumigrave
