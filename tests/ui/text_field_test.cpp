#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <vector>

#include "platform/notification_center.h"
#include "support/widget_test_support.h"
#include "ui/keyboard.h"
#include "ui/on_screen.h"
#include "ui/overlay_panel.h"
#include "ui/text_field.h"

namespace lumigrave::ui {
namespace {

using test::settle;
using Events = std::vector<ControlEvent>;

// Every editing event a field sends, in order.
struct EditingLog {
    explicit EditingLog(TextField& field) {
        for (auto event : {ControlEvent::EditingDidBegin, ControlEvent::EditingChanged,
                           ControlEvent::EditingDidEnd, ControlEvent::EditingDidEndOnExit}) {
            field.addTarget(event, [this, event] { seen.push_back(event); });
        }
    }
    Events seen;
};

// The keyboard's notifications, as observers get them.
struct KeyboardLog {
    KeyboardLog() {
        auto& centre = NotificationCenter::defaultCenter();
        for (const QString& name : {Keyboard::DidShowNotification, Keyboard::DidHideNotification}) {
            centre.addObserver(this, name, [this](const Notification& n) { seen.push_back(n); });
        }
    }
    ~KeyboardLog() { NotificationCenter::defaultCenter().removeObserver(this); }
    int count(const QString& name) const {
        int n = 0;
        for (const auto& notification : seen) {
            n += notification.name == name ? 1 : 0;
        }
        return n;
    }
    std::vector<Notification> seen;
};

struct ReturnDelegate : TextField::Delegate {
    bool answer = true;
    int asked = 0;
    bool textFieldShouldReturn(TextField&) override {
        ++asked;
        return answer;
    }
};

class TextFieldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(320, 480);
        first = new TextField(&window);
        first->setGeometry(20, 20, 280, 30);
        second = new TextField(&window);
        second->setGeometry(20, 70, 280, 30);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QApplication::setActiveWindow(&window);
        settle();
        // The window hands its focus to the first field when it becomes active; every
        // case starts with the keyboard down.
        first->resignFirstResponder();
        settle();
        ASSERT_FALSE(Keyboard::shared().isShown());
    }
    void TearDown() override {
        // The cases' logs are gone by now.
        first->removeAllTargets();
        second->removeAllTargets();
        first->resignFirstResponder();
        second->resignFirstResponder();
        settle();
    }

    void click(TextField* field) {
        QTest::mouseClick(field->lineEdit(), Qt::LeftButton, {}, QPoint(10, 10));
        settle();
    }

    QWidget window;
    TextField* first = nullptr;
    TextField* second = nullptr;
};

TEST_F(TextFieldTest, EditingEventsComeInOrderAndMovingOnKeepsTheKeyboardUp) {
    EditingLog log(*first);
    KeyboardLog keyboard;

    click(first);
    ASSERT_TRUE(first->isFirstResponder());
    QTest::keyClicks(first->lineEdit(), "ab");
    QTest::keyClick(first->lineEdit(), Qt::Key_Backspace);
    first->setText("set by the program");  // not an edit of the user's
    EXPECT_EQ(log.seen, (Events{ControlEvent::EditingDidBegin, ControlEvent::EditingChanged,
                                ControlEvent::EditingChanged, ControlEvent::EditingChanged}));

    click(second);
    EXPECT_FALSE(first->isFirstResponder());
    EXPECT_TRUE(second->isFirstResponder());
    EXPECT_EQ(log.seen.back(), ControlEvent::EditingDidEnd);
    EXPECT_EQ(Keyboard::shared().firstResponder(), second);
    // One keyboard throughout: shown once, never hidden on the way.
    EXPECT_EQ(keyboard.count(Keyboard::DidShowNotification), 1);
    EXPECT_EQ(keyboard.count(Keyboard::DidHideNotification), 0);

    second->resignFirstResponder();
    EXPECT_EQ(keyboard.count(Keyboard::DidHideNotification), 1);
    EXPECT_FALSE(Keyboard::shared().isShown());
}

TEST_F(TextFieldTest, ReturnResignsOnlyWhenTheDelegateSaysSo) {
    ReturnDelegate delegate;
    first->setDelegate(&delegate);
    EditingLog log(*first);
    KeyboardLog keyboard;
    ASSERT_TRUE(first->becomeFirstResponder());

    delegate.answer = false;
    QTest::keyClick(first->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(delegate.asked, 1);
    EXPECT_TRUE(first->isFirstResponder());
    EXPECT_TRUE(first->lineEdit()->hasFocus());
    EXPECT_EQ(keyboard.count(Keyboard::DidHideNotification), 0);

    delegate.answer = true;
    QTest::keyClick(first->lineEdit(), Qt::Key_Enter);
    settle();
    EXPECT_EQ(delegate.asked, 2);
    EXPECT_FALSE(first->isFirstResponder());
    EXPECT_FALSE(first->lineEdit()->hasFocus());
    EXPECT_EQ(log.seen, (Events{ControlEvent::EditingDidBegin, ControlEvent::EditingDidEndOnExit,
                                ControlEvent::EditingDidEnd}));
    ASSERT_EQ(keyboard.count(Keyboard::DidHideNotification), 1);
    EXPECT_EQ(keyboard.seen.back().sender, first);
    first->setDelegate(nullptr);
}

TEST_F(TextFieldTest, EscapeEndsEditing) {
    EditingLog log(*first);
    KeyboardLog keyboard;
    click(first);
    QTest::keyClick(first->lineEdit(), Qt::Key_Escape);
    settle();
    EXPECT_FALSE(first->isFirstResponder());
    EXPECT_EQ(log.seen, (Events{ControlEvent::EditingDidBegin, ControlEvent::EditingDidEnd}));
    EXPECT_EQ(keyboard.count(Keyboard::DidHideNotification), 1);
}

TEST_F(TextFieldTest, TheWindowLosingTheFocusKeepsEditingGoing) {
    EditingLog log(*first);
    KeyboardLog keyboard;
    click(first);
    QTest::keyClicks(first->lineEdit(), "ab");

    // Another application comes to the front, then this one again.
    QApplication::setActiveWindow(nullptr);
    settle();
    EXPECT_TRUE(first->isFirstResponder());
    QApplication::setActiveWindow(&window);
    settle();
    // The same, told to the field alone.
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(first->lineEdit(), &out);
    QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(first->lineEdit(), &in);

    EXPECT_TRUE(first->isFirstResponder());
    EXPECT_EQ(keyboard.count(Keyboard::DidHideNotification), 0);
    EXPECT_EQ(keyboard.count(Keyboard::DidShowNotification), 1);
    QTest::keyClicks(first->lineEdit(), "c");
    EXPECT_EQ(first->text(), "abc");
    EXPECT_EQ(log.seen, (Events{ControlEvent::EditingDidBegin, ControlEvent::EditingChanged,
                                ControlEvent::EditingChanged, ControlEvent::EditingChanged}));
}

TEST_F(TextFieldTest, DidShowCarriesTheFieldAndTheKeyboardFrame) {
    KeyboardLog keyboard;
    ASSERT_TRUE(second->becomeFirstResponder());
    ASSERT_EQ(keyboard.seen.size(), 1u);
    const Notification& shown = keyboard.seen[0];
    EXPECT_EQ(shown.name, Keyboard::DidShowNotification);
    EXPECT_EQ(shown.sender, second);
    ASSERT_TRUE(shown.userInfo.contains(Keyboard::FrameEndUserInfoKey));
    // A desktop's keyboard takes no room: height 0 along the bottom of the window.
    EXPECT_EQ(shown.userInfo.value(Keyboard::FrameEndUserInfoKey).toRectF(),
              QRectF(0, 480, 320, 0));
}

TEST_F(TextFieldTest, AFieldThatCannotEditDoesNotBringTheKeyboardUp) {
    KeyboardLog keyboard;
    second->setEnabled(false);
    EXPECT_FALSE(second->becomeFirstResponder());
    first->hide();
    EXPECT_FALSE(first->becomeFirstResponder());
    EXPECT_TRUE(keyboard.seen.empty());
    EXPECT_FALSE(Keyboard::shared().isShown());
}

TEST_F(TextFieldTest, TheAccessoryDocksAtTheBottomWhileEditingAndGoesBackAfter) {
    QWidget holder;
    auto* accessory = new QWidget(&holder);
    accessory->resize(320, 44);
    first->setInputAccessoryView(accessory);

    ASSERT_TRUE(first->becomeFirstResponder());
    settle();
    EXPECT_EQ(Keyboard::shared().dockedAccessoryView(), accessory);
    EXPECT_TRUE(accessory->isVisible());
    EXPECT_EQ(accessory->window(), &window);
    EXPECT_EQ(QRect(accessory->mapTo(&window, QPoint(0, 0)), accessory->size()),
              QRect(0, 436, 320, 44));
    EXPECT_EQ(OnScreen::all().size(), 1u);
    // Non-modal: the field keeps the focus.
    EXPECT_TRUE(first->lineEdit()->hasFocus());

    QTest::keyClick(first->lineEdit(), Qt::Key_Return);
    settle();
    EXPECT_EQ(Keyboard::shared().dockedAccessoryView(), nullptr);
    EXPECT_FALSE(accessory->isVisible());
    EXPECT_EQ(accessory->parentWidget(), &holder);
    EXPECT_TRUE(OnScreen::all().empty());
}

// A hidden field brings the keyboard up with an accessory; the field the user types in
// lives in that accessory and takes over when the keyboard is up.
TEST_F(TextFieldTest, AFieldInsideTheAccessoryTakesOverWithoutASecondKeyboard) {
    QWidget holder;
    auto* accessory = new QWidget(&holder);
    accessory->resize(320, 44);
    auto* inner = new TextField(accessory);
    inner->setGeometry(10, 7, 200, 30);
    first->setInputAccessoryView(accessory);

    KeyboardLog keyboard;
    NotificationCenter::defaultCenter().addObserver(&holder, Keyboard::DidShowNotification,
                                                    [inner] { inner->becomeFirstResponder(); });
    ASSERT_TRUE(first->becomeFirstResponder());
    settle();
    NotificationCenter::defaultCenter().removeObserver(&holder);

    EXPECT_TRUE(inner->isFirstResponder());
    EXPECT_FALSE(first->isFirstResponder());
    EXPECT_EQ(Keyboard::shared().dockedAccessoryView(), accessory);
    EXPECT_EQ(keyboard.count(Keyboard::DidShowNotification), 1);
    EXPECT_EQ(keyboard.count(Keyboard::DidHideNotification), 0);
    QTest::keyClicks(inner->lineEdit(), "x");
    EXPECT_EQ(inner->text(), "x");

    QTest::keyClick(inner->lineEdit(), Qt::Key_Escape);
    settle();
    EXPECT_EQ(keyboard.count(Keyboard::DidHideNotification), 1);
    EXPECT_EQ(keyboard.seen.back().sender, inner);
    EXPECT_EQ(Keyboard::shared().dockedAccessoryView(), nullptr);
    EXPECT_EQ(accessory->parentWidget(), &holder);
    // The accessory went with the focus out of it: the focus was not handed on to another
    // field, which would have brought the keyboard straight back.
    EXPECT_FALSE(Keyboard::shared().isShown());
    EXPECT_EQ(keyboard.count(Keyboard::DidShowNotification), 1);
    EXPECT_FALSE(first->isFirstResponder());
    EXPECT_FALSE(second->isFirstResponder());
}

// The same with the accessory kept in the window while undocked, as a screen keeps it in
// its view: going back there with the focus must not hand the focus to another field.
TEST_F(TextFieldTest, AnAccessoryKeptInTheWindowTakesTheFocusDownWithIt) {
    auto* holder = new QWidget(&window);
    holder->setGeometry(0, 120, 320, 100);
    holder->show();
    auto* hidden = new TextField(holder);
    hidden->setGeometry(0, 0, 0, 0);
    hidden->show();
    auto* accessory = new QWidget(holder);
    accessory->resize(320, 44);
    accessory->hide();
    auto* inner = new TextField(accessory);
    inner->setGeometry(10, 7, 200, 30);
    hidden->setInputAccessoryView(accessory);

    KeyboardLog keyboard;
    NotificationCenter::defaultCenter().addObserver(holder, Keyboard::DidShowNotification,
                                                    [inner] { inner->becomeFirstResponder(); });
    ASSERT_TRUE(hidden->becomeFirstResponder());
    settle();
    ASSERT_TRUE(inner->isFirstResponder());
    inner->resignFirstResponder();
    settle();
    NotificationCenter::defaultCenter().removeObserver(holder);
    EXPECT_FALSE(Keyboard::shared().isShown());
    EXPECT_EQ(keyboard.count(Keyboard::DidShowNotification), 1);
    EXPECT_EQ(keyboard.count(Keyboard::DidHideNotification), 1);
    for (TextField* field : {first, second, hidden, inner}) {
        EXPECT_FALSE(field->isFirstResponder());
    }
    delete holder;
}

TEST_F(TextFieldTest, TheAccessorySpansTheWindowAndFollowsItsWidth) {
    QWidget holder;
    auto* accessory = new QWidget(&holder);
    accessory->resize(200, 44);
    first->setInputAccessoryView(accessory);
    ASSERT_TRUE(first->becomeFirstResponder());
    settle();
    EXPECT_EQ(QRect(accessory->mapTo(&window, QPoint(0, 0)), accessory->size()),
              QRect(0, 436, 320, 44));
    window.resize(400, 500);
    settle();
    EXPECT_EQ(QRect(accessory->mapTo(&window, QPoint(0, 0)), accessory->size()),
              QRect(0, 456, 400, 44));
    first->resignFirstResponder();
    settle();
    // Undocked, it no longer follows the window.
    window.resize(320, 480);
    settle();
    EXPECT_EQ(accessory->width(), 400);
    EXPECT_EQ(accessory->parentWidget(), &holder);
}

TEST_F(TextFieldTest, AModalLayerKeepsTheFieldEditingAndGivesTheFocusBack) {
    KeyboardLog keyboard;
    click(first);
    ASSERT_TRUE(first->isFirstResponder());
    {
        auto* panel = new QWidget;
        panel->resize(200, 100);
        OverlayPanel alert(&window, panel, OverlayPanel::Placement::Centre, 0.4, true);
        alert.present(false);
        settle();
        EXPECT_TRUE(alert.hasFocus());
        EXPECT_TRUE(first->isFirstResponder());
        EXPECT_TRUE(Keyboard::shared().isShown());
        alert.hide();
        settle();
        EXPECT_TRUE(first->lineEdit()->hasFocus());
    }
    EXPECT_TRUE(first->isFirstResponder());
    EXPECT_EQ(keyboard.count(Keyboard::DidShowNotification), 1);
    EXPECT_EQ(keyboard.count(Keyboard::DidHideNotification), 0);
    QTest::keyClicks(first->lineEdit(), "z");
    EXPECT_EQ(first->text(), "z");

    // A non-modal layer, like any other widget taking the focus, ends the editing.
    auto* other = new QLineEdit(&window);
    other->show();
    other->setFocus();
    settle();
    EXPECT_FALSE(first->isFirstResponder());
    delete other;
}

TEST_F(TextFieldTest, PasteReplacesTheSelectionOrGoesInAtTheCursor) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QString saved = clipboard->text();
    clipboard->setText(QStringLiteral("\u00A9"));
    EditingLog log(*first);
    first->setText("hello world");
    first->becomeFirstResponder();

    first->lineEdit()->setSelection(6, 5);
    first->paste();
    EXPECT_EQ(first->text(), QStringLiteral("hello \u00A9"));
    first->lineEdit()->setCursorPosition(0);
    first->paste();
    EXPECT_EQ(first->text(), QStringLiteral("\u00A9hello \u00A9"));
    EXPECT_EQ(log.seen, (Events{ControlEvent::EditingDidBegin, ControlEvent::EditingChanged,
                                ControlEvent::EditingChanged}));
    clipboard->setText(saved);
}

TEST_F(TextFieldTest, PlaceholderShowsOnlyOverEmptyText) {
    second->setPlaceholder("Enter text here ...");
    const QImage bare = first->grab().toImage();
    const QImage withPlaceholder = second->grab().toImage();
    EXPECT_NE(bare, withPlaceholder);

    first->setText("Enter text here ...");
    second->setText("Enter text here ...");
    // The placeholder's grey gives way to the text's own colour.
    EXPECT_EQ(first->grab().toImage(), second->grab().toImage());
}

TEST_F(TextFieldTest, TheClearButtonIsOfferedWhileEditingOnly) {
    first->setClearButtonMode(TextField::ClearButtonMode::WhileEditing);
    first->setText("abc");
    EXPECT_FALSE(first->isClearButtonOffered());
    first->becomeFirstResponder();
    EXPECT_TRUE(first->isClearButtonOffered());
    first->resignFirstResponder();
    EXPECT_FALSE(first->isClearButtonOffered());
}

TEST_F(TextFieldTest, AFieldDeletedWhileEditingTakesTheKeyboardDown) {
    KeyboardLog keyboard;
    auto* doomed = new TextField(&window);
    doomed->show();
    ASSERT_TRUE(doomed->becomeFirstResponder());
    delete doomed;
    EXPECT_FALSE(Keyboard::shared().isShown());
    EXPECT_EQ(Keyboard::shared().firstResponder(), nullptr);
    EXPECT_EQ(keyboard.count(Keyboard::DidHideNotification), 1);
    // The next field brings it up again.
    ASSERT_TRUE(first->becomeFirstResponder());
    EXPECT_EQ(keyboard.count(Keyboard::DidShowNotification), 2);
}

TEST_F(TextFieldTest, AnOnScreenKeyboardIsToldTheReturnKeyIsDone) {
    EXPECT_EQ(first->lineEdit()->inputMethodQuery(Qt::ImEnterKeyType).toInt(), Qt::EnterKeyDefault);
    first->setReturnKeyType(TextField::ReturnKeyType::Done);
    EXPECT_EQ(first->lineEdit()->inputMethodQuery(Qt::ImEnterKeyType).toInt(), Qt::EnterKeyDone);
}

TEST(KeyboardFrame, SitsAtTheBottomOfTheWindowWithinIt) {
    struct Case {
        QSizeF window;
        qreal height;
        QRectF frame;
    };
    const Case cases[] = {
        {{320, 480}, 0, {0, 480, 320, 0}},      // physical keyboard
        {{320, 480}, 216, {0, 264, 320, 216}},  // on-screen keyboard
        {{320, 480}, 900, {0, 0, 320, 480}},    // never taller than the window
        {{320, 480}, -5, {0, 480, 320, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Keyboard::endFrame(c.window, c.height), c.frame) << c.height;
    }
}

}  // namespace
}  // namespace lumigrave::ui
