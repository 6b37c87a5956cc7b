// The source photo's metadata, read at intake and written into the JPEG it leaves as.
#include "platform/photo_metadata.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QColorSpace>

#include "platform/image.h"
#include "platform/image_loader.h"
#include "support/exif_photo.h"
#include "support/image_files.h"
#include "support/log_capture.h"

namespace lumigrave {
namespace {

QByteArray plainJpeg(const Image& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.write(buffer, "jpeg", 95, nullptr));
    return bytes;
}

TEST(PhotoMetadata, KeepsCaptureDataAndProfileWithOrientationOneAndNoThumbnailOrGps) {
    // A camera photo taken on its side: its pixels are written upright, so its EXIF
    // orientation must no longer turn them.
    const QByteArray source = test::cameraJpeg(60, 40, 6);
    ASSERT_TRUE(test::readMetadata(source).hasThumbnail);
    ASSERT_TRUE(test::readMetadata(source).hasGps());
    const PhotoMetadata metadata = PhotoMetadata::fromData(source);
    ASSERT_FALSE(metadata.isEmpty());
    EXPECT_EQ(metadata.iccProfile(), QColorSpace(QColorSpace::DisplayP3).iccProfile());

    ImageLoader::Result loaded = ImageLoader::loadData(source);
    ASSERT_TRUE(loaded.ok());
    QByteArray jpeg;
    ASSERT_TRUE(encodeWithMetadata(loaded.image, "jpeg", 95, metadata, false, &jpeg, nullptr));
    const test::ReadBack back = test::readMetadata(jpeg);
    ASSERT_TRUE(back.readable);
    EXPECT_EQ(back.value("Exif.Image.Make"), "Lumicam");
    EXPECT_EQ(back.value("Exif.Image.Model"), "LC-1 Mark II");
    EXPECT_EQ(back.value("Exif.Image.Artist"), "Ada Example");
    EXPECT_EQ(back.value("Exif.Image.Copyright"), "(c) 2026 Ada Example");
    EXPECT_EQ(back.value("Exif.Photo.DateTimeOriginal"), "2026:05:17 09:41:07");
    EXPECT_EQ(back.value("Exif.Photo.LensModel"), "Lumi 35mm F1.8");
    EXPECT_EQ(back.value("Exif.Photo.ExposureTime"), "1/250");
    EXPECT_EQ(back.value("Exif.Image.Orientation"), "1");
    // Upright now: 40 wide, 60 high.
    EXPECT_EQ(back.value("Exif.Photo.PixelXDimension"), "40");
    EXPECT_EQ(back.value("Exif.Photo.PixelYDimension"), "60");
    EXPECT_FALSE(back.hasThumbnail);
    EXPECT_FALSE(back.hasGps());
    EXPECT_EQ(back.iccProfile, metadata.iccProfile());
    // And the file still reads as the photo, upright.
    ImageLoader::Result again = ImageLoader::loadData(jpeg);
    ASSERT_TRUE(again.ok()) << again.message.toStdString();
    EXPECT_EQ(again.image.orientation(), kOrientationUp);
    EXPECT_EQ(again.image.pixels().size(), QSize(40, 60));

    // Kept on request.
    ASSERT_TRUE(encodeWithMetadata(loaded.image, "jpeg", 95, metadata, true, &jpeg, nullptr));
    const test::ReadBack withGps = test::readMetadata(jpeg);
    EXPECT_TRUE(withGps.hasGps());
    EXPECT_EQ(withGps.value("Exif.GPSInfo.GPSLatitudeRef"), "N");
    EXPECT_FALSE(withGps.hasThumbnail);
}

TEST(PhotoMetadata, APhotoWithoutMetadataIsWrittenAsItIs) {
    const QByteArray source = test::encode(test::testPhoto(30, 20), "jpeg");
    const PhotoMetadata metadata = PhotoMetadata::fromData(source);
    EXPECT_TRUE(metadata.isEmpty());
    const Image image(test::testPhoto(30, 20));
    QByteArray jpeg;
    ASSERT_TRUE(encodeWithMetadata(image, "jpeg", 95, metadata, false, &jpeg, nullptr));
    EXPECT_EQ(jpeg, plainJpeg(image));
    EXPECT_TRUE(PhotoMetadata::fromData(test::encode(test::testPhoto(30, 20), "png")).isEmpty());
}

TEST(PhotoMetadata, UnreadableOrUnwritableMetadataIsLeftOutAndLogged) {
    test::LogCapture log;
    // Bytes exiv2 does not know as a photo; a file that is not there.
    EXPECT_TRUE(PhotoMetadata::fromData("not a photo at all").isEmpty());
    EXPECT_TRUE(PhotoMetadata::fromFile(QStringLiteral("/nonexistent/photo.jpg")).isEmpty());
    EXPECT_GE(log.lines().size(), 2);

    // A JPEG cut off in its metadata: whatever exiv2 makes of it, nothing is thrown.
    const QByteArray camera = test::cameraJpeg(60, 40);
    const PhotoMetadata cut = PhotoMetadata::fromData(camera.left(200));
    Q_UNUSED(cut);

    // Metadata that cannot go into what is not a JPEG: an error, the bytes untouched.
    const PhotoMetadata metadata = PhotoMetadata::fromData(camera);
    QByteArray notJpeg("plain text");
    QString error;
    EXPECT_FALSE(metadata.writeInto(notJpeg, false, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(notJpeg, "plain text");
}

}  // namespace
}  // namespace lumigrave
