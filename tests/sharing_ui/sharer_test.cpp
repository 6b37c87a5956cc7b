// The share workflow around a service: the login form, the editing form and auto share,
// the offline queue and alerts, the reports with their indicator, alerts and
// notifications, and an item kept across a login in another application.
#include "sharer_fixture.h"

#include "platform/user_defaults.h"
#include "sharing/offline_queue.h"

namespace lumigrave::sharing::test {
namespace {

TEST_F(SharerTest, ALinkShowsItsFormWithTheTitleTheLinkAndAutoShare) {
    QPointer<Sharer> sharer = share(link(QString()));
    ShareFormController* shown = form(sharer);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->title(), "Test");
    EXPECT_EQ(shown->rightButton()->title(), "Send to Test");
    ASSERT_EQ(shown->sections().size(), 2);
    const FormSection& fields = shown->sections()[0];
    ASSERT_EQ(fields.fields.size(), 1);
    EXPECT_EQ(fields.fields[0].label(), "Title");
    EXPECT_EQ(fields.fields[0].key(), "title");
    EXPECT_EQ(shown->valueForKey("title"), "") << "an empty title stays empty";
    EXPECT_EQ(fields.footer, "https://lumigrave.app/?a=1");
    const FormSection& autoShare = shown->sections()[1];
    EXPECT_EQ(autoShare.fields[0].label(), "Auto Share");
    EXPECT_EQ(autoShare.fields[0].type(), FormFieldSettings::Type::Switch);
    EXPECT_EQ(autoShare.footer, "Enable auto share to skip this step in the future.");
    EXPECT_TRUE(service_.sent.empty());
    // Presented over the application's navigation controller.
    EXPECT_EQ(navigation_->modalViewController(), sharer.data());
}

TEST_F(SharerTest, AnImageNeedsNoFormAndIsSentAtOnce) {
    QPointer<Sharer> sharer = share(picture());
    EXPECT_EQ(form(sharer), nullptr);
    ASSERT_EQ(service_.sent.size(), 1u);
    EXPECT_EQ(service_.sent[0].title(), "Created by Lumigrave");
}

TEST_F(SharerTest, TheFormsValuesGoIntoTheItemAndTheSendFollows) {
    QPointer<Sharer> sharer = share(link());
    ShareFormController* shown = form(sharer);
    ASSERT_NE(shown, nullptr);
    shown->setValueForKey("title", "A better title");
    shown->validateForm();
    settle();
    ASSERT_EQ(service_.sent.size(), 1u);
    EXPECT_EQ(service_.sent[0].title(), "A better title");
    EXPECT_FALSE(sharer && sharer->isPresented()) << "the form stays while sending";
    EXPECT_FALSE(UserDefaults().boolForKey("TestSharer_shouldAutoShare"));
}

TEST_F(SharerTest, WithAutoShareOnTheSecondShareSkipsTheForm) {
    QPointer<Sharer> first = share(link());
    ASSERT_NE(form(first), nullptr);
    form(first)->setValueForKey("autoShare", "1");
    form(first)->validateForm();
    settle();
    EXPECT_TRUE(UserDefaults().boolForKey("TestSharer_shouldAutoShare"));
    ASSERT_EQ(service_.sent.size(), 1u);

    QPointer<Sharer> second = share(link("Again"));
    EXPECT_EQ(form(second), nullptr);
    ASSERT_EQ(service_.sent.size(), 2u);
    EXPECT_EQ(service_.sent[1].title(), "Again");
}

TEST_F(SharerTest, CancellingTheFormEndsTheShareWithItsNotification) {
    QPointer<Sharer> sharer = share(link());
    ASSERT_NE(form(sharer), nullptr);
    form(sharer)->cancelForm();
    settle();
    EXPECT_TRUE(service_.sent.empty());
    EXPECT_EQ(notes_, QStringList{Sharer::kSendDidCancelNotification});
    EXPECT_TRUE(ended(sharer));
    EXPECT_EQ(navigation_->modalViewController(), nullptr);
}

TEST_F(SharerTest, OfflineTheShareIsQueuedWithNoFormAndNoAlert) {
    Reachability::setForcedConnected(false);
    QPointer<Sharer> sharer = share(picture());
    EXPECT_EQ(form(sharer), nullptr);
    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_TRUE(service_.sent.empty());
    const std::vector<OfflineQueueEntry> queued = OfflineQueue().entries();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].sharerId, "TestSharer");
    EXPECT_TRUE(ended(sharer));
}

TEST_F(SharerTest, OfflineWithoutTheQueueTheUserIsToldToGoOnline) {
    Reachability::setForcedConnected(false);
    service_.offlineOk = false;
    QPointer<Sharer> sharer = share(picture());
    EXPECT_EQ(alertTexts(),
              QStringList({"Offline", "You must be online in order to share with Test"}));
    EXPECT_EQ(ui::OnScreen::buttonTitles(*ui::OnScreen::top<ui::AlertView>()),
              QStringList{"Close"});
    EXPECT_FALSE(OfflineQueue().exists());
    EXPECT_TRUE(ended(sharer));
}

TEST_F(SharerTest, AServiceThatNeedsNoInternetSendsOffline) {
    Reachability::setForcedConnected(false);
    service_.needsInternet = false;
    share(picture());
    EXPECT_EQ(service_.sent.size(), 1u);
}

TEST_F(SharerTest, TheLoginFormKeepsTheLoginAndTheShareGoesOn) {
    service_.needsLogin = true;
    QPointer<Sharer> sharer = share(link());
    ShareFormController* login = form(sharer);
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(login->title(), "Login");
    ASSERT_EQ(login->sections().size(), 1);
    ASSERT_EQ(login->sections()[0].fields.size(), 2);
    EXPECT_EQ(login->sections()[0].fields[0].label(), "Username");
    EXPECT_EQ(login->sections()[0].fields[1].key(), "password");
    EXPECT_EQ(login->sections()[0].fields[1].type(), FormFieldSettings::Type::Password);
    EXPECT_EQ(sharer->pendingAction(), Sharer::PendingShare);

    login->setValueForKey("username", "ann");
    login->setValueForKey("password", "pässword");
    login->validateForm();
    settle();
    EXPECT_EQ(sharer->authValueForKey("password"), QString("pässword"));
    EXPECT_TRUE(sharer->isAuthorized());
    EXPECT_EQ(sharer->pendingAction(), Sharer::PendingNone);
    // The pending share went on: now the editing form shows.
    ShareFormController* edit = form(sharer);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->rightButton()->title(), "Send to Test");
    EXPECT_TRUE(notes_.contains(Sharer::kAuthDidFinishNotification));
}

TEST_F(SharerTest, LoggingInOfflineSaysTheUserMustBeOnline) {
    service_.needsLogin = true;
    Reachability::setForcedConnected(false);
    QPointer<Sharer> sharer = share(link());
    EXPECT_EQ(form(sharer), nullptr);
    EXPECT_EQ(alertTexts(), QStringList({"Offline", "You must be online to login to Test"}));
    EXPECT_TRUE(ended(sharer));
}

TEST_F(SharerTest, ASendShowsSavingThenSavedAndHidesItself) {
    ShareActivityIndicator* indicator = ShareActivityIndicator::currentIndicator();
    QPointer<Sharer> sharer;
    service_.onSend = [&](Sharer& running) {
        EXPECT_TRUE(indicator->isShown());
        EXPECT_EQ(indicator->subMessage(), "Saving to Test");
        running.sendDidFinish();
    };
    sharer = share(picture());
    EXPECT_EQ(indicator->centreMessage(), "✓");
    EXPECT_EQ(indicator->subMessage(), "Saved!");
    ManualScheduler::current()->advance(ShareActivityIndicator::kCompletedSeconds);
    settle();
    EXPECT_FALSE(indicator->isShown());
    EXPECT_EQ(notes_,
              QStringList({Sharer::kSendDidStartNotification, Sharer::kSendDidFinishNotification}));
    EXPECT_TRUE(ended(sharer));
}

TEST_F(SharerTest, AFailureIsShownInTheServicesWordsOrTheLibrarys) {
    service_.onSend = [](Sharer& running) {
        running.sendDidFailWithError(ShareCenter::error("The photo is too large."));
    };
    QPointer<Sharer> sharer = share(picture());
    EXPECT_EQ(alertTexts(), QStringList({"Error", "The photo is too large."}));
    EXPECT_FALSE(ShareActivityIndicator::currentIndicator()->isShown());
    EXPECT_TRUE(ended(sharer));
    ui::OnScreen::top<ui::AlertView>()->dismissWithClickedButtonIndex(0, false);
    settle();

    service_.onSend = [](Sharer& running) { running.sendDidFailWithError(ShareError{}); };
    share(picture());
    EXPECT_EQ(alertTexts(), QStringList({"Error", "There was an error while sharing"}));
    ui::OnScreen::top<ui::AlertView>()->dismissWithClickedButtonIndex(0, false);
    settle();

    service_.onSend = [](Sharer& running) { running.sendShowSimpleErrorAlert(); };
    share(picture());
    EXPECT_EQ(alertTexts(), QStringList({"Error", "There was a problem saving to Test"}));
}

TEST_F(SharerTest, AQuietSharerShowsNothing) {
    service_.onSend = [](Sharer& running) {
        running.sendDidFailWithError(ShareCenter::error("No."));
    };
    auto* sharer = new TestSharer;
    sharer->setQuiet(true);
    Sharer::shareItem(sharer, picture());
    settle();
    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_FALSE(ShareActivityIndicator::currentIndicator()->isShown());
}

TEST_F(SharerTest, ARejectedLoginAsksForANewOneWithoutAnErrorAlert) {
    service_.needsLogin = true;
    ASSERT_TRUE(Keychain::setPassword("SHARE_AUTH_TestSharer", "username", "ann", nullptr));
    int sends = 0;
    service_.onSend = [&sends](Sharer& running) {
        if (++sends == 1) {
            running.shouldReloginWithPendingAction(Sharer::PendingShare);
        }
    };
    QPointer<Sharer> sharer = share(picture());
    ASSERT_EQ(sends, 1);
    EXPECT_TRUE(alertTexts().isEmpty()) << "the login form says it all";
    ShareFormController* login = form(sharer);
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(login->title(), "Login");
    login->setValueForKey("username", "ann");
    login->setValueForKey("password", "right");
    login->validateForm();
    settle();
    EXPECT_EQ(sends, 2) << "the share went on after the new login";
}

TEST_F(SharerTest, AnItemKeptAcrossALoginComesBackOnceWithItsPicture) {
    auto* keeper = new TestSharer;
    keeper->setItem(picture());
    ASSERT_TRUE(keeper->saveItemForLater(Sharer::PendingShare));
    delete keeper;

    TestSharer restorer;
    ASSERT_TRUE(restorer.restoreItem());
    EXPECT_EQ(restorer.pendingAction(), Sharer::PendingShare);
    EXPECT_EQ(restorer.item().shareType(), ShareTypeImage);
    EXPECT_EQ(restorer.item().title(), "Created by Lumigrave");
    EXPECT_EQ(restorer.item().image().pixels().pixel(1, 1), QColor(Qt::darkCyan).rgb());
    EXPECT_FALSE(restorer.restoreItem()) << "restored once only";
}

}  // namespace
}  // namespace lumigrave::sharing::test
