#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <string>

namespace lumigrave::test {

// A camera's JPEG made with exiv2 itself: the test photo in Display P3 (with its ICC
// profile), EXIF capture data (camera, lens, exposure, date, artist, copyright), the
// orientation given, a GPS position and an EXIF thumbnail.
QByteArray cameraJpeg(int width, int height, int exifOrientation = 1);

// What exiv2 reads back from a JPEG's bytes, for the tests to look into.
struct ReadBack {
    bool readable = false;
    std::map<std::string, std::string> exif;  // key → value as text
    QByteArray iccProfile;
    bool hasThumbnail = false;
    bool hasGps() const;
    std::string value(const std::string& key) const;
};
ReadBack readMetadata(const QByteArray& jpeg);
ReadBack readMetadataFile(const QString& path);

}  // namespace lumigrave::test
