// The shadow's blur against a plain two-dimensional Gaussian, and the shadow cast.
#include <gtest/gtest.h>

#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <cmath>
#include <limits>
#include <vector>

#include "ui/shadow.h"

namespace lumigrave::ui {
namespace {

// Every output pixel as the weighted sum of every input pixel, in double precision:
// slow and obvious, so the separable float code has something to answer to.
QImage referenceBlur(const QImage& source, double sigma) {
    const QImage in = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int radius = int(std::ceil(sigma * 3));
    std::vector<double> kernel(2 * radius + 1);
    double sum = 0;
    for (int k = -radius; k <= radius; ++k) {
        kernel[k + radius] = std::exp(-(k * k) / (2 * sigma * sigma));
        sum += kernel[k + radius];
    }
    for (double& weight : kernel) {
        weight /= sum;
    }
    QImage out(in.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < in.height(); ++y) {
        for (int x = 0; x < in.width(); ++x) {
            double a = 0, r = 0, g = 0, b = 0;
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    if (!in.rect().contains(x + dx, y + dy)) {
                        continue;
                    }
                    const QRgb p = in.pixel(x + dx, y + dy);
                    const double w = kernel[dx + radius] * kernel[dy + radius];
                    a += w * qAlpha(p);
                    r += w * qRed(p);
                    g += w * qGreen(p);
                    b += w * qBlue(p);
                }
            }
            const int alpha = std::clamp(int(std::lround(a)), 0, 255);
            auto c = [&](double v) { return std::clamp(int(std::lround(v)), 0, alpha); };
            out.setPixel(x, y, qRgba(c(r), c(g), c(b), alpha));
        }
    }
    return out;
}

int largestDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest =
                std::max({largest, std::abs(qAlpha(p) - qAlpha(q)), std::abs(qRed(p) - qRed(q)),
                          std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return largest;
}

QImage noise(int width, int height, quint32 seed) {
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int alpha = random.bounded(256);
            image.setPixel(x, y,
                           qRgba(random.bounded(alpha + 1), random.bounded(alpha + 1),
                                 random.bounded(alpha + 1), alpha));
        }
    }
    return image;
}

TEST(GaussianBlur, AgreesWithThePlainConvolutionWithinALevel) {
    struct Case {
        int width;
        int height;
        double sigma;
    };
    // Kernels smaller and larger than the image, and a one-pixel-high strip.
    for (const Case& c :
         {Case{23, 17, 0.6}, Case{23, 17, 1.5}, Case{9, 31, 4.0}, Case{40, 1, 2.0}}) {
        const QImage source = noise(c.width, c.height, quint32(c.width * 100 + c.height));
        QImage blurred = source;
        gaussianBlur(blurred, c.sigma);
        EXPECT_LE(largestDifference(blurred, referenceBlur(source, c.sigma)), 1)
            << c.width << "x" << c.height << " sigma " << c.sigma;
    }
}

TEST(GaussianBlur, APointSpreadsEvenlyAndOutsideCountsAsClear) {
    QImage point(21, 21, QImage::Format_ARGB32_Premultiplied);
    point.fill(Qt::transparent);
    point.setPixel(10, 10, qRgba(255, 255, 255, 255));
    gaussianBlur(point, 2);
    // Symmetric about the point, falling away from it.
    for (int d = 1; d <= 6; ++d) {
        EXPECT_EQ(point.pixel(10 - d, 10), point.pixel(10 + d, 10)) << d;
        EXPECT_EQ(point.pixel(10, 10 - d), point.pixel(10 + d, 10)) << d;
        EXPECT_LE(qAlpha(point.pixel(10 + d, 10)), qAlpha(point.pixel(10 + d - 1, 10))) << d;
    }
    // At a corner, what spreads beyond the image is lost, not folded back.
    QImage corner(8, 8, QImage::Format_ARGB32_Premultiplied);
    corner.fill(Qt::transparent);
    corner.setPixel(0, 0, qRgba(0, 0, 0, 255));
    gaussianBlur(corner, 1.5);
    EXPECT_LT(qAlpha(corner.pixel(0, 0)), 255 / 4);
}

TEST(GaussianBlur, NoDeviationLeavesTheImageAndOtherFormatsAreTakenAsPremultiplied) {
    const QImage source = noise(12, 7, 7);
    for (double sigma : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
        QImage same = source;
        gaussianBlur(same, sigma);
        EXPECT_EQ(same, source) << sigma;
    }
    QImage straight = source.convertToFormat(QImage::Format_ARGB32);
    gaussianBlur(straight, 1.2);
    EXPECT_EQ(straight.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_LE(largestDifference(straight, referenceBlur(source, 1.2)), 1);
}

TEST(Shadow, IsCastOffsetAndSoftAtTheDevicesScale) {
    for (qreal ratio : {1.0, 2.0}) {
        QImage canvas(int(60 * ratio), int(40 * ratio), QImage::Format_ARGB32_Premultiplied);
        canvas.setDevicePixelRatio(ratio);
        canvas.fill(Qt::transparent);
        QPainterPath box;
        box.addRect(20, 10, 20, 10);
        {
            QPainter painter(&canvas);
            drawShadow(painter, box, QPointF(0, 2), 3, QColor(0, 0, 0, 255));
        }
        auto alphaAt = [&](qreal x, qreal y) {
            return qAlpha(canvas.pixel(int(x * ratio), int(y * ratio)));
        };
        // Dark in the middle of the moved box, fading out past its edges, clear far away.
        EXPECT_GT(alphaAt(30, 17), 200) << ratio;
        EXPECT_GT(alphaAt(30, 23), 0) << ratio;
        EXPECT_LT(alphaAt(30, 23), alphaAt(30, 17)) << ratio;
        EXPECT_EQ(alphaAt(2, 2), 0) << ratio;
        EXPECT_EQ(alphaAt(30, 38), 0) << ratio;
        // Moved down: more shadow under the box than over it.
        EXPECT_GT(alphaAt(30, 21), alphaAt(30, 9)) << ratio;
    }
}

}  // namespace
}  // namespace lumigrave::ui
