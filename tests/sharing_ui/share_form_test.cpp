// The share form: its sections as given, the values typed and switched, and the keys a
// desktop user sends it with.
#include <QLineEdit>
#include <QToolButton>

#include "form_fixture.h"
#include "ui/bar_button_item.h"
#include "ui/keyboard.h"
#include "ui/switch.h"

namespace lumigrave::sharing::test {
namespace {

// The form a sharer shows for a link: a title over the link, and the auto share switch.
ShareFormController* linkForm(ShareFormDelegate* delegate, bool autoShare = false) {
    auto* form = new ShareFormController("Facebook", "Send to Facebook", delegate);
    form->addSection({FormFieldSettings("Title", "title", Type::Text, "Lumigrave")}, QString(),
                     "http://example.com/Lumigrave/");
    form->addSection({FormFieldSettings("Auto Share", "autoShare", Type::Switch,
                                        FormFieldSettings::switchValue(autoShare))},
                     QString(), "Enable auto share to skip this step in the future.");
    return form;
}

// A login form under a header, then a switch between two more text fields.
ShareFormController* loginForm(ShareFormDelegate* delegate) {
    auto* form = new ShareFormController("Login", "Login", delegate);
    form->addSection({FormFieldSettings("Username", "username", Type::TextNoCorrect),
                      FormFieldSettings("Password", "password", Type::Password)},
                     "Your account");
    form->addSection({FormFieldSettings("Remember", "remember", Type::Switch, "1"),
                      FormFieldSettings("Tags", "tags", Type::TextNoCorrect, "a, b")});
    return form;
}

TEST_F(FormTest, SectionsShowTheirFieldsHeadersAndFootersAsGiven) {
    show(linkForm(&delegate_));
    ASSERT_EQ(table()->numberOfSections(), 2);
    EXPECT_EQ(table()->numberOfRowsInSection(0), 1);
    EXPECT_EQ(table()->numberOfRowsInSection(1), 1);
    EXPECT_EQ(table()->headerViewForSection(0), nullptr);
    ASSERT_NE(table()->footerViewForSection(0), nullptr);
    EXPECT_EQ(table()->footerViewForSection(0)->text(), "http://example.com/Lumigrave/");
    ASSERT_NE(table()->footerViewForSection(1), nullptr);
    EXPECT_EQ(table()->footerViewForSection(1)->text(),
              "Enable auto share to skip this step in the future.");
    EXPECT_EQ(cell(0, 0)->textLabel()->text(), "Title");
    EXPECT_EQ(cell(1, 0)->textLabel()->text(), "Auto Share");
    ASSERT_NE(form_->textFieldForKey("title"), nullptr);
    EXPECT_EQ(form_->textFieldForKey("title")->text(), "Lumigrave");
    ASSERT_NE(form_->switchForKey("autoShare"), nullptr);
    EXPECT_FALSE(form_->switchForKey("autoShare")->isOn());
    // The bar: the title, "Cancel" on the left and the sharer's button on the right.
    EXPECT_EQ(barTitle(), "Facebook");
    EXPECT_EQ(form_->navigationItem().leftBarButtonItem(), form_->cancelButton());
    EXPECT_EQ(form_->cancelButton()->systemItem(), ui::BarButtonItem::SystemItem::Cancel);
    EXPECT_EQ(form_->navigationItem().rightBarButtonItem()->title(), "Send to Facebook");
    // The text field stands clear of its label, inside the row.
    const QRect field = form_->textFieldForKey("title")->geometry();
    EXPECT_GE(field.left(), cell(0, 0)->textLabel()->geometry().right());
    EXPECT_LE(field.right(), cell(0, 0)->contentView()->width());
}

TEST_F(FormTest, AHeaderStandsAboveItsSectionAndASectionWithoutTitlesHasNone) {
    show(loginForm(&delegate_));
    ASSERT_NE(table()->headerViewForSection(0), nullptr);
    EXPECT_EQ(table()->headerViewForSection(0)->text(), "Your account");
    EXPECT_EQ(table()->footerViewForSection(0), nullptr);
    EXPECT_EQ(table()->numberOfRowsInSection(0), 2);
    EXPECT_EQ(table()->numberOfRowsInSection(1), 2);
    // Every label is whole, and the text fields line up beside the longest.
    const int left = form_->textFieldForKey("username")->geometry().left();
    for (const char* key : {"username", "password", "tags"}) {
        FormFieldCell* row = form_->cellForKey(key);
        ASSERT_NE(row, nullptr);
        EXPECT_GE(row->textLabel()->width(), row->textLabel()->sizeHint().width()) << key;
        EXPECT_EQ(row->textField()->geometry().left(), left) << key;
        EXPECT_GE(left, row->textLabel()->geometry().right()) << key;
    }
}

TEST_F(FormTest, TypedAndSwitchedValuesComeBackAsStrings) {
    show(loginForm(&delegate_));
    // Untouched fields give their start values; a switch "1" or "0".
    EXPECT_EQ(form_->formValues(),
              (QMap<QString, QString>{
                  {"username", ""}, {"password", ""}, {"remember", "1"}, {"tags", "a, b"}}));
    typeInto("username", "ann");
    typeInto("password", "s3cret pw");
    QTest::mouseClick(form_->switchForKey("remember"), Qt::LeftButton);
    typeInto("tags", ", c");
    EXPECT_EQ(form_->formValues(), (QMap<QString, QString>{{"username", "ann"},
                                                           {"password", "s3cret pw"},
                                                           {"remember", "0"},
                                                           {"tags", "a, b, c"}}));
    QTest::mouseClick(form_->switchForKey("remember"), Qt::LeftButton);
    EXPECT_EQ(form_->valueForKey("remember"), "1");
    // The field's clear button and undo are changes too.
    typeInto("username", "");
    QLineEdit* edit = form_->textFieldForKey("username")->lineEdit();
    auto* clear = edit->findChild<QToolButton*>();
    ASSERT_NE(clear, nullptr);
    QTest::mouseClick(clear, Qt::LeftButton);
    EXPECT_EQ(form_->valueForKey("username"), "");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "ann");
    EXPECT_EQ(form_->valueForKey("username"), "ann");

    // A password is hidden as it is typed; names are taken exactly as typed.
    QLineEdit* password = form_->textFieldForKey("password")->lineEdit();
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(password->inputMethodHints().testFlag(Qt::ImhSensitiveData));
    QLineEdit* name = form_->textFieldForKey("username")->lineEdit();
    EXPECT_EQ(name->echoMode(), QLineEdit::Normal);
    EXPECT_TRUE(name->inputMethodHints().testFlag(Qt::ImhNoAutoUppercase));
    EXPECT_TRUE(name->inputMethodHints().testFlag(Qt::ImhNoPredictiveText));
}

TEST_F(FormTest, ValuesLiveInTheFormAndSurviveAReloadOfTheRows) {
    show(loginForm(&delegate_));
    typeInto("username", "ann");
    QTest::mouseClick(form_->switchForKey("remember"), Qt::LeftButton);
    table()->reloadData();
    settle();
    EXPECT_EQ(form_->textFieldForKey("username")->text(), "ann");
    EXPECT_FALSE(form_->switchForKey("remember")->isOn());
    // A value set in code shows in its widget; an unknown key changes nothing.
    form_->setValueForKey("password", "pw");
    form_->setValueForKey("nothing", "x");
    EXPECT_EQ(form_->textFieldForKey("password")->text(), "pw");
    EXPECT_FALSE(form_->formValues().contains("nothing"));
    // A section added after the form shows comes in under the others.
    form_->addSection({FormFieldSettings("Note", "note", Type::Text, "hi")}, "More");
    EXPECT_EQ(table()->numberOfSections(), 3);
    EXPECT_EQ(form_->textFieldForKey("note")->text(), "hi");
    EXPECT_EQ(form_->valueForKey("username"), "ann");
}

TEST_F(FormTest, TheFirstTextFieldTakesTheFocusAndTabAndEnterGoFromFieldToField) {
    show(loginForm(&delegate_));
    QLineEdit* username = form_->textFieldForKey("username")->lineEdit();
    QLineEdit* password = form_->textFieldForKey("password")->lineEdit();
    QLineEdit* tags = form_->textFieldForKey("tags")->lineEdit();
    EXPECT_EQ(focus(), username);
    press(username, Qt::Key_Tab);
    EXPECT_EQ(focus(), password);
    press(password, Qt::Key_Tab);
    EXPECT_EQ(focus(), form_->switchForKey("remember"));
    // Space on the switch flips it, as on any desktop.
    press(form_->switchForKey("remember"), Qt::Key_Space);
    EXPECT_EQ(form_->valueForKey("remember"), "0");
    press(form_->switchForKey("remember"), Qt::Key_Tab);
    EXPECT_EQ(focus(), tags);
    press(tags, Qt::Key_Backtab);
    EXPECT_EQ(focus(), form_->switchForKey("remember"));

    // Enter moves on to the next text field, passing the switch, and saves nothing yet.
    username->setFocus();
    settle();
    press(username, Qt::Key_Return);
    EXPECT_EQ(focus(), password);
    press(password, Qt::Key_Enter);
    EXPECT_EQ(focus(), tags);
    EXPECT_TRUE(delegate_.calls.empty());
}

TEST_F(FormTest, EnterInTheLastTextFieldIsTheRightButton) {
    show(loginForm(&delegate_));
    typeInto("username", "ann");
    typeInto("tags", "x");
    press(form_->textFieldForKey("tags")->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(delegate_.calls, (Calls{"validate", "save"}));
    EXPECT_EQ(delegate_.saved.value("username"), "ann");
    EXPECT_EQ(delegate_.saved.value("tags"), "a, bx");
    // Saving ends the editing.
    EXPECT_EQ(ui::Keyboard::shared().firstResponder(), nullptr);
    // Not while the button is turned off.
    form_->rightButton()->setEnabled(false);
    typeInto("tags", "y");
    press(form_->textFieldForKey("tags")->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(delegate_.calls, (Calls{"validate", "save"}));
    form_->rightButton()->setEnabled(true);

    // The button itself, as a click.
    delegate_.calls.clear();
    QWidget* right = navigation_->navigationBar()->rightWidget();
    ASSERT_NE(right, nullptr);
    QTest::mouseClick(right, Qt::LeftButton);
    settle();
    EXPECT_EQ(delegate_.calls, (Calls{"validate", "save"}));
}

TEST_F(FormTest, AValidationThatFailsKeepsTheFormAndTheFieldBeingEdited) {
    delegate_.refuse = true;
    show(linkForm(&delegate_));
    QLineEdit* title = form_->textFieldForKey("title")->lineEdit();
    EXPECT_EQ(focus(), title);
    press(title, Qt::Key_Return);
    EXPECT_EQ(delegate_.calls, (Calls{"validate"}));
    EXPECT_EQ(focus(), title);
    EXPECT_EQ(navigation_->topViewController(), form_);
}

TEST_F(FormTest, EscapeAnywhereInTheFormIsCancel) {
    show(loginForm(&delegate_));
    typeInto("username", "ann");
    press(form_->textFieldForKey("username")->lineEdit(), Qt::Key_Escape);
    EXPECT_EQ(delegate_.calls, (Calls{"cancel"}));
    EXPECT_EQ(ui::Keyboard::shared().firstResponder(), nullptr);
    // From the switch too, and from the Cancel button.
    form_->switchForKey("remember")->setFocus();
    settle();
    press(form_->switchForKey("remember"), Qt::Key_Escape);
    QWidget* left = navigation_->navigationBar()->leftWidget();
    ASSERT_NE(left, nullptr);
    QTest::mouseClick(left, Qt::LeftButton);
    settle();
    EXPECT_EQ(delegate_.calls, (Calls{"cancel", "cancel", "cancel"}));
    // Nothing was saved on the way.
    EXPECT_TRUE(delegate_.saved.isEmpty());
}

TEST_F(FormTest, ADelegateMayDismissTheSharerFromItsSave) {
    QPointer<ShareFormController> form;
    delegate_.onSave = [this](ShareFormController&) {
        screen_.dismissModalViewControllerAnimated(false);
    };
    show(linkForm(&delegate_));
    form = form_;
    press(form_->textFieldForKey("title")->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(delegate_.calls, (Calls{"validate", "save"}));
    flushDeletes();
    EXPECT_TRUE(navigation_.isNull());
    EXPECT_TRUE(form.isNull());
    EXPECT_EQ(ui::Keyboard::shared().firstResponder(), nullptr);
}

TEST_F(FormTest, TheBarTintColoursTheBarAndAnInvalidOneRestoresTheDefault) {
    auto* form = linkForm(&delegate_);
    const QColor facebook = QColor::fromRgbF(59 / 255.0, 89 / 255.0, 152 / 255.0);
    form->setBarTint(facebook);
    show(form);
    EXPECT_EQ(navigation_->navigationBar()->tintColor(), facebook);
    const QImage bar = navigation_->navigationBar()->grab().toImage();
    EXPECT_EQ(QColor(bar.pixel(bar.width() / 2, 2)).rgb(), facebook.rgb());
    form_->setBarTint(QColor());
    EXPECT_FALSE(navigation_->navigationBar()->tintColor().isValid());
    const QImage plain = navigation_->navigationBar()->grab().toImage();
    EXPECT_NE(QColor(plain.pixel(plain.width() / 2, 2)).rgb(), facebook.rgb());
}

}  // namespace
}  // namespace lumigrave::sharing::test
