// The main screen's photo intake: the source sheet, the picker, the too-small refusal,
// the output size, the quarter turns and the re-render.
#include "app/main/photo_intake.h"

#include <cmath>

#include "app/app_delegate.h"
#include "app/main/root_view_controller.h"
#include "app/pickers/string_sheet_picker.h"
#include "platform/notification_center.h"
#include "platform/run_loop.h"
#include "platform/user_defaults.h"
#include "render/emboss_composer.h"
#include "render/image_resize.h"
#include "ui/action_sheet.h"
#include "ui/alert_view.h"
#include "ui/image_picker_controller.h"
#include "ui/image_view.h"

namespace lumigrave {

namespace {
Image scaledToFit(const Image& image, Size size) {
    return resizedImageWithContentMode(image, kContentModeScaleAspectFit, size, kInterpolationHigh);
}

void showTooSmall() {
    (new ui::AlertView(QStringLiteral("Error"), QStringLiteral("The image is too small."), nullptr,
                       QStringLiteral("OK")))
        ->show();
}
}  // namespace

std::optional<OutputSizeChoice> outputSizeForRow(const std::vector<Size>& sizes, int row) {
    if (row < 0 || row >= int(sizes.size())) {
        return std::nullopt;
    }
    if (row == 0) {
        return OutputSizeChoice{sizes[0], 0};
    }
    return OutputSizeChoice{sizes[size_t(row)],
                            qint64(std::trunc(sizes[size_t(row)].longerSide()))};
}

void RootViewController::showLoadDialog() {
    bool camera = ui::ImagePickerController::isSourceTypeAvailable(
        ui::ImagePickerController::SourceType::Camera);
    QStringList buttons{QStringLiteral("Choose a Photo")};
    if (camera) {
        buttons.append(QStringLiteral("Take a Photo"));
    }
    auto* sheet = new ui::ActionSheet(QStringLiteral("Load Image"), this, QStringLiteral("Cancel"),
                                      QString(), buttons);
    if (camera) {
        sheet->setDestructiveButtonIndex(1);
    }
    sheet->setActionSheetStyle(ui::ActionSheet::Style::BlackTranslucent);
    sheet->setTag(kPhotoSourceSheet);
    sheet->showInView(view());
}

void RootViewController::showImagePicker(bool camera) {
    auto* picker = new ui::ImagePickerController;
    picker->setSourceType(camera ? ui::ImagePickerController::SourceType::Camera
                                 : ui::ImagePickerController::SourceType::PhotoLibrary);
    picker->setDelegate(this);
    presentModalViewController(picker, true);
}

ui::ImagePickerController* RootViewController::imagePicker() const {
    return qobject_cast<ui::ImagePickerController*>(modalViewController());
}

void RootViewController::imagePickerControllerDidCancel(ui::ImagePickerController&) {
    dismissModalViewControllerAnimated(true);
}

void RootViewController::pickFile(const QString& path) {
    if (imagePicker() != nullptr) {
        dismissModalViewControllerAnimated(false);
    }
    acceptPickedInfo(ui::ImagePickerController::infoForFile(path));
}

void RootViewController::didFinishPickingMediaWithInfo(ui::ImagePickerController&,
                                                       const QVariantMap& info) {
    dismissModalViewControllerAnimated(true);
    acceptPickedInfo(info);
}

void RootViewController::acceptPickedInfo(const QVariantMap& info) {
    Image image = info.value(ui::ImagePickerController::kOriginalImageKey).value<Image>();
    AppDelegate* app = AppDelegate::shared();
    if (!image.isNull() && image.isSameImage(app->originalImage())) {
        return;
    }
    // The size list is the old photo's: a choice made in it would apply to the new one.
    if (sizePicker_) {
        sizePicker_->actionPickerCancel();
    }
    // A file that would not load says why, rather than that it is too small.
    if (image.isNull() && info.contains(ui::ImagePickerController::kErrorMessageKey)) {
        ui::showErrorAlert(info.value(ui::ImagePickerController::kErrorMessageKey).toString());
        return;
    }
    // No image counts as a size of zero.
    if (EmbossComposer::validOutputSizesForImage(image).empty()) {
        showTooSmall();
        return;
    }
    const PhotoMetadata metadata =
        info.value(ui::ImagePickerController::kMetadataKey).value<PhotoMetadata>();
    app->showActivityView(QStringLiteral("Proccessing..."));
    RunLoop::performAfter(
        0,
        [this, image, metadata] {
            AppDelegate::shared()->setOriginalMetadata(metadata);
            loadPickedImage(image);
        },
        this);
}

void RootViewController::loadPickedImage(const Image& image) {
    AppDelegate* app = AppDelegate::shared();
    app->setOriginalImage(image);
    int index = app->matchedIndexForOutputSize(UserDefaults().integerForKey(kMaxOutputPixKey));
    std::vector<Size> sizes = app->maxOutputSizes();
    Size target = index < int(sizes.size()) ? sizes[index] : image.size();
    updateImage(scaledToFit(image, target));
    resetImageView();
    NotificationCenter::defaultCenter().postNotification(kHideActivityViewNotification);
}

QStringList RootViewController::outputSizeRows(const std::vector<Size>& sizes) {
    QStringList rows;
    for (size_t i = 0; i < sizes.size(); ++i) {
        const char* format = i == 0 ? "%.0f x %.0f (px) Orig." : "%.0f x %.0f (px)";
        rows.append(QString::asprintf(format, double(sizes[i].width), double(sizes[i].height)));
    }
    return rows;
}

void RootViewController::showResizeDialog() {
    AppDelegate* app = AppDelegate::shared();
    QStringList rows = outputSizeRows(app->maxOutputSizes());
    int initial = app->matchedIndexForOutputSize(UserDefaults().integerForKey(kMaxOutputPixKey));
    QPointer<RootViewController> self(this);
    sizePicker_ = StringSheetPicker::showPickerWithTitle(
        QStringLiteral("Output Size"), rows, initial,
        [self](StringSheetPicker* picker, int selectedIndex, const QString&) {
            if (self) {
                self->sizeDidSelected(selectedIndex, picker->storedOrigin());
            }
        },
        [self](AbstractSheetPicker* picker) {
            if (self) {
                self->actionPickerCancelled(picker->storedOrigin());
            }
        },
        view());
}

StringSheetPicker* RootViewController::sizePicker() const {
    return sizePicker_;
}

void RootViewController::sizeDidSelected(int selectedIndex, QObject*) {
    if (!outputSizeForRow(AppDelegate::shared()->maxOutputSizes(), selectedIndex)) {
        return;
    }
    AppDelegate::shared()->showActivityView(QStringLiteral("Proccessing..."));
    RunLoop::performAfter(
        0, [this, selectedIndex] { loadImageForNewSize(selectedIndex); }, this);
}

void RootViewController::actionPickerCancelled(QObject*) {}

void RootViewController::loadImageForNewSize(int index) {
    AppDelegate* app = AppDelegate::shared();
    std::optional<OutputSizeChoice> choice = outputSizeForRow(app->maxOutputSizes(), index);
    UserDefaults defaults;
    if (choice && choice->maxOutputPix != defaults.integerForKey(kMaxOutputPixKey)) {
        defaults.setInteger(kMaxOutputPixKey, choice->maxOutputPix);
        defaults.synchronize();
        updateImage(scaledToFit(app->originalImage(), choice->target));
        resetImageView();
    }
    NotificationCenter::defaultCenter().postNotification(kHideActivityViewNotification);
}

void RootViewController::doRotateLeft() {
    updateImage(
        EmbossComposer::rotateImage(AppDelegate::shared()->activeImage(), kOrientationLeft));
    resetImageView();
}

void RootViewController::doRotateRight() {
    updateImage(
        EmbossComposer::rotateImage(AppDelegate::shared()->activeImage(), kOrientationRight));
    resetImageView();
}

void RootViewController::updateImage(const Image& image) {
    if (image.isNull()) {
        return;
    }
    AppDelegate* app = AppDelegate::shared();
    if (!image.isSameImage(app->activeImage())) {
        app->setActiveImage(image);
    }
    app->setEmbossedImage(
        EmbossComposer::embossedImageForEmbosser(*app->activeEmbosser(), app->activeImage()));
    if (imageSubView_ != nullptr) {
        imageSubView_->setImage(app->embossedImage());
    }
}

void RootViewController::updateImageNHideIndicator(const Image& image) {
    updateImage(image);
    NotificationCenter::defaultCenter().postNotification(kHideActivityViewNotification);
}

}  // namespace lumigrave
