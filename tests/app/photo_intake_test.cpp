// Photos coming in (picked, dropped, opened), the output size chosen for them, and the
// quarter turns.
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "app/main/mm_segmented_switcher.h"
#include "app/main/photo_intake.h"
#include "app/pickers/string_sheet_picker.h"
#include "app_fixture.h"
#include "platform/user_defaults.h"
#include "render/output_sizes.h"
#include "support/widget_test_support.h"
#include "ui/action_sheet.h"
#include "ui/alert_view.h"
#include "ui/bar_button_item.h"
#include "ui/image_picker_controller.h"
#include "ui/image_view.h"
#include "ui/on_screen.h"
#include "ui/picker_view.h"
#include "ui/toolbar.h"

namespace lumigrave::test {
namespace {

// A row of the output-size picker for a photo, and what choosing it means.
struct SizeRow {
    const char* name;
    Size photo;
    int row;
    bool taken;
    Size target;
    qint64 maxOutputPix;
};

class OutputSizeForRowTest : public ::testing::TestWithParam<SizeRow> {};

TEST_P(OutputSizeForRowTest, GivesTheTargetAndTheStoredLength) {
    const SizeRow& row = GetParam();
    std::optional<OutputSizeChoice> choice = outputSizeForRow(maxOutputSizes(row.photo), row.row);
    ASSERT_EQ(choice.has_value(), row.taken);
    if (row.taken) {
        EXPECT_FLOAT_EQ(choice->target.width, row.target.width);
        EXPECT_FLOAT_EQ(choice->target.height, row.target.height);
        EXPECT_EQ(choice->maxOutputPix, row.maxOutputPix);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, OutputSizeForRowTest,
    ::testing::Values(
        // Row 0 is the photo's own size and stores 0.
        SizeRow{"OwnSize", {600, 450}, 0, true, {600, 450}, 0},
        SizeRow{"LargestOfASmallPhoto", {600, 450}, 1, true, {600, 450}, 600},
        SizeRow{"SmallerOfASmallPhoto", {600, 450}, 3, true, {480, 360}, 480},
        SizeRow{"SmallestPhotoOwnSize", {400, 300}, 0, true, {400, 300}, 0},
        SizeRow{"SmallestPhotoOnlySize", {400, 300}, 1, true, {400, 300}, 400},
        // The portrait photo's 960 entry is 959.99994 high in single precision: 959.
        SizeRow{"PortraitNineSixty", {1936, 2592}, 7, true, {717.03705f, 959.99994f}, 959},
        SizeRow{"PortraitLargest", {1936, 2592}, 1, true, {1075.5555f, 1440}, 1440},
        SizeRow{"LandscapeNineSixty", {3264, 2448}, 7, true, {960, 720}, 960},
        // Rows outside the list, as a list changed under an open picker would give.
        SizeRow{"PastTheEnd", {400, 300}, 2, false, {}, 0},
        SizeRow{"FarPastTheEnd", {600, 450}, 15, false, {}, 0},
        SizeRow{"Negative", {600, 450}, -1, false, {}, 0},
        SizeRow{"NoPhotoAtAll", {0, 0}, 0, false, {}, 0},
        SizeRow{"TooSmallAPhoto", {399, 300}, 0, false, {}, 0}),
    [](const ::testing::TestParamInfo<SizeRow>& info) { return std::string(info.param.name); });

class PhotoIntakeTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        launch();
        demo_ = app().originalImage();
        // Photo mode: the toolbar with the output size.
        click(root().operatingModeSeg());
    }

    qint64 maxOutputPix() { return UserDefaults().integerForKey(kMaxOutputPixKey); }
    void storeMaxOutputPix(qint64 length) {
        UserDefaults defaults;
        defaults.setInteger(kMaxOutputPixKey, length);
        defaults.synchronize();
    }
    Size activeSize() { return app().activeImage().size(); }

    // The output-size picker as the toolbar button opens it.
    ui::ActionSheet* openSizePicker() {
        clickToolbarItem("Output Size");
        ui::ActionSheet* sheet = ui::OnScreen::top<ui::ActionSheet>();
        return sheet != nullptr && sheet->panel()->findChild<ui::PickerView*>() ? sheet : nullptr;
    }
    // The title shown in the picker's toolbar.
    static QString pickerTitle(ui::ActionSheet* sheet) {
        auto* toolbar = sheet->panel()->findChild<ui::Toolbar*>();
        auto* label = toolbar != nullptr ? toolbar->findChild<QLabel*>() : nullptr;
        return label != nullptr && label->isVisible() ? label->text() : QString();
    }
    static ui::PickerView* wheel(ui::ActionSheet* sheet) {
        return sheet->panel()->findChild<ui::PickerView*>();
    }
    static QStringList rows(ui::ActionSheet* sheet) {
        ui::PickerView* picker = wheel(sheet);
        QStringList titles;
        for (int row = 0; row < picker->numberOfRowsInComponent(0); ++row) {
            titles.append(picker->delegate()->titleForRow(row, 0));
        }
        return titles;
    }
    // A button of the picker's toolbar clicked; settled unless asked not to.
    static void press(ui::ActionSheet* sheet, ui::BarButtonItem::SystemItem which,
                      bool settleAfter = true) {
        auto* toolbar = sheet->panel()->findChild<ui::Toolbar*>();
        ASSERT_NE(toolbar, nullptr);
        for (ui::BarButtonItem* item : toolbar->items()) {
            if (item->systemItem() == which) {
                AppTest::press(toolbar->widgetForItem(item));
                if (settleAfter) {
                    settle();
                }
                return;
            }
        }
        ADD_FAILURE() << "The picker's toolbar has no such button";
    }
    // Turned with the keys, as a user does: a row selected in code is not a choice.
    static void turnTo(ui::ActionSheet* sheet, int row) {
        QListView* rows = wheel(sheet)->wheelForComponent(0);
        QTest::keyClick(rows, Qt::Key_Home);
        for (int i = 0; i < row; ++i) {
            QTest::keyClick(rows, Qt::Key_Down);
        }
    }
    // Opens the size picker, turns it to the row and chooses it.
    void chooseSize(int row) {
        ui::ActionSheet* sheet = openSizePicker();
        ASSERT_NE(sheet, nullptr);
        turnTo(sheet, row);
        press(sheet, ui::BarButtonItem::SystemItem::Done);
        settle();
    }
    void expectRefused(const QString& message) {
        ui::AlertView* alert = ui::OnScreen::top<ui::AlertView>();
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(alert->title(), "Error");
        EXPECT_EQ(alert->message(), message);
        EXPECT_EQ(ui::OnScreen::buttonTitles(*alert), QStringList{"OK"});
        ui::OnScreen::pressButton(*alert, 0);
        settle();
        // The demo photo stays in all three stages.
        EXPECT_TRUE(app().originalImage().isSameImage(demo_));
        EXPECT_TRUE(app().activeImage().isSameImage(demo_));
        EXPECT_EQ(app().activityView(), nullptr);
    }

    Image demo_;
};

TEST_F(PhotoIntakeTest, PhotosBelowFourHundredPointsAreRefused) {
    pick(photo(399, 300));
    expectRefused("The image is too small.");
    pick(photo(300, 399));
    expectRefused("The image is too small.");
    // A pick that brings no image counts as a size of zero.
    ui::ImagePickerController picker;
    root().didFinishPickingMediaWithInfo(picker, {});
    settle();
    expectRefused("The image is too small.");
}

TEST_F(PhotoIntakeTest, TheSmallestPhotoGetsTwoRowsOfItsOwnSize) {
    Image small = photo(400, 300);
    ui::ImagePickerController picker;
    root().didFinishPickingMediaWithInfo(
        picker, {{ui::ImagePickerController::kOriginalImageKey, QVariant::fromValue(small)}});
    // The overlay comes first; the photo is installed a turn later.
    EXPECT_EQ(overlayMessage(), "Proccessing...");
    EXPECT_TRUE(app().originalImage().isSameImage(demo_));
    settle();
    EXPECT_EQ(overlayMessage(), "");
    EXPECT_TRUE(app().originalImage().isSameImage(small));
    EXPECT_EQ(activeSize(), (Size{400, 300}));
    EXPECT_EQ(app().embossedImage().size(), (Size{400, 300}));
    EXPECT_TRUE(root().imageSubView()->image().isSameImage(app().embossedImage()));

    ui::ActionSheet* sheet = openSizePicker();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(rows(sheet), QStringList({"400 x 300 (px) Orig.", "400 x 300 (px)"}));
    EXPECT_EQ(wheel(sheet)->selectedRowInComponent(0), 1);
    // Cancelling changes nothing.
    Image active = app().activeImage();
    press(sheet, ui::BarButtonItem::SystemItem::Cancel);
    settle();
    EXPECT_EQ(ui::OnScreen::top<ui::ActionSheet>(), nullptr);
    EXPECT_TRUE(app().activeImage().isSameImage(active));
    EXPECT_EQ(maxOutputPix(), 800);

    // The same object picked again is not taken in again.
    pick(small);
    EXPECT_EQ(ui::OnScreen::top<ui::AlertView>(), nullptr);
    EXPECT_FALSE(app().activityView()->isVisible());
    EXPECT_TRUE(app().activeImage().isSameImage(active));
}

TEST_F(PhotoIntakeTest, AStoredSizeThatDoesNotFitUsesTheLargestAndStaysStored) {
    pick(photo(600, 450));
    EXPECT_EQ(activeSize(), (Size{600, 450}));
    EXPECT_EQ(maxOutputPix(), 800);
    ui::ActionSheet* sheet = openSizePicker();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(rows(sheet), QStringList({"600 x 450 (px) Orig.", "600 x 450 (px)", "500 x 375 (px)",
                                        "480 x 360 (px)", "400 x 300 (px)"}));
    EXPECT_EQ(wheel(sheet)->selectedRowInComponent(0), 1);
    press(sheet, ui::BarButtonItem::SystemItem::Cancel);
    settle();

    chooseSize(3);
    EXPECT_EQ(maxOutputPix(), 480);
    EXPECT_EQ(activeSize(), (Size{480, 360}));
    EXPECT_FALSE(app().activityView()->isVisible());

    // Row 0 stores 0: later photos come at their own size, drawn anew.
    chooseSize(0);
    EXPECT_EQ(maxOutputPix(), 0);
    EXPECT_EQ(activeSize(), (Size{600, 450}));
    Image big = photo(1000, 750);
    pick(big);
    EXPECT_EQ(activeSize(), (Size{1000, 750}));
    EXPECT_FALSE(app().activeImage().isSameImage(big));
    EXPECT_TRUE(app().originalImage().isSameImage(big));
}

TEST_F(PhotoIntakeTest, TheSizePickerIsTitledAndItsChoiceRunsBehindTheOverlay) {
    pick(photo(600, 450));
    ui::ActionSheet* sheet = openSizePicker();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(pickerTitle(sheet), "Output Size");
    turnTo(sheet, 2);
    press(sheet, ui::BarButtonItem::SystemItem::Done, false);
    // The overlay is up before the work, which waits for the next turn.
    EXPECT_EQ(overlayMessage(), "Proccessing...");
    EXPECT_EQ(maxOutputPix(), 800);
    settle();
    EXPECT_EQ(overlayMessage(), "");
    EXPECT_EQ(maxOutputPix(), 500);
    EXPECT_EQ(activeSize(), (Size{500, 375}));
}

TEST_F(PhotoIntakeTest, ADoneOnARowOutsideTheListChangesNothing) {
    pick(photo(400, 300));
    Image active = app().activeImage();
    ui::ActionSheet* sheet = openSizePicker();
    ASSERT_NE(sheet, nullptr);
    ASSERT_NE(root().sizePicker(), nullptr);
    // Where a list that shrank under the picker would leave it: past the two rows.
    root().sizePicker()->setSelectedIndex(2);
    press(sheet, ui::BarButtonItem::SystemItem::Done);
    EXPECT_EQ(root().sizePicker(), nullptr);
    EXPECT_EQ(overlayMessage(), "");
    EXPECT_EQ(maxOutputPix(), 800);
    EXPECT_TRUE(app().activeImage().isSameImage(active));

    // A row that went out of the list between the choice and the work is refused there
    // too, and the overlay shown for it still comes down.
    for (int row : {2, 16, -1}) {
        app().showActivityView("Proccessing...");
        root().loadImageForNewSize(row);
        settle();
        EXPECT_EQ(overlayMessage(), "") << row;
        EXPECT_EQ(maxOutputPix(), 800) << row;
        EXPECT_TRUE(app().activeImage().isSameImage(active)) << row;
    }
}

TEST_F(PhotoIntakeTest, APortraitPhotosNineSixtyRowStoresItsTruncatedLength) {
    pick(photo(1936, 2592));
    ui::ActionSheet* sheet = openSizePicker();
    ASSERT_NE(sheet, nullptr);
    QStringList offered = rows(sheet);
    EXPECT_EQ(offered.front(), "1936 x 2592 (px) Orig.");
    int row = int(offered.indexOf("717 x 960 (px)"));
    ASSERT_GT(row, 1) << offered.join(", ").toStdString();
    press(sheet, ui::BarButtonItem::SystemItem::Cancel);
    settle();

    chooseSize(row);
    EXPECT_EQ(maxOutputPix(), 959);
    EXPECT_NEAR(activeSize().height, 960, 0.5);
    sheet = openSizePicker();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(wheel(sheet)->selectedRowInComponent(0), 1);
    press(sheet, ui::BarButtonItem::SystemItem::Cancel);
}

TEST_F(PhotoIntakeTest, ASizeChangeDropsTheTurnsAndTheStoredSizeKeepsThem) {
    // Halving is exact, so the stored 800 matches this photo's 800 entry.
    pick(photo(1600, 1200));
    Image original = app().originalImage();
    EXPECT_EQ(activeSize(), (Size{800, 600}));

    root().doRotateLeft();
    EXPECT_EQ(activeSize(), (Size{600, 800}));
    EXPECT_EQ(app().embossedImage().size(), (Size{600, 800}));
    EXPECT_TRUE(app().originalImage().isSameImage(original));
    EXPECT_FALSE(app().activityView()->isVisible());
    // The stored size chosen again changes nothing.
    ui::ActionSheet* sheet = openSizePicker();
    ASSERT_NE(sheet, nullptr);
    int stored = wheel(sheet)->selectedRowInComponent(0);
    EXPECT_EQ(rows(sheet)[stored], "800 x 600 (px)");
    press(sheet, ui::BarButtonItem::SystemItem::Cancel);
    settle();
    chooseSize(stored);
    EXPECT_EQ(activeSize(), (Size{600, 800}));

    // Another size starts again from the upright original.
    chooseSize(stored + 1);
    EXPECT_EQ(maxOutputPix(), 700);
    EXPECT_EQ(activeSize(), (Size{700, 525}));

    // Four right turns come back upright.
    root().doRotateRight();
    EXPECT_EQ(activeSize(), (Size{525, 700}));
    root().doRotateRight();
    root().doRotateRight();
    root().doRotateRight();
    EXPECT_EQ(activeSize(), (Size{700, 525}));
}

TEST_F(PhotoIntakeTest, AStillFromTheCameraIsTakenInAndItsFailuresSayWhy) {
    root().showImagePicker(true);
    settle();
    ui::ImagePickerController* camera = root().imagePicker();
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->sourceType(), ui::ImagePickerController::SourceType::Camera);
    // Without a camera (as on a build machine) the library is shown instead of nothing.
    if (!ui::ImagePickerController::isSourceTypeAvailable(
            ui::ImagePickerController::SourceType::Camera)) {
        EXPECT_NE(camera->view()->findChild<QFileDialog*>(), nullptr);
    }
    camera->cameraFailed("The camera is in use by another application.");
    settle();
    EXPECT_EQ(root().imagePicker(), nullptr);
    expectRefused("The camera is in use by another application.");

    root().showImagePicker(true);
    settle();
    root().imagePicker()->pickCapturedImage(QImage());
    settle();
    expectRefused("The camera gave no picture.");

    // Frames come in whatever format the camera's driver gives.
    QImage frame(1280, 720, QImage::Format_RGBA8888);
    frame.fill(QColor(10, 200, 30));
    root().showImagePicker(true);
    settle();
    root().imagePicker()->pickCapturedImage(frame);
    settle();
    EXPECT_EQ(root().imagePicker(), nullptr);
    EXPECT_EQ(app().originalImage().size(), (Size{1280, 720}));
    EXPECT_EQ(app().originalImage().pixels().format(), QImage::Format_RGB32);
    EXPECT_EQ(activeSize(), (Size{800, 450}));
}

// Photos from files: the picker's dialog, a drop on the window, an opened file.
class PhotoFileTest : public PhotoIntakeTest {
  protected:
    QString write(const QString& name, const QImage& pixels) {
        QString path = dir_.filePath(name);
        EXPECT_TRUE(pixels.save(path));
        return path;
    }
    QString writeBytes(const QString& name, const QByteArray& bytes) {
        QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    static QImage pixels(int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(200, 60, 40));
        return image;
    }
    QTemporaryDir dir_;
};

TEST_F(PhotoFileTest, AFileChosenInThePickerIsTakenIn) {
    QString path = write("holiday.png", pixels(640, 480));
    root().showImagePicker(false);
    settle();
    ui::ImagePickerController* picker = root().imagePicker();
    ASSERT_NE(picker, nullptr);
    picker->pickFile(path);
    settle();
    EXPECT_EQ(root().imagePicker(), nullptr);
    EXPECT_EQ(app().originalImage().size(), (Size{640, 480}));
    EXPECT_EQ(activeSize(), (Size{640, 480}));
}

TEST_F(PhotoFileTest, DroppedAndOpenedFilesArriveAsPicks) {
    QString first = write("first.jpg", pixels(800, 600));
    QString second = write("second.png", pixels(500, 500));
    application().dropFiles({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
    settle();
    EXPECT_EQ(app().originalImage().size(), (Size{800, 600}));

    EXPECT_TRUE(application().handleOpenURL(QUrl::fromLocalFile(second)));
    settle();
    EXPECT_EQ(app().originalImage().size(), (Size{500, 500}));

    // A file opened while the picker is up closes it.
    root().showImagePicker(false);
    settle();
    ASSERT_NE(root().imagePicker(), nullptr);
    application().handleOpenURL(QUrl::fromLocalFile(first));
    settle();
    EXPECT_EQ(root().imagePicker(), nullptr);
    EXPECT_EQ(app().originalImage().size(), (Size{800, 600}));
}

TEST_F(PhotoFileTest, APhotoArrivingWhileTheSizePickerIsOpenClosesItUnchosen) {
    pick(photo(600, 450));
    const QString dropped = write("dropped.png", pixels(1600, 1200));
    const QString handedOver = write("handed-over.png", pixels(1000, 750));
    const std::vector<std::pair<const char*, std::function<void()>>> arrivals{
        {"dropped on the window", [&] { application().dropFiles({QUrl::fromLocalFile(dropped)}); }},
        {"handed over by a second start",
         [&] { application().handleOpenURL(QUrl::fromLocalFile(handedOver)); }},
    };
    for (const auto& [how, arrive] : arrivals) {
        ui::ActionSheet* sheet = openSizePicker();
        ASSERT_NE(sheet, nullptr) << how;
        QPointer<ui::ActionSheet> shown(sheet);
        // The user turned to a row of the old photo's list, and has not chosen it.
        turnTo(sheet, 3);
        arrive();
        settle();
        EXPECT_EQ(root().sizePicker(), nullptr) << how;
        EXPECT_TRUE(
            ui::test::eventually([&] { return shown.isNull() || !shown->isVisible(); }, 2000))
            << how;
        EXPECT_EQ(ui::OnScreen::top<ui::ActionSheet>(), nullptr) << how;
        // Nothing chosen, nothing stored: the new photo comes at the stored size.
        EXPECT_EQ(maxOutputPix(), 800) << how;
        EXPECT_EQ(activeSize(), (Size{800, 600})) << how;
        EXPECT_EQ(overlayMessage(), "") << how;
    }
}

TEST_F(PhotoFileTest, DamagedAndForeignFilesSayWhyAndChangeNothing) {
    QFile jpeg(write("whole.jpg", pixels(800, 600)));
    ASSERT_TRUE(jpeg.open(QIODevice::ReadOnly));
    QByteArray bytes = jpeg.readAll();
    const QStringList bad{writeBytes("cut.jpg", bytes.left(bytes.size() / 2)),
                          writeBytes("notes.png", "not a picture at all"),
                          writeBytes("empty.jpg", ""), dir_.filePath("missing.jpg")};
    for (const QString& path : bad) {
        root().pickFile(path);
        settle();
        ui::AlertView* alert = ui::OnScreen::top<ui::AlertView>();
        ASSERT_NE(alert, nullptr) << path.toStdString();
        EXPECT_EQ(alert->title(), "Error");
        EXPECT_FALSE(alert->message().isEmpty());
        EXPECT_NE(alert->message(), "The image is too small.") << path.toStdString();
        expectRefused(alert->message());
    }
    // A readable photo that is too small is refused for its size.
    root().pickFile(write("tiny.png", pixels(120, 90)));
    settle();
    expectRefused("The image is too small.");
}

}  // namespace
}  // namespace lumigrave::test
