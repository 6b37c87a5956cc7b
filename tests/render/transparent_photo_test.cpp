// A photo with transparency through the one-step render: its alpha stays, and its colour
// is blended with Overlay as an opaque photo's is.
#include <gtest/gtest.h>

#include <QColorSpace>
#include <cmath>

#include "render/backdrop.h"
#include "render/emboss_composer.h"
#include "render/watermark_layer.h"
#include "support/image_files.h"
#include "support/overlay_reference.h"
#include "support/presets.h"

namespace lumigrave {
namespace {

// The test photo with alpha rising from 0 at the left edge to 255 at the right, except a
// fully transparent band and a fully opaque one.
QImage photoWithAlpha(int width, int height) {
    QImage photo = test::testPhoto(width, height).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int alpha = y < 20 ? 0 : y >= height - 20 ? 255 : 255 * x / (width - 1);
            row[x] = qRgba(qRed(row[x]), qGreen(row[x]), qBlue(row[x]), alpha);
        }
    }
    return photo;
}

// The backdrop the renderer blends over, one grey level a pixel.
QImage backdropLevels(const Embosser& e, const Image& photo, const Image& relief) {
    const GreyImage grey = GreyImage::fromImage(relief.uprightPixels());
    Backdrop backdrop(photo.pixels().width(), photo.pixels().height());
    layWatermark(backdrop, e, photo.size(), photo.scale(), relief, grey);
    return backdrop.toImage();
}

TEST(TransparentPhoto, KeepsItsAlphaAndBlendsItsColourAsTheReferenceSays) {
    const int width = 500, height = 300;
    const Embosser e = test::presetWith({.opacity = 1, .angle = 20});
    QImage pixels = photoWithAlpha(width, height);
    pixels.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    const Image photo(pixels);
    ASSERT_EQ(photo.pixels().format(), QImage::Format_ARGB32_Premultiplied);

    const Image result = EmbossComposer::embossedImageForEmbosser(e, photo);
    ASSERT_FALSE(result.isNull());
    const QImage& out = result.pixels();
    ASSERT_EQ(out.size(), QSize(width, height));
    ASSERT_TRUE(out.hasAlphaChannel());
    EXPECT_EQ(out.colorSpace(), QColorSpace(QColorSpace::DisplayP3));

    const Image relief = EmbossComposer::embossedTextForEmbosser(e, photo);
    const QImage levels = backdropLevels(e, photo, relief);
    const QImage& in = photo.pixels();
    int watermarked = 0;
    for (int y = 0; y < height; ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(in.constScanLine(y));
        const auto* blended = reinterpret_cast<const QRgb*>(out.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const int alpha = qAlpha(source[x]);
            ASSERT_EQ(qAlpha(blended[x]), alpha) << x << "," << y;
            const int level = qRed(levels.pixel(x, y));
            watermarked += alpha > 0 && level != Backdrop::kMidGrey;
            if (alpha == 0) {
                ASSERT_EQ(blended[x], 0u) << x << "," << y;
                continue;
            }
            // Premultiplied both: the reference blend of the straight colour, times alpha.
            const double b = test::backdropFraction(level);
            for (const int shift : {16, 8, 0}) {  // red, green, blue
                const int in = int(source[x] >> shift) & 0xFF;
                const int result = int(blended[x] >> shift) & 0xFF;
                const double expected = alpha * test::overlayReference(in / double(alpha), b);
                ASSERT_LE(std::abs(result - expected), 1.0)
                    << x << "," << y << " level " << level << " alpha " << alpha;
            }
        }
    }
    EXPECT_GT(watermarked, 1000);  // the watermark lies over visible pixels
}

}  // namespace
}  // namespace lumigrave
