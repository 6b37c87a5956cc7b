#include "platform/image_structure.h"

#include <algorithm>
#include <climits>

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

// Start-of-frame markers: C0 to CF but for C4 (Huffman tables), C8 (reserved) and CC
// (arithmetic coding conditioning).
bool isStartOfFrame(quint8 marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

quint32 be16(const QByteArray& data, qsizetype i) {
    return (quint32(at(data, i)) << 8) | at(data, i + 1);
}

quint32 be32(const QByteArray& data, qsizetype i) {
    return (be16(data, i) << 16) | be16(data, i + 2);
}

QSize jpegFrameSize(const QByteArray& data) {
    qsizetype pos = 2;
    while (pos + 3 < data.size()) {
        if (at(data, pos) != kMarker) {
            return {};
        }
        const quint8 marker = at(data, pos + 1);
        if (marker == kMarker) {
            ++pos;
            continue;
        }
        if (isStandalone(marker)) {
            pos += 2;
            continue;
        }
        if (marker == kStartOfScan || marker == kEndOfImage) {
            return {};
        }
        const qsizetype length = be16(data, pos + 2);
        if (isStartOfFrame(marker)) {
            if (length < 7 || pos + 8 >= data.size()) {
                return {};
            }
            return QSize(int(be16(data, pos + 7)), int(be16(data, pos + 5)));
        }
        if (length < 2) {
            return {};
        }
        pos += 2 + length;
    }
    return {};
}

}  // namespace

bool bmpIsComplete(const QByteArray& data) {
    if (data.size() < 6 || data[0] != 'B' || data[1] != 'M') {
        return true;
    }
    const quint32 declared = quint32(at(data, 2)) | (quint32(at(data, 3)) << 8) |
                             (quint32(at(data, 4)) << 16) | (quint32(at(data, 5)) << 24);
    // Some writers leave the size 0; then there is nothing to hold the file to.
    return declared == 0 || quint64(declared) <= quint64(data.size());
}

QSize declaredPixelSize(const QByteArray& data) {
    static const QByteArray pngSignature("\x89PNG\r\n\x1a\n", 8);
    if (data.startsWith(pngSignature)) {
        // The header chunk comes first: length, "IHDR", width, height.
        if (data.size() < 24 || data.mid(12, 4) != "IHDR") {
            return {};
        }
        const quint32 width = be32(data, 16);
        const quint32 height = be32(data, 20);
        // Sizes beyond what an int holds are reported as the largest int: too large all
        // the same.
        return QSize(int(std::min<quint32>(width, INT_MAX)),
                     int(std::min<quint32>(height, INT_MAX)));
    }
    if (data.size() >= 2 && at(data, 0) == kMarker && at(data, 1) == kStartOfImage) {
        return jpegFrameSize(data);
    }
    if (data.startsWith("GIF87a") || data.startsWith("GIF89a")) {
        // The logical screen, which the decoder makes the image's size; its own reading of
        // the header can report the first frame's instead. A screen with a side of 0
        // takes that side from the frames, which only the decoder reads.
        if (data.size() < 10) {
            return {};
        }
        const int width = int(at(data, 6) | (at(data, 7) << 8));
        const int height = int(at(data, 8) | (at(data, 9) << 8));
        return width > 0 && height > 0 ? QSize(width, height) : QSize();
    }
    return {};
}

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
            // Entropy-coded data never holds 0xFF 0xD9 (0xFF is stuffed), so such a pair
            // after the first scan is the end of the image. It is looked for from the end
            // of the file, where it normally stands, rather than through megabytes of scans.
            for (qsizetype i = data.size() - 2; i >= pos + 2 + length; --i) {
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
