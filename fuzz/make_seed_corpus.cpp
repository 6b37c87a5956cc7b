// Writes the committed seed corpus: tiny valid images of each format the loader reads,
// and the cut and forged variants of them that the parsers must refuse or judge.
// Run from the build: fuzz/fuzz_make_seed_corpus fuzz/corpus (then commit what changed).
#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>

#include "platform/image_loader.h"
#include "support/image_files.h"

namespace {

using lumigrave::ImageLoader;
namespace test = lumigrave::test;

QString root;
bool failed = false;

// Writes one seed into the corpora of the targets that read its kind of file.
void seed(const QStringList& targets, const QString& name, const QByteArray& bytes) {
    for (const QString& target : targets) {
        QDir().mkpath(root + "/" + target);
        if (!test::writeFile(root + "/" + target + "/" + name, bytes)) {
            std::fprintf(stderr, "cannot write %s/%s\n", qPrintable(target), qPrintable(name));
            failed = true;
        }
    }
}

// A valid seed must load: a seed the loader refuses would leave the decoders unexplored.
void validSeed(const QStringList& targets, const QString& name, const QByteArray& bytes) {
    const ImageLoader::Result loaded = ImageLoader::loadData(bytes);
    if (!loaded.ok()) {
        std::fprintf(stderr, "%s does not load: %s\n", qPrintable(name),
                     qPrintable(loaded.message));
        failed = true;
    }
    seed(targets, name, bytes);
}

QByteArray littleEndian32(quint32 value) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = char((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    root = QString::fromLocal8Bit(argv[1]);
    const QStringList jpegReaders{"image_load", "jpeg_complete", "declared_size"};
    const QStringList pngReaders{"image_load", "declared_size"};
    const QStringList bmpReaders{"image_load", "bmp_complete"};
    const QStringList loader{"image_load"};

    const QImage photo = test::testPhoto(16, 12);
    const QByteArray jpeg = test::encode(photo, "jpeg", 80);
    const QByteArray progressive = test::encode(photo, "jpeg", 80, true);
    const QByteArray png = test::encode(photo, "png");
    const QByteArray bmp = test::encode(photo, "bmp");
    QImage palette = photo.convertToFormat(QImage::Format_Indexed8);
    // 1x1 transparent GIF89a: Qt writes no GIF, so this one is written out by hand.
    const QByteArray gif(
        "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04\x01\x00\x00\x00"
        "\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
        43);
    const QByteArray webp = test::encode(photo, "webp", 80);
    const QByteArray webpLossless = test::encode(photo, "webp", 100);

    validSeed(jpegReaders, "tiny.jpg", jpeg);
    validSeed(jpegReaders, "tiny_progressive.jpg", progressive);
    validSeed(jpegReaders, "exif_rotated.jpg", test::withExifOrientation(jpeg, 6));
    validSeed(jpegReaders, "grey.jpg",
              test::encode(photo.convertToFormat(QImage::Format_Grayscale8), "jpeg", 60));
    validSeed(pngReaders, "tiny.png", png);
    validSeed(pngReaders, "palette.png", test::encode(palette, "png"));
    validSeed(bmpReaders, "tiny.bmp", bmp);
    validSeed(bmpReaders, "palette.bmp", test::encode(palette, "bmp"));
    validSeed(loader, "tiny.gif", gif);
    validSeed(loader, "tiny.webp", webp);
    validSeed(loader, "lossless.webp", webpLossless);

    // Cut files: the decoders would show them with grey or blank rows.
    seed(jpegReaders, "cut_in_scan.jpg", jpeg.left(jpeg.size() * 3 / 4));
    seed(jpegReaders, "cut_before_end_marker.jpg", jpeg.left(jpeg.size() - 2));
    seed(jpegReaders, "cut_in_header.jpg", jpeg.left(40));
    seed(jpegReaders, "progressive_cut_in_scan.jpg", progressive.left(progressive.size() / 2));
    seed(jpegReaders, "ends_before_scan.jpg", QByteArray("\xFF\xD8\xFF\xD9", 4));
    seed(pngReaders, "cut_in_data.png", png.left(png.size() / 2));
    seed(pngReaders, "cut_in_header.png", png.left(20));
    seed(bmpReaders, "cut_in_pixels.bmp", bmp.left(bmp.size() - 17));
    seed(bmpReaders, "cut_in_header.bmp", bmp.left(10));
    seed(loader, "cut.gif", gif.left(30));
    seed(loader, "cut.webp", webp.left(webp.size() / 2));

    // Forged headers: sizes past our limits, and a BMP whose writer left its size out.
    seed(jpegReaders, "claims_65535x65535.jpg", test::jpegClaimingSize(65535, 65535));
    seed(jpegReaders, "claims_zero_height.jpg", test::jpegClaimingSize(16, 0));
    seed(pngReaders, "claims_4294967295x1.png", test::pngClaimingSize(0xFFFFFFFF, 1));
    seed(pngReaders, "claims_20000x20000.png", test::pngClaimingSize(20000, 20000));
    QByteArray unsized = bmp;
    unsized.replace(2, 4, littleEndian32(0));
    validSeed(bmpReaders, "size_left_out.bmp", unsized);
    QByteArray oversized = bmp;
    oversized.replace(2, 4, littleEndian32(0xFFFFFFFF));
    seed(bmpReaders, "claims_4_gigabytes.bmp", oversized);

    // Not images at all.
    const QStringList all{"image_load", "jpeg_complete", "declared_size", "bmp_complete"};
    seed(all, "empty", QByteArray());
    seed(all, "text.txt", QByteArray("not an image\n"));
    return failed ? 1 : 0;
}
