#include <gtest/gtest.h>

#include "model/layout_type.h"
#include "render/emboss_composer.h"
#include "support/presets.h"

namespace lumigrave {
namespace {

Embosser preset(int layout, float mH, float mV) {
    return test::presetWith({.layout = layout, .marginHorizontal = mH, .marginVertical = mV});
}

struct OriginCase {
    int layout;
    Point origin;
};

std::ostream& operator<<(std::ostream& out, const OriginCase& c) {
    return out << layoutTypeTitle(c.layout).toStdString();
}

class SinglePlacement : public testing::TestWithParam<OriginCase> {};

// 1000 × 800 photo, 300 × 100 watermark, margins 5 % and 10 %; y grows upwards.
TEST_P(SinglePlacement, PutsTheCornerInsetByTheMargins) {
    const Embosser e = preset(GetParam().layout, 0.05f, 0.1f);
    EXPECT_EQ(EmbossComposer::originForEmbosser(e, Size{1000, 800}, Size{300, 100}),
              GetParam().origin);
}

INSTANTIATE_TEST_SUITE_P(EveryLayout, SinglePlacement,
                         testing::Values(OriginCase{kLayoutCenter, {350, 350}},
                                         OriginCase{kLayoutTopLeft, {50, 620}},
                                         OriginCase{kLayoutTopRight, {650, 620}},
                                         OriginCase{kLayoutBottomLeft, {50, 80}},
                                         OriginCase{kLayoutBottomRight, {650, 80}},
                                         OriginCase{kLayoutTileParallel, {0, 0}},
                                         OriginCase{kLayoutTileInterlace, {0, 0}}));

TEST(SinglePlacement, CoordinatesAreTruncatedTowardZero) {
    const Embosser centred = preset(kLayoutCenter, 0, 0);
    // A watermark 3 points larger than the photo: -1.5 becomes -1, not -2.
    EXPECT_EQ(EmbossComposer::originForEmbosser(centred, Size{100, 50}, Size{103, 53}),
              (Point{-1, -1}));
    EXPECT_EQ(EmbossComposer::originForEmbosser(centred, Size{101, 51}, Size{50, 20}),
              (Point{25, 15}));
    const Embosser corner = preset(kLayoutBottomRight, 0.033f, 0.017f);
    // 1000 − (300.5 + 33.0000…) = 666.4…, 800 × 0.017 = 13.6
    EXPECT_EQ(EmbossComposer::originForEmbosser(corner, Size{1000, 800}, Size{300.5f, 100}),
              (Point{666, 13}));
}

TEST(SinglePlacement, MarginsNeverMoveACentredWatermark) {
    Embosser e = preset(kLayoutTopLeft, 0.2f, 0.2f);
    e.setLayoutType(kLayoutCenter);
    EXPECT_EQ(EmbossComposer::originForEmbosser(e, Size{1000, 800}, Size{300, 100}),
              (Point{350, 350}));
}

TEST(AspectFit, KeepsTheImageRatioInsideTheView) {
    EXPECT_EQ(EmbossComposer::scaledSizeAspectFitInView(Size{320, 320}, Size{400, 300}),
              (Size{320, 240}));
    EXPECT_EQ(EmbossComposer::scaledSizeAspectFitInView(Size{320, 320}, Size{300, 600}),
              (Size{160, 320}));
    EXPECT_EQ(EmbossComposer::scaledSizeAspectFitInView(Size{320, 480}, Size{640, 960}),
              (Size{320, 480}));
    EXPECT_EQ(EmbossComposer::scaledSizeAspectFitInView(Size{320, 480}, Size{3264, 2448}),
              (Size{320, 240}));
}

}  // namespace
}  // namespace lumigrave
