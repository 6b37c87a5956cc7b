#include "render/overlay_blend.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <cmath>

namespace lumigrave {
namespace {

// Written from the blend's definition, independently of the implementation: multiply
// where the backdrop is dark, screen where it is light.
double overlayReference(double source, double backdrop) {
    if (backdrop <= 0.5) {
        return source * (2 * backdrop);  // multiply with 2b
    }
    const double screenWith = 2 * backdrop - 1;
    return source + screenWith - source * screenWith;  // screen with 2b − 1
}

TEST(OverlayBlend, MatchesTheBlendDefinitionOnEveryLevelPair) {
    for (int b = 0; b < 256; ++b) {
        for (int a = 0; a < 256; ++a) {
            const double expected = overlayReference(a / 255.0, b / 255.0) * 255;
            ASSERT_LE(std::abs(overlayLevel(a, b) - expected), 0.5 + 1e-9) << a << " " << b;
        }
    }
}

TEST(OverlayBlend, MidGreyLeavesThePhotoWithinOneLevel) {
    for (int a = 0; a < 256; ++a) {
        EXPECT_LE(std::abs(overlayLevel(a, 128) - a), 1) << a;
        EXPECT_LE(std::abs(overlayLevel(a, 127) - a), 1) << a;
    }
}

TEST(OverlayBlend, TheKernelAgreesWithTheReferenceOnSampledPixels) {
    QRandomGenerator random(42);
    const int width = 257, height = 31;  // odd sizes: no row is a multiple of any vector width
    QImage photo(width, height, QImage::Format_RGB32);
    QImage canvas(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            photo.setPixel(x, y, 0xFF000000u | (random.generate() & 0xFFFFFF));
            const int level = y < 4 ? 128 : int(random.bounded(256));
            canvas.setPixel(x, y, qRgb(level, level, level));
        }
    }
    const QImage backdrop = canvas.copy();
    ASSERT_TRUE(overlayPhotoOntoGreyCanvas(photo, canvas));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb a = photo.pixel(x, y);
            const double b = qBlue(backdrop.pixel(x, y)) / 255.0;
            const QRgb out = canvas.pixel(x, y);
            EXPECT_LE(std::abs(qRed(out) - overlayReference(qRed(a) / 255.0, b) * 255), 1.0);
            EXPECT_LE(std::abs(qGreen(out) - overlayReference(qGreen(a) / 255.0, b) * 255), 1.0);
            EXPECT_LE(std::abs(qBlue(out) - overlayReference(qBlue(a) / 255.0, b) * 255), 1.0);
            EXPECT_EQ(qAlpha(out), 255);
        }
    }
}

TEST(OverlayBlend, RefusesMismatchedImages) {
    QImage photo(4, 4, QImage::Format_RGB32);
    QImage small(3, 4, QImage::Format_RGB32);
    QImage alpha(4, 4, QImage::Format_ARGB32_Premultiplied);
    EXPECT_FALSE(overlayPhotoOntoGreyCanvas(photo, small));
    EXPECT_FALSE(overlayPhotoOntoGreyCanvas(alpha, photo));
}

}  // namespace
}  // namespace lumigrave
