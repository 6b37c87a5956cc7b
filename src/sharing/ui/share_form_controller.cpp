#include "sharing/ui/share_form_controller.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "sharing/ui/form_field_cell.h"
#include "ui/bar_button_item.h"
#include "ui/navigation_bar.h"
#include "ui/navigation_controller.h"
#include "ui/switch.h"

namespace lumigrave::sharing {

void ShareFormDelegate::shareFormValidate(ShareFormController& form) {
    form.saveForm();
}

ShareFormController::ShareFormController(const QString& title, const QString& rightButtonTitle,
                                         ShareFormDelegate* delegate, QObject* parent)
    : ui::TableViewController(ui::TableView::Style::Grouped, parent),
      delegate_(delegate),
      cancelButton_(new ui::BarButtonItem(
          ui::BarButtonItem::SystemItem::Cancel, [this](ui::BarButtonItem*) { cancelForm(); },
          this)),
      rightButton_(new ui::BarButtonItem(
          rightButtonTitle, ui::BarButtonItem::Style::Done,
          [this](ui::BarButtonItem*) { validateForm(); }, this)) {
    setTitle(title);
    cancelButton_->setObjectName(QStringLiteral("Cancel"));
    rightButton_->setObjectName(rightButtonTitle);
    navigationItem().setLeftBarButtonItem(cancelButton_);
    navigationItem().setRightBarButtonItem(rightButton_);
}

ShareFormController::~ShareFormController() {
    // The text fields must not call back into a form that is going.
    if (isViewLoaded()) {
        for (ui::TextField* field : textFields()) {
            field->setDelegate(nullptr);
        }
    }
}

void ShareFormController::addSection(const QList<FormFieldSettings>& fields, const QString& header,
                                     const QString& footer) {
    sections_.append(FormSection{header, footer, fields});
    for (const FormFieldSettings& field : fields) {
        values_.insert(field.key(), field.startValue());
        if (field.type() == FormFieldSettings::Type::Options) {
            shown_.insert(field.key(),
                          FormFieldSettings::displayText(field.chosenValues(field.startValue()),
                                                         field.options(), field.optionValues()));
        }
    }
    if (isViewLoaded()) {
        tableView()->reloadData();
    }
}

const FormFieldSettings* ShareFormController::fieldForKey(const QString& key) const {
    if (std::optional<ui::IndexPath> at = indexPathForKey(key)) {
        return fieldAt(*at);
    }
    return nullptr;
}

const FormFieldSettings* ShareFormController::fieldAt(ui::IndexPath at) const {
    if (at.section < 0 || at.section >= sections_.size()) {
        return nullptr;
    }
    const QList<FormFieldSettings>& fields = sections_.at(at.section).fields;
    return at.row >= 0 && at.row < fields.size() ? &fields.at(at.row) : nullptr;
}

std::optional<ui::IndexPath> ShareFormController::indexPathForKey(const QString& key) const {
    for (int section = 0; section < sections_.size(); ++section) {
        const QList<FormFieldSettings>& fields = sections_.at(section).fields;
        for (int row = 0; row < fields.size(); ++row) {
            if (fields.at(row).key() == key) {
                return ui::IndexPath{section, row};
            }
        }
    }
    return std::nullopt;
}

void ShareFormController::setValueForKey(const QString& key, const QString& value) {
    const FormFieldSettings* field = fieldForKey(key);
    if (field == nullptr) {
        return;
    }
    values_.insert(key, value);
    if (field->type() == FormFieldSettings::Type::Options) {
        shown_.insert(key, FormFieldSettings::displayText(field->chosenValues(value),
                                                          field->options(), field->optionValues()));
    }
    if (isViewLoaded()) {
        tableView()->reloadData();
    }
}

void ShareFormController::validateForm() {
    if (delegate_ != nullptr) {
        delegate_->shareFormValidate(*this);
    } else {
        saveForm();
    }
}

void ShareFormController::saveForm() {
    QPointer<ShareFormController> alive(this);
    closeOptionPage();
    endEditing();
    if (alive && delegate_ != nullptr) {
        delegate_->shareFormSave(*this);
    }
}

void ShareFormController::cancelForm() {
    QPointer<ShareFormController> alive(this);
    closeOptionPage();
    endEditing();
    if (alive && delegate_ != nullptr) {
        delegate_->shareFormCancel(*this);
    }
}

void ShareFormController::endEditing() {
    if (!isViewLoaded()) {
        return;
    }
    for (ui::TextField* field : textFields()) {
        field->resignFirstResponder();
    }
}

FormOptionController* ShareFormController::openOptionPage() const {
    ui::NavigationController* navigation = navigationController();
    if (optionPage_ == nullptr || navigation == nullptr ||
        navigation->topViewController() != optionPage_) {
        return nullptr;
    }
    return optionPage_;
}

FormOptionController* ShareFormController::openOptionPageForKey(const QString& key, bool animated) {
    const FormFieldSettings* field = fieldForKey(key);
    ui::NavigationController* navigation = navigationController();
    if (field == nullptr || field->type() != FormFieldSettings::Type::Options ||
        navigation == nullptr) {
        return nullptr;
    }
    closeOptionPage();
    endEditing();
    QPointer<ShareFormController> form(this);
    auto* page = new FormOptionController(*field, values_.value(key),
                                          [form, key](const QString& value, const QString& shown) {
                                              if (form) {
                                                  form->values_.insert(key, value);
                                                  form->shown_.insert(key, shown);
                                                  if (FormFieldCell* cell = form->cellForKey(key)) {
                                                      if (cell->detailLabel() != nullptr) {
                                                          cell->detailLabel()->setText(shown);
                                                      }
                                                  }
                                              }
                                          });
    optionPage_ = page;
    navigation->pushViewController(page, animated);
    return page;
}

bool ShareFormController::closeOptionPage() {
    FormOptionController* page = openOptionPage();
    if (page == nullptr) {
        return false;
    }
    navigationController()->popViewControllerAnimated(false);
    optionPage_ = nullptr;
    return true;
}

void ShareFormController::setBarTint(const QColor& tint) {
    barTint_ = tint;
    applyBarTint();
}

void ShareFormController::applyBarTint() {
    ui::NavigationController* navigation = navigationController();
    if (navigation != nullptr && navigation->isViewLoaded()) {
        navigation->navigationBar()->setTintColor(barTint_);
    }
}

FormFieldCell* ShareFormController::cellForKey(const QString& key) {
    std::optional<ui::IndexPath> at = indexPathForKey(key);
    if (!at || !isViewLoaded()) {
        return nullptr;
    }
    return dynamic_cast<FormFieldCell*>(tableView()->cellForRowAtIndexPath(*at));
}

ui::TextField* ShareFormController::textFieldForKey(const QString& key) {
    FormFieldCell* cell = cellForKey(key);
    return cell != nullptr ? cell->textField() : nullptr;
}

ui::Switch* ShareFormController::switchForKey(const QString& key) {
    FormFieldCell* cell = cellForKey(key);
    return cell != nullptr ? cell->switchControl() : nullptr;
}

QList<ui::TextField*> ShareFormController::textFields() {
    QList<ui::TextField*> fields;
    for (int section = 0; section < sections_.size(); ++section) {
        for (const FormFieldSettings& field : sections_.at(section).fields) {
            if (ui::TextField* text = textFieldForKey(field.key())) {
                fields.append(text);
            }
        }
    }
    return fields;
}

int ShareFormController::numberOfSectionsInTableView(ui::TableView&) {
    return int(sections_.size());
}

int ShareFormController::numberOfRowsInSection(ui::TableView&, int section) {
    return section >= 0 && section < sections_.size() ? int(sections_.at(section).fields.size())
                                                      : 0;
}

ui::TableViewCell* ShareFormController::cellForRowAtIndexPath(ui::TableView&, ui::IndexPath at) {
    const FormFieldSettings* field = fieldAt(at);
    if (field == nullptr) {
        return new ui::TableViewCell;
    }
    const QString key = field->key();
    const QString shown = shown_.value(key);
    auto* cell = new FormFieldCell(*field, values_.value(key),
                                   shown.isEmpty() ? field->placeholder() : shown);
    QStringList labels;
    for (const FormSection& section : std::as_const(sections_)) {
        for (const FormFieldSettings& each : section.fields) {
            if (each.isTextInput()) {
                labels.append(each.label());
            }
        }
    }
    cell->setLabelWidth(FormFieldCell::labelWidthFor(labels));
    cell->onValueChanged = [this, key](const QString& value) { values_.insert(key, value); };
    if (ui::TextField* text = cell->textField()) {
        text->setDelegate(this);
        // Ahead of the field's own handling, which would only end the editing.
        text->lineEdit()->installEventFilter(this);
    }
    return cell;
}

QString ShareFormController::titleForHeaderInSection(ui::TableView&, int section) {
    return section >= 0 && section < sections_.size() ? sections_.at(section).header : QString();
}

QString ShareFormController::titleForFooterInSection(ui::TableView&, int section) {
    return section >= 0 && section < sections_.size() ? sections_.at(section).footer : QString();
}

void ShareFormController::didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath at) {
    table.deselectRowAtIndexPath(at, true);
    const FormFieldSettings* field = fieldAt(at);
    if (field == nullptr) {
        return;
    }
    if (field->type() == FormFieldSettings::Type::Options) {
        openOptionPageForKey(field->key());
    } else if (ui::TextField* text = textFieldForKey(field->key())) {
        // A click beside a text field edits it.
        text->becomeFirstResponder();
    }
}

void ShareFormController::viewDidLoad() {
    view()->installEventFilter(this);
}

void ShareFormController::viewWillAppear(bool animated) {
    applyBarTint();
    ui::TableViewController::viewWillAppear(animated);
}

void ShareFormController::viewDidAppear(bool animated) {
    ui::TableViewController::viewDidAppear(animated);
    if (appeared_) {
        return;
    }
    appeared_ = true;
    const QList<ui::TextField*> fields = textFields();
    if (!fields.isEmpty()) {
        fields.first()->becomeFirstResponder();
    }
}

bool ShareFormController::textFieldShouldReturn(ui::TextField& field) {
    const QList<ui::TextField*> fields = textFields();
    const qsizetype at = fields.indexOf(&field);
    if (at >= 0 && at + 1 < fields.size()) {
        fields.at(at + 1)->becomeFirstResponder();
    } else if (rightButton_->isEnabled()) {
        // As the button would: not while the sharer has it turned off.
        validateForm();
    }
    // The form decides where the focus goes; the field keeps it while the delegate thinks.
    return false;
}

bool ShareFormController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        cancelForm();
        return true;
    }
    return ui::TableViewController::eventFilter(watched, event);
}

}  // namespace lumigrave::sharing
