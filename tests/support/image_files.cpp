#include "support/image_files.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>
#include <array>

namespace lumigrave::test {

namespace {

quint32 crc32(const QByteArray& data) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (char byte : data) {
        c = table[(c ^ quint8(byte)) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

void appendBigEndian32(QByteArray& out, quint32 value) {
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

QByteArray pngChunk(const char* type, const QByteArray& body) {
    QByteArray chunk;
    appendBigEndian32(chunk, quint32(body.size()));
    const QByteArray typed = QByteArray(type) + body;
    chunk.append(typed);
    appendBigEndian32(chunk, crc32(typed));
    return chunk;
}

}  // namespace

QImage testPhoto(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int texture = ((x * 7 + y * 13) % 17) - 8;
            row[x] = qRgb(qBound(0, 255 * x / std::max(1, width - 1) + texture, 255),
                          qBound(0, 255 * y / std::max(1, height - 1) - texture, 255),
                          qBound(0, 128 + texture * 4, 255));
        }
    }
    return image;
}

QByteArray encode(const QImage& image, const char* format, int quality, bool progressive) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

QByteArray encodeInColourSpace(int width, int height, QColorSpace::NamedColorSpace space,
                               const char* format) {
    QImage photo = testPhoto(width, height);
    photo.setColorSpace(QColorSpace(space));
    return encode(photo, format, 92);
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray withExifOrientation(const QByteArray& jpeg, quint16 value) {
    // "Exif\0\0", a little-endian TIFF header, one IFD with the orientation tag.
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    tiff.append("\x01\0", 2);                    // one entry
    tiff.append("\x12\x01\x03\0\x01\0\0\0", 8);  // tag 0x0112, SHORT, count 1
    tiff.append(char(value & 0xFF));
    tiff.append(char(value >> 8));
    tiff.append("\0\0", 2);
    tiff.append("\0\0\0\0", 4);  // no next IFD
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xFF\xE1", 2);
    const quint16 length = quint16(payload.size() + 2);
    segment.append(char(length >> 8));
    segment.append(char(length & 0xFF));
    segment.append(payload);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

QByteArray jpegClaimingSize(quint16 width, quint16 height) {
    QByteArray jpeg = encode(testPhoto(16, 16), "jpeg");
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
        if (quint8(jpeg[i]) == 0xFF &&
            (quint8(jpeg[i + 1]) == 0xC0 || quint8(jpeg[i + 1]) == 0xC2)) {
            jpeg[i + 5] = char(height >> 8);
            jpeg[i + 6] = char(height & 0xFF);
            jpeg[i + 7] = char(width >> 8);
            jpeg[i + 8] = char(width & 0xFF);
            break;
        }
    }
    return jpeg;
}

QByteArray pngClaimingSize(quint32 width, quint32 height) {
    QByteArray header;
    appendBigEndian32(header, width);
    appendBigEndian32(header, height);
    header.append("\x08\x02\0\0\0", 5);  // 8-bit RGB, no interlace
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) +
           pngChunk("IDAT", QByteArray("\x78\x9c\x03\0\0\0\0\x01", 8)) + pngChunk("IEND", {});
}

}  // namespace lumigrave::test
