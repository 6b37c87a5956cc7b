// The photo album: names, the write itself, and the completion a turn later.
#include "platform/photo_album.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <memory>

#include "support/exif_photo.h"
#include "support/file_size_limit.h"
#include "support/manual_scheduler.h"
#include "support/temp_home.h"
#include "support/unprivileged.h"

namespace lumigrave {
namespace {

std::string joined(const QStringList& list) {
    return list.join(QStringLiteral(" | ")).toStdString();
}

const QDateTime kWhen(QDate(2026, 3, 4), QTime(5, 6, 7));

TEST(PhotoAlbumNames, CarryTheMomentAndANumberFromTheSecondOn) {
    EXPECT_EQ(PhotoAlbum::fileName(kWhen, 1), "Lumigrave 2026-03-04 05.06.07.jpg");
    EXPECT_EQ(PhotoAlbum::fileName(kWhen, 2), "Lumigrave 2026-03-04 05.06.07 2.jpg");
    EXPECT_EQ(PhotoAlbum::fileName(kWhen, 11), "Lumigrave 2026-03-04 05.06.07 11.jpg");
    EXPECT_EQ(PhotoAlbum::fileName(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)), 1),
              "Lumigrave 2026-12-31 23.59.59.jpg");
}

class PhotoAlbumTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PhotoAlbum::setClock([this] { return when_; });
    }
    void TearDown() override { PhotoAlbum::setClock(nullptr); }

    QString pictures() const { return home_.filePath(QStringLiteral("Pictures")); }
    QString album() const { return pictures() + QStringLiteral("/Lumigrave"); }
    QStringList albumFiles() const {
        return QDir(album()).entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
    }

    // A photo whose stored pixels lie on their side: 30 × 20 stored, 20 × 30 upright.
    static Image sidewaysPhoto() {
        QImage pixels(30, 20, QImage::Format_RGB32);
        pixels.fill(QColor(200, 40, 40));
        return Image(pixels, 1, kOrientationRight);
    }

    struct Outcome {
        bool called = false;
        std::optional<QString> error;
    };
    // Writes through the asynchronous call; the outcome fills in a turn later.
    std::shared_ptr<Outcome> save(const Image& image, const QObject* target = nullptr) {
        auto outcome = std::make_shared<Outcome>();
        PhotoAlbum::writeImageToSavedPhotosAlbum(
            image, metadata_, target, [outcome](const Image&, const std::optional<QString>& error) {
                outcome->called = true;
                outcome->error = error;
            });
        return outcome;
    }
    static void nextTurn() { test::ManualScheduler::current()->advance(0); }

    test::TempHome home_;
    QDateTime when_ = kWhen;
    PhotoMetadata metadata_;
};

TEST_F(PhotoAlbumTest, WritesAnUprightJpegAtQuality95AndReportsOnALaterTurn) {
    const Image photo = sidewaysPhoto();
    auto outcome = save(photo);
    EXPECT_FALSE(outcome->called);
    nextTurn();
    ASSERT_TRUE(outcome->called);
    EXPECT_FALSE(outcome->error.has_value()) << outcome->error->toStdString();

    ASSERT_EQ(albumFiles(), QStringList{"Lumigrave 2026-03-04 05.06.07.jpg"});
    QFile file(album() + "/" + albumFiles().first());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QByteArray expected;
    QBuffer buffer(&expected);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(photo.write(buffer, "jpeg", 95, nullptr));
    EXPECT_EQ(written, expected);
    QImageReader reader(file.fileName());
    EXPECT_EQ(reader.format(), "jpeg");
    EXPECT_EQ(reader.size(), QSize(20, 30));
}

TEST_F(PhotoAlbumTest, TheSourcesMetadataGoesInWithoutItsGpsPosition) {
    metadata_ = PhotoMetadata::fromData(test::cameraJpeg(30, 20));
    save(sidewaysPhoto());
    nextTurn();
    ASSERT_EQ(albumFiles().size(), 1);
    const test::ReadBack back = test::readMetadataFile(album() + "/" + albumFiles().first());
    EXPECT_EQ(back.value("Exif.Image.Make"), "Lumicam");
    EXPECT_EQ(back.value("Exif.Image.Orientation"), "1");
    EXPECT_FALSE(back.hasThumbnail);
    EXPECT_FALSE(back.hasGps());
    EXPECT_EQ(back.iccProfile, metadata_.iccProfile());
}

TEST_F(PhotoAlbumTest, NamesTakenInTheSameSecondGetNumbers) {
    for (int i = 0; i < 3; ++i) {
        save(sidewaysPhoto());
    }
    when_ = kWhen.addSecs(1);
    save(sidewaysPhoto());
    // A dangling link takes its name as well.
    when_ = kWhen.addSecs(2);
    ASSERT_TRUE(QFile::link(album() + "/nowhere", album() + "/" + PhotoAlbum::fileName(when_, 1)));
    save(sidewaysPhoto());
    nextTurn();
    EXPECT_EQ(
        albumFiles(),
        QStringList({"Lumigrave 2026-03-04 05.06.07 2.jpg", "Lumigrave 2026-03-04 05.06.07 3.jpg",
                     "Lumigrave 2026-03-04 05.06.07.jpg", "Lumigrave 2026-03-04 05.06.08.jpg",
                     "Lumigrave 2026-03-04 05.06.09 2.jpg", "Lumigrave 2026-03-04 05.06.09.jpg"}));
}

TEST_F(PhotoAlbumTest, AReadOnlyPicturesFolderIsTheSystemsErrorAndLeavesNothing) {
    ASSERT_TRUE(QDir().mkpath(pictures()));
    test::makeWorldReadable(QFile::encodeName(home_.path()).constData(), true);
    test::makeWorldReadable(QFile::encodeName(pictures()).constData(), true);
    std::shared_ptr<Outcome> outcome;
    {
        test::AsUnprivilegedUser nobody;
        outcome = save(sidewaysPhoto());
    }
    nextTurn();
    ASSERT_TRUE(outcome->called);
    ASSERT_TRUE(outcome->error.has_value());
    EXPECT_EQ(*outcome->error, "Permission denied");
    EXPECT_EQ(QDir(pictures()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList());

    // The album there already, but closed to the user: the same, and no temporary file.
    ASSERT_TRUE(QDir().mkpath(album()));
    test::makeWorldReadable(QFile::encodeName(album()).constData(), true);
    {
        test::AsUnprivilegedUser nobody;
        outcome = save(sidewaysPhoto());
    }
    nextTurn();
    ASSERT_TRUE(outcome->error.has_value());
    EXPECT_FALSE(outcome->error->isEmpty());
    EXPECT_EQ(joined(albumFiles()), "");
}

TEST_F(PhotoAlbumTest, AFullDiskIsTheSystemsErrorAndLeavesNothing) {
    std::shared_ptr<Outcome> outcome;
    {
        test::FileSizeLimit fullDisk(100);
        outcome = save(sidewaysPhoto());
    }
    nextTurn();
    ASSERT_TRUE(outcome->error.has_value());
    EXPECT_EQ(*outcome->error, "File too large");
    EXPECT_EQ(joined(albumFiles()), "");
}

TEST_F(PhotoAlbumTest, NothingIsWrittenForNoImageAndAGoneTargetHearsNothing) {
    auto nothing = save(Image());
    nextTurn();
    ASSERT_TRUE(nothing->error.has_value());
    EXPECT_FALSE(nothing->error->isEmpty());
    EXPECT_EQ(joined(albumFiles()), "");

    auto target = std::make_unique<QObject>();
    auto outcome = save(sidewaysPhoto(), target.get());
    target.reset();
    nextTurn();
    EXPECT_FALSE(outcome->called);
    EXPECT_EQ(albumFiles().size(), 1);  // the photo itself is saved all the same
}

}  // namespace
}  // namespace lumigrave
