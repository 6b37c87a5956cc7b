// Option fields and their pages: one choice or several, fixed choices or choices a
// provider fetches late, fails to fetch, or is told to forget when the page closes first.
#include "form_fixture.h"
#include "ui/activity_indicator_view.h"

namespace lumigrave::sharing::test {
namespace {

using Mark = ui::TableViewCell::AccessoryType;

FormFieldSettings privacy(const QString& start = "friends") {
    FormFieldSettings field("Privacy", "privacy", Type::Options, start);
    field.setOptionTitle("Who sees it");
    field.setOptions({"Everyone", "Friends", "Only me"}, {"everyone", "friends", "self"});
    return field;
}

FormFieldSettings groups(FormOptionProvider* provider, const QString& start = QString()) {
    FormFieldSettings field("Groups", "groups", Type::Options, start);
    field.setAllowsMultipleChoices(true);
    field.setOptionProvider(provider);
    return field;
}

class OptionTest : public FormTest {
  protected:
    void showForm(const QList<FormFieldSettings>& options) {
        auto* form = new ShareFormController("Flickr", "Send to Flickr", &delegate_);
        form->addSection({FormFieldSettings("Title", "title", Type::Text, "Photo")});
        form->addSection(options);
        show(form);
    }
    // Opens the page of the option row as the user does.
    FormOptionController* open(int row) {
        clickRow(cell(1, row));
        return form_->openOptionPage();
    }
    ui::TableViewCell* option(FormOptionController* page, int row) {
        return page->tableView()->cellForRowAtIndexPath({0, row});
    }
    std::vector<Mark> marks(FormOptionController* page) {
        std::vector<Mark> found;
        for (int row = 0; row < page->tableView()->numberOfRowsInSection(0); ++row) {
            found.push_back(option(page, row)->accessoryType());
        }
        return found;
    }
    QString shownChoice(int row) {
        auto* field = dynamic_cast<FormFieldCell*>(cell(1, row));
        return field != nullptr && field->detailLabel() != nullptr ? field->detailLabel()->text()
                                                                   : QString("(no choice label)");
    }
};

TEST_F(OptionTest, TheRowShowsTheChoiceAndOpensAPageWithItsMark) {
    showForm({privacy()});
    EXPECT_EQ(cell(1, 0)->textLabel()->text(), "Privacy");
    EXPECT_EQ(cell(1, 0)->accessoryType(), Mark::DisclosureIndicator);
    EXPECT_EQ(shownChoice(0), "Friends");
    EXPECT_EQ(form_->openOptionPage(), nullptr);

    FormOptionController* page = open(0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(navigation_->topViewController(), page);
    EXPECT_EQ(barTitle(), "Who sees it");
    EXPECT_EQ(page->tableView()->style(), ui::TableView::Style::Plain);
    ASSERT_EQ(page->tableView()->numberOfRowsInSection(0), 3);
    EXPECT_EQ(option(page, 2)->textLabel()->text(), "Only me");
    EXPECT_EQ(marks(page), (std::vector<Mark>{Mark::None, Mark::Checkmark, Mark::None}));
}

TEST_F(OptionTest, OneChoiceTakesTheClickedRowAndGoesBackToTheForm) {
    showForm({privacy()});
    FormOptionController* page = open(0);
    ASSERT_NE(page, nullptr);
    clickRow(option(page, 2));
    flushDeletes();
    EXPECT_EQ(navigation_->topViewController(), form_);
    EXPECT_EQ(form_->valueForKey("privacy"), "self");
    EXPECT_EQ(shownChoice(0), "Only me");
    EXPECT_EQ(barTitle(), "Flickr");

    // Opened again, the page marks the new choice.
    page = open(0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(marks(page), (std::vector<Mark>{Mark::None, Mark::None, Mark::Checkmark}));
}

TEST_F(OptionTest, SeveralChoicesToggleTheirMarksAndJoinInThePagesOrder) {
    FormFieldSettings field = privacy("self");
    field.setAllowsMultipleChoices(true);
    showForm({field});
    FormOptionController* page = open(0);
    ASSERT_NE(page, nullptr);
    clickRow(option(page, 0));
    // The page stays for more choices.
    EXPECT_EQ(navigation_->topViewController(), page);
    EXPECT_EQ(form_->valueForKey("privacy"), "everyone,self");
    clickRow(option(page, 1));
    clickRow(option(page, 2));
    EXPECT_EQ(marks(page), (std::vector<Mark>{Mark::Checkmark, Mark::Checkmark, Mark::None}));
    EXPECT_EQ(form_->valueForKey("privacy"), "everyone,friends");

    // Back keeps them; so does Escape, which goes back and does not cancel the form.
    press(page->view(), Qt::Key_Escape);
    flushDeletes();
    EXPECT_EQ(navigation_->topViewController(), form_);
    EXPECT_TRUE(delegate_.calls.empty());
    EXPECT_EQ(shownChoice(0), "Everyone, Friends");
    EXPECT_EQ(form_->formValues().value("privacy"), "everyone,friends");

    // Every mark off: the empty string.
    page = open(0);
    ASSERT_NE(page, nullptr);
    clickRow(option(page, 0));
    clickRow(option(page, 1));
    EXPECT_EQ(form_->valueForKey("privacy"), "");
}

TEST_F(OptionTest, TheWorkflowClosesAnOpenPageAndKeepsItsChoices) {
    FormFieldSettings field = privacy("");
    field.setAllowsMultipleChoices(true);
    showForm({field});
    EXPECT_FALSE(form_->closeOptionPage());
    FormOptionController* page = open(0);
    ASSERT_NE(page, nullptr);
    clickRow(option(page, 1));
    EXPECT_TRUE(form_->closeOptionPage());
    EXPECT_EQ(form_->openOptionPage(), nullptr);
    EXPECT_EQ(navigation_->topViewController(), form_);
    EXPECT_EQ(form_->formValues().value("privacy"), "friends");

    // Saving with a page open closes it first and hands over its choices.
    page = form_->openOptionPageForKey("privacy", false);
    ASSERT_NE(page, nullptr);
    clickRow(option(page, 2));
    form_->saveForm();
    EXPECT_EQ(navigation_->topViewController(), form_);
    EXPECT_EQ(delegate_.calls, (Calls{"save"}));
    EXPECT_EQ(delegate_.saved.value("privacy"), "friends,self");
    // Only option fields open pages.
    EXPECT_EQ(form_->openOptionPageForKey("title"), nullptr);
    EXPECT_EQ(form_->openOptionPageForKey("missing"), nullptr);
}

TEST_F(OptionTest, AProviderAnsweringLateReplacesLoadingWithItsChoices) {
    ManualProvider provider;
    showForm({groups(&provider, "g2")});
    // Before the choices are known the row shows the value as it is.
    EXPECT_EQ(shownChoice(0), "g2");
    EXPECT_TRUE(provider.requests.empty());
    FormOptionController* page = open(0);
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(provider.requests.size(), 1u);
    EXPECT_EQ(page->state(), FormOptionController::State::Loading);
    ASSERT_EQ(page->tableView()->numberOfRowsInSection(0), 1);
    EXPECT_EQ(option(page, 0)->textLabel()->text(), "Loading...");
    auto* spinner = option(page, 0)->findChild<ui::ActivityIndicatorView*>();
    ASSERT_NE(spinner, nullptr);
    EXPECT_TRUE(spinner->isAnimating());
    // A click on "Loading..." chooses nothing.
    clickRow(option(page, 0));
    EXPECT_EQ(form_->valueForKey("groups"), "g2");

    provider.requests[0]->answer({"Birds", "Lakes", "Towns"}, {"g1", "g2", "g3"});
    settle();
    EXPECT_EQ(page->state(), FormOptionController::State::Loaded);
    ASSERT_EQ(page->tableView()->numberOfRowsInSection(0), 3);
    EXPECT_EQ(option(page, 1)->textLabel()->text(), "Lakes");
    EXPECT_EQ(marks(page), (std::vector<Mark>{Mark::None, Mark::Checkmark, Mark::None}));
    clickRow(option(page, 2));
    EXPECT_EQ(form_->valueForKey("groups"), "g2,g3");
    EXPECT_TRUE(form_->closeOptionPage());
    EXPECT_EQ(shownChoice(0), "Lakes, Towns");
    // An answer the page has had already is not asked to stop.
    EXPECT_EQ(provider.cancels, 0);
}

TEST_F(OptionTest, APageClosedBeforeTheAnswerCancelsTheFetchAndDropsALateAnswer) {
    ManualProvider provider;
    showForm({groups(&provider, "g1")});
    QPointer<FormOptionController> page = open(0);
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(provider.requests.size(), 1u);
    std::shared_ptr<FormOptionRequest> late = provider.requests[0];

    // Back, before the provider answers.
    QWidget* back = navigation_->navigationBar()->leftWidget();
    ASSERT_NE(back, nullptr);
    QTest::mouseClick(back, Qt::LeftButton);
    settle();
    EXPECT_EQ(provider.cancels, 1);
    EXPECT_TRUE(late->isFinished());
    flushDeletes();
    EXPECT_TRUE(page.isNull());

    // The answer comes after all: nothing is written anywhere.
    late->answer({"Birds"}, {"g9"});
    late->fail("too late");
    settle();
    EXPECT_EQ(form_->valueForKey("groups"), "g1");
    EXPECT_EQ(shownChoice(0), "g1");
    EXPECT_EQ(provider.cancels, 1);

    // A page open when the whole sharer goes cancels its fetch too.
    ASSERT_NE(open(0), nullptr);
    ASSERT_EQ(provider.requests.size(), 2u);
    screen_.dismissModalViewControllerAnimated(false);
    flushDeletes();
    EXPECT_EQ(provider.cancels, 2);
    provider.requests[1]->answer({"Birds"});
    settle();
}

TEST_F(OptionTest, AProviderGoneBeforeThePageIsNotCalledAgain) {
    auto provider = std::make_unique<ManualProvider>();
    showForm({groups(provider.get())});
    ASSERT_NE(open(0), nullptr);
    std::shared_ptr<FormOptionRequest> request = provider->requests[0];
    provider.reset();
    // Closing the page must not reach the provider that is gone.
    EXPECT_TRUE(form_->closeOptionPage());
    flushDeletes();
    EXPECT_TRUE(request->isFinished());
}

TEST_F(OptionTest, AFailedOrAnImmediateAnswerShowsOnThePage) {
    ManualProvider provider;
    provider.answerAtOnce = [](FormOptionRequest& request) {
        request.fail("Could not load your groups.");
    };
    showForm({groups(&provider)});
    FormOptionController* page = open(0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->state(), FormOptionController::State::Failed);
    ASSERT_EQ(page->tableView()->numberOfRowsInSection(0), 1);
    EXPECT_EQ(option(page, 0)->textLabel()->text(), "Could not load your groups.");
    clickRow(option(page, 0));
    EXPECT_EQ(form_->valueForKey("groups"), "");
    EXPECT_TRUE(form_->closeOptionPage());

    // Values that do not pair with the titles are a failure, not a crash.
    provider.answerAtOnce = [](FormOptionRequest& request) {
        request.answer({"Birds", "Lakes"}, {"g1"});
    };
    page = open(0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->state(), FormOptionController::State::Failed);
    EXPECT_FALSE(page->failureMessage().isEmpty());
    EXPECT_TRUE(form_->closeOptionPage());

    // Answered at once: the choices are there as the page shows.
    provider.answerAtOnce = [](FormOptionRequest& request) { request.answer({"Birds", "Lakes"}); };
    page = open(0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->state(), FormOptionController::State::Loaded);
    clickRow(option(page, 1));
    EXPECT_EQ(form_->valueForKey("groups"), "Lakes");
    EXPECT_EQ(provider.cancels, 0);
}

}  // namespace
}  // namespace lumigrave::sharing::test
