#pragma once

#include <QImage>
#include <QMetaType>
#include <QString>
#include <memory>

#include "platform/geometry.h"

class QIODevice;

namespace lumigrave {

// The eight orientation codes: how the stored pixels must be turned to show upright.
enum ImageOrientation : int {
    kOrientationUp = 0,
    kOrientationDown = 1,           // turned 180°
    kOrientationLeft = 2,           // to be turned a quarter turn counter-clockwise
    kOrientationRight = 3,          // to be turned a quarter turn clockwise
    kOrientationUpMirrored = 4,     // mirrored left to right
    kOrientationDownMirrored = 5,   // mirrored top to bottom
    kOrientationLeftMirrored = 6,   // transposed
    kOrientationRightMirrored = 7,  // transversed
};

// An immutable image: stored pixels (never turned), a scale (pixels per point) and an
// orientation. Copies share the pixels; identity ("the very image already held") is
// isSameImage. A default-constructed Image is null.
class Image {
  public:
    Image() = default;
    // Pixels in a format the renderer cannot draw on are converted to 32-bit RGB.
    explicit Image(QImage pixels, float scale = 1, int orientation = kOrientationUp);

    bool isNull() const { return !data_; }
    const QImage& pixels() const;
    float scale() const;
    int orientation() const;
    // In points, with the orientation applied: a stored 3000 × 2000 image turned a
    // quarter turn is 2000 × 3000.
    Size size() const;
    // The stored pixels turned upright.
    QImage uprightPixels() const;
    // The same, giving up this image's hold on them: when nobody else holds the image,
    // the caller gets the very pixels and may change them without a copy.
    QImage takeUprightPixels() &&;

    bool isSameImage(const Image& other) const { return data_ == other.data_; }

    // Encodes the upright pixels, with their colour profile. format is "png" or "jpeg";
    // quality 0 to 100 for JPEG. On failure *error is the cause, for the caller to put
    // in a sentence: the device's own error when the device failed ("No space left on
    // device"), else the encoder's.
    bool write(QIODevice& device, const char* format, int quality, QString* error) const;
    // Writes atomically: the file appears whole or not at all, never half-written; the
    // cause of a failure as for write, or the file system's.
    bool save(const QString& path, const char* format, int quality, QString* error) const;

    // Whether orientation turns the image a quarter turn (its width and height swap).
    static bool isTransposed(int orientation);
    static bool isValidOrientation(int orientation) {
        return orientation >= kOrientationUp && orientation <= kOrientationRightMirrored;
    }
    // Pixels converted, when needed, to a 32-bit format the renderer draws on.
    static QImage drawablePixels(QImage pixels);

  private:
    struct Data {
        QImage pixels;
        float scale;
        int orientation;
    };
    std::shared_ptr<const Data> data_;
};

// Turns stored pixels upright for the given orientation code. The colour space stays.
QImage applyOrientation(const QImage& pixels, int orientation);
// The pixels turned clockwise by quarterTurns quarter turns, colour space kept.
QImage quarterTurned(const QImage& pixels, int quarterTurns);

}  // namespace lumigrave

// Images travel in QVariants (the picker's info dictionary, notifications' values).
Q_DECLARE_METATYPE(lumigrave::Image)
