// exiv2 0.27 hands images out in std::auto_ptr, which C++17 deprecates.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

#include "support/exif_photo.h"

#include <QFile>
#include <exiv2/exiv2.hpp>

#include "support/image_files.h"

namespace lumigrave::test {

namespace {
const Exiv2::byte* bytes(const QByteArray& data) {
    return reinterpret_cast<const Exiv2::byte*>(data.constData());
}
}  // namespace

QByteArray cameraJpeg(int width, int height, int exifOrientation) {
    const QByteArray plain = encodeInColourSpace(width, height, QColorSpace::DisplayP3);
    auto image = Exiv2::ImageFactory::open(bytes(plain), long(plain.size()));
    image->readMetadata();
    Exiv2::ExifData& exif = image->exifData();
    exif["Exif.Image.Make"] = "Lumicam";
    exif["Exif.Image.Model"] = "LC-1 Mark II";
    exif["Exif.Image.Orientation"] = uint16_t(exifOrientation);
    exif["Exif.Image.Artist"] = "Ada Example";
    exif["Exif.Image.Copyright"] = "(c) 2026 Ada Example";
    exif["Exif.Photo.DateTimeOriginal"] = "2026:05:17 09:41:07";
    exif["Exif.Photo.LensModel"] = "Lumi 35mm F1.8";
    exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 250);
    exif["Exif.Photo.FNumber"] = Exiv2::URational(18, 10);
    exif["Exif.Photo.PixelXDimension"] = uint32_t(width);
    exif["Exif.Photo.PixelYDimension"] = uint32_t(height);
    exif["Exif.GPSInfo.GPSVersionID"] = "2 2 0 0";
    exif["Exif.GPSInfo.GPSLatitudeRef"] = "N";
    exif["Exif.GPSInfo.GPSLatitude"] = "48/1 51/1 24/1";
    exif["Exif.GPSInfo.GPSLongitudeRef"] = "E";
    exif["Exif.GPSInfo.GPSLongitude"] = "2/1 21/1 3/1";
    const QByteArray thumbnail = encode(testPhoto(32, 24), "jpeg");
    Exiv2::ExifThumb(exif).setJpegThumbnail(bytes(thumbnail), long(thumbnail.size()));
    image->writeMetadata();
    Exiv2::BasicIo& io = image->io();
    io.open();
    Exiv2::DataBuf written = io.read(long(io.size()));
    io.close();
    return QByteArray(reinterpret_cast<const char*>(written.pData_), qsizetype(written.size_));
}

bool ReadBack::hasGps() const {
    for (const auto& [key, value] : exif) {
        if (key.rfind("Exif.GPSInfo.", 0) == 0 || key == "Exif.Image.GPSTag") {
            return true;
        }
    }
    return false;
}

std::string ReadBack::value(const std::string& key) const {
    auto found = exif.find(key);
    return found == exif.end() ? std::string() : found->second;
}

ReadBack readMetadata(const QByteArray& jpeg) {
    ReadBack back;
    try {
        auto image = Exiv2::ImageFactory::open(bytes(jpeg), long(jpeg.size()));
        image->readMetadata();
        Exiv2::ExifData& exif = image->exifData();
        for (const Exiv2::Exifdatum& datum : exif) {
            back.exif[datum.key()] = datum.toString();
        }
        back.hasThumbnail = Exiv2::ExifThumbC(exif).copy().size_ > 0;
        if (image->iccProfileDefined()) {
            back.iccProfile = QByteArray(reinterpret_cast<const char*>(image->iccProfile()->pData_),
                                         qsizetype(image->iccProfile()->size_));
        }
        back.readable = true;
    } catch (const std::exception&) {
    }
    return back;
}

ReadBack readMetadataFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? readMetadata(file.readAll()) : ReadBack();
}

}  // namespace lumigrave::test
