#include "ui/image_picker_controller.h"

#include <QFileDialog>
#include <QImage>
#include <QImageReader>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "platform/image_loader.h"
#include "platform/photo_metadata.h"
#include "ui/camera_view.h"

namespace lumigrave::ui {

ImagePickerController::ImagePickerController(QObject* parent) : ViewController(parent) {}

ImagePickerController::~ImagePickerController() = default;

bool ImagePickerController::isSourceTypeAvailable(SourceType type) {
    return type != SourceType::Camera || CameraView::isCameraAvailable();
}

QString ImagePickerController::directory() const {
    if (!directory_.isEmpty()) {
        return directory_;
    }
    return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
}

QString ImagePickerController::imageNameFilter() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        patterns.append(QStringLiteral("*.") + QString::fromLatin1(format));
    }
    patterns.removeDuplicates();
    return QStringLiteral("Images (%1)").arg(patterns.join(QLatin1Char(' ')));
}

void ImagePickerController::loadView() {
    auto* view = new QWidget;
    view->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    // A camera unplugged since the source was offered leaves the library to choose from.
    if (sourceType_ == SourceType::Camera && CameraView::isCameraAvailable()) {
        auto* camera = new CameraView(view);
        layout->addWidget(camera);
        connect(camera, &CameraView::captured, this, &ImagePickerController::pickCapturedImage);
        connect(camera, &CameraView::cancelled, this, &ImagePickerController::cancel);
        connect(camera, &CameraView::failed, this, &ImagePickerController::cameraFailed);
        setView(view);
        return;
    }
    dialog_ =
        new QFileDialog(view, QStringLiteral("Choose a Photo"), directory(), imageNameFilter());
    // Drawn inside the window rather than as a window of its own, so nothing blocks.
    dialog_->setOption(QFileDialog::DontUseNativeDialog);
    dialog_->setWindowFlags(Qt::Widget);
    dialog_->setFileMode(QFileDialog::ExistingFile);
    dialog_->setAcceptMode(QFileDialog::AcceptOpen);
    layout->addWidget(dialog_);
    connect(dialog_, &QFileDialog::fileSelected, this, &ImagePickerController::pickFile);
    connect(dialog_, &QFileDialog::rejected, this, &ImagePickerController::cancel);
    setView(view);
}

QVariantMap ImagePickerController::infoForFile(const QString& path) {
    QVariantMap info;
    ImageLoader::Result loaded = ImageLoader::loadFile(path);
    if (loaded.ok()) {
        info.insert(kOriginalImageKey, QVariant::fromValue(loaded.image));
        info.insert(kMetadataKey, QVariant::fromValue(PhotoMetadata::fromFile(path)));
    } else {
        info.insert(kErrorMessageKey, loaded.message);
    }
    return info;
}

void ImagePickerController::pickFile(const QString& path) {
    QVariantMap info = infoForFile(path);
    if (delegate_ != nullptr) {
        delegate_->didFinishPickingMediaWithInfo(*this, info);
    }
}

void ImagePickerController::pickCapturedImage(const QImage& image) {
    QVariantMap info;
    if (image.isNull()) {
        info.insert(kErrorMessageKey, QStringLiteral("The camera gave no picture."));
    } else {
        // The camera's frames come upright, at one pixel per point, and opaque whatever
        // their format says: no alpha channel is carried into the photo.
        info.insert(kOriginalImageKey,
                    QVariant::fromValue(Image(image.convertToFormat(QImage::Format_RGB32), 1)));
    }
    if (delegate_ != nullptr) {
        delegate_->didFinishPickingMediaWithInfo(*this, info);
    }
}

void ImagePickerController::cameraFailed(const QString& message) {
    QVariantMap info;
    info.insert(kErrorMessageKey, message);
    if (delegate_ != nullptr) {
        delegate_->didFinishPickingMediaWithInfo(*this, info);
    }
}

void ImagePickerController::cancel() {
    if (delegate_ != nullptr) {
        delegate_->imagePickerControllerDidCancel(*this);
    }
}

}  // namespace lumigrave::ui
