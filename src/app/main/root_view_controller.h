#pragma once

#include <QList>
#include <QPointer>
#include <QVariantMap>
#include <optional>

#include "app/main/main_screen_state.h"
#include "platform/geometry.h"
#include "platform/image.h"
#include "ui/action_sheet.h"
#include "ui/alert_view.h"
#include "ui/gesture_recognizer.h"
#include "ui/image_picker_controller.h"
#include "ui/mail_compose_view_controller.h"
#include "ui/view_controller.h"

namespace lumigrave {

namespace ui {
class ActionSheet;
class AlertView;
class BarButtonItem;
class GestureRecognizer;
class ImagePickerController;
class ImageView;
}  // namespace ui
class MMSegmentedSwitcher;
class StringSheetPicker;

// The main screen: the watermarked photo over a patterned background, the mode switch
// and the settings button above, and a toolbar whose buttons depend on the mode —
// watermark mode opens the editors and the preset browser, photo mode loads, resizes,
// turns and puts out the photo. It also takes in photos, fits, zooms and pans the
// photo, and asks for a rating when the countdown says so.
class RootViewController : public ui::ViewController,
                           public ui::AlertView::Delegate,
                           public ui::ActionSheet::Delegate,
                           public ui::ImagePickerController::Delegate,
                           public ui::GestureRecognizer::Delegate,
                           public ui::MailComposeViewController::Delegate {
    Q_OBJECT
  public:
    // Action sheets of this screen, told apart by their tag.
    enum SheetTag { kPhotoSourceSheet = 0, kOutputActionsSheet = 1, kShareServiceSheet = 2 };

    // The state is the process's; it must outlive the screen.
    explicit RootViewController(MainScreenState& state, QObject* parent = nullptr);
    ~RootViewController() override;

    // Screen, modes and bars.
    void viewWillAppear(bool animated) override;
    void updateOperationgMode();
    void saveStates();
    void createToolbarItemsEmbosser();
    void createToolbarItemsPhoto();
    void switchBars();
    void slideBar(bool hidden);
    void slideInBar();
    void showTextDialog();
    void loadTextDialog();
    void showFontDialog();
    void loadFontDialog();
    void showOpacityDialog();
    void showLayoutDialog();
    void showEmbossersDialog();
    void showSettings();
    void showActions();
    void didDismissWithButtonIndex(ui::ActionSheet& sheet, int buttonIndex) override;
    void showRateMe();
    void clickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;
    // The store's review page for the application.
    static QUrl reviewUrl();

    // Photo intake, resize and rotation.
    void showLoadDialog();
    void showImagePicker(bool camera);
    void didFinishPickingMediaWithInfo(ui::ImagePickerController& picker,
                                       const QVariantMap& info) override;
    void imagePickerControllerDidCancel(ui::ImagePickerController& picker) override;
    // A photo file dropped on the window or opened with the application.
    void pickFile(const QString& path);
    void loadPickedImage(const Image& image);
    void showResizeDialog();
    void sizeDidSelected(int selectedIndex, QObject* element);
    void actionPickerCancelled(QObject* element);
    void loadImageForNewSize(int index);
    void doRotateLeft();
    void doRotateRight();
    void updateImage(const Image& image);
    void updateImageNHideIndicator(const Image& image);
    // The rows of the output-size picker.
    static QStringList outputSizeRows(const std::vector<Size>& sizes);

    // Placement and gestures.
    void setupGestureRecognizer();
    void resetImageView();
    void adjustImageViewPosition(Point center);
    void handlePinch(ui::GestureRecognizer& recognizer);
    void handlePan(ui::GestureRecognizer& recognizer);
    void handleTap(ui::GestureRecognizer& recognizer);

    // Output. The option codes are the output sheet's button positions.
    enum OutputOption { kOutputShare = 0, kOutputEmail = 1, kOutputSave = 2 };
    void processResultWithOption(int option);
    // What leaves the application: the shared rendering, as it is on screen.
    Image finalImage() const;
    void saveImage(const Image& image);
    // The album write's completion: the alert saying how it went.
    void didFinishSavingWithError(const Image& image, const std::optional<QString>& error,
                                  void* contextInfo);
    // The sharer of a share-service code: 0 Facebook, 1 Twitter, any other Flickr.
    void shareToService(int service);
    // "Created by " and the application's name.
    static QString shareItemTitle();
    void emailImage(const Image& image);
    void mailComposeController(ui::MailComposeViewController& controller, int didFinishWithResult,
                               const QString& error) override;

    int operatingMode() const { return operatingMode_; }
    float minimumScale() const { return minimum_scale_; }
    float maximumScale() const { return maximum_scale_; }
    const QList<ui::BarButtonItem*>& tbItemsEmbosser() const { return tbItemsEmbosser_; }
    const QList<ui::BarButtonItem*>& tbItemsPhoto() const { return tbItemsPhoto_; }
    ui::ImageView* imageSubView() const { return imageSubView_; }
    MMSegmentedSwitcher* operatingModeSeg() const { return operatingModeSeg_; }
    ui::GestureRecognizer* pinRecognizer() const { return pinRecognizer_; }
    ui::GestureRecognizer* panRecognizer() const { return panRecognizer_; }
    ui::GestureRecognizer* tapRecognizer() const { return tapRecognizer_; }
    // The picker shown now, if any.
    ui::ImagePickerController* imagePicker() const;
    // The output-size picker shown now, if any.
    StringSheetPicker* sizePicker() const;

  protected:
    void loadView() override;
    void viewDidUnload() override;

  private:
    void stopObserving();
    // The steps after a pick: the same photo, an unreadable file, a too-small photo.
    void acceptPickedInfo(const QVariantMap& info);
    ui::BarButtonItem* imageItem(const QString& image, void (RootViewController::*action)(),
                                 const QString& name);

    MainScreenState& state_;
    int operatingMode_ = 0;
    float minimum_scale_ = 1;
    float maximum_scale_ = 1;
    QList<ui::BarButtonItem*> tbItemsEmbosser_;
    QList<ui::BarButtonItem*> tbItemsPhoto_;
    ui::ImageView* imageSubView_ = nullptr;
    MMSegmentedSwitcher* operatingModeSeg_ = nullptr;
    ui::GestureRecognizer* pinRecognizer_ = nullptr;
    ui::GestureRecognizer* panRecognizer_ = nullptr;
    ui::GestureRecognizer* tapRecognizer_ = nullptr;
    int rateMeIndexSure_ = -1;
    int rateMeIndexRemind_ = -1;
    QPointer<ui::AlertView> rateMeAlert_;
    QPointer<StringSheetPicker> sizePicker_;
};

}  // namespace lumigrave
