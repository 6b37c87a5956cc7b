#include "cli/watermark_job.h"

#include <QFileInfo>
#include <optional>

#include "platform/image_loader.h"
#include "platform/photo_metadata.h"
#include "render/emboss_composer.h"
#include "render/image_resize.h"
#include "render/output_sizes.h"
#include "render/streamed_watermark.h"

namespace lumigrave::cli {

namespace {

JobResult failed(const QString& message) {
    return JobResult{false, message};
}

// A colour JPEG kept at its own size, upright, into a JPEG: streamed, never whole in
// memory. Declined when the photo is of another kind; the general path takes it then.
std::optional<JobResult> streamed(const QByteArray& data, const QString& output,
                                  const JobSettings& settings) {
    QString error;
    switch (embossJpegFile(*settings.embosser, data, output, settings.quality, &error)) {
        case StreamResult::Declined:
            return std::nullopt;
        case StreamResult::Failed:
            return failed(error);
        case StreamResult::Done:
            break;
    }
    addMetadataToFile(output, PhotoMetadata::fromData(data), settings.keepGps);
    return JobResult{true, QString()};
}

}  // namespace

JobResult watermarkPhoto(const QString& input, const QString& output, const JobSettings& settings) {
    if (!settings.overwrite && QFileInfo::exists(output)) {
        return failed(QStringLiteral("%1 exists already; --overwrite replaces it").arg(output));
    }
    QByteArray data;
    const ImageLoader::Result read = ImageLoader::readFile(input, &data);
    if (!read.ok()) {
        return failed(read.message);
    }
    const ImageLoader::Header header = ImageLoader::inspectData(data);
    if (!header.ok()) {
        return failed(header.message);
    }
    // The sizes are known from the header, so a photo that is too small is refused
    // before it is decoded.
    if (header.pixelSize.isValid()) {
        const Size declared =
            Image::isTransposed(header.orientation)
                ? Size{float(header.pixelSize.height()), float(header.pixelSize.width())}
                : Size{float(header.pixelSize.width()), float(header.pixelSize.height())};
        const std::vector<Size> sizes = maxOutputSizes(declared);
        if (sizes.empty()) {
            return failed(QStringLiteral("The image is too small."));
        }
        const bool ownSize = matchedIndexForOutputSize(sizes, settings.outputLength) == 0;
        if (ownSize && header.format == "jpeg" && header.orientation == kOrientationUp &&
            settings.rotate == 0 && settings.format == QLatin1String("jpeg")) {
            if (std::optional<JobResult> result = streamed(data, output, settings)) {
                return *result;
            }
        }
    }

    ImageLoader::Result loaded = ImageLoader::loadData(data);
    const PhotoMetadata metadata = PhotoMetadata::fromData(data);
    data = QByteArray();
    if (!loaded.ok()) {
        return failed(loaded.message);
    }
    const std::vector<Size> sizes = maxOutputSizes(loaded.image.size());
    if (sizes.empty()) {
        return failed(QStringLiteral("The image is too small."));
    }
    const Size target = sizes[size_t(matchedIndexForOutputSize(sizes, settings.outputLength))];
    Image active = resizedImageWithContentMode(loaded.image, kContentModeScaleAspectFit, target,
                                               kInterpolationHigh);
    loaded.image = Image();  // the decoded original is not needed any more
    if (settings.rotate != 0) {
        active = EmbossComposer::rotateImage(active, settings.rotate);
    }
    const Image relief = EmbossComposer::embossedTextForEmbosser(*settings.embosser, active);
    // The active photo is handed over, so the watermark is blended into its own pixels.
    const Image embossed =
        EmbossComposer::embossedImageForEmbosser(*settings.embosser, std::move(active), relief);
    if (embossed.isNull()) {
        return failed(QStringLiteral("The watermark could not be rendered."));
    }
    QString error;
    if (!saveWithMetadata(embossed, output, settings.format.toLatin1().constData(),
                          settings.quality, metadata, settings.keepGps, &error)) {
        return failed(QStringLiteral("%1 cannot be written: %2").arg(output, error));
    }
    return JobResult{true, QString()};
}

}  // namespace lumigrave::cli
