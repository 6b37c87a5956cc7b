#include "render/output_sizes.h"

#include "render/emboss_composer.h"

namespace lumigrave {

const std::vector<float> kOutputSizeLengths = {1440, 1400, 1280, 1200, 1024, 1000, 960, 900,
                                               800,  700,  640,  600,  500,  480,  400};

std::vector<Size> maxOutputSizes(Size photoSize) {
    std::vector<Size> sizes;
    const std::vector<Size> valid = EmbossComposer::validOutputSizesForImageSize(photoSize);
    if (!valid.empty()) {
        sizes.reserve(valid.size() + 1);
        sizes.push_back(photoSize);
        sizes.insert(sizes.end(), valid.begin(), valid.end());
    }
    return sizes;
}

int matchedIndexForOutputSize(const std::vector<Size>& outputSizes, qint64 storedLength) {
    if (storedLength == 0 || outputSizes.size() < 2) {
        return 0;
    }
    // An exact comparison on purpose: an entry whose computed side is off by a rounding
    // error (960.00006) is not the stored length.
    const auto wanted = static_cast<float>(storedLength);
    for (size_t i = 1; i < outputSizes.size(); ++i) {
        if (outputSizes[i].longerSide() == wanted) {
            return static_cast<int>(i);
        }
    }
    return 1;
}

}  // namespace lumigrave
