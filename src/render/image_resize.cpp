#include "render/image_resize.h"

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

#include "render/emboss_composer.h"

namespace lumigrave {

Rect integralRect(Rect rect) {
    const float left = std::floor(rect.origin.x);
    const float bottom = std::floor(rect.origin.y);
    const float right = std::ceil(rect.origin.x + rect.size.width);
    const float top = std::ceil(rect.origin.y + rect.size.height);
    return Rect{Point{left, bottom}, Size{right - left, top - bottom}};
}

bool drawsTransposed(int orientation) {
    return Image::isTransposed(orientation);
}

QTransform transformForOrientation(int orientation, Size newSize) {
    const double w = newSize.width;
    const double h = newSize.height;
    const double pi = std::numbers::pi;
    QTransform t;
    switch (orientation) {
        case kOrientationDown:
        case kOrientationDownMirrored:
            t.translate(w, h);
            t.rotateRadians(pi);
            break;
        case kOrientationLeft:
        case kOrientationLeftMirrored:
            t.translate(w, 0);
            t.rotateRadians(pi / 2);
            break;
        case kOrientationRight:
        case kOrientationRightMirrored:
            t.translate(0, h);
            t.rotateRadians(-pi / 2);
            break;
        default:
            break;
    }
    switch (orientation) {
        case kOrientationUpMirrored:
        case kOrientationDownMirrored:
            t.translate(w, 0);
            t.scale(-1, 1);
            break;
        case kOrientationLeftMirrored:
        case kOrientationRightMirrored:
            t.translate(h, 0);
            t.scale(-1, 1);
            break;
        default:
            break;
    }
    return t;
}

Image resizedImage(const Image& image, Size newSize, int quality) {
    if (image.isNull()) {
        return Image();
    }
    const Rect rect = integralRect(Rect{Point{}, newSize});
    const int width = int(rect.size.width);
    const int height = int(rect.size.height);
    if (width <= 0 || height <= 0) {
        return Image();
    }
    QImage upright = image.uprightPixels();
    if (upright.width() != width || upright.height() != height) {
        upright = upright.scaled(
            width, height, Qt::IgnoreAspectRatio,
            quality == kInterpolationNone ? Qt::FastTransformation : Qt::SmoothTransformation);
    }
    return Image(std::move(upright), 1);
}

Image resizedImageWithContentMode(const Image& image, int contentMode, Size bounds, int quality) {
    const Size size = image.size();
    const float horizontal = bounds.width / size.width;
    const float vertical = bounds.height / size.height;
    float ratio;
    switch (contentMode) {
        case kContentModeScaleAspectFit:
            ratio = std::min(horizontal, vertical);
            break;
        case kContentModeScaleAspectFill:
            ratio = std::max(horizontal, vertical);
            break;
        default:
            throw std::invalid_argument("Unsupported content mode: " + std::to_string(contentMode));
    }
    return resizedImage(image, Size{size.width * ratio, size.height * ratio}, quality);
}

// A quarter turn is an image operation like the resizing above; it lives with them,
// though screens reach it through EmbossComposer.
Image EmbossComposer::rotateImage(const Image& image, int orient) {
    if (image.isNull()) {
        return Image();
    }
    QImage upright = image.uprightPixels();
    if (orient == kOrientationLeft) {
        upright = quarterTurned(upright, 3);
    } else if (orient == kOrientationRight) {
        upright = quarterTurned(upright, 1);
    }
    return Image(std::move(upright), image.scale());
}

}  // namespace lumigrave
