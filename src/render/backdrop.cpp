#include "render/backdrop.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace lumigrave {

namespace {

// Narrows [from, to) to the x for which lo < a + x·d < hi; false when nothing is left.
bool narrow(double a, double d, double lo, double hi, double& from, double& to) {
    if (std::abs(d) < 1e-12) {
        return a > lo && a < hi && from < to;
    }
    double x1 = (lo - a) / d;
    double x2 = (hi - a) / d;
    if (x1 > x2) {
        std::swap(x1, x2);
    }
    from = std::max(from, x1);
    to = std::min(to, x2);
    return from < to;
}

}  // namespace

GreyImage GreyImage::fromImage(const QImage& image) {
    GreyImage grey;
    const QImage rgb = image.format() == QImage::Format_RGB32 ||
                               image.format() == QImage::Format_ARGB32_Premultiplied
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    grey.width = rgb.width();
    grey.height = rgb.height();
    grey.pixels.resize(size_t(grey.width) * size_t(grey.height));
    for (int y = 0; y < grey.height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uint8_t* out = grey.pixels.data() + size_t(y) * size_t(grey.width);
        for (int x = 0; x < grey.width; ++x) {
            out[x] = uint8_t(qRed(in[x]));
        }
    }
    return grey;
}

Backdrop::Backdrop(int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)), byRow_(size_t(height_)) {}

void Backdrop::lay(const GreyImage& watermark, const QTransform& toBackdrop, float opacity) {
    if (watermark.isEmpty() || !toBackdrop.isInvertible() || !(opacity > 0)) {
        return;
    }
    // Rows the watermark can touch: its corners, a pixel wider for the soft edge.
    const QRectF bounds =
        toBackdrop.mapRect(QRectF(-1, -1, watermark.width + 2, watermark.height + 2));
    const int first = std::max(0, int(std::floor(bounds.top())));
    const int last = std::min(height_ - 1, int(std::ceil(bounds.bottom())));
    if (first > last || bounds.right() < 0 || bounds.left() > width_) {
        return;
    }
    const int index = int(placements_.size());
    placements_.push_back(Placement{&watermark, toBackdrop.inverted(), std::min(opacity, 1.0f)});
    for (int y = first; y <= last; ++y) {
        byRow_[size_t(y)].push_back(index);
    }
}

bool Backdrop::columns(const Placement& p, int y, int& begin, int& end) const {
    const QPointF start = p.toImage.map(QPointF(0.5, y + 0.5));
    double from = 0, to = width_;
    // Samples are taken between texel centres (i + 0.5); more than half a texel outside,
    // all four neighbours are outside and nothing shows.
    if (!narrow(start.x(), p.toImage.m11(), -0.5, p.image->width + 0.5, from, to) ||
        !narrow(start.y(), p.toImage.m12(), -0.5, p.image->height + 0.5, from, to)) {
        return false;
    }
    begin = std::max(0, int(std::floor(from)));
    end = std::min(width_, int(std::ceil(to)));
    return begin < end;
}

void Backdrop::sample(const Placement& p, int y, int begin, int end, uint8_t* levels) const {
    const int w = p.image->width;
    const int h = p.image->height;
    const uint8_t* texels = p.image->pixels.data();
    // Positions in the watermark's texels, relative to texel centres, as 32.32 fixed
    // point: stepping along a row is one addition, and a row of tens of thousands of
    // pixels drifts by far less than a 256th of a texel.
    const QPointF start = p.toImage.map(QPointF(begin + 0.5, y + 0.5));
    constexpr double kOne = 4294967296.0;
    int64_t u = std::llround((start.x() - 0.5) * kOne);
    int64_t v = std::llround((start.y() - 0.5) * kOne);
    const int64_t du = std::llround(p.toImage.m11() * kOne);
    const int64_t dv = std::llround(p.toImage.m12() * kOne);
    const int alpha = int(std::lround(p.opacity * 256));  // 0 … 256
    for (int x = begin; x < end; ++x, u += du, v += dv) {
        const int i = int(u >> 32);  // floor, also below zero
        const int j = int(v >> 32);
        const int fu = int((u >> 24) & 0xFF);  // weights in 256ths
        const int fv = int((v >> 24) & 0xFF);
        const int cur = levels[x];
        if (i >= 0 && j >= 0 && i + 1 < w && j + 1 < h) {
            const uint8_t* q = texels + size_t(j) * size_t(w) + size_t(i);
            const int top = q[0] * (256 - fu) + q[1] * fu;
            const int bottom = q[w] * (256 - fu) + q[w + 1] * fu;
            const int value = (top * (256 - fv) + bottom * fv) >> 8;  // level × 256
            const int blended = cur * 65536 + alpha * (value - cur * 256);
            levels[x] = uint8_t((blended + 32768) >> 16);
            continue;
        }
        // At the edge: texels outside are transparent.
        int value = 0;
        int coverage = 0;
        for (int dj = 0; dj < 2; ++dj) {
            for (int di = 0; di < 2; ++di) {
                const int ti = i + di;
                const int tj = j + dj;
                if (ti < 0 || tj < 0 || ti >= w || tj >= h) {
                    continue;
                }
                const int weight = (di ? fu : 256 - fu) * (dj ? fv : 256 - fv);  // 65536ths
                value += weight * texels[size_t(tj) * size_t(w) + size_t(ti)];
                coverage += weight;
            }
        }
        if (coverage == 0) {
            continue;
        }
        // level × 256 over the covered part; the opacity scaled by the coverage.
        const int covered = int((int64_t(value) * 256 + coverage / 2) / coverage);
        const int weight = int((int64_t(alpha) * coverage + 32768) >> 16);
        const int blended = cur * 65536 + weight * (covered - cur * 256);
        levels[x] = uint8_t((blended + 32768) >> 16);
    }
}

std::pair<int, int> Backdrop::renderRow(int y, uint8_t* levels) const {
    std::pair<int, int> span{0, 0};
    if (y < 0 || y >= height_) {
        return span;
    }
    for (const int index : byRow_[size_t(y)]) {
        const Placement& p = placements_[size_t(index)];
        int begin = 0, end = 0;
        if (!columns(p, y, begin, end)) {
            continue;
        }
        sample(p, y, begin, end, levels);
        span = span.first == span.second
                   ? std::pair{begin, end}
                   : std::pair{std::min(span.first, begin), std::max(span.second, end)};
    }
    return span;
}

void Backdrop::resetSpan(uint8_t* levels, std::pair<int, int> span) {
    if (span.first < span.second) {
        std::memset(levels + span.first, kMidGrey, size_t(span.second - span.first));
    }
}

}  // namespace lumigrave
