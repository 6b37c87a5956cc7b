// Fuzzes the BMP completeness check, which reads a length from untrusted files.
#include "fuzz_input.h"
#include "platform/image_structure.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes;
    if (!lumigrave::fuzz::wrap(data, size, 64 * 1024, &bytes)) {
        return 0;
    }
    const bool complete = lumigrave::bmpIsComplete(bytes);
    if (!bytes.startsWith("BM") && !complete) {
        lumigrave::fuzz::broken("data that is no BMP is not judged");
    }
    // Once the file is long enough to hold its size, what follows cannot take bytes away.
    if (complete && bytes.size() >= 6 && !lumigrave::bmpIsComplete(bytes + QByteArray(16, '\0'))) {
        lumigrave::fuzz::broken("bytes after a complete BMP keep it complete");
    }
    return 0;
}
