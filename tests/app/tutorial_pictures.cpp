// Takes the quick tutorial's pictures of the application's own screens. Disabled in the
// suite: scripts/tutorial-pictures.sh runs it when a screen changes and the pictures under
// resources/html_files/pictures are to be taken again.
#include <QDir>
#include <QImage>
#include <QTest>

#include "app/editors/embossers_view_controller.h"
#include "app/editors/layout_view_controller.h"
#include "app/editors/opacity_view_controller.h"
#include "app/editors/text_view_controller.h"
#include "app/main/mm_segmented_switcher.h"
#include "editor_fixture.h"
#include "support/widget_test_support.h"
#include "ui/action_sheet.h"
#include "ui/navigation_bar.h"
#include "ui/on_screen.h"
#include "ui/toolbar.h"
#include "ui/window.h"

namespace lumigrave::test {
namespace {

class TutorialPictures : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        directory_ = qEnvironmentVariable("LUMIGRAVE_TUTORIAL_PICTURES");
        ASSERT_FALSE(directory_.isEmpty()) << "LUMIGRAVE_TUTORIAL_PICTURES names no folder";
        ASSERT_TRUE(QDir().mkpath(directory_));
        launch();
    }

    // The bars slide in after the start; pictures are taken once they are in place.
    void waitForBars() {
        advance(0.3);
        ASSERT_TRUE(ui::test::eventually([&] {
            const QWidget* bar = navigation().toolbar();
            return bar->isVisible() &&
                   bar->geometry().bottom() + 1 == bar->parentWidget()->height();
        }));
        settle();
    }

    void take(const QString& name) {
        settle();
        const QImage picture =
            app().window()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString path = QDir(directory_).filePath(name + ".jpg");
        ASSERT_TRUE(picture.save(path, "JPEG", 85)) << path.toStdString();
        // Lossless copies to look at before the pictures are committed.
        const QString preview = qEnvironmentVariable("LUMIGRAVE_TUTORIAL_PREVIEW");
        if (!preview.isEmpty()) {
            picture.save(QDir(preview).filePath(name + ".png"));
        }
    }

    QString directory_;
};

TEST_F(TutorialPictures, DISABLED_TakeThePictures) {
    waitForBars();
    take("watermark-mode");

    ASSERT_NE(open<TextViewController>("Text"), nullptr);
    advance(0.5);
    take("text-editor");
    clickCancel();
    waitForBars();

    auto* layout = open<LayoutViewController>("Layout");
    ASSERT_NE(layout, nullptr);
    advance(0.5);
    take("layout-editor");
    clickCancel();
    waitForBars();

    auto* sizes = open<OpacityViewController>("Size, Opacity and Angle");
    ASSERT_NE(sizes, nullptr);
    advance(0.5);
    take("size-editor");
    clickCancel();
    waitForBars();

    auto* browser = open<EmbossersViewController>("Presets");
    ASSERT_NE(browser, nullptr);
    advance(1.5);
    take("preset-browser");
    // Its only way back is "Select", which keeps the preset on show: the one in use.
    clickDone();
    waitForBars();

    click(root().operatingModeSeg());
    waitForBars();
    take("photo-mode");
    clickToolbarItem("Output");
    ASSERT_NE(ui::OnScreen::top<ui::ActionSheet>(), nullptr);
    // The sheet slides up in real time.
    QTest::qWait(800);
    take("output-sheet");
}

}  // namespace
}  // namespace lumigrave::test
