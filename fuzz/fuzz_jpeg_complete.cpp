// Fuzzes the JPEG completeness check, which walks the segments of untrusted files.
#include "fuzz_input.h"
#include "platform/image_structure.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes;
    if (!lumigrave::fuzz::wrap(data, size, 64 * 1024, &bytes)) {
        return 0;
    }
    const bool complete = lumigrave::jpegIsComplete(bytes);
    const bool isJpeg = bytes.startsWith("\xFF\xD8");
    if (complete && isJpeg && bytes.indexOf("\xFF\xD9", 2) < 0) {
        lumigrave::fuzz::broken("a JPEG judged complete holds an end-of-image marker");
    }
    // What follows the end of a complete file cannot take its end away.
    if (complete && isJpeg && !lumigrave::jpegIsComplete(bytes + QByteArray("\0\xFF", 2))) {
        lumigrave::fuzz::broken("bytes after a complete JPEG keep it complete");
    }
    return 0;
}
