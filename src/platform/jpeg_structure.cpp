#include "platform/jpeg_structure.h"

namespace lumigrave {

namespace {

constexpr quint8 kMarker = 0xFF;
constexpr quint8 kStartOfImage = 0xD8;
constexpr quint8 kEndOfImage = 0xD9;
constexpr quint8 kStartOfScan = 0xDA;

quint8 at(const QByteArray& data, qsizetype i) {
    return static_cast<quint8>(data[i]);
}

bool isStandalone(quint8 marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

}  // namespace

bool jpegIsComplete(const QByteArray& data) {
    if (data.size() < 2 || at(data, 0) != kMarker || at(data, 1) != kStartOfImage) {
        return true;
    }
    qsizetype pos = 2;
    // Walk the header segments up to the first scan.
    while (pos + 1 < data.size()) {
        if (at(data, pos) != kMarker) {
            return false;
        }
        const quint8 marker = at(data, pos + 1);
        if (marker == kMarker) {
            ++pos;  // fill byte
            continue;
        }
        if (marker == kEndOfImage) {
            return false;  // an image that ends before any scan has no pixels
        }
        if (isStandalone(marker)) {
            pos += 2;
            continue;
        }
        if (pos + 3 >= data.size()) {
            return false;
        }
        const qsizetype length = (qsizetype(at(data, pos + 2)) << 8) | at(data, pos + 3);
        if (length < 2) {
            return false;
        }
        if (marker == kStartOfScan) {
            // Entropy-coded data never holds 0xFF 0xD9 (0xFF is stuffed), so the marker
            // after the scans is the end of the image.
            for (qsizetype i = pos + 2 + length; i + 1 < data.size(); ++i) {
                if (at(data, i) == kMarker && at(data, i + 1) == kEndOfImage) {
                    return true;
                }
            }
            return false;
        }
        pos += 2 + length;
    }
    return false;
}

}  // namespace lumigrave
