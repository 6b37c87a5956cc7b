#include "sharing/flickr/flickr_api_request.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QTimer>
#include <memory>
#include <optional>

#include "sharing/share_configuration.h"
#include "support/fake_flickr_service.h"
#include "support/fake_http_server.h"
#include "support/temp_home.h"

namespace lumigrave::sharing {
namespace {

using test::FakeFlickrService;
using test::FakeHttpServer;

// How a request ended, as its signals told.
struct Outcome {
    std::optional<QVariantMap> response;
    std::optional<FlickrError> error;
    int ends = 0;
};

class FlickrAPIRequestTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server_.listen());
        savedConfigDirs_ = qgetenv("XDG_CONFIG_DIRS");
        savedTmp_ = qgetenv("TMPDIR");
        qputenv("XDG_CONFIG_DIRS", home_.filePath("etc-xdg").toUtf8());
        // The upload's temporary file goes here, where the tests can see what is left.
        ASSERT_TRUE(QDir().mkpath(home_.filePath("tmp")));
        qputenv("TMPDIR", home_.filePath("tmp").toUtf8());
        ASSERT_EQ(QDir::tempPath(), QDir(home_.filePath("tmp")).canonicalPath());
        deploy(service_.deploymentLines());
        context_ = std::make_shared<FlickrAPIContext>();
        ASSERT_EQ(context_->key(), "flickr-key");
    }
    void TearDown() override {
        qputenv("XDG_CONFIG_DIRS", savedConfigDirs_);
        qputenv("TMPDIR", savedTmp_);
        ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
    }
    void deploy(const QByteArray& lines) {
        ASSERT_TRUE(QDir().mkpath(home_.filePath(".config/lumigrave")));
        QFile file(home_.filePath(".config/lumigrave/sharing.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[sharing]\n" + lines);
        file.close();
        ShareConfiguration::sharedInstanceWithConfigurator(
            std::make_unique<DefaultShareConfigurator>());
    }

    std::shared_ptr<Outcome> watch(FlickrAPIRequest* request) {
        auto outcome = std::make_shared<Outcome>();
        QObject::connect(request, &FlickrAPIRequest::flickrAPIRequestDidComplete,
                         [outcome](FlickrAPIRequest*, const QVariantMap& response) {
                             outcome->response = response;
                             ++outcome->ends;
                         });
        QObject::connect(request, &FlickrAPIRequest::flickrAPIRequestDidFail,
                         [outcome](FlickrAPIRequest*, const FlickrError& error) {
                             outcome->error = error;
                             ++outcome->ends;
                         });
        return outcome;
    }
    // Runs the event loop until the request has ended (a long safety limit, not a timing).
    void waitForEnd(const FlickrAPIRequest& request, const Outcome& outcome) {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (outcome.ends > 0 && !request.isRunning()) {
                loop.quit();
            }
        });
        poll.start(5);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        ASSERT_GT(outcome.ends, 0) << "the request never ended";
    }
    FlickrError failureOf(FlickrAPIRequest& request, const std::shared_ptr<Outcome>& outcome) {
        waitForEnd(request, *outcome);
        EXPECT_FALSE(outcome->response);
        EXPECT_EQ(outcome->ends, 1);
        return outcome->error.value_or(FlickrError{});
    }
    // Drains the event loop for what was deleted later.
    static void settle() {
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    QStringList leftInTemp() const {
        settle();
        return QDir(home_.filePath("tmp")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    }
    void expectNoSecretIn(const QString& text) {
        EXPECT_FALSE(text.contains("flickr-secret")) << text.toStdString();
        for (const QString& token : service_.liveTokens()) {
            EXPECT_FALSE(text.contains(token)) << text.toStdString();
        }
        EXPECT_FALSE(text.contains("api_sig")) << text.toStdString();
    }
    void neverAnswer(const QString& path) {
        FakeHttpServer::Response silent;
        silent.neverAnswer = true;
        server_.enqueueResponse(path, silent);
    }

    test::TempHome home_;
    FakeHttpServer server_;
    FakeFlickrService service_{&server_};
    std::shared_ptr<FlickrAPIContext> context_;
    QByteArray savedConfigDirs_;
    QByteArray savedTmp_;
};

TEST_F(FlickrAPIRequestTest, AGetCallIsSignedAndItsAnswerMapped) {
    context_->setAuthToken(service_.grantToken());
    service_.setGroups({{"g1@N01", "Lakes"}});
    FlickrAPIRequest request(context_);
    request.setSessionInfo(QString("kGetGroupsStep"));
    const auto outcome = watch(&request);
    ASSERT_TRUE(request.callAPIMethodWithGET("flickr.groups.pools.getGroups", {}));
    EXPECT_TRUE(request.isRunning());
    waitForEnd(request, *outcome);
    ASSERT_TRUE(outcome->response) << outcome->error->message.toStdString();
    const QVariantList groups = outcome->response->value("groups").toMap().value("group").toList();
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups[0].toMap().value("name"), QVariant(QString("Lakes")));
    EXPECT_EQ(request.sessionInfo(), QVariant(QString("kGetGroupsStep")));
    EXPECT_EQ(server_.requests().last().method, "GET");
    EXPECT_EQ(service_.calls(), QStringList{"flickr.groups.pools.getGroups"});
    EXPECT_TRUE(service_.failures().isEmpty()) << service_.failures().join("; ").toStdString();
}

TEST_F(FlickrAPIRequestTest, APostCallSendsItsArgumentsAsAForm) {
    context_->setAuthToken(service_.grantToken());
    service_.setGroups({{"g1@N01", "Lakes"}});
    FlickrAPIRequest request(context_);
    const auto outcome = watch(&request);
    ASSERT_TRUE(request.callAPIMethodWithPOST("flickr.groups.pools.add",
                                              {{"photo_id", "4001"}, {"group_id", "g1@N01"}}));
    waitForEnd(request, *outcome);
    ASSERT_TRUE(outcome->response) << outcome->error->message.toStdString();
    EXPECT_EQ(server_.requests().last().method, "POST");
    EXPECT_TRUE(server_.requests().last().query.isEmpty());
    const QList<QPair<QString, QString>> added{{"4001", "g1@N01"}};
    EXPECT_EQ(service_.poolAdds(), added);
}

TEST_F(FlickrAPIRequestTest, TheServicesErrorsArriveWithTheirCodeAndMessage) {
    FlickrAPIRequest request(context_);
    auto outcome = watch(&request);
    context_->setAuthToken("revoked-token");
    ASSERT_TRUE(request.callAPIMethodWithGET("flickr.auth.checkToken", {}));
    FlickrError error = failureOf(request, outcome);
    EXPECT_EQ(error.domain, "com.flickr");
    EXPECT_EQ(error.code, 98);
    EXPECT_EQ(error.message, "Invalid auth token");

    // A client with the wrong secret is caught by the service's own check.
    auto wrong = std::make_shared<FlickrAPIContext>("flickr-key", "not-the-secret");
    FlickrAPIRequest badlySigned(wrong);
    outcome = watch(&badlySigned);
    ASSERT_TRUE(badlySigned.callAPIMethodWithGET("flickr.auth.getToken", {{"frob", "f"}}));
    error = failureOf(badlySigned, outcome);
    EXPECT_EQ(error.domain, "com.flickr");
    EXPECT_EQ(error.code, 96);
    EXPECT_EQ(service_.failures().last(), "flickr.auth.getToken: invalid signature");
}

TEST_F(FlickrAPIRequestTest, OneRequestRunsAtATime) {
    context_->setAuthToken(service_.grantToken());
    neverAnswer("/services/rest/");
    FlickrAPIRequest request(context_);
    const auto outcome = watch(&request);
    ASSERT_TRUE(request.callAPIMethodWithGET("flickr.auth.checkToken", {}));
    EXPECT_FALSE(request.callAPIMethodWithGET("flickr.auth.checkToken", {}));
    EXPECT_FALSE(request.callAPIMethodWithPOST("flickr.auth.checkToken", {}));
    EXPECT_FALSE(request.uploadImageData("jpeg", "a", "image/jpeg", {}));
    ASSERT_TRUE(server_.waitForRequests(1));
    request.cancel();
    EXPECT_FALSE(request.isRunning());
    // After a cancel the next request goes, and only its outcome is signalled.
    ASSERT_TRUE(request.callAPIMethodWithGET("flickr.auth.checkToken", {}));
    waitForEnd(request, *outcome);
    EXPECT_EQ(outcome->ends, 1);
    ASSERT_TRUE(outcome->response);
    EXPECT_EQ(server_.requests().size(), 2);
}

TEST_F(FlickrAPIRequestTest, AnUploadWithoutATokenIsRefusedUnsent) {
    FlickrAPIRequest request(context_);
    EXPECT_FALSE(request.uploadImageData("jpeg", "a", "image/jpeg", {{"title", "a"}}));
    EXPECT_FALSE(request.isRunning());
    settle();
    EXPECT_TRUE(server_.requests().isEmpty());
    EXPECT_TRUE(leftInTemp().isEmpty());
}

TEST_F(FlickrAPIRequestTest, TheUploadBodyIsTheMultipartFormByteForByte) {
    context_->setAuthToken(service_.grantToken());
    ASSERT_EQ(context_->authToken(), "token-1");
    const char bytes[] = "\xff\xd8\xff\xe0 jpeg \r\n--not-a-boundary\r\n\0\xff\xd9";
    QByteArray photo(bytes, sizeof bytes - 1);
    FlickrAPIRequest request(context_);
    request.setMultipartBoundary("B0uNdArY");
    const auto outcome = watch(&request);
    QBuffer stream(&photo);
    ASSERT_TRUE(stream.open(QIODevice::ReadOnly));
    ASSERT_TRUE(request.uploadImageStream(
        &stream, "Lake \"Blue\"", "image/jpeg",
        {{"title", "Lake \"Blue\""}, {"description", ""}, {"tags", "ab c"}, {"is_public", "1"}}));
    waitForEnd(request, *outcome);
    ASSERT_TRUE(outcome->response) << outcome->error->message.toStdString();
    EXPECT_EQ(outcome->response->value("photoid").toMap().value("_text"),
              QVariant(QString("4001")));

    // The signature was computed apart, with Python's hashlib.
    const QByteArray expected =
        "--B0uNdArY\r\nContent-Disposition: form-data; name=\"api_key\"\r\n\r\nflickr-key\r\n"
        "--B0uNdArY\r\nContent-Disposition: form-data; name=\"auth_token\"\r\n\r\ntoken-1\r\n"
        "--B0uNdArY\r\nContent-Disposition: form-data; name=\"description\"\r\n\r\n\r\n"
        "--B0uNdArY\r\nContent-Disposition: form-data; name=\"is_public\"\r\n\r\n1\r\n"
        "--B0uNdArY\r\nContent-Disposition: form-data; name=\"tags\"\r\n\r\nab c\r\n"
        "--B0uNdArY\r\nContent-Disposition: form-data; name=\"title\"\r\n\r\nLake \"Blue\"\r\n"
        "--B0uNdArY\r\nContent-Disposition: form-data; name=\"api_sig\"\r\n\r\n"
        "b78a48d3296db1d1b89f9575e1d136a5\r\n"
        "--B0uNdArY\r\nContent-Disposition: form-data; name=\"photo\"; "
        "filename=\"Lake %22Blue%22\"\r\nContent-Type: image/jpeg\r\n\r\n" +
        photo + "\r\n--B0uNdArY--\r\n";
    const FakeHttpServer::Request& sent = server_.requests().last();
    EXPECT_EQ(sent.body, expected);
    EXPECT_EQ(sent.header("Content-Type"), "multipart/form-data; boundary=B0uNdArY");
    EXPECT_EQ(sent.path, "/services/upload/");
    ASSERT_EQ(service_.uploads().size(), 1);
    EXPECT_EQ(service_.uploads()[0].photo, photo);
    EXPECT_TRUE(leftInTemp().isEmpty()) << leftInTemp().join(", ").toStdString();
}

TEST_F(FlickrAPIRequestTest, AnUploadWithAGeneratedBoundaryArrivesWhole) {
    context_->setAuthToken(service_.grantToken());
    FlickrAPIRequest request(context_);
    const auto outcome = watch(&request);
    ASSERT_TRUE(request.uploadImageData(QByteArray(200000, 'x'), "a", "image/jpeg", {}));
    waitForEnd(request, *outcome);
    ASSERT_TRUE(outcome->response) << outcome->error->message.toStdString();
    ASSERT_EQ(service_.uploads().size(), 1);
    EXPECT_EQ(service_.uploads()[0].photo, QByteArray(200000, 'x'));
}

// The temporary file must not outlive its upload, however the upload ends.
TEST_F(FlickrAPIRequestTest, TheUploadLeavesNoTemporaryFileInAnyOutcome) {
    const QString token = service_.grantToken();
    context_->setAuthToken(token);
    const QByteArray photo(50000, 'p');

    {  // The service refuses.
        service_.failNext("upload", 5, "Filetype was not recognised");
        FlickrAPIRequest request(context_);
        const auto outcome = watch(&request);
        ASSERT_TRUE(request.uploadImageData(photo, "a", "image/jpeg", {}));
        EXPECT_EQ(failureOf(request, outcome).code, 5);
        EXPECT_TRUE(leftInTemp().isEmpty());
    }
    {  // No answer within the time allowed.
        neverAnswer("/services/upload/");
        FlickrAPIRequest request(context_);
        request.setRequestTimeoutInterval(0.3);
        const auto outcome = watch(&request);
        ASSERT_TRUE(request.uploadImageData(photo, "a", "image/jpeg", {}));
        const FlickrError error = failureOf(request, outcome);
        EXPECT_EQ(error.domain, "org.lumigrave.flickr");
        EXPECT_EQ(error.code, FlickrError::kTimeout);
        EXPECT_TRUE(error.message.contains("did not answer")) << error.message.toStdString();
        expectNoSecretIn(error.message);
        EXPECT_TRUE(leftInTemp().isEmpty());
    }
    {  // Cancelled while the service holds the request.
        const qsizetype before = server_.requests().size();
        neverAnswer("/services/upload/");
        FlickrAPIRequest request(context_);
        const auto outcome = watch(&request);
        ASSERT_TRUE(request.uploadImageData(photo, "a", "image/jpeg", {}));
        ASSERT_TRUE(server_.waitForRequests(int(before) + 1));
        request.cancel();
        EXPECT_TRUE(leftInTemp().isEmpty());
        EXPECT_EQ(outcome->ends, 0);
    }
    {  // The request object goes mid-way.
        const qsizetype before = server_.requests().size();
        neverAnswer("/services/upload/");
        auto request = std::make_unique<FlickrAPIRequest>(context_);
        ASSERT_TRUE(request->uploadImageData(photo, "a", "image/jpeg", {}));
        ASSERT_TRUE(server_.waitForRequests(int(before) + 1));
        request.reset();
        EXPECT_TRUE(leftInTemp().isEmpty());
    }
    {  // The service cannot be reached.
        QTcpServer closed;
        ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        deploy("flickrUploadURL=http://127.0.0.1:" + QByteArray::number(port) +
               "/services/upload\n");
        auto unreachable = std::make_shared<FlickrAPIContext>();
        unreachable->setAuthToken(token);
        FlickrAPIRequest request(unreachable);
        const auto outcome = watch(&request);
        ASSERT_TRUE(request.uploadImageData(photo, "a", "image/jpeg", {}));
        const FlickrError error = failureOf(request, outcome);
        EXPECT_EQ(error.code, FlickrError::kConnectionFailed);
        EXPECT_EQ(error.message, "The photo service at 127.0.0.1 could not be reached.");
        EXPECT_TRUE(leftInTemp().isEmpty());
    }
}

// A photo that fails while it is read: the upload is refused with the reason, unsent.
class UnreadableDevice : public QIODevice {
  public:
    UnreadableDevice() { open(QIODevice::ReadOnly); }
    qint64 size() const override { return 1000; }

  protected:
    qint64 readData(char*, qint64) override {
        setErrorString("Input/output error");
        return -1;
    }
    qint64 writeData(const char*, qint64) override { return -1; }
};

TEST_F(FlickrAPIRequestTest, AnUnreadablePhotoRefusesTheUploadWithAReason) {
    context_->setAuthToken(service_.grantToken());
    FlickrAPIRequest request(context_);
    UnreadableDevice photo;
    EXPECT_FALSE(request.uploadImageStream(&photo, "a", "image/jpeg", {}));
    EXPECT_FALSE(request.isRunning());
    EXPECT_EQ(request.lastError(),
              "The photo could not be prepared for the upload: Input/output error");
    EXPECT_FALSE(request.uploadImageStream(nullptr, "a", "image/jpeg", {}));
    EXPECT_EQ(request.lastError(), "There is no photo to upload.");
    EXPECT_TRUE(leftInTemp().isEmpty());
    EXPECT_TRUE(server_.requests().isEmpty());
}

TEST_F(FlickrAPIRequestTest, HostileAnswersBecomeClientErrorsWithoutSecrets) {
    context_->setAuthToken(service_.grantToken());
    QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY a \"aaaaaaaaaa\">";
    for (char c = 'b'; c <= 'j'; ++c) {
        laughs += QByteArray("<!ENTITY ") + c + " \"" +
                  (QByteArray("&") + char(c - 1) + ";").repeated(10) + "\">";
    }
    laughs += "]><rsp stat=\"ok\">&j;</rsp>";
    struct Row {
        QByteArray body;
        QString reason;
    };
    const QList<Row> rows{
        {laughs, "declares a document type"},
        {"<rsp stat=\"ok\">" + QByteArray("<a>").repeated(300) + "</rsp>", "deeper than 256"},
        {"<rsp stat=\"ok\"><a>" + QByteArray(FlickrAPIRequest::kMaxAnswerBytes, 'x') + "</a></rsp>",
         "larger than 16 MB"},
    };
    for (const Row& row : rows) {
        service_.answerNextWith("flickr.auth.checkToken", row.body);
        FlickrAPIRequest request(context_);
        const auto outcome = watch(&request);
        ASSERT_TRUE(request.callAPIMethodWithGET("flickr.auth.checkToken", {}));
        const FlickrError error = failureOf(request, outcome);
        EXPECT_EQ(error.domain, "org.lumigrave.flickr");
        EXPECT_EQ(error.code, FlickrError::kFaultyAnswer);
        EXPECT_TRUE(error.message.contains(row.reason)) << error.message.toStdString();
        expectNoSecretIn(error.message);
    }
}

TEST_F(FlickrAPIRequestTest, AnHttpFailureIsAClientErrorNamingTheStatus) {
    server_.enqueueResponse("/services/rest/", FakeHttpServer::text(502, "bad gateway"));
    FlickrAPIRequest request(context_);
    const auto outcome = watch(&request);
    ASSERT_TRUE(request.callAPIMethodWithGET("flickr.auth.getToken", {{"frob", "f"}}));
    const FlickrError error = failureOf(request, outcome);
    EXPECT_EQ(error.code, FlickrError::kHttpError);
    EXPECT_TRUE(error.message.contains("502"));
}

}  // namespace
}  // namespace lumigrave::sharing
