#include <gtest/gtest.h>

#include "platform/screen.h"
#include "render/emboss_composer.h"
#include "support/image_files.h"
#include "support/log_capture.h"
#include "support/presets.h"

namespace lumigrave {
namespace {

class Relief : public testing::TestWithParam<float> {
  protected:
    void SetUp() override { Screen::setMainScreenScale(GetParam()); }
    void TearDown() override { Screen::setMainScreenScale(1); }
};

Embosser withText(const QString& text) {
    return test::presetWith({.text = text});
}

TEST_P(Relief, IsThePaddedTextInWholePixelsWithAFlatFrame) {
    const float s = GetParam();
    const Image photo(test::testPhoto(800, 600));
    const Embosser e = withText(QStringLiteral("\u00A9 lumigrave.app"));
    const Size text = EmbossComposer::sizeForEmbosser(e, photo.size(), nullptr);
    const Image relief = EmbossComposer::embossedTextForEmbosser(e, photo);
    ASSERT_FALSE(relief.isNull());
    const QImage& px = relief.pixels();
    EXPECT_EQ(px.width(), int((text.width + 2) * s));
    EXPECT_EQ(px.height(), int((text.height + 2) * s));
    EXPECT_EQ(relief.scale(), s);
    EXPECT_NEAR(relief.size().width, text.width + 2, 1.0f / s);
    EXPECT_NEAR(relief.size().height, text.height + 2, 1.0f / s);

    // The outer frame and the whole flat background are exactly 127.
    int flat = 0;
    for (int y = 0; y < px.height(); ++y) {
        for (int x = 0; x < px.width(); ++x) {
            const QRgb p = px.pixel(x, y);
            ASSERT_EQ(qRed(p), qGreen(p));
            ASSERT_EQ(qGreen(p), qBlue(p));
            if (x == 0 || y == 0 || x == px.width() - 1 || y == px.height() - 1) {
                ASSERT_EQ(qRed(p), 127) << x << "," << y;
            }
            flat += qRed(p) == 127;
        }
    }
    EXPECT_GT(flat, px.width() * px.height() / 2);  // text is mostly flat too
}

TEST_P(Relief, AVerticalStrokeIsLitOnItsLeftEdgeAndShadedOnItsRight) {
    const Image photo(test::testPhoto(400, 300));
    const Image relief = EmbossComposer::embossedTextForEmbosser(withText("I"), photo);
    const QImage& px = relief.pixels();
    const int y = px.height() / 2;
    int first = -1, last = -1;
    for (int x = 0; x < px.width(); ++x) {
        if (qRed(px.pixel(x, y)) != 127) {
            last = x;
            if (first < 0) {
                first = x;
            }
        }
    }
    ASSERT_GE(first, 0);
    EXPECT_GT(qRed(px.pixel(first, y)), 127);
    EXPECT_LT(qRed(px.pixel(last, y)), 127);
    int brightest = 0, darkest = 255;
    for (int x = 0; x < px.width(); ++x) {
        brightest = std::max(brightest, qRed(px.pixel(x, y)));
        darkest = std::min(darkest, qRed(px.pixel(x, y)));
    }
    EXPECT_EQ(brightest, 254);  // a sharp black-to-white edge facing the light
    EXPECT_EQ(darkest, 0);
}

TEST_P(Relief, NoTextGivesAFlatReliefOfTwoByTwoPoints) {
    const float s = GetParam();
    const Image relief = EmbossComposer::embossedTextForEmbosser(withText(QString()),
                                                                 Image(test::testPhoto(400, 300)));
    ASSERT_FALSE(relief.isNull());
    EXPECT_EQ(relief.pixels().size(), QSize(int(2 * s), int(2 * s)));
    EXPECT_EQ(relief.size(), (Size{2, 2}));
    for (int y = 0; y < relief.pixels().height(); ++y) {
        for (int x = 0; x < relief.pixels().width(); ++x) {
            EXPECT_EQ(relief.pixels().pixel(x, y), qRgb(127, 127, 127));
        }
    }
}

TEST_P(Relief, AOnePixelBufferIsAOnePixelImage) {
    const uint8_t pixel[4] = {10, 20, 30, 0};
    const Image image = EmbossComposer::bitmapRGBA8ToImage(pixel, 1, 1);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixels().size(), QSize(1, 1));
    EXPECT_EQ(image.pixels().pixel(0, 0), qRgb(10, 20, 30));  // opaque: the padding is skipped
    EXPECT_EQ(image.size(), (Size{1 / GetParam(), 1 / GetParam()}));
}

INSTANTIATE_TEST_SUITE_P(ScreenScale, Relief, testing::Values(1.0f, 2.0f));

TEST(BitmapToImage, MissingOrEmptyBuffersYieldNoImage) {
    test::LogCapture log;
    const uint8_t pixel[4] = {};
    EXPECT_TRUE(EmbossComposer::bitmapRGBA8ToImage(nullptr, 1, 1).isNull());
    EXPECT_TRUE(EmbossComposer::bitmapRGBA8ToImage(pixel, 0, 1).isNull());
    EXPECT_TRUE(EmbossComposer::bitmapRGBA8ToImage(pixel, 1, -1).isNull());
    EXPECT_EQ(log.lines().size(), 3);
}

}  // namespace
}  // namespace lumigrave
