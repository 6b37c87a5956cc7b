#pragma once
// A share form shown as a sharer shows it: the root of a navigation controller presented
// modally over the screen of a 320 × 480 window that has the focus, with a delegate that
// records what it is told.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sharing/ui/form_field_cell.h"
#include "sharing/ui/share_form_controller.h"
#include "support/widget_test_support.h"
#include "ui/navigation_bar.h"
#include "ui/navigation_controller.h"
#include "ui/window.h"

namespace lumigrave::sharing::test {

using ui::test::flushDeletes;
using ui::test::settle;
using Calls = std::vector<std::string>;
using Type = FormFieldSettings::Type;

struct RecordingDelegate : ShareFormDelegate {
    Calls calls;
    QMap<QString, QString> saved;
    bool refuse = false;
    std::function<void(ShareFormController&)> onSave;

    void shareFormValidate(ShareFormController& form) override {
        calls.push_back("validate");
        if (!refuse) {
            ShareFormDelegate::shareFormValidate(form);
        }
    }
    void shareFormSave(ShareFormController& form) override {
        calls.push_back("save");
        saved = form.formValues();
        if (onSave) {
            onSave(form);
        }
    }
    void shareFormCancel(ShareFormController&) override { calls.push_back("cancel"); }
};

// Choices fetched "from the network": each fetch waits until the test answers it.
class ManualProvider : public FormOptionProvider {
  public:
    std::vector<std::shared_ptr<FormOptionRequest>> requests;
    int cancels = 0;
    // When set, answers each fetch at once.
    std::function<void(FormOptionRequest&)> answerAtOnce;

    void fetchOptions(const FormFieldSettings&,
                      std::shared_ptr<FormOptionRequest> request) override {
        requests.push_back(request);
        if (answerAtOnce) {
            answerAtOnce(*request);
        }
    }
    void cancelFetch(const FormFieldSettings&, const std::shared_ptr<FormOptionRequest>&) override {
        ++cancels;
    }
};

class FormTest : public ::testing::Test {
  protected:
    // Shows the form; the fixture owns it from now on.
    void show(ShareFormController* form) {
        form_ = form;
        window_.resize(320, 480);
        window_.setRootViewController(&screen_);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
        QApplication::setActiveWindow(&window_);
        settle();
        navigation_ = new ui::NavigationController(form);
        screen_.presentModalViewController(navigation_, false);
        settle();
    }
    void TearDown() override {
        screen_.dismissModalViewControllerAnimated(false);
        flushDeletes();
    }

    ui::TableView* table() { return form_->tableView(); }
    ui::TableViewCell* cell(int section, int row) {
        return table()->cellForRowAtIndexPath({section, row});
    }
    // A click on a row away from the widget in it, where its label is.
    void clickRow(ui::TableViewCell* row) {
        ASSERT_NE(row, nullptr);
        QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(15, row->height() / 2));
        settle();
    }
    void typeInto(const QString& key, const QString& text) {
        ui::TextField* field = form_->textFieldForKey(key);
        ASSERT_NE(field, nullptr) << key.toStdString();
        field->becomeFirstResponder();
        QTest::keyClicks(field->lineEdit(), text);
    }
    void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key, modifiers);
        settle();
    }
    QWidget* focus() const { return QApplication::focusWidget(); }
    QString barTitle() const { return navigation_->navigationBar()->title(); }

    ui::Window window_;
    ui::ViewController screen_;
    // Owned by the screen it is presented on.
    QPointer<ui::NavigationController> navigation_;
    ShareFormController* form_ = nullptr;
    RecordingDelegate delegate_;
};

}  // namespace lumigrave::sharing::test
