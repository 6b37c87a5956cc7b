#include "render/image_resize.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <stdexcept>

#include "support/image_compare.h"
#include "support/image_files.h"

namespace lumigrave {
namespace {

TEST(ResizeWithContentMode, FitTakesTheSmallerRatioAndFillTheLarger) {
    const Image photo(QImage(3000, 2000, QImage::Format_RGB32));
    const Image fit = resizedImageWithContentMode(photo, kContentModeScaleAspectFit,
                                                  Size{1440, 1440}, kInterpolationHigh);
    EXPECT_EQ(fit.pixels().size(), QSize(1440, 960));
    EXPECT_EQ(fit.scale(), 1.0f);
    const Image fill = resizedImageWithContentMode(photo, kContentModeScaleAspectFill,
                                                   Size{1440, 1440}, kInterpolationHigh);
    EXPECT_EQ(fill.pixels().size(), QSize(2160, 1440));
}

TEST(ResizeWithContentMode, OtherModesThrowNamingTheMode) {
    const Image photo(QImage(30, 20, QImage::Format_RGB32));
    for (int mode : {0, 3, 7, -1}) {
        try {
            resizedImageWithContentMode(photo, mode, Size{10, 10}, kInterpolationHigh);
            ADD_FAILURE() << "no exception for mode " << mode;
        } catch (const std::invalid_argument& e) {
            EXPECT_EQ(std::string(e.what()), "Unsupported content mode: " + std::to_string(mode));
        }
    }
}

TEST(Resize, AQuarterTurnedPhotoComesOutUprightAtTheNewSize) {
    // Stored 2000 × 3000, shown 3000 × 2000 (orientation right: turned clockwise to show).
    QImage stored(2000, 3000, QImage::Format_RGB32);
    stored.fill(Qt::white);
    QPainter(&stored).fillRect(0, 0, 100, 100, Qt::red);  // stored top-left
    const Image photo(stored, 1, kOrientationRight);
    ASSERT_EQ(photo.size(), (Size{3000, 2000}));
    const Image resized = resizedImage(photo, Size{1500, 1000}, kInterpolationHigh);
    EXPECT_EQ(resized.pixels().size(), QSize(1500, 1000));
    EXPECT_EQ(resized.orientation(), kOrientationUp);
    // Turned clockwise, the stored top-left corner is at the top right.
    EXPECT_EQ(resized.pixels().pixel(1495, 5), qRgb(255, 0, 0));
    EXPECT_EQ(resized.pixels().pixel(5, 5), qRgb(255, 255, 255));
}

TEST(Resize, EveryOrientationMatchesTheUprightPictureScaled) {
    const QImage stored = test::testPhoto(120, 80);
    for (int orientation = 0; orientation < 8; ++orientation) {
        const Image photo(stored, 1, orientation);
        const Size half{photo.size().width / 2, photo.size().height / 2};
        const Image resized = resizedImage(photo, half, kInterpolationHigh);
        const QImage expected = photo.uprightPixels().scaled(
            int(half.width), int(half.height), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_TRUE(test::imagesMatch(resized.pixels(), expected, 0)) << orientation;
    }
}

TEST(Resize, FractionalSizesWidenToWholePixels) {
    const Image photo(QImage(300, 200, QImage::Format_RGB32));
    EXPECT_EQ(resizedImage(photo, Size{100.4f, 50.6f}, kInterpolationHigh).pixels().size(),
              QSize(101, 51));
    const Rect r = integralRect(Rect{Point{0.5f, 0.25f}, Size{1, 1}});
    EXPECT_EQ(r, (Rect{Point{0, 0}, Size{2, 2}}));
    EXPECT_EQ(integralRect(Rect{Point{-0.5f, 1}, Size{2, 3}}), (Rect{Point{-1, 1}, Size{3, 3}}));
    EXPECT_TRUE(resizedImage(photo, Size{0, 10}, kInterpolationHigh).isNull());
}

TEST(Resize, HighQualityAveragesAwayDetailTooFineToKeep) {
    // A one-pixel checkerboard reduced four times must become even grey, not a pattern
    // of whichever pixels happened to be picked.
    QImage checker(400, 400, QImage::Format_RGB32);
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 400; ++x) {
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        }
    }
    const Image small = resizedImage(Image(checker), Size{100, 100}, kInterpolationHigh);
    int darkest = 255, brightest = 0;
    for (int y = 1; y < 99; ++y) {
        for (int x = 1; x < 99; ++x) {
            darkest = std::min(darkest, qRed(small.pixels().pixel(x, y)));
            brightest = std::max(brightest, qRed(small.pixels().pixel(x, y)));
        }
    }
    EXPECT_GT(darkest, 110);
    EXPECT_LT(brightest, 145);
}

TEST(TransformForOrientation, TurnsTheStoredPixelsUprightInAYUpSpace) {
    const Size size{40, 30};
    EXPECT_EQ(transformForOrientation(kOrientationUp, size).map(QPointF(3, 4)), QPointF(3, 4));
    // Down: the origin goes to the far corner.
    const QPointF down = transformForOrientation(kOrientationDown, size).map(QPointF(0, 0));
    EXPECT_NEAR(down.x(), 40, 1e-9);
    EXPECT_NEAR(down.y(), 30, 1e-9);
    // Left: a quarter turn about the origin, then across by the width.
    const QPointF left = transformForOrientation(kOrientationLeft, size).map(QPointF(1, 0));
    EXPECT_NEAR(left.x(), 40, 1e-9);
    EXPECT_NEAR(left.y(), 1, 1e-9);
    const QPointF right = transformForOrientation(kOrientationRight, size).map(QPointF(1, 0));
    EXPECT_NEAR(right.x(), 0, 1e-9);
    EXPECT_NEAR(right.y(), 29, 1e-9);
    // Mirrored upright: x flips about the width.
    const QPointF mirrored =
        transformForOrientation(kOrientationUpMirrored, size).map(QPointF(1, 2));
    EXPECT_NEAR(mirrored.x(), 39, 1e-9);
    EXPECT_NEAR(mirrored.y(), 2, 1e-9);
    for (int o = 0; o < 8; ++o) {
        EXPECT_EQ(drawsTransposed(o), o == 2 || o == 3 || o == 6 || o == 7) << o;
    }
}

}  // namespace
}  // namespace lumigrave
