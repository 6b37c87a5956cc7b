#include "platform/image.h"

#include <QImageWriter>
#include <QSaveFile>
#include <QTransform>

namespace lumigrave {

namespace {

const QImage kNullImage;

}  // namespace

QImage Image::drawablePixels(QImage pixels) {
    switch (pixels.format()) {
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32_Premultiplied:
        case QImage::Format_Invalid:
            return pixels;
        default:
            return pixels.convertToFormat(pixels.hasAlphaChannel()
                                              ? QImage::Format_ARGB32_Premultiplied
                                              : QImage::Format_RGB32);
    }
}

Image::Image(QImage pixels, float scale, int orientation) {
    if (pixels.isNull()) {
        return;
    }
    data_ = std::make_shared<const Data>(
        Data{drawablePixels(std::move(pixels)), scale > 0 ? scale : 1.0f,
             isValidOrientation(orientation) ? orientation : kOrientationUp});
}

const QImage& Image::pixels() const {
    return data_ ? data_->pixels : kNullImage;
}

float Image::scale() const {
    return data_ ? data_->scale : 1.0f;
}

int Image::orientation() const {
    return data_ ? data_->orientation : kOrientationUp;
}

bool Image::isTransposed(int orientation) {
    return orientation == kOrientationLeft || orientation == kOrientationRight ||
           orientation == kOrientationLeftMirrored || orientation == kOrientationRightMirrored;
}

Size Image::size() const {
    if (!data_) {
        return Size{};
    }
    const float w = data_->pixels.width() / data_->scale;
    const float h = data_->pixels.height() / data_->scale;
    return isTransposed(data_->orientation) ? Size{h, w} : Size{w, h};
}

QImage Image::uprightPixels() const {
    return data_ ? applyOrientation(data_->pixels, data_->orientation) : QImage();
}

QImage Image::takeUprightPixels() && {
    if (!data_) {
        return QImage();
    }
    QImage result;
    if (data_.use_count() == 1 && data_->orientation == kOrientationUp) {
        // Sole owner: the data is ours to empty.
        result = std::move(const_cast<Data&>(*data_).pixels);
    } else {
        result = uprightPixels();
    }
    data_.reset();
    return result;
}

QImage applyOrientation(const QImage& pixels, int orientation) {
    switch (orientation) {
        case kOrientationDown:
            return pixels.mirrored(true, true);
        case kOrientationLeft:
            return pixels.transformed(QTransform().rotate(270));
        case kOrientationRight:
            return pixels.transformed(QTransform().rotate(90));
        case kOrientationUpMirrored:
            return pixels.mirrored(true, false);
        case kOrientationDownMirrored:
            return pixels.mirrored(false, true);
        case kOrientationLeftMirrored:
            return pixels.mirrored(true, false).transformed(QTransform().rotate(270));
        case kOrientationRightMirrored:
            return pixels.mirrored(true, false).transformed(QTransform().rotate(90));
        default:
            return pixels;
    }
}

bool Image::write(QIODevice& device, const char* format, int quality, QString* error) const {
    if (!data_) {
        if (error) {
            *error = QStringLiteral("There is no image to write.");
        }
        return false;
    }
    QImageWriter writer(&device, format);
    if (quality >= 0) {
        writer.setQuality(quality);
    }
    const QImage upright = uprightPixels();
    // JPEG has no alpha; an opaque format keeps the writer from guessing.
    const bool jpeg = qstrcmp(format, "jpeg") == 0 || qstrcmp(format, "jpg") == 0;
    if (!writer.write(jpeg && upright.hasAlphaChannel()
                          ? upright.convertToFormat(QImage::Format_RGB32)
                          : upright)) {
        if (error) {
            *error = writer.errorString();
        }
        return false;
    }
    return true;
}

bool Image::save(const QString& path, const char* format, int quality, QString* error) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    if (!write(file, format, quality, error)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    return true;
}

}  // namespace lumigrave
