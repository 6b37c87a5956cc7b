// The large-text form: the count of characters left as services count them, the send
// button only for a text that fits, and the keys and buttons that send or cancel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <ostream>

#include "sharing/ui/large_text_form_controller.h"
#include "support/widget_test_support.h"
#include "ui/bar_button_item.h"
#include "ui/navigation_bar.h"
#include "ui/navigation_controller.h"
#include "ui/window.h"

namespace lumigrave::sharing::test {
namespace {

using ui::test::flushDeletes;
using ui::test::settle;

struct FormReports : LargeTextFormDelegate {
    QStringList sent;
    int cancels = 0;
    void largeTextFormSend(LargeTextFormController& form) override { sent << form.text(); }
    void largeTextFormCancel(LargeTextFormController&) override { ++cancels; }
};

QImage photo() {
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    return image;
}

class LargeTextFormTest : public ::testing::Test {
  protected:
    // Shows the form as a sharer does, the root of a navigation controller in a window
    // with the focus; the fixture owns it from now on.
    void show(LargeTextFormController* form) {
        form_ = form;
        window_.resize(320, 480);
        navigation_ = new ui::NavigationController(form);
        window_.setRootViewController(navigation_);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
        QApplication::setActiveWindow(&window_);
        settle();
    }
    void TearDown() override {
        window_.setRootViewController(nullptr);
        delete navigation_;
        flushDeletes();
    }
    // A status form of 140 characters, as the Twitter sharer makes it.
    LargeTextFormController* statusForm(const QString& text, bool withImage) {
        auto* form = new LargeTextFormController(&reports_, "Twitter");
        form->setMaxTextLength(140);
        if (withImage) {
            form->setImage(photo(), 25);
        }
        form->setText(text);
        return form;
    }
    ui::BarButtonItem* sendButton() const { return form_->navigationItem().rightBarButtonItem(); }

    ui::Window window_;
    QPointer<ui::NavigationController> navigation_;
    LargeTextFormController* form_ = nullptr;
    FormReports reports_;
};

struct CountRow {
    int length;
    bool withImage;
    int left;
    bool canSend;
};

void PrintTo(const CountRow& row, std::ostream* out) {
    *out << row.length << (row.withImage ? " with image" : "");
}

class CharacterCountTest : public ::testing::TestWithParam<CountRow> {};

TEST_P(CharacterCountTest, CountsWhatIsLeftOf140AndSendsOnlyWhatFits) {
    const CountRow& row = GetParam();
    FormReports reports;
    LargeTextFormController form(&reports, "Twitter");
    form.setMaxTextLength(140);
    if (row.withImage) {
        form.setImage(photo(), 25);
    }
    form.setText(QString(row.length, QLatin1Char('a')));
    EXPECT_EQ(form.charactersLeft(), row.left);
    EXPECT_EQ(form.canSend(), row.canSend);
    EXPECT_EQ(form.navigationItem().rightBarButtonItem()->isEnabled(), row.canSend);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, CharacterCountTest,
    ::testing::Values(CountRow{0, false, 140, false}, CountRow{115, false, 25, true},
                      CountRow{140, false, 0, true}, CountRow{141, false, -1, false},
                      CountRow{0, true, 115, false}, CountRow{115, true, 0, true},
                      CountRow{116, true, -1, false}, CountRow{140, true, -25, false},
                      CountRow{141, true, -26, false}));

TEST_F(LargeTextFormTest, TypingUpdatesTheCountWhichTurnsRedBelowZero) {
    show(statusForm(QString(113, QLatin1Char('a')), true));
    QPlainTextEdit* edit = form_->textEdit();
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(form_->counterLabel(), nullptr);
    EXPECT_EQ(form_->counterLabel()->text(), "2");
    EXPECT_TRUE(form_->counterLabel()->isVisible());
    const QColor normal = form_->counterLabel()->palette().color(QPalette::WindowText);
    // The image goes with the text.
    auto* thumbnail = form_->view()->findChild<QLabel*>("largeTextImage");
    ASSERT_NE(thumbnail, nullptr);
    EXPECT_TRUE(thumbnail->isVisible());
    EXPECT_FALSE(thumbnail->pixmap().isNull());

    edit->setFocus();
    edit->moveCursor(QTextCursor::End);
    // An emoji is two UTF-16 units, as the service counts it. (It comes as an input
    // method's text would: a key event cannot carry it.)
    edit->insertPlainText(QString::fromUtf8("\xF0\x9F\x98\x80"));
    EXPECT_EQ(form_->text().size(), 115);
    EXPECT_EQ(form_->counterLabel()->text(), "0");
    EXPECT_TRUE(sendButton()->isEnabled());
    QTest::keyClicks(edit, "b");
    EXPECT_EQ(form_->counterLabel()->text(), "-1");
    EXPECT_FALSE(sendButton()->isEnabled());
    const QColor over = form_->counterLabel()->palette().color(QPalette::WindowText);
    EXPECT_NE(over, normal);
    EXPECT_GT(over.red(), over.green() + 100);
    // Ctrl+Enter sends only a text that fits; the text typed is all kept.
    QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(reports_.sent.isEmpty());
    EXPECT_EQ(form_->text().size(), 116);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(form_->counterLabel()->text(), "0");
    QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    ASSERT_EQ(reports_.sent.size(), 1);
    EXPECT_EQ(reports_.sent.at(0),
              QString(113, QLatin1Char('a')) + QString::fromUtf8("\xF0\x9F\x98\x80"));
}

TEST_F(LargeTextFormTest, SendButtonReportsTheTextAndEmptyTextIsNotSent) {
    show(statusForm(QString(), false));
    EXPECT_FALSE(sendButton()->isEnabled());
    EXPECT_EQ(form_->view()->findChild<QLabel*>("largeTextImage"), nullptr);
    QTest::keyClicks(form_->textEdit(), "Hello #lumigrave");
    EXPECT_TRUE(sendButton()->isEnabled());
    EXPECT_EQ(form_->counterLabel()->text(), "124");
    QWidget* send = navigation_->navigationBar()->rightWidget();
    ASSERT_NE(send, nullptr);
    QTest::mouseClick(send, Qt::LeftButton);
    settle();
    EXPECT_EQ(reports_.sent, QStringList({"Hello #lumigrave"}));
    // A plain Enter is a new line, not a send.
    QTest::keyClick(form_->textEdit(), Qt::Key_Return);
    EXPECT_EQ(reports_.sent.size(), 1);
    EXPECT_EQ(form_->text(), "Hello #lumigrave\n");
}

TEST_F(LargeTextFormTest, CancelAndEscapeReportCancel) {
    show(statusForm("Status", false));
    QWidget* cancel = navigation_->navigationBar()->leftWidget();
    ASSERT_NE(cancel, nullptr);
    QTest::mouseClick(cancel, Qt::LeftButton);
    settle();
    EXPECT_EQ(reports_.cancels, 1);
    QTest::keyClick(form_->textEdit(), Qt::Key_Escape);
    EXPECT_EQ(reports_.cancels, 2);
    EXPECT_TRUE(reports_.sent.isEmpty());
    EXPECT_EQ(form_->text(), "Status");
}

TEST_F(LargeTextFormTest, BarTakesTheFormsTintWhileItShows) {
    auto* form = statusForm("Status", false);
    form->setBarTint(QColor(0x33, 0xcc, 0xff));
    show(form);
    EXPECT_EQ(navigation_->navigationBar()->tintColor(), QColor(0x33, 0xcc, 0xff));
    EXPECT_EQ(navigation_->navigationBar()->title(), "Twitter");
}

TEST(LargeTextFormLimit, NoLimitMeansNoCountAndAnyNonEmptyTextSends) {
    FormReports reports;
    LargeTextFormController form(&reports, "LinkedIn", "Share");
    form.setText(QString(5000, QLatin1Char('x')));
    EXPECT_TRUE(form.canSend());
    form.view();
    ASSERT_NE(form.counterLabel(), nullptr);
    EXPECT_TRUE(form.counterLabel()->isHidden());
    EXPECT_EQ(form.navigationItem().rightBarButtonItem()->title(), "Share");
}

}  // namespace
}  // namespace lumigrave::sharing::test
