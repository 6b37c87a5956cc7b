#include "support/image_compare.h"

#include <cstdlib>

namespace lumigrave::test {

namespace {

int channelOf(QRgb pixel, int channel) {
    switch (channel) {
        case 0:
            return qRed(pixel);
        case 1:
            return qGreen(pixel);
        case 2:
            return qBlue(pixel);
        default:
            return qAlpha(pixel);
    }
}

}  // namespace

testing::AssertionResult imagesMatch(const QImage& actual, const QImage& expected, int tolerance) {
    if (actual.size() != expected.size()) {
        return testing::AssertionFailure()
               << "sizes differ: " << actual.width() << "x" << actual.height() << " vs "
               << expected.width() << "x" << expected.height();
    }
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32);
    const QImage b = expected.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    QPoint first(-1, -1);
    for (int y = 0; y < a.height(); ++y) {
        const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            for (int c = 0; c < 4; ++c) {
                const int gap = std::abs(channelOf(ra[x], c) - channelOf(rb[x], c));
                if (gap > tolerance && first.x() < 0) {
                    first = QPoint(x, y);
                }
                worst = std::max(worst, gap);
            }
        }
    }
    if (first.x() >= 0) {
        return testing::AssertionFailure()
               << "first pixel beyond tolerance " << tolerance << " at (" << first.x() << ", "
               << first.y() << "), largest gap " << worst;
    }
    return testing::AssertionSuccess();
}

double meanChannel(const QImage& image, const QRect& area, int channel) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const QRect r = area.intersected(argb.rect());
    if (r.isEmpty()) {
        return 0;
    }
    double sum = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = r.left(); x <= r.right(); ++x) {
            sum += channelOf(row[x], channel);
        }
    }
    return sum / (double(r.width()) * r.height());
}

}  // namespace lumigrave::test
