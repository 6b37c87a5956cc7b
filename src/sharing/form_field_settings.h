#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// What a sharer's form asks for, without the widgets that ask: the fields, their kinds
// and start values, and the option pages' choices, fixed or fetched.
//
// Every value is a string: a text field's text; "1" or "0" for a switch; for an option
// field the chosen option's value, or, where several may be chosen, the chosen values in
// the order the page lists them joined with "," (no value of such a page may hold a
// comma). An option page with nothing chosen gives the empty string.
namespace lumigrave::sharing {

class FormFieldSettings;

// The answer to one fetch of an option page's choices. The page that asked holds it
// until the provider answers or the page closes; a provider may keep it as long as it
// likes and answer late: once the page is gone (or an answer was given) answering does
// nothing. Main thread only.
class FormOptionRequest {
  public:
    // titles: shown; values: given to the form (empty: the titles themselves).
    using Answer =
        std::function<void(const QStringList& titles, const QStringList& values, const QString&)>;

    explicit FormOptionRequest(Answer answer) : answer_(std::move(answer)) {}

    // The choices, as the page should list them. Values, when given, must be as many as
    // the titles; otherwise the answer counts as a failure.
    void answer(const QStringList& titles, const QStringList& values = {});
    // No choices could be had; the message is shown on the page.
    void fail(const QString& message);
    // True once the page has closed or an answer was given: nobody listens any more.
    bool isFinished() const { return !answer_; }

    // Called by the page as it closes.
    void cancel() { answer_ = nullptr; }

  private:
    Answer answer_;
};

// Fetches an option page's choices when they are not known beforehand (a service's list
// of the user's groups). An abstract class with defaulted virtuals: only the fetch must
// be given.
//
// A provider that goes away before the pages that use it is never called by them again.
class FormOptionProvider {
  public:
    FormOptionProvider() : alive_(std::make_shared<int>(0)) {}
    virtual ~FormOptionProvider() = default;
    FormOptionProvider(const FormOptionProvider&) = delete;
    FormOptionProvider& operator=(const FormOptionProvider&) = delete;

    // Starts fetching the choices of field's page, and answers through request, now or
    // later, on the main thread.
    virtual void fetchOptions(const FormFieldSettings& field,
                              std::shared_ptr<FormOptionRequest> request) = 0;
    // The page closed before the answer came: the provider may stop its work. The request
    // is finished already, so an answer given anyway is dropped.
    virtual void cancelFetch(const FormFieldSettings& field,
                             const std::shared_ptr<FormOptionRequest>& request) {
        Q_UNUSED(field);
        Q_UNUSED(request);
    }

    // Lets a page tell whether the provider still lives.
    std::weak_ptr<int> lifetime() const { return alive_; }

  private:
    std::shared_ptr<int> alive_;
};

// One field of a form: a label, the key its value is given under, its kind and its start
// value; for an option field, its page's settings.
class FormFieldSettings {
  public:
    enum class Type {
        Text,           // a line of text, corrected and capitalised as the desktop does
        TextNoCorrect,  // a name, a tag list: taken exactly as typed
        Password,       // hidden as it is typed
        Switch,         // on / off
        Options,        // a row showing the choice, opening a page of options
    };

    FormFieldSettings() = default;
    FormFieldSettings(const QString& label, const QString& key, Type type,
                      const QString& startValue = QString());

    QString label() const { return label_; }
    QString key() const { return key_; }
    Type type() const { return type_; }
    bool isTextInput() const {
        return type_ == Type::Text || type_ == Type::TextNoCorrect || type_ == Type::Password;
    }
    // A switch's start value is on when it is "1".
    QString startValue() const { return startValue_; }
    void setStartValue(const QString& value) { startValue_ = value; }

    // The option page of an Options field.
    QString optionTitle() const { return optionTitle_; }
    void setOptionTitle(const QString& title) { optionTitle_ = title; }
    bool allowsMultipleChoices() const { return multiple_; }
    void setAllowsMultipleChoices(bool multiple) { multiple_ = multiple; }
    // What an option field's row shows while nothing is chosen; empty: nothing.
    QString placeholder() const { return placeholder_; }
    void setPlaceholder(const QString& text) { placeholder_ = text; }
    // Fixed choices: the titles shown and the values given for them (empty: the titles).
    QStringList options() const { return options_; }
    QStringList optionValues() const { return optionValues_.isEmpty() ? options_ : optionValues_; }
    void setOptions(const QStringList& titles, const QStringList& values = {});
    // Where the choices come from when they are not fixed; not owned, and it must outlive
    // the form or the pages it opens must be closed first (a provider already gone is
    // simply not called).
    FormOptionProvider* optionProvider() const { return provider_; }
    void setOptionProvider(FormOptionProvider* provider) { provider_ = provider; }

    // A switch's value for on or off.
    static QString switchValue(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }
    // The values of a field value: one for a single choice, the parts between commas for
    // several (empty parts dropped); none for the empty string.
    QStringList chosenValues(const QString& value) const;
    // The field value for the chosen values, in the order of values (the page's order).
    static QString joinChoices(const QStringList& values);
    // What the form's row shows for a value: the titles of the chosen values, joined with
    // ", "; a value that is not among the known options shows as it is.
    static QString displayText(const QStringList& chosen, const QStringList& titles,
                               const QStringList& values);

  private:
    QString label_;
    QString key_;
    Type type_ = Type::Text;
    QString startValue_;
    QString optionTitle_;
    QString placeholder_;
    bool multiple_ = false;
    QStringList options_;
    QStringList optionValues_;
    FormOptionProvider* provider_ = nullptr;
};

}  // namespace lumigrave::sharing
