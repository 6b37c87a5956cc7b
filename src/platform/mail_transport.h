#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <functional>

#include "platform/mail_message.h"

namespace lumigrave {

// The computer's mail setup as the composer reaches it: the sendmail interface (for
// example msmtp's), which takes a whole message on its input and reads the recipients
// from its headers, and the desktop's mail application through xdg-email. Both run as
// child processes the event loop watches, so the window never waits for them.
class MailTransport : public QObject {
    Q_OBJECT
  public:
    // Called once with the outcome; error is the command's own message on failure.
    using Completion = std::function<void(bool ok, const QString& error)>;

    explicit MailTransport(QObject* parent = nullptr);
    ~MailTransport() override;

    // The sendmail command: the one set with setSendmailProgram, else "sendmail" on the
    // PATH, else in /usr/sbin or /usr/lib; empty when there is none it can run.
    static QString sendmailProgram();
    // Empty goes back to the search (tests point it at a command of their own).
    static void setSendmailProgram(const QString& path);
    // The desktop's xdg-email, found likewise; empty when there is none.
    static QString mailAppProgram();
    static void setMailAppProgram(const QString& path);
    // What a send without any sendmail reports.
    static QString noTransportMessage();

    // How long a sendmail may take before the send is given up: msmtp waits on a silent
    // server without end unless its configuration sets a timeout.
    static constexpr double kSendTimeoutSeconds = 120;

    // Pipes message to `sendmail -t -i`. ok means the command accepted it; a missing
    // command, one that cannot start, one that ends with an error, or one still running
    // after kSendTimeoutSeconds (it is stopped) is a failure with its message. done is
    // dropped when the transport goes first.
    void send(const QByteArray& message, Completion done);
    // Hands the message to the mail application, its attachments written into
    // attachmentDirectory first (the application reads them after this call ends).
    void openInMailApp(const MailMessage& message, const QString& attachmentDirectory,
                       Completion done);
    bool isBusy() const { return process_ != nullptr; }

  private:
    // A timeout of 0 lets the command run as long as it likes.
    void run(const QString& program, const QStringList& arguments, const QByteArray& input,
             const QString& what, double timeoutSeconds, Completion done);
    void finish(bool ok, const QString& error);

    QPointer<QProcess> process_;
    Completion done_;
};

}  // namespace lumigrave
