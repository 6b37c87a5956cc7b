// Compositing: the watermark laid over mid-grey at the preset's opacity, and the photo
// blended over that with Overlay, a row at a time and in the photo's own pixels.
#include <QDebug>
#include <thread>
#include <vector>

#include "platform/image_buffer.h"
#include "render/backdrop.h"
#include "render/emboss_composer.h"
#include "render/overlay_blend.h"
#include "render/watermark_layer.h"

namespace lumigrave {

namespace {

// Below this many pixels a second thread costs more than it saves.
constexpr qint64 kTwoThreadPixels = 1'000'000;

// Where the backdrop stays mid-grey the photo is unchanged: only the spans of each row
// that a watermark touched are blended.
void blendRows(uchar* bits, qsizetype stride, const Backdrop& backdrop, PhotoAlpha alpha, int first,
               int last) {
    std::vector<uint8_t> levels(size_t(backdrop.width()), Backdrop::kMidGrey);
    for (int y = first; y < last; ++y) {
        overlayBackdropRow(backdrop, y, reinterpret_cast<QRgb*>(bits + y * stride), levels.data(),
                           alpha);
    }
}

}  // namespace

Image EmbossComposer::embossedImageForEmbosser(const Embosser& embosser, const Image& destImage,
                                               const Image& embossedText) {
    return embossedImageForEmbosser(embosser, Image(destImage), embossedText);
}

Image EmbossComposer::embossedImageForEmbosser(const Embosser& embosser, Image&& destImage,
                                               const Image& embossedText) {
    if (destImage.isNull()) {
        qWarning() << "Error context not created";
        return Image();
    }
    const float scale = destImage.scale();
    const Size size = destImage.size();
    // A photo nobody else holds is blended where it lies; otherwise into a copy. Either
    // way it keeps its colour space.
    QImage photo = std::move(destImage).takeUprightPixels();
    Backdrop backdrop(photo.width(), photo.height());
    const GreyImage grey =
        embossedText.isNull() ? GreyImage() : GreyImage::fromImage(embossedText.uprightPixels());
    if (!grey.isEmpty()) {
        layWatermark(backdrop, embosser, size, scale, embossedText, grey);
    }
    if (!photo.isDetached()) {
        photo = copyImage(photo);
    }
    if (photo.isNull()) {
        qWarning() << "Error: Memory not allocated for bitmap";
        return Image();
    }
    // Image holds 32-bit RGB or, for a photo with transparency, premultiplied ARGB, whose
    // alpha the blend keeps.
    const PhotoAlpha alpha = photo.format() == QImage::Format_ARGB32_Premultiplied
                                 ? PhotoAlpha::Premultiplied
                                 : PhotoAlpha::Opaque;
    // A large photo is shared between two threads, half the rows each.
    uchar* bits = photo.bits();
    const qsizetype stride = photo.bytesPerLine();
    const int rows = photo.height();
    if (qint64(photo.width()) * rows >= kTwoThreadPixels &&
        std::thread::hardware_concurrency() > 1) {
        std::thread lower([&] { blendRows(bits, stride, backdrop, alpha, rows / 2, rows); });
        blendRows(bits, stride, backdrop, alpha, 0, rows / 2);
        lower.join();
    } else {
        blendRows(bits, stride, backdrop, alpha, 0, rows);
    }
    return Image(std::move(photo), scale);
}

Image EmbossComposer::embossedImageForEmbosser(const Embosser& embosser, const Image& destImage) {
    return embossedImageForEmbosser(embosser, destImage,
                                    embossedTextForEmbosser(embosser, destImage));
}

}  // namespace lumigrave
