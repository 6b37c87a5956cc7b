#include "sharing/ui/form_option_controller.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPointer>

#include "ui/activity_indicator_view.h"
#include "ui/navigation_controller.h"

namespace lumigrave::sharing {

namespace {

// The row shown while the choices are fetched: the words and a spinner at its right end.
class LoadingCell : public ui::TableViewCell {
  public:
    LoadingCell()
        : ui::TableViewCell(Style::Default, QStringLiteral("Loading")),
          spinner_(new ui::ActivityIndicatorView(ui::ActivityIndicatorView::Style::Gray,
                                                 contentView())) {
        textLabel()->setText(FormOptionController::tr("Loading..."));
        spinner_->setObjectName(QStringLiteral("loadingIndicator"));
        spinner_->startAnimating();
    }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        ui::TableViewCell::resizeEvent(event);
        spinner_->setGeometry(contentView()->width() - 30, (height() - 20) / 2, 20, 20);
    }

  private:
    ui::ActivityIndicatorView* spinner_;
};

}  // namespace

FormOptionController::FormOptionController(const FormFieldSettings& field, const QString& value,
                                           ChoiceChanged onChoice, QObject* parent)
    : ui::TableViewController(ui::TableView::Style::Plain, parent),
      field_(field),
      onChoice_(std::move(onChoice)),
      chosen_(field.chosenValues(value)) {
    setTitle(field.optionTitle());
    if (field.optionProvider() == nullptr) {
        state_ = State::Loaded;
        titles_ = field.options();
        values_ = field.optionValues();
    }
}

FormOptionController::~FormOptionController() {
    cancelFetch();
}

void FormOptionController::viewDidLoad() {
    view()->installEventFilter(this);
    fetch();
}

void FormOptionController::fetch() {
    FormOptionProvider* provider = field_.optionProvider();
    if (provider == nullptr || request_ != nullptr || state_ != State::Loading) {
        return;
    }
    QPointer<FormOptionController> page(this);
    request_ = std::make_shared<FormOptionRequest>(
        [page](const QStringList& titles, const QStringList& values, const QString& failure) {
            if (page) {
                page->answered(titles, values, failure);
            }
        });
    providerLifetime_ = provider->lifetime();
    // Held here too: a provider answering at once clears request_ on the way.
    std::shared_ptr<FormOptionRequest> request = request_;
    provider->fetchOptions(field_, request);
}

void FormOptionController::answered(const QStringList& titles, const QStringList& values,
                                    const QString& failure) {
    request_.reset();
    if (!failure.isEmpty()) {
        state_ = State::Failed;
        failure_ = failure;
    } else {
        state_ = State::Loaded;
        titles_ = titles;
        values_ = values;
        // Kept in the page's order; a start value the provider no longer lists stays chosen.
        QStringList ordered;
        for (const QString& value : values_) {
            if (chosen_.contains(value)) {
                ordered.append(value);
            }
        }
        for (const QString& value : std::as_const(chosen_)) {
            if (!ordered.contains(value)) {
                ordered.append(value);
            }
        }
        chosen_ = ordered;
        // The form's row can name the choice now that its title is known.
        reportChoice();
    }
    if (isViewLoaded()) {
        tableView()->reloadData();
    }
}

void FormOptionController::cancelFetch() {
    if (request_ == nullptr) {
        return;
    }
    std::shared_ptr<FormOptionRequest> request = std::move(request_);
    request->cancel();
    FormOptionProvider* provider = field_.optionProvider();
    if (provider != nullptr && !providerLifetime_.expired()) {
        provider->cancelFetch(field_, request);
    }
}

void FormOptionController::viewWillDisappear(bool animated) {
    // Nothing is ever pushed over the page: leaving the screen is closing.
    cancelFetch();
    ui::TableViewController::viewWillDisappear(animated);
}

int FormOptionController::numberOfRowsInSection(ui::TableView&, int) {
    return state_ == State::Loaded ? int(titles_.size()) : 1;
}

ui::TableViewCell* FormOptionController::cellForRowAtIndexPath(ui::TableView&, ui::IndexPath at) {
    if (state_ == State::Loading) {
        return new LoadingCell;
    }
    auto* cell = new ui::TableViewCell(ui::TableViewCell::Style::Default, QStringLiteral("Option"));
    if (state_ == State::Failed) {
        cell->textLabel()->setText(failure_);
    } else {
        cell->textLabel()->setText(titles_.value(at.row));
        if (chosen_.contains(values_.value(at.row))) {
            cell->setAccessoryType(ui::TableViewCell::AccessoryType::Checkmark);
        }
    }
    return cell;
}

void FormOptionController::didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath at) {
    table.deselectRowAtIndexPath(at, true);
    if (state_ != State::Loaded || at.row < 0 || at.row >= values_.size()) {
        return;
    }
    const QString value = values_.at(at.row);
    if (field_.allowsMultipleChoices()) {
        if (chosen_.contains(value)) {
            chosen_.removeAll(value);
        } else {
            // In the page's order, whatever the order of the clicks.
            QStringList ordered;
            for (const QString& listed : std::as_const(values_)) {
                if (listed == value || chosen_.contains(listed)) {
                    ordered.append(listed);
                }
            }
            for (const QString& other : std::as_const(chosen_)) {
                if (!ordered.contains(other)) {
                    ordered.append(other);
                }
            }
            chosen_ = ordered;
        }
    } else {
        chosen_ = QStringList{value};
    }
    QPointer<FormOptionController> alive(this);
    reportChoice();
    if (!alive) {
        return;
    }
    if (isViewLoaded()) {
        // Only the marks change; the rows stay where they are.
        for (int row = 0; row < values_.size(); ++row) {
            if (ui::TableViewCell* cell = table.cellForRowAtIndexPath({0, row})) {
                cell->setAccessoryType(chosen_.contains(values_.at(row))
                                           ? ui::TableViewCell::AccessoryType::Checkmark
                                           : ui::TableViewCell::AccessoryType::None);
            }
        }
    }
    if (!field_.allowsMultipleChoices() && navigationController() != nullptr) {
        navigationController()->popViewControllerAnimated(true);
    }
}

void FormOptionController::reportChoice() {
    if (onChoice_) {
        onChoice_(FormFieldSettings::joinChoices(chosen_),
                  FormFieldSettings::displayText(chosen_, titles_, values_));
    }
}

bool FormOptionController::eventFilter(QObject* watched, QEvent* event) {
    // Escape goes back to the form, as Back does.
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        navigationController() != nullptr) {
        navigationController()->popViewControllerAnimated(true);
        return true;
    }
    return ui::TableViewController::eventFilter(watched, event);
}

}  // namespace lumigrave::sharing
