#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QTcpServer;
class QTcpSocket;

namespace lumigrave::test {

// An SMTP server on 127.0.0.1 that speaks as much of the protocol as a sendmail
// interface like msmtp uses (EHLO/HELO, MAIL FROM, RCPT TO, DATA with its dot-stuffing
// undone, RSET, NOOP, QUIT) and keeps what it receives. It runs on the test's event
// loop, so the test spins the loop while a client talks to it.
class FakeSmtpServer : public QObject {
    Q_OBJECT
  public:
    struct Message {
        QString from;
        QStringList recipients;
        // The message as received, with CRLF line ends and the final dot removed.
        QByteArray data;
    };

    FakeSmtpServer();
    ~FakeSmtpServer() override;

    // False when no port could be opened.
    bool listen();
    quint16 port() const;
    const QList<Message>& messages() const { return messages_; }
    // From now on every recipient is refused with this reply ("550 ..."); empty accepts.
    void refuseRecipientsWith(const QByteArray& reply) { refusal_ = reply; }

    // Writes HOME's .msmtprc so that msmtp delivers to this server, without TLS or a
    // login; false, with *error, when it cannot.
    bool writeMsmtpConfig(const QString& home, QString* error) const;
    // Debian's msmtp; empty when it is not installed.
    static QString msmtpProgram();

  private:
    struct Session;
    void accept();
    void readLines(Session* session);
    void handleCommand(Session* session, const QByteArray& line);

    QTcpServer* server_;
    QList<Session*> sessions_;
    QList<Message> messages_;
    QByteArray refusal_;
};

}  // namespace lumigrave::test
