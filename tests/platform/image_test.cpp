#include "platform/image.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/image_compare.h"
#include "support/image_files.h"

namespace lumigrave {
namespace {

TEST(Image, SizeIsInPointsWithTheOrientationApplied) {
    const QImage pixels(300, 200, QImage::Format_RGB32);
    EXPECT_EQ(Image(pixels).size(), (Size{300, 200}));
    EXPECT_EQ(Image(pixels, 2).size(), (Size{150, 100}));
    EXPECT_EQ(Image(pixels, 2, kOrientationRight).size(), (Size{100, 150}));
    EXPECT_EQ(Image(pixels, 1, kOrientationDownMirrored).size(), (Size{300, 200}));
    EXPECT_EQ(Image(pixels, 1, 42).orientation(), kOrientationUp);
    EXPECT_TRUE(Image().isNull());
    EXPECT_EQ(Image().size(), Size{});
}

TEST(Image, CopiesShareTheirPixelsAndIdentity) {
    const Image a(test::testPhoto(10, 10));
    const Image b = a;
    const Image c(a.pixels());
    EXPECT_TRUE(a.isSameImage(b));
    EXPECT_FALSE(a.isSameImage(c));
    EXPECT_EQ(a.pixels().constBits(), b.pixels().constBits());
}

TEST(Image, FormatsTheRendererCannotDrawOnBecome32BitRgb) {
    QImage grey(4, 4, QImage::Format_Grayscale8);
    grey.fill(100);
    EXPECT_EQ(Image(grey).pixels().format(), QImage::Format_RGB32);
    EXPECT_EQ(qRed(Image(grey).pixels().pixel(1, 1)), 100);
    QImage mono(8, 8, QImage::Format_Mono);
    mono.fill(1);
    EXPECT_EQ(Image(mono).pixels().format(), QImage::Format_RGB32);
    QImage deep(4, 4, QImage::Format_RGBA64);
    deep.fill(QColor(10, 20, 30, 128));
    EXPECT_EQ(Image(deep).pixels().format(), QImage::Format_ARGB32_Premultiplied);
}

TEST(Image, WritesUprightPngAndJpeg) {
    QImage stored = test::testPhoto(30, 20);
    const Image turned(stored, 1, kOrientationLeft);
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    QString error;
    ASSERT_TRUE(turned.write(png, "png", -1, &error)) << error.toStdString();
    const QImage back = QImage::fromData(png.data(), "png");
    EXPECT_TRUE(
        test::imagesMatch(back.convertToFormat(QImage::Format_RGB32), turned.uprightPixels()));

    QBuffer low, high;
    low.open(QIODevice::WriteOnly);
    high.open(QIODevice::WriteOnly);
    const Image photo(test::testPhoto(200, 200));
    ASSERT_TRUE(photo.write(low, "jpeg", 20, nullptr));
    ASSERT_TRUE(photo.write(high, "jpeg", 95, nullptr));
    EXPECT_LT(low.size(), high.size());
}

TEST(Image, SavingIsAllOrNothing) {
    QTemporaryDir dir;
    const Image photo(test::testPhoto(50, 50));
    const QString path = dir.filePath("photo.png");
    QString error;
    ASSERT_TRUE(photo.save(path, "png", -1, &error));
    EXPECT_FALSE(Image().save(dir.filePath("none.png"), "png", -1, &error));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("none.png")));
    EXPECT_FALSE(photo.save(dir.filePath("missing/photo.png"), "png", -1, &error));
    EXPECT_FALSE(error.isEmpty());
    // An unknown format fails without touching the file that is there.
    const QByteArray before = test::readFile(path);
    EXPECT_FALSE(photo.save(path, "nosuchformat", -1, &error));
    EXPECT_EQ(test::readFile(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"photo.png"});
}

}  // namespace
}  // namespace lumigrave
