#pragma once

#include <QByteArray>
#include <QString>

#include "platform/image.h"

namespace lumigrave {

// Loads untrusted image files. A file that is not an image, is damaged or truncated, or
// declares a size above our limit is refused with a named error and nothing else
// happens; an EXIF orientation becomes the image's orientation without turning the
// pixels (an orientation outside EXIF's eight is ignored: the image loads upright).
class ImageLoader {
  public:
    enum class Error { None, CannotOpen, NotAnImage, TooLarge, Damaged };

    // The largest image taken: 16384 pixels on a side and 100 megapixels.
    static constexpr int kMaxSide = 16384;
    static constexpr qint64 kMaxPixels = 100'000'000;

    // Either the image (error None, message empty) or a refusal: an Error other than
    // None, a message for the user naming what is wrong, and a null image. Nothing is
    // logged; the caller shows or reports the message.
    struct Result {
        Image image;
        Error error = Error::None;
        QString message;
        bool ok() const { return error == Error::None; }
    };

    // Caps what Qt's decoders may allocate, so a forged header cannot exhaust memory
    // even in a format whose size is only known once decoding starts. Call at start-up.
    static void installAllocationLimit();

    // What the header of an image file says, checked as a load checks it, without
    // decoding the pixels.
    struct Header {
        Error error = Error::None;
        QString message;
        QSize pixelSize;
        int orientation = kOrientationUp;
        QByteArray format;  // "jpeg", "png", …
        bool ok() const { return error == Error::None; }
    };
    static Header inspectData(const QByteArray& data);
    // The whole file into *data, or a refusal (CannotOpen) naming why it cannot be
    // read. Its Result never holds an image, only whether the read went well.
    static Result readFile(const QString& path, QByteArray* data);

    static Result loadFile(const QString& path);
    // scale 2 for "@2x" names; resources are ours, but go through the same checks.
    static Result loadResource(const QString& name, const QString& type);
    static Result loadData(const QByteArray& data, float scale = 1);

  private:
    static Result loadFile(const QString& path, float scale);
};

}  // namespace lumigrave
