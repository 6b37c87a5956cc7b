// The text editor: opening over the frozen main screen with the field on the keyboard,
// validation and storing, the copyright key, and the ways out.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include "app/activity_overlay.h"
#include "app/editors/text_view_controller.h"
#include "editor_fixture.h"
#include "model/embosser.h"
#include "platform/notification_center.h"
#include "support/widget_test_support.h"
#include "ui/alert_view.h"
#include "ui/image_view.h"
#include "ui/keyboard.h"
#include "ui/navigation_bar.h"
#include "ui/on_screen.h"
#include "ui/short_sound_player.h"
#include "ui/system_sound.h"

namespace lumigrave::test {
namespace {

class TextEditorTest : public EditorTest {
  protected:
    TextViewController* openEditor() { return open<TextViewController>("Text"); }
    bool editorOpen() {
        return dynamic_cast<TextViewController*>(navigation().topViewController()) != nullptr;
    }
    static QLineEdit* edit(TextViewController* editor) {
        return editor->embTextField()->lineEdit();
    }
    // The field's text replaced, then the return key.
    void enter(TextViewController* editor, const QString& text) {
        edit(editor)->setText(text);
        QTest::keyClick(edit(editor), Qt::Key_Return);
    }
    // Clipboard contents in several formats at once, as another application leaves them.
    static QMimeData* richClipboard() {
        auto* data = new QMimeData;
        data->setText("copied words");
        data->setHtml("<b>copied</b> words");
        data->setData("application/x-lumigrave-test", QByteArray("\x00\x01\xff", 3));
        return data;
    }
    static void expectRichClipboard() {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->text(), "copied words");
        EXPECT_EQ(data->html(), "<b>copied</b> words");
        EXPECT_EQ(data->data("application/x-lumigrave-test"), QByteArray("\x00\x01\xff", 3));
    }
};

TEST_F(TextEditorTest, OpensOverTheFrozenScreenWithTheFieldOnTheKeyboard) {
    launch();
    pressToolbarItem("Text");
    EXPECT_EQ(overlayMessage(), "Loading...");
    settle();
    auto* editor = dynamic_cast<TextViewController*>(navigation().topViewController());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(overlayMessage(), "");
    EXPECT_EQ(editor->title(), "Lumigrave");
    EXPECT_TRUE(navigation().isToolbarHidden());

    // The snapshot is the main screen as it was, at its size, behind everything.
    EXPECT_EQ(editor->bgImage().size(), (Size{320, 480}));

    // The bar rides on the keyboard, as wide as the window, with the field filled from
    // the preset and editing.
    ui::Keyboard& keyboard = ui::Keyboard::shared();
    EXPECT_TRUE(keyboard.isShown());
    EXPECT_EQ(keyboard.dockedAccessoryView(), editor->textToolbar());
    EXPECT_EQ(keyboard.firstResponder(), editor->embTextField());
    EXPECT_TRUE(editor->embTextField()->isVisible());
    EXPECT_EQ(editor->textToolbar()->width(), 320);
    EXPECT_EQ(editor->textToolbar()->mapTo(app().window(), QPoint()).y() +
                  editor->textToolbar()->height(),
              480);
    EXPECT_EQ(editor->embTextField()->text(), active().text());
    EXPECT_EQ(editor->embTextField()->placeholder(), "Enter text here ...");
    EXPECT_EQ(editor->embTextField()->returnKeyType(), ui::TextField::ReturnKeyType::Done);
    EXPECT_GT(editor->copyrightKey()->width(), 0);
    // The key's pop-up waits hidden, one point in from the right, standing on the bar.
    EXPECT_FALSE(editor->copyrightPopWindow()->isVisible());
    const QRect pop = editor->copyrightPopView()->geometry();
    EXPECT_EQ(pop.right(), 320 - 2);
    EXPECT_EQ(pop.bottom() + 1, 480);

    // The window's size changes follow through to the bar and the field.
    app().window()->resize(500, 700);
    settle();
    EXPECT_EQ(editor->textToolbar()->width(), 500);
    EXPECT_EQ(editor->embTextField()->width(), 500 - 40 - editor->copyrightKey()->width());
}

TEST_F(TextEditorTest, WithoutASnapshotItOpensAllTheSame) {
    launch();
    auto* editor = new TextViewController(Image());
    navigation().pushViewController(editor, false);
    settle();
    EXPECT_TRUE(editor->bgImage().isNull());
    EXPECT_EQ(ui::Keyboard::shared().firstResponder(), editor->embTextField());
    EXPECT_EQ(editor->embTextField()->text(), active().text());
    clickCancel();
    EXPECT_FALSE(ui::Keyboard::shared().isShown());
}

TEST_F(TextEditorTest, TheTextIsStoredTrimmedAndTheMainScreenRenderedAgain) {
    launch();
    const Image photo = app().embossedImage();
    TextViewController* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    enter(editor, "  \t Lake Shore \u00A0 ");
    // Shown trimmed at once; the editor closes once the keyboard is down.
    EXPECT_EQ(editor->embTextField()->text(), "Lake Shore");
    EXPECT_EQ(overlayMessage(), "Proccessing...");
    settle();
    waitForTop([&] { return backOnMainScreen(); });
    EXPECT_EQ(active().text(), "Lake Shore");
    EXPECT_FALSE(active().modified());
    EXPECT_EQ(storedPresets().embossers.front()->text(), "Lake Shore");
    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_FALSE(app().embossedImage().isSameImage(photo));
    EXPECT_EQ(overlayMessage(), "");
    EXPECT_FALSE(ui::Keyboard::shared().isShown());
}

TEST_F(TextEditorTest, DoneValidatesLikeTheReturnKeyAndNoChangeTouchesNothing) {
    launch();
    const Image photo = app().embossedImage();
    const QByteArray bytes = databaseBytes();
    const QString text = active().text();

    // Blanks around the same text: closes, stores nothing, shows nothing.
    TextViewController* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    edit(editor)->setText("   " + text + "\t ");
    clickDone();
    EXPECT_TRUE(backOnMainScreen());
    EXPECT_EQ(databaseBytes(), bytes);
    EXPECT_EQ(overlayMessage(), "");
    EXPECT_TRUE(app().embossedImage().isSameImage(photo));
    EXPECT_FALSE(active().modified());

    // Done on a new text stores it like the return key.
    editor = openEditor();
    ASSERT_NE(editor, nullptr);
    edit(editor)->setText(" Done Text ");
    clickDone();
    EXPECT_EQ(active().text(), "Done Text");
    EXPECT_EQ(storedPresets().embossers.front()->text(), "Done Text");
    EXPECT_FALSE(app().embossedImage().isSameImage(photo));
}

TEST_F(TextEditorTest, ABlankTextIsRefusedAndTheEditorStaysWithTheKeyboard) {
    launch();
    const QByteArray bytes = databaseBytes();
    const QString text = active().text();
    TextViewController* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    for (auto answer : {0, 1}) {
        if (answer == 0) {
            enter(editor, " \t \u00A0 ");
        } else {
            edit(editor)->setText("\t");
            click(navigation().navigationBar()->rightWidget());
        }
        settle();
        EXPECT_EQ(alertTexts(),
                  (QStringList{"Error", "Cannot be an empty string or just white space."}));
        ui::AlertView* alert = ui::OnScreen::top<ui::AlertView>();
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(ui::OnScreen::buttonTitles(*alert), QStringList{"OK"});
        EXPECT_TRUE(editorOpen());
        EXPECT_EQ(editor->embTextField()->text(), "");
        ui::OnScreen::pressButton(*alert, 0);
        settle();
        // The field has the keyboard and the focus back, ready for another try.
        EXPECT_TRUE(editorOpen());
        EXPECT_TRUE(ui::Keyboard::shared().isShown());
        EXPECT_EQ(ui::Keyboard::shared().firstResponder(), editor->embTextField());
        EXPECT_TRUE(edit(editor)->hasFocus());
    }
    EXPECT_EQ(active().text(), text);
    EXPECT_FALSE(active().modified());
    EXPECT_EQ(databaseBytes(), bytes);
    EXPECT_EQ(overlayMessage(), "");
}

TEST_F(TextEditorTest, TheCopyrightKeyPastesTheSignAndLeavesTheClipboardAsItWas) {
    launch();
    TextViewController* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    ui::Button* key = editor->copyrightKey();
    edit(editor)->setText("Photo 2026");
    edit(editor)->setCursorPosition(6);
    QGuiApplication::clipboard()->setMimeData(richClipboard());

    // Pressed: the pop-up shows over everything and the click sounds; the field keeps
    // the focus.
    QTest::mousePress(key, Qt::LeftButton, {}, key->rect().center());
    EXPECT_TRUE(editor->copyrightPopWindow()->isVisible());
    EXPECT_NE(ui::SystemSound::keyboardClickPlayer(), nullptr);
    EXPECT_TRUE(edit(editor)->hasFocus());
    QTest::mouseRelease(key, Qt::LeftButton, {}, key->rect().center());
    EXPECT_FALSE(editor->copyrightPopWindow()->isVisible());
    EXPECT_EQ(editor->embTextField()->text(), "Photo \u00A92026");
    EXPECT_EQ(edit(editor)->cursorPosition(), 7);
    expectRichClipboard();

    // Over a selection, the sign replaces it.
    edit(editor)->setSelection(6, 5);
    QTest::mouseClick(key, Qt::LeftButton, {}, key->rect().center());
    EXPECT_EQ(editor->embTextField()->text(), "Photo \u00A9");
    expectRichClipboard();

    // An image on the clipboard comes back too.
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(picture);
    QTest::mouseClick(key, Qt::LeftButton, {}, key->rect().center());
    EXPECT_EQ(editor->embTextField()->text(), "Photo \u00A9\u00A9");
    EXPECT_EQ(QGuiApplication::clipboard()->image(), picture);

    // The editor is still open, editing, and nothing was stored yet.
    EXPECT_TRUE(editorOpen());
    EXPECT_TRUE(ui::Keyboard::shared().isShown());
    EXPECT_NE(active().text(), editor->embTextField()->text());
}

TEST_F(TextEditorTest, SlidingOffTheCopyrightKeyInsertsNothing) {
    launch();
    TextViewController* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    ui::Button* key = editor->copyrightKey();
    const QString text = editor->embTextField()->text();
    QGuiApplication::clipboard()->setMimeData(richClipboard());
    QTest::mousePress(key, Qt::LeftButton, {}, key->rect().center());
    EXPECT_TRUE(editor->copyrightPopWindow()->isVisible());
    QTest::mouseMove(key, QPoint(key->width() / 2, -40));
    EXPECT_FALSE(editor->copyrightPopWindow()->isVisible());
    QTest::mouseRelease(key, Qt::LeftButton, {}, QPoint(key->width() / 2, -40));
    settle();
    EXPECT_FALSE(editor->copyrightPopWindow()->isVisible());
    EXPECT_EQ(editor->embTextField()->text(), text);
    EXPECT_TRUE(edit(editor)->hasFocus());
    EXPECT_TRUE(editorOpen());
    expectRichClipboard();
}

TEST_F(TextEditorTest, CancelAndEscapeLeavePresetStoreAndPhotoAsTheyWere) {
    launch();
    const Image photo = app().embossedImage();
    const QByteArray bytes = databaseBytes();
    const QString text = active().text();

    TextViewController* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(edit(editor), " typed");
    clickCancel();
    EXPECT_FALSE(ui::Keyboard::shared().isShown());
    EXPECT_EQ(ui::Keyboard::shared().dockedAccessoryView(), nullptr);

    editor = openEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(edit(editor), " typed");
    QTest::keyClick(edit(editor), Qt::Key_Escape);
    settle();
    waitForTop([&] { return backOnMainScreen(); });

    EXPECT_EQ(active().text(), text);
    EXPECT_FALSE(active().modified());
    EXPECT_EQ(databaseBytes(), bytes);
    EXPECT_TRUE(app().embossedImage().isSameImage(photo));
    EXPECT_TRUE(root().imageSubView()->image().isSameImage(photo));
    EXPECT_EQ(overlayMessage(), "");
    EXPECT_TRUE(alertTexts().isEmpty());
}

TEST_F(TextEditorTest, AStoreFailureIsShownAndTheNewTextIsStillRendered) {
    launch();
    const Image photo = app().embossedImage();
    const QByteArray bytes = databaseBytes();
    TextViewController* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    {
        ReadOnlyDatabase readOnly(home_->path(), app().appDatabasePath());
        enter(editor, "Unstored");
    }
    settle();
    waitForTop([&] { return backOnMainScreen(); });
    EXPECT_EQ(alertTexts(), (QStringList{"Error", "attempt to write a readonly database"}));
    ASSERT_NE(ui::OnScreen::top<ui::AlertView>(), nullptr);
    EXPECT_EQ(ui::OnScreen::buttonTitles(*ui::OnScreen::top<ui::AlertView>()), QStringList{"OK"});
    EXPECT_EQ(active().text(), "Unstored");
    EXPECT_FALSE(app().embossedImage().isSameImage(photo));
    EXPECT_EQ(databaseBytes(), bytes);
}

TEST_F(TextEditorTest, AnotherKeyboardShowRefillsTheFieldAndLosesTheTyping) {
    launch();
    TextViewController* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(edit(editor), " unsaved");
    ASSERT_NE(editor->embTextField()->text(), active().text());
    NotificationCenter::defaultCenter().postNotification(
        ui::Keyboard::DidShowNotification, nullptr,
        {{ui::Keyboard::FrameEndUserInfoKey, QRectF(0, 480, 320, 0)}});
    EXPECT_EQ(editor->embTextField()->text(), active().text());
    EXPECT_TRUE(edit(editor)->hasFocus());
    EXPECT_TRUE(editorOpen());
}

// Seen when the "Loading..." overlay, going with the focus, let Qt move the focus on to
// the invisible field before the editor appeared: the keyboard came up early, and
// did-appear then gave it back to the invisible field for good.
TEST_F(TextEditorTest, AKeyboardUpBeforeDidAppearStaysWithTheVisibleField) {
    launch();
    TextViewController* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    ASSERT_EQ(ui::Keyboard::shared().firstResponder(), editor->embTextField());
    editor->viewDidAppear(false);
    settle();
    EXPECT_EQ(ui::Keyboard::shared().firstResponder(), editor->embTextField());
    EXPECT_TRUE(edit(editor)->hasFocus());
    // Nor can Tab or a click reach the invisible field.
    EXPECT_EQ(editor->fakeTextField()->lineEdit()->focusPolicy(), Qt::NoFocus);
}

TEST_F(TextEditorTest, SwitchingToAnotherApplicationAndBackKeepsTheEditorOpen) {
    launch();
    TextViewController* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    QApplication::setActiveWindow(app().window());
    settle();
    QTest::keyClicks(edit(editor), " kept");
    const QString typed = editor->embTextField()->text();
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    settle();
    EXPECT_TRUE(editorOpen());
    EXPECT_TRUE(ui::Keyboard::shared().isShown());
    QApplication::setActiveWindow(app().window());
    settle();
    EXPECT_TRUE(editorOpen());
    EXPECT_EQ(editor->embTextField()->text(), typed);
    EXPECT_EQ(ui::Keyboard::shared().firstResponder(), editor->embTextField());
}

TEST(CopyrightPopFrame, StandsOnTheBarOnePointInFromTheRight) {
    struct Row {
        QSize view;
        int bar;
        QSize pop;
        qreal keyboard;
        QRect frame;
    };
    for (const Row& row : {
             Row{{320, 480}, 44, {62, 108}, 0, {257, 372, 62, 108}},
             Row{{320, 480}, 44, {62, 108}, 216, {257, 156, 62, 108}},
             Row{{768, 1024}, 44, {62, 108}, 264, {705, 652, 62, 108}},
             Row{{320, 480}, 44, {0, 0}, 0, {319, 480, 0, 0}},
         }) {
        EXPECT_EQ(copyrightPopFrame(row.view, row.bar, row.pop, row.keyboard), row.frame);
    }
}

}  // namespace
}  // namespace lumigrave::test
