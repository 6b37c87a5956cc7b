#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>
#include <memory>

class QIODevice;

namespace lumigrave {

// JPEG decoding and encoding a band of rows at a time, straight from and into 32-bit
// RGB rows (QImage::Format_RGB32's layout), so that a photo can go from file to file
// without ever being whole in memory and the two ends can run on different cores.
// Failures are reported as false with a message; the libjpeg errors never escape.

class JpegRowDecoder {
  public:
    JpegRowDecoder();
    ~JpegRowDecoder();
    JpegRowDecoder(const JpegRowDecoder&) = delete;
    JpegRowDecoder& operator=(const JpegRowDecoder&) = delete;

    // Reads the header of a colour (YCbCr) JPEG. Other kinds (grey, CMYK) are declined:
    // false with no message, for the caller's general path. data must outlive decoding.
    bool open(const QByteArray& data, QString* error);
    int width() const;
    int height() const;
    // The photo's ICC colour profile, empty when it has none. Its pixels mean what the
    // profile says, so whatever is made of them must carry it on.
    const QByteArray& iccProfile() const;
    // The next count rows into rows, stride bytes apart.
    bool readRows(QRgb* rows, qsizetype stride, int count, QString* error);
    // After the last row: false when the data ended early or was damaged.
    bool finish(QString* error);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

class JpegRowEncoder {
  public:
    JpegRowEncoder();
    ~JpegRowEncoder();
    JpegRowEncoder(const JpegRowEncoder&) = delete;
    JpegRowEncoder& operator=(const JpegRowEncoder&) = delete;

    // Baseline JPEG at the quality (0 to 100), 4:2:0, carrying iccProfile when it is not
    // empty, written to device as it goes. A device that takes fewer bytes than it is
    // given fails the call at hand with a message naming the device's error; after any
    // failure the encoder refuses further rows.
    bool start(QIODevice& device, int width, int height, int quality, const QByteArray& iccProfile,
               QString* error);
    bool writeRows(const QRgb* rows, qsizetype stride, int count, QString* error);
    bool finish(QString* error);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace lumigrave
