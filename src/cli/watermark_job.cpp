#include "cli/watermark_job.h"

#include <QFileInfo>

#include "platform/image_loader.h"
#include "render/emboss_composer.h"
#include "render/image_resize.h"
#include "render/output_sizes.h"

namespace lumigrave::cli {

namespace {

JobResult failed(const QString& message) {
    return JobResult{false, message};
}

}  // namespace

JobResult watermarkPhoto(const QString& input, const QString& output, const JobSettings& settings) {
    if (!settings.overwrite && QFileInfo::exists(output)) {
        return failed(QStringLiteral("%1 exists already; --overwrite replaces it").arg(output));
    }
    ImageLoader::Result loaded = ImageLoader::loadFile(input);
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
    if (!embossed.save(output, settings.format.toLatin1().constData(), settings.quality, &error)) {
        return failed(QStringLiteral("%1 cannot be written: %2").arg(output, error));
    }
    return JobResult{true, QString()};
}

}  // namespace lumigrave::cli
