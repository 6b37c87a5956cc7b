#include <gtest/gtest.h>

#include "render/emboss_composer.h"

namespace lumigrave {
namespace {

Embosser withText(const QString& text, float widthRatio = 0.8f) {
    Embosser e;
    e.setText(text);
    e.setWidth_ratio(widthRatio);
    return e;
}

TEST(TextSize, ShrinksToTheLargestFontThatFitsTheWidth) {
    const Embosser e = withText(QStringLiteral("\u00A9 lumigrave.app"));
    for (Size photo : {Size{800, 500}, Size{3264, 2448}, Size{1936, 2592}, Size{400, 300}}) {
        float fontSize = -1;
        const Size text = EmbossComposer::sizeForEmbosser(e, photo, &fontSize);
        const float target = photo.width * 0.8f;
        EXPECT_LE(text.width, target) << photo.width;
        EXPECT_GT(text.width, target * 0.9999f) << photo.width;
        EXPECT_GT(fontSize, 10);
        EXPECT_LT(fontSize, photo.height);
        // Starting a tenth of a point higher must shrink again, to the same size: the
        // search found the largest size that fits, not merely one that fits.
        float again = 0;
        EmbossComposer::sizeForEmbosser(e, Size{photo.width, fontSize + 0.1f}, &again);
        EXPECT_LT(again, fontSize + 0.1f);
        EXPECT_NEAR(again, fontSize, 0.05);
        EXPECT_GT(text.height, fontSize);  // a line is taller than the em
        EXPECT_LT(text.height, fontSize * 1.5f);
    }
}

TEST(TextSize, ATextThatFitsKeepsTheDestinationHeightAsItsSize) {
    const Embosser e = withText(QStringLiteral("ab"), 1.0f);
    float fontSize = 0;
    const Size text = EmbossComposer::sizeForEmbosser(e, Size{2000, 50}, &fontSize);
    EXPECT_EQ(fontSize, 50.0f);
    EXPECT_LT(text.width, 2000);
}

TEST(TextSize, NeverShrinksBelowTenPointsEvenWhenStillTooWide) {
    const Embosser e = withText(QStringLiteral("A watermark far too long for a thumbnail"), 0.1f);
    float fontSize = 0;
    const Size text = EmbossComposer::sizeForEmbosser(e, Size{100, 80}, &fontSize);
    EXPECT_EQ(fontSize, EmbossComposer::kSmallSystemFontSize - 2);
    EXPECT_GT(text.width, 10);  // wider than the 10-point target, and not clipped
}

TEST(TextSize, NoTextGivesAZeroSizeAndAZeroFontSize) {
    float fontSize = 123;
    EXPECT_EQ(EmbossComposer::sizeForEmbosser(withText(QString()), Size{800, 600}, &fontSize),
              Size{});
    EXPECT_EQ(fontSize, 0.0f);
    fontSize = 123;
    EXPECT_EQ(
        EmbossComposer::sizeForEmbosser(withText(QStringLiteral("x")), Size{800, 0}, &fontSize),
        Size{});
    EXPECT_EQ(fontSize, 0.0f);
}

TEST(TextSize, AnUnknownFontIsMeasuredAsTheBundledBoldFont) {
    Embosser known = withText(QStringLiteral("Lake Geneva"));
    Embosser unknown = known.copy();
    unknown.setFont_name(QStringLiteral("NoSuchFont-Regular"));
    float a = 0, b = 0;
    EXPECT_EQ(EmbossComposer::sizeForEmbosser(known, Size{1024, 768}, &a),
              EmbossComposer::sizeForEmbosser(unknown, Size{1024, 768}, &b));
    EXPECT_EQ(a, b);
}

TEST(TextSize, AWiderRatioGivesALargerText) {
    float previous = 0;
    for (float ratio : {0.1f, 0.25f, 0.5f, 0.75f, 1.0f}) {
        const Size text = EmbossComposer::sizeForEmbosser(withText(QStringLiteral("PROOF"), ratio),
                                                          Size{1440, 1080}, nullptr);
        EXPECT_GT(text.width, previous) << ratio;
        previous = text.width;
    }
}

}  // namespace
}  // namespace lumigrave
