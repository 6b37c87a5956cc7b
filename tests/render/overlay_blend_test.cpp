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

namespace lumigrave {
namespace {

// The vector kernel against the scalar one: identical levels, on every length from 0 to
// 70 (all the tails) and on a long row, in place and not.
TEST(OverlayBlend, TheVectorKernelGivesTheScalarKernelsLevels) {
    std::vector<QRgb> probe(1);
    std::vector<uint8_t> level(1, 0);
    if (!overlayRowAvx2(probe.data(), level.data(), probe.data(), 1)) {
        GTEST_SKIP() << "this processor has no AVX2";
    }
    QRandomGenerator random(9);
    for (int count : {0, 1, 7, 8, 9, 15, 16, 17, 31, 33, 63, 64, 65, 70, 100003}) {
        std::vector<QRgb> photo(size_t(count) + 1);
        std::vector<uint8_t> backdrop(size_t(count) + 1);
        for (size_t i = 0; i < photo.size(); ++i) {
            photo[i] = 0xFF000000u | (random.generate() & 0xFFFFFF);
            // Every level, the mid-grey and its neighbours most of all.
            const uint32_t pick = random.bounded(4);
            backdrop[i] =
                pick == 0 ? uint8_t(127 + random.bounded(3)) : uint8_t(random.bounded(256));
        }
        std::vector<QRgb> scalar(photo.size(), 0), vector(photo.size(), 0);
        overlayRowScalar(photo.data(), backdrop.data(), scalar.data(), count);
        ASSERT_TRUE(overlayRowAvx2(photo.data(), backdrop.data(), vector.data(), count));
        ASSERT_EQ(scalar, vector) << count;
        std::vector<QRgb> inPlace = photo;
        overlayRowAvx2(inPlace.data(), backdrop.data(), inPlace.data(), count);
        ASSERT_EQ(inPlace.back(), photo.back());  // the pixel past the end is untouched
        ASSERT_TRUE(std::equal(inPlace.begin(), inPlace.begin() + count, scalar.begin())) << count;
    }
}

}  // namespace
}  // namespace lumigrave
