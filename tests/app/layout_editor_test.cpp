// The layout editor: its picker of layouts, the two upright margin sliders, the preview,
// and what Done, Cancel and a failing store do to the preset, the store and the main screen.
#include <QListView>

#include "app/editors/layout_picker_data_source.h"
#include "app/editors/layout_picker_item.h"
#include "app/editors/layout_view_controller.h"
#include "app/main/mm_slider.h"
#include "model/layout_type.h"
#include "picker_editor_support.h"
#include "support/widget_test_support.h"
#include "ui/alert_view.h"
#include "ui/image_view.h"
#include "ui/on_screen.h"
#include "ui/picker_view.h"
#include "ui/window.h"

namespace lumigrave::test {
namespace {

class LayoutEditorTest : public PickerEditorTest {
  protected:
    LayoutViewController* openLayout() {
        return open<LayoutViewController>(QStringLiteral("Layout"));
    }
    // The active preset set to a layout and margins, in memory and in the store.
    void storeActive(int layout, float horizontal, float vertical) {
        active().setLayoutType(layout);
        active().setMarginHorizontal(horizontal);
        active().setMarginVertical(vertical);
        QString error;
        ASSERT_TRUE(Embosser::dbUpdateEmbosser(app().appDatabasePath(), active(),
                                               EditorGroup::LayoutMargins, &error))
            << error.toStdString();
    }
    // Turns the wheel to a layout as the user does.
    static void pick(LayoutViewController* editor, int layout) {
        stepWheel(editor->layoutPickerView(),
                  layout - editor->layoutPickerView()->selectedRowInComponent(0));
    }
    // Drags a turned slider's thumb to a value, as the mouse does.
    static void drag(MMSlider* slider, float value) {
        const auto at = [&](float v) {
            const QRectF bounds = slider->bounds();
            return slider->boundsTransform()
                .map(slider->thumbRectForBounds(bounds, slider->trackRectForBounds(bounds), v)
                         .center())
                .toPoint();
        };
        QTest::mousePress(slider, Qt::LeftButton, {}, at(slider->value()));
        QTest::mouseMove(slider, at(value));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, at(value));
    }
};

TEST_F(LayoutEditorTest, OpensAtOnceWithTheSlidersUprightEitherSideOfThePicker) {
    launch();
    storeActive(kLayoutBottomRight, 0.05f, 0.1f);
    pressToolbarItem(QStringLiteral("Layout"));
    EXPECT_EQ(overlayMessage(), "");
    auto* editor = dynamic_cast<LayoutViewController*>(topScreen());
    ASSERT_NE(editor, nullptr);
    // The picker and sliders show the preset at once; the preview comes a turn later.
    EXPECT_EQ(editor->layoutPickerView()->selectedRowInComponent(0), kLayoutBottomRight);
    EXPECT_FLOAT_EQ(editor->marginHorizontalSlider()->value(), 0.05f);
    EXPECT_FLOAT_EQ(editor->marginVerticalSlider()->value(), 0.1f);
    EXPECT_TRUE(editor->imageSubView()->image().isNull());
    settle();
    EXPECT_FALSE(editor->imageSubView()->image().isNull());

    const QSize view = editor->view()->size();
    EXPECT_EQ(editor->marginHorizontalSlider()->geometry(),
              QRect(20, view.height() - 180, 20, 180));
    EXPECT_EQ(editor->marginVerticalSlider()->geometry(),
              QRect(view.width() - 40, view.height() - 180, 20, 180));
    EXPECT_EQ(editor->marginHorizontalSlider()->frame(), QRectF(-60, view.height() - 100, 180, 20));
    EXPECT_FLOAT_EQ(editor->marginVerticalSlider()->maximumValue(), 0.5f);
    EXPECT_TRUE(editor->marginHorizontalSlider()->isEnabled());
    EXPECT_EQ(editor->layoutPickerView()->geometry(),
              QRect(0, view.height() - 180, view.width(), 180));
    EXPECT_EQ(editor->layoutPickerView()->rowSizeForComponent(0), QSize(180, 44));
}

TEST_F(LayoutEditorTest, RowsAreTheSevenLayoutsWithTheirTitlesAsAccessibleNames) {
    launch();
    LayoutViewController* editor = openLayout();
    ASSERT_NE(editor, nullptr);
    const auto& rows = editor->layoutPickerDataSource()->pickerArray();
    ASSERT_EQ(rows.size(), 7u);
    const QStringList titles{"Center",       "Top Left",      "Top Right",     "Bottom Left",
                             "Bottom Right", "Tile Parallel", "Tile Interlace"};
    for (int row = 0; row < 7; ++row) {
        EXPECT_EQ(rows[row]->title(), titles[row]);
        EXPECT_TRUE(rows[row]->isAccessibilityElement());
        EXPECT_EQ(rows[row]->size(), QSize(180, 44));
    }
    EXPECT_EQ(rows[kLayoutBottomRight]->accessibilityLabel(), "Bottom Right");
    EXPECT_EQ(rows[kLayoutBottomRight]->accessibleName(), "Bottom Right");
    // The row on screen is the prebuilt item, still the data source's.
    editor->layoutPickerView()->selectRow(kLayoutBottomRight, 0, false);
    EXPECT_EQ(editor->layoutPickerView()->viewForRow(kLayoutBottomRight, 0),
              rows[kLayoutBottomRight]);
    EXPECT_NE(rows[kLayoutBottomRight]->parentWidget(), editor->layoutPickerView());
    // A long title shrinks to 16 points at the least.
    EXPECT_EQ(LayoutPickerItem::titleFontSize(QStringLiteral("Center"), 180), 18);
    EXPECT_EQ(LayoutPickerItem::titleFontSize(QString(80, QLatin1Char('W')), 180), 16);
}

TEST_F(LayoutEditorTest, DoneStoresLayoutAndBothMarginsAndNothingElse) {
    launch();
    storeActive(kLayoutBottomRight, 0.05f, 0.1f);
    const Image before = app().embossedImage();
    const QString storedText = storedActive()->text();
    active().setText(QStringLiteral("not for the store"));
    LayoutViewController* editor = openLayout();
    ASSERT_NE(editor, nullptr);
    settle();
    pick(editor, kLayoutTopLeft);
    EXPECT_EQ(editor->tmpEmbosser()->layoutType(), kLayoutTopLeft);
    drag(editor->marginHorizontalSlider(), 0.2f);
    drag(editor->marginVerticalSlider(), 0.3f);
    const float horizontal = editor->marginHorizontalSlider()->value();
    const float vertical = editor->marginVerticalSlider()->value();
    EXPECT_NEAR(horizontal, 0.2, 0.01);
    EXPECT_NEAR(vertical, 0.3, 0.01);

    pressDone();
    EXPECT_EQ(overlayMessage(), "Proccessing...");
    waitForMainScreen();
    EXPECT_EQ(active().layoutType(), kLayoutTopLeft);
    EXPECT_FLOAT_EQ(active().marginHorizontal(), horizontal);
    const auto stored = storedActive();
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->layoutType(), kLayoutTopLeft);
    EXPECT_FLOAT_EQ(stored->marginHorizontal(), horizontal);
    EXPECT_FLOAT_EQ(stored->marginVertical(), vertical);
    EXPECT_EQ(stored->text(), storedText);
    EXPECT_FALSE(active().modified());
    EXPECT_FALSE(app().embossedImage().isSameImage(before));
    EXPECT_EQ(overlayMessage(), "");
}

TEST_F(LayoutEditorTest, FromCenterToACornerTheMarginsAreStoredAfterTheLayout) {
    launch();
    storeActive(kLayoutCenter, 0, 0);
    LayoutViewController* editor = openLayout();
    ASSERT_NE(editor, nullptr);
    settle();
    EXPECT_FALSE(editor->marginHorizontalSlider()->isEnabled());
    pick(editor, kLayoutBottomRight);
    ASSERT_TRUE(editor->marginHorizontalSlider()->isEnabled());
    QTest::keyClick(editor->marginHorizontalSlider(), Qt::Key_PageUp);
    QTest::keyClick(editor->marginVerticalSlider(), Qt::Key_End);
    clickDone();
    const auto stored = storedActive();
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->layoutType(), kLayoutBottomRight);
    EXPECT_FLOAT_EQ(stored->marginHorizontal(), 0.05f);
    EXPECT_FLOAT_EQ(stored->marginVertical(), 0.5f);
}

TEST_F(LayoutEditorTest, ThePickerTheSlidersAndThePreviewFollowTheWindow) {
    launch();
    LayoutViewController* editor = openLayout();
    ASSERT_NE(editor, nullptr);
    app().window()->resize(500, 700);
    settle();
    ASSERT_EQ(editor->view()->size(), QSize(500, 700));
    EXPECT_EQ(editor->layoutPickerView()->geometry(), QRect(0, 520, 500, 180));
    EXPECT_EQ(editor->marginHorizontalSlider()->geometry(), QRect(20, 520, 20, 180));
    EXPECT_EQ(editor->marginVerticalSlider()->geometry(), QRect(460, 520, 20, 180));
    const Rect frame = editor->imageSubView()->frame();
    EXPECT_FLOAT_EQ(frame.size.width, 500);
    EXPECT_FLOAT_EQ(frame.origin.y + frame.size.height, 700 - 180);
}

TEST_F(LayoutEditorTest, EitherSliderSetsBothMarginsOfThePreviewFromBothSliders) {
    launch();
    storeActive(kLayoutTileParallel, 0.05f, 0.1f);
    LayoutViewController* editor = openLayout();
    ASSERT_NE(editor, nullptr);
    settle();
    // Tiled layouts keep the sliders.
    EXPECT_TRUE(editor->marginVerticalSlider()->isEnabled());
    const Image shown = editor->imageSubView()->image();
    // Set in code, without a report: the working copy does not hear of it yet.
    editor->marginVerticalSlider()->setValue(0.4f);
    EXPECT_FLOAT_EQ(editor->tmpEmbosser()->marginVertical(), 0.1f);
    drag(editor->marginHorizontalSlider(), 0.25f);
    EXPECT_NEAR(editor->tmpEmbosser()->marginHorizontal(), 0.25, 0.01);
    EXPECT_FLOAT_EQ(editor->tmpEmbosser()->marginVertical(), 0.4f);
    EXPECT_FALSE(editor->imageSubView()->image().isSameImage(shown));
    // The preset itself is untouched until Done.
    EXPECT_FLOAT_EQ(active().marginVertical(), 0.1f);
    // Keys on the upright slider: Up raises.
    const float was = editor->marginVerticalSlider()->value();
    QTest::keyClick(editor->marginVerticalSlider(), Qt::Key_Down);
    EXPECT_LT(editor->marginVerticalSlider()->value(), was);
    EXPECT_FLOAT_EQ(editor->tmpEmbosser()->marginVertical(),
                    editor->marginVerticalSlider()->value());
}

TEST_F(LayoutEditorTest, CenterZeroesAndDisablesTheSlidersAndTheMarginsDoNotComeBack) {
    launch();
    storeActive(kLayoutBottomRight, 0.05f, 0.1f);
    LayoutViewController* editor = openLayout();
    ASSERT_NE(editor, nullptr);
    settle();
    pick(editor, kLayoutCenter);
    EXPECT_FALSE(editor->marginHorizontalSlider()->isEnabled());
    EXPECT_FALSE(editor->marginVerticalSlider()->isEnabled());
    EXPECT_FLOAT_EQ(editor->marginHorizontalSlider()->value(), 0);
    EXPECT_FLOAT_EQ(editor->marginVerticalSlider()->value(), 0);
    EXPECT_FLOAT_EQ(editor->tmpEmbosser()->marginHorizontal(), 0);
    // A disabled slider takes no drag.
    drag(editor->marginHorizontalSlider(), 0.3f);
    EXPECT_FLOAT_EQ(editor->marginHorizontalSlider()->value(), 0);

    pick(editor, kLayoutTopRight);
    EXPECT_TRUE(editor->marginHorizontalSlider()->isEnabled());
    EXPECT_FLOAT_EQ(editor->marginHorizontalSlider()->value(), 0);
    EXPECT_FLOAT_EQ(editor->tmpEmbosser()->marginVertical(), 0);

    // Done on "Center" stores layout 0 with no margins.
    pick(editor, kLayoutCenter);
    clickDone();
    const auto stored = storedActive();
    EXPECT_EQ(stored->layoutType(), kLayoutCenter);
    EXPECT_FLOAT_EQ(stored->marginHorizontal(), 0);
    EXPECT_FLOAT_EQ(stored->marginVertical(), 0);
    EXPECT_EQ(active().layoutType(), kLayoutCenter);
}

TEST_F(LayoutEditorTest, DoneWithoutAChangeOrAfterPickingBackStoresNothing) {
    launch();
    storeActive(kLayoutBottomLeft, 0.05f, 0.1f);
    const Image before = app().embossedImage();
    active().setModified(false);
    const QByteArray bytes = databaseBytes();

    LayoutViewController* editor = openLayout();
    ASSERT_NE(editor, nullptr);
    settle();
    pressDone();
    EXPECT_EQ(overlayMessage(), "");
    waitForMainScreen();

    editor = openLayout();
    ASSERT_NE(editor, nullptr);
    settle();
    pick(editor, kLayoutTileInterlace);
    pick(editor, kLayoutBottomLeft);
    pressDone();
    EXPECT_EQ(overlayMessage(), "");
    waitForMainScreen();

    EXPECT_FALSE(active().modified());
    EXPECT_TRUE(app().embossedImage().isSameImage(before));
    EXPECT_EQ(databaseBytes(), bytes);
}

TEST_F(LayoutEditorTest, CancelLeavesPresetStoreAndPhotoAsTheyWere) {
    launch();
    storeActive(kLayoutBottomLeft, 0.05f, 0.1f);
    const Image before = app().embossedImage();
    LayoutViewController* editor = openLayout();
    ASSERT_NE(editor, nullptr);
    settle();
    const QByteArray bytes = databaseBytes();
    pick(editor, kLayoutCenter);
    clickCancel();
    EXPECT_EQ(active().layoutType(), kLayoutBottomLeft);
    EXPECT_FLOAT_EQ(active().marginVertical(), 0.1f);
    EXPECT_FALSE(active().modified());
    EXPECT_EQ(databaseBytes(), bytes);
    EXPECT_TRUE(app().embossedImage().isSameImage(before));
    EXPECT_TRUE(root().imageSubView()->image().isSameImage(before));
}

TEST_F(LayoutEditorTest, AStoreFailureShowsTheErrorAndTheMainScreenStillRendersAgain) {
    launch();
    storeActive(kLayoutBottomLeft, 0.05f, 0.1f);
    const Image before = app().embossedImage();
    LayoutViewController* editor = openLayout();
    ASSERT_NE(editor, nullptr);
    settle();
    pick(editor, kLayoutTopRight);
    {
        ReadOnlyDatabase readOnly(home_->path(), app().appDatabasePath());
        pressDone();
    }
    auto* alert = ui::OnScreen::top<ui::AlertView>();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "Error");
    EXPECT_EQ(alert->message(), "attempt to write a readonly database");
    EXPECT_EQ(overlayMessage(), "Proccessing...");
    waitForMainScreen();
    EXPECT_EQ(active().layoutType(), kLayoutTopRight);
    EXPECT_EQ(storedActive()->layoutType(), kLayoutBottomLeft);
    EXPECT_FALSE(app().embossedImage().isSameImage(before));
}

}  // namespace
}  // namespace lumigrave::test
