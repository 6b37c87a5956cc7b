// A form field's value strings: choices split and joined, the text a row shows for them,
// and the one-shot answer of a fetch.
#include <gtest/gtest.h>

#include "sharing/form_field_settings.h"
#include "support/widget_test_support.h"

namespace lumigrave::sharing {
namespace {

struct ChoiceRow {
    bool multiple;
    QString value;
    QStringList chosen;
};

class ChosenValues : public ::testing::TestWithParam<ChoiceRow> {};

TEST_P(ChosenValues, SplitAsTheFieldAllows) {
    FormFieldSettings field("Groups", "groups", FormFieldSettings::Type::Options);
    field.setAllowsMultipleChoices(GetParam().multiple);
    EXPECT_EQ(field.chosenValues(GetParam().value), GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ChosenValues,
    ::testing::Values(ChoiceRow{false, "", {}}, ChoiceRow{false, "a", {"a"}},
                      // One choice is the whole value, commas and all.
                      ChoiceRow{false, "a,b", {"a,b"}}, ChoiceRow{true, "", {}},
                      ChoiceRow{true, "a", {"a"}}, ChoiceRow{true, "a,b", {"a", "b"}},
                      // Empty parts and repeats, as a hand-edited value may hold, go.
                      ChoiceRow{true, ",a,,b,", {"a", "b"}}, ChoiceRow{true, "b,a,b", {"b", "a"}}));

TEST(FormFieldSettings, ChoicesJoinWithCommasAndShowByTheirTitles) {
    EXPECT_EQ(FormFieldSettings::joinChoices({}), "");
    EXPECT_EQ(FormFieldSettings::joinChoices({"g1", "g3"}), "g1,g3");
    const QStringList titles{"Birds", "Lakes"};
    const QStringList values{"g1", "g2"};
    EXPECT_EQ(FormFieldSettings::displayText({"g2", "g1"}, titles, values), "Lakes, Birds");
    // A value that is not listed (the choices are not fetched yet) shows as it is.
    EXPECT_EQ(FormFieldSettings::displayText({"g1", "g7"}, titles, values), "Birds, g7");
    EXPECT_EQ(FormFieldSettings::displayText({}, titles, values), "");
    EXPECT_EQ(FormFieldSettings::switchValue(true), "1");
    EXPECT_EQ(FormFieldSettings::switchValue(false), "0");
}

TEST(FormFieldSettings, OptionValuesDefaultToTheTitlesAndMustPairWithThem) {
    FormFieldSettings field("Privacy", "privacy", FormFieldSettings::Type::Options);
    EXPECT_EQ(field.optionTitle(), "Privacy");
    field.setOptions({"Everyone", "Friends"});
    EXPECT_EQ(field.optionValues(), (QStringList{"Everyone", "Friends"}));
    field.setOptions({"Everyone", "Friends"}, {"all", "friends"});
    EXPECT_EQ(field.optionValues(), (QStringList{"all", "friends"}));
    // Values that do not pair with the titles are not used.
    field.setOptions({"Everyone", "Friends"}, {"all"});
    EXPECT_EQ(field.optionValues(), (QStringList{"Everyone", "Friends"}));
    EXPECT_TRUE(FormFieldSettings("A", "a", FormFieldSettings::Type::Password).isTextInput());
    EXPECT_FALSE(FormFieldSettings("A", "a", FormFieldSettings::Type::Switch).isTextInput());
}

TEST(FormOptionRequest, AnswersOnceAndNotAtAllAfterTheAskerLeft) {
    int answers = 0;
    QStringList lastValues;
    QString lastFailure;
    auto request = std::make_shared<FormOptionRequest>(
        [&](const QStringList&, const QStringList& values, const QString& failure) {
            ++answers;
            lastValues = values;
            lastFailure = failure;
        });
    EXPECT_FALSE(request->isFinished());
    request->answer({"Birds"});
    EXPECT_EQ(lastValues, (QStringList{"Birds"}));
    EXPECT_TRUE(request->isFinished());
    request->answer({"Lakes"});
    request->fail("late");
    EXPECT_EQ(answers, 1);

    FormOptionRequest failing([&](const QStringList&, const QStringList&, const QString& failure) {
        ++answers;
        lastFailure = failure;
    });
    // A failure always has something to say.
    failing.fail(QString());
    EXPECT_EQ(answers, 2);
    EXPECT_FALSE(lastFailure.isEmpty());

    FormOptionRequest cancelled(
        [&](const QStringList&, const QStringList&, const QString&) { ++answers; });
    cancelled.cancel();
    cancelled.answer({"Birds"});
    EXPECT_EQ(answers, 2);
}

}  // namespace
}  // namespace lumigrave::sharing
