#include "platform/jpeg_rows.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QColorSpace>
#include <vector>

#include "support/failing_device.h"
#include "support/image_files.h"

namespace lumigrave {
namespace {

// Decodes a whole JPEG through the row decoder, into one image.
QImage decodeRows(JpegRowDecoder& decoder, const QByteArray& jpeg, QString* error) {
    if (!decoder.open(jpeg, error)) {
        return QImage();
    }
    QImage image(decoder.width(), decoder.height(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); y += 16) {
        const int rows = std::min(16, image.height() - y);
        if (!decoder.readRows(reinterpret_cast<QRgb*>(image.scanLine(y)), image.bytesPerLine(),
                              rows, error)) {
            return QImage();
        }
    }
    return decoder.finish(error) ? image : QImage();
}

bool encodeRows(JpegRowEncoder& encoder, QIODevice& device, const QImage& image,
                const QByteArray& profile, QString* error) {
    return encoder.start(device, image.width(), image.height(), 90, profile, error) &&
           encoder.writeRows(reinterpret_cast<const QRgb*>(image.constBits()), image.bytesPerLine(),
                             image.height(), error) &&
           encoder.finish(error);
}

TEST(JpegRows, TheProfileGoesFromTheDecoderToTheEncoderByteForByte) {
    for (auto space : {QColorSpace::AdobeRgb, QColorSpace::DisplayP3}) {
        const QByteArray jpeg = test::encodeInColourSpace(321, 123, space);
        JpegRowDecoder decoder;
        QString error;
        const QImage pixels = decodeRows(decoder, jpeg, &error);
        ASSERT_FALSE(pixels.isNull()) << error.toStdString();
        EXPECT_EQ(decoder.iccProfile(), QColorSpace(space).iccProfile());

        QBuffer out;
        out.open(QIODevice::WriteOnly);
        JpegRowEncoder encoder;
        ASSERT_TRUE(encodeRows(encoder, out, pixels, decoder.iccProfile(), &error))
            << error.toStdString();
        const QImage written = QImage::fromData(out.data(), "jpeg");
        EXPECT_EQ(written.size(), pixels.size());
        EXPECT_EQ(written.colorSpace(), QColorSpace(space));
    }
}

TEST(JpegRows, APhotoWithoutAProfileGetsNone) {
    JpegRowDecoder decoder;
    QString error;
    const QImage pixels =
        decodeRows(decoder, test::encode(test::testPhoto(64, 48), "jpeg"), &error);
    ASSERT_FALSE(pixels.isNull());
    EXPECT_TRUE(decoder.iccProfile().isEmpty());
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    JpegRowEncoder encoder;
    ASSERT_TRUE(encodeRows(encoder, out, pixels, QByteArray(), &error));
    EXPECT_FALSE(out.data().contains("ICC_PROFILE"));
}

// A device that stops taking bytes fails the call that met it, naming the device's
// error; the encoder refuses everything after, rather than pretending to go on.
TEST(JpegRows, TheEncoderReportsADeviceThatStopsTakingBytes) {
    const QImage photo = test::testPhoto(900, 700);
    QBuffer whole;
    whole.open(QIODevice::WriteOnly);
    QString error;
    {
        JpegRowEncoder encoder;
        ASSERT_TRUE(encodeRows(encoder, whole, photo, QByteArray(), &error));
    }
    const QString expected = QStringLiteral("The photo cannot be written: %1.")
                                 .arg(QString::fromLatin1(test::FailingDevice::kError));
    for (const qint64 limit : {qint64(0), whole.size() / 2, whole.size() - 1}) {
        test::FailingDevice device(limit);
        device.open();
        JpegRowEncoder encoder;
        error.clear();
        EXPECT_FALSE(encodeRows(encoder, device, photo, QByteArray(), &error)) << limit;
        EXPECT_EQ(error, expected) << limit;
        EXPECT_EQ(device.accepted(), limit);
        error.clear();
        EXPECT_FALSE(encoder.writeRows(reinterpret_cast<const QRgb*>(photo.constBits()),
                                       photo.bytesPerLine(), 1, &error));
        EXPECT_FALSE(encoder.finish(&error));
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(JpegRows, AnEncoderNotStartedRefusesRows) {
    JpegRowEncoder encoder;
    const QRgb row[4] = {};
    QString error;
    EXPECT_FALSE(encoder.writeRows(row, sizeof row, 1, &error));
    EXPECT_EQ(error, QStringLiteral("The encoder has not been started."));
    EXPECT_FALSE(encoder.finish(&error));
}

}  // namespace
}  // namespace lumigrave
