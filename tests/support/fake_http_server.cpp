#include "support/fake_http_server.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "support/mime_parts.h"

namespace lumigrave::test {

struct FakeHttpServer::Connection {
    QTcpSocket* socket = nullptr;
    QByteArray buffer;
};

namespace {

QByteArray reasonPhrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 201:
            return "Created";
        case 302:
            return "Found";
        case 400:
            return "Bad Request";
        case 401:
            return "Unauthorized";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        case 503:
            return "Service Unavailable";
        default:
            return "Status";
    }
}

QString formDecode(QByteArray text) {
    text.replace('+', ' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text));
}

}  // namespace

QString FakeHttpServer::Request::queryValue(const QString& name) const {
    for (const auto& [key, value] : parseForm(query)) {
        if (key == name) {
            return value;
        }
    }
    return {};
}

FakeHttpServer::FakeHttpServer() : server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::newConnection, this, &FakeHttpServer::accept);
}

FakeHttpServer::~FakeHttpServer() = default;

bool FakeHttpServer::listen() {
    return server_->listen(QHostAddress::LocalHost, 0);
}

quint16 FakeHttpServer::port() const {
    return server_->serverPort();
}

QString FakeHttpServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

void FakeHttpServer::setResponse(const QString& path, const Response& response) {
    responses_.insert(path, response);
}

void FakeHttpServer::enqueueResponse(const QString& path, const Response& response) {
    queued_[path].append(response);
}

void FakeHttpServer::setHandler(const QString& path, Handler handler) {
    handlers_.insert(path, std::move(handler));
}

FakeHttpServer::Response FakeHttpServer::text(int status, const QByteArray& body,
                                              const QByteArray& contentType) {
    Response response;
    response.status = status;
    response.body = body;
    response.headers.append({"Content-Type", contentType});
    return response;
}

QList<FakeHttpServer::Request> FakeHttpServer::requestsTo(const QString& path) const {
    QList<Request> found;
    for (const Request& request : requests_) {
        if (request.path == path) {
            found << request;
        }
    }
    return found;
}

bool FakeHttpServer::waitForRequests(int count, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (requests_.size() < count && !deadline.hasExpired()) {
        QEventLoop loop;
        connect(this, &FakeHttpServer::requestReceived, &loop, &QEventLoop::quit);
        QTimer::singleShot(std::max<qint64>(1, deadline.remainingTime()), &loop, &QEventLoop::quit);
        loop.exec();
    }
    return requests_.size() >= count;
}

void FakeHttpServer::accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        auto* connection = new Connection;
        connection->socket = socket;
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, connection] { readFrom(connection); });
        // The connection's state goes with its socket, also when the server goes first
        // with a client still connected.
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, [connection] { delete connection; });
    }
}

void FakeHttpServer::readFrom(Connection* connection) {
    connection->buffer += connection->socket->readAll();
    Request request;
    while (takeRequest(connection, &request)) {
        requests_.append(request);
        answer(connection, request);
        emit requestReceived();
        request = Request();
    }
}

bool FakeHttpServer::takeRequest(Connection* connection, Request* request) {
    QByteArray& buffer = connection->buffer;
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0) {
        return false;
    }
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    const QList<QByteArray> start = lines.value(0).trimmed().split(' ');
    if (start.size() < 3) {
        buffer.clear();
        return false;
    }
    request->method = start[0];
    const QByteArray target = start[1];
    const qsizetype question = target.indexOf('?');
    request->rawPath = question < 0 ? target : target.left(question);
    request->path = QString::fromUtf8(QByteArray::fromPercentEncoding(request->rawPath));
    request->query = question < 0 ? QByteArray() : target.mid(question + 1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0) {
            request->headers.insert(lines[i].left(colon).trimmed().toLower(),
                                    lines[i].mid(colon + 1).trimmed());
        }
    }
    qsizetype at = headEnd + 4;
    if (request->header("transfer-encoding").toLower().contains("chunked")) {
        QByteArray body;
        for (;;) {
            const qsizetype lineEnd = buffer.indexOf("\r\n", at);
            if (lineEnd < 0) {
                return false;
            }
            bool ok = false;
            const qsizetype size =
                buffer.mid(at, lineEnd - at).split(';').value(0).trimmed().toLongLong(&ok, 16);
            if (!ok) {
                buffer.clear();
                return false;
            }
            at = lineEnd + 2;
            if (size == 0) {
                // No trailers from our clients: the last chunk ends with one blank line.
                if (buffer.size() < at + 2) {
                    return false;
                }
                at += 2;
                break;
            }
            if (buffer.size() < at + size + 2) {
                return false;
            }
            body += buffer.mid(at, size);
            at += size + 2;
        }
        request->body = body;
    } else {
        const qsizetype length = request->header("content-length").toLongLong();
        if (buffer.size() < at + length) {
            return false;
        }
        request->body = buffer.mid(at, length);
        at += length;
    }
    buffer.remove(0, at);
    return true;
}

void FakeHttpServer::answer(Connection* connection, const Request& request) {
    Response response;
    if (!queued_.value(request.path).isEmpty()) {
        response = queued_[request.path].takeFirst();
    } else if (handlers_.contains(request.path)) {
        response = handlers_.value(request.path)(request);
    } else if (responses_.contains(request.path)) {
        response = responses_.value(request.path);
    } else {
        response = text(404, "no such path\n");
    }
    if (response.neverAnswer) {
        return;
    }
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' +
                       reasonPhrase(response.status) + "\r\n";
    for (const auto& [name, value] : response.headers) {
        reply += name + ": " + value + "\r\n";
    }
    reply += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    reply += "Connection: close\r\n\r\n";
    reply += response.body;
    connection->socket->write(reply);
    connection->socket->disconnectFromHost();
}

QList<QPair<QString, QString>> FakeHttpServer::parseForm(const QByteArray& body) {
    QList<QPair<QString, QString>> pairs;
    for (const QByteArray& pair : body.split('&')) {
        if (pair.isEmpty()) {
            continue;
        }
        const qsizetype equals = pair.indexOf('=');
        pairs.append({formDecode(equals < 0 ? pair : pair.left(equals)),
                      equals < 0 ? QString() : formDecode(pair.mid(equals + 1))});
    }
    return pairs;
}

QList<FakeHttpServer::FormPart> FakeHttpServer::parseMultipart(const QByteArray& contentType,
                                                               const QByteArray& body) {
    // Parts are cut out byte for byte: an image part holds CR LF pairs of its own.
    const MimePart header = parseMime("Content-Type: " + contentType + "\r\n\r\n");
    const QByteArray boundary = header.parameter("content-type", "boundary").toUtf8();
    QList<FormPart> parts;
    if (boundary.isEmpty()) {
        return parts;
    }
    const QByteArray delimiter = "--" + boundary;
    qsizetype at = body.indexOf(delimiter);
    while (at >= 0) {
        at += delimiter.size();
        if (body.mid(at, 2) == "--") {
            break;
        }
        const qsizetype headStart = body.indexOf("\r\n", at) + 2;
        const qsizetype headEnd = body.indexOf("\r\n\r\n", headStart);
        const qsizetype next = body.indexOf("\r\n" + delimiter, headEnd);
        if (headStart < 2 || headEnd < 0 || next < 0) {
            break;
        }
        const MimePart head = parseMime(body.mid(headStart, headEnd - headStart) + "\r\n\r\n");
        FormPart part;
        part.name = head.parameter("content-disposition", "name");
        part.filename = head.parameter("content-disposition", "filename");
        part.contentType = head.contentType();
        part.data = body.mid(headEnd + 4, next - headEnd - 4);
        parts << part;
        at = next + 2;
    }
    return parts;
}

}  // namespace lumigrave::test
