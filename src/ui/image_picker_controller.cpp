#include "ui/image_picker_controller.h"

#include <QFileDialog>
#include <QImageReader>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "platform/image_loader.h"

namespace lumigrave::ui {

ImagePickerController::ImagePickerController(QObject* parent) : ViewController(parent) {}

ImagePickerController::~ImagePickerController() = default;

bool ImagePickerController::isSourceTypeAvailable(SourceType type) {
    return type != SourceType::Camera;
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
    } else {
        info.insert(kErrorMessageKey, loaded.message);
    }
    return info;
}

void ImagePickerController::pickFile(const QString& path) {
    QVariantMap info = infoForFile(path);
    if (delegate_.didFinishPickingMediaWithInfo) {
        delegate_.didFinishPickingMediaWithInfo(*this, info);
    }
}

void ImagePickerController::cancel() {
    if (delegate_.didCancel) {
        delegate_.didCancel(*this);
    }
}

}  // namespace lumigrave::ui
