#include <QTest>

#include "app/activity_overlay.h"
#include "app/editors/opacity_view_controller.h"
#include "app/main/mm_slider.h"
#include "editor_fixture.h"
#include "platform/user_defaults.h"
#include "support/widget_test_support.h"
#include "ui/alert_view.h"
#include "ui/image_view.h"
#include "ui/navigation_bar.h"
#include "ui/on_screen.h"
#include "ui/window.h"

namespace lumigrave::test {
namespace {

const QString kItem = QStringLiteral("Size, Opacity and Angle");

class OpacityEditorTest : public EditorTest {
  protected:
    OpacityViewController* openEditor() { return open<OpacityViewController>(kItem); }
    // A change the user makes: the slider focused and a key pressed on it.
    static void key(MMSlider* slider, Qt::Key key) {
        slider->setFocus();
        QTest::keyClick(slider, key);
    }
};

TEST(ReliefCacheIndex, TheSmallestCachedReliefAtLeastAsWide) {
    const struct {
        double ratio;
        int index;
    } rows[] = {{0.1, 0},  {0.25, 0}, {0.26, 1}, {0.5, 1}, {0.51, 2},
                {0.75, 2}, {0.76, 3}, {1.0, 3},  {0.0, 3}, {-0.5, 3}};
    for (const auto& row : rows) {
        EXPECT_EQ(reliefCacheIndexForWidthRatio(row.ratio), row.index) << row.ratio;
    }
}

TEST_F(OpacityEditorTest, OpensWithThePresetsValuesAndFourCachedReliefs) {
    launch();
    OpacityViewController* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->title(), "Lumigrave");
    EXPECT_TRUE(navigation().isToolbarHidden());
    // Opened before the main screen's bars slid in: Cancel and Done are there all the same.
    EXPECT_FALSE(navigation().isNavigationBarHidden());
    EXPECT_FLOAT_EQ(editor->widthRatioSlider()->value(), active().width_ratio());
    EXPECT_FLOAT_EQ(editor->opacitySlider()->value(), active().opacity());
    EXPECT_FLOAT_EQ(editor->textAngleSlider()->value(), active().text_angle());

    // Rendered for the full photo, each wider than the one before.
    float lastWidth = 0;
    for (const Image& relief : editor->originalText()) {
        ASSERT_FALSE(relief.isNull());
        EXPECT_GT(relief.size().width, lastWidth);
        lastWidth = relief.size().width;
    }
    EXPECT_LE(lastWidth, app().activeImage().size().width + 4);
    // The preview fits the area between the bars and the sliders.
    const Image& preview = editor->imageSubView()->image();
    ASSERT_FALSE(preview.isNull());
    EXPECT_LE(preview.size().height, 480 - 180 - navigation().navigationBar()->height() + 1);

    // The angle goes round to 359, not 360; the others from 0.1 to 1.
    key(editor->textAngleSlider(), Qt::Key_End);
    EXPECT_FLOAT_EQ(editor->textAngleSlider()->value(), 359);
    EXPECT_FLOAT_EQ(editor->tmpEmbosser()->text_angle(), 359);
    key(editor->widthRatioSlider(), Qt::Key_Home);
    EXPECT_FLOAT_EQ(editor->tmpEmbosser()->width_ratio(), 0.1f);
    key(editor->opacitySlider(), Qt::Key_Home);
    EXPECT_FLOAT_EQ(editor->tmpEmbosser()->opacity(), 0.1f);
}

TEST_F(OpacityEditorTest, ThePreviewFollowsEachSliderWithoutRenderingAnotherRelief) {
    launch();
    OpacityViewController* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    const auto cache = editor->originalText();
    Image before = editor->imageSubView()->image();

    key(editor->opacitySlider(), Qt::Key_PageDown);
    Image afterOpacity = editor->imageSubView()->image();
    EXPECT_FALSE(afterOpacity.isSameImage(before));
    key(editor->textAngleSlider(), Qt::Key_PageUp);
    EXPECT_FALSE(editor->imageSubView()->image().isSameImage(afterOpacity));

    const float textWidth = editor->scaledText().size().width;
    key(editor->widthRatioSlider(), Qt::Key_Home);
    EXPECT_LT(editor->scaledText().size().width, textWidth);
    for (size_t i = 0; i < cache.size(); ++i) {
        EXPECT_TRUE(editor->originalText()[i].isSameImage(cache[i]));
    }
    // Only the working copy moved.
    EXPECT_NE(editor->tmpEmbosser()->opacity(), active().opacity());
    EXPECT_FALSE(active().modified());
}

TEST_F(OpacityEditorTest, DoneWithoutAChangeTouchesNeitherTheStoreNorTheOverlay) {
    launch();
    const QByteArray bytes = databaseBytes();
    const Image photo = app().embossedImage();
    // A flag left set by someone else: this editor says whether it changed anything.
    active().setModified(true);
    OpacityViewController* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    // Moved and back to exactly where it was.
    key(editor->opacitySlider(), Qt::Key_End);
    key(editor->opacitySlider(), Qt::Key_Home);
    editor->opacitySlider()->setValue(active().opacity());
    press(navigation().navigationBar()->rightWidget());
    EXPECT_FALSE(active().modified());
    EXPECT_EQ(overlayMessage(), "");
    waitForTop([&] { return backOnMainScreen(); });
    EXPECT_EQ(databaseBytes(), bytes);
    EXPECT_TRUE(app().embossedImage().isSameImage(photo));
}

TEST_F(OpacityEditorTest, CancelAndEscapeLeaveThePresetTheStoreAndThePhoto) {
    launch();
    const QByteArray bytes = databaseBytes();
    const Image photo = app().embossedImage();
    const float opacity = active().opacity();
    for (bool byKey : {false, true}) {
        OpacityViewController* editor = openEditor();
        ASSERT_NE(editor, nullptr);
        key(editor->opacitySlider(), Qt::Key_Home);
        key(editor->widthRatioSlider(), Qt::Key_End);
        if (byKey) {
            QTest::keyClick(editor->opacitySlider(), Qt::Key_Escape);
            waitForTop([&] { return backOnMainScreen(); });
        } else {
            clickCancel();
        }
        EXPECT_FLOAT_EQ(active().opacity(), opacity);
        EXPECT_FALSE(active().modified());
        EXPECT_EQ(databaseBytes(), bytes);
        EXPECT_TRUE(app().embossedImage().isSameImage(photo));
        EXPECT_TRUE(root().imageSubView()->image().isSameImage(photo));
    }
}

TEST_F(OpacityEditorTest, DoneStoresTheWholeGroupAndTheMainScreenRendersIt) {
    launch();
    // The third preset active, as a choice in the browser leaves it.
    app().setActiveEmbosser(&preset(2));
    UserDefaults().setInteger(kLastUsedEmbosserKey, 2);
    const int rid = active().rid();
    const QString text = active().text();
    const float angle = active().text_angle();
    // Changed in memory only: the width belongs to the group and goes with the opacity;
    // the text does not.
    active().setText(QStringLiteral("not this"));
    active().setWidth_ratio(0.3f);
    const Image photo = app().embossedImage();

    OpacityViewController* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    key(editor->opacitySlider(), Qt::Key_Home);
    // Enter is Done.
    QTest::keyClick(editor->opacitySlider(), Qt::Key_Return);
    EXPECT_EQ(overlayMessage(), "Proccessing...");
    waitForTop([&] { return backOnMainScreen(); });
    EXPECT_FLOAT_EQ(active().opacity(), 0.1f);
    EXPECT_FALSE(active().modified());  // the main screen took it up
    EXPECT_FALSE(app().embossedImage().isSameImage(photo));
    EXPECT_EQ(overlayMessage(), "");

    EmbosserList stored = storedPresets();
    ASSERT_FALSE(stored.embossers.empty());
    const Embosser& first = *stored.embossers.front();
    EXPECT_EQ(first.rid(), rid);
    EXPECT_FLOAT_EQ(first.opacity(), 0.1f);
    EXPECT_FLOAT_EQ(first.width_ratio(), 0.3f);
    EXPECT_FLOAT_EQ(first.text_angle(), angle);
    EXPECT_EQ(first.text(), text);

    // The edited preset leads the list now, in memory and in the preference, so a restart
    // comes back to it.
    EXPECT_EQ(&preset(0), &active());
    EXPECT_EQ(UserDefaults().integerForKey(kLastUsedEmbosserKey), 0);
    quit();
    launch();
    EXPECT_EQ(active().rid(), rid);
    EXPECT_FLOAT_EQ(active().opacity(), 0.1f);
}

TEST_F(OpacityEditorTest, APresetNoLongerInTheStoreIsStillEditedAndRendered) {
    launch();
    ASSERT_TRUE(Embosser::dbDeleteEmbosser(app().appDatabasePath(), active(), nullptr));
    const size_t rows = storedPresets().embossers.size();
    const Image photo = app().embossedImage();
    OpacityViewController* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    key(editor->textAngleSlider(), Qt::Key_PageUp);
    clickDone();
    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_FALSE(app().embossedImage().isSameImage(photo));
    EXPECT_EQ(storedPresets().embossers.size(), rows);
}

TEST_F(OpacityEditorTest, AStoreFailureIsShownAndTheNewValuesAreStillRendered) {
    launch();
    const Image photo = app().embossedImage();
    const QByteArray bytes = databaseBytes();
    OpacityViewController* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    key(editor->widthRatioSlider(), Qt::Key_Home);
    {
        ReadOnlyDatabase readOnly(home_->path(), app().appDatabasePath());
        press(navigation().navigationBar()->rightWidget());
    }
    EXPECT_EQ(overlayMessage(), "Proccessing...");
    waitForTop([&] { return backOnMainScreen(); });
    EXPECT_EQ(alertTexts(), (QStringList{"Error", "attempt to write a readonly database"}));
    EXPECT_FLOAT_EQ(active().width_ratio(), 0.1f);
    EXPECT_FALSE(app().embossedImage().isSameImage(photo));
    EXPECT_EQ(databaseBytes(), bytes);
    ASSERT_NE(ui::OnScreen::top<ui::AlertView>(), nullptr);
    EXPECT_EQ(ui::OnScreen::buttonTitles(*ui::OnScreen::top<ui::AlertView>()), QStringList{"OK"});
}

TEST_F(OpacityEditorTest, ThePreviewAndTheSlidersFollowTheWindow) {
    launch();
    OpacityViewController* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    app().window()->resize(500, 700);
    settle();
    const QWidget* root = editor->view();
    EXPECT_EQ(root->size(), QSize(500, 700));
    EXPECT_EQ(editor->textAngleSlider()->geometry(), QRect(20, 660, 460, 20));
    EXPECT_EQ(editor->widthRatioSlider()->geometry(), QRect(20, 540, 460, 20));
    const Rect frame = editor->imageSubView()->frame();
    EXPECT_FLOAT_EQ(frame.size.width, 500);
    EXPECT_FLOAT_EQ(frame.origin.y + frame.size.height, 700 - 180);
}

}  // namespace
}  // namespace lumigrave::test
