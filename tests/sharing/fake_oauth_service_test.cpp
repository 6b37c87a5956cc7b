#include "support/fake_oauth_service.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTimer>
#include <optional>

#include "sharing/oauth/oauth_request.h"
#include "support/temp_home.h"

namespace lumigrave::test {
namespace {

using sharing::OAuthAnswer;
using sharing::OAuthApp;
using sharing::OAuthRequest;
using sharing::OAuthToken;

const OAuthApp kConsumer{"ck-1", "cs&1"};
const QString kCallback = QStringLiteral("lumigrave-test://oauth/twitter");

struct Raw {
    int status = 0;
    QByteArray body;
};

class FakeOAuthServiceTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server_.listen());
        service_.setConsumer(kConsumer.key, kConsumer.secret);
        service_.protect("/1/statuses/update.json", [](const FakeHttpServer::Request&) {
            return FakeHttpServer::text(200, "{\"id\":1}", "application/json");
        });
    }
    void TearDown() override { OAuthRequest::setClockForTesting({}); }

    OAuthAnswer send(const OAuthRequest& request) {
        std::optional<OAuthAnswer> result;
        QEventLoop loop;
        request.send(
            [&](const OAuthAnswer& answer) {
                result = answer;
                loop.quit();
            },
            nullptr);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_TRUE(result) << "no answer came";
        return result.value_or(OAuthAnswer{});
    }

    // Sends exactly these bytes, so a test can change what was signed.
    Raw sendRaw(const QUrl& url, const QByteArray& authorization, const QByteArray& body) {
        QNetworkAccessManager manager;
        QNetworkRequest request(url);
        request.setRawHeader("Authorization", authorization);
        request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
        QNetworkReply* reply = manager.post(request, body);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        loop.exec();
        Raw raw{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                reply->readAll()};
        delete reply;
        return raw;
    }

    OAuthRequest status(const OAuthToken& token, const QString& text) {
        OAuthRequest request(QUrl(server_.url("/1/statuses/update.json")), kConsumer, token);
        request.setParameters({{"status", text}});
        return request;
    }

    static OAuthToken tokenOf(const FakeOAuthService::Token& token) {
        return {token.key, token.secret, token.sessionHandle};
    }

    TempHome home_;
    FakeHttpServer server_;
    FakeOAuthService service_{&server_};
};

TEST_F(FakeOAuthServiceTest, ItsBaseStringIsTheOneOfRfc5849Section3_4_1_1) {
    FakeHttpServer::Request request;
    request.method = "POST";
    request.rawPath = "/request";
    request.query = "b5=%3D%253D&a3=a&c%40=&a2=r%20b";
    request.headers = {{"host", "example.com"},
                       {"content-type", "application/x-www-form-urlencoded"},
                       {"authorization",
                        "OAuth realm=\"Example\", oauth_consumer_key=\"9djdj82h48djs9d2\", "
                        "oauth_token=\"kkk9d7dh3k39sjv7\", oauth_signature_method=\"HMAC-SHA1\", "
                        "oauth_timestamp=\"137131201\", oauth_nonce=\"7d8f3e4a\", "
                        "oauth_signature=\"bYT5CMsGcbgUdFHObYMEfcx6bsw%3D\""}};
    request.body = "c2&a3=2+q";
    EXPECT_EQ(FakeOAuthService::baseStringOf(request),
              "POST&http%3A%2F%2Fexample.com%2Frequest&a2%3Dr%2520b%26a3%3D2%2520q%26a3%3Da%26"
              "b5%3D%253D%25253D%26c%2540%3D%26c2%3D%26oauth_consumer_key%3D9djdj82h48djs9d2%26"
              "oauth_nonce%3D7d8f3e4a%26oauth_signature_method%3DHMAC-SHA1%26oauth_timestamp%3D"
              "137131201%26oauth_token%3Dkkk9d7dh3k39sjv7");
    EXPECT_FALSE(FakeOAuthService::parseAuthorization("Basic dXNlcjpwdw=="));
    EXPECT_FALSE(FakeOAuthService::parseAuthorization("OAuth a=\"1\", a=\"2\""));
}

TEST_F(FakeOAuthServiceTest, TheWholeLoginGivesATokenThatSignsAndARefreshRetiresIt) {
    OAuthRequest requestToken(QUrl(service_.requestTokenUrl()), kConsumer, OAuthToken());
    requestToken.setOAuthParameter("oauth_callback", kCallback);
    const OAuthAnswer first = send(requestToken);
    ASSERT_TRUE(first.succeeded()) << first.body.toStdString();
    EXPECT_TRUE(first.body.contains("oauth_callback_confirmed=true"));
    const std::optional<OAuthToken> request = OAuthToken::fromAnswer(first.body);
    ASSERT_TRUE(request);

    // The page's "allow" link holds the callback with the token and a verifier.
    QNetworkAccessManager manager;
    QNetworkReply* page = manager.get(
        QNetworkRequest(QUrl(service_.authorizeUrl() + "?oauth_token=" + request->key)));
    QEventLoop loop;
    QObject::connect(page, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const QString html = QString::fromUtf8(page->readAll());
    delete page;
    const QString allow = service_.allowUrl(request->key);
    EXPECT_TRUE(allow.startsWith(kCallback + "?oauth_token=")) << allow.toStdString();
    EXPECT_TRUE(html.contains("id=\"allow\" href=\"" + allow.toHtmlEscaped() + "\""));
    EXPECT_TRUE(html.contains("id=\"deny\" href=\"" + kCallback + "?oauth_problem=user_refused\""));
    const QString verifier = QRegularExpression("oauth_verifier=([^&]+)").match(allow).captured(1);
    ASSERT_FALSE(verifier.isEmpty());

    OAuthRequest wrongVerifier(QUrl(service_.accessTokenUrl()), kConsumer, *request);
    wrongVerifier.setOAuthParameter("oauth_verifier", verifier + "x");
    EXPECT_EQ(send(wrongVerifier).httpStatus, 401);

    OAuthRequest accessToken(QUrl(service_.accessTokenUrl()), kConsumer, *request);
    accessToken.setOAuthParameter("oauth_verifier", verifier);
    const OAuthAnswer second = send(accessToken);
    ASSERT_TRUE(second.succeeded()) << second.body.toStdString();
    const std::optional<OAuthToken> access = OAuthToken::fromAnswer(second.body);
    ASSERT_TRUE(access);
    EXPECT_FALSE(access->sessionHandle.isEmpty());
    EXPECT_EQ(send(accessToken).httpStatus, 401) << "a request token is used once";

    EXPECT_TRUE(send(status(*access, "hello")).succeeded());

    OAuthRequest refresh(QUrl(service_.accessTokenUrl()), kConsumer, *access);
    refresh.setOAuthParameter("oauth_session_handle", access->sessionHandle);
    const OAuthAnswer third = send(refresh);
    ASSERT_TRUE(third.succeeded()) << third.body.toStdString();
    const std::optional<OAuthToken> renewed = OAuthToken::fromAnswer(third.body);
    ASSERT_TRUE(renewed);
    EXPECT_NE(renewed->key, access->key);
    EXPECT_EQ(send(status(*access, "old")).httpStatus, 401) << "the old token is retired";
    EXPECT_TRUE(send(status(*renewed, "new")).succeeded());

    const QStringList refusals = {"/oauth/access_token: a wrong or missing oauth_verifier",
                                  "/oauth/access_token: an unknown token",
                                  "/1/statuses/update.json: no live access token"};
    EXPECT_EQ(service_.failures(), refusals);
}

TEST_F(FakeOAuthServiceTest, ARequestOurClientSignsIsAcceptedAndAnyChangeIsRefused) {
    const OAuthToken token = tokenOf(service_.grantAccessToken());
    EXPECT_TRUE(send(status(token, QString::fromUtf8("a+b & c=d é"))).succeeded());
    OAuthRequest get(QUrl(server_.url("/1/statuses/update.json?x=1%2B1")), kConsumer, token);
    get.setMethod("GET");
    get.setParameters({{"y", "a b"}});
    EXPECT_TRUE(send(get).succeeded());
    EXPECT_TRUE(service_.failures().isEmpty()) << service_.failures().join("\n").toStdString();

    const QUrl url(server_.url("/1/statuses/update.json"));
    OAuthRequest signedOnce = status(token, "hello");
    QByteArray header = signedOnce.authorizationHeader();
    const Raw changedByte = sendRaw(url, header, "status=hellp");
    EXPECT_EQ(changedByte.status, 401);
    EXPECT_EQ(changedByte.body,
              "{\"error\":\"Could not authenticate with OAuth.\",\"request\":"
              "\"/1/statuses/update.json\"}");
    EXPECT_EQ(sendRaw(url, signedOnce.authorizationHeader(), "status=hello").status, 200);

    OAuthToken wrongSecret = token;
    wrongSecret.secret += "x";
    EXPECT_EQ(send(status(wrongSecret, "hello")).httpStatus, 401);
    EXPECT_EQ(send(OAuthRequest(url, {kConsumer.key, "other"}, token)).httpStatus, 401);
    EXPECT_EQ(service_.failures().size(), 3);
    for (const QString& reason : service_.failures()) {
        EXPECT_TRUE(reason.endsWith("the signature does not verify")) << reason.toStdString();
        EXPECT_FALSE(reason.contains(token.key) || reason.contains(token.secret) ||
                     reason.contains(kConsumer.secret));
    }
}

TEST_F(FakeOAuthServiceTest, AUsedNonceAStaleTimestampAndARevokedTokenAreRefused) {
    const OAuthToken token = tokenOf(service_.grantAccessToken());
    const QUrl url(server_.url("/1/statuses/update.json"));
    const QByteArray header = status(token, "once").authorizationHeader();
    EXPECT_EQ(sendRaw(url, header, "status=once").status, 200);
    const Raw replayed = sendRaw(url, header, "status=once");
    EXPECT_EQ(replayed.status, 401);
    EXPECT_EQ(replayed.body, "{\"error\":\"Invalid / used nonce\"}");

    service_.rejectNextNonce();
    EXPECT_EQ(send(status(token, "a")).body, "{\"error\":\"Invalid / used nonce\"}");
    EXPECT_TRUE(send(status(token, "a")).succeeded()) << "only the next nonce is rejected";

    qint64 clock = 1700000000;
    service_.setClock([&clock] { return clock; });
    OAuthRequest::setClockForTesting([] { return qint64(1700000000 - 301); });
    EXPECT_EQ(send(status(token, "late")).httpStatus, 401);
    OAuthRequest::setClockForTesting([] { return qint64(1700000000 + 300); });
    EXPECT_TRUE(send(status(token, "in time")).succeeded());
    OAuthRequest::setClockForTesting([] { return qint64(1); });
    service_.setCheckTimestamps(false);
    EXPECT_TRUE(send(status(token, "unchecked")).succeeded());
    OAuthRequest::setClockForTesting({});

    service_.revokeAccessTokens();
    EXPECT_EQ(send(status(token, "revoked")).httpStatus, 401);
    EXPECT_EQ(service_.failures().size(), 4);
}

TEST_F(FakeOAuthServiceTest, TokenCallsCanBeMadeToFailAndNeedTheirParameters) {
    service_.failNextRequestToken(503, "down");
    OAuthRequest requestToken(QUrl(service_.requestTokenUrl()), kConsumer, OAuthToken());
    requestToken.setOAuthParameter("oauth_callback", kCallback);
    const OAuthAnswer down = send(requestToken);
    EXPECT_EQ(down.httpStatus, 503);
    EXPECT_EQ(down.body, "down");
    EXPECT_TRUE(send(requestToken).succeeded());

    OAuthRequest withoutCallback(QUrl(service_.requestTokenUrl()), kConsumer, OAuthToken());
    EXPECT_EQ(send(withoutCallback).httpStatus, 401);
    EXPECT_EQ(service_.failures(), QStringList{"/oauth/request_token: no oauth_callback"});

    service_.failNextAccessToken(500, "broken");
    EXPECT_EQ(
        send(OAuthRequest(QUrl(service_.accessTokenUrl()), kConsumer, OAuthToken())).httpStatus,
        500);
    EXPECT_TRUE(service_.allowUrl("never-issued").isEmpty());
}

TEST_F(FakeOAuthServiceTest, AnEchoHeaderIsCheckedAgainstTheCredentialsAddress) {
    const OAuthToken token = tokenOf(service_.grantAccessToken());
    const QUrl verify("https://api.test/1/account/verify_credentials.json");
    OAuthRequest echo(verify, kConsumer, token, "https://api.test/");
    echo.setMethod("GET");
    const QByteArray header = echo.authorizationHeader();
    EXPECT_TRUE(service_.verifyEcho(header, "GET", verify));
    EXPECT_FALSE(service_.verifyEcho(header, "GET", verify)) << "its nonce is used";
    const QByteArray other = echo.authorizationHeader();
    EXPECT_FALSE(service_.verifyEcho(other, "GET", QUrl("https://api.test/1/other.json")));
    EXPECT_FALSE(service_.verifyEcho(other, "POST", verify));
    EXPECT_FALSE(service_.verifyEcho("", "GET", verify));
    EXPECT_TRUE(service_.verifyEcho(other, "GET", verify));
}

}  // namespace
}  // namespace lumigrave::test
