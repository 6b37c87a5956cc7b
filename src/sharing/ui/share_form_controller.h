#pragma once

#include <QColor>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QString>
#include <optional>

#include "sharing/form_field_settings.h"
#include "sharing/ui/form_option_controller.h"
#include "ui/table_view_controller.h"
#include "ui/text_field.h"

namespace lumigrave::ui {
class BarButtonItem;
class Switch;
}  // namespace lumigrave::ui

namespace lumigrave::sharing {

class FormFieldCell;
class ShareFormController;

// Whoever a form works for (a sharer): told when the user asks to send or to cancel. An
// abstract class with defaulted virtuals; it must outlive the form or be cleared.
//
// The form never leaves the screen by itself: the delegate decides what comes next
// (another form after a login, the end of the sharer).
class ShareFormDelegate {
  public:
    virtual ~ShareFormDelegate() = default;
    // The right button, or Enter in the last text field. A delegate that finds the values
    // wanting leaves the form as it is (and may say why); the default accepts them.
    virtual void shareFormValidate(ShareFormController& form);
    // The values are final: take them with formValues().
    virtual void shareFormSave(ShareFormController& form) { Q_UNUSED(form); }
    // Cancel, or Escape.
    virtual void shareFormCancel(ShareFormController& form) { Q_UNUSED(form); }
};

// A group of fields, with the titles above and below it (empty: none).
struct FormSection {
    QString header;
    QString footer;
    QList<FormFieldSettings> fields;
};

// A share form: a grouped table of sections of fields (text fields, switches, option
// rows that open a FormOptionController), under a title, with "Cancel" on the left of the
// bar and the given button on the right. It is pushed onto a navigation controller (the
// sharer), onto which its option pages are pushed in turn.
//
// Keys: the first text field takes the focus when the form first appears; Tab and
// Shift+Tab go from field to field; Enter goes to the next text field, and in the last
// one is the right button; Escape is Cancel.
//
// The values live in the form, not in its widgets, so a reload or a page on top loses
// nothing; each field's value is a string (see form_field_settings.h). Keys are unique.
class ShareFormController : public ui::TableViewController, private ui::TextField::Delegate {
    Q_OBJECT
  public:
    ShareFormController(const QString& title, const QString& rightButtonTitle,
                        ShareFormDelegate* delegate = nullptr, QObject* parent = nullptr);
    ~ShareFormController() override;

    ShareFormDelegate* delegate() const { return delegate_; }
    void setDelegate(ShareFormDelegate* delegate) { delegate_ = delegate; }

    // Adds a section under those added before; each field starts at its start value.
    void addSection(const QList<FormFieldSettings>& fields, const QString& header = QString(),
                    const QString& footer = QString());
    const QList<FormSection>& sections() const { return sections_; }
    // Null when no field has the key.
    const FormFieldSettings* fieldForKey(const QString& key) const;

    // Every field's value by its key.
    QMap<QString, QString> formValues() const { return values_; }
    QString valueForKey(const QString& key) const { return values_.value(key); }
    // Changes a field's value as if the user had; unknown keys are ignored.
    void setValueForKey(const QString& key, const QString& value);

    // The right button: asks the delegate to validate (the default saves).
    void validateForm();
    // Closes an open option page (its choices are in the form already), ends the editing
    // and hands the values to the delegate.
    void saveForm();
    void cancelForm();

    ui::BarButtonItem* cancelButton() const { return cancelButton_; }
    ui::BarButtonItem* rightButton() const { return rightButton_; }

    // The option page shown over this form, or null.
    FormOptionController* openOptionPage() const;
    // Opens the page of the option field with the key; null when there is no such field
    // or the form is on no navigation controller.
    FormOptionController* openOptionPageForKey(const QString& key, bool animated = true);
    // Pops the open option page; its choices stay in the form. False when none is open.
    bool closeOptionPage();

    // The bar's colour while the form and its pages show; invalid: the default look.
    QColor barTint() const { return barTint_; }
    void setBarTint(const QColor& tint);

    // The cell of the field with the key, and its widgets; null when the view is not
    // loaded, there is no such field, or it is of another kind.
    FormFieldCell* cellForKey(const QString& key);
    ui::TextField* textFieldForKey(const QString& key);
    ui::Switch* switchForKey(const QString& key);

    int numberOfSectionsInTableView(ui::TableView& table) override;
    int numberOfRowsInSection(ui::TableView& table, int section) override;
    ui::TableViewCell* cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath at) override;
    QString titleForHeaderInSection(ui::TableView& table, int section) override;
    QString titleForFooterInSection(ui::TableView& table, int section) override;
    void didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath at) override;

    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;

  protected:
    void viewDidLoad() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool textFieldShouldReturn(ui::TextField& field) override;
    const FormFieldSettings* fieldAt(ui::IndexPath at) const;
    std::optional<ui::IndexPath> indexPathForKey(const QString& key) const;
    // The text fields in the order of the form.
    QList<ui::TextField*> textFields();
    void endEditing();
    void applyBarTint();

    ShareFormDelegate* delegate_;
    QList<FormSection> sections_;
    QMap<QString, QString> values_;
    // What each option row shows for its value.
    QMap<QString, QString> shown_;
    ui::BarButtonItem* cancelButton_;
    ui::BarButtonItem* rightButton_;
    QPointer<FormOptionController> optionPage_;
    QColor barTint_;
    bool appeared_ = false;
};

}  // namespace lumigrave::sharing
