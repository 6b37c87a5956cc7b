// A photo's pixels mean what its ICC profile says. Every way a photo leaves Lumigrave, as
// the application and lumigrave-cli run them, must carry the profile on: without it an
// Adobe RGB or Display P3 photo is read as sRGB and its colours shift.
#include <gtest/gtest.h>

#include <QColorSpace>
#include <QTemporaryDir>
#include <functional>

#include "model/layout_type.h"
#include "platform/image_loader.h"
#include "render/emboss_composer.h"
#include "render/image_resize.h"
#include "render/streamed_watermark.h"
#include "support/image_files.h"
#include "support/presets.h"

namespace lumigrave {
namespace {

struct Output {
    QByteArray bytes;
    QString error;
};

// Loaded, scaled, turned and watermarked in memory, then saved: the general path.
Output generalPath(const QByteArray& input, const QString& path, Size bounds, int turn,
                   const char* format) {
    const ImageLoader::Result loaded = ImageLoader::loadData(input);
    if (!loaded.ok()) {
        return {QByteArray(), loaded.message};
    }
    Image active = bounds.isEmpty()
                       ? loaded.image
                       : resizedImageWithContentMode(loaded.image, kContentModeScaleAspectFit,
                                                     bounds, kInterpolationHigh);
    if (turn != 0) {
        active = EmbossComposer::rotateImage(active, turn);
    }
    const Embosser e = test::renderPreset(kLayoutTileParallel);
    const Image embossed = EmbossComposer::embossedImageForEmbosser(e, active);
    QString error;
    if (!embossed.save(path, format, 90, &error)) {
        return {QByteArray(), error};
    }
    return {test::readFile(path), QString()};
}

struct OutputPath {
    const char* name;
    const char* inputFormat;
    std::function<Output(const QByteArray& input, const QString& path)> run;
};

std::ostream& operator<<(std::ostream& out, const OutputPath& p) {
    return out << p.name;
}

const OutputPath kPaths[] = {
    {"a JPEG streamed at its own size", "jpeg",
     [](const QByteArray& input, const QString& path) {
         QString error;
         const StreamResult result =
             embossJpegFile(test::renderPreset(kLayoutTileInterlace), input, path, 90, &error);
         return result == StreamResult::Done ? Output{test::readFile(path), QString()}
                                             : Output{QByteArray(), error};
     }},
    {"a JPEG scaled down", "jpeg",
     [](const QByteArray& input, const QString& path) {
         return generalPath(input, path, Size{600, 600}, 0, "jpeg");
     }},
    {"a JPEG at its own size into PNG", "jpeg",
     [](const QByteArray& input, const QString& path) {
         return generalPath(input, path, Size{}, 0, "png");
     }},
    {"a JPEG turned left", "jpeg",
     [](const QByteArray& input, const QString& path) {
         return generalPath(input, path, Size{900, 900}, kOrientationLeft, "jpeg");
     }},
    {"a JPEG its EXIF orientation turns", "jpeg",
     [](const QByteArray& input, const QString& path) {
         return generalPath(test::withExifOrientation(input, 6), path, Size{900, 900}, 0, "jpeg");
     }},
    {"a PNG with transparency", "png",
     [](const QByteArray& input, const QString& path) {
         // Transparency takes the renderer's other blend.
         QImage withAlpha = QImage::fromData(input).convertToFormat(QImage::Format_ARGB32);
         for (int y = 0; y < withAlpha.height(); y += 2) {
             auto* row = reinterpret_cast<QRgb*>(withAlpha.scanLine(y));
             for (int x = 0; x < withAlpha.width(); ++x) {
                 row[x] = (row[x] & 0x00FFFFFFu) | 0x80000000u;
             }
         }
         return generalPath(test::encode(withAlpha, "png"), path, Size{}, 0, "png");
     }},
};

class ColourProfile
    : public testing::TestWithParam<std::tuple<OutputPath, QColorSpace::NamedColorSpace>> {};

TEST_P(ColourProfile, TheOutputCarriesThePhotosColourSpace) {
    const auto& [path, space] = GetParam();
    const QByteArray input = test::encodeInColourSpace(900, 600, space, path.inputFormat);
    ASSERT_EQ(QImage::fromData(input).colorSpace(), QColorSpace(space));  // the fixture
    QTemporaryDir dir;
    const Output output = path.run(input, dir.filePath("out"));
    ASSERT_FALSE(output.bytes.isEmpty()) << output.error.toStdString();
    const QImage written = QImage::fromData(output.bytes);
    ASSERT_FALSE(written.isNull());
    EXPECT_TRUE(written.colorSpace().isValid()) << "the profile was dropped";
    EXPECT_EQ(written.colorSpace(), QColorSpace(space))
        << written.colorSpace().description().toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryPath, ColourProfile,
                         testing::Combine(testing::ValuesIn(kPaths),
                                          testing::Values(QColorSpace::AdobeRgb,
                                                          QColorSpace::DisplayP3)));

}  // namespace
}  // namespace lumigrave
