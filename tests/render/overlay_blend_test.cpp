#include "render/overlay_blend.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <cmath>
#include <vector>

#include "support/overlay_reference.h"
#include "support/vector_kernels.h"

namespace lumigrave {
namespace {

using test::backdropFraction;
using test::overlayGap;
using test::overlayReference;

TEST(OverlayBlend, MatchesTheBlendDefinitionOnEveryLevelPair) {
    for (int b = 0; b < 256; ++b) {
        for (int a = 0; a < 256; ++a) {
            const double expected = overlayReference(a / 255.0, backdropFraction(b)) * 255;
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

// Random opaque pixels over random levels, a long run of mid-grey first.
struct RandomRow {
    std::vector<QRgb> photo;
    std::vector<uint8_t> backdrop;
};

RandomRow randomRow(int count, uint32_t seed) {
    QRandomGenerator random(seed);
    RandomRow row{std::vector<QRgb>(static_cast<size_t>(count)),
                  std::vector<uint8_t>(static_cast<size_t>(count))};
    for (size_t i = 0; i < size_t(count); ++i) {
        row.photo[i] = 0xFF000000u | (random.generate() & 0xFFFFFF);
        // Every level, the mid-grey and its neighbours most of all.
        const uint32_t pick = random.bounded(4);
        row.backdrop[i] = i < 300     ? 128
                          : pick == 0 ? uint8_t(127 + random.bounded(3))
                                      : uint8_t(random.bounded(256));
    }
    return row;
}

TEST(OverlayBlend, TheRowKernelAgreesWithTheReferenceOnEitherPath) {
    const int count = 4099;  // odd: no multiple of any vector width
    const RandomRow row = randomRow(count, 42);
    for (bool vector : {false, true}) {
        test::VectorKernels kernels(vector);
        std::vector<QRgb> out(static_cast<size_t>(count));
        overlayRow(row.photo.data(), row.backdrop.data(), out.data(), count);
        for (size_t i = 0; i < size_t(count); ++i) {
            ASSERT_LE(overlayGap(out[i], row.photo[i], backdropFraction(row.backdrop[i])), 1.0)
                << "pixel " << i << (vector ? " vector" : " scalar");
            ASSERT_EQ(qAlpha(out[i]), 255);
        }
        // In place, as the compositor runs it.
        std::vector<QRgb> inPlace = row.photo;
        overlayRow(inPlace.data(), row.backdrop.data(), inPlace.data(), count);
        EXPECT_EQ(inPlace, out);
    }
}

// The vector kernel against the scalar one: identical levels, on every length from 0 to
// 70 (all the tails) and on a long row, in place and not.
TEST(OverlayBlend, TheVectorKernelGivesTheScalarKernelsLevels) {
    LUMIGRAVE_SKIP_WITHOUT_AVX2();
    for (int count : {0, 1, 7, 8, 9, 15, 16, 17, 31, 33, 63, 64, 65, 70, 100003}) {
        // One pixel more than is blended: the one past the end must stay untouched.
        const RandomRow row = randomRow(count + 1, uint32_t(9 + count));
        std::vector<QRgb> scalar(row.photo.size(), 0), vector(row.photo.size(), 0);
        {
            test::VectorKernels off(false);
            overlayRow(row.photo.data(), row.backdrop.data(), scalar.data(), count);
        }
        test::VectorKernels on(true);
        overlayRow(row.photo.data(), row.backdrop.data(), vector.data(), count);
        ASSERT_EQ(scalar, vector) << count;
        std::vector<QRgb> inPlace = row.photo;
        overlayRow(inPlace.data(), row.backdrop.data(), inPlace.data(), count);
        ASSERT_EQ(inPlace.back(), row.photo.back());
        ASSERT_TRUE(std::equal(inPlace.begin(), inPlace.begin() + count, scalar.begin())) << count;
    }
}

// A pixel with transparency blends its colour as an opaque one would and keeps its
// alpha: premultiplied in, premultiplied out.
TEST(OverlayBlend, PremultipliedPixelsKeepTheirAlphaAndBlendTheirColour) {
    QRandomGenerator random(5);
    const int count = 2000;
    std::vector<QRgb> photo(static_cast<size_t>(count)), out(static_cast<size_t>(count));
    std::vector<uint8_t> backdrop(static_cast<size_t>(count));
    for (size_t i = 0; i < photo.size(); ++i) {
        const int alpha = i % 7 == 0 ? 0 : i % 5 == 0 ? 255 : int(random.bounded(256));
        photo[i] = qPremultiply(qRgba(int(random.bounded(256)), int(random.bounded(256)),
                                      int(random.bounded(256)), alpha));
        backdrop[i] = uint8_t(random.bounded(256));
    }
    overlayRowPremultiplied(photo.data(), backdrop.data(), out.data(), count);
    for (size_t i = 0; i < photo.size(); ++i) {
        const int alpha = qAlpha(photo[i]);
        ASSERT_EQ(qAlpha(out[i]), alpha) << i;
        if (alpha == 0) {
            ASSERT_EQ(out[i], 0u) << i;
            continue;
        }
        // The blend of the premultiplied colour, against the reference of the straight
        // colour times the alpha: within one level of the premultiplied value.
        const double b = backdropFraction(backdrop[i]);
        auto expected = [&](int premultiplied) {
            return alpha * overlayReference(premultiplied / double(alpha), b);
        };
        ASSERT_LE(std::abs(qRed(out[i]) - expected(qRed(photo[i]))), 0.5 + 1e-9) << i;
        ASSERT_LE(std::abs(qGreen(out[i]) - expected(qGreen(photo[i]))), 0.5 + 1e-9) << i;
        ASSERT_LE(std::abs(qBlue(out[i]) - expected(qBlue(photo[i]))), 0.5 + 1e-9) << i;
        if (alpha == 255) {
            ASSERT_EQ(qRed(out[i]), overlayLevel(qRed(photo[i]), backdrop[i])) << i;
        }
    }
}

}  // namespace
}  // namespace lumigrave
