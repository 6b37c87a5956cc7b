#pragma once

#include <gtest/gtest.h>

#include <QImage>

namespace lumigrave::test {

// Equal sizes, and no colour channel of any pixel further apart than tolerance (alpha
// included). The failure message names the first differing pixel and the largest gap.
testing::AssertionResult imagesMatch(const QImage& actual, const QImage& expected,
                                     int tolerance = 0);

// Mean of one channel (0 red, 1 green, 2 blue, 3 alpha) over a rectangle.
double meanChannel(const QImage& image, const QRect& area, int channel);

}  // namespace lumigrave::test
