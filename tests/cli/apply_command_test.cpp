// lumigrave-cli apply and demo, run as separate processes in a fresh home.
#include <gtest/gtest.h>

#include <QColorSpace>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include "cli/cli_process.h"
#include "platform/paths.h"
#include "support/exif_photo.h"
#include "support/image_files.h"
#include "support/temp_home.h"

namespace lumigrave {
namespace {

using test::runCli;

class CliApply : public testing::Test {
  protected:
    QString photo(const QString& name, int width, int height, const char* format = "jpeg") {
        const QString path = home_.filePath(name);
        EXPECT_TRUE(test::writeFile(path, test::encode(test::testPhoto(width, height), format)));
        return path;
    }
    QString out() const { return home_.filePath("out"); }
    QString result(const QString& name) const { return QDir(out()).filePath(name); }
    QStringList outputFiles() const {
        return QDir(out()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    test::TempHome home_;
};

TEST_F(CliApply, WatermarksEachPhotoIntoTheFolderUnderItsOwnName) {
    const QString a = photo("lake.jpg", 900, 600);
    const QString b = photo("pier.png", 500, 700, "png");
    const auto run = runCli({"apply", a, b, "-o", out()});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(outputFiles(), (QStringList{"lake.jpg", "pier.jpg"}));
    EXPECT_EQ(QImageReader(result("lake.jpg")).size(), QSize(900, 600));
    EXPECT_EQ(QImageReader(result("pier.jpg")).format(), QByteArray("jpeg"));
    EXPECT_TRUE(run.err.contains("2 written, 0 failed")) << run.err.toStdString();
    // The watermark is there: the result is not the photo.
    const QImage original = QImage(a).convertToFormat(QImage::Format_RGB32);
    const QImage marked = QImage(result("lake.jpg")).convertToFormat(QImage::Format_RGB32);
    int changed = 0;
    for (int x = 0; x < 900; x += 3) {
        changed += std::abs(qRed(original.pixel(x, 300)) - qRed(marked.pixel(x, 300))) > 12;
    }
    EXPECT_GT(changed, 10);
}

// The photo's own size and upright goes the streamed way, a photo on its side the
// general one: both keep the capture data and the profile, and drop the thumbnail and,
// unless asked, the GPS position.
TEST_F(CliApply, KeepsTheCaptureDataAndTheGpsPositionOnlyWhenAsked) {
    const QString upright = home_.filePath("upright.jpg");
    const QString sideways = home_.filePath("sideways.jpg");
    ASSERT_TRUE(test::writeFile(upright, test::cameraJpeg(900, 600, 1)));
    ASSERT_TRUE(test::writeFile(sideways, test::cameraJpeg(900, 600, 6)));
    const QByteArray p3 = QColorSpace(QColorSpace::DisplayP3).iccProfile();

    auto run = runCli({"apply", upright, sideways, "-o", out()});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    for (const QString& name : {QStringLiteral("upright.jpg"), QStringLiteral("sideways.jpg")}) {
        const test::ReadBack back = test::readMetadataFile(result(name));
        ASSERT_TRUE(back.readable) << name.toStdString();
        EXPECT_EQ(back.value("Exif.Image.Make"), "Lumicam") << name.toStdString();
        EXPECT_EQ(back.value("Exif.Photo.DateTimeOriginal"), "2026:05:17 09:41:07");
        EXPECT_EQ(back.value("Exif.Image.Artist"), "Ada Example");
        EXPECT_EQ(back.value("Exif.Image.Orientation"), "1") << name.toStdString();
        EXPECT_FALSE(back.hasThumbnail) << name.toStdString();
        EXPECT_FALSE(back.hasGps()) << name.toStdString();
        EXPECT_EQ(back.iccProfile, p3) << name.toStdString();
    }
    EXPECT_EQ(QImageReader(result("sideways.jpg")).size(), QSize(600, 900));

    run = runCli({"apply", "--keep-gps", "--overwrite", upright, sideways, "-o", out()});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    for (const QString& name : {QStringLiteral("upright.jpg"), QStringLiteral("sideways.jpg")}) {
        const test::ReadBack back = test::readMetadataFile(result(name));
        EXPECT_EQ(back.value("Exif.GPSInfo.GPSLatitudeRef"), "N") << name.toStdString();
        EXPECT_FALSE(back.hasThumbnail) << name.toStdString();
    }
}

TEST_F(CliApply, SizesTurnsAndEncodesAsAsked) {
    const QString a = photo("lake.jpg", 1600, 1200);
    const auto run = runCli({"apply", "--size", "800", "--rotate", "left", "--format", "png",
                             "--preset", "2", "--jobs", "1", a, "-o", out()});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    QImageReader reader(result("lake.png"));
    EXPECT_EQ(reader.format(), QByteArray("png"));
    EXPECT_EQ(reader.size(), QSize(600, 800));
    // A stored length that is not offered falls back to the largest offered size.
    const auto odd = runCli({"apply", "--size", "750", "--overwrite", a, "-o", out()});
    ASSERT_EQ(odd.status, 0);
    EXPECT_EQ(QImageReader(result("lake.jpg")).size(), QSize(1440, 1080));
}

TEST_F(CliApply, InlinePresetFieldsAreValidatedByThePresetsSetters) {
    const QString a = photo("lake.jpg", 800, 600);
    const auto run =
        runCli({"apply", "--text", "Studio Nord", "--opacity", "1.5", "--layout", "tile-interlace",
                "--margins", "0.1", "0.7", "--angle", "30", a, "-o", out()});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("warning: --opacity 1.5 is out of range; using 1"));
    EXPECT_TRUE(run.err.contains("warning: --margins 0.7 is out of range; using 0"));
    EXPECT_TRUE(QFileInfo::exists(result("lake.jpg")));
}

TEST_F(CliApply, AnExistingResultIsNeverOverwrittenUnlessAsked) {
    const QString a = photo("lake.jpg", 800, 600);
    ASSERT_TRUE(QDir().mkpath(out()));
    ASSERT_TRUE(test::writeFile(result("lake.jpg"), "my earlier edit"));
    const auto run = runCli({"apply", a, "-o", out()});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("exists already")) << run.err.toStdString();
    EXPECT_EQ(test::readFile(result("lake.jpg")), QByteArray("my earlier edit"));

    ASSERT_EQ(runCli({"apply", "--overwrite", a, "-o", out()}).status, 0);
    EXPECT_EQ(QImageReader(result("lake.jpg")).size(), QSize(800, 600));
    EXPECT_EQ(outputFiles(), QStringList{"lake.jpg"});  // no temporary file left behind
}

TEST_F(CliApply, OneBadPhotoIsReportedAndDoesNotStopTheOthers) {
    const QString good = photo("good.jpg", 800, 600);
    const QString cut = home_.filePath("cut.jpg");
    const QByteArray whole = test::encode(test::testPhoto(800, 600), "jpeg");
    ASSERT_TRUE(test::writeFile(cut, whole.left(whole.size() / 2)));
    const QString notes = home_.filePath("notes.jpg");
    ASSERT_TRUE(test::writeFile(notes, "not a photo"));
    const QString tiny = photo("tiny.jpg", 399, 300);
    const QString also = photo("also.jpg", 640, 640);

    const auto run =
        runCli({"apply", good, cut, notes, tiny, home_.filePath("gone.jpg"), also, "-o", out()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(outputFiles(), (QStringList{"also.jpg", "good.jpg"}));
    EXPECT_TRUE(run.err.contains(cut + ": The image file is incomplete")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(notes + ": The file is not an image"));
    EXPECT_TRUE(run.err.contains(tiny + ": The image is too small."));
    EXPECT_TRUE(run.err.contains("gone.jpg: The file cannot be opened"));
    EXPECT_TRUE(run.err.contains("2 written, 4 failed"));
    // Not a terminal: plain lines, no bar.
    EXPECT_FALSE(run.err.contains("\r"));
}

TEST_F(CliApply, TwoPhotosWithOneNameDoNotOverwriteEachOther) {
    ASSERT_TRUE(QDir().mkpath(home_.filePath("a")));
    ASSERT_TRUE(QDir().mkpath(home_.filePath("b")));
    const QString first = photo("a/lake.jpg", 800, 600);
    const QString second = photo("b/lake.png", 900, 600, "png");
    const auto run = runCli({"apply", "--jobs", "2", first, second, "-o", out()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(QImageReader(result("lake.jpg")).size(), QSize(800, 600));
    EXPECT_TRUE(run.err.contains("another photo of this batch"));
}

// The words of each mistake are checked in-process (command_line_test); here the real
// binary's exit status, and that nothing is written.
TEST_F(CliApply, MistakesExitWithTwoAndAMissingPresetWithOneWritingNothing) {
    const QString a = photo("lake.jpg", 800, 600);
    const auto wrong = runCli({"apply", "--quality", "101", a, "-o", out()});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_TRUE(wrong.err.startsWith("lumigrave-cli apply: --quality")) << wrong.err.toStdString();
    EXPECT_TRUE(wrong.err.contains("usage: lumigrave-cli"));
    const auto missing = runCli({"apply", "--preset", "9", a, "-o", out()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("There is no preset at position 9"));
    EXPECT_FALSE(QFileInfo::exists(out()));
}

// Qt takes away arguments that look like its own options (-reverse, -title, …) when it
// is given them; the tool's values must reach the tool whole.
TEST_F(CliApply, ValuesThatLookLikeQtOptionsReachTheTool) {
    const QString a = photo("lake.jpg", 800, 600);
    const auto run = runCli({"apply", "--text", "-reverse", a, "-o", out()});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(result("lake.jpg")));
}

TEST_F(CliApply, GreyAndTurnedJpegsComeOutWholeAndUpright) {
    // A grey JPEG cannot be streamed; one with an EXIF turn must be turned upright.
    const QString grey = home_.filePath("grey.jpg");
    ASSERT_TRUE(test::writeFile(
        grey, test::encode(test::testPhoto(800, 600).convertToFormat(QImage::Format_Grayscale8),
                           "jpeg")));
    const QString turned = home_.filePath("turned.jpg");
    ASSERT_TRUE(test::writeFile(
        turned, test::withExifOrientation(test::encode(test::testPhoto(800, 600), "jpeg"), 6)));
    const auto run = runCli({"apply", grey, turned, "-o", out()});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(QImageReader(result("grey.jpg")).size(), QSize(800, 600));
    QImageReader upright(result("turned.jpg"));
    upright.setAutoTransform(false);
    EXPECT_EQ(upright.size(), QSize(600, 800));
}

TEST_F(CliApply, TheDemoWatermarksTheBundledPhotoAndSaysWhere) {
    for (const QStringList& args : {QStringList{}, QStringList{"demo"}}) {
        const auto run = runCli(args);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QString path = run.out.trimmed();
        EXPECT_TRUE(path.startsWith(Paths::photoAlbumDirectory())) << path.toStdString();
        EXPECT_EQ(QImageReader(path).size(), QSize(1600, 1000));
    }
}

}  // namespace
}  // namespace lumigrave
