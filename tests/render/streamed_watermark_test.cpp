#include "render/streamed_watermark.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include "model/layout_type.h"
#include "render/emboss_composer.h"
#include "support/failing_device.h"
#include "support/file_size_limit.h"
#include "support/image_compare.h"
#include "support/image_files.h"
#include "support/log_capture.h"
#include "support/presets.h"

namespace lumigrave {
namespace {

QImage decode(const QByteArray& jpeg) {
    return QImage::fromData(jpeg, "jpeg").convertToFormat(QImage::Format_RGB32);
}

Embosser preset(int layout) {
    Embosser e = test::renderPreset(layout);
    if (layout == kLayoutCenter) {
        e.setWidth_ratio(0.8f);
    }
    return e;
}

class StreamedWatermark : public testing::TestWithParam<int> {};

// Band by band, the picture is the one the whole-image path makes: the same decoder, the
// same backdrop, the same blend and the same encoder settings.
TEST_P(StreamedWatermark, MatchesTheWholeImagePath) {
    const Embosser e = preset(GetParam());
    const QByteArray photo = test::encode(test::testPhoto(901, 677), "jpeg", 92);
    QBuffer streamed;
    streamed.open(QIODevice::WriteOnly);
    QString error;
    ASSERT_EQ(embossJpegStream(e, photo, streamed, 90, &error), StreamResult::Done)
        << error.toStdString();

    const Image original(decode(photo));
    const Image whole = EmbossComposer::embossedImageForEmbosser(e, original);
    QBuffer encoded;
    encoded.open(QIODevice::WriteOnly);
    ASSERT_TRUE(whole.write(encoded, "jpeg", 90, &error));

    const QImage a = decode(streamed.data());
    const QImage b = decode(encoded.data());
    ASSERT_EQ(a.size(), QSize(901, 677));
    EXPECT_TRUE(test::imagesMatch(a, b, 3));
    // And the watermark is really there.
    EXPECT_FALSE(test::imagesMatch(a, original.pixels(), 10));
}

INSTANTIATE_TEST_SUITE_P(Layouts, StreamedWatermark,
                         testing::Values(int(kLayoutCenter), int(kLayoutBottomRight),
                                         int(kLayoutTileParallel), int(kLayoutTileInterlace)));

TEST(StreamedWatermarkInput, GreyJpegsAreLeftToTheGeneralPath) {
    QImage grey = test::testPhoto(500, 400).convertToFormat(QImage::Format_Grayscale8);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QString error;
    EXPECT_EQ(embossJpegStream(Embosser(), test::encode(grey, "jpeg"), out, 90, &error),
              StreamResult::Declined);
    EXPECT_EQ(out.size(), 0);
    EXPECT_TRUE(error.isEmpty());
}

TEST(StreamedWatermarkInput, DamagedDataFailsWithAMessage) {
    test::LogCapture quiet;
    const QByteArray photo = test::encode(test::testPhoto(800, 600), "jpeg");
    for (const QByteArray& bad :
         {photo.left(photo.size() / 2), photo.left(300), QByteArray("xx")}) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QString error;
        EXPECT_EQ(embossJpegStream(Embosser(), bad, out, 90, &error), StreamResult::Failed);
        EXPECT_TRUE(error.startsWith(QStringLiteral("The image file is "))) << error.toStdString();
    }
}

// A device that stops taking bytes (a full disk) at the first buffer, in the middle of
// the photo or just before its end: the stream fails at once, saying so.
TEST(StreamedWatermarkOutput, ADeviceThatStopsTakingBytesFailsTheStreamWithItsError) {
    const QByteArray photo = test::encode(test::testPhoto(1200, 900), "jpeg", 92);
    QBuffer whole;
    whole.open(QIODevice::WriteOnly);
    QString error;
    ASSERT_EQ(embossJpegStream(Embosser(), photo, whole, 90, &error), StreamResult::Done);
    for (const qint64 limit : {qint64(0), qint64(1000), whole.size() / 2, whole.size() - 1}) {
        test::FailingDevice device(limit);
        device.open();
        error.clear();
        EXPECT_EQ(embossJpegStream(Embosser(), photo, device, 90, &error), StreamResult::Failed)
            << limit;
        EXPECT_EQ(error, QStringLiteral("The photo cannot be written: %1.")
                             .arg(QString::fromLatin1(test::FailingDevice::kError)))
            << limit;
        EXPECT_EQ(device.accepted(), limit);
    }
}

class StreamedFile : public testing::Test {
  protected:
    QString target() const { return dir_.filePath(QStringLiteral("watermarked.jpg")); }
    QStringList files() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir_;
    const QByteArray photo_ = test::encode(test::testPhoto(1200, 900), "jpeg", 92);
};

TEST_F(StreamedFile, AppearsWholeWhenAllWentWell) {
    QString error;
    ASSERT_EQ(embossJpegFile(Embosser(), photo_, target(), 90, &error), StreamResult::Done)
        << error.toStdString();
    EXPECT_EQ(decode(test::readFile(target())).size(), QSize(1200, 900));
    EXPECT_EQ(files(), QStringList{"watermarked.jpg"});
}

// The disk fills up part-way: no half photo is left under the name, nor any temporary
// file beside it, and a photo that was there already is kept as it was.
TEST_F(StreamedFile, AFailedWriteLeavesNoFileAndKeepsTheOldOne) {
    for (const bool existing : {false, true}) {
        if (existing) {
            ASSERT_TRUE(test::writeFile(target(), "the old photo"));
        }
        QString error;
        StreamResult result;
        {
            test::FileSizeLimit fullDisk(40'000);
            result = embossJpegFile(Embosser(), photo_, target(), 90, &error);
        }
        EXPECT_EQ(result, StreamResult::Failed);
        EXPECT_TRUE(error.contains(QStringLiteral("cannot be written: File too large")))
            << error.toStdString();
        if (existing) {
            EXPECT_EQ(test::readFile(target()), QByteArray("the old photo"));
            EXPECT_EQ(files(), QStringList{"watermarked.jpg"});
        } else {
            EXPECT_TRUE(files().isEmpty()) << files().join(", ").toStdString();
        }
    }
}

TEST_F(StreamedFile, ADeclinedOrDamagedPhotoLeavesNoFile) {
    QImage grey = test::testPhoto(500, 400).convertToFormat(QImage::Format_Grayscale8);
    QString error;
    EXPECT_EQ(embossJpegFile(Embosser(), test::encode(grey, "jpeg"), target(), 90, &error),
              StreamResult::Declined);
    EXPECT_EQ(embossJpegFile(Embosser(), photo_.left(photo_.size() / 2), target(), 90, &error),
              StreamResult::Failed);
    EXPECT_TRUE(error.startsWith(QStringLiteral("The image file is "))) << error.toStdString();
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(StreamedFile, AFolderThatCannotBeWrittenIsNamed) {
    QString error;
    const QString path = dir_.filePath(QStringLiteral("missing/watermarked.jpg"));
    EXPECT_EQ(embossJpegFile(Embosser(), photo_, path, 90, &error), StreamResult::Failed);
    EXPECT_TRUE(error.startsWith(path + QStringLiteral(" cannot be written: ")))
        << error.toStdString();
}

}  // namespace
}  // namespace lumigrave
