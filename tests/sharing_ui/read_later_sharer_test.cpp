// Saving a link to the read-later service against the service faked on 127.0.0.1: the
// login form, the editing form and the add call; a refused login asked for again; the
// service's other failures; a save made offline and sent at the next start.
#include "sharing/ui/read_later_sharer.h"

#include "sharer_fixture.h"
#include "sharing/offline_queue.h"
#include "sharing/ui/offline_flush.h"
#include "sharing/ui/sharer_registry.h"
#include "support/fake_http_server.h"
#include "support/log_capture.h"

namespace lumigrave::sharing::test {
namespace {

using lumigrave::test::FakeHttpServer;
using lumigrave::test::LogCapture;

const QString kKey = QStringLiteral("Zy8Xw7Vu6Ts5Rq4Po3Nm2Lk1Ji0Hg9Fe");

class ServiceAt : public DefaultShareConfigurator {
  public:
    explicit ServiceAt(QString base) : base_(std::move(base)) {}
    QString readItLaterURL() const override { return base_; }
    QString readItLaterKey() const override { return kKey; }

  private:
    QString base_;
};

class ReadLaterSharerTest : public SharerTest {
  protected:
    ReadLaterSharerTest() {
        EXPECT_TRUE(server_.listen());
        ShareConfiguration::sharedInstanceWithConfigurator(
            std::make_unique<ServiceAt>(server_.url("/v2")));
        server_.setResponse("/v2/add", FakeHttpServer::text(200, "200 OK"));
    }
    ~ReadLaterSharerTest() override { SharerRegistry::clear(); }

    QPointer<Sharer> shareLink(const QString& title) {
        QPointer<Sharer> sharer = Sharer::shareItem<ReadLaterSharer>(
            ShareItem::URL(QUrl("https://mm-apps.test/Lumigrave/?from=app&x=a+b"), title, 1));
        settle();
        return sharer;
    }
    static void logIn(ShareFormController* login, const QString& user, const QString& password) {
        ASSERT_NE(login, nullptr);
        ASSERT_EQ(login->title(), "Login");
        login->setValueForKey("username", user);
        login->setValueForKey("password", password);
        login->validateForm();
        settle();
    }
    static void storeLogin(const QString& user, const QString& password) {
        ASSERT_TRUE(Keychain::setPassword("SHARE_AUTH_ReadLaterSharer", "username", user, nullptr));
        ASSERT_TRUE(
            Keychain::setPassword("SHARE_AUTH_ReadLaterSharer", "password", password, nullptr));
    }
    // Waits until the service has had count add calls and the sharer has answered the last.
    void waitForAdds(int count, const QPointer<Sharer>& sharer) {
        ASSERT_TRUE(server_.waitForRequests(count)) << "the add call did not come";
        EXPECT_TRUE(QTest::qWaitFor([&] {
            settle();
            return sharer.isNull() || sharer->isPresented() || !alertTexts().isEmpty();
        })) << "the sharer did not answer";
        settle();
    }
    QMap<QString, QString> addFields(int index) const {
        QMap<QString, QString> fields;
        const QList<FakeHttpServer::Request> adds = server_.requestsTo("/v2/add");
        if (index < adds.size()) {
            for (const auto& [name, value] : FakeHttpServer::parseForm(adds[index].body)) {
                fields.insert(name, value);
            }
        }
        return fields;
    }

    FakeHttpServer server_;
};

TEST_F(ReadLaterSharerTest, TheLoginThenTheEditedTitleAreSavedWithOurKey) {
    LogCapture log;
    const QString password = QStringLiteral("Sëcret pass+word&=1");
    QPointer<Sharer> sharer = shareLink(QStringLiteral("Lumigrave is Awesome!"));
    EXPECT_FALSE(sharer->canShareItem(picture())) << "links only";
    logIn(form(sharer), "ann.lee", password);

    ShareFormController* edit = form(sharer);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->title(), "Pocket");
    EXPECT_EQ(edit->rightButton()->title(), "Send to Pocket");
    ASSERT_FALSE(edit->sections().isEmpty());
    ASSERT_EQ(edit->sections()[0].fields.size(), 1);
    EXPECT_EQ(edit->sections()[0].fields[0].label(), "Title");
    EXPECT_EQ(edit->valueForKey("title"), "Lumigrave is Awesome!");
    EXPECT_EQ(edit->sections()[0].footer, "https://mm-apps.test/Lumigrave/?from=app&x=a+b");
    EXPECT_TRUE(server_.requests().isEmpty()) << "the login is not checked before the save";

    edit->setValueForKey("title", QStringLiteral("Wässerzeichen + Glas & mehr = schön"));
    edit->validateForm();
    waitForAdds(1, sharer);
    const QMap<QString, QString> fields = addFields(0);
    EXPECT_EQ(fields.value("username"), "ann.lee");
    EXPECT_EQ(fields.value("password"), password);
    EXPECT_EQ(fields.value("apikey"), kKey);
    EXPECT_EQ(fields.value("url"), "https://mm-apps.test/Lumigrave/?from=app&x=a+b");
    EXPECT_EQ(fields.value("title"), QStringLiteral("Wässerzeichen + Glas & mehr = schön"));
    EXPECT_EQ(fields.size(), 5);

    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_EQ(ShareActivityIndicator::currentIndicator()->subMessage(), "Saved!");
    EXPECT_TRUE(notes_.contains(Sharer::kSendDidFinishNotification));
    EXPECT_TRUE(ended(sharer));
    // What the keyring holds stays out of every log line, the service's address aside.
    for (const QString& line : log.lines()) {
        EXPECT_FALSE(line.contains("Sëcret") || line.contains(kKey)) << line.toStdString();
    }
}

TEST_F(ReadLaterSharerTest, ARefusedLoginIsAskedForAgainAndTheSameLinkIsSaved) {
    storeLogin("ann", "old password");
    FakeHttpServer::Response refused = FakeHttpServer::text(401, "401 Unauthorized");
    refused.headers.append(qMakePair(QByteArray("X-Error"), QByteArray("User was not found")));
    server_.enqueueResponse("/v2/add", refused);

    QPointer<Sharer> sharer = shareLink(QStringLiteral("Read me"));
    ASSERT_NE(form(sharer), nullptr);
    form(sharer)->validateForm();
    waitForAdds(1, sharer);
    EXPECT_EQ(addFields(0).value("password"), "old password");
    EXPECT_EQ(alertTexts(), QStringList({"Login Error",
                                         "Sorry, Pocket did not accept your credentials. "
                                         "Please try again."}))
        << "one alert says it, with no error alert over it";
    EXPECT_FALSE(ShareActivityIndicator::currentIndicator()->isShown());

    ui::OnScreen::top<ui::AlertView>()->dismissWithClickedButtonIndex(0, false);
    settle();
    logIn(form(sharer), "ann", "new password");
    waitForAdds(2, sharer);
    const QMap<QString, QString> fields = addFields(1);
    EXPECT_EQ(fields.value("password"), "new password");
    EXPECT_EQ(fields.value("title"), "Read me");
    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_TRUE(notes_.contains(Sharer::kSendDidFinishNotification));
    EXPECT_TRUE(ended(sharer));
    EXPECT_EQ(Keychain::password("SHARE_AUTH_ReadLaterSharer", "password", nullptr),
              QString("new password"));
}

TEST_F(ReadLaterSharerTest, OtherFailuresShowTheServicesMessageOrOurs) {
    storeLogin("ann", "pw");
    FakeHttpServer::Response limited = FakeHttpServer::text(403, "");
    limited.headers.append(qMakePair(QByteArray("X-Error"), QByteArray("Rate limit exceeded")));
    server_.enqueueResponse("/v2/add", limited);
    server_.enqueueResponse("/v2/add", FakeHttpServer::text(503, "down"));

    QPointer<Sharer> sharer = shareLink(QStringLiteral("One"));
    form(sharer)->validateForm();
    waitForAdds(1, sharer);
    EXPECT_EQ(alertTexts(), QStringList({"Error", "Rate limit exceeded"}));
    EXPECT_TRUE(ended(sharer)) << "no new login for a refusal that is not the login's";
    ui::OnScreen::top<ui::AlertView>()->dismissWithClickedButtonIndex(0, false);
    settle();

    sharer = shareLink(QStringLiteral("Two"));
    form(sharer)->validateForm();
    waitForAdds(2, sharer);
    EXPECT_EQ(alertTexts(),
              QStringList({"Error", "Pocket is down for maintenance. Please try again later."}));
    EXPECT_TRUE(ended(sharer));
}

TEST_F(ReadLaterSharerTest, OfflineTheLinkIsQueuedAndSentAtTheNextStartWithTheStoredLogin) {
    storeLogin("ann", "pw");
    Reachability::setForcedConnected(false);
    QPointer<Sharer> sharer = shareLink(QStringLiteral("Later"));
    ASSERT_NE(form(sharer), nullptr);
    form(sharer)->setValueForKey("title", "Later, edited");
    form(sharer)->validateForm();
    settle();
    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_TRUE(ended(sharer));
    ASSERT_EQ(OfflineQueue().entries().size(), 1u);
    EXPECT_TRUE(server_.requests().isEmpty());

    // The next start: the application registers its sharers and flushes while online.
    Reachability::setForcedConnected(true);
    SharerRegistry::registerSharer<ReadLaterSharer>(QStringLiteral("ReadLaterSharer"));
    OfflineFlush::flushOfflineQueue();
    ASSERT_TRUE(OfflineFlush::isRunning());
    ManualScheduler::current()->advance(0);
    settle();
    ASSERT_TRUE(server_.waitForRequests(1));
    EXPECT_TRUE(QTest::qWaitFor([] {
        ManualScheduler::current()->advance(0);
        settle();
        return !OfflineFlush::isRunning();
    }));
    const QMap<QString, QString> fields = addFields(0);
    EXPECT_EQ(fields.value("username"), "ann");
    EXPECT_EQ(fields.value("password"), "pw");
    EXPECT_EQ(fields.value("title"), "Later, edited");
    EXPECT_TRUE(OfflineQueue().entries().empty());
    EXPECT_TRUE(alertTexts().isEmpty()) << "a queued share is sent quietly";
}

TEST_F(ReadLaterSharerTest, AQueuedLinkWhoseLoginIsRefusedStaysQueuedWithNoAlert) {
    storeLogin("ann", "changed since");
    Reachability::setForcedConnected(false);
    QPointer<Sharer> sharer = shareLink(QStringLiteral("Kept"));
    ASSERT_NE(form(sharer), nullptr);
    form(sharer)->validateForm();
    settle();
    ASSERT_EQ(OfflineQueue().entries().size(), 1u);

    server_.setResponse("/v2/add", FakeHttpServer::text(401, "401 Unauthorized"));
    Reachability::setForcedConnected(true);
    SharerRegistry::registerSharer<ReadLaterSharer>(QStringLiteral("ReadLaterSharer"));
    OfflineFlush::flushOfflineQueue();
    ASSERT_TRUE(OfflineFlush::isRunning());
    EXPECT_TRUE(QTest::qWaitFor([] {
        ManualScheduler::current()->advance(0);
        settle();
        return !OfflineFlush::isRunning();
    }));
    flushDeletes();
    EXPECT_EQ(server_.requestsTo("/v2/add").size(), 1);
    EXPECT_TRUE(alertTexts().isEmpty()) << "no alert and no login form at a start";
    EXPECT_EQ(navigation_->modalViewController(), nullptr);
    const std::vector<OfflineQueueEntry> queued = OfflineQueue().entries();
    ASSERT_EQ(queued.size(), 1u) << "kept for a start after a new login";
    EXPECT_EQ(queued[0].sharerId, "ReadLaterSharer");
}

}  // namespace
}  // namespace lumigrave::sharing::test
