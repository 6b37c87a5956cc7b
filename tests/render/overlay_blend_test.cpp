#include "render/overlay_blend.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <cmath>
#include <vector>

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
            // Level 128 is mid-grey, 0.5 exactly.
            const double backdrop = b == 128 ? 0.5 : b / 255.0;
            const double expected = overlayReference(a / 255.0, backdrop) * 255;
            ASSERT_LE(std::abs(overlayLevel(a, b) - expected), 0.5 + 1e-9) << a << " " << b;
        }
    }
}

TEST(OverlayBlend, MidGreyLeavesThePhotoAsItIs) {
    for (int a = 0; a < 256; ++a) {
        EXPECT_EQ(overlayLevel(a, 128), a) << a;
        EXPECT_LE(std::abs(overlayLevel(a, 127) - a), 1) << a;  // the relief's flat level
    }
}

TEST(OverlayBlend, TheRowKernelAgreesWithTheReferenceOnSampledPixels) {
    QRandomGenerator random(42);
    const int count = 4099;  // odd: no multiple of any vector width
    std::vector<QRgb> photo(count), out(count);
    std::vector<uint8_t> backdrop(count);
    for (int i = 0; i < count; ++i) {
        photo[size_t(i)] = 0xFF000000u | (random.generate() & 0xFFFFFF);
        backdrop[size_t(i)] = i < 300 ? 128 : uint8_t(random.bounded(256));
    }
    overlayRow(photo.data(), backdrop.data(), out.data(), count);
    for (int i = 0; i < count; ++i) {
        const QRgb a = photo[size_t(i)];
        const QRgb r = out[size_t(i)];
        const double b = backdrop[size_t(i)] == 128 ? 0.5 : backdrop[size_t(i)] / 255.0;
        ASSERT_LE(std::abs(qRed(r) - overlayReference(qRed(a) / 255.0, b) * 255), 1.0) << i;
        ASSERT_LE(std::abs(qGreen(r) - overlayReference(qGreen(a) / 255.0, b) * 255), 1.0) << i;
        ASSERT_LE(std::abs(qBlue(r) - overlayReference(qBlue(a) / 255.0, b) * 255), 1.0) << i;
        ASSERT_EQ(qAlpha(r), 255);
    }
    // In place, as the compositor runs it.
    std::vector<QRgb> inPlace = photo;
    overlayRow(inPlace.data(), backdrop.data(), inPlace.data(), count);
    EXPECT_EQ(inPlace, out);
}

}  // namespace
}  // namespace lumigrave
