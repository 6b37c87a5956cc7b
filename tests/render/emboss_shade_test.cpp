#include "render/emboss_shade.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "support/log_capture.h"

namespace lumigrave {
namespace {

// Runs the filter with the relief renderer's light.
std::vector<uint8_t> shade(const std::vector<uint8_t>& bump, size_t width, size_t height) {
    std::vector<uint8_t> out(width * height * 4, 0xEE);
    EXPECT_TRUE(embossShade(kReliefLightAzimuth, kReliefLightElevation, kReliefFilterWidth,
                            bump.data(), out.data(), width, height));
    return out;
}

struct Neighbourhood {
    const char* name;
    std::array<uint8_t, 9> rows;  // top row first
    int shade;
};

std::ostream& operator<<(std::ostream& out, const Neighbourhood& n) {
    return out << n.name;
}

class ShadeOfOnePixel : public testing::TestWithParam<Neighbourhood> {};

// A 3 × 3 bitmap has exactly one interior pixel, the one the table speaks of.
TEST_P(ShadeOfOnePixel, MatchesTheLitReliefTable) {
    const auto& n = GetParam();
    const std::vector<uint8_t> bump(n.rows.begin(), n.rows.end());
    const auto out = shade(bump, 3, 3);
    const size_t centre = 4 * 4;
    EXPECT_EQ(out[centre], n.shade);
    EXPECT_EQ(out[centre + 1], n.shade);
    EXPECT_EQ(out[centre + 2], n.shade);
    for (size_t pixel = 0; pixel < 9; ++pixel) {
        if (pixel != 4) {
            EXPECT_EQ(out[4 * pixel], 127) << "border pixel " << pixel;
        }
    }
}

constexpr uint8_t W = 255;
constexpr uint8_t k = 90;

INSTANTIATE_TEST_SUITE_P(
    LightFromTheLeftAt30Degrees, ShadeOfOnePixel,
    testing::Values(Neighbourhood{"flat_black", {0, 0, 0, 0, 0, 0, 0, 0, 0}, 127},
                    Neighbourhood{"flat_white", {W, W, W, W, W, W, W, W, W}, 127},
                    Neighbourhood{"flat_grey", {k, k, k, k, k, k, k, k, k}, 127},
                    Neighbourhood{"falls_to_the_right", {W, 7, 0, W, 7, 0, W, 7, 0}, 254},
                    Neighbourhood{"rises_to_the_right", {0, 7, W, 0, 7, W, 0, 7, W}, 0},
                    Neighbourhood{"top_row_white", {W, W, W, 0, 0, 0, 0, 0, 0}, 70},
                    Neighbourhood{"bottom_row_white", {0, 0, 0, 0, 0, 0, W, W, W}, 70},
                    Neighbourhood{"one_step_down", {k + 1, k, k, k + 1, k, k, k + 1, k, k}, 128},
                    Neighbourhood{"one_step_up", {k, k, k + 1, k, k, k + 1, k, k, k + 1}, 125},
                    Neighbourhood{"left_and_bottom_white", {W, 0, 0, W, 0, 0, W, W, W}, 200},
                    Neighbourhood{"right_and_bottom_white", {0, 0, W, 0, 0, W, W, W, W}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EmbossShade, BitmapsWithoutInteriorAreAllBackground) {
    for (auto [width, height] :
         std::vector<std::pair<size_t, size_t>>{{1, 1}, {2, 2}, {1, 7}, {7, 1}, {2, 9}, {9, 2}}) {
        std::vector<uint8_t> bump(width * height);
        for (size_t i = 0; i < bump.size(); ++i) {
            bump[i] = static_cast<uint8_t>(i * 37);  // anything but flat
        }
        const auto out = shade(bump, width, height);
        for (size_t i = 0; i < out.size(); ++i) {
            ASSERT_EQ(out[i], 127) << width << "x" << height << " byte " << i;
        }
    }
}

TEST(EmbossShade, AUniformBumpMapOfAnyLevelIsAUniformRelief) {
    for (int level : {0, 1, 127, 200, 255}) {
        const std::vector<uint8_t> bump(13 * 11, static_cast<uint8_t>(level));
        const auto out = shade(bump, 13, 11);
        for (uint8_t byte : out) {
            ASSERT_EQ(byte, 127) << level;
        }
    }
}

TEST(EmbossShade, AVerticalEdgeIsLitOnItsFallingSideOnly) {
    // White left half, black right half: the column pairs straddling the edge fall
    // towards +x and are lit; everything else is flat.
    const size_t width = 8, height = 5;
    std::vector<uint8_t> bump(width * height);
    for (size_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < width; ++x) {
            bump[y * width + x] = x < 4 ? 255 : 0;
        }
    }
    const auto out = shade(bump, width, height);
    for (size_t y = 1; y + 1 < height; ++y) {
        for (size_t x = 1; x + 1 < width; ++x) {
            const int expected = (x == 3 || x == 4) ? 254 : 127;
            EXPECT_EQ(out[4 * (y * width + x)], expected) << x << "," << y;
        }
    }
}

TEST(EmbossShade, BitmapsWiderThanSixteenBitsAreShadedToTheLastColumn) {
    const size_t width = 70000, height = 3;
    std::vector<uint8_t> bump(width * height, 0);
    // A falling step far past column 65535.
    for (size_t y = 0; y < height; ++y) {
        bump[y * width + 68000] = 255;
    }
    const auto out = shade(bump, width, height);
    EXPECT_EQ(out[4 * (width + 68001)], 254);
    EXPECT_EQ(out[4 * (width + 67999)], 0);
    EXPECT_EQ(out[4 * (width + width - 2)], 127);
    EXPECT_EQ(out[4 * (width + width - 1)], 127);
}

TEST(EmbossShade, BitmapsTallerThanSixteenBitsAreShadedToTheLastRow) {
    const size_t width = 3, height = 66000;
    std::vector<uint8_t> bump(width * height, 0);
    bump[(height - 2) * width + 0] = 255;
    const auto out = shade(bump, width, height);
    // Nx = 255: (255·221 + 510·127) / sqrt(255² + 510²) = 212.4…
    EXPECT_EQ(out[4 * ((height - 2) * width + 1)], 212);
    EXPECT_EQ(out[4 * ((height - 1) * width + 1)], 127);
}

TEST(EmbossShade, RefusesWhatItCannotComputeAndWritesNothing) {
    const std::vector<uint8_t> bump(9, 0);
    std::vector<uint8_t> out(36, 0xEE);
    test::LogCapture log;
    EXPECT_FALSE(embossShade(0, 0.5, 0, bump.data(), out.data(), 3, 3));
    EXPECT_FALSE(embossShade(0, 0.5, 3, nullptr, out.data(), 3, 3));
    EXPECT_FALSE(embossShade(0, 0.5, 3, bump.data(), out.data(), size_t(1) << 40, size_t(1) << 40));
    EXPECT_EQ(out, std::vector<uint8_t>(36, 0xEE));
    EXPECT_EQ(log.lines().size(), 3);
    EXPECT_TRUE(embossShade(0, 0.5, 3, nullptr, nullptr, 0, 5));
}

TEST(EmbossShade, OtherLightsScaleTheVectorOnce) {
    // Straight overhead the flat shade is the whole scale, truncated: 255.
    const std::vector<uint8_t> bump(9, 10);
    std::vector<uint8_t> out(36);
    ASSERT_TRUE(embossShade(0, 1.5707963267948966, 3, bump.data(), out.data(), 3, 3));
    EXPECT_EQ(out[16], 255);
    EXPECT_EQ(out[0], 255);
    // Width 1 makes the same step a gentler slope: Nz = 1530.
    const std::vector<uint8_t> step = {W, 0, 0, W, 0, 0, W, 0, 0};
    ASSERT_TRUE(embossShade(0, kReliefLightElevation, 1, step.data(), out.data(), 3, 3));
    // (765·221 + 1530·127) / sqrt(765² + 1530²) = 212.4…
    EXPECT_EQ(out[16], 212);
}

}  // namespace
}  // namespace lumigrave
