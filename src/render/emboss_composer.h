#pragma once

#include <vector>

#include "model/embosser.h"
#include "platform/geometry.h"

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
};

}  // namespace lumigrave
