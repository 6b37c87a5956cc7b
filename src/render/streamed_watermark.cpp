#include "render/streamed_watermark.h"

#include <QImage>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/image_buffer.h"
#include "platform/jpeg_rows.h"
#include "render/emboss_composer.h"
#include "render/overlay_blend.h"
#include "render/watermark_layer.h"

namespace lumigrave {

namespace {

constexpr int kBandRows = 64;
// Enough bands for the decoder to run well ahead while the relief is being rendered.
constexpr int kBands = 16;

struct Band {
    QRgb* pixels = nullptr;
    int firstRow = 0;
    int rows = 0;
};

// Bands going round between the two threads: free ones to the decoder, filled ones to
// the encoder. A null band tells the encoder the photo is over.
class BandQueue {
  public:
    void put(std::deque<Band*>& to, Band* band) {
        {
            std::lock_guard lock(mutex_);
            to.push_back(band);
        }
        changed_.notify_all();
    }
    Band* take(std::deque<Band*>& from) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !from.empty(); });
        Band* band = from.front();
        from.pop_front();
        return band;
    }

    std::deque<Band*> free;
    std::deque<Band*> filled;

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
};

}  // namespace

StreamResult embossJpegStream(const Embosser& embosser, const QByteArray& jpeg, QIODevice& out,
                              int quality, QString* error) {
    JpegRowDecoder decoder;
    QString message;
    if (!decoder.open(jpeg, &message)) {
        if (message.isEmpty()) {
            return StreamResult::Declined;
        }
        *error = message;
        return StreamResult::Failed;
    }
    const int width = decoder.width();
    const int height = decoder.height();
    const Size photo{float(width), float(height)};

    // The pixels stay in the photo's colour space, so its profile goes along.
    JpegRowEncoder encoder;
    if (!encoder.start(out, width, height, quality, decoder.iccProfile(), &message)) {
        *error = message;
        return StreamResult::Failed;
    }

    // All bands in one block of huge-page memory: first touches of fresh small pages cost
    // more here than the decoding that fills them.
    QImage storage = allocateImage(width, kBandRows * kBands, QImage::Format_RGB32);
    if (storage.isNull() || storage.bytesPerLine() != qsizetype(width) * 4) {
        *error = QStringLiteral("There is not enough memory to watermark the photo.");
        return StreamResult::Failed;
    }
    std::vector<Band> bands(kBands);
    BandQueue queue;
    for (int i = 0; i < kBands; ++i) {
        bands[size_t(i)].pixels = reinterpret_cast<QRgb*>(storage.scanLine(i * kBandRows));
        queue.free.push_back(&bands[size_t(i)]);
    }
    // Decoding is the longer half, so this thread does nothing else; the other renders
    // the relief while the first bands are decoded, then blends and encodes each band.
    std::atomic<bool> encoderFailed{false};
    QString encoderError;
    std::thread writer([&] {
        const Image relief = EmbossComposer::embossedTextForEmbosser(embosser, photo);
        const GreyImage grey =
            relief.isNull() ? GreyImage() : GreyImage::fromImage(relief.pixels());
        Backdrop backdrop(width, height);
        if (!grey.isEmpty()) {
            layWatermark(backdrop, embosser, photo, 1, relief, grey);
        }
        std::vector<uint8_t> levels(size_t(width), Backdrop::kMidGrey);
        while (Band* band = queue.take(queue.filled)) {
            for (int r = 0; r < band->rows && !encoderFailed; ++r) {
                overlayBackdropRow(backdrop, band->firstRow + r,
                                   band->pixels + size_t(r) * size_t(width), levels.data());
            }
            if (!encoderFailed &&
                !encoder.writeRows(band->pixels, qsizetype(width) * 4, band->rows, &encoderError)) {
                encoderFailed = true;
            }
            queue.put(queue.free, band);
        }
    });

    bool decoded = true;
    for (int first = 0; first < height && decoded && !encoderFailed; first += kBandRows) {
        Band* band = queue.take(queue.free);
        band->firstRow = first;
        band->rows = std::min(kBandRows, height - first);
        decoded = decoder.readRows(band->pixels, qsizetype(width) * 4, band->rows, &message);
        queue.put(decoded ? queue.filled : queue.free, band);
    }
    queue.put(queue.filled, nullptr);
    writer.join();

    if (!decoded) {
        *error = message;
        return StreamResult::Failed;
    }
    // A failed write stops the decoding short of the photo's end: finishing the decoder
    // then would report the photo as damaged, and the disk's error would be lost.
    if (encoderFailed) {
        *error = encoderError;
        return StreamResult::Failed;
    }
    if (!decoder.finish(&message)) {
        *error = message;
        return StreamResult::Failed;
    }
    if (!encoder.finish(&encoderError)) {
        *error = encoderError;
        return StreamResult::Failed;
    }
    return StreamResult::Done;
}

StreamResult embossJpegFile(const Embosser& embosser, const QByteArray& jpeg, const QString& path,
                            int quality, QString* error) {
    bool streamed = false;
    StreamResult result = StreamResult::Failed;
    QString message;
    const bool written = writeFileAtomically(
        path,
        [&](QIODevice& file, QString* why) {
            streamed = true;
            result = embossJpegStream(embosser, jpeg, file, quality, why);
            return result == StreamResult::Done;
        },
        &message);
    if (written) {
        return StreamResult::Done;
    }
    if (streamed && result == StreamResult::Declined) {
        return StreamResult::Declined;
    }
    // The stream's own messages stand alone; the file system's need the file's name.
    *error = streamed && result == StreamResult::Failed
                 ? message
                 : QStringLiteral("%1 cannot be written: %2").arg(path, message);
    return StreamResult::Failed;
}

}  // namespace lumigrave
