#include "render/tile_grid.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/layout_type.h"
#include "platform/image.h"
#include "render/emboss_composer.h"
#include "support/presets.h"

namespace lumigrave {
namespace {

Embosser tiled(int layout, float angle, float mH = 0, float mV = 0) {
    return test::presetWith(
        {.layout = layout, .angle = angle, .marginHorizontal = mH, .marginVertical = mV});
}

std::vector<Point> tiles(const TileGrid& grid) {
    std::vector<Point> result;
    grid.forEachTile([&](Point p) { result.push_back(p); });
    return result;
}

TEST(TileGrid, TheCanvasCoversThePhotoTurnedByTheAngle) {
    const TileGrid upright =
        tileGridFor(tiled(kLayoutTileParallel, 0), Size{400, 300}, Size{50, 20});
    EXPECT_EQ(upright.canvas, (Size{400, 300}));
    const TileGrid quarter =
        tileGridFor(tiled(kLayoutTileParallel, 90), Size{400, 300}, Size{50, 20});
    EXPECT_NEAR(quarter.canvas.width, 300, 1e-3);
    EXPECT_NEAR(quarter.canvas.height, 400, 1e-3);
    const TileGrid diagonal =
        tileGridFor(tiled(kLayoutTileParallel, 45), Size{400, 300}, Size{50, 20});
    EXPECT_NEAR(diagonal.canvas.width, 700 / std::sqrt(2.0), 1e-3);
}

TEST(TileGrid, OddCountsCentreTheMiddleTile) {
    // 400 × 300, tiles 50 × 20 with 10 % gaps: steps 90 and 50.
    const TileGrid grid =
        tileGridFor(tiled(kLayoutTileParallel, 0, 0.1f, 0.1f), Size{400, 300}, Size{50, 20});
    EXPECT_FLOAT_EQ(grid.stepX, 90);
    EXPECT_FLOAT_EQ(grid.stepY, 50);
    EXPECT_EQ(grid.columns, 2 * int(std::ceil(225.0 / 90)) - 1);  // 5
    EXPECT_EQ(grid.rows, 2 * int(std::ceil(160.0 / 50)) - 1);     // 7
    const auto all = tiles(grid);
    ASSERT_EQ(all.size(), size_t(grid.columns * grid.rows));
    const Point middle = all[all.size() / 2];
    EXPECT_FLOAT_EQ(middle.x + 25, 200);
    EXPECT_FLOAT_EQ(middle.y + 10, 150);
}

TEST(TileGrid, InterlaceShiftsOddRowsByHalfAStep) {
    const TileGrid grid =
        tileGridFor(tiled(kLayoutTileInterlace, 0, 0.1f, 0.1f), Size{400, 300}, Size{50, 20});
    const auto all = tiles(grid);
    ASSERT_EQ(all.size(), size_t(grid.columns * grid.rows));
    EXPECT_FLOAT_EQ(all[0].x, grid.x0);
    EXPECT_FLOAT_EQ(all[size_t(grid.columns)].x, grid.x0 - 45);
    EXPECT_FLOAT_EQ(all[size_t(grid.columns)].y, grid.y0 + 50);
}

TEST(TileGrid, TextWiderThanThePhotoGivesOneColumnAndInterlaceItsExtraTile) {
    const Size photo{400, 300};
    const Size wide{500, 40};
    const TileGrid parallel = tileGridFor(tiled(kLayoutTileParallel, 0, 0.1f, 0.1f), photo, wide);
    EXPECT_EQ(parallel.columns, 1);
    EXPECT_EQ(tiles(parallel).size(), size_t(parallel.rows));

    const TileGrid interlace = tileGridFor(tiled(kLayoutTileInterlace, 0, 0.1f, 0.1f), photo, wide);
    ASSERT_EQ(interlace.columns, 1);
    // Odd rows start half a step left and get a second tile, which starts inside.
    const auto all = tiles(interlace);
    EXPECT_EQ(all.size(), size_t(interlace.rows + interlace.rows / 2));
    const TileGrid tall = tileGridFor(tiled(kLayoutTileParallel, 0), photo, Size{40, 300});
    EXPECT_EQ(tall.rows, 1);
}

TEST(TileGrid, AZeroStepDrawsNoTiles) {
    const TileGrid grid = tileGridFor(tiled(kLayoutTileParallel, 0), Size{400, 300}, Size{});
    EXPECT_EQ(grid.columns, 0);
    EXPECT_TRUE(tiles(grid).empty());
}

TEST(TiledImage, AtAngleZeroTheCanvasIsThePhotosSize) {
    const Image photo(QImage(400, 300, QImage::Format_RGB32), 1);
    const Image relief(QImage(60, 20, QImage::Format_RGB32), 1);
    const Image canvas =
        EmbossComposer::tiledImageForEmbosser(tiled(kLayoutTileParallel, 0), photo, relief);
    EXPECT_EQ(canvas.pixels().size(), QSize(400, 300));
    const Image turned =
        EmbossComposer::tiledImageForEmbosser(tiled(kLayoutTileParallel, 90), photo, relief);
    EXPECT_EQ(turned.pixels().size(), QSize(300, 400));
    const Image doubled = EmbossComposer::tiledImageForEmbosser(
        tiled(kLayoutTileParallel, 0), Image(QImage(800, 600, QImage::Format_RGB32), 2), relief);
    EXPECT_EQ(doubled.pixels().size(), QSize(800, 600));
    EXPECT_EQ(doubled.size(), (Size{400, 300}));
}

}  // namespace
}  // namespace lumigrave
