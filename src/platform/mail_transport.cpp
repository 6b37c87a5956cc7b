#include "platform/mail_transport.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/atomic_file.h"
#include "platform/run_loop.h"

namespace lumigrave {

namespace {

// Process-wide: the commands tests put in place of the computer's.
QString& sendmailOverride() {
    static QString path;
    return path;
}

QString& mailAppOverride() {
    static QString path;
    return path;
}

// The override when one is set, else the search; empty unless it can be run.
QString findCommand(const QString& override, const QString& name, const QStringList& fallbacks) {
    if (!override.isEmpty()) {
        return QFileInfo(override).isExecutable() ? override : QString();
    }
    QString found = QStandardPaths::findExecutable(name);
    if (found.isEmpty()) {
        found = QStandardPaths::findExecutable(name, fallbacks);
    }
    return found;
}

// The last lines a command wrote to its error output: where msmtp and its peers say why.
QString commandMessage(QProcess& process) {
    const QString text = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    while (lines.size() > 4) {
        lines.removeFirst();
    }
    return lines.join(u'\n');
}

}  // namespace

MailTransport::MailTransport(QObject* parent) : QObject(parent) {}

MailTransport::~MailTransport() {
    done_ = nullptr;
    if (QProcess* process = process_.data()) {
        // The command goes on by itself; nobody is left to hear how it ended.
        process->disconnect(this);
        process->setParent(nullptr);
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        QObject::connect(process, &QProcess::errorOccurred, process, &QObject::deleteLater);
    }
}

QString MailTransport::sendmailProgram() {
    return findCommand(sendmailOverride(), QStringLiteral("sendmail"),
                       {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/lib")});
}

void MailTransport::setSendmailProgram(const QString& path) {
    sendmailOverride() = path;
}

QString MailTransport::mailAppProgram() {
    return findCommand(mailAppOverride(), QStringLiteral("xdg-email"), {});
}

void MailTransport::setMailAppProgram(const QString& path) {
    mailAppOverride() = path;
}

QString MailTransport::noTransportMessage() {
    return QStringLiteral(
        "No mail transport is set up on this computer. Set up one that provides the sendmail "
        "command (msmtp-mta, for example), or open the message in your mail application.");
}

void MailTransport::send(const QByteArray& message, Completion done) {
    const QString program = sendmailProgram();
    if (program.isEmpty()) {
        done(false, noTransportMessage());
        return;
    }
    run(program, {QStringLiteral("-t"), QStringLiteral("-i")}, message,
        QStringLiteral("The mail transport"), kSendTimeoutSeconds, std::move(done));
}

void MailTransport::openInMailApp(const MailMessage& message, const QString& attachmentDirectory,
                                  Completion done) {
    const QString program = mailAppProgram();
    if (program.isEmpty()) {
        done(false, QStringLiteral("No mail application is set up on this computer."));
        return;
    }
    QStringList arguments = {QStringLiteral("--utf8"), QStringLiteral("--subject"), message.subject,
                             QStringLiteral("--body"), message.body};
    for (const MailAttachment& attachment : message.attachments) {
        QString name = QFileInfo(attachment.fileName).fileName();
        if (name.isEmpty() || name == QLatin1String("..")) {
            name = QStringLiteral("attachment");
        }
        const QString path = QDir(attachmentDirectory).filePath(name);
        QString error;
        const bool written = QDir().mkpath(attachmentDirectory) &&
                             writeFileAtomically(
                                 path,
                                 [&attachment](QIODevice& file, QString* writeError) {
                                     if (file.write(attachment.data) != attachment.data.size()) {
                                         *writeError = file.errorString();
                                         return false;
                                     }
                                     return true;
                                 },
                                 &error);
        if (!written) {
            done(false, QStringLiteral("The attachment \"%1\" could not be written: %2")
                            .arg(name, error.isEmpty() ? attachmentDirectory : error));
            return;
        }
        arguments << QStringLiteral("--attach") << path;
    }
    arguments += message.toRecipients;
    // A mail application may stay in the foreground until the person closes it; its
    // command is not hurried.
    run(program, arguments, {}, QStringLiteral("The mail application"), 0, std::move(done));
}

void MailTransport::run(const QString& program, const QStringList& arguments,
                        const QByteArray& input, const QString& what, double timeoutSeconds,
                        Completion done) {
    if (process_) {
        done(false, QStringLiteral("%1 is busy with another message.").arg(what));
        return;
    }
    done_ = std::move(done);
    auto* process = new QProcess(this);
    process_ = process;
    process->setProgram(program);
    process->setArguments(arguments);
    connect(process, &QProcess::errorOccurred, this, [this, process, what, program] {
        if (process->error() == QProcess::FailedToStart) {
            finish(false, QStringLiteral("%1 (%2) could not be started: %3")
                              .arg(what, program, process->errorString()));
        }
    });
    connect(process, &QProcess::finished, this,
            [this, process, what](int exitCode, QProcess::ExitStatus status) {
                if (status == QProcess::NormalExit && exitCode == 0) {
                    finish(true, {});
                    return;
                }
                QString message = commandMessage(*process);
                if (message.isEmpty()) {
                    message =
                        status == QProcess::CrashExit
                            ? QStringLiteral("%1 stopped before it took the message.").arg(what)
                            : QStringLiteral("%1 refused the message (exit code %2).")
                                  .arg(what)
                                  .arg(exitCode);
                }
                finish(false, message);
            });
    process->start();
    // A command that could not start has reported already.
    if (process_ != process) {
        return;
    }
    if (!input.isEmpty()) {
        process->write(input);
    }
    process->closeWriteChannel();
    if (timeoutSeconds > 0) {
        RunLoop::performAfter(
            timeoutSeconds,
            [this, process, what, timeoutSeconds] {
                if (process_ != process) {
                    return;
                }
                process->disconnect(this);
                process->kill();
                finish(false, QStringLiteral("%1 did not finish within %2 seconds and was "
                                             "stopped; the message may not have been sent.")
                                  .arg(what)
                                  .arg(timeoutSeconds));
            },
            process);
    }
}

void MailTransport::finish(bool ok, const QString& error) {
    if (process_) {
        process_->disconnect(this);
        process_->deleteLater();
        process_ = nullptr;
    }
    Completion done = std::move(done_);
    done_ = nullptr;
    if (done) {
        done(ok, error);
    }
}

}  // namespace lumigrave
