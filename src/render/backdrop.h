#pragma once

#include <QTransform>
#include <cstdint>
#include <utility>
#include <vector>

class QImage;

namespace lumigrave {

// One grey level per pixel, rows of exactly width bytes.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    // The red channel of an opaque grey image (a relief image has red = green = blue).
    static GreyImage fromImage(const QImage& image);
    bool isEmpty() const { return width <= 0 || height <= 0; }
};

// The grey backdrop a photo is blended over: mid-grey, with watermarks laid on it.
// Level 128 stands for mid-grey, 0.5, exactly.
//
// It is produced a row at a time, never as a whole plane: a photo-sized plane is tens of
// megabytes touched for nothing where the backdrop stays grey, which is most of it.
class Backdrop {
  public:
    static constexpr uint8_t kMidGrey = 128;

    Backdrop(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }

    // Lays the watermark over the backdrop at the given opacity; the watermark must
    // outlive the backdrop. toBackdrop maps the watermark's pixel space onto the
    // backdrop's. Each backdrop pixel is sampled at its centre, bilinearly, with
    // everything outside the watermark transparent: edges are soft, and a placement by
    // whole pixels without rotation or scaling copies the pixels one to one. The sampler
    // has a vector path, taken where cpu::useAvx2() says so, with the same levels.
    void lay(const GreyImage& watermark, const QTransform& toBackdrop, float opacity);

    // Writes the levels of row y into levels, which holds width entries and is mid-grey
    // wherever no watermark was laid; returns the span [first, second) that it wrote.
    // levels must be mid-grey outside that span on entry; the caller restores that
    // after use (resetSpan).
    std::pair<int, int> renderRow(int y, uint8_t* levels) const;
    static void resetSpan(uint8_t* levels, std::pair<int, int> span);

    // The whole backdrop as an opaque grey image (32-bit RGB); null when its memory
    // cannot be had.
    QImage toImage() const;

  private:
    struct Placement {
        const GreyImage* image;
        QTransform toImage;
        float opacity;
    };

    // The columns of row y the placement touches, if any.
    bool columns(const Placement& p, int y, int& begin, int& end) const;
    void sample(const Placement& p, int y, int begin, int end, uint8_t* levels) const;

    int width_;
    int height_;
    std::vector<Placement> placements_;
    std::vector<std::vector<int>> byRow_;  // row → placements that may touch it
};

}  // namespace lumigrave
