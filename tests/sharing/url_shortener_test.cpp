#include "sharing/url_shortener.h"

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

class Keys : public DefaultShareConfigurator {
  public:
    QString bitLyLogin() const override { return "lumig"; }
    QString bitLyKey() const override { return "R_0123456789abcdef0123456789abcdef"; }
};

// The service faked on 127.0.0.1, reached through a deployment file as a packager would.
class UrlShortenerTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server_.listen());
        savedConfigDirs_ = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_DIRS", home_.filePath("etc-xdg").toUtf8());
        ASSERT_TRUE(QDir().mkpath(home_.filePath(".config/lumigrave")));
        QFile file(home_.filePath(".config/lumigrave/sharing.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[sharing]\nbitLyURL=" + server_.url("/v3").toUtf8() + "\n");
        file.close();
        ShareConfiguration::sharedInstanceWithConfigurator(std::make_unique<Keys>());
    }
    void TearDown() override {
        qputenv("XDG_CONFIG_DIRS", savedConfigDirs_);
        ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
    }

    // Shortens and spins the event loop until the answer comes.
    QUrl shorten(const QUrl& longUrl, int timeoutMs = UrlShortener::kTimeoutMs) {
        std::optional<QUrl> result;
        QEventLoop loop;
        UrlShortener::shorten(
            longUrl,
            [&](const QUrl& url) {
                result = url;
                loop.quit();
            },
            nullptr, timeoutMs);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_TRUE(result) << "no answer came";
        return result.value_or(QUrl());
    }

    test::TempHome home_;
    test::FakeHttpServer server_;
    QByteArray savedConfigDirs_;
};

TEST_F(UrlShortenerTest, TheShortenCallCarriesTheKeysAndTheWholeLongLink) {
    server_.setResponse("/v3/shorten", test::FakeHttpServer::text(200, "http://bit.ly/abc12\n"));
    const QUrl longUrl("http://mm-apps.test/Lumigrave/?a=1&b=x+y%20z#top");
    EXPECT_EQ(shorten(longUrl), QUrl("http://bit.ly/abc12"));
    ASSERT_EQ(server_.requests().size(), 1);
    const test::FakeHttpServer::Request& request = server_.requests().first();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.path, "/v3/shorten");
    EXPECT_EQ(request.queryValue("login"), "lumig");
    EXPECT_EQ(request.queryValue("apikey"), "R_0123456789abcdef0123456789abcdef");
    EXPECT_EQ(request.queryValue("longUrl"), QString::fromUtf8(longUrl.toEncoded()));
    EXPECT_EQ(request.queryValue("format"), "txt");
}

TEST_F(UrlShortenerTest, EveryFailureKeepsTheLongLink) {
    const QUrl longUrl("https://example.org/a/long/page");
    using Server = test::FakeHttpServer;
    server_.enqueueResponse("/v3/shorten", Server::text(200, "ALREADY_A_BITLY_LINK"));
    server_.enqueueResponse("/v3/shorten", Server::text(500, "http://bit.ly/err"));
    server_.enqueueResponse("/v3/shorten", Server::text(403, "RATE_LIMIT_EXCEEDED"));
    server_.enqueueResponse("/v3/shorten", Server::text(200, ""));
    server_.enqueueResponse("/v3/shorten", Server::text(200, "INVALID_LOGIN"));
    server_.enqueueResponse("/v3/shorten", Server::text(200, "javascript:alert(1)"));
    server_.enqueueResponse("/v3/shorten", Server::text(200, "http://bit.ly/a b"));
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(shorten(longUrl), longUrl) << "answer " << i;
    }
    // No link at all asks nothing and answers with nothing.
    EXPECT_EQ(shorten(QUrl()), QUrl());
    EXPECT_EQ(server_.requests().size(), 7);
}

TEST_F(UrlShortenerTest, AServiceThatNeverAnswersKeepsTheLongLinkAndLogsNoKey) {
    test::FakeHttpServer::Response silent;
    silent.neverAnswer = true;
    server_.setResponse("/v3/shorten", silent);
    test::LogCapture log;
    const QUrl longUrl("https://example.org/page");
    EXPECT_EQ(shorten(longUrl, 300), longUrl);
    // A service that is not there at all fails the same way.
    quint16 closedPort = 0;
    {
        QTcpServer closed;
        ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
        closedPort = closed.serverPort();
    }
    QFile file(home_.filePath(".config/lumigrave/sharing.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("bitLyURL=http://127.0.0.1:%1/v3\n").arg(closedPort).toUtf8());
    file.close();
    ShareConfiguration::sharedInstanceWithConfigurator(std::make_unique<Keys>());
    EXPECT_EQ(shorten(QUrl("https://example.org/other")), QUrl("https://example.org/other"));
    for (const QString& line : log.lines()) {
        EXPECT_FALSE(line.contains("0123456789abcdef")) << line.toStdString();
    }
}

TEST_F(UrlShortenerTest, NoAnswerReachesACallerThatWentAway) {
    server_.setResponse("/v3/shorten", test::FakeHttpServer::text(200, "http://bit.ly/x"));
    bool called = false;
    {
        QObject caller;
        UrlShortener::shorten(
            QUrl("https://example.org/"), [&](const QUrl&) { called = true; }, &caller);
    }
    ASSERT_TRUE(server_.waitForRequests(1));
    QEventLoop loop;
    QTimer::singleShot(200, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_FALSE(called);
}

struct AnswerRow {
    int status;
    const char* body;
    const char* expected;
};

TEST(UrlShortenerAnswerTest, TheAnswerReplacesTheLinkOnlyWhenItIsALink) {
    const QUrl longUrl("https://example.org/long");
    const AnswerRow rows[] = {
        {200, "http://bit.ly/x", "http://bit.ly/x"},
        {200, "  https://bit.ly/y\r\n", "https://bit.ly/y"},
        {200, "ALREADY_A_BITLY_LINK", "https://example.org/long"},
        {200, "ALREADY_A_BITLY_LINK\n", "https://example.org/long"},
        {200, "", "https://example.org/long"},
        {200, "bit.ly/x", "https://example.org/long"},
        {200, "ftp://bit.ly/x", "https://example.org/long"},
        {200, "http://", "https://example.org/long"},
        {404, "http://bit.ly/x", "https://example.org/long"},
        {0, "http://bit.ly/x", "https://example.org/long"},
    };
    for (const AnswerRow& row : rows) {
        EXPECT_EQ(UrlShortener::resultForAnswer(longUrl, row.status, row.body), QUrl(row.expected))
            << row.status << " " << row.body;
    }
}

}  // namespace
}  // namespace lumigrave::sharing
