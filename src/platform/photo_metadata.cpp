// exiv2 0.27 hands images out in std::auto_ptr, which C++17 deprecates; the deprecation
// says nothing about this use, so it is not to fail the build.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

#include "platform/photo_metadata.h"

#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <exiv2/exiv2.hpp>
#include <mutex>

#include "platform/atomic_file.h"
#include "platform/image.h"

namespace lumigrave {

namespace {

void logFromExiv2(int, const char* message) {
    qWarning().noquote() << "exiv2:" << QString::fromUtf8(message).trimmed();
}

// exiv2's XMP parser must be set up once before threads use it (the command line
// watermarks on several), and its messages go to our log, not to standard error.
void initialiseExiv2() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::XmpParser::initialize();
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::error);
        Exiv2::LogMsg::setHandler(logFromExiv2);
    });
}

const Exiv2::byte* bytes(const QByteArray& data) {
    return reinterpret_cast<const Exiv2::byte*>(data.constData());
}

void eraseKey(Exiv2::ExifData& exif, const char* key) {
    auto found = exif.findKey(Exiv2::ExifKey(key));
    if (found != exif.end()) {
        exif.erase(found);
    }
}

void eraseGps(Exiv2::ExifData& exif) {
    for (auto it = exif.begin(); it != exif.end();) {
        it = it->groupName() == "GPSInfo" ? exif.erase(it) : std::next(it);
    }
    eraseKey(exif, "Exif.Image.GPSTag");
}

}  // namespace

PhotoMetadata PhotoMetadata::fromData(const QByteArray& data) {
    PhotoMetadata metadata;
    if (data.isEmpty()) {
        return metadata;
    }
    initialiseExiv2();
    try {
        auto image = Exiv2::ImageFactory::open(bytes(data), long(data.size()));
        image->readMetadata();
        Exiv2::ExifData exif = image->exifData();
        if (!exif.empty()) {
            Exiv2::ExifThumb(exif).erase();
            Exiv2::Blob blob;
            Exiv2::ExifParser::encode(blob,
                                      image->byteOrder() == Exiv2::invalidByteOrder
                                          ? Exiv2::littleEndian
                                          : image->byteOrder(),
                                      exif);
            metadata.exif_ =
                QByteArray(reinterpret_cast<const char*>(blob.data()), qsizetype(blob.size()));
        }
        if (image->iccProfileDefined()) {
            const Exiv2::DataBuf* icc = image->iccProfile();
            metadata.iccProfile_ =
                QByteArray(reinterpret_cast<const char*>(icc->pData_), qsizetype(icc->size_));
        }
    } catch (const std::exception& e) {
        qWarning().noquote() << "The photo's metadata cannot be read; it is left out:" << e.what();
        return PhotoMetadata();
    }
    return metadata;
}

PhotoMetadata PhotoMetadata::fromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning().noquote() << "The photo's metadata cannot be read from" << path << "-"
                             << file.errorString();
        return {};
    }
    return fromData(file.readAll());
}

bool PhotoMetadata::writeInto(QByteArray& jpeg, bool keepGps, QString* error) const {
    if (isEmpty()) {
        return true;
    }
    initialiseExiv2();
    try {
        auto image = Exiv2::ImageFactory::open(bytes(jpeg), long(jpeg.size()));
        image->readMetadata();
        if (!exif_.isEmpty()) {
            Exiv2::ExifData exif;
            const Exiv2::ByteOrder order =
                Exiv2::ExifParser::decode(exif, bytes(exif_), uint32_t(exif_.size()));
            exif["Exif.Image.Orientation"] = uint16_t(1);
            // The dimensions are the new pixels', where the source said them.
            if (exif.findKey(Exiv2::ExifKey("Exif.Photo.PixelXDimension")) != exif.end()) {
                exif["Exif.Photo.PixelXDimension"] = uint32_t(image->pixelWidth());
                exif["Exif.Photo.PixelYDimension"] = uint32_t(image->pixelHeight());
            }
            if (!keepGps) {
                eraseGps(exif);
            }
            image->setByteOrder(order);
            image->setExifData(exif);
        }
        if (!iccProfile_.isEmpty()) {
            Exiv2::DataBuf icc(bytes(iccProfile_), long(iccProfile_.size()));
            image->setIccProfile(icc, false);
        }
        image->writeMetadata();
        Exiv2::BasicIo& io = image->io();
        io.open();
        io.seek(0, Exiv2::BasicIo::beg);
        Exiv2::DataBuf written = io.read(long(io.size()));
        io.close();
        if (written.size_ <= 0) {
            if (error) {
                *error = QStringLiteral("The metadata could not be written.");
            }
            return false;
        }
        jpeg = QByteArray(reinterpret_cast<const char*>(written.pData_), qsizetype(written.size_));
    } catch (const std::exception& e) {
        if (error) {
            *error = QString::fromUtf8(e.what());
        }
        return false;
    }
    return true;
}

namespace {

bool writeBytes(const QString& path, const QByteArray& bytes, QString* error) {
    return writeFileAtomically(
        path,
        [&bytes](QIODevice& file, QString* why) {
            if (file.write(bytes) != bytes.size()) {
                *why = file.errorString();
                return false;
            }
            return true;
        },
        error);
}

}  // namespace

bool encodeWithMetadata(const Image& image, const char* format, int quality,
                        const PhotoMetadata& metadata, bool keepGps, QByteArray* encoded,
                        QString* error) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.write(buffer, format, quality, error)) {
            return false;
        }
    }
    QString why;
    if (!metadata.writeInto(bytes, keepGps, &why)) {
        qWarning().noquote() << "The photo's metadata cannot be written; it is left out:" << why;
    }
    *encoded = std::move(bytes);
    return true;
}

bool saveWithMetadata(const Image& image, const QString& path, const char* format, int quality,
                      const PhotoMetadata& metadata, bool keepGps, QString* error) {
    QByteArray bytes;
    return encodeWithMetadata(image, format, quality, metadata, keepGps, &bytes, error) &&
           writeBytes(path, bytes, error);
}

void addMetadataToFile(const QString& path, const PhotoMetadata& metadata, bool keepGps) {
    if (metadata.isEmpty()) {
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning().noquote() << "The photo's metadata cannot be added to" << path << "-"
                             << file.errorString();
        return;
    }
    QByteArray bytes = file.readAll();
    file.close();
    QString why;
    if (!metadata.writeInto(bytes, keepGps, &why) || !writeBytes(path, bytes, &why)) {
        qWarning().noquote() << "The photo's metadata cannot be added to" << path << "-" << why;
    }
}

}  // namespace lumigrave
