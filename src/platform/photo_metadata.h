#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>

namespace lumigrave {

class Image;

// What a photo file tells beyond its pixels and is worth keeping in the watermarked copy:
// the ICC colour profile and the EXIF capture data (camera, lens, exposure, date and time,
// artist, copyright). It is read from the source file when a photo comes in and written
// into the JPEG the photo leaves as.
//
// Photographers expect both to survive; the pixels are new, though, so some of it must
// not: the orientation becomes 1 (the pixels are written upright), the EXIF thumbnail goes
// (it would show the photo without its watermark), and so does the GPS position unless
// the caller asks to keep it.
//
// Metadata is a courtesy: a photo without it, or with metadata that cannot be read or
// written, is still taken in and written, without it; the failure is logged.
class PhotoMetadata {
  public:
    PhotoMetadata() = default;

    // The metadata in a photo file's bytes; empty when there is none or it cannot be read.
    static PhotoMetadata fromData(const QByteArray& data);
    // The same for a file (a resource path too); empty when it cannot be read.
    static PhotoMetadata fromFile(const QString& path);

    bool isEmpty() const { return exif_.isEmpty() && iccProfile_.isEmpty(); }
    // EXIF in its TIFF form, without the thumbnail.
    const QByteArray& exif() const { return exif_; }
    const QByteArray& iccProfile() const { return iccProfile_; }

    // Puts the metadata into a JPEG file's bytes: EXIF with orientation 1 and the pixel
    // dimensions of the JPEG, GPS only when keepGps; the ICC profile when there is one.
    // False, with *error and jpeg unchanged, when the JPEG cannot take it.
    bool writeInto(QByteArray& jpeg, bool keepGps, QString* error) const;

  private:
    QByteArray exif_;
    QByteArray iccProfile_;
};

// Encodes the image ("jpeg" or "png", quality as Image::write takes it) with the metadata
// in it. Metadata that cannot be written is left out and logged; false, with *error, only
// when the image itself cannot be encoded.
bool encodeWithMetadata(const Image& image, const char* format, int quality,
                        const PhotoMetadata& metadata, bool keepGps, QByteArray* encoded,
                        QString* error);

// Writes the image with the metadata atomically to path: whole or not at all. *error is
// the system's description of a failure ("No space left on device").
bool saveWithMetadata(const Image& image, const QString& path, const char* format, int quality,
                      const PhotoMetadata& metadata, bool keepGps, QString* error);

// Puts the metadata into the file already written at path, atomically. A file that
// cannot take it stays as it is, and why is logged.
void addMetadataToFile(const QString& path, const PhotoMetadata& metadata, bool keepGps);

}  // namespace lumigrave

// Metadata travels with the picked photo in the picker's info dictionary.
Q_DECLARE_METATYPE(lumigrave::PhotoMetadata)
