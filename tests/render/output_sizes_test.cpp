#include "render/output_sizes.h"

#include <gtest/gtest.h>

#include "render/emboss_composer.h"

namespace lumigrave {
namespace {

TEST(ValidOutputSizes, ALargePhotoGetsAllFifteenLengthsLargestFirst) {
    const auto sizes = EmbossComposer::validOutputSizesForImageSize(Size{3264, 2448});
    ASSERT_EQ(sizes.size(), 15u);
    EXPECT_EQ(sizes.front(), (Size{1440, 1080}));
    EXPECT_EQ(sizes.back(), (Size{400, 300}));
    for (size_t i = 1; i < sizes.size(); ++i) {
        EXPECT_LT(sizes[i].width, sizes[i - 1].width);
    }
    // Nothing is rounded: the 960 entry comes out a rounding error above 960.
    EXPECT_EQ(sizes[6].width, 960.00006f);
    EXPECT_NE(sizes[6].width, 960.0f);
}

TEST(ValidOutputSizes, APortraitPhotoScalesByItsHeight) {
    const auto sizes = EmbossComposer::validOutputSizesForImageSize(Size{1936, 2592});
    ASSERT_EQ(sizes.size(), 15u);
    EXPECT_EQ(sizes[6].height, 959.99994f);
    EXPECT_NEAR(sizes[6].width, 717.04, 0.01);
}

TEST(ValidOutputSizes, FourHundredPointsIsTheSmallestPhotoTaken) {
    const auto exact = EmbossComposer::validOutputSizesForImageSize(Size{400, 250});
    ASSERT_EQ(exact.size(), 1u);
    EXPECT_EQ(exact[0], (Size{400, 250}));
    EXPECT_TRUE(EmbossComposer::validOutputSizesForImageSize(Size{399, 250}).empty());
    EXPECT_TRUE(EmbossComposer::validOutputSizesForImageSize(Size{250, 399}).empty());
    EXPECT_TRUE(EmbossComposer::validOutputSizesForImageSize(Size{}).empty());
}

TEST(ValidOutputSizes, ASquarePhotoGetsSquareSizes) {
    for (const Size& s : EmbossComposer::validOutputSizesForImageSize(Size{1000, 1000})) {
        EXPECT_EQ(s.width, s.height);
    }
    EXPECT_EQ(EmbossComposer::validOutputSizesForImageSize(Size{1000, 1000}).size(), 10u);
}

TEST(MaxOutputSizes, ThePhotosOwnSizeComesFirst) {
    const auto sizes = maxOutputSizes(Size{3264, 2448});
    ASSERT_EQ(sizes.size(), 16u);
    EXPECT_EQ(sizes[0], (Size{3264, 2448}));
    EXPECT_EQ(sizes[1], (Size{1440, 1080}));
    EXPECT_EQ(sizes[15], (Size{400, 300}));

    const auto small = maxOutputSizes(Size{600, 450});
    const std::vector<Size> expected = {{600, 450}, {600, 450}, {500, 375}, {480, 360}, {400, 300}};
    EXPECT_EQ(small, expected);

    EXPECT_TRUE(maxOutputSizes(Size{399, 300}).empty());
}

struct MatchCase {
    qint64 stored;
    int position;
};

std::ostream& operator<<(std::ostream& out, const MatchCase& c) {
    return out << c.stored << " -> " << c.position;
}

class MatchedIndex : public testing::TestWithParam<MatchCase> {};

TEST_P(MatchedIndex, ForALandscapePhoto) {
    EXPECT_EQ(matchedIndexForOutputSize(maxOutputSizes(Size{3264, 2448}), GetParam().stored),
              GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(StoredLengths, MatchedIndex,
                         testing::Values(MatchCase{800, 9}, MatchCase{1440, 1}, MatchCase{0, 0},
                                         MatchCase{750, 1},
                                         // Computed as 960.00006, so an exact comparison misses it.
                                         MatchCase{960, 1}, MatchCase{400, 15}, MatchCase{1400, 2},
                                         MatchCase{3264, 1}, MatchCase{-800, 1}));

TEST(MatchedIndex, EdgeLists) {
    EXPECT_EQ(matchedIndexForOutputSize(maxOutputSizes(Size{600, 450}), 800), 1);
    EXPECT_EQ(matchedIndexForOutputSize(maxOutputSizes(Size{600, 450}), 480), 3);
    // 959.99994 is no more 960 than it is 959.
    const auto portrait = maxOutputSizes(Size{1936, 2592});
    EXPECT_EQ(matchedIndexForOutputSize(portrait, 960), 1);
    EXPECT_EQ(matchedIndexForOutputSize(portrait, 959), 1);
    EXPECT_EQ(matchedIndexForOutputSize(portrait, 800), 9);
    EXPECT_EQ(matchedIndexForOutputSize({}, 800), 0);
    EXPECT_EQ(matchedIndexForOutputSize({Size{500, 400}}, 500), 0);
}

}  // namespace
}  // namespace lumigrave
