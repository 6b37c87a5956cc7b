#include "render/overlay_blend.h"

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "platform/cpu_features.h"
#include "render/backdrop.h"

namespace lumigrave {

namespace {

using Row = std::array<uint8_t, 256>;

// Every result for every backdrop level, computed once: 64 KiB, so the blend of a pixel
// is three table reads.
const std::array<Row, 256>& overlayTable() {
    static const std::array<Row, 256> table = [] {
        std::array<Row, 256> t{};
        for (int b = 0; b < 256; ++b) {
            for (int a = 0; a < 256; ++a) {
                t[size_t(b)][size_t(a)] = uint8_t(overlayLevel(a, b));
            }
        }
        return t;
    }();
    return table;
}

}  // namespace

int overlayLevel(int photo, int backdrop) {
    if (backdrop == Backdrop::kMidGrey) {
        return photo;
    }
    const double a = photo / 255.0;
    const double b = backdrop / 255.0;
    const double result = b <= 0.5 ? 2 * a * b : 1 - 2 * (1 - a) * (1 - b);
    return int(std::lround(result * 255));
}

namespace {

void overlayRowScalar(const QRgb* photo, const uint8_t* backdrop, QRgb* out, int count) {
    const auto& table = overlayTable();
    for (int x = 0; x < count; ++x) {
        const uint8_t b = backdrop[x];
        const QRgb a = photo[x];
        if (b == Backdrop::kMidGrey) {
            out[x] = a;
            continue;
        }
        const Row& row = table[b];
        out[x] = 0xFF000000u | (uint32_t(row[(a >> 16) & 0xFF]) << 16) |
                 (uint32_t(row[(a >> 8) & 0xFF]) << 8) | row[a & 0xFF];
    }
}

// Eight pixels at a time. Where the backdrop is light (b ≥ 128) the blend is the dark
// one mirrored: 255 − blend(255 − a, 255 − b), and 255 − v is v ^ 0xFF on bytes, so one
// mask turns both inputs and the result for all four channels at once. The dark blend
// round(x·2y / 255) runs in 16-bit lanes: x·2y stays below 65536, and round(t / 255) is
// (t + 128 + ((t + 128) >> 8)) >> 8, exactly the rounding of the table. Level 128 (0.5
// exactly) keeps the photo's own value.
__attribute__((target("avx2"))) inline __m256i darkBlend(__m256i x, __m256i y) {
    const __m256i k128 = _mm256_set1_epi16(128);
    const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(x, _mm256_add_epi16(y, y)), k128);
    return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}

__attribute__((target("avx2"))) void overlayRowAvx2Kernel(const QRgb* photo,
                                                          const uint8_t* backdrop, QRgb* out,
                                                          int count) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i mid = _mm256_set1_epi8(char(Backdrop::kMidGrey));
    const __m256i opaque = _mm256_set1_epi32(int(0xFF000000u));
    // Each pixel's level into all four of its bytes: levels 0–3 in the low half, 4–7 in
    // the high half.
    const __m256i spread = _mm256_setr_epi8(0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4,
                                            4, 5, 5, 5, 5, 6, 6, 6, 6, 7, 7, 7, 7);
    int x = 0;
    for (; x + 8 <= count; x += 8) {
        const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(photo + x));
        int64_t eight;
        std::memcpy(&eight, backdrop + x, sizeof eight);
        const __m256i grey = _mm256_shuffle_epi8(_mm256_set1_epi64x(eight), spread);
        const __m256i light = _mm256_cmpgt_epi8(zero, grey);  // b ≥ 128, as signed bytes
        const __m256i a = _mm256_xor_si256(pixels, light);
        const __m256i b = _mm256_xor_si256(grey, light);
        const __m256i low = darkBlend(_mm256_unpacklo_epi8(a, zero), _mm256_unpacklo_epi8(b, zero));
        const __m256i high =
            darkBlend(_mm256_unpackhi_epi8(a, zero), _mm256_unpackhi_epi8(b, zero));
        const __m256i blended = _mm256_xor_si256(_mm256_packus_epi16(low, high), light);
        const __m256i kept = _mm256_blendv_epi8(blended, pixels, _mm256_cmpeq_epi8(grey, mid));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), _mm256_or_si256(kept, opaque));
    }
    overlayRowScalar(photo + x, backdrop + x, out + x, count - x);
}

}  // namespace

void overlayRowPremultiplied(const QRgb* photo, const uint8_t* backdrop, QRgb* out, int count) {
    for (int x = 0; x < count; ++x) {
        const int b = backdrop[x];
        const QRgb p = photo[x];
        if (b == Backdrop::kMidGrey) {
            out[x] = p;
            continue;
        }
        // With c = C / α: α·2·c·b = 2·C·b, and α·(1 − 2·(1 − c)·(1 − b)) =
        // α − 2·(α − C)·(1 − b). Neither rounding can land on a half.
        const int alpha = qAlpha(p);
        // A colour above its alpha is no premultiplied pixel; it is held to the alpha.
        auto blend = [&](int c) {
            c = std::min(c, alpha);
            return b < Backdrop::kMidGrey ? (2 * c * b + 127) / 255
                                          : alpha - (2 * (alpha - c) * (255 - b) + 127) / 255;
        };
        out[x] = qRgba(blend(qRed(p)), blend(qGreen(p)), blend(qBlue(p)), alpha);
    }
}

void overlayBackdropRow(const Backdrop& backdrop, int y, QRgb* row, uint8_t* levels,
                        PhotoAlpha alpha) {
    const auto span = backdrop.renderRow(y, levels);
    if (span.first < span.second) {
        QRgb* pixels = row + span.first;
        const int count = span.second - span.first;
        if (alpha == PhotoAlpha::Premultiplied) {
            overlayRowPremultiplied(pixels, levels + span.first, pixels, count);
        } else {
            overlayRow(pixels, levels + span.first, pixels, count);
        }
        Backdrop::resetSpan(levels, span);
    }
}

void overlayRow(const QRgb* photo, const uint8_t* backdrop, QRgb* out, int count) {
    if (cpu::useAvx2()) {
        overlayRowAvx2Kernel(photo, backdrop, out, count);
    } else {
        overlayRowScalar(photo, backdrop, out, count);
    }
}

}  // namespace lumigrave
