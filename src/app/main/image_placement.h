#pragma once

#include <optional>

#include "platform/geometry.h"

namespace lumigrave {

// The main screen's placement decisions, kept apart from the widgets so that each can be
// checked against the figures it must give. The image view fits its picture inside its
// frame (aspect fit) and is scaled by a uniform transform; all values are in points.

// How the image view is fitted to the screen for a picture, at scale 1.
struct ImageFit {
    float minimumScale = 1;
    float maximumScale = 1;
    // The image view's frame before it is centred on the root view.
    Rect frame;
    friend bool operator==(const ImageFit&, const ImageFit&) = default;
};

// A picture no wider than the application frame is shown at one point per point and
// cannot be zoomed; a wider one fills the frame and may be zoomed until it shows at its
// own width.
ImageFit fitImageView(Size picture, Rect applicationFrame);

// A pinch's scale held within the zoom limits; the lower limit is applied first, so
// limits that cross give the upper one.
float clampedZoomScale(float scale, float minimumScale, float maximumScale);

// Where the image view's centre goes when wanted at a point of the root view. Along an
// axis on which the displayed picture is smaller than the root view it is centred;
// otherwise it may move until the picture's edge reaches the root view's edge, and a
// wanted centre beyond that is replaced by the limit on its side. imageFrame is the image
// view's frame size, scale included. None for a picture without a size.
std::optional<Point> clampedImageCentre(Point wanted, Size picture, Size rootView, Size imageFrame);

}  // namespace lumigrave
