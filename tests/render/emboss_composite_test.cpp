#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>

#include "model/layout_type.h"
#include "render/emboss_composer.h"
#include "support/image_compare.h"
#include "support/image_files.h"
#include "support/overlay_reference.h"
#include "support/presets.h"
#include "support/vector_kernels.h"

namespace lumigrave {
namespace {

using test::overlayGap;
using test::overlayReference;
using test::presetWith;

Image uniform(int width, int height, int level, float scale = 1) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(level, level, level));
    return Image(image, scale);
}

Embosser centred(float opacity, float angle = 0) {
    return presetWith({.layout = kLayoutCenter, .opacity = opacity, .angle = angle});
}

TEST(Composite, APresetWithoutTextLeavesThePhotoWithinOneLevel) {
    const Embosser e = presetWith({.text = QString()});
    const Image photo(test::testPhoto(400, 300));
    const Image result = EmbossComposer::embossedImageForEmbosser(e, photo);
    ASSERT_FALSE(result.isNull());
    EXPECT_TRUE(test::imagesMatch(result.pixels(), photo.pixels(), 1));
}

TEST(Composite, NoWatermarkImageLeavesThePhotoAloneAndNoPhotoGivesNoImage) {
    const Image photo(test::testPhoto(400, 300));
    EXPECT_TRUE(test::imagesMatch(
        EmbossComposer::embossedImageForEmbosser(centred(0.1f), photo, Image()).pixels(),
        photo.pixels(), 1));
    EXPECT_TRUE(EmbossComposer::embossedImageForEmbosser(centred(1), Image(), Image()).isNull());
}

class OverlayOverWatermark : public testing::TestWithParam<int> {};

// A uniform watermark covering the whole photo at full opacity makes the backdrop that
// level everywhere; the result is the Overlay of the photo over it, channel by channel.
TEST_P(OverlayOverWatermark, FollowsTheBlendPerChannel) {
    const int level = GetParam();
    const Image photo(test::testPhoto(200, 100));
    const Image result =
        EmbossComposer::embossedImageForEmbosser(centred(1), photo, uniform(200, 100, level));
    const QImage& out = result.pixels();
    for (int y = 0; y < 100; y += 7) {
        for (int x = 0; x < 200; x += 5) {
            EXPECT_LE(overlayGap(out.pixel(x, y), photo.pixels().pixel(x, y), level / 255.0), 1.0)
                << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BackdropLevels, OverlayOverWatermark,
                         testing::Values(0, 40, 127, 128, 190, 255));

TEST(Composite, APartialOpacityMixesTheWatermarkWithTheGrey) {
    const Image photo = uniform(100, 100, 100);
    const Image result =
        EmbossComposer::embossedImageForEmbosser(centred(0.5f), photo, uniform(100, 100, 0));
    // Backdrop 0.5·0 + 0.5·128 = 64: the photo is multiplied by 2·64/255.
    EXPECT_NEAR(qRed(result.pixels().pixel(50, 50)), 100 * 2 * 64 / 255.0, 1.5);
}

TEST(Composite, ACornerWatermarkLandsWhereThePlacementSays) {
    // A dark 40 × 20 watermark, bottom right with 10 % margins, on a mid-grey 200 × 100
    // photo: y grows upwards, so "bottom" means the last rows of the image.
    const Embosser e = presetWith({.layout = kLayoutBottomRight,
                                   .opacity = 1,
                                   .marginHorizontal = 0.1f,
                                   .marginVertical = 0.1f});
    const Image result =
        EmbossComposer::embossedImageForEmbosser(e, uniform(200, 100, 128), uniform(40, 20, 0));
    const QImage& out = result.pixels();
    // Origin (200 − 40 − 20, 10) in the y-up space: pixels x 140..179, y 70..89 from the top.
    EXPECT_LT(qRed(out.pixel(160, 80)), 10);
    EXPECT_GT(qRed(out.pixel(160, 60)), 120);
    EXPECT_GT(qRed(out.pixel(160, 95)), 120);
    EXPECT_GT(qRed(out.pixel(130, 80)), 120);
    EXPECT_GT(qRed(out.pixel(185, 80)), 120);
}

TEST(Composite, APositiveAngleTurnsTheWatermarkCounterClockwise) {
    // A bar, dark on its right half, turned 90°: its right end goes up.
    QImage bar(80, 10, QImage::Format_RGB32);
    bar.fill(qRgb(128, 128, 128));
    QPainter(&bar).fillRect(40, 0, 40, 10, QColor(0, 0, 0));
    const Image result = EmbossComposer::embossedImageForEmbosser(
        centred(1, 90), uniform(200, 200, 128), Image(bar, 1));
    const QImage& out = result.pixels();
    EXPECT_LT(qRed(out.pixel(100, 75)), 20);    // above the centre: dark
    EXPECT_GT(qRed(out.pixel(100, 125)), 120);  // below: the grey half
    EXPECT_GT(qRed(out.pixel(75, 100)), 120);   // nothing left of the centre any more
}

TEST(Composite, AngleZeroIsDrawnPixelExactWhileOtherAnglesTurn) {
    // A one-pixel checkerboard watermark survives only an untransformed, unresampled draw.
    QImage checker(40, 40, QImage::Format_RGB32);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        }
    }
    const Image photo = uniform(100, 100, 128);
    const QImage straight =
        EmbossComposer::embossedImageForEmbosser(centred(1, 0), photo, Image(checker, 1)).pixels();
    // Origin (30, 30): the checkerboard's pixels land one to one.
    for (int y = 30; y < 70; ++y) {
        for (int x = 30; x < 70; ++x) {
            const int expected = overlayReference(128 / 255.0, (x + y) % 2 ? 1.0 : 0.0) * 255 + 0.5;
            ASSERT_NEAR(qRed(straight.pixel(x, y)), expected, 1) << x << "," << y;
        }
    }
    // Any other angle goes through the rotation, and resampling softens the pattern.
    const QImage turned =
        EmbossComposer::embossedImageForEmbosser(centred(1, 1), photo, Image(checker, 1)).pixels();
    EXPECT_FALSE(test::imagesMatch(straight, turned, 10));
}

TEST(Composite, KeepsThePhotosScale) {
    const Image photo(test::testPhoto(400, 300), 2);
    const Image result = EmbossComposer::embossedImageForEmbosser(Embosser(), photo);
    EXPECT_EQ(result.scale(), 2.0f);
    EXPECT_EQ(result.size(), (Size{200, 150}));
    EXPECT_EQ(result.pixels().size(), QSize(400, 300));
}

TEST(Composite, TiledWatermarksCoverThePhoto) {
    Embosser e = presetWith({.layout = kLayoutTileInterlace,
                             .widthRatio = 0.2f,
                             .opacity = 1,
                             .angle = 30,
                             .marginHorizontal = 0.05f,
                             .marginVertical = 0.05f});
    const Image photo = uniform(600, 400, 128);
    const Image result = EmbossComposer::embossedImageForEmbosser(e, photo);
    // Every quarter of the photo holds relief: pixels away from the flat level.
    const QImage& out = result.pixels();
    for (QRect quarter : {QRect(0, 0, 300, 200), QRect(300, 0, 300, 200), QRect(0, 200, 300, 200),
                          QRect(300, 200, 300, 200)}) {
        int marked = 0;
        for (int y = quarter.top(); y <= quarter.bottom(); y += 2) {
            for (int x = quarter.left(); x <= quarter.right(); x += 2) {
                marked += std::abs(qRed(out.pixel(x, y)) - 128) > 20;
            }
        }
        EXPECT_GT(marked, 50) << quarter.x() << "," << quarter.y();
    }
}

TEST(Composite, APhotoHeldElsewhereIsNeverChangedAndAHandedOverOneIsReused) {
    const QImage original = test::testPhoto(300, 200);
    const Image held(original.copy());
    const QImage before = held.pixels().copy();
    const Image relief = EmbossComposer::embossedTextForEmbosser(Embosser(), held);
    const Image fromCopy = EmbossComposer::embossedImageForEmbosser(Embosser(), held, relief);
    EXPECT_TRUE(test::imagesMatch(held.pixels(), before));

    Image handed(original.copy());
    const uchar* bits = handed.pixels().constBits();
    const Image inPlace =
        EmbossComposer::embossedImageForEmbosser(Embosser(), std::move(handed), relief);
    EXPECT_EQ(inPlace.pixels().constBits(), bits);
    EXPECT_TRUE(test::imagesMatch(inPlace.pixels(), fromCopy.pixels()));
}

// The whole render, the blend and the sampler both, gives the same photo on either path;
// large enough for the two-thread blend.
TEST(Composite, TheVectorAndScalarKernelsRenderTheSamePhoto) {
    LUMIGRAVE_SKIP_WITHOUT_AVX2();
    const Image photo(test::testPhoto(1300, 900));
    for (const Embosser& e : {centred(0.8f, 17), test::renderPreset(kLayoutTileInterlace, 30)}) {
        const Image relief = EmbossComposer::embossedTextForEmbosser(e, photo);
        Image vector, scalar;
        {
            test::VectorKernels on(true);
            vector = EmbossComposer::embossedImageForEmbosser(e, photo, relief);
        }
        {
            test::VectorKernels off(false);
            scalar = EmbossComposer::embossedImageForEmbosser(e, photo, relief);
        }
        EXPECT_TRUE(test::imagesMatch(vector.pixels(), scalar.pixels())) << e.layoutType();
        EXPECT_FALSE(test::imagesMatch(vector.pixels(), photo.pixels(), 10));
    }
}

}  // namespace
}  // namespace lumigrave
