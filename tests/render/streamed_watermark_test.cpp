#include "render/streamed_watermark.h"

#include <gtest/gtest.h>

#include <QBuffer>

#include "model/layout_type.h"
#include "render/emboss_composer.h"
#include "support/image_compare.h"
#include "support/image_files.h"
#include "support/log_capture.h"

namespace lumigrave {
namespace {

QImage decode(const QByteArray& jpeg) {
    return QImage::fromData(jpeg, "jpeg").convertToFormat(QImage::Format_RGB32);
}

Embosser preset(int layout) {
    Embosser e;
    e.setLayoutType(layout);
    e.setText_angle(30);
    e.setWidth_ratio(layout == kLayoutCenter ? 0.8f : 0.25f);
    e.setMarginHorizontal(0.05f);
    e.setMarginVertical(0.08f);
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
        EXPECT_FALSE(error.isEmpty());
    }
}

}  // namespace
}  // namespace lumigrave
