// The font editor: its list of every installed font, the preview, and what Done, Cancel
// and a failing store do to the active preset, the store and the main screen.
#include <QCollator>
#include <QFontDatabase>
#include <QLabel>
#include <QListView>

#include "app/editors/font_picker_data_source.h"
#include "app/editors/font_view_controller.h"
#include "model/layout_type.h"
#include "picker_editor_support.h"
#include "platform/font_registry.h"
#include "support/font_copies.h"
#include "support/widget_test_support.h"
#include "ui/alert_view.h"
#include "ui/image_view.h"
#include "ui/on_screen.h"
#include "ui/picker_view.h"

namespace lumigrave::test {
namespace {

const QString kBundled = QStringLiteral("DejaVuSans-Bold");

class FontEditorTest : public PickerEditorTest {
  protected:
    FontViewController* openFont() { return open<FontViewController>(QStringLiteral("Font")); }
    // A face in the list that is not the active preset's, and its row.
    static int otherRow(const FontViewController& editor, const QString& not_) {
        const QStringList& names = editor.fontPickerDataSource()->fontPickerArray();
        for (int row = 0; row < names.size(); ++row) {
            if (names[row] != not_) {
                return row;
            }
        }
        return -1;
    }
};

TEST_F(FontEditorTest, OpensBehindTheLoadingOverlayOnTheActiveFont) {
    launch();
    pressToolbarItem(QStringLiteral("Font"));
    EXPECT_EQ(overlayMessage(), "Loading...");
    settle();
    auto* editor = dynamic_cast<FontViewController*>(topScreen());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(overlayMessage(), "");
    EXPECT_EQ(editor->selectedFont(), active().font_name());
    ui::PickerView* picker = editor->fontPickerView();
    EXPECT_EQ(picker->geometry(), QRect(0, 480 - 180, 320, 180));
    EXPECT_TRUE(picker->showsSelectionIndicator());
    EXPECT_EQ(picker->rowSizeForComponent(0), QSize(320 - 20, 44));
    EXPECT_EQ(editor->fontPickerDataSource()->viewController(), editor);
}

TEST_F(FontEditorTest, ListsEveryFontByFamilyEachRowInItsOwnFace) {
    std::vector<int> ids;
    for (int number : {3, 1, 2}) {
        ids.push_back(QFontDatabase::addApplicationFontFromData(test::renamedBundledFont(number)));
        ASSERT_GE(ids.back(), 0);
    }
    struct Unregister {
        std::vector<int>& ids;
        ~Unregister() {
            for (int id : ids) {
                QFontDatabase::removeApplicationFont(id);
            }
        }
    } unregister{ids};
    launch();
    FontViewController* editor = openFont();
    ASSERT_NE(editor, nullptr);
    const QStringList& names = editor->fontPickerDataSource()->fontPickerArray();
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(names, FontPickerDataSource::installedFontNames());

    // Families in a case-insensitive order, each family's faces together.
    QStringList families;
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    for (const QString& family : FontRegistry::familyNames()) {
        families.append(family);
    }
    std::sort(families.begin(), families.end(),
              [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    QStringList expected;
    for (const QString& family : families) {
        expected += FontRegistry::fontNamesForFamilyName(family);
    }
    EXPECT_EQ(names, expected);
    EXPECT_EQ(editor->fontPickerDataSource()->indexOfFont(QStringLiteral("NoSuch-Font")), 0);
    // Families registered out of order come out in order, before the "DejaVu" families.
    EXPECT_EQ(names.mid(names.indexOf(test::renamedPostScriptName(1)), 3),
              (QStringList{test::renamedPostScriptName(1), test::renamedPostScriptName(2),
                           test::renamedPostScriptName(3)}));
    EXPECT_LT(names.indexOf(test::renamedPostScriptName(3)), names.indexOf(kBundled));
    EXPECT_EQ(names[editor->fontPickerDataSource()->indexOfFont(kBundled)], kBundled);

    // The row under the band is a label with its own name in its own face at 18 points.
    const int row = editor->fontPickerView()->selectedRowInComponent(0);
    auto* label = qobject_cast<QLabel*>(editor->fontPickerView()->viewForRow(row, 0));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), names[row]);
    EXPECT_EQ(label->font().family(), FontRegistry::fontWithName(names[row], 18).family());
    EXPECT_EQ(label->font().pixelSize(), 18);
    EXPECT_EQ(label->size(), label->sizeHint());
    // Rows far off screen have no view.
    if (names.size() > 10) {
        EXPECT_EQ(editor->fontPickerView()->viewForRow(row + 5 < names.size() ? row + 5 : 0, 0),
                  nullptr);
    }
}

TEST_F(FontEditorTest, ThePreviewIsCentredAndUnrotatedWhateverThePreset) {
    launch();
    active().setLayoutType(kLayoutTileParallel);
    active().setText_angle(30);
    FontViewController* editor = openFont();
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(editor->tmpEmbosser(), nullptr);
    EXPECT_EQ(editor->tmpEmbosser()->layoutType(), kLayoutCenter);
    EXPECT_EQ(editor->tmpEmbosser()->text_angle(), 0);
    EXPECT_EQ(editor->tmpEmbosser()->opacity(), active().opacity());
    const Image shown = editor->imageSubView()->image();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.size().width, editor->scaledImage().size().width);

    // A user's choice renders the preview again in that face.
    const int other = otherRow(*editor, active().font_name());
    ASSERT_GE(other, 0);
    stepWheel(editor->fontPickerView(),
              other - editor->fontPickerView()->selectedRowInComponent(0));
    EXPECT_EQ(editor->tmpEmbosser()->font_name(), editor->selectedFont());
    EXPECT_FALSE(editor->imageSubView()->image().isSameImage(shown));
    // The preset itself keeps its layout and angle.
    EXPECT_EQ(active().layoutType(), kLayoutTileParallel);
}

TEST_F(FontEditorTest, DoneStoresTheFontAndOnlyTheFont) {
    launch();
    const Image before = app().embossedImage();
    // Changed in memory only: a font commit must not write it.
    const QString storedText = storedActive()->text();
    active().setText(QStringLiteral("not for the store"));
    FontViewController* editor = openFont();
    ASSERT_NE(editor, nullptr);
    const int other = otherRow(*editor, active().font_name());
    stepWheel(editor->fontPickerView(),
              other - editor->fontPickerView()->selectedRowInComponent(0));
    const QString chosen = editor->selectedFont();
    ASSERT_NE(chosen, active().font_name());

    pressDone();
    EXPECT_EQ(overlayMessage(), "Proccessing...");
    EXPECT_EQ(active().font_name(), chosen);
    waitForMainScreen();
    const auto stored = storedActive();
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->font_name(), chosen);
    EXPECT_EQ(stored->text(), storedText);
    // The main screen found the change, rendered again and took the overlay down.
    EXPECT_FALSE(active().modified());
    EXPECT_FALSE(app().embossedImage().isSameImage(before));
    EXPECT_EQ(overlayMessage(), "");
}

TEST_F(FontEditorTest, DoneWithoutAChangeAndMovingAwayAndBackStoreNothing) {
    launch();
    const Image before = app().embossedImage();
    const QByteArray bytes = databaseBytes();

    FontViewController* editor = openFont();
    ASSERT_NE(editor, nullptr);
    pressDone();
    EXPECT_EQ(overlayMessage(), "");
    waitForMainScreen();

    editor = openFont();
    ASSERT_NE(editor, nullptr);
    // Away to a neighbour that exists, and back.
    const int step = editor->fontPickerView()->selectedRowInComponent(0) > 0 ? -1 : 1;
    stepWheel(editor->fontPickerView(), step);
    EXPECT_NE(editor->selectedFont(), active().font_name());
    stepWheel(editor->fontPickerView(), -step);
    EXPECT_EQ(editor->selectedFont(), active().font_name());
    pressDone();
    EXPECT_EQ(overlayMessage(), "");
    waitForMainScreen();

    EXPECT_FALSE(active().modified());
    EXPECT_TRUE(app().embossedImage().isSameImage(before));
    EXPECT_EQ(databaseBytes(), bytes);
}

TEST_F(FontEditorTest, CancelLeavesPresetStoreAndPhotoAsTheyWere) {
    launch();
    const Image before = app().embossedImage();
    const QString font = active().font_name();
    const QByteArray bytes = databaseBytes();
    FontViewController* editor = openFont();
    ASSERT_NE(editor, nullptr);
    stepWheel(editor->fontPickerView(), 2);
    clickCancel();
    EXPECT_EQ(active().font_name(), font);
    EXPECT_FALSE(active().modified());
    EXPECT_EQ(databaseBytes(), bytes);
    EXPECT_TRUE(app().embossedImage().isSameImage(before));
    EXPECT_TRUE(root().imageSubView()->image().isSameImage(before));
    EXPECT_EQ(overlayMessage(), "");
}

TEST_F(FontEditorTest, AMissingFontShowsTheFirstAndDoneStoresIt) {
    launch();
    active().setFont_name(QStringLiteral("NotInstalled-Regular"));
    FontViewController* editor = openFont();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->fontPickerView()->selectedRowInComponent(0), 0);
    const QString first = editor->fontPickerDataSource()->fontPickerArray().front();
    EXPECT_EQ(editor->selectedFont(), first);
    EXPECT_NE(editor->imageSubView()->image().isNull(), true);
    clickDone();
    EXPECT_EQ(active().font_name(), first);
    EXPECT_EQ(storedActive()->font_name(), first);
}

TEST_F(FontEditorTest, AStoreFailureShowsTheErrorAndTheMainScreenStillRendersAgain) {
    launch();
    const Image before = app().embossedImage();
    const QString storedFont = storedActive()->font_name();
    FontViewController* editor = openFont();
    ASSERT_NE(editor, nullptr);
    stepWheel(editor->fontPickerView(), otherRow(*editor, active().font_name()) -
                                            editor->fontPickerView()->selectedRowInComponent(0));
    const QString chosen = editor->selectedFont();
    {
        ReadOnlyDatabase readOnly(home_->path(), app().appDatabasePath());
        pressDone();
    }

    auto* alert = ui::OnScreen::top<ui::AlertView>();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "Error");
    EXPECT_EQ(alert->message(), "attempt to write a readonly database");
    EXPECT_EQ(ui::OnScreen::buttonTitles(*alert), QStringList{"OK"});
    EXPECT_EQ(overlayMessage(), "Proccessing...");
    waitForMainScreen();
    // The preset in memory keeps the new font; the main screen shows it.
    EXPECT_EQ(active().font_name(), chosen);
    EXPECT_EQ(storedActive()->font_name(), storedFont);
    EXPECT_FALSE(app().embossedImage().isSameImage(before));
    EXPECT_FALSE(active().modified());
    ui::OnScreen::pressButton(*alert, 0);
    settle();
    EXPECT_EQ(ui::OnScreen::top<ui::AlertView>(), nullptr);
}

}  // namespace
}  // namespace lumigrave::test
