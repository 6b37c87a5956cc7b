#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "sharing/form_field_settings.h"
#include "ui/table_view_controller.h"

namespace lumigrave::sharing {

// The page of an option field: a plain table of the choices with a check mark on each
// chosen one. With one choice allowed, a click chooses the row and goes back to the form;
// with several, each click turns its row's mark on or off and the page stays until the
// user goes back (Back, or Escape). Every choice reaches the form at once, so leaving the
// page in any way keeps what was chosen.
//
// Choices that are not fixed come from the field's provider: the page asks as it is first
// shown and lists "Loading..." until the answer, or the provider's message when it fails.
// A page that closes before the answer cancels the fetch, and an answer that comes later
// is dropped.
class FormOptionController : public ui::TableViewController {
    Q_OBJECT
  public:
    enum class State { Loading, Loaded, Failed };
    // The field's new value and what the form's row shows for it.
    using ChoiceChanged = std::function<void(const QString& value, const QString& shown)>;

    FormOptionController(const FormFieldSettings& field, const QString& value,
                         ChoiceChanged onChoice, QObject* parent = nullptr);
    ~FormOptionController() override;

    const FormFieldSettings& field() const { return field_; }
    State state() const { return state_; }
    QStringList titles() const { return titles_; }
    QStringList values() const { return values_; }
    // The chosen values, in the page's order once its choices are known.
    QStringList chosenValues() const { return chosen_; }
    // The failure's message; empty unless the state is Failed.
    QString failureMessage() const { return failure_; }
    // True while the provider has been asked and has not answered.
    bool isFetching() const { return request_ != nullptr; }

    int numberOfRowsInSection(ui::TableView& table, int section) override;
    ui::TableViewCell* cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath at) override;
    void didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath at) override;

    void viewWillDisappear(bool animated) override;

  protected:
    void viewDidLoad() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void fetch();
    void answered(const QStringList& titles, const QStringList& values, const QString& failure);
    void cancelFetch();
    void reportChoice();

    FormFieldSettings field_;
    ChoiceChanged onChoice_;
    State state_ = State::Loading;
    QStringList titles_;
    QStringList values_;
    QStringList chosen_;
    QString failure_;
    std::shared_ptr<FormOptionRequest> request_;
    std::weak_ptr<int> providerLifetime_;
};

}  // namespace lumigrave::sharing
