// The one-step render of a tiled preset against the two-step route: the tile canvas
// made first, then laid centred over mid-grey at the preset's opacity, turned by the
// preset's angle, and the photo blended over it with Overlay. The renderer lays each
// tile straight onto the photo instead; the pictures must agree.
#include <gtest/gtest.h>

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "model/layout_type.h"
#include "render/emboss_composer.h"
#include "support/image_compare.h"
#include "support/image_files.h"
#include "support/overlay_reference.h"
#include "support/presets.h"

namespace lumigrave {
namespace {

// The route, computed per photo pixel in double precision with a single rounding at the
// end, so that its own error stays well below a level: the canvas centred on the photo
// and turned counter-clockwise by the angle, sampled bilinearly, laid over mid-grey at
// the opacity, and the photo blended over it.
QImage twoStepRender(const Embosser& e, const Image& photo, const Image& relief) {
    const QImage canvas = EmbossComposer::tiledImageForEmbosser(e, photo, relief).pixels();
    const double s = photo.scale();
    const double w = photo.size().width, h = photo.size().height;
    const double theta = e.text_angle() * 0.017453292519943295;
    const double cosine = std::cos(theta), sine = std::sin(theta);
    // The canvas covers the photo turned by the angle; its bitmap is that size rounded
    // up to whole pixels, the spare fraction at the right and bottom.
    const double canvasWidth = w * std::abs(cosine) + h * std::abs(sine);
    const double canvasHeight = w * std::abs(sine) + h * std::abs(cosine);
    auto canvasLevel = [&](int i, int j) {
        i = std::clamp(i, 0, canvas.width() - 1);
        j = std::clamp(j, 0, canvas.height() - 1);
        return test::backdropFraction(qRed(canvas.pixel(i, j)));
    };
    QImage out(photo.pixels().size(), QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            // From the photo's centre, in points, y down; turned back by the angle.
            const double dx = (x + 0.5) / s - w * 0.5, dy = (y + 0.5) / s - h * 0.5;
            const double u = dx * cosine - dy * sine + canvasWidth * 0.5;
            const double v = dx * sine + dy * cosine + canvasHeight * 0.5;
            const double cu = u * s - 0.5, cv = v * s - 0.5;
            const int i = int(std::floor(cu)), j = int(std::floor(cv));
            const double fu = cu - i, fv = cv - j;
            const double level =
                (canvasLevel(i, j) * (1 - fu) + canvasLevel(i + 1, j) * fu) * (1 - fv) +
                (canvasLevel(i, j + 1) * (1 - fu) + canvasLevel(i + 1, j + 1) * fu) * fv;
            const double b = 0.5 + e.opacity() * (level - 0.5);
            const QRgb a = photo.pixels().pixel(x, y);
            auto blend = [&](int channel) {
                return int(std::lround(255 * test::overlayReference(channel / 255.0, b)));
            };
            out.setPixel(x, y, qRgb(blend(qRed(a)), blend(qGreen(a)), blend(qBlue(a))));
        }
    }
    return out;
}

// The relief softened by a few passes of a box blur, in a flat frame wide enough that its
// edges stay flat. A sharp relief differs between the routes at every glyph edge once it
// is turned: the route resamples it twice (into the tile canvas, then the canvas onto the
// photo), the renderer once, and a twice-blurred one-pixel edge is not a once-blurred
// one. Over a soft relief resampling is all but exact, and whatever differs is the
// placement or the blend.
Image softened(const Image& relief) {
    constexpr int kFrame = 14;
    constexpr int kFlat = 127;
    const QImage sharp = relief.pixels();
    QImage pixels(sharp.width() + 2 * kFrame, sharp.height() + 2 * kFrame, QImage::Format_RGB32);
    pixels.fill(qRgb(kFlat, kFlat, kFlat));
    QPainter(&pixels).drawImage(kFrame, kFrame, sharp);
    const int w = pixels.width(), h = pixels.height();
    for (int pass = 0; pass < 6; ++pass) {
        const QImage source = pixels.copy();
        for (int y = 2; y < h - 2; ++y) {
            for (int x = 2; x < w - 2; ++x) {
                int sum = 0;
                for (int dy = -2; dy <= 2; ++dy) {
                    for (int dx = -2; dx <= 2; ++dx) {
                        sum += qRed(source.pixel(x + dx, y + dy));
                    }
                }
                const int level = (sum + 12) / 25;
                pixels.setPixel(x, y, qRgb(level, level, level));
            }
        }
    }
    return Image(pixels, relief.scale());
}

// The test photo's levels squeezed into 48 … 207. The renderer holds the backdrop in whole
// levels, and so does the tile canvas; together with the canvas's second resampling that
// leaves up to about one level of backdrop between the routes, which Overlay multiplies
// by up to twice the photo's distance from black or white. Away from the extremes the
// factor stays below 1.7, and the routes must agree within two levels.
QImage midTonePhoto(int width, int height) {
    QImage photo = test::testPhoto(width, height);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < width; ++x) {
            auto squeeze = [](int level) { return 48 + level * 160 / 256; };
            row[x] = qRgb(squeeze(qRed(row[x])), squeeze(qGreen(row[x])), squeeze(qBlue(row[x])));
        }
    }
    return photo;
}

struct Route {
    int layout;
    float angle;
    bool sharp;  // the relief as rendered, not softened
};

std::ostream& operator<<(std::ostream& out, const Route& r) {
    return out << layoutTypeTitle(r.layout).toStdString() << " at " << r.angle << "°"
               << (r.sharp ? ", sharp relief" : "");
}

class TiledRoutes : public testing::TestWithParam<Route> {};

TEST_P(TiledRoutes, TheOneStepRenderIsTheTileCanvasLaidAndBlended) {
    Embosser e = test::renderPreset(GetParam().layout, GetParam().angle);
    e.setOpacity(0.7f);
    const Image photo(midTonePhoto(640, 427));
    const Image rendered = EmbossComposer::embossedTextForEmbosser(e, photo);
    ASSERT_FALSE(rendered.isNull());
    const Image relief = GetParam().sharp ? rendered : softened(rendered);
    const QImage oneStep = EmbossComposer::embossedImageForEmbosser(e, photo, relief).pixels();
    EXPECT_TRUE(test::imagesMatch(oneStep, twoStepRender(e, photo, relief), 2));
    // Not two photos left alone: the tiles are there.
    EXPECT_FALSE(test::imagesMatch(oneStep, photo.pixels(), 20));
}

// At 0° the canvas lands on the photo pixel for pixel, so even a sharp relief agrees.
INSTANTIATE_TEST_SUITE_P(
    LayoutsAndAngles, TiledRoutes,
    testing::Values(Route{kLayoutTileParallel, 0, true}, Route{kLayoutTileInterlace, 0, true},
                    Route{kLayoutTileParallel, 0, false}, Route{kLayoutTileParallel, 30, false},
                    Route{kLayoutTileInterlace, 0, false}, Route{kLayoutTileInterlace, 30, false}));

}  // namespace
}  // namespace lumigrave
