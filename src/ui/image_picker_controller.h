#pragma once

#include <QString>
#include <QVariantMap>

#include "platform/image.h"
#include "ui/view_controller.h"

class QFileDialog;
class QImage;

namespace lumigrave::ui {

// The photo picker. The photo library is the Pictures folder, browsed with a file
// dialog inside the window; photos dropped on the window arrive the same way. The
// camera, where Qt Multimedia reports one, shows its picture and takes a still. The
// picked photo comes, loaded, under kOriginalImageKey; a file that cannot be loaded, or
// a camera that fails, comes with no image and the reason under kErrorMessageKey.
class ImagePickerController : public ViewController {
    Q_OBJECT
  public:
    enum class SourceType { PhotoLibrary, Camera, SavedPhotosAlbum };
    // The picker's protocol: both calls are optional.
    class Delegate {
      public:
        virtual ~Delegate() = default;
        virtual void didFinishPickingMediaWithInfo(ImagePickerController& picker,
                                                   const QVariantMap& info) {
            Q_UNUSED(picker);
            Q_UNUSED(info);
        }
        virtual void imagePickerControllerDidCancel(ImagePickerController& picker) {
            Q_UNUSED(picker);
        }
    };

    static inline const QString kOriginalImageKey =
        QStringLiteral("UIImagePickerControllerOriginalImage");
    static inline const QString kErrorMessageKey = QStringLiteral("LumigraveImageErrorMessage");
    // The picked file's metadata (a PhotoMetadata), kept for the photo's output; a camera
    // picture has none.
    static inline const QString kMetadataKey = QStringLiteral("LumigravePhotoMetadata");

    explicit ImagePickerController(QObject* parent = nullptr);
    ~ImagePickerController() override;

    // The camera only when Qt Multimedia reports one; the library always.
    static bool isSourceTypeAvailable(SourceType type);
    SourceType sourceType() const { return sourceType_; }
    void setSourceType(SourceType type) { sourceType_ = type; }
    // Not owned; it must outlive the picker or be null.
    void setDelegate(Delegate* delegate) { delegate_ = delegate; }
    // The folder the dialog opens in; the Pictures folder unless set.
    void setDirectory(const QString& directory) { directory_ = directory; }
    QString directory() const;

    // As if the user chose the file, or cancelled: what the dialog's buttons do.
    void pickFile(const QString& path);
    void cancel();
    // As if the camera took this still, or failed with this message.
    void pickCapturedImage(const QImage& image);
    void cameraFailed(const QString& message);

    // The info a picked file gives: the loaded image, or the reason it has none.
    static QVariantMap infoForFile(const QString& path);
    // The name filter of every image type Qt's plug-ins read.
    static QString imageNameFilter();

  protected:
    void loadView() override;

  private:
    SourceType sourceType_ = SourceType::PhotoLibrary;
    Delegate* delegate_ = nullptr;
    QString directory_;
    QFileDialog* dialog_ = nullptr;
};

}  // namespace lumigrave::ui
