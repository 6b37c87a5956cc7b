#pragma once

#include <QList>
#include <QPointer>
#include <memory>
#include <vector>

#include "model/embosser.h"
#include "platform/image.h"
#include "ui/action_sheet.h"
#include "ui/gesture_recognizer.h"
#include "ui/image_view.h"
#include "ui/view_controller.h"

class QWidget;

namespace lumigrave {

namespace ui {
class BarButtonItem;
}  // namespace ui

// The preset browser: one saved preset at a time, stamped on the demonstration photo,
// paged with the toolbar's arrows, a horizontal swipe or the arrow keys. The one on
// show can be copied as a new preset, deleted, or made the active preset with "Select"
// (or Enter), which also leaves the page.
//
// It works on the application's shared preset list itself, so copies and deletions are
// seen by the main screen and, through the store, by the next launch.
class EmbossersViewController : public ui::ViewController,
                                public ui::ActionSheet::Delegate,
                                public ui::GestureRecognizer::Delegate {
    Q_OBJECT
  public:
    // The confirmation sheets, told apart by their tag.
    enum SheetTag { kDeleteSheet = 0, kCopyAsNewSheet = 1 };
    // How far a swipe must move, after it has begun, to turn the page.
    static constexpr double kSwipeDistance = 20;

    explicit EmbossersViewController(QObject* parent = nullptr);
    ~EmbossersViewController() override;

    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void updateImageView();
    void previousButtonTouched();
    void nextButtonTouched();
    void copyAsNewButtonTouched();
    void trashButtonTouched();
    void didDismissWithButtonIndex(ui::ActionSheet& sheet, int buttonIndex) override;
    void copyAsNew();
    void okButtonTouched();
    void handlePan(ui::GestureRecognizer& recognizer);

    // The page's title for the preset at index (0-based) of count, marked when active.
    static QString titleFor(int index, int count, bool active);

    const QList<ui::BarButtonItem*>& toolbarItemsArray() const { return toolbarItemsArray_; }
    QWidget* containerView() const { return containerView_; }
    ui::ImageView* imageSubView() const { return imageSubView_; }
    ui::ImageView* imageSubView2() const { return imageSubView2_; }
    // The image view in the container now; the other one waits for the next copy.
    ui::ImageView* shownImageView() const;
    const Image& demoImage() const { return demoImage_; }
    ui::BarButtonItem* theCopyAsNewButton() const { return copyAsNewButton_; }
    ui::BarButtonItem* previousButton() const { return previousButton_; }
    ui::BarButtonItem* nextButton() const { return nextButton_; }
    ui::BarButtonItem* trashButton() const { return trashButton_; }
    int currentEmbosserIndex() const { return currentEmbosserIndex_; }
    ui::GestureRecognizer* panRecognizer() const { return panRecognizer_; }

  protected:
    void loadView() override;
    void viewDidUnload() override;

  private:
    class Page;

    void initToolbar();
    void setupImageView(QRectF frame);
    // The square of the preview, as large as the frame allows, in its middle.
    void placeContainer(QRectF frame);
    void setupGestureRecognizer();
    int count() const;
    Embosser* shownEmbosser() const;
    bool isActive(const Embosser* embosser) const;
    QString databasePath() const;
    void keyPressed(int key);
    // What every way off the page but "Select" must leave behind; see the definition.
    void keepAnActivePreset();
    void dropWaitingImageView();

    QList<ui::BarButtonItem*> toolbarItemsArray_;
    QPointer<QWidget> containerView_;
    QPointer<ui::ImageView> imageSubView_;
    QPointer<ui::ImageView> imageSubView2_;
    Image demoImage_;
    ui::BarButtonItem* copyAsNewButton_ = nullptr;
    ui::BarButtonItem* previousButton_ = nullptr;
    ui::BarButtonItem* nextButton_ = nullptr;
    ui::BarButtonItem* trashButton_ = nullptr;
    // The application's list, not owned; null until the view is built.
    std::vector<std::unique_ptr<Embosser>>* embossers_ = nullptr;
    int currentEmbosserIndex_ = 0;
    QPointer<ui::GestureRecognizer> panRecognizer_;
    // The confirmation sheet last shown, while it is on screen.
    QPointer<ui::ActionSheet> sheet_;
    // The horizontal translation when the current pan began.
    double panStartX_ = 0;
};

}  // namespace lumigrave
