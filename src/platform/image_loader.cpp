#include "platform/image_loader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include "platform/bundle.h"
#include "platform/image_buffer.h"
#include "platform/image_structure.h"

namespace lumigrave {

namespace {

using Result = ImageLoader::Result;
using Error = ImageLoader::Error;

Result refused(Error error, const QString& message) {
    return Result{Image(), error, message};
}

// EXIF's eight orientations as the decoder reports them, to our codes.
int orientationFor(QImageIOHandler::Transformations t) {
    switch (int(t)) {
        case QImageIOHandler::TransformationRotate180:
            return kOrientationDown;
        case QImageIOHandler::TransformationRotate270:
            return kOrientationLeft;
        case QImageIOHandler::TransformationRotate90:
            return kOrientationRight;
        case QImageIOHandler::TransformationMirror:
            return kOrientationUpMirrored;
        case QImageIOHandler::TransformationFlip:
            return kOrientationDownMirrored;
        case QImageIOHandler::TransformationFlipAndRotate90:
            return kOrientationLeftMirrored;
        case QImageIOHandler::TransformationMirrorAndRotate90:
            return kOrientationRightMirrored;
        default:
            return kOrientationUp;
    }
}

bool tooLarge(const QSize& size) {
    return size.width() > ImageLoader::kMaxSide || size.height() > ImageLoader::kMaxSide ||
           qint64(size.width()) * size.height() > ImageLoader::kMaxPixels;
}

QString tooLargeMessage(const QSize& size) {
    return QStringLiteral(
               "The image is too large: %1 x %2 pixels (at most %3 on a side and %4 megapixels).")
        .arg(size.width())
        .arg(size.height())
        .arg(ImageLoader::kMaxSide)
        .arg(ImageLoader::kMaxPixels / 1'000'000);
}

}  // namespace

void ImageLoader::installAllocationLimit() {
    // 100 megapixels of 32-bit pixels, and some room for a decoder's own buffers.
    QImageReader::setAllocationLimit(int(kMaxPixels * 4 / (1024 * 1024)) + 64);
}

Result ImageLoader::loadFile(const QString& path) {
    return loadFile(path, 1);
}

Result ImageLoader::readFile(const QString& path, QByteArray* data) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return refused(Error::CannotOpen,
                       QStringLiteral("The file cannot be opened: %1.").arg(file.errorString()));
    }
    // Photos are a few megabytes; reading them whole lets the JPEG check see the end.
    *data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return refused(Error::CannotOpen,
                       QStringLiteral("The file cannot be read: %1.").arg(file.errorString()));
    }
    return Result{};
}

Result ImageLoader::loadFile(const QString& path, float scale) {
    QByteArray data;
    Result read = readFile(path, &data);
    return read.ok() ? loadData(data, scale) : read;
}

Result ImageLoader::loadResource(const QString& name, const QString& type) {
    const QString path = Bundle::pathForResource(name, type);
    if (path.isEmpty()) {
        return refused(Error::CannotOpen, QStringLiteral("There is no resource %1.").arg(name));
    }
    return loadFile(path, Bundle::scaleForResourceName(name));
}

ImageLoader::Header ImageLoader::inspectData(const QByteArray& data) {
    Header header;
    auto refuse = [&](Error error, const QString& message) {
        header.error = error;
        header.message = message;
        return header;
    };
    // Our own reading of the header comes first: the decoders refuse a header above their
    // allocation limit without saying why.
    QSize declared = declaredPixelSize(data);
    if (declared.isValid() && tooLarge(declared)) {
        return refuse(Error::TooLarge, tooLargeMessage(declared));
    }
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    if (data.isEmpty() || !reader.canRead()) {
        return refuse(Error::NotAnImage,
                      QStringLiteral("The file is not an image in a format Lumigrave reads."));
    }
    const QByteArray format = reader.format();
    // Qt's GIF reader reports a frame's size, which need not be the image's: a GIF whose
    // logical screen leaves its size open is measured only by decoding it.
    if (!declared.isValid() && format != "gif") {
        declared = reader.size();
    }
    if (declared.isValid() && tooLarge(declared)) {
        return refuse(Error::TooLarge, tooLargeMessage(declared));
    }
    header.format = format;
    if ((header.format == "jpeg" && !jpegIsComplete(data)) ||
        (header.format == "bmp" && !bmpIsComplete(data))) {
        return refuse(Error::Damaged,
                      QStringLiteral("The image file is incomplete: it ends before its picture "
                                     "does."));
    }
    header.pixelSize = declared;
    header.orientation = orientationFor(reader.transformation());
    return header;
}

Result ImageLoader::loadData(const QByteArray& data, float scale) {
    const Header header = inspectData(data);
    if (!header.ok()) {
        return refused(header.error, header.message);
    }
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    // Decoded into memory of our own choosing when the decoder says what it will make:
    // it reuses an image of the right size and format.
    QImage pixels;
    const QSize declared = header.pixelSize;
    if (declared.isValid() && reader.imageFormat() == QImage::Format_RGB32) {
        pixels = allocateImage(declared.width(), declared.height(), QImage::Format_RGB32);
    }
    if (!reader.read(&pixels) || pixels.isNull()) {
        return refused(Error::Damaged,
                       QStringLiteral("The image file is damaged or incomplete: %1.")
                           .arg(reader.errorString()));
    }
    if (tooLarge(pixels.size())) {
        return refused(Error::TooLarge, tooLargeMessage(pixels.size()));
    }
    return Result{Image(std::move(pixels), scale, header.orientation), Error::None, QString()};
}

}  // namespace lumigrave
