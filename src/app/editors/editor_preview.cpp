#include "app/editors/editor_preview.h"

#include <algorithm>

#include "render/emboss_composer.h"
#include "render/image_resize.h"

namespace lumigrave::editor_preview {

QRect previewFrame(QSize viewSize, int navigationBarHeight) {
    const int top = std::max(0, navigationBarHeight);
    const int height = std::max(0, viewSize.height() - kControlsHeight - top);
    return {0, top, std::max(0, viewSize.width()), height};
}

QRect controlsFrame(QSize viewSize) {
    return {0, viewSize.height() - kControlsHeight, std::max(0, viewSize.width()), kControlsHeight};
}

Image scaledPhoto(const Image& photo, Size previewAreaSize) {
    if (photo.isNull() || previewAreaSize.width <= 0 || previewAreaSize.height <= 0) {
        return {};
    }
    const Size fit = EmbossComposer::scaledSizeAspectFitInView(previewAreaSize, photo.size());
    return resizedImageWithContentMode(photo, kContentModeScaleAspectFit, fit, kInterpolationHigh);
}

Image scaledText(const Embosser& embosser, const Image& relief, Size scaledImageSize) {
    if (relief.isNull()) {
        return {};
    }
    float fontSize = 0;
    const Size size = EmbossComposer::sizeForEmbosser(embosser, scaledImageSize, &fontSize);
    if (size.width <= 0 || size.height <= 0) {
        return {};
    }
    return resizedImageWithContentMode(relief, kContentModeScaleAspectFit, size,
                                       kInterpolationHigh);
}

Image composite(const Embosser& embosser, const Image& scaledImage, const Image& scaledText) {
    if (scaledImage.isNull()) {
        return {};
    }
    return EmbossComposer::embossedImageForEmbosser(embosser, scaledImage, scaledText);
}

}  // namespace lumigrave::editor_preview
