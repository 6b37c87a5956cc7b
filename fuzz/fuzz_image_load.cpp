// Fuzzes the whole load of an untrusted image file from its bytes: our header checks and
// then Qt's decoders, as a photo dropped on the window or given to the command line.
#include <QtGlobal>

#include "fuzz_input.h"
#include "platform/image_loader.h"

namespace {

using lumigrave::ImageLoader;

void dropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ImageLoader::installAllocationLimit();
    // Every damaged file makes a decoder warn; the promises below are what is checked.
    qInstallMessageHandler(dropMessage);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes;
    if (!lumigrave::fuzz::wrap(data, size, 256 * 1024, &bytes)) {
        return 0;
    }
    const ImageLoader::Header header = ImageLoader::inspectData(bytes);
    if (header.ok() != header.message.isEmpty()) {
        lumigrave::fuzz::broken("a refused header, and only it, names why");
    }
    // Decoding tens of megapixels takes the fuzzer a second per input and finds nothing a
    // small image would not; what is too large is refused by the header check above.
    if (header.ok() && qint64(header.pixelSize.width()) * header.pixelSize.height() > 1 << 22) {
        return 0;
    }
    const ImageLoader::Result result = ImageLoader::loadData(bytes);
    if (!result.ok()) {
        if (!result.image.isNull() || result.message.isEmpty()) {
            lumigrave::fuzz::broken("a refused load yields no image and names why");
        }
        return 0;
    }
    const QSize pixels = result.image.pixels().size();
    if (pixels.isEmpty() || pixels.width() > ImageLoader::kMaxSide ||
        pixels.height() > ImageLoader::kMaxSide ||
        qint64(pixels.width()) * pixels.height() > ImageLoader::kMaxPixels) {
        lumigrave::fuzz::broken("a loaded image has pixels, within the limits");
    }
    // The command line plans its output sizes from the header before it decodes.
    if (header.pixelSize.isValid() && pixels != header.pixelSize) {
        lumigrave::fuzz::broken("the header declares the size the pixels decode to");
    }
    return 0;
}
