#include "platform/keychain.h"

#include <qt6keychain/keychain.h>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QEventLoop>
#include <QTimer>

#include "platform/keychain_file_store.h"
#include "platform/paths.h"

namespace lumigrave {

namespace {

// A keyring that is locked under a display asks for its password in a prompt that may
// never be seen; past this the call gives up rather than hang the application.
constexpr int kAnswerTimeoutMs = 10000;
int answerTimeoutMs = kAnswerTimeoutMs;

std::optional<Keychain::Store> decided;

struct Answer {
    bool answered = false;
    QKeychain::Error error = QKeychain::NoError;
    QString errorString;
    QString secret;
};

// Starts job and runs the event loop until it finishes or the time is up. A job that is
// still running then finishes on its own and deletes itself.
Answer wait(QKeychain::Job* job) {
    Answer answer;
    if (!QCoreApplication::instance()) {
        delete job;
        answer.errorString = QStringLiteral("no application object");
        return answer;
    }
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&answer, &loop](QKeychain::Job* j) {
        answer.answered = true;
        answer.error = j->error();
        answer.errorString = j->errorString();
        if (auto* read = qobject_cast<QKeychain::ReadPasswordJob*>(j)) {
            answer.secret = read->textData();
        }
        loop.quit();
    });
    QTimer::singleShot(answerTimeoutMs, &loop, &QEventLoop::quit);
    job->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!answer.answered) {
        answer.errorString =
            QStringLiteral("the keyring did not answer within %1 ms").arg(answerTimeoutMs);
    }
    return answer;
}

// The Secret Service answers when a read of a name nobody uses comes back as found or not
// found; anything else (no bus, no daemon, a locked keyring, no answer) means it cannot
// keep our logins.
bool secretServiceAnswers(QString* why) {
    auto* job = new QKeychain::ReadPasswordJob(QStringLiteral("lumigrave"));
    job->setKey(QStringLiteral("lumigrave.keyring-check"));
    const Answer answer = wait(job);
    if (answer.answered &&
        (answer.error == QKeychain::NoError || answer.error == QKeychain::EntryNotFound)) {
        return true;
    }
    *why = answer.errorString.isEmpty() ? QStringLiteral("error %1").arg(int(answer.error))
                                        : answer.errorString;
    return false;
}

KeychainFileStore fileStore() {
    return KeychainFileStore(Keychain::fileStorePath());
}

bool fail(QString* errorMessage, const QString& message) {
    if (errorMessage) {
        *errorMessage = message;
    }
    return false;
}

QString keyringError(const Answer& answer) {
    return QStringLiteral("The keyring could not be used: %1.").arg(answer.errorString);
}

}  // namespace

Keychain::Store Keychain::store() {
    if (!decided) {
        QString why;
        if (secretServiceAnswers(&why)) {
            decided = Store::SecretService;
            qInfo().noquote() << "Logins are kept in the desktop's keyring (Secret Service)";
        } else {
            decided = Store::File;
            qInfo().noquote() << "No keyring answers (" + why + "); logins are kept in"
                              << fileStorePath() << "readable by this user only";
        }
    }
    return *decided;
}

QString Keychain::fileStorePath() {
    const QString directory = Paths::documentsDirectory();
    return directory.isEmpty() ? QString()
                               : QDir(directory).filePath(QStringLiteral("keychain.plist"));
}

void Keychain::resetForTesting() {
    decided.reset();
}

void Keychain::setAnswerTimeoutForTesting(int milliseconds) {
    answerTimeoutMs = milliseconds;
}

std::optional<QString> Keychain::password(const QString& service, const QString& account,
                                          QString* errorMessage) {
    if (errorMessage) {
        errorMessage->clear();
    }
    if (store() == Store::File) {
        if (fileStorePath().isEmpty()) {
            fail(errorMessage, QStringLiteral("There is no folder for the login store."));
            return std::nullopt;
        }
        return fileStore().password(service, account, errorMessage);
    }
    auto* job = new QKeychain::ReadPasswordJob(service);
    job->setKey(account);
    const Answer answer = wait(job);
    if (answer.answered && answer.error == QKeychain::NoError) {
        return answer.secret;
    }
    if (!answer.answered || answer.error != QKeychain::EntryNotFound) {
        fail(errorMessage, keyringError(answer));
    }
    return std::nullopt;
}

bool Keychain::setPassword(const QString& service, const QString& account, const QString& password,
                           QString* errorMessage) {
    if (store() == Store::File) {
        if (fileStorePath().isEmpty()) {
            return fail(errorMessage, QStringLiteral("There is no folder for the login store."));
        }
        return fileStore().setPassword(service, account, password, errorMessage);
    }
    auto* job = new QKeychain::WritePasswordJob(service);
    job->setKey(account);
    job->setTextData(password);
    const Answer answer = wait(job);
    if (answer.answered && answer.error == QKeychain::NoError) {
        return true;
    }
    return fail(errorMessage, keyringError(answer));
}

bool Keychain::deletePassword(const QString& service, const QString& account,
                              QString* errorMessage) {
    if (store() == Store::File) {
        if (fileStorePath().isEmpty()) {
            return fail(errorMessage, QStringLiteral("There is no folder for the login store."));
        }
        return fileStore().deletePassword(service, account, errorMessage);
    }
    auto* job = new QKeychain::DeletePasswordJob(service);
    job->setKey(account);
    const Answer answer = wait(job);
    if (answer.answered &&
        (answer.error == QKeychain::NoError || answer.error == QKeychain::EntryNotFound)) {
        return true;
    }
    return fail(errorMessage, keyringError(answer));
}

}  // namespace lumigrave
