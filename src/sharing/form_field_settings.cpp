#include "sharing/form_field_settings.h"

namespace lumigrave::sharing {

void FormOptionRequest::answer(const QStringList& titles, const QStringList& values) {
    if (!values.isEmpty() && values.size() != titles.size()) {
        fail(QStringLiteral("The choices could not be read."));
        return;
    }
    // Taken first: the page may close (and drop this request) while it takes the answer.
    Answer answer = std::move(answer_);
    answer_ = nullptr;
    if (answer) {
        answer(titles, values.isEmpty() ? titles : values, QString());
    }
}

void FormOptionRequest::fail(const QString& message) {
    Answer answer = std::move(answer_);
    answer_ = nullptr;
    if (answer) {
        answer({}, {},
               message.isEmpty() ? QStringLiteral("The choices could not be loaded.") : message);
    }
}

FormFieldSettings::FormFieldSettings(const QString& label, const QString& key, Type type,
                                     const QString& startValue)
    : label_(label), key_(key), type_(type), startValue_(startValue), optionTitle_(label) {}

void FormFieldSettings::setOptions(const QStringList& titles, const QStringList& values) {
    options_ = titles;
    optionValues_ = values.size() == titles.size() ? values : QStringList();
}

QStringList FormFieldSettings::chosenValues(const QString& value) const {
    if (value.isEmpty()) {
        return {};
    }
    if (!multiple_) {
        return {value};
    }
    QStringList chosen;
    for (const QString& part : value.split(QLatin1Char(','))) {
        if (!part.isEmpty() && !chosen.contains(part)) {
            chosen.append(part);
        }
    }
    return chosen;
}

QString FormFieldSettings::joinChoices(const QStringList& values) {
    return values.join(QLatin1Char(','));
}

QString FormFieldSettings::displayText(const QStringList& chosen, const QStringList& titles,
                                       const QStringList& values) {
    QStringList shown;
    for (const QString& value : chosen) {
        const qsizetype at = values.indexOf(value);
        shown.append(at >= 0 && at < titles.size() ? titles.at(at) : value);
    }
    return shown.join(QStringLiteral(", "));
}

}  // namespace lumigrave::sharing
