// The interface images are rendered from SVG at build time. These tests check what the
// screens rely on: every name is bundled at 1x and @2x, the @2x file is the same drawing
// at exactly twice the pixels (so Qt's automatic @2x pick on a dense screen shows the
// same picture, sharper), bar glyphs are light on a transparent ground, and the tile
// behind the photos is opaque.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>
#include <cmath>
#include <cstdlib>
#include <ostream>
#include <string>

#include "platform/image_loader.h"

namespace lumigrave {
namespace {

enum class Kind { BarGlyph, Tile, AppIcon };

struct ResourceImage {
    const char* name;
    int width;  // in points: pixels of the 1x file
    int height;
    Kind kind;
};

void PrintTo(const ResourceImage& image, std::ostream* os) {
    *os << image.name;
}

const ResourceImage kImages[] = {
    {"nv-embosser", 24, 20, Kind::BarGlyph},      {"nv-photo", 24, 20, Kind::BarGlyph},
    {"nv-gear", 20, 20, Kind::BarGlyph},          {"background", 32, 32, Kind::Tile},
    {"tb-text", 24, 24, Kind::BarGlyph},          {"tb-font", 24, 24, Kind::BarGlyph},
    {"tb-opacity", 24, 24, Kind::BarGlyph},       {"tb-layout", 24, 24, Kind::BarGlyph},
    {"tb-embosser-list", 24, 24, Kind::BarGlyph}, {"tb-open", 24, 24, Kind::BarGlyph},
    {"tb-resize", 24, 24, Kind::BarGlyph},        {"tb-rotatel", 24, 24, Kind::BarGlyph},
    {"tb-rotater", 24, 24, Kind::BarGlyph},       {"sys-action", 24, 24, Kind::BarGlyph},
    {"app-icon", 256, 256, Kind::AppIcon},
};

QImage loadPixels(const QString& path) {
    QImage image(path);
    return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

double luminance(QRgb premultiplied) {
    const QColor c = QColor::fromRgba(qUnpremultiply(premultiplied));
    return 0.2126 * c.red() + 0.7152 * c.green() + 0.0722 * c.blue();
}

struct Coverage {
    double visible = 0;      // share of pixels with any alpha
    double clear = 0;        // share of fully transparent pixels
    double opaque = 0;       // share of fully opaque pixels
    double solidLight = -1;  // mean luminance of nearly opaque pixels; -1 when none
};

Coverage coverageOf(const QImage& image) {
    Coverage c;
    double solidSum = 0;
    int solidCount = 0;
    const double pixels = double(image.width()) * image.height();
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(row[x]);
            c.visible += alpha > 0;
            c.clear += alpha == 0;
            c.opaque += alpha == 255;
            // The glyphs' drop shadow is drawn at about half opacity: this counts the
            // faces only.
            if (alpha >= 200) {
                solidSum += luminance(row[x]);
                ++solidCount;
            }
        }
    }
    c.visible /= pixels;
    c.clear /= pixels;
    c.opaque /= pixels;
    if (solidCount > 0) {
        c.solidLight = solidSum / solidCount;
    }
    return c;
}

// Mean absolute difference per channel (0-255, premultiplied) between a 1x image and
// its @2x partner averaged down over 2 x 2 blocks.
double differenceFromHalved(const QImage& one, const QImage& two) {
    double sum = 0;
    for (int y = 0; y < one.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(one.constScanLine(y));
        const auto* top = reinterpret_cast<const QRgb*>(two.constScanLine(2 * y));
        const auto* bottom = reinterpret_cast<const QRgb*>(two.constScanLine(2 * y + 1));
        for (int x = 0; x < one.width(); ++x) {
            const QRgb block[4] = {top[2 * x], top[2 * x + 1], bottom[2 * x], bottom[2 * x + 1]};
            for (int shift : {0, 8, 16, 24}) {
                double mean = 0;
                for (QRgb p : block) {
                    mean += (p >> shift) & 0xff;
                }
                sum += std::abs(mean / 4 - ((row[x] >> shift) & 0xff));
            }
        }
    }
    return sum / (4.0 * one.width() * one.height());
}

class ResourceImageTest : public testing::TestWithParam<ResourceImage> {
  protected:
    QString path(const char* suffix) const {
        return QStringLiteral(":/images/%1%2.png")
            .arg(QLatin1String(GetParam().name), QLatin1String(suffix));
    }
};

TEST_P(ResourceImageTest, IsBundledAtOneAndTwiceThePixels) {
    const ResourceImage& expected = GetParam();
    const QImage one = loadPixels(path(""));
    const QImage two = loadPixels(path("@2x"));
    ASSERT_FALSE(one.isNull()) << path("").toStdString();
    ASSERT_FALSE(two.isNull()) << path("@2x").toStdString();
    EXPECT_EQ(one.size(), QSize(expected.width, expected.height));
    EXPECT_EQ(two.size(), 2 * one.size());

    // Through the application's own loader the two are the same size in points.
    const QString name = QStringLiteral("images/%1").arg(QLatin1String(expected.name));
    const auto loadedOne = ImageLoader::loadResource(name, QStringLiteral("png"));
    const auto loadedTwo = ImageLoader::loadResource(name + "@2x", QStringLiteral("png"));
    ASSERT_TRUE(loadedOne.ok()) << loadedOne.message.toStdString();
    ASSERT_TRUE(loadedTwo.ok()) << loadedTwo.message.toStdString();
    EXPECT_EQ(loadedOne.image.scale(), 1.0f);
    EXPECT_EQ(loadedTwo.image.scale(), 2.0f);
    EXPECT_EQ(loadedOne.image.size(), loadedTwo.image.size());
}

TEST_P(ResourceImageTest, BothScalesShowTheSameDrawing) {
    const QImage one = loadPixels(path(""));
    const QImage two = loadPixels(path("@2x"));
    ASSERT_FALSE(one.isNull());
    ASSERT_EQ(two.size(), 2 * one.size());
    for (const QImage& image : {one, two}) {
        const Coverage c = coverageOf(image);
        EXPECT_GT(c.visible, 0.05) << "nearly empty at " << image.width() << " pixels wide";
    }
    // Antialiased edges differ a little between the scales (a dotted line most of all,
    // about 6); a partner from another drawing, even the mirrored rotation, is above 17.
    EXPECT_LT(differenceFromHalved(one, two), 10.0);
}

TEST_P(ResourceImageTest, SuitsWhereItIsShown) {
    const ResourceImage& expected = GetParam();
    for (const char* suffix : {"", "@2x"}) {
        SCOPED_TRACE(path(suffix).toStdString());
        const QImage image = loadPixels(path(suffix));
        ASSERT_FALSE(image.isNull());
        const Coverage c = coverageOf(image);
        switch (expected.kind) {
            case Kind::BarGlyph:
                // Light glyphs for a black translucent bar, on a clear ground so that the
                // bar shows around them instead of a box.
                EXPECT_GT(c.solidLight, 170.0);
                EXPECT_GT(c.clear, 0.25);
                break;
            case Kind::Tile:
                // Tiled behind the photos: a see-through pixel would let the window's
                // own colour through in a grid.
                EXPECT_EQ(c.opaque, 1.0);
                EXPECT_LT(c.solidLight, 80.0);
                break;
            case Kind::AppIcon:
                // A picture filling most of its square, not a glyph or an outline.
                EXPECT_GT(c.opaque, 0.6);
                EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
                break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Images, ResourceImageTest, testing::ValuesIn(kImages),
                         [](const testing::TestParamInfo<ResourceImage>& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (c == '-') {
                                     c = '_';
                                 }
                             }
                             return name;
                         });

}  // namespace
}  // namespace lumigrave
