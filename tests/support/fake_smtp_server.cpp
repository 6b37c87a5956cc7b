#include "support/fake_smtp_server.h"

#include <QFile>
#include <QHostAddress>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

namespace lumigrave::test {

struct FakeSmtpServer::Session {
    QTcpSocket* socket = nullptr;
    QByteArray pending;
    bool inData = false;
    Message message;
};

FakeSmtpServer::FakeSmtpServer() : server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::newConnection, this, [this] { accept(); });
}

FakeSmtpServer::~FakeSmtpServer() {
    for (Session* session : sessions_) {
        session->socket->disconnect(this);
        delete session->socket;
        delete session;
    }
}

bool FakeSmtpServer::listen() {
    return server_->listen(QHostAddress::LocalHost, 0);
}

quint16 FakeSmtpServer::port() const {
    return server_->serverPort();
}

QString FakeSmtpServer::msmtpProgram() {
    return QStandardPaths::findExecutable(QStringLiteral("msmtp"),
                                          {QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
}

bool FakeSmtpServer::writeMsmtpConfig(const QString& home, QString* error) const {
    QFile file(home + QStringLiteral("/.msmtprc"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = file.errorString();
        return false;
    }
    const QByteArray config =
        "defaults\n"
        "auth off\n"
        "tls off\n"
        "syslog off\n"
        "account default\n"
        "host 127.0.0.1\n"
        "port " +
        QByteArray::number(port()) +
        "\n"
        "from tester@lumigrave.test\n";
    // msmtp refuses a configuration others may read.
    if (file.write(config) != config.size() ||
        !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner)) {
        *error = file.errorString();
        return false;
    }
    return true;
}

void FakeSmtpServer::accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        auto* session = new Session;
        session->socket = socket;
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, session] { readLines(session); });
        sessions_.append(session);
        connect(socket, &QTcpSocket::disconnected, this, [this, session] {
            sessions_.removeAll(session);
            session->socket->deleteLater();
            delete session;
        });
        socket->write("220 fake.test ESMTP\r\n");
    }
}

void FakeSmtpServer::readLines(Session* session) {
    session->pending += session->socket->readAll();
    for (qsizetype end = session->pending.indexOf("\r\n"); end >= 0;
         end = session->pending.indexOf("\r\n")) {
        QByteArray line = session->pending.left(end);
        session->pending.remove(0, end + 2);
        if (!session->inData) {
            handleCommand(session, line);
            continue;
        }
        if (line == ".") {
            session->inData = false;
            messages_.append(session->message);
            session->message = {};
            session->socket->write("250 2.0.0 Queued\r\n");
            continue;
        }
        if (line.startsWith('.')) {
            line.remove(0, 1);
        }
        session->message.data += line + "\r\n";
    }
}

void FakeSmtpServer::handleCommand(Session* session, const QByteArray& line) {
    const QByteArray verb = line.left(line.indexOf(' ')).toUpper();
    const QByteArray upper = line.toUpper();
    QTcpSocket* socket = session->socket;
    if (verb == "EHLO") {
        socket->write("250-fake.test\r\n250 8BITMIME\r\n");
    } else if (verb == "HELO") {
        socket->write("250 fake.test\r\n");
    } else if (upper.startsWith("MAIL FROM:")) {
        session->message = {};
        session->message.from = QString::fromUtf8(line.mid(10).trimmed());
        socket->write("250 2.1.0 Ok\r\n");
    } else if (upper.startsWith("RCPT TO:")) {
        if (!refusal_.isEmpty()) {
            socket->write(refusal_ + "\r\n");
            return;
        }
        session->message.recipients.append(QString::fromUtf8(line.mid(8).trimmed()));
        socket->write("250 2.1.5 Ok\r\n");
    } else if (upper == "DATA") {
        if (session->message.recipients.isEmpty()) {
            socket->write("554 5.5.1 No valid recipients\r\n");
            return;
        }
        session->inData = true;
        socket->write("354 End data with <CR><LF>.<CR><LF>\r\n");
    } else if (upper == "RSET") {
        session->message = {};
        socket->write("250 2.0.0 Ok\r\n");
    } else if (upper == "NOOP") {
        socket->write("250 2.0.0 Ok\r\n");
    } else if (upper == "QUIT") {
        socket->write("221 2.0.0 Bye\r\n");
        socket->disconnectFromHost();
    } else {
        socket->write("502 5.5.2 Command not recognized\r\n");
    }
}

}  // namespace lumigrave::test
