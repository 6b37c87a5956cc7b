// Sharing to Twitter against a fake service that checks every signature: the first
// share's login on the service's page, the status with its tags and short link, the photo
// through the image host by OAuth Echo, a login the service no longer takes, the
// service's refusals, the renewal with the session handle, and the logout.
#include <QImageReader>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>

#include "oauth_sharer_fixture.h"
#include "platform/user_defaults.h"
#include "sharing/ui/twitter_sharer.h"

namespace lumigrave::sharing::test {
namespace {

const QString kStatusPath = QStringLiteral("/1/statuses/update.json");
const QString kUploadPath = QStringLiteral("/host/api/2/upload.xml");
const QString kPhotoLink = QStringLiteral("http://pic.test/a1b2");

class TwitterSharerTest : public OAuthSharerTest {
  protected:
    TwitterSharerTest() {
        service_.protect(kStatusPath, [](const FakeHttpServer::Request&) {
            return FakeHttpServer::text(200, R"({"id":42,"text":"posted"})", "application/json");
        });
        // The image host asks the service whether the echoed signature is ours.
        server_.setHandler(kUploadPath, [this](const FakeHttpServer::Request& request) {
            const QUrl provider(QString::fromUtf8(request.header("X-Auth-Service-Provider")));
            if (provider != QUrl(server_.url("/1/account/verify_credentials.json")) ||
                !service_.verifyEcho(request.header("X-Verify-Credentials-Authorization"), "GET",
                                     provider)) {
                return FakeHttpServer::text(
                    401,
                    "<errors><error><code>401</code><message>Could not authenticate you."
                    "</message></error></errors>",
                    "application/xml");
            }
            return FakeHttpServer::text(
                200, "<image><id>a1b2</id><URL>" + kPhotoLink.toUtf8() + "</URL></image>",
                "application/xml");
        });
    }

    QPointer<Sharer> shareToTwitter(const ShareItem& item) {
        QPointer<Sharer> sharer = Sharer::shareItem<TwitterSharer>(item);
        settle();
        return sharer;
    }
    static TwitterSharer* twitter(const QPointer<Sharer>& sharer) {
        return qobject_cast<TwitterSharer*>(sharer.data());
    }
    // The status form once it shows, or null.
    LargeTextFormController* waitForForm(const QPointer<Sharer>& sharer) {
        waitUntil([&] {
            return sharer.isNull() || (twitter(sharer)->form() != nullptr && sharer->isPresented());
        });
        return sharer ? twitter(sharer)->form() : nullptr;
    }
    // Presses the form's Send as a person would.
    void pressSend(const QPointer<Sharer>& sharer) {
        QWidget* send = sharer->navigationBar()->rightWidget();
        ASSERT_NE(send, nullptr);
        ASSERT_TRUE(send->isEnabled());
        QTest::mouseClick(send, Qt::LeftButton);
        settle();
    }
    QStringList postedStatuses() const {
        QStringList statuses;
        for (const FakeHttpServer::Request& request : server_.requestsTo(kStatusPath)) {
            for (const auto& [name, value] : FakeHttpServer::parseForm(request.body)) {
                if (name == "status") {
                    statuses << value;
                }
            }
        }
        return statuses;
    }
    static ShareItem taggedLink() {
        ShareItem item =
            ShareItem::URL(QUrl("https://lumigrave.app/get?from=tw"), "Lumigrave is Awesome!", 1);
        item.setTags({"a-b", "c"});
        return item;
    }
    static ShareItem photo(int width = 64, int height = 48) {
        QImage pixels(width, height, QImage::Format_RGB32);
        pixels.fill(qRgb(30, 120, 200));
        return ShareItem::image(Image(pixels), "Created by Lumigrave");
    }
    // Whether widget shows whole below the sharer's navigation bar.
    static bool belowTheBar(const QPointer<Sharer>& sharer, QWidget* widget) {
        QWidget* bar = sharer->navigationBar();
        const int barBottom = bar->mapToGlobal(QPoint(0, bar->height())).y();
        return widget->isVisible() && widget->mapToGlobal(QPoint(0, 0)).y() >= barBottom;
    }
    void expectNoSecretsLogged(const QStringList& secrets) {
        const QString logged = log_.lines().join('\n');
        for (const QString& secret : secrets + QStringList{kConsumerSecret}) {
            if (!secret.isEmpty()) {
                EXPECT_FALSE(logged.contains(secret)) << "logged a secret";
            }
        }
    }
};

TEST_F(TwitterSharerTest, TheFirstShareLogsInOnTheServicesPageAndPostsTheStatus) {
    QPointer<Sharer> sharer = shareToTwitter(taggedLink());
    // The page shows the service's address, read-only, above it.
    OAuthView* page = waitForPage(sharer);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(
        page->initialUrl().toString().startsWith(server_.url("/oauth/authorize?oauth_token=")));
    EXPECT_TRUE(page->addressLine()->text().startsWith(server_.url("/oauth/authorize")));
    EXPECT_TRUE(page->addressLine()->isReadOnly());
    EXPECT_TRUE(belowTheBar(sharer, page->addressLine()));
    ASSERT_TRUE(clickOnPage(sharer, "allow", true));

    LargeTextFormController* form = waitForForm(sharer);
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(belowTheBar(sharer, form->textEdit()));
    // The tags as hashtags, then the shortened link.
    EXPECT_EQ(form->text(), "Lumigrave is Awesome! #ab #c " + kShortLink);
    EXPECT_EQ(form->maxTextLength(), 140);
    EXPECT_EQ(sharer->navigationBar()->tintColor(),
              ShareConfiguration::sharedInstance().barTintForView("TwitterSharer"));

    // The login is kept in the keyring, as the service issued it.
    const QList<FakeOAuthService::Token> live = service_.liveAccessTokens();
    ASSERT_EQ(live.size(), 1);
    EXPECT_EQ(storedValues("TwitterSharer"), secretsOf(live[0]));
    EXPECT_FALSE(callbackLoaded());
    EXPECT_TRUE(notes_.contains(Sharer::kAuthDidFinishNotification));

    form->setText("Edited, with a link " + kShortLink);
    pressSend(sharer);
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));
    EXPECT_EQ(postedStatuses(), QStringList({"Edited, with a link " + kShortLink}));
    EXPECT_TRUE(notes_.contains(Sharer::kSendDidFinishNotification));
    EXPECT_TRUE(service_.failures().isEmpty()) << service_.failures().join('\n').toStdString();
    EXPECT_TRUE(alertTexts().isEmpty());
    expectNoSecretsLogged(secretsOf(live[0]));
}

TEST_F(TwitterSharerTest, ThePhotoGoesToTheImageHostAndItsLinkEndsTheStatus) {
    logIn("TwitterSharer");
    QPointer<Sharer> sharer = shareToTwitter(photo());
    LargeTextFormController* form = waitForForm(sharer);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->text(), "Created by Lumigrave");
    // 25 characters are kept for the photo's link.
    EXPECT_EQ(form->charactersLeft(), 140 - 25 - 20);
    form->setText("My watermark");
    pressSend(sharer);
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));

    const QList<FakeHttpServer::Request> uploads = server_.requestsTo(kUploadPath);
    ASSERT_EQ(uploads.size(), 1);
    EXPECT_EQ(uploads[0].header("Content-Type"), "multipart/form-data; boundary=0xKhTmLbOuNdArY");
    const QList<FakeHttpServer::FormPart> parts =
        FakeHttpServer::parseMultipart(uploads[0].header("Content-Type"), uploads[0].body);
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[0].name, "media");
    EXPECT_EQ(parts[0].filename, "upload.jpg");
    EXPECT_EQ(parts[0].contentType, "image/jpg");
    EXPECT_EQ(QImage::fromData(parts[0].data, "JPEG").size(), QSize(64, 48));
    EXPECT_EQ(parts[1].name, "message");
    EXPECT_EQ(parts[1].data, "My watermark");
    EXPECT_EQ(postedStatuses(), QStringList({"My watermark " + kPhotoLink}));
    EXPECT_TRUE(service_.failures().isEmpty()) << service_.failures().join('\n').toStdString();
    EXPECT_TRUE(alertTexts().isEmpty());
}

TEST_F(TwitterSharerTest, AnImageTooBigAtFirstIsSentSmallerThanTheHostsLimit) {
    logIn("TwitterSharer");
    // Noise compresses badly: at quality 90 this is well over the limit.
    QImage noise(900, 700, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < noise.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(noise.scanLine(y));
        for (int x = 0; x < noise.width(); ++x) {
            line[x] = 0xff000000u | random.bounded(0x1000000u);
        }
    }
    QPointer<Sharer> sharer = shareToTwitter(ShareItem::image(Image(noise), "Noise"));
    ASSERT_NE(waitForForm(sharer), nullptr);
    pressSend(sharer);
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));
    const QList<FakeHttpServer::Request> uploads = server_.requestsTo(kUploadPath);
    ASSERT_EQ(uploads.size(), 1);
    const QByteArray jpeg =
        FakeHttpServer::parseMultipart(uploads[0].header("Content-Type"), uploads[0].body)
            .value(0)
            .data;
    EXPECT_GT(jpeg.size(), 0);
    EXPECT_LE(jpeg.size(), 700000);
    EXPECT_EQ(QImage::fromData(jpeg, "JPEG").size(), noise.size());
    EXPECT_EQ(postedStatuses(), QStringList({"Noise " + kPhotoLink}));
}

// A login the service no longer takes: the page opens again, without an error alert, and
// the status is sent once the person allowed it.
struct ReloginCase {
    const char* name;
    std::function<void(FakeOAuthService&)> spoil;
};

class TwitterReloginTest : public TwitterSharerTest,
                           public ::testing::WithParamInterface<ReloginCase> {};

TEST_P(TwitterReloginTest, AsksForANewLoginAndResends) {
    logIn("TwitterSharer");
    QPointer<Sharer> sharer = shareToTwitter(ShareItem::text("Hello from Lumigrave"));
    ASSERT_NE(waitForForm(sharer), nullptr);
    GetParam().spoil(service_);
    pressSend(sharer);
    ASSERT_TRUE(clickOnPage(sharer, "allow"));
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));
    EXPECT_EQ(server_.requestsTo(kStatusPath).size(), 2);
    EXPECT_EQ(postedStatuses(), QStringList({"Hello from Lumigrave", "Hello from Lumigrave"}));
    EXPECT_EQ(service_.failures().size(), 1) << service_.failures().join('\n').toStdString();
    EXPECT_TRUE(notes_.contains(Sharer::kSendDidFinishNotification));
    EXPECT_TRUE(alertTexts().isEmpty()) << alertTexts().join('|').toStdString();
    const QList<FakeOAuthService::Token> live = service_.liveAccessTokens();
    ASSERT_FALSE(live.isEmpty());
    EXPECT_EQ(storedValues("TwitterSharer"), secretsOf(live.last()));
}

INSTANTIATE_TEST_SUITE_P(
    Twitter, TwitterReloginTest,
    ::testing::Values(ReloginCase{"UsedNonce", [](FakeOAuthService& s) { s.rejectNextNonce(); }},
                      ReloginCase{"RevokedLogin",
                                  [](FakeOAuthService& s) { s.revokeAccessTokens(); }}),
    [](const ::testing::TestParamInfo<ReloginCase>& info) { return info.param.name; });

TEST_F(TwitterSharerTest, AnImageHostRefusingTheEchoedLoginLeadsToANewLoginAndResend) {
    logIn("TwitterSharer");
    QPointer<Sharer> sharer = shareToTwitter(photo());
    ASSERT_NE(waitForForm(sharer), nullptr);
    service_.revokeAccessTokens();
    pressSend(sharer);
    ASSERT_TRUE(clickOnPage(sharer, "allow"));
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));
    EXPECT_EQ(server_.requestsTo(kUploadPath).size(), 2);
    EXPECT_EQ(postedStatuses(), QStringList({"Created by Lumigrave " + kPhotoLink}));
    EXPECT_TRUE(alertTexts().isEmpty()) << alertTexts().join('|').toStdString();
}

TEST_F(TwitterSharerTest, AnImageHostFailureOrAnAnswerWithoutALinkFailsTheShare) {
    logIn("TwitterSharer");
    // A failed upload says nothing of its own; an answer without a link is read for the
    // service's message.
    const QList<QPair<FakeHttpServer::Response, QString>> cases = {
        {FakeHttpServer::text(500, "<html>Internal error</html>", "text/html"),
         "There was an error while sharing"},
        {FakeHttpServer::text(200, R"({"error":"Image too small"})", "application/json"),
         "Image too small"}};
    for (const auto& [answer, message] : cases) {
        server_.enqueueResponse(kUploadPath, answer);
        QPointer<Sharer> sharer = shareToTwitter(photo());
        ASSERT_NE(waitForForm(sharer), nullptr);
        pressSend(sharer);
        ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));
        EXPECT_EQ(alertTexts(), QStringList({"Error", message}));
        for (ui::AlertView* alert : ui::OnScreen::all<ui::AlertView>()) {
            alert->dismissWithClickedButtonIndex(0, false);
        }
        settle();
    }
    EXPECT_TRUE(server_.requestsTo(kStatusPath).isEmpty());
    EXPECT_TRUE(server_.requestsTo("/oauth/request_token").isEmpty());
}

TEST_F(TwitterSharerTest, OtherRefusalsShowTheServicesMessage) {
    logIn("TwitterSharer");
    service_.protect(kStatusPath, [](const FakeHttpServer::Request&) {
        return FakeHttpServer::text(403, R"({"error":"Status is a duplicate.","request":"x"})",
                                    "application/json");
    });
    QPointer<Sharer> sharer = shareToTwitter(ShareItem::text("Twice"));
    ASSERT_NE(waitForForm(sharer), nullptr);
    pressSend(sharer);
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));
    EXPECT_EQ(alertTexts(), QStringList({"Error", "Status is a duplicate."}));
    EXPECT_EQ(server_.requestsTo(kStatusPath).size(), 1);
    EXPECT_TRUE(server_.requestsTo("/oauth/request_token").isEmpty());
}

TEST_F(TwitterSharerTest, AStatusOutOfBoundsIsNotSent) {
    logIn("TwitterSharer");
    for (const QString& status : {QString(141, QLatin1Char('x')), QString()}) {
        auto* sharer = new TwitterSharer;
        ShareItem item = ShareItem::text("text");
        item.setCustomValue(status, TwitterSharer::kStatusKey);
        sharer->setItem(item);
        EXPECT_FALSE(sharer->validateItem()) << status.size();
        EXPECT_FALSE(sharer->send()) << status.size();
        delete sharer;
    }
    // The form will not send what does not fit.
    QPointer<Sharer> sharer = shareToTwitter(ShareItem::text(QString(141, QLatin1Char('y'))));
    LargeTextFormController* form = waitForForm(sharer);
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(sharer->navigationBar()->rightWidget()->isEnabled());
    form->setText(QString());
    EXPECT_FALSE(sharer->navigationBar()->rightWidget()->isEnabled());
    settle();
    EXPECT_TRUE(server_.requestsTo(kStatusPath).isEmpty());
}

TEST_F(TwitterSharerTest, ACallbackWithoutAQueryCancelsTheLogin) {
    QPointer<Sharer> sharer = shareToTwitter(ShareItem::text("Hi"));
    ASSERT_TRUE(goTo(sharer, server_.url("/callback/twitter")));
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));
    EXPECT_TRUE(notes_.contains(Sharer::kSendDidCancelNotification));
    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_EQ(storedValues("TwitterSharer"), QStringList({"", "", ""}));
    EXPECT_TRUE(server_.requestsTo("/oauth/access_token").isEmpty());
    EXPECT_FALSE(callbackLoaded());
}

TEST_F(TwitterSharerTest, ARefusalOnThePageShowsAuthorizeError) {
    QPointer<Sharer> sharer = shareToTwitter(ShareItem::text("Hi"));
    ASSERT_TRUE(clickOnPage(sharer, "deny"));
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));
    const QStringList texts = alertTexts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], "Authorize Error");
    EXPECT_FALSE(texts[1].isEmpty());
    EXPECT_TRUE(server_.requestsTo("/oauth/access_token").isEmpty());
    EXPECT_EQ(storedValues("TwitterSharer"), QStringList({"", "", ""}));
    EXPECT_FALSE(callbackLoaded());
}

TEST_F(TwitterSharerTest, RefusedTokenRequestsShowTheirAlerts) {
    service_.failNextRequestToken(500, "oops");
    QPointer<Sharer> sharer = shareToTwitter(ShareItem::text("Hi"));
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));
    EXPECT_EQ(alertTexts(), QStringList({"Request Error",
                                         "There was a problem requesting authorization from "
                                         "Twitter"}));
    ui::OnScreen::all<ui::AlertView>().value(0)->dismissWithClickedButtonIndex(0, false);
    settle();

    service_.failNextAccessToken(401, "oauth_problem=token_rejected");
    sharer = shareToTwitter(ShareItem::text("Hi"));
    ASSERT_TRUE(clickOnPage(sharer, "allow"));
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));
    EXPECT_EQ(alertTexts(),
              QStringList({"Access Error", "There was a problem requesting access from Twitter"}));
    EXPECT_EQ(storedValues("TwitterSharer"), QStringList({"", "", ""}));
    EXPECT_TRUE(server_.requestsTo(kStatusPath).isEmpty());
}

TEST_F(TwitterSharerTest, AnUnreachableServiceShowsRequestErrorWithTheCause) {
    // A port nothing listens on.
    QString base;
    {
        FakeHttpServer closed;
        ASSERT_TRUE(closed.listen());
        base = closed.url();
    }
    ShareConfiguration::sharedInstanceWithConfigurator(std::make_unique<FakeServices>(base));
    QPointer<Sharer> sharer = shareToTwitter(ShareItem::text("Hi"));
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));
    const QStringList texts = alertTexts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], "Request Error");
    EXPECT_FALSE(texts[1].isEmpty());
}

TEST_F(TwitterSharerTest, ARenewalWithTheSessionHandleKeepsTheLoginAndResends) {
    const FakeOAuthService::Token old = logIn("TwitterSharer");
    auto* sharer = new TwitterSharer;
    QPointer<Sharer> guard(sharer);
    ShareItem item = ShareItem::text("Renewed");
    item.setCustomValue("Renewed", TwitterSharer::kStatusKey);
    sharer->setItem(item);
    ASSERT_TRUE(sharer->isAuthorized());
    sharer->refreshToken();
    ASSERT_TRUE(waitUntil([&] { return ended(guard); }));
    const QList<FakeOAuthService::Token> live = service_.liveAccessTokens();
    ASSERT_EQ(live.size(), 1);
    EXPECT_NE(live[0].key, old.key);
    EXPECT_EQ(storedValues("TwitterSharer"), secretsOf(live[0]));
    EXPECT_EQ(postedStatuses(), QStringList({"Renewed"}));
    EXPECT_TRUE(service_.failures().isEmpty()) << service_.failures().join('\n').toStdString();
    // No page and no indicator for a renewal.
    EXPECT_TRUE(server_.requestsTo("/oauth/authorize").isEmpty());
}

TEST_F(TwitterSharerTest, LogoutForgetsTheLoginAndTheServicesCookies) {
    logIn("TwitterSharer");
    UserDefaults defaults;
    defaults.setString(TwitterSharer::kUserInfoKey, "someone");
    defaults.synchronize();
    // The store reports its cookies once the profile's browser runs, as it does once an
    // authorization page was shown.
    server_.setResponse("/blank", FakeHttpServer::text(200, "<html></html>", "text/html"));
    QWebEnginePage browser(OAuthView::profile());
    bool loaded = false;
    QObject::connect(&browser, &QWebEnginePage::loadFinished, [&loaded] { loaded = true; });
    browser.load(QUrl(server_.url("/blank")));
    ASSERT_TRUE(eventually([&] { return loaded; }, 20000));
    // The cookies the profile holds, followed through the store's reports.
    QWebEngineCookieStore* cookies = OAuthView::profile()->cookieStore();
    QStringList held;
    QObject watcher;
    QObject::connect(cookies, &QWebEngineCookieStore::cookieAdded, &watcher,
                     [&held](const QNetworkCookie& cookie) { held << cookie.name(); });
    QObject::connect(cookies, &QWebEngineCookieStore::cookieRemoved, &watcher,
                     [&held](const QNetworkCookie& cookie) { held.removeAll(cookie.name()); });
    const auto cookie = [](const char* name, const char* domain) {
        QNetworkCookie made(name, "s3cret");
        made.setDomain(domain);
        made.setPath("/");
        made.setExpirationDate(QDateTime::currentDateTimeUtc().addDays(1));
        return made;
    };
    cookies->setCookie(cookie("session", "127.0.0.1"), QUrl(server_.url("/")));
    cookies->setCookie(cookie("other", "other.test"), QUrl("http://other.test/"));
    ASSERT_TRUE(eventually([&] { return held.contains("session") && held.contains("other"); }));

    auto* sharer = new TwitterSharer;
    sharer->logout();
    delete sharer;
    EXPECT_EQ(storedValues("TwitterSharer"), QStringList({"", "", ""}));
    EXPECT_FALSE(UserDefaults().hasObjectForKey(TwitterSharer::kUserInfoKey));
    EXPECT_TRUE(eventually([&] { return !held.contains("session"); }, 20000));
    EXPECT_TRUE(held.contains("other"));
}

}  // namespace
}  // namespace lumigrave::sharing::test
