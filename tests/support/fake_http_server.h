#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>
#include <functional>

class QTcpServer;
class QTcpSocket;

namespace lumigrave::test {

// An HTTP/1.1 server on 127.0.0.1 for the service clients' tests. It keeps every request
// it receives (bodies by Content-Length or chunked) and answers each with the response
// scripted for its path: a status, headers and a body, or no answer at all, so a client's
// timeout can be seen. It runs on the test's event loop.
class FakeHttpServer : public QObject {
    Q_OBJECT
  public:
    struct Request {
        QByteArray method;
        // The path, percent-decoded.
        QString path;
        // The path as sent, undecoded.
        QByteArray rawPath;
        // The query as sent, undecoded.
        QByteArray query;
        // Header names in lower case.
        QMap<QByteArray, QByteArray> headers;
        QByteArray body;

        QByteArray header(const QByteArray& name) const { return headers.value(name.toLower()); }
        // A query parameter, decoded ("+" as a space); empty when it is not there.
        QString queryValue(const QString& name) const;
    };

    struct Response {
        int status = 200;
        QList<QPair<QByteArray, QByteArray>> headers;
        QByteArray body;
        // Reads the request and never answers.
        bool neverAnswer = false;
    };

    // A part of a multipart/form-data body.
    struct FormPart {
        QString name;
        QString filename;
        QByteArray contentType;
        QByteArray data;
    };

    FakeHttpServer();
    ~FakeHttpServer() override;

    // False when no port could be opened.
    bool listen();
    quint16 port() const;
    // http://127.0.0.1:<port> followed by path.
    QString url(const QString& path = QString()) const;

    // Every request to path is answered with response from now on. Paths without a
    // response are answered 404.
    void setResponse(const QString& path, const Response& response);
    // Answers the next request to path with response, once; queued ones go first.
    void enqueueResponse(const QString& path, const Response& response);
    // Every request to path is answered by handler from now on, unless a queued response
    // goes first; a handler wins over a response set with setResponse.
    using Handler = std::function<Response(const Request& request)>;
    void setHandler(const QString& path, Handler handler);
    static Response text(int status, const QByteArray& body,
                         const QByteArray& contentType = "text/plain; charset=utf-8");

    const QList<Request>& requests() const { return requests_; }
    QList<Request> requestsTo(const QString& path) const;
    // Waits on the event loop until count requests have arrived or timeoutMs passed.
    bool waitForRequests(int count, int timeoutMs = 10000);

    // An application/x-www-form-urlencoded body (or query) as name/value pairs, "+" read
    // as a space and percent escapes decoded as UTF-8.
    static QList<QPair<QString, QString>> parseForm(const QByteArray& body);
    // A multipart/form-data body, given the request's Content-Type header.
    static QList<FormPart> parseMultipart(const QByteArray& contentType, const QByteArray& body);

  signals:
    void requestReceived();

  private:
    struct Connection;
    void accept();
    void readFrom(Connection* connection);
    // Takes one whole request off the buffer; false when it is not all there yet.
    bool takeRequest(Connection* connection, Request* request);
    void answer(Connection* connection, const Request& request);

    QTcpServer* server_;
    QList<Request> requests_;
    QMap<QString, Response> responses_;
    QMap<QString, QList<Response>> queued_;
    QMap<QString, Handler> handlers_;
};

}  // namespace lumigrave::test
