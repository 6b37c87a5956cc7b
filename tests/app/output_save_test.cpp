// "Save to Photo Album" on the main screen: the overlay, the album write and the alerts.
#include <QDir>
#include <QFile>
#include <QImage>

#include "app/main/mm_segmented_switcher.h"
#include "app_fixture.h"
#include "platform/photo_album.h"
#include "support/exif_photo.h"
#include "support/image_compare.h"
#include "support/image_files.h"
#include "support/unprivileged.h"
#include "support/widget_test_support.h"
#include "ui/action_sheet.h"
#include "ui/alert_view.h"
#include "ui/on_screen.h"

namespace lumigrave::test {
namespace {

const QDateTime kWhen(QDate(2026, 12, 7), QTime(16, 20, 0));

class OutputSaveTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        PhotoAlbum::setClock([] { return kWhen; });
    }
    void TearDown() override {
        PhotoAlbum::setClock(nullptr);
        AppTest::TearDown();
    }

    QString pictures() const { return home_->filePath(QStringLiteral("Pictures")); }
    QString album() const { return pictures() + QStringLiteral("/Lumigrave"); }
    QStringList albumFiles() const {
        return QDir(album()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    ui::AlertView* alert() { return ui::OnScreen::top<ui::AlertView>(); }
    void dismissAlert() {
        ASSERT_NE(alert(), nullptr);
        ASSERT_TRUE(ui::OnScreen::pressButton(*alert(), 0));
        settle();
    }
    // "Save to Photo Album" chosen from the output sheet, nothing run after the choice.
    void chooseSave() {
        clickToolbarItem("Output");
        auto* sheet = ui::OnScreen::top<ui::ActionSheet>();
        ASSERT_NE(sheet, nullptr);
        ASSERT_TRUE(ui::OnScreen::pressButton(*sheet, 2));
    }
};

TEST_F(OutputSaveTest, TheDemoPhotoIsSavedRightAfterLaunchBehindTheSavingOverlay) {
    launch();
    ASSERT_FALSE(root().finalImage().isNull());
    EXPECT_TRUE(root().finalImage().isSameImage(app().embossedImage()));

    root().processResultWithOption(RootViewController::kOutputSave);
    EXPECT_EQ(overlayMessage(), "Saving...");
    EXPECT_TRUE(albumFiles().isEmpty());
    EXPECT_EQ(alert(), nullptr);
    // The write and its completion, turns later: the overlay gone, the alert up.
    ui::test::runDueCalls();
    EXPECT_EQ(albumFiles(), QStringList{"Lumigrave 2026-12-07 16.20.00.jpg"});
    EXPECT_EQ(overlayMessage(), "");
    ASSERT_NE(alert(), nullptr);
    EXPECT_EQ(alert()->title(), "Image Saved");
    EXPECT_EQ(alert()->message(), "The image has been successfully saved!");
    EXPECT_EQ(ui::OnScreen::buttonTitles(*alert()), QStringList{"OK"});
    dismissAlert();
    EXPECT_EQ(alert(), nullptr);

    // The file holds the watermarked photo upright, at its pixel size.
    const QImage saved(album() + "/" + albumFiles().first());
    const QImage shown =
        app().embossedImage().uprightPixels().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(imagesMatch(saved.convertToFormat(QImage::Format_RGB32), shown, 24));
}

TEST_F(OutputSaveTest, SavesFromTheSheetInTheSameSecondAreNumbered) {
    launch();
    click(root().operatingModeSeg());  // photo mode, where the output button is
    for (int i = 0; i < 3; ++i) {
        chooseSave();
        settle();
        ASSERT_NE(alert(), nullptr);
        EXPECT_EQ(alert()->title(), "Image Saved");
        dismissAlert();
    }
    EXPECT_EQ(albumFiles(), QStringList({"Lumigrave 2026-12-07 16.20.00 2.jpg",
                                         "Lumigrave 2026-12-07 16.20.00 3.jpg",
                                         "Lumigrave 2026-12-07 16.20.00.jpg"}));
}

TEST_F(OutputSaveTest, ThePickedPhotosMetadataIsSavedWithoutGpsOrThumbnail) {
    launch();
    // Taken on its side: upright, it is 600 wide and 800 high.
    const QString path = home_->filePath(QStringLiteral("camera.jpg"));
    ASSERT_TRUE(writeFile(path, cameraJpeg(800, 600, 6)));
    root().pickFile(path);
    settle();
    ASSERT_EQ(app().originalImage().size().width, 600);

    root().processResultWithOption(RootViewController::kOutputSave);
    settle();
    ASSERT_NE(alert(), nullptr);
    EXPECT_EQ(alert()->title(), "Image Saved");
    ASSERT_EQ(albumFiles().size(), 1);
    const ReadBack saved = readMetadataFile(album() + "/" + albumFiles().first());
    ASSERT_TRUE(saved.readable);
    EXPECT_EQ(saved.value("Exif.Image.Model"), "LC-1 Mark II");
    EXPECT_EQ(saved.value("Exif.Photo.DateTimeOriginal"), "2026:05:17 09:41:07");
    EXPECT_EQ(saved.value("Exif.Image.Copyright"), "(c) 2026 Ada Example");
    EXPECT_EQ(saved.value("Exif.Image.Orientation"), "1");
    EXPECT_FALSE(saved.hasThumbnail);
    EXPECT_FALSE(saved.hasGps());
    EXPECT_EQ(saved.iccProfile, QColorSpace(QColorSpace::DisplayP3).iccProfile());
    const QImage pixels(album() + "/" + albumFiles().first());
    EXPECT_EQ(pixels.size(), app().embossedImage().uprightPixels().size());
    EXPECT_LT(pixels.width(), pixels.height());
}

TEST_F(OutputSaveTest, AReadOnlyPicturesFolderShowsTheErrorAndLeavesNoFile) {
    launch();
    ASSERT_TRUE(QDir().mkpath(pictures()));
    makeWorldReadable(QFile::encodeName(home_->path()).constData(), true);
    makeWorldReadable(QFile::encodeName(pictures()).constData(), true);

    root().processResultWithOption(RootViewController::kOutputSave);
    {
        AsUnprivilegedUser nobody;
        ui::test::runDueCalls();  // the write, as a user who may not write there
    }
    settle();
    EXPECT_EQ(overlayMessage(), "");
    ASSERT_NE(alert(), nullptr);
    EXPECT_EQ(alert()->title(), "Error");
    EXPECT_EQ(alert()->message(), "Permission denied");
    EXPECT_EQ(ui::OnScreen::buttonTitles(*alert()), QStringList{"OK"});
    EXPECT_TRUE(QDir(pictures())
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                    .isEmpty());
    dismissAlert();
    EXPECT_EQ(alert(), nullptr);
}

}  // namespace
}  // namespace lumigrave::test
