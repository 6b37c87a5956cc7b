#include "support/fake_http_server.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

namespace lumigrave::test {
namespace {

// The fake service is itself checked against Qt's HTTP client, since every service test
// rests on what it records.
QNetworkReply* finished(QNetworkReply* reply) {
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    return reply;
}

TEST(FakeHttpServerTest, RecordsRequestsAndAnswersAsScripted) {
    FakeHttpServer server;
    ASSERT_TRUE(server.listen());
    FakeHttpServer::Response created =
        FakeHttpServer::text(201, "{\"id\":\"1\"}", "application/json");
    created.headers.append({QByteArray("X-Extra"), QByteArray("yes")});
    server.enqueueResponse("/graph/me/photos", created);
    QNetworkAccessManager manager;
    QNetworkRequest request(QUrl(server.url("/graph/me/photos?access_token=a%2Bb&x=1+2")));
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
    std::unique_ptr<QNetworkReply> reply(
        finished(manager.post(request, "message=hello+world&caption=caf%C3%A9")));
    EXPECT_EQ(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 201);
    EXPECT_EQ(reply->rawHeader("X-Extra"), "yes");
    EXPECT_EQ(reply->readAll(), "{\"id\":\"1\"}");
    std::unique_ptr<QNetworkReply> second(
        finished(manager.get(QNetworkRequest(QUrl(server.url("/graph/me/photos"))))));
    EXPECT_EQ(second->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 404);

    ASSERT_EQ(server.requests().size(), 2);
    const FakeHttpServer::Request& post = server.requests().first();
    EXPECT_EQ(post.method, "POST");
    EXPECT_EQ(post.path, "/graph/me/photos");
    EXPECT_EQ(post.queryValue("access_token"), "a+b");
    EXPECT_EQ(post.queryValue("x"), "1 2");
    EXPECT_EQ(post.header("Content-Type"), "application/x-www-form-urlencoded");
    const auto form = FakeHttpServer::parseForm(post.body);
    ASSERT_EQ(form.size(), 2);
    EXPECT_EQ(form[0], qMakePair(QString("message"), QString("hello world")));
    EXPECT_EQ(form[1], qMakePair(QString("caption"), QString("café")));
    EXPECT_EQ(server.requestsTo("/graph/me/photos").size(), 2)
        << server.requests().last().path.toStdString();
}

TEST(FakeHttpServerTest, AHandlerAnswersEveryRequestAfterTheQueuedOnesAndSeesTheRawPath) {
    FakeHttpServer server;
    ASSERT_TRUE(server.listen());
    server.setResponse("/a b", FakeHttpServer::text(200, "scripted"));
    server.setHandler("/a b", [](const FakeHttpServer::Request& request) {
        return FakeHttpServer::text(202, request.rawPath + "?" + request.query);
    });
    server.enqueueResponse("/a b", FakeHttpServer::text(503, "queued"));
    QNetworkAccessManager manager;
    const QUrl url(server.url("/a%20b?x=%2B"));
    std::unique_ptr<QNetworkReply> first(finished(manager.get(QNetworkRequest(url))));
    EXPECT_EQ(first->readAll(), "queued");
    std::unique_ptr<QNetworkReply> second(finished(manager.get(QNetworkRequest(url))));
    EXPECT_EQ(second->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 202);
    EXPECT_EQ(second->readAll(), "/a%20b?x=%2B");
}

TEST(FakeHttpServerTest, ReadsChunkedBodiesAndMultipartFormsByteForByte) {
    FakeHttpServer server;
    ASSERT_TRUE(server.listen());
    server.setResponse("/upload", FakeHttpServer::text(200, "ok"));
    QByteArray png("\x89PNG\r\n\x1a\n\r\n--not-a-boundary\r\n\0\1", 28);
    const QByteArray body =
        "--XyZ\r\nContent-Disposition: form-data; name=\"message\"\r\n\r\n"
        "A title\r\n--XyZ\r\nContent-Disposition: form-data; name=\"source\"; "
        "filename=\"photo.png\"\r\nContent-Type: image/png\r\n\r\n" +
        png + "\r\n--XyZ--\r\n";
    // Chunked, written by hand: Qt's client always sends a length.
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, server.port());
    ASSERT_TRUE(socket.waitForConnected(5000));
    QByteArray chunked;
    for (qsizetype at = 0; at < body.size(); at += 50) {
        const QByteArray piece = body.mid(at, 50);
        chunked += QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n";
    }
    chunked += "0\r\n\r\n";
    socket.write(
        "POST /upload HTTP/1.1\r\nHost: 127.0.0.1\r\nTransfer-Encoding: chunked\r\n"
        "Content-Type: multipart/form-data; boundary=XyZ\r\n\r\n" +
        chunked);
    ASSERT_TRUE(server.waitForRequests(1));
    const FakeHttpServer::Request& request = server.requests().first();
    EXPECT_EQ(request.body, body);
    const auto parts = FakeHttpServer::parseMultipart(request.header("content-type"), request.body);
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[0].name, "message");
    EXPECT_EQ(parts[0].data, "A title");
    EXPECT_EQ(parts[1].name, "source");
    EXPECT_EQ(parts[1].filename, "photo.png");
    EXPECT_EQ(parts[1].contentType, "image/png");
    EXPECT_EQ(parts[1].data, png);
}

}  // namespace
}  // namespace lumigrave::test
