#include "sharing/oauth/oauth_request.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QHostAddress>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTimer>
#include <memory>
#include <optional>

#include "support/fake_http_server.h"
#include "support/log_capture.h"
#include "support/temp_home.h"

namespace lumigrave::sharing {
namespace {

using test::FakeHttpServer;

const OAuthApp kConsumer{"consumer key", "consumer+secret"};
const OAuthToken kToken{"token/key", "token&secret", {}};
constexpr qint64 kNow = 1700000000;

class OAuthRequestTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server_.listen());
        OAuthRequest::setClockForTesting([] { return kNow; });
        OAuthRequest::setNonceSourceForTesting(
            [this] { return QString("nonce-%1").arg(++nonces_); });
    }
    void TearDown() override {
        OAuthRequest::setClockForTesting({});
        OAuthRequest::setNonceSourceForTesting({});
    }

    OAuthAnswer send(const OAuthRequest& request, int timeoutMs = OAuthRequest::kTimeoutMs) {
        std::optional<OAuthAnswer> result;
        QEventLoop loop;
        request.send(
            [&](const OAuthAnswer& answer) {
                result = answer;
                loop.quit();
            },
            nullptr, timeoutMs);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_TRUE(result) << "no answer came";
        return result.value_or(OAuthAnswer{});
    }

    // What the request must have been signed as, built here field by field.
    OAuthSigningInput expected(const QByteArray& method, const QString& url,
                               const OAuthParameters& body, const QString& nonce) const {
        OAuthSigningInput input;
        input.method = method;
        input.url = QUrl(url);
        input.bodyParameters = body;
        input.consumer = kConsumer;
        input.token = kToken;
        input.realm = "http://api.test/";
        input.timestamp = kNow;
        input.nonce = nonce;
        return input;
    }

    test::TempHome home_;
    FakeHttpServer server_;
    int nonces_ = 0;
};

TEST_F(OAuthRequestTest, APostSendsItsParametersAsAFormBodyAndTheHeaderForTheClockAndNonce) {
    server_.setResponse("/1/statuses/update.json", FakeHttpServer::text(200, "{}"));
    OAuthRequest request(QUrl(server_.url("/1/statuses/update.json?trim_user=1")), kConsumer,
                         kToken, "http://api.test/");
    const OAuthParameters parameters = {{"status", QString::fromUtf8("a b+c&d=e% é 😀")},
                                        {"tag", "1"}};
    request.setParameters(parameters);
    request.setOAuthParameter("oauth_verifier", "v+1");
    request.setHeader("X-Test", "yes");

    const OAuthAnswer answer = send(request);
    EXPECT_TRUE(answer.succeeded());
    ASSERT_EQ(server_.requests().size(), 1);
    const FakeHttpServer::Request& received = server_.requests().first();
    EXPECT_EQ(received.method, "POST");
    EXPECT_EQ(received.query, "trim_user=1");
    EXPECT_TRUE(received.header("Content-Type").startsWith("application/x-www-form-urlencoded"));
    EXPECT_EQ(received.body, "status=a%20b%2Bc%26d%3De%25%20%C3%A9%20%F0%9F%98%80&tag=1");
    EXPECT_EQ(FakeHttpServer::parseForm(received.body), parameters)
        << "a service reading the body sees the very values that were signed";
    EXPECT_EQ(received.header("X-Test"), "yes");

    OAuthSigningInput input =
        expected("POST", server_.url("/1/statuses/update.json?trim_user=1"), parameters, "nonce-1");
    input.extraOAuthParameters.insert("oauth_verifier", "v+1");
    EXPECT_EQ(received.header("Authorization"), OAuthSignature::authorizationHeader(input));
}

TEST_F(OAuthRequestTest, AGetSendsItsParametersInTheSignedQuery) {
    server_.setResponse("/1/account/verify_credentials.json", FakeHttpServer::text(200, "{}"));
    OAuthRequest request(QUrl(server_.url("/1/account/verify_credentials.json?a=x%2By")), kConsumer,
                         kToken, "http://api.test/");
    request.setMethod("GET");
    request.setParameters({{"include", "b c&d"}});
    EXPECT_TRUE(send(request).succeeded());
    ASSERT_EQ(server_.requests().size(), 1);
    const FakeHttpServer::Request& received = server_.requests().first();
    EXPECT_EQ(received.method, "GET");
    EXPECT_EQ(received.query, "a=x%2By&include=b%20c%26d");
    EXPECT_TRUE(received.body.isEmpty());
    EXPECT_EQ(received.header("Authorization"),
              OAuthSignature::authorizationHeader(
                  expected("GET",
                           server_.url("/1/account/verify_credentials.json?a=x%2By&"
                                       "include=b%20c%26d"),
                           {}, "nonce-1")));
}

TEST_F(OAuthRequestTest, ABodyOfItsOwnIsSentAsItIsAndLeftUnsigned) {
    server_.setResponse("/api/2/upload.xml", FakeHttpServer::text(200, "<url>x</url>"));
    OAuthRequest request(QUrl(server_.url("/api/2/upload.xml")), kConsumer, kToken,
                         "http://api.test/");
    const QByteArray body =
        "--B\r\nContent-Disposition: form-data; name=\"message\"\r\n\r\n"
        "status=signed?\r\n--B--\r\n";
    request.setParameters({{"status", "not sent"}});
    request.setBody("multipart/form-data; boundary=B", body);
    EXPECT_TRUE(send(request).succeeded());
    ASSERT_EQ(server_.requests().size(), 1);
    const FakeHttpServer::Request& received = server_.requests().first();
    EXPECT_EQ(received.body, body);
    EXPECT_EQ(received.header("Content-Type"), "multipart/form-data; boundary=B");
    EXPECT_EQ(received.header("Authorization"),
              OAuthSignature::authorizationHeader(
                  expected("POST", server_.url("/api/2/upload.xml"), {}, "nonce-1")));
}

TEST_F(OAuthRequestTest, EachSigningTakesANewNonceAndTheRealSourcesGiveAUuidAndWholeSeconds) {
    OAuthRequest request(QUrl("http://api.test/x"), kConsumer, kToken);
    EXPECT_EQ(request.signingInput().nonce, "nonce-1");
    EXPECT_EQ(request.signingInput().nonce, "nonce-2");
    EXPECT_EQ(request.signingInput().timestamp, kNow);

    OAuthRequest::setClockForTesting({});
    OAuthRequest::setNonceSourceForTesting({});
    const OAuthSigningInput first = request.signingInput();
    const OAuthSigningInput second = request.signingInput();
    const QRegularExpression uuid("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$");
    EXPECT_TRUE(uuid.match(first.nonce).hasMatch()) << first.nonce.toStdString();
    EXPECT_NE(first.nonce, second.nonce);
    // Seconds, not milliseconds: a timestamp in milliseconds would be in the year 50000.
    EXPECT_GT(first.timestamp, 1600000000);
    EXPECT_LT(first.timestamp, 4102444800);
}

TEST_F(OAuthRequestTest, AnErrorStatusIsAnAnswerAndARedirectIsNotFollowed) {
    server_.setResponse(
        "/refused", FakeHttpServer::text(401, "{\"error\":\"Could not authenticate with OAuth.\"}",
                                         "application/json"));
    FakeHttpServer::Response moved = FakeHttpServer::text(302, "");
    moved.headers.append({"Location", server_.url("/elsewhere").toUtf8()});
    server_.setResponse("/moved", moved);
    server_.setResponse("/elsewhere", FakeHttpServer::text(200, "followed"));

    const OAuthAnswer refused =
        send(OAuthRequest(QUrl(server_.url("/refused")), kConsumer, kToken));
    EXPECT_FALSE(refused.networkFailed);
    EXPECT_FALSE(refused.succeeded());
    EXPECT_EQ(refused.httpStatus, 401);
    EXPECT_EQ(refused.body, "{\"error\":\"Could not authenticate with OAuth.\"}");

    const OAuthAnswer redirected =
        send(OAuthRequest(QUrl(server_.url("/moved")), kConsumer, kToken));
    EXPECT_FALSE(redirected.networkFailed);
    EXPECT_EQ(redirected.httpStatus, 302);
    EXPECT_TRUE(server_.requestsTo("/elsewhere").isEmpty());
}

TEST_F(OAuthRequestTest, AnOversizedAnswerIsCutAtTheCap) {
    const QByteArray big(OAuthRequest::kMaxAnswerBytes + 200000, 'x');
    server_.setResponse("/big", FakeHttpServer::text(200, big));
    const OAuthAnswer answer = send(OAuthRequest(QUrl(server_.url("/big")), kConsumer, kToken));
    EXPECT_FALSE(answer.networkFailed);
    EXPECT_EQ(answer.httpStatus, 200);
    EXPECT_EQ(answer.body.size(), OAuthRequest::kMaxAnswerBytes);
}

TEST_F(OAuthRequestTest, NoAnswerInTimeAndARefusedConnectionFailWithoutQuotingTheCredentials) {
    FakeHttpServer::Response silent;
    silent.neverAnswer = true;
    server_.setResponse("/silent", silent);
    test::LogCapture log;
    const OAuthAnswer late =
        send(OAuthRequest(QUrl(server_.url("/silent")), kConsumer, kToken), 300);
    EXPECT_TRUE(late.networkFailed);
    EXPECT_FALSE(late.succeeded());
    EXPECT_FALSE(late.networkError.isEmpty());

    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    const OAuthAnswer refused =
        send(OAuthRequest(QUrl(QString("http://127.0.0.1:%1/x?oauth_token=token%2Fkey").arg(port)),
                          kConsumer, kToken));
    EXPECT_TRUE(refused.networkFailed);
    EXPECT_FALSE(refused.networkError.isEmpty());

    for (const QString& text : QStringList{late.networkError, refused.networkError} + log.lines()) {
        for (const char* secret : {"token/key", "token%2Fkey", "token&secret", "consumer+secret",
                                   "consumer%20key", "OAuth realm", "nonce-"}) {
            EXPECT_FALSE(text.contains(secret)) << text.toStdString();
        }
    }
}

TEST_F(OAuthRequestTest, NothingIsCalledBackWhenTheContextGoesFirst) {
    FakeHttpServer::Response silent;
    silent.neverAnswer = true;
    server_.setResponse("/silent", silent);
    auto context = std::make_unique<QObject>();
    bool called = false;
    OAuthRequest(QUrl(server_.url("/silent")), kConsumer, kToken)
        .send([&](const OAuthAnswer&) { called = true; }, context.get(), 300);
    ASSERT_TRUE(server_.waitForRequests(1));
    context.reset();
    // A second request with the same timeout, started later, ends after the first one.
    EXPECT_TRUE(
        send(OAuthRequest(QUrl(server_.url("/silent")), kConsumer, kToken), 300).networkFailed);
    EXPECT_FALSE(called);
}

}  // namespace
}  // namespace lumigrave::sharing
