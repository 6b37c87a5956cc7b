#include "platform/image.h"

#include <QColorSpace>
#include <QImageWriter>
#include <QTransform>

#include "platform/atomic_file.h"
#include "platform/whole_writes.h"

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

QImage quarterTurned(const QImage& pixels, int quarterTurns) {
    QImage turned = pixels.transformed(QTransform().rotate(90.0 * quarterTurns));
    // transformed() drops the colour space (mirrored() and scaled() keep it).
    turned.setColorSpace(pixels.colorSpace());
    return turned;
}

QImage applyOrientation(const QImage& pixels, int orientation) {
    switch (orientation) {
        case kOrientationDown:
            return pixels.mirrored(true, true);
        case kOrientationLeft:
            return quarterTurned(pixels, 3);
        case kOrientationRight:
            return quarterTurned(pixels, 1);
        case kOrientationUpMirrored:
            return pixels.mirrored(true, false);
        case kOrientationDownMirrored:
            return pixels.mirrored(false, true);
        case kOrientationLeftMirrored:
            return quarterTurned(pixels.mirrored(true, false), 3);
        case kOrientationRightMirrored:
            return quarterTurned(pixels.mirrored(true, false), 1);
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
    WholeWriteDevice whole(device);
    whole.open();
    QImageWriter writer(&whole, format);
    if (quality >= 0) {
        writer.setQuality(quality);
    }
    const QImage upright = uprightPixels();
    // JPEG has no alpha; an opaque format keeps the writer from guessing. The colour
    // profile goes with the pixels into either format.
    const bool jpeg = qstrcmp(format, "jpeg") == 0 || qstrcmp(format, "jpg") == 0;
    if (!writer.write(jpeg && upright.hasAlphaChannel()
                          ? upright.convertToFormat(QImage::Format_RGB32)
                          : upright)) {
        if (error) {
            // The writer knows only that its device failed ("Unknown error"); the device
            // says why.
            const bool deviceFailed = writer.error() == QImageWriter::DeviceError ||
                                      writer.error() == QImageWriter::UnknownError;
            *error = deviceFailed ? whole.errorString() : writer.errorString();
        }
        return false;
    }
    return true;
}

bool Image::save(const QString& path, const char* format, int quality, QString* error) const {
    return writeFileAtomically(
        path, [&](QIODevice& file, QString* why) { return write(file, format, quality, why); },
        error);
}

}  // namespace lumigrave
