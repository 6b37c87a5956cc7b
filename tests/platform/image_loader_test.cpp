// Every image file is untrusted: bad ones are refused with a named error, never a crash.
#include "platform/image_loader.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include "support/image_compare.h"
#include "support/image_files.h"
#include "support/log_capture.h"

namespace lumigrave {
namespace {

using Error = ImageLoader::Error;
using test::encode;
using test::testPhoto;

class ImageLoading : public testing::Test {
  protected:
    void SetUp() override { ImageLoader::installAllocationLimit(); }
    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(test::writeFile(path, bytes));
        return path;
    }
    QTemporaryDir dir_;
    test::LogCapture quiet_;  // the decoders complain about every bad file
};

TEST_F(ImageLoading, APhotoLoadsUprightAtScaleOneIn32BitRgb) {
    const auto result =
        ImageLoader::loadFile(file("photo.jpg", encode(testPhoto(640, 480), "jpeg")));
    ASSERT_TRUE(result.ok()) << result.message.toStdString();
    EXPECT_EQ(result.image.size(), (Size{640, 480}));
    EXPECT_EQ(result.image.scale(), 1.0f);
    EXPECT_EQ(result.image.orientation(), kOrientationUp);
    EXPECT_EQ(result.image.pixels().format(), QImage::Format_RGB32);
}

TEST_F(ImageLoading, FilesThatAreNotImagesAreNamedAsSuch) {
    for (const QByteArray& bytes : {QByteArray(), QByteArray("holiday notes\n"), QByteArray("GIF8"),
                                    QByteArray(4096, '\0')}) {
        const auto result = ImageLoader::loadFile(file("notes.jpg", bytes));
        EXPECT_EQ(result.error, Error::NotAnImage) << bytes.size();
        EXPECT_TRUE(result.image.isNull());
        EXPECT_FALSE(result.message.isEmpty());
    }
}

TEST_F(ImageLoading, MissingOrUnopenableFilesCannotBeOpened) {
    EXPECT_EQ(ImageLoader::loadFile(dir_.filePath("missing.jpg")).error, Error::CannotOpen);
    EXPECT_EQ(ImageLoader::loadFile(dir_.path()).error, Error::CannotOpen);
    EXPECT_EQ(ImageLoader::loadResource("images/no-such", "JPG").error, Error::CannotOpen);
}

TEST_F(ImageLoading, TruncatedJpegsAreRefusedNotShownHalfGrey) {
    const QByteArray whole = encode(testPhoto(320, 240), "jpeg");
    ASSERT_TRUE(ImageLoader::loadData(whole).ok());
    for (double part : {0.05, 0.2, 0.5, 0.9, 0.99}) {
        const auto result = ImageLoader::loadData(whole.left(qsizetype(whole.size() * part)));
        EXPECT_FALSE(result.ok()) << part;
        EXPECT_TRUE(result.image.isNull()) << part;
    }
    EXPECT_EQ(ImageLoader::loadData(whole.left(3)).error, Error::Damaged);
    // Cut just before the end marker: every scan byte is there but the end is not.
    EXPECT_EQ(ImageLoader::loadData(whole.left(whole.size() - 2)).error, Error::Damaged);
    // Bytes after the end marker are harmless.
    EXPECT_TRUE(ImageLoader::loadData(whole + QByteArray(100, 'x')).ok());
}

TEST_F(ImageLoading, TruncatedPngsAreRefused) {
    const QByteArray whole = encode(testPhoto(320, 240), "png");
    for (double part : {0.05, 0.3, 0.6, 0.95}) {
        EXPECT_FALSE(ImageLoader::loadData(whole.left(qsizetype(whole.size() * part))).ok())
            << part;
    }
}

TEST_F(ImageLoading, ProgressiveJpegsLoadWhole) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    ASSERT_TRUE(writer.write(testPhoto(200, 100)));
    EXPECT_TRUE(ImageLoader::loadData(bytes).ok());
    EXPECT_FALSE(ImageLoader::loadData(bytes.left(bytes.size() * 2 / 3)).ok());
}

TEST_F(ImageLoading, HeadersClaimingHugeSizesAreRefusedBeforeDecoding) {
    struct Case {
        quint32 width, height;
    };
    for (Case c : {Case{65535, 65535}, Case{16385, 100}, Case{100, 16385}, Case{12000, 10000}}) {
        const auto jpeg =
            ImageLoader::loadData(test::jpegClaimingSize(quint16(c.width), quint16(c.height)));
        EXPECT_EQ(jpeg.error, Error::TooLarge) << c.width << "x" << c.height;
        EXPECT_TRUE(jpeg.message.contains(QString::number(c.width))) << jpeg.message.toStdString();
        const auto png = ImageLoader::loadData(test::pngClaimingSize(c.width, c.height));
        EXPECT_EQ(png.error, Error::TooLarge) << c.width << "x" << c.height;
    }
    const auto png = ImageLoader::loadData(test::pngClaimingSize(0x7FFFFFFF, 0x7FFFFFFF));
    EXPECT_FALSE(png.ok());
    // At the limit the header is believed, and the missing pixels make it damaged.
    EXPECT_EQ(ImageLoader::loadData(test::pngClaimingSize(16384, 6000)).error, Error::Damaged);
}

// EXIF value → our orientation code.
struct ExifCase {
    quint16 exif;
    int code;
};

std::ostream& operator<<(std::ostream& out, const ExifCase& c) {
    return out << "EXIF " << c.exif;
}

class ExifOrientation : public ImageLoading, public testing::WithParamInterface<ExifCase> {};

TEST_P(ExifOrientation, BecomesTheImagesOrientationWithThePixelsUnturned) {
    const QImage stored = testPhoto(60, 40);
    const QByteArray jpeg = test::withExifOrientation(encode(stored, "jpeg", 100), GetParam().exif);
    const auto result = ImageLoader::loadData(jpeg);
    ASSERT_TRUE(result.ok()) << result.message.toStdString();
    EXPECT_EQ(result.image.orientation(), GetParam().code);
    EXPECT_EQ(result.image.pixels().size(), QSize(60, 40));
    const bool turned = Image::isTransposed(GetParam().code);
    EXPECT_EQ(result.image.size(), turned ? (Size{40, 60}) : (Size{60, 40}));

    // Turned upright, the pixels are what Qt's own EXIF handling shows.
    QBuffer buffer;
    buffer.setData(jpeg);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    EXPECT_TRUE(test::imagesMatch(result.image.uprightPixels(),
                                  reader.read().convertToFormat(QImage::Format_RGB32)));
}

INSTANTIATE_TEST_SUITE_P(AllEight, ExifOrientation,
                         testing::Values(ExifCase{1, 0}, ExifCase{3, 1}, ExifCase{8, 2},
                                         ExifCase{6, 3}, ExifCase{2, 4}, ExifCase{4, 5},
                                         ExifCase{5, 6}, ExifCase{7, 7}));

TEST_F(ImageLoading, AbsurdExifOrientationsAreIgnored) {
    for (quint16 value : {quint16(0), quint16(9), quint16(65535)}) {
        const auto result = ImageLoader::loadData(
            test::withExifOrientation(encode(testPhoto(60, 40), "jpeg"), value));
        ASSERT_TRUE(result.ok()) << value;
        EXPECT_EQ(result.image.orientation(), kOrientationUp) << value;
        EXPECT_EQ(result.image.size(), (Size{60, 40}));
    }
}

TEST_F(ImageLoading, DoubleScaleResourcesReportHalfTheirPixels) {
    const auto demo = ImageLoader::loadResource("images/water-lake@2x", "JPG");
    ASSERT_TRUE(demo.ok());
    EXPECT_EQ(demo.image.scale(), 2.0f);
    EXPECT_EQ(demo.image.size(), (Size{800, 500}));
}

// The PNG suite: every file starting with "x" is corrupt; every other one loads.
class PngSuite : public ImageLoading {
  protected:
    static QDir suite() { return QDir(QStringLiteral(LUMIGRAVE_TEST_DATA "/pngsuite")); }
    static ImageLoader::Result load(const QString& name) {
        return ImageLoader::loadFile(suite().filePath(name));
    }
};

TEST_F(PngSuite, CorruptFilesAreRefused) {
    const QStringList corrupt = suite().entryList({"x*.png"});
    ASSERT_GE(corrupt.size(), 14);
    for (const QString& name : corrupt) {
        const auto result = load(name);
        EXPECT_FALSE(result.ok()) << name.toStdString();
        EXPECT_TRUE(result.image.isNull()) << name.toStdString();
    }
}

TEST_F(PngSuite, EveryOtherFileLoadsAtItsSizeIn32BitRgb) {
    const QStringList all = suite().entryList({"*.png"});
    int loaded = 0;
    for (const QString& name : all) {
        if (name.startsWith('x')) {
            continue;
        }
        const auto result = load(name);
        ASSERT_TRUE(result.ok()) << name.toStdString() << ": " << result.message.toStdString();
        const QImage& pixels = result.image.pixels();
        EXPECT_TRUE(pixels.format() == QImage::Format_RGB32 ||
                    pixels.format() == QImage::Format_ARGB32_Premultiplied)
            << name.toStdString();
        // "sNN" files are NN pixels square, three files test odd dimensions, the rest of
        // the suite is 32 × 32.
        const int side = name.startsWith('s') ? name.mid(1, 2).toInt() : 32;
        const QSize expected = name == "cdfn2c08.png"   ? QSize(8, 32)
                               : name == "cdhn2c08.png" ? QSize(32, 8)
                               : name == "cdsn2c08.png" ? QSize(8, 8)
                                                        : QSize(side, side);
        EXPECT_EQ(pixels.size(), expected) << name.toStdString();
        ++loaded;
    }
    EXPECT_GE(loaded, 150);
}

TEST_F(PngSuite, InterlacedFilesShowTheSamePixelsAsTheirPlainTwins) {
    for (const QString& interlaced : suite().entryList({"basi*.png"})) {
        QString plain = interlaced;
        plain[3] = 'n';
        const auto a = load(interlaced);
        const auto b = load(plain);
        ASSERT_TRUE(a.ok() && b.ok()) << interlaced.toStdString();
        EXPECT_TRUE(test::imagesMatch(a.image.pixels(), b.image.pixels()))
            << interlaced.toStdString();
    }
}

TEST_F(PngSuite, DeepAndPaletteColoursComeOutRight) {
    // A 16-bit grey file and its 8-bit twin hold the same picture to within a level.
    const auto deep = load("basn0g16.png");
    ASSERT_TRUE(deep.ok());
    const QRgb corner = deep.image.pixels().pixel(0, 0);
    EXPECT_EQ(qRed(corner), qGreen(corner));
    EXPECT_EQ(qGreen(corner), qBlue(corner));
    // Transparency survives as alpha, premultiplied.
    const auto alpha = load("basn6a08.png");
    ASSERT_TRUE(alpha.ok());
    EXPECT_EQ(alpha.image.pixels().format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_LT(qAlpha(alpha.image.pixels().pixel(0, 0)), 255);
    // A palette image is expanded to its colours.
    const auto palette = load("basn3p08.png");
    ASSERT_TRUE(palette.ok());
    EXPECT_EQ(palette.image.pixels().format(), QImage::Format_RGB32);
}

}  // namespace
}  // namespace lumigrave

namespace lumigrave {
namespace {

// Photos come in more formats than JPEG and PNG: what Qt's image plug-ins read.
TEST(ImageFormats, WebpTiffAndOthersLoadThroughTheSameChecks) {
    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    for (const char* format : {"webp", "tiff", "bmp", "gif"}) {
        ASSERT_TRUE(formats.contains(format)) << format << " is not installed";
    }
    for (const char* format : {"webp", "tiff", "bmp"}) {
        const QByteArray bytes = test::encode(test::testPhoto(120, 80), format, 100);
        ASSERT_FALSE(bytes.isEmpty()) << format;
        const auto result = ImageLoader::loadData(bytes);
        ASSERT_TRUE(result.ok()) << format << ": " << result.message.toStdString();
        EXPECT_EQ(result.image.size(), (Size{120, 80})) << format;
        EXPECT_EQ(result.image.pixels().format(), QImage::Format_RGB32) << format;
        test::LogCapture quiet;
        EXPECT_FALSE(ImageLoader::loadData(bytes.left(bytes.size() / 2)).ok()) << format;
    }
}

// A one-frame GIF: the logical screen's size, then one frame of frameWidth x frameHeight
// pixels at the top left, coded as a single pixel.
QByteArray gif(quint16 screenWidth, quint16 screenHeight, quint16 frameWidth, quint16 frameHeight) {
    auto le16 = [](quint16 v) {
        QByteArray bytes(2, '\0');
        bytes[0] = char(v & 0xFF);
        bytes[1] = char(v >> 8);
        return bytes;
    };
    return QByteArray("GIF89a") + le16(screenWidth) + le16(screenHeight) +
           QByteArray("\x80\x00\x00\xff\xff\xff\x00\x00\x00", 9) + QByteArray(",\0\0\0\0", 5) +
           le16(frameWidth) + le16(frameHeight) + QByteArray("\x00\x02\x02\x44\x01\x00;", 7);
}

// The command line plans its output from the header's size, so the header must declare
// the size the GIF decodes to (the logical screen), not the size of a frame; where the
// screen leaves it open, the header declares none.
TEST(ImageFormats, AGifsHeaderDeclaresTheSizeItDecodesTo) {
    test::LogCapture quiet;
    struct Case {
        QByteArray bytes;
        QSize decoded;
        QSize declared;
    };
    // Two files a fuzzer made, for which Qt's reading of the header gives a frame's size:
    // a 10799 x 256 screen whose interlaced frame has no width (Qt says 0 x 256), and a
    // 10799 x 0 screen with two frames (Qt says 514 x 324).
    const QByteArray frameWithoutWidth = QByteArray::fromHex(
        "4749463839612f2a0001800000ffffff00000021f90401000000002c00000001000002024401003b");
    const QByteArray screenWithoutHeight = QByteArray::fromHex(
        "4749463839612f2a00000000002c0000000002024401800000ffffff00000021f90401000000002c00"
        "0000000202440001000002024401003b");
    const Case cases[] = {
        {gif(4, 4, 2, 2), QSize(4, 4), QSize(4, 4)},
        {gif(4, 4, 6, 6), QSize(4, 4), QSize(4, 4)},
        {frameWithoutWidth, QSize(10799, 256), QSize(10799, 256)},
        {screenWithoutHeight, QSize(10799, 324), QSize()},
        {gif(0, 0, 5, 7), QSize(5, 7), QSize()},
    };
    for (const Case& c : cases) {
        const auto header = ImageLoader::inspectData(c.bytes);
        const auto loaded = ImageLoader::loadData(c.bytes);
        ASSERT_TRUE(header.ok() && loaded.ok()) << c.bytes.toHex().toStdString();
        EXPECT_EQ(loaded.image.pixels().size(), c.decoded) << c.bytes.toHex().toStdString();
        EXPECT_EQ(header.pixelSize, c.declared) << c.bytes.toHex().toStdString();
    }
}

}  // namespace
}  // namespace lumigrave
