#pragma once

#include <QByteArray>
#include <QColorSpace>
#include <QImage>
#include <QString>

namespace lumigrave::test {

// A photo-like test image: smooth colour gradients with a fine texture, so that it
// encodes like a photo and every channel varies.
QImage testPhoto(int width, int height);

// progressive asks for a progressive JPEG (other formats ignore it).
QByteArray encode(const QImage& image, const char* format, int quality = 90,
                  bool progressive = false);

// The test photo tagged with a wide-gamut colour space, encoded with its ICC profile
// (as a camera set to Adobe RGB or a phone shooting Display P3 writes it).
QByteArray encodeInColourSpace(int width, int height, QColorSpace::NamedColorSpace space,
                               const char* format = "jpeg");
bool writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// A JPEG with an EXIF block whose orientation tag holds value (any 16-bit number).
QByteArray withExifOrientation(const QByteArray& jpeg, quint16 value);

// A real JPEG whose frame header is rewritten to claim width × height.
QByteArray jpegClaimingSize(quint16 width, quint16 height);
// A PNG whose header (with a correct checksum) claims width × height.
QByteArray pngClaimingSize(quint32 width, quint32 height);

}  // namespace lumigrave::test
