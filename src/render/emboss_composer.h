#pragma once

#include <cstdint>
#include <vector>

#include "model/embosser.h"
#include "platform/geometry.h"
#include "platform/image.h"

namespace lumigrave {

// The geometry and rendering entry points every screen calls. Class operations only;
// it holds no state. Sizes and positions are in points of the images concerned.
class EmbossComposer {
  public:
    // The platform's small UI font size; the text never shrinks below it minus 2 points.
    static constexpr float kSmallSystemFontSize = 12;

    // The size of the preset's text set on one line at the largest font size (from the
    // destination height down to the minimum) at which it is no wider than
    // destination width × width ratio. The size is measured again, unconstrained, at that
    // font size, so a text too wide even at the minimum comes out wider than asked.
    // The font size reached is written to *actualFontSize; with no text the result is a
    // zero size and the font size 0.
    static Size sizeForEmbosser(const Embosser& embosser, Size destImageSize,
                                float* actualFontSize);

    // The bottom-left corner of a single watermark in the destination's y-up space, for
    // the centre and the four corners (inset by the margins); (0, 0) for other layouts.
    static Point originForEmbosser(const Embosser& embosser, Size destSize, Size embosserSize);

    // The image's size when fitted, aspect kept, into the view.
    static Size scaledSizeAspectFitInView(Size viewSize, Size imageSize);

    // The output sizes offered for an image of this size: for each of the fifteen lengths
    // from 1440 down to 400 points that the longer side reaches, the image scaled to it.
    // Empty when the longer side is below 400 points: the photo is too small.
    static std::vector<Size> validOutputSizesForImageSize(Size imageSize);
    static std::vector<Size> validOutputSizesForImage(const Image& image) {
        return validOutputSizesForImageSize(image.size());
    }

    // The relief image: the preset's text, sized for the photo, drawn into a bitmap with a
    // one-point white frame at the main-screen scale and shaded by a light from the +x
    // side at 30°. Flat areas are grey 127. Its point size is the text size plus 2 × 2.
    // Null (and a log line) when its pixels cannot be had.
    static Image embossedTextForEmbosser(const Embosser& embosser, const Image& destImage);
    // The same for a photo of that size in points, before its pixels are at hand.
    static Image embossedTextForEmbosser(const Embosser& embosser, Size destSize);

    // The photo with the watermark laid over mid-grey at the preset's opacity, turned by
    // its angle about its own centre, and the photo blended over that with Overlay: the
    // watermark shows only as light and shade. embossedText is the relief image (or a
    // scaled copy of it); a null one leaves the photo practically as it was.
    static Image embossedImageForEmbosser(const Embosser& embosser, const Image& destImage,
                                          const Image& embossedText);
    // The same, blending into the photo's own pixels when nobody else holds them: no
    // second photo-sized buffer.
    static Image embossedImageForEmbosser(const Embosser& embosser, Image&& destImage,
                                          const Image& embossedText);
    static Image embossedImageForEmbosser(const Embosser& embosser, const Image& destImage);

    // The relief repeated over a mid-grey canvas that covers the photo turned by the
    // preset's angle; the tiles are upright.
    static Image tiledImageForEmbosser(const Embosser& embosser, const Image& destImage,
                                       const Image& embossedText);

    // An opaque image of the first three bytes of each 4-byte pixel, at the main-screen
    // scale. The buffer stays the caller's; the image holds its own copy.
    static Image bitmapRGBA8ToImage(const uint8_t* buffer, int width, int height);

    // The image turned a quarter turn: 2 counter-clockwise (its top edge becomes the left
    // edge), 3 clockwise; any other value leaves it upright as it is.
    static Image rotateImage(const Image& image, int orient);
};

}  // namespace lumigrave
