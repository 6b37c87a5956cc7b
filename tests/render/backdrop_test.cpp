#include "render/backdrop.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <vector>

#include "support/image_files.h"
#include "support/vector_kernels.h"

namespace lumigrave {
namespace {

// Every level of a backdrop, row by row, as it is rendered.
std::vector<uint8_t> allRows(const Backdrop& backdrop) {
    const QImage image = backdrop.toImage();
    std::vector<uint8_t> all;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            all.push_back(uint8_t(qRed(image.pixel(x, y))));
        }
    }
    return all;
}

class BackdropSampling : public testing::TestWithParam<double> {};

// The vector sampler against the scalar one: the same levels, at edges and corners, for
// turns, scales and opacities.
TEST_P(BackdropSampling, TheVectorSamplerGivesTheScalarSamplersLevels) {
    LUMIGRAVE_SKIP_WITHOUT_AVX2();
    const GreyImage watermark = GreyImage::fromImage(test::testPhoto(173, 41));
    QRandomGenerator random(uint32_t(GetParam() * 1000));
    for (int round = 0; round < 6; ++round) {
        QTransform t;
        t.translate(20 + random.bounded(200.0), 20 + random.bounded(120.0));
        t.rotate(GetParam());
        const double scale = 0.4 + random.bounded(2.0);
        t.scale(scale, scale);
        const float opacity = float(0.1 + random.bounded(0.9));
        Backdrop backdrop(331, 197);
        backdrop.lay(watermark, t, opacity);
        std::vector<uint8_t> vector, scalar;
        {
            test::VectorKernels on(true);
            vector = allRows(backdrop);
        }
        {
            test::VectorKernels off(false);
            scalar = allRows(backdrop);
        }
        ASSERT_EQ(vector, scalar) << "angle " << GetParam() << " round " << round;
    }
}

INSTANTIATE_TEST_SUITE_P(Angles, BackdropSampling,
                         testing::Values(0.0, 0.5, 30.0, 90.0, 135.0, 181.0, 270.0, 359.0));

TEST(Backdrop, AWholePixelPlacementCopiesTheWatermark) {
    const QImage pixels = test::testPhoto(40, 20);
    const GreyImage watermark = GreyImage::fromImage(pixels);
    Backdrop backdrop(100, 50);
    backdrop.lay(watermark, QTransform::fromTranslate(30, 15), 1);
    const auto all = allRows(backdrop);
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 100; ++x) {
            const bool inside = x >= 30 && x < 70 && y >= 15 && y < 35;
            const int expected = inside ? qRed(pixels.pixel(x - 30, y - 15)) : 128;
            ASSERT_EQ(all[size_t(y) * 100 + size_t(x)], expected) << x << "," << y;
        }
    }
}

TEST(Backdrop, NothingLaidOrLaidOutsideLeavesEveryRowMidGrey) {
    const GreyImage watermark = GreyImage::fromImage(test::testPhoto(40, 20));
    Backdrop backdrop(60, 30);
    backdrop.lay(watermark, QTransform::fromTranslate(500, 500), 1);
    backdrop.lay(watermark, QTransform::fromTranslate(-200, 0), 1);
    backdrop.lay(watermark, QTransform(), 0);                 // no opacity
    backdrop.lay(GreyImage(), QTransform(), 1);               // no watermark
    backdrop.lay(watermark, QTransform::fromScale(0, 1), 1);  // not invertible
    for (uint8_t level : allRows(backdrop)) {
        ASSERT_EQ(level, Backdrop::kMidGrey);
    }
}

}  // namespace
}  // namespace lumigrave
