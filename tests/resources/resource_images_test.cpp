// The interface images are rendered from SVG at build time. These tests check what the
// screens rely on: every name is bundled at 1x and @2x, the @2x file is the same drawing
// at exactly twice the pixels (so Qt's automatic @2x pick on a dense screen shows the
// same picture, sharper), bar glyphs are light on a transparent ground, the tiles are
// opaque, keys are light with a dark sign, and each layout diagram shows the text where
// its layout puts it.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>
#include <array>
#include <cmath>
#include <cstdlib>
#include <ostream>
#include <string>

#include "platform/image_loader.h"

namespace lumigrave {
namespace {

enum class Kind { BarGlyph, Tile, Key, Diagram, AppIcon };

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
    {"nv-embosser", 24, 20, Kind::BarGlyph},
    {"nv-photo", 24, 20, Kind::BarGlyph},
    {"nv-gear", 20, 20, Kind::BarGlyph},
    {"background", 32, 32, Kind::Tile},
    {"tb-text", 24, 24, Kind::BarGlyph},
    {"tb-font", 24, 24, Kind::BarGlyph},
    {"tb-opacity", 24, 24, Kind::BarGlyph},
    {"tb-layout", 24, 24, Kind::BarGlyph},
    {"tb-embosser-list", 24, 24, Kind::BarGlyph},
    {"tb-open", 24, 24, Kind::BarGlyph},
    {"tb-resize", 24, 24, Kind::BarGlyph},
    {"tb-rotatel", 24, 24, Kind::BarGlyph},
    {"tb-rotater", 24, 24, Kind::BarGlyph},
    {"sys-action", 24, 24, Kind::BarGlyph},
    {"tb-copy-new", 24, 24, Kind::BarGlyph},
    {"tb-previous", 24, 24, Kind::BarGlyph},
    {"tb-next", 24, 24, Kind::BarGlyph},
    {"tb-font-small", 20, 20, Kind::BarGlyph},
    {"tb-font-large", 20, 20, Kind::BarGlyph},
    {"tb-font-transparent", 20, 20, Kind::BarGlyph},
    {"tb-font-normal", 20, 20, Kind::BarGlyph},
    {"tb-font-rotate", 20, 20, Kind::BarGlyph},
    {"tb-margin-hmin", 20, 20, Kind::BarGlyph},
    {"tb-margin-hmax", 20, 20, Kind::BarGlyph},
    {"tb-margin-vmin", 20, 20, Kind::BarGlyph},
    {"tb-margin-vmax", 20, 20, Kind::BarGlyph},
    {"pickview_bg", 16, 16, Kind::Tile},
    {"copyright", 44, 30, Kind::Key},
    {"copyright-pop", 62, 108, Kind::Key},
    {"layout-center", 40, 30, Kind::Diagram},
    {"layout-topleft", 40, 30, Kind::Diagram},
    {"layout-topright", 40, 30, Kind::Diagram},
    {"layout-bottomleft", 40, 30, Kind::Diagram},
    {"layout-bottomright", 40, 30, Kind::Diagram},
    {"layout-tile-parallel", 40, 30, Kind::Diagram},
    {"layout-tile-interlace", 40, 30, Kind::Diagram},
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

// Share of opaque pixels that are dark: the sign drawn on a key.
double darkShare(const QImage& image) {
    int dark = 0;
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) == 255) {
                ++opaque;
                dark += luminance(p) < 80;
            }
        }
    }
    return opaque == 0 ? 0 : double(dark) / opaque;
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
            case Kind::Key: {
                // A light key with a dark sign on it, on a clear ground so that the bar
                // (or the photo, for the pop-up) shows around its rounded corners.
                EXPECT_GT(c.opaque, 0.5);
                EXPECT_GT(c.solidLight, 170.0);
                EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
                EXPECT_GT(darkShare(image), 0.03);
                break;
            }
            case Kind::Diagram:
                // A small photo in a picker row: no hole through which the row shows.
                EXPECT_EQ(c.opaque, 1.0);
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

// The layout picker's rows are told apart by their diagrams alone at a glance: the text
// (the pure white bars) must sit where the layout puts it, at both scales.
enum class Where { Centre, TopLeft, TopRight, BottomLeft, BottomRight, AllOver };

struct LayoutDiagram {
    const char* name;
    Where where;
};

void PrintTo(const LayoutDiagram& diagram, std::ostream* os) {
    *os << diagram.name;
}

const LayoutDiagram kDiagrams[] = {
    {"layout-center", Where::Centre},           {"layout-topleft", Where::TopLeft},
    {"layout-topright", Where::TopRight},       {"layout-bottomleft", Where::BottomLeft},
    {"layout-bottomright", Where::BottomRight}, {"layout-tile-parallel", Where::AllOver},
    {"layout-tile-interlace", Where::AllOver},
};

QString diagramPath(const char* name, const char* suffix) {
    return QStringLiteral(":/images/%1%2.png").arg(QLatin1String(name), QLatin1String(suffix));
}

// White pixels counted in each quarter of the image: top left, top right, bottom left,
// bottom right.
std::array<int, 4> whiteByQuarter(const QImage& image) {
    std::array<int, 4> quarters{};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = QColor::fromRgba(image.pixel(x, y));
            if (c.red() > 250 && c.green() > 250 && c.blue() > 250) {
                ++quarters[(2 * y >= image.height() ? 2 : 0) + (2 * x >= image.width() ? 1 : 0)];
            }
        }
    }
    return quarters;
}

class LayoutDiagramTest : public testing::TestWithParam<LayoutDiagram> {};

TEST_P(LayoutDiagramTest, ShowsTheTextWhereTheLayoutPutsIt) {
    for (const char* suffix : {"", "@2x"}) {
        SCOPED_TRACE(suffix);
        const QImage image = loadPixels(diagramPath(GetParam().name, suffix));
        ASSERT_FALSE(image.isNull());
        const std::array<int, 4> q = whiteByQuarter(image);
        const int total = q[0] + q[1] + q[2] + q[3];
        // A text bar is at least 8 x 2 points: anything less is no readable mark.
        ASSERT_GE(total, 16 * (image.width() / 40) * (image.width() / 40));
        switch (GetParam().where) {
            case Where::Centre:
                // Across the middle: the same in all four quarters.
                for (int n : q) {
                    EXPECT_NEAR(n, total / 4.0, total * 0.1);
                }
                break;
            case Where::TopLeft:
                EXPECT_EQ(q[0], total);
                break;
            case Where::TopRight:
                EXPECT_EQ(q[1], total);
                break;
            case Where::BottomLeft:
                EXPECT_EQ(q[2], total);
                break;
            case Where::BottomRight:
                EXPECT_EQ(q[3], total);
                break;
            case Where::AllOver:
                // Many marks, none of the quarters left out.
                for (int n : q) {
                    EXPECT_GT(n, total / 8);
                }
                break;
        }
    }
}

TEST(LayoutDiagrams, NoTwoAreTheSamePicture) {
    // Two rows with the same picture, the two tilings above all, could not be told apart.
    for (const LayoutDiagram& a : kDiagrams) {
        for (const LayoutDiagram& b : kDiagrams) {
            if (&a >= &b) {
                continue;
            }
            const QImage one = loadPixels(diagramPath(a.name, ""));
            const QImage two = loadPixels(diagramPath(b.name, ""));
            ASSERT_EQ(one.size(), two.size());
            int differing = 0;
            for (int y = 0; y < one.height(); ++y) {
                for (int x = 0; x < one.width(); ++x) {
                    differing += one.pixel(x, y) != two.pixel(x, y);
                }
            }
            EXPECT_GT(differing, 40) << a.name << " and " << b.name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, LayoutDiagramTest, testing::ValuesIn(kDiagrams),
                         [](const testing::TestParamInfo<LayoutDiagram>& info) {
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
