// Sharing to Facebook against a fake Graph API on 127.0.0.1: the login in the browser and
// its redirect back, the photo and link posts, a token the service no longer takes, the
// service's refusals, and offline shares.
#include <QDirIterator>
#include <QFileInfo>
#include <QUrlQuery>

#include "platform/user_defaults.h"
#include "sharer_fixture.h"
#include "sharing/offline_queue.h"
#include "sharing/ui/facebook_sharer.h"
#include "sharing/ui/offline_flush.h"
#include "sharing/ui/sharer_registry.h"
#include "support/fake_http_server.h"
#include "support/log_capture.h"
#include "support/opened_urls.h"

namespace lumigrave::sharing::test {
namespace {

using Server = lumigrave::test::FakeHttpServer;

const QString kAppId = QStringLiteral("123456789012345");
const QString kToken = QStringLiteral("EAABsecretTOKEN42");

class FakeFacebook : public DefaultShareConfigurator {
  public:
    explicit FakeFacebook(QString base) : base_(std::move(base)) {}
    QString facebookAppId() const override { return kAppId; }
    QString facebookGraphURL() const override { return base_ + "/graph"; }
    QString facebookDialogURL() const override { return base_ + "/dialog/oauth"; }

  private:
    QString base_;
};

// The browser: every http(s) URL the application opens lands here.
struct Browser : lumigrave::test::OpenedUrls {
    Browser() : OpenedUrls({QStringLiteral("http"), QStringLiteral("https")}) {}
};

class FacebookSharerTest : public SharerTest {
  protected:
    FacebookSharerTest() {
        EXPECT_TRUE(server_.listen());
        ShareConfiguration::sharedInstanceWithConfigurator(
            std::make_unique<FakeFacebook>(server_.url()));
    }
    ~FacebookSharerTest() override { ShareConfiguration::sharedInstanceWithConfigurator(nullptr); }

    QPointer<Sharer> shareToFacebook(const ShareItem& item) {
        QPointer<Sharer> sharer = Sharer::shareItem<FacebookSharer>(item);
        settle();
        return sharer;
    }
    static QString redirect(const QString& fragment) {
        return QStringLiteral("fb%1://authorize/#%2").arg(kAppId, fragment);
    }
    static std::optional<QString> stored(const QString& key) {
        return ShareCenter::getAuthValueForKey(key, "FacebookSharer");
    }
    static void logIn(const QString& expiry = QString()) {
        ASSERT_TRUE(ShareCenter::setAuthValue(kToken, "accessToken", "FacebookSharer"));
        if (!expiry.isEmpty()) {
            ASSERT_TRUE(ShareCenter::setAuthValue(expiry, "expirationDate", "FacebookSharer"));
        }
    }
    static bool itemWaiting() {
        return !UserDefaults()
                    .stringForKey(QStringLiteral("kShareStoredShareInfo/kShareStoredItem"))
                    .isEmpty();
    }
    // Waits for the service's answer to reach the sharer.
    void waitForAnswer(const QPointer<Sharer>& sharer) {
        for (int i = 0; i < 200 && sharer && !ended(sharer); ++i) {
            QTest::qWait(10);
        }
        settle();
    }
    // The Facebook sharer presented over the application, or null.
    QPointer<Sharer> shown() {
        return dynamic_cast<FacebookSharer*>(navigation_->modalViewController());
    }
    static QImage pixelsOf(const ShareItem& item) { return item.image().uprightPixels(); }
    static ShareItem photo() {
        QImage pixels(6, 4, QImage::Format_RGB32);
        pixels.fill(qRgb(20, 90, 160));
        pixels.setPixel(5, 3, qRgb(250, 10, 10));
        return ShareItem::image(Image(pixels), "Created by Lumigrave");
    }

    Server server_;
    Browser browser_;
};

TEST_F(FacebookSharerTest, TheFirstShareOpensTheLoginDialogAndKeepsTheItem) {
    QPointer<Sharer> sharer = shareToFacebook(photo());
    EXPECT_EQ(form(sharer), nullptr);
    EXPECT_TRUE(ended(sharer)) << "the share resumes when the login comes back";
    ASSERT_EQ(browser_.opened.size(), 1);
    const QUrl dialog = browser_.opened[0];
    EXPECT_EQ(dialog.scheme(), "http");
    EXPECT_EQ(dialog.host(), "127.0.0.1");
    EXPECT_EQ(dialog.port(), server_.port());
    EXPECT_EQ(dialog.path(), "/dialog/oauth");
    const QUrlQuery query(dialog);
    EXPECT_EQ(query.queryItemValue("client_id"), kAppId);
    EXPECT_EQ(query.queryItemValue("redirect_uri", QUrl::FullyDecoded),
              "fb" + kAppId + "://authorize");
    EXPECT_EQ(query.queryItemValue("response_type"), "token");
    EXPECT_TRUE(query.queryItemValue("scope").contains("publish_actions"));
    EXPECT_TRUE(itemWaiting());
    EXPECT_TRUE(server_.requests().isEmpty());
    EXPECT_TRUE(alertTexts().isEmpty());
}

TEST_F(FacebookSharerTest, TheLoginsRedirectPostsThePhotoWithTheEditedTitle) {
    lumigrave::test::LogCapture log;
    shareToFacebook(photo());
    ASSERT_EQ(browser_.opened.size(), 1);
    server_.setResponse("/graph/me/photos", Server::text(200, R"({"id":"77","post_id":"1_77"})"));

    const QDateTime before = QDateTime::currentDateTimeUtc();
    EXPECT_TRUE(FacebookSharer::handleOpenURL(
        QUrl(redirect("access_token=" + kToken + "&expires_in=5184000"))));
    settle();
    EXPECT_EQ(stored("accessToken").value_or(""), kToken);
    const QDateTime expiry =
        QDateTime::fromString(stored("expirationDate").value_or(""), Qt::ISODate);
    ASSERT_TRUE(expiry.isValid());
    EXPECT_GE(expiry, before.addSecs(5184000 - 1));
    EXPECT_LE(expiry, QDateTime::currentDateTimeUtc().addSecs(5184000 + 1));
    EXPECT_FALSE(itemWaiting());

    // The photo's form: one "Title" field, prefilled.
    QPointer<Sharer> resumed = shown();
    ASSERT_NE(resumed, nullptr);
    ShareFormController* edit = form(resumed);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->rightButton()->title(), "Send to Facebook");
    ASSERT_FALSE(edit->sections().isEmpty());
    ASSERT_EQ(edit->sections()[0].fields.size(), 1);
    EXPECT_EQ(edit->sections()[0].fields[0].label(), "Title");
    EXPECT_EQ(edit->valueForKey("title"), "Created by Lumigrave");
    edit->setValueForKey("title", "Lake at dawn — Lumigrave");
    edit->validateForm();
    settle();
    waitForAnswer(resumed);

    ASSERT_EQ(server_.requestsTo("/graph/me/photos").size(), 1);
    const Server::Request request = server_.requestsTo("/graph/me/photos")[0];
    const QList<Server::FormPart> parts =
        Server::parseMultipart(request.header("Content-Type"), request.body);
    QMap<QString, Server::FormPart> byName;
    for (const Server::FormPart& part : parts) {
        byName.insert(part.name, part);
    }
    EXPECT_EQ(QString::fromUtf8(byName["access_token"].data), kToken);
    EXPECT_EQ(QString::fromUtf8(byName["message"].data), "Lake at dawn — Lumigrave");
    EXPECT_EQ(byName["source"].contentType, "image/png");
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(byName["source"].data, "PNG"));
    EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32), pixelsOf(photo()));

    EXPECT_TRUE(notes_.contains(Sharer::kSendDidStartNotification));
    EXPECT_TRUE(notes_.contains(Sharer::kSendDidFinishNotification));
    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_TRUE(resumed.isNull());
    for (const QString& line : log.lines()) {
        EXPECT_FALSE(line.contains("secretTOKEN")) << line.toStdString();
    }
}

TEST_F(FacebookSharerTest, ARevokedTokenAsksForANewLoginAndKeepsTheItem) {
    logIn();
    server_.enqueueResponse(
        "/graph/me/photos",
        Server::text(400, R"({"error":{"message":"Error validating access token: The user has )"
                          R"(not authorized application.","type":"OAuthException","code":190}})"));
    server_.enqueueResponse("/graph/me/photos", Server::text(200, R"({"id":"78"})"));
    QPointer<Sharer> sharer = shareToFacebook(photo());
    ASSERT_NE(form(sharer), nullptr);
    form(sharer)->setValueForKey("title", "Edited");
    form(sharer)->validateForm();
    settle();
    waitForAnswer(sharer);

    EXPECT_FALSE(stored("accessToken").has_value()) << "the refused token is forgotten";
    ASSERT_EQ(browser_.opened.size(), 1) << "the login opens again";
    EXPECT_EQ(browser_.opened[0].path(), "/dialog/oauth");
    EXPECT_TRUE(itemWaiting());
    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_TRUE(notes_.contains(Sharer::kSendDidFailWithErrorNotification));

    // The new login sends the kept item, its edited title included.
    EXPECT_TRUE(FacebookSharer::handleOpenURL(QUrl(redirect("access_token=NEWTOKEN"))));
    settle();
    QPointer<Sharer> resumed = shown();
    ASSERT_NE(form(resumed), nullptr);
    EXPECT_EQ(form(resumed)->valueForKey("title"), "Edited");
    form(resumed)->validateForm();
    settle();
    waitForAnswer(resumed);
    ASSERT_EQ(server_.requestsTo("/graph/me/photos").size(), 2);
    const Server::Request second = server_.requestsTo("/graph/me/photos")[1];
    const QList<Server::FormPart> parts =
        Server::parseMultipart(second.header("Content-Type"), second.body);
    ASSERT_FALSE(parts.isEmpty());
    EXPECT_EQ(parts[0].data, "NEWTOKEN");
    EXPECT_FALSE(stored("expirationDate").has_value()) << "a token without a lifetime";
}

TEST_F(FacebookSharerTest, AnExpiredTokenIsNoLogin) {
    logIn(QDateTime::currentDateTimeUtc().addSecs(-60).toString(Qt::ISODate));
    QPointer<Sharer> sharer = shareToFacebook(photo());
    EXPECT_EQ(form(sharer), nullptr);
    EXPECT_EQ(browser_.opened.size(), 1);
    // An expiry that cannot be read is as good as passed.
    browser_.opened.clear();
    ASSERT_TRUE(ShareCenter::setAuthValue("not a date", "expirationDate", "FacebookSharer"));
    shareToFacebook(photo());
    EXPECT_EQ(browser_.opened.size(), 1);
    // A future one is a login.
    ASSERT_TRUE(
        ShareCenter::setAuthValue(QDateTime::currentDateTimeUtc().addDays(1).toString(Qt::ISODate),
                                  "expirationDate", "FacebookSharer"));
    sharer = shareToFacebook(photo());
    EXPECT_NE(form(sharer), nullptr);
    EXPECT_EQ(browser_.opened.size(), 1);
}

TEST_F(FacebookSharerTest, AnotherRefusalShowsTheServicesMessage) {
    logIn();
    server_.setResponse("/graph/me/photos",
                        Server::text(400, R"({"error":{"message":"(#324) Requires upload file",)"
                                          R"("type":"OAuthException","code":324}})"));
    QPointer<Sharer> sharer = shareToFacebook(photo());
    ASSERT_NE(form(sharer), nullptr);
    form(sharer)->validateForm();
    settle();
    waitForAnswer(sharer);
    EXPECT_EQ(alertTexts(), QStringList({"Error", "(#324) Requires upload file"}));
    EXPECT_EQ(stored("accessToken").value_or(""), kToken) << "the login stays";
    EXPECT_TRUE(browser_.opened.isEmpty());
    EXPECT_FALSE(itemWaiting());
    EXPECT_TRUE(sharer.isNull());
}

TEST_F(FacebookSharerTest, ALinkIsPostedToTheFeedWithItsTitle) {
    logIn();
    server_.setResponse("/graph/me/feed", Server::text(200, R"({"id":"1_99"})"));
    QPointer<Sharer> sharer =
        shareToFacebook(ShareItem::URL(QUrl("https://lumigrave.app/?a=1&b=2"), "Lumigrave!", 1));
    ShareFormController* edit = form(sharer);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->sections()[0].fields[0].label(), "Title");
    EXPECT_EQ(edit->sections()[0].footer, "https://lumigrave.app/?a=1&b=2");
    edit->validateForm();
    settle();
    waitForAnswer(sharer);
    ASSERT_EQ(server_.requestsTo("/graph/me/feed").size(), 1);
    const QList<QPair<QString, QString>> body =
        Server::parseForm(server_.requestsTo("/graph/me/feed")[0].body);
    EXPECT_TRUE(
        body.contains(qMakePair(QString("link"), QString("https://lumigrave.app/?a=1&b=2"))));
    EXPECT_TRUE(body.contains(qMakePair(QString("message"), QString("Lumigrave!"))));
    EXPECT_TRUE(body.contains(qMakePair(QString("access_token"), kToken)));
    EXPECT_TRUE(notes_.contains(Sharer::kSendDidFinishNotification));
    EXPECT_TRUE(alertTexts().isEmpty());
}

TEST_F(FacebookSharerTest, ARefusedLoginDropsTheWaitingShareQuietly) {
    shareToFacebook(photo());
    ASSERT_TRUE(itemWaiting());
    lumigrave::test::LogCapture log;
    EXPECT_TRUE(FacebookSharer::handleOpenURL(
        QUrl("fb" + kAppId +
             "://authorize?error_reason=user_denied&error=access_denied"
             "&error_description=The+user+denied+your+request.")));
    settle();
    flushDeletes();
    EXPECT_FALSE(itemWaiting());
    EXPECT_FALSE(stored("accessToken").has_value());
    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_EQ(navigation_->modalViewController(), nullptr);
    EXPECT_TRUE(server_.requests().isEmpty());
    EXPECT_TRUE(log.lines().join('\n').contains("access_denied"));
}

TEST_F(FacebookSharerTest, ALoginWithNoWaitingShareKeepsTheTokenOnly) {
    EXPECT_TRUE(FacebookSharer::handleOpenURL(QUrl(redirect("access_token=" + kToken))));
    settle();
    flushDeletes();
    EXPECT_EQ(stored("accessToken").value_or(""), kToken);
    EXPECT_EQ(navigation_->modalViewController(), nullptr);
    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_TRUE(server_.requests().isEmpty());
    // A URL that answers no login is refused and changes nothing.
    EXPECT_FALSE(FacebookSharer::handleOpenURL(QUrl("fb" + kAppId + "://authorize?code=1")));
    // Nor is a token on another scheme taken.
    EXPECT_FALSE(FacebookSharer::handleOpenURL(QUrl("fb1://authorize#access_token=OTHER")));
    EXPECT_FALSE(FacebookSharer::handleOpenURL(QUrl("https://x.test/#access_token=OTHER")));
    EXPECT_EQ(stored("accessToken").value_or(""), kToken);
}

TEST_F(FacebookSharerTest, OfflineTheLoginIsRefusedAndALoggedInPhotoIsQueuedAfterItsTitle) {
    Reachability::setForcedConnected(false);
    QPointer<Sharer> sharer = shareToFacebook(photo());
    EXPECT_EQ(alertTexts(), QStringList({"Offline", "You must be online to login to Facebook"}));
    EXPECT_TRUE(browser_.opened.isEmpty());
    EXPECT_FALSE(itemWaiting());
    EXPECT_TRUE(ended(sharer));
    for (ui::AlertView* alert : ui::OnScreen::all<ui::AlertView>()) {
        alert->dismissWithClickedButtonIndex(0, false);
    }
    settle();

    logIn();
    sharer = shareToFacebook(photo());
    ShareFormController* edit = form(sharer);
    ASSERT_NE(edit, nullptr) << "the title is asked for first";
    edit->setValueForKey("title", "Later");
    edit->validateForm();
    settle();
    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_TRUE(ended(sharer));
    EXPECT_TRUE(server_.requests().isEmpty());
    const std::vector<OfflineQueueEntry> queued = OfflineQueue().entries();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].sharerId, "FacebookSharer");
    EXPECT_EQ(queued[0].item.value("title").toString(), "Later");
}

// The next start, online: the flush sends what was queued, quietly.
class FacebookOfflineTest : public FacebookSharerTest {
  protected:
    FacebookOfflineTest() {
        SharerRegistry::registerSharer<FacebookSharer>(QStringLiteral("FacebookSharer"));
    }
    ~FacebookOfflineTest() override { SharerRegistry::clear(); }
    void queuePhoto(const QString& title) {
        Reachability::setForcedConnected(false);
        QPointer<Sharer> sharer = shareToFacebook(photo());
        ASSERT_NE(form(sharer), nullptr);
        form(sharer)->setValueForKey("title", title);
        form(sharer)->validateForm();
        settle();
        flushDeletes();
        ASSERT_EQ(OfflineQueue().entries().size(), 1u);
        Reachability::setForcedConnected(true);
    }
    void flush() {
        OfflineFlush::flushOfflineQueue();
        for (int turn = 0; turn < 500 && OfflineFlush::isRunning(); ++turn) {
            ManualScheduler::current()->advance(0);
            settle();
            QTest::qWait(10);
        }
        EXPECT_FALSE(OfflineFlush::isRunning());
        flushDeletes();
    }
};

TEST_F(FacebookOfflineTest, AQueuedPhotoIsPostedAtTheNextStartWithItsTitle) {
    logIn();
    queuePhoto("Queued title");
    server_.setResponse("/graph/me/photos", Server::text(200, R"({"id":"5"})"));
    flush();
    ASSERT_EQ(server_.requestsTo("/graph/me/photos").size(), 1);
    const Server::Request request = server_.requestsTo("/graph/me/photos")[0];
    QMap<QString, QByteArray> parts;
    for (const Server::FormPart& part :
         Server::parseMultipart(request.header("Content-Type"), request.body)) {
        parts.insert(part.name, part.data);
    }
    EXPECT_EQ(QString::fromUtf8(parts["message"]), "Queued title");
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(parts["source"], "PNG"));
    EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32), pixelsOf(photo()));
    EXPECT_TRUE(OfflineQueue().entries().empty());
    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_EQ(navigation_->modalViewController(), nullptr) << "no form, no indicator";
}

TEST_F(FacebookOfflineTest, ARevokedTokenInTheBackgroundOpensNoBrowserAndKeepsTheShare) {
    logIn();
    queuePhoto("Queued title");
    server_.setResponse("/graph/me/photos",
                        Server::text(400, R"({"error":{"message":"Session has expired",)"
                                          R"("type":"OAuthException","code":190}})"));
    flush();
    EXPECT_EQ(server_.requestsTo("/graph/me/photos").size(), 1);
    EXPECT_TRUE(browser_.opened.isEmpty());
    EXPECT_FALSE(stored("accessToken").has_value());
    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_FALSE(itemWaiting());
    EXPECT_EQ(OfflineQueue().entries().size(), 1u) << "a failed send stays for the next start";
}

// The same login against a real Secret Service. Discovered as disabled; ctest runs it
// inside run_with_keyring.sh, whose private session bus is taken back here after the
// fixture set it aside.
const QByteArray kSessionBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");

class FacebookKeyringTest : public FacebookSharerTest {
  protected:
    FacebookKeyringTest() {
        qputenv("DBUS_SESSION_BUS_ADDRESS", kSessionBus);
        Keychain::resetForTesting();
    }
    ~FacebookKeyringTest() override {
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        Keychain::resetForTesting();
    }
};

TEST_F(FacebookKeyringTest, DISABLED_TheTokenLivesInTheKeyringAndNowhereElse) {
    ASSERT_FALSE(kSessionBus.isEmpty()) << "run this test through run_with_keyring.sh";
    ASSERT_EQ(Keychain::store(), Keychain::Store::SecretService);
    lumigrave::test::LogCapture log;
    shareToFacebook(photo());
    ASSERT_EQ(browser_.opened.size(), 1);
    server_.setResponse("/graph/me/photos", Server::text(200, R"({"id":"9"})"));
    EXPECT_TRUE(FacebookSharer::handleOpenURL(
        QUrl(redirect("access_token=" + kToken + "&expires_in=3600"))));
    settle();
    EXPECT_EQ(Keychain::password("SHARE_AUTH_FacebookSharer", "accessToken", nullptr).value_or(""),
              kToken);
    QPointer<Sharer> resumed = shown();
    ASSERT_NE(form(resumed), nullptr);
    form(resumed)->validateForm();
    settle();
    waitForAnswer(resumed);
    ASSERT_EQ(server_.requestsTo("/graph/me/photos").size(), 1);
    EXPECT_FALSE(QFileInfo::exists(Keychain::fileStorePath()));
    QDirIterator files(home_.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (file.open(QIODevice::ReadOnly)) {
            EXPECT_FALSE(file.readAll().contains(kToken.toUtf8())) << file.fileName().toStdString();
        }
    }
    for (const QString& line : log.lines()) {
        EXPECT_FALSE(line.contains(kToken)) << line.toStdString();
    }
    // Logged out again, so the keyring holds nothing of the test afterwards.
    EXPECT_TRUE(Keychain::deletePassword("SHARE_AUTH_FacebookSharer", "accessToken", nullptr));
    EXPECT_TRUE(Keychain::deletePassword("SHARE_AUTH_FacebookSharer", "expirationDate", nullptr));
}

}  // namespace
}  // namespace lumigrave::sharing::test
