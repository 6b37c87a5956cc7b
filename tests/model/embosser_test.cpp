#include "model/embosser.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <cmath>
#include <limits>

#include "model/layout_type.h"

namespace lumigrave {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(Embosser, DefaultsAreTheCopyrightOfOurDomainCentredInTheBoldFont) {
    const Embosser e;
    EXPECT_EQ(e.text(), QStringLiteral("\u00A9 lumigrave.app"));
    EXPECT_EQ(e.font_name(), QStringLiteral("DejaVuSans-Bold"));
    EXPECT_EQ(e.width_ratio(), 0.8f);
    EXPECT_EQ(e.opacity(), 0.6f);
    EXPECT_EQ(e.text_angle(), 0.0f);
    EXPECT_EQ(e.layoutType(), kLayoutCenter);
    EXPECT_EQ(e.marginHorizontal(), 0.0f);
    EXPECT_EQ(e.marginVertical(), 0.0f);
    EXPECT_EQ(e.rid(), 0);
    EXPECT_FALSE(e.modified());
}

struct SetterCase {
    float given;
    float kept;
};

std::ostream& operator<<(std::ostream& out, const SetterCase& c) {
    return out << c.given << " keeps " << c.kept;
}

class FractionSetter : public testing::TestWithParam<SetterCase> {};

// Width ratio and opacity share their range and fallback: 0.1 to 1, else 1 (not a clamp).
TEST_P(FractionSetter, OpacityAndWidthRatioFallBackToOne) {
    Embosser e;
    e.setOpacity(GetParam().given);
    e.setWidth_ratio(GetParam().given);
    EXPECT_EQ(e.opacity(), GetParam().kept);
    EXPECT_EQ(e.width_ratio(), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, FractionSetter,
    testing::Values(SetterCase{0.05f, 1.0f}, SetterCase{1.5f, 1.0f},
                    // The float nearest 0.1 lies just above 0.1 in double precision.
                    SetterCase{0.1f, 0.1f}, SetterCase{std::nextafter(0.1f, 0.0f), 1.0f},
                    SetterCase{1.0f, 1.0f}, SetterCase{std::nextafter(1.0f, 2.0f), 1.0f},
                    SetterCase{0.5f, 0.5f}, SetterCase{0.0f, 1.0f}, SetterCase{-0.5f, 1.0f},
                    SetterCase{kNaN, 1.0f}));

class AngleSetter : public testing::TestWithParam<SetterCase> {};

TEST_P(AngleSetter, AngleOutsideZeroTo359BecomesZero) {
    Embosser e;
    e.setText_angle(GetParam().given);
    EXPECT_EQ(e.text_angle(), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(Bounds, AngleSetter,
                         testing::Values(SetterCase{-1, 0}, SetterCase{359.5f, 0},
                                         SetterCase{359, 359}, SetterCase{0, 0},
                                         SetterCase{180.25f, 180.25f}, SetterCase{360, 0},
                                         SetterCase{-0.001f, 0}, SetterCase{kNaN, 0}));

TEST(Embosser, LayoutOutOfRangeBecomesCentredAndDropsTheMargins) {
    for (int bad : {7, -1, 100, std::numeric_limits<int>::min()}) {
        Embosser e;
        e.setLayoutType(kLayoutTopRight);
        e.setMarginHorizontal(0.2f);
        e.setMarginVertical(0.3f);
        e.setLayoutType(bad);
        EXPECT_EQ(e.layoutType(), kLayoutCenter) << bad;
        EXPECT_EQ(e.marginHorizontal(), 0.0f) << bad;
        EXPECT_EQ(e.marginVertical(), 0.0f) << bad;
    }
}

TEST(Embosser, ChangingBetweenNonCentredLayoutsKeepsTheMargins) {
    Embosser e;
    e.setLayoutType(kLayoutBottomLeft);
    e.setMarginHorizontal(0.2f);
    e.setMarginVertical(0.3f);
    e.setLayoutType(kLayoutTileParallel);
    EXPECT_EQ(e.layoutType(), kLayoutTileParallel);
    EXPECT_EQ(e.marginHorizontal(), 0.2f);
    EXPECT_EQ(e.marginVertical(), 0.3f);
    e.setLayoutType(kLayoutTileInterlace);
    EXPECT_EQ(e.layoutType(), kLayoutTileInterlace);
    e.setLayoutType(kLayoutCenter);
    EXPECT_EQ(e.marginHorizontal(), 0.0f);
}

TEST(Embosser, MarginsAreIgnoredWhileCentredAndFallBackToZero) {
    Embosser e;
    e.setMarginHorizontal(0.3f);
    e.setMarginVertical(0.3f);
    EXPECT_EQ(e.marginHorizontal(), 0.0f);
    EXPECT_EQ(e.marginVertical(), 0.0f);

    e.setLayoutType(kLayoutTopRight);
    e.setMarginHorizontal(0.3f);
    e.setMarginVertical(0.5f);
    EXPECT_EQ(e.marginHorizontal(), 0.3f);
    EXPECT_EQ(e.marginVertical(), 0.5f);

    for (float bad : {0.6f, -0.01f, std::nextafter(0.5f, 1.0f), kNaN}) {
        e.setMarginHorizontal(0.3f);
        e.setMarginHorizontal(bad);
        e.setMarginVertical(bad);
        EXPECT_EQ(e.marginHorizontal(), 0.0f) << bad;
        EXPECT_EQ(e.marginVertical(), 0.0f) << bad;
    }
    e.setMarginHorizontal(0);
    EXPECT_EQ(e.marginHorizontal(), 0.0f);
}

TEST(Embosser, OnlyTheTwoTiledLayoutsAreTiled) {
    Embosser e;
    for (int layout = 0; layout < kLayoutTypeCount; ++layout) {
        e.setLayoutType(layout);
        EXPECT_EQ(e.isTiled(), layout == kLayoutTileParallel || layout == kLayoutTileInterlace)
            << layout;
    }
}

TEST(Embosser, CopyKeepsValuesAndRowButNotTheModifiedFlag) {
    Embosser e;
    e.setRid(42);
    e.setText(QStringLiteral("Studio Nord"));
    e.setFont_name(QStringLiteral("DejaVuSans"));
    e.setWidth_ratio(0.35f);
    e.setOpacity(0.45f);
    e.setText_angle(30);
    e.setLayoutType(kLayoutBottomRight);
    e.setMarginHorizontal(0.05f);
    e.setMarginVertical(0.1f);
    e.setModified(true);

    const Embosser c = e.copy();
    EXPECT_EQ(c.rid(), 42);
    EXPECT_EQ(c.text(), e.text());
    EXPECT_EQ(c.font_name(), e.font_name());
    EXPECT_EQ(c.width_ratio(), 0.35f);
    EXPECT_EQ(c.opacity(), 0.45f);
    EXPECT_EQ(c.text_angle(), 30.0f);
    EXPECT_EQ(c.layoutType(), kLayoutBottomRight);
    EXPECT_EQ(c.marginHorizontal(), 0.05f);
    EXPECT_EQ(c.marginVertical(), 0.1f);
    EXPECT_FALSE(c.modified());

    // The copy is its own object: changing it leaves the original alone.
    Embosser changed = e.copy();
    changed.setText(QStringLiteral("other"));
    EXPECT_EQ(e.text(), QStringLiteral("Studio Nord"));
}

TEST(LayoutType, TitlesInPickerOrder) {
    const QStringList expected = {"Center",       "Top Left",      "Top Right",     "Bottom Left",
                                  "Bottom Right", "Tile Parallel", "Tile Interlace"};
    for (int i = 0; i < kLayoutTypeCount; ++i) {
        EXPECT_EQ(layoutTypeTitle(i), expected[i]);
    }
    EXPECT_TRUE(layoutTypeTitle(7).isEmpty());
    EXPECT_TRUE(layoutTypeTitle(-1).isEmpty());
}

}  // namespace
}  // namespace lumigrave
