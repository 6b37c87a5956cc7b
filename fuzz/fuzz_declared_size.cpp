// Fuzzes the readers of the pixel size a JPEG or PNG header declares, which decide
// whether an untrusted file is refused as too large before any decoder sees it.
#include "fuzz_input.h"
#include "platform/image_structure.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes;
    if (!lumigrave::fuzz::wrap(data, size, 64 * 1024, &bytes)) {
        return 0;
    }
    const QSize declared = lumigrave::declaredPixelSize(bytes);
    if (!declared.isValid()) {
        return 0;
    }
    // The header stands at the front: what follows cannot change what it says.
    if (lumigrave::declaredPixelSize(bytes + QByteArray(16, '\xFF')) != declared) {
        lumigrave::fuzz::broken("bytes after a header leave its declared size as it was");
    }
    return 0;
}
