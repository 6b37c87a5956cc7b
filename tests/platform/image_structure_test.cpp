#include "platform/image_structure.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "support/image_files.h"

namespace lumigrave {
namespace {

TEST(JpegStructure, ReadsTheDeclaredSizeOfJpegPngAndGif) {
    EXPECT_EQ(declaredPixelSize(test::encode(test::testPhoto(123, 45), "jpeg")), QSize(123, 45));
    EXPECT_EQ(declaredPixelSize(test::encode(test::testPhoto(123, 45), "png")), QSize(123, 45));
    EXPECT_EQ(declaredPixelSize(test::jpegClaimingSize(65535, 2)), QSize(65535, 2));
    EXPECT_EQ(declaredPixelSize(test::pngClaimingSize(0xFFFFFFFF, 1)), QSize(INT_MAX, 1));
    // A GIF declares its logical screen, which is what it decodes to whatever its frames
    // say; a screen with a side of 0 leaves the size to the decoder.
    EXPECT_EQ(declaredPixelSize(QByteArray("GIF89a\x2f\x2a\x00\x01", 10)), QSize(10799, 256));
    EXPECT_EQ(declaredPixelSize(QByteArray("GIF87a\x01\x00\x01\x00", 10)), QSize(1, 1));
    EXPECT_FALSE(declaredPixelSize(QByteArray("GIF89a\x00\x00\x05\x00", 10)).isValid());
    EXPECT_FALSE(declaredPixelSize(QByteArray("GIF89a\x05\x00\x05", 9)).isValid());
    EXPECT_FALSE(declaredPixelSize(QByteArray("GIF90a\x05\x00\x05\x00", 10)).isValid());
}

TEST(JpegStructure, EveryCutAndEveryScrambledByteIsHandled) {
    const QByteArray jpeg = test::encode(test::testPhoto(40, 30), "jpeg");
    const QByteArray png = test::encode(test::testPhoto(40, 30), "png");
    for (qsizetype cut = 0; cut < jpeg.size(); ++cut) {
        const QByteArray part = jpeg.left(cut);
        EXPECT_FALSE(jpegIsComplete(part) && cut < jpeg.size() - 1 && cut > 2) << cut;
        declaredPixelSize(part);
    }
    for (qsizetype cut = 0; cut < png.size(); ++cut) {
        declaredPixelSize(png.left(cut));
    }
    QRandomGenerator random(7);
    for (int round = 0; round < 2000; ++round) {
        QByteArray scrambled = jpeg;
        for (int i = 0; i < 4; ++i) {
            scrambled[random.bounded(int(scrambled.size()))] = char(random.bounded(256));
        }
        jpegIsComplete(scrambled);
        declaredPixelSize(scrambled);
    }
    EXPECT_TRUE(jpegIsComplete(jpeg));
}

}  // namespace
}  // namespace lumigrave
