// The Graph API calls against a fake service on 127.0.0.1: the photo upload and the link
// post as the service reads them, and what every kind of answer means for the share.
#include "sharing/facebook_graph.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QEventLoop>
#include <QHostAddress>
#include <QImage>
#include <QTcpServer>
#include <QTimer>
#include <optional>

#include "sharing/share_configuration.h"
#include "support/fake_http_server.h"
#include "support/log_capture.h"
#include "support/temp_home.h"

namespace lumigrave::sharing {
namespace {

using Server = test::FakeHttpServer;
using Outcome = FacebookGraphAnswer::Outcome;

class FakeGraph : public DefaultShareConfigurator {
  public:
    explicit FakeGraph(QString base) : base_(std::move(base)) {}
    QString facebookGraphURL() const override { return base_; }

  private:
    QString base_;
};

const QString kToken = QStringLiteral("EAAB-secret-token+/=");

class FacebookGraphTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server_.listen());
        ShareConfiguration::sharedInstanceWithConfigurator(
            std::make_unique<FakeGraph>(server_.url("/graph/")));
    }
    void TearDown() override { ShareConfiguration::sharedInstanceWithConfigurator(nullptr); }

    FacebookGraphAnswer post(const FacebookGraphRequest& request,
                             int timeoutMs = FacebookGraph::kTimeoutMs) {
        std::optional<FacebookGraphAnswer> result;
        QEventLoop loop;
        FacebookGraph::post(
            request,
            [&](const FacebookGraphAnswer& answer) {
                result = answer;
                loop.quit();
            },
            nullptr, timeoutMs);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_TRUE(result) << "no answer came";
        return result.value_or(FacebookGraphAnswer{});
    }

    static QByteArray png() {
        QImage pixels(5, 3, QImage::Format_RGB32);
        pixels.fill(qRgb(10, 200, 30));
        pixels.setPixel(4, 2, qRgb(255, 0, 0));
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        pixels.save(&buffer, "PNG");
        return buffer.data();
    }

    test::TempHome home_;
    Server server_;
};

TEST_F(FacebookGraphTest, ThePhotoGoesAsMultipartWithTitleAndToken) {
    server_.setResponse("/graph/me/photos", Server::text(200, R"({"id":"1015","post_id":"7_1015"})",
                                                         "text/javascript"));
    const QByteArray image = png();
    const FacebookGraphAnswer answer =
        post(FacebookGraph::photoUpload(image, "Créé by Lumigrave", kToken));
    EXPECT_EQ(answer.outcome, Outcome::Posted);
    EXPECT_EQ(answer.id, "1015");

    ASSERT_EQ(server_.requests().size(), 1);
    const Server::Request& request = server_.requests()[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "/graph/me/photos");
    EXPECT_TRUE(request.query.isEmpty()) << "the token stays out of the address";
    const QList<Server::FormPart> parts =
        Server::parseMultipart(request.header("Content-Type"), request.body);
    ASSERT_EQ(parts.size(), 3);
    EXPECT_EQ(parts[0].name, "access_token");
    EXPECT_EQ(QString::fromUtf8(parts[0].data), kToken);
    EXPECT_EQ(parts[1].name, "message");
    EXPECT_EQ(QString::fromUtf8(parts[1].data), "Créé by Lumigrave");
    EXPECT_EQ(parts[2].name, "source");
    EXPECT_EQ(parts[2].contentType, "image/png");
    EXPECT_FALSE(parts[2].filename.isEmpty());
    EXPECT_EQ(parts[2].data, image) << "the image arrives byte for byte";
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(parts[2].data, "PNG"));
    EXPECT_EQ(decoded.pixel(4, 2), qRgb(255, 0, 0));
}

TEST_F(FacebookGraphTest, AnEmptyTitleSendsNoMessage) {
    const FacebookGraphRequest request = FacebookGraph::photoUpload(png(), QString(), kToken);
    const QList<Server::FormPart> parts = Server::parseMultipart(request.contentType, request.body);
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[0].name, "access_token");
    EXPECT_EQ(parts[1].name, "source");
}

TEST_F(FacebookGraphTest, TheLinkGoesAsAFormToTheFeed) {
    server_.setResponse("/graph/me/feed", Server::text(200, R"({"id":"7_42"})"));
    const QUrl link("https://lumigrave.app/?a=1&b=x+y");
    const FacebookGraphAnswer answer = post(FacebookGraph::linkPost(
        link, "Lumigrave is Awesome! & more", "A description", QString(), kToken));
    EXPECT_EQ(answer.outcome, Outcome::Posted);
    EXPECT_EQ(answer.id, "7_42");
    ASSERT_EQ(server_.requests().size(), 1);
    const Server::Request& request = server_.requests()[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "/graph/me/feed");
    EXPECT_EQ(request.header("Content-Type"), "application/x-www-form-urlencoded");
    const QList<QPair<QString, QString>> form = Server::parseForm(request.body);
    const QList<QPair<QString, QString>> expected = {{"access_token", kToken},
                                                     {"link", "https://lumigrave.app/?a=1&b=x+y"},
                                                     {"message", "Lumigrave is Awesome! & more"},
                                                     {"description", "A description"}};
    EXPECT_EQ(form, expected);
}

struct AnswerRow {
    int status;
    const char* body;
    Outcome outcome;
    const char* idOrMessage;
};

void PrintTo(const AnswerRow& row, std::ostream* out) {
    *out << row.status << " " << row.body;
}

class AnswerTable : public testing::TestWithParam<AnswerRow> {};

TEST_P(AnswerTable, MeansWhatTheServiceSaid) {
    const AnswerRow& row = GetParam();
    const FacebookGraphAnswer answer = FacebookGraph::parseAnswer(row.status, row.body);
    EXPECT_EQ(answer.outcome, row.outcome);
    EXPECT_EQ(row.outcome == Outcome::Posted ? answer.id : answer.message,
              QString::fromUtf8(row.idOrMessage));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, AnswerTable,
    testing::Values(
        AnswerRow{200, R"({"id":"1"})", Outcome::Posted, "1"},
        AnswerRow{201, R"({"id":12345678901234})", Outcome::Posted, "12345678901234"},
        // An expired, a revoked and a malformed token.
        AnswerRow{400,
                  R"({"error":{"message":"Error validating access token: Session has expired",
                      "type":"OAuthException","code":190,"error_subcode":463}})",
                  Outcome::TokenRejected, "Error validating access token: Session has expired"},
        AnswerRow{400, R"({"error":{"message":"Invalid OAuth access token.","code":190}})",
                  Outcome::TokenRejected, "Invalid OAuth access token."},
        AnswerRow{400, R"({"error":{"message":"Bad session","type":"OAuthException"}})",
                  Outcome::TokenRejected, "Bad session"},
        AnswerRow{400,
                  R"({"error":{"message":"Session key invalid","type":"OAuthException",
                      "code":102}})",
                  Outcome::TokenRejected, "Session key invalid"},
        // The same type for a refusal a new login cannot mend: shown, not looped on.
        AnswerRow{400,
                  R"({"error":{"message":"(#506) Duplicate status message",
                      "type":"OAuthException","code":506}})",
                  Outcome::Failed, "(#506) Duplicate status message"},
        AnswerRow{500, R"({"error":{"message":"An unknown error has occurred.",
                      "type":"Exception","code":1}})",
                  Outcome::Failed, "An unknown error has occurred."},
        // An error wins over an id, and whatever the status.
        AnswerRow{200, R"({"id":"1","error":{"message":"No","code":2}})", Outcome::Failed, "No"},
        // Wrong types and shapes.
        AnswerRow{400, R"({"error":{"message":7,"type":[],"code":"190"}})", Outcome::Failed,
                  "Facebook refused the share."},
        AnswerRow{400, R"({"error":"invalid_token"})", Outcome::Failed,
                  "Facebook answered with HTTP status 400."},
        AnswerRow{200, R"({"id":""})", Outcome::Failed, "Facebook's answer could not be read."},
        AnswerRow{200, R"({"id":{"a":1}})", Outcome::Failed,
                  "Facebook's answer could not be read."},
        AnswerRow{200, R"(["id","1"])", Outcome::Failed, "Facebook's answer could not be read."},
        AnswerRow{200, "true", Outcome::Failed, "Facebook's answer could not be read."},
        AnswerRow{200, "", Outcome::Failed, "Facebook's answer could not be read."},
        AnswerRow{200, "{\"id\":\"1\"", Outcome::Failed, "Facebook's answer could not be read."},
        AnswerRow{502, "<html>Bad gateway</html>", Outcome::Failed,
                  "Facebook answered with HTTP status 502."},
        AnswerRow{401, "", Outcome::TokenRejected, "Facebook did not accept the login."},
        // The message is shown in an alert: one line.
        AnswerRow{400, "{\"error\":{\"message\":\"two\\nlines\\t here\",\"code\":100}}",
                  Outcome::Failed, "two lines here"}));

TEST_F(FacebookGraphTest, AnOverlongAnswerOrMessageIsCut) {
    QByteArray huge =
        R"({"id":"1","pad":")" + QByteArray(FacebookGraph::kMaxAnswerBytes, 'x') + R"("})";
    EXPECT_EQ(FacebookGraph::parseAnswer(200, huge).outcome, Outcome::Failed);
    const QByteArray longMessage =
        R"({"error":{"message":")" + QByteArray(5000, 'm') + R"(","code":100}})";
    const FacebookGraphAnswer answer = FacebookGraph::parseAnswer(400, longMessage);
    EXPECT_EQ(answer.outcome, Outcome::Failed);
    EXPECT_EQ(answer.message.size(), FacebookGraph::kMaxMessageLength);
}

TEST_F(FacebookGraphTest, NoAnswerInTimeOrNoServiceFailsWithoutLoggingTheToken) {
    Server::Response silent;
    silent.neverAnswer = true;
    server_.setResponse("/graph/me/feed", silent);
    test::LogCapture log;
    FacebookGraphAnswer answer =
        post(FacebookGraph::linkPost(QUrl("https://a.test/"), "m", {}, {}, kToken), 300);
    EXPECT_EQ(answer.outcome, Outcome::Failed);
    EXPECT_EQ(answer.message, "Facebook did not answer in time.");

    // A service that is not there at all.
    quint16 closedPort = 0;
    {
        QTcpServer closed;
        ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
        closedPort = closed.serverPort();
    }
    ShareConfiguration::sharedInstanceWithConfigurator(
        std::make_unique<FakeGraph>(QStringLiteral("http://127.0.0.1:%1").arg(closedPort)));
    answer = post(FacebookGraph::photoUpload(png(), "m", kToken));
    EXPECT_EQ(answer.outcome, Outcome::Failed);
    EXPECT_EQ(answer.message, "Facebook could not be reached.");
    for (const QString& line : log.lines()) {
        EXPECT_FALSE(line.contains("secret-token")) << line.toStdString();
    }
}

}  // namespace
}  // namespace lumigrave::sharing
