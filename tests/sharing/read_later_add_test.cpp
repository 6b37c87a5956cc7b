#include "sharing/readlater/read_later_add.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QTimer>
#include <optional>

#include "sharing/share_configuration.h"
#include "support/fake_http_server.h"
#include "support/log_capture.h"
#include "support/temp_home.h"

namespace lumigrave::sharing {
namespace {

using Kind = ReadLaterAdd::Outcome::Kind;

const QString kKey = QStringLiteral("aB3dE5gH7jK9mN1pQ3sT5vW7yZ9bC1dF");

class Keys : public DefaultShareConfigurator {
  public:
    QString readItLaterKey() const override { return kKey; }
};

// The service faked on 127.0.0.1, reached through a deployment file as a packager would.
class ReadLaterAddTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server_.listen());
        savedConfigDirs_ = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_DIRS", home_.filePath("etc-xdg").toUtf8());
        pointAt(server_.url("/v2/"));
    }
    void TearDown() override {
        qputenv("XDG_CONFIG_DIRS", savedConfigDirs_);
        ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
    }
    void pointAt(const QString& base) {
        ASSERT_TRUE(QDir().mkpath(home_.filePath(".config/lumigrave")));
        QFile file(home_.filePath(".config/lumigrave/sharing.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[sharing]\nreadItLaterURL=" + base.toUtf8() + "\n");
        file.close();
        ShareConfiguration::sharedInstanceWithConfigurator(std::make_unique<Keys>());
    }

    // Adds and spins the event loop until the outcome comes.
    ReadLaterAdd::Outcome add(const ReadLaterAdd::Request& request,
                              int timeoutMs = ReadLaterAdd::kTimeoutMs) {
        std::optional<ReadLaterAdd::Outcome> result;
        QEventLoop loop;
        ReadLaterAdd::add(
            request,
            [&](const ReadLaterAdd::Outcome& outcome) {
                result = outcome;
                loop.quit();
            },
            nullptr, timeoutMs);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_TRUE(result) << "no outcome came";
        return result.value_or(ReadLaterAdd::Outcome{Kind::Failed, "none"});
    }
    static ReadLaterAdd::Request ann() {
        return {"ann", "pa&ss=wo+rd %", QUrl("https://mm-apps.test/Lumigrave/?a=1&b=x+y"),
                "Läsen + mehr"};
    }

    test::TempHome home_;
    test::FakeHttpServer server_;
    QByteArray savedConfigDirs_;
};

TEST_F(ReadLaterAddTest, TheAddCallPostsEveryFieldAsAFormInUtf8) {
    server_.setResponse("/v2/add", test::FakeHttpServer::text(200, "200 OK"));
    const ReadLaterAdd::Outcome outcome = add(ann());
    EXPECT_EQ(outcome.kind, Kind::Saved);
    ASSERT_EQ(server_.requests().size(), 1);
    const test::FakeHttpServer::Request& request = server_.requests().first();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "/v2/add") << "one slash between the base and the call";
    EXPECT_TRUE(request.query.isEmpty()) << "no login in the address";
    EXPECT_TRUE(request.header("Content-Type").startsWith("application/x-www-form-urlencoded"));
    const QList<QPair<QString, QString>> expected = {
        {"username", "ann"},
        {"password", "pa&ss=wo+rd %"},
        {"apikey", kKey},
        {"url", "https://mm-apps.test/Lumigrave/?a=1&b=x+y"},
        {"title", "Läsen + mehr"}};
    EXPECT_EQ(test::FakeHttpServer::parseForm(request.body), expected);
    EXPECT_FALSE(request.body.contains(' ')) << "spaces are encoded, never sent raw";
}

TEST_F(ReadLaterAddTest, TheAnswersStatusAndMessageComeBack) {
    test::FakeHttpServer::Response refused = test::FakeHttpServer::text(401, "401 Unauthorized");
    refused.headers.append(qMakePair(QByteArray("X-Error"), QByteArray("User was not found")));
    server_.enqueueResponse("/v2/add", refused);
    test::FakeHttpServer::Response limited = test::FakeHttpServer::text(403, "");
    limited.headers.append(qMakePair(QByteArray("X-Error"),
                                     QByteArray("Rate limit exceeded \xE2\x80\x93 wait an hour")));
    server_.enqueueResponse("/v2/add", limited);
    server_.enqueueResponse("/v2/add", test::FakeHttpServer::text(503, "down"));
    server_.enqueueResponse("/v2/add", test::FakeHttpServer::text(302, ""));

    ReadLaterAdd::Outcome outcome = add(ann());
    EXPECT_EQ(outcome.kind, Kind::BadCredentials);
    EXPECT_EQ(outcome.message, "User was not found");
    outcome = add(ann());
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_EQ(outcome.message, "Rate limit exceeded – wait an hour");
    outcome = add(ann());
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_EQ(outcome.message, "Pocket is down for maintenance. Please try again later.");
    outcome = add(ann());
    EXPECT_EQ(outcome.kind, Kind::Failed) << "a redirect is not followed with the password";
    EXPECT_EQ(server_.requests().size(), 4);
}

TEST_F(ReadLaterAddTest, NoAnswerInTimeOrNoServiceFailsAndLogsNoSecret) {
    test::FakeHttpServer::Response silent;
    silent.neverAnswer = true;
    server_.setResponse("/v2/add", silent);
    test::LogCapture log;
    ReadLaterAdd::Outcome outcome = add(ann(), 300);
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_EQ(outcome.message, "Pocket did not answer in time. Please try again later.");

    quint16 closedPort = 0;
    {
        QTcpServer closed;
        ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
        closedPort = closed.serverPort();
    }
    pointAt(QStringLiteral("http://127.0.0.1:%1/v2").arg(closedPort));
    outcome = add(ann());
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_EQ(outcome.message, "Pocket could not be reached. Please try again later.");
    ASSERT_FALSE(log.lines().isEmpty());
    for (const QString& line : log.lines()) {
        EXPECT_FALSE(line.contains("pa&ss") || line.contains(kKey) || line.contains("ann"))
            << line.toStdString();
    }
}

TEST_F(ReadLaterAddTest, NoOutcomeReachesACallerThatWentAway) {
    test::FakeHttpServer::Response slow = test::FakeHttpServer::text(200, "200 OK");
    server_.setResponse("/v2/add", slow);
    bool called = false;
    {
        QObject caller;
        ReadLaterAdd::add(
            ann(), [&](const ReadLaterAdd::Outcome&) { called = true; }, &caller);
    }
    ASSERT_TRUE(server_.waitForRequests(1));
    QEventLoop loop;
    QTimer::singleShot(100, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_FALSE(called);
}

// What each answer means, with the service's message where it gave a usable one.
struct AnswerRow {
    int status;
    QByteArray xError;
    Kind kind;
    QString message;
};

class ReadLaterAnswerTest : public testing::TestWithParam<AnswerRow> {};

TEST_P(ReadLaterAnswerTest, TheStatusDecidesAndTheServiceMayExplain) {
    const AnswerRow& row = GetParam();
    const ReadLaterAdd::Outcome outcome = ReadLaterAdd::outcomeForAnswer(row.status, row.xError);
    EXPECT_EQ(outcome.kind, row.kind) << row.status;
    EXPECT_EQ(outcome.message, row.message) << row.status;
}

const QString kLong = QString(ReadLaterAdd::kMaxMessageChars, QChar('x')) + QChar(0x2026);

INSTANTIATE_TEST_SUITE_P(
    Answers, ReadLaterAnswerTest,
    testing::Values(
        AnswerRow{200, "", Kind::Saved, ""}, AnswerRow{201, "ignored", Kind::Saved, ""},
        AnswerRow{401, "", Kind::BadCredentials, ""},
        AnswerRow{401, "Invalid password", Kind::BadCredentials, "Invalid password"},
        AnswerRow{
            403, "", Kind::Failed,
            "Pocket is taking no more links from Lumigrave just now. Please try again later."},
        AnswerRow{403, "Invalid API key", Kind::Failed, "Invalid API key"},
        AnswerRow{503, "", Kind::Failed, "Pocket is down for maintenance. Please try again later."},
        AnswerRow{400, "", Kind::Failed, "Pocket could not save this link."},
        AnswerRow{400, "Invalid URL", Kind::Failed, "Invalid URL"},
        AnswerRow{500, "", Kind::Failed, "Pocket answered with an error (500)."},
        AnswerRow{999, "  ", Kind::Failed, "Pocket answered with an error (999)."},
        // A message is shown as one line of text, whatever the header held.
        AnswerRow{403, "  Too\r\n\tmany\x01\x7f  calls ", Kind::Failed, "Too many calls"},
        AnswerRow{403, "bad \xff\xfe bytes", Kind::Failed, "bad \uFFFD\uFFFD bytes"},
        AnswerRow{403,
                  "\xe2\x80\xae"
                  "reversed",
                  Kind::Failed, "reversed"},
        AnswerRow{403, QByteArray(5000, 'x'), Kind::Failed, kLong}));

}  // namespace
}  // namespace lumigrave::sharing
