#include "platform/image_buffer.h"

#include <sys/mman.h>

#include <QColorSpace>

#include <cstdlib>
#include <cstring>
#include <limits>

namespace lumigrave {

namespace {

constexpr size_t kHugePage = size_t(2) << 20;
constexpr size_t kWorthIt = size_t(4) << 20;

void freeBuffer(void* buffer) {
    std::free(buffer);
}

}  // namespace

QImage allocateImage(int width, int height, QImage::Format format) {
    if (width <= 0 || height <= 0) {
        return QImage();
    }
    const int depth = QImage(1, 1, format).depth();
    const qint64 bytesPerLine = ((qint64(width) * depth + 31) / 32) * 4;
    const qint64 bytes = bytesPerLine * height;
    if (bytes < qint64(kWorthIt) || bytesPerLine > std::numeric_limits<int>::max()) {
        return QImage(width, height, format);
    }
    void* buffer = nullptr;
    const size_t rounded = (size_t(bytes) + kHugePage - 1) / kHugePage * kHugePage;
    if (posix_memalign(&buffer, kHugePage, rounded) != 0) {
        return QImage();
    }
    madvise(buffer, rounded, MADV_HUGEPAGE);
    return QImage(static_cast<uchar*>(buffer), width, height, qsizetype(bytesPerLine), format,
                  freeBuffer, buffer);
}

QImage copyImage(const QImage& image) {
    QImage copy = allocateImage(image.width(), image.height(), image.format());
    if (copy.isNull()) {
        return copy;
    }
    const qsizetype line = std::min(copy.bytesPerLine(), image.bytesPerLine());
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(copy.scanLine(y), image.constScanLine(y), size_t(line));
    }
    copy.setDotsPerMeterX(image.dotsPerMeterX());
    copy.setDotsPerMeterY(image.dotsPerMeterY());
    // The pixels mean what the photo's colour profile says; a copy without it would show
    // other colours.
    copy.setColorSpace(image.colorSpace());
    return copy;
}

}  // namespace lumigrave
