#include "ui/application.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include "platform/notification_center.h"
#include "platform/url_opener.h"

namespace lumigrave::ui {

namespace {
Application* shared = nullptr;
constexpr int kForwardTimeoutMs = 2000;
}  // namespace

Application::Application(ApplicationDelegate* delegate) : delegate_(delegate) {
    shared = this;
}

Application::~Application() {
    if (shared == this) {
        shared = nullptr;
    }
}

Application* Application::sharedApplication() {
    return shared;
}

bool Application::launch() {
    return delegate_->didFinishLaunching();
}

void Application::setState(State state) {
    state_ = state;
}

void Application::windowActivated() {
    if (terminated_ || state_ == State::Active) {
        return;
    }
    if (state_ == State::Background) {
        delegate_->willEnterForeground();
        NotificationCenter::defaultCenter().postNotification(kWillEnterForegroundNotification);
    }
    setState(State::Active);
    delegate_->didBecomeActive();
    NotificationCenter::defaultCenter().postNotification(kDidBecomeActiveNotification);
}

void Application::windowDeactivated() {
    if (terminated_ || state_ != State::Active) {
        return;
    }
    delegate_->willResignActive();
    setState(State::Inactive);
}

void Application::windowHidden() {
    if (terminated_ || state_ == State::Background) {
        return;
    }
    windowDeactivated();
    setState(State::Background);
    delegate_->didEnterBackground();
    NotificationCenter::defaultCenter().postNotification(kDidEnterBackgroundNotification);
}

void Application::windowShown() {
    if (terminated_ || state_ != State::Background) {
        return;
    }
    delegate_->willEnterForeground();
    NotificationCenter::defaultCenter().postNotification(kWillEnterForegroundNotification);
    setState(State::Inactive);
}

void Application::terminate() {
    if (terminated_) {
        return;
    }
    // Quitting on the desktop is leaving the application: it goes to the background
    // first, as an application the user leaves does, so what is stored on the way there
    // is stored on quit too.
    windowHidden();
    terminated_ = true;
    delegate_->willTerminate();
    NotificationCenter::defaultCenter().postNotification(kWillTerminateNotification);
    QCoreApplication::quit();
}

void Application::dropFiles(const QList<QUrl>& urls) {
    delegate_->filesDropped(urls);
}

bool Application::openURL(const QUrl& url) {
    return UrlOpener::openURL(url);
}

bool Application::handleOpenURL(const QUrl& url) {
    return delegate_->openURL(url);
}

QString Application::defaultSocketPath() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) {
        dir = QDir::tempPath();
    }
    return QDir(dir).filePath(QStringLiteral("lumigrave.instance"));
}

QList<QUrl> Application::urlsFromArguments(const QStringList& arguments) {
    QList<QUrl> urls;
    for (const QString& argument : arguments) {
        if (argument.startsWith(QLatin1Char('-'))) {
            continue;
        }
        QUrl url(argument, QUrl::StrictMode);
        // One-letter schemes would be drive letters elsewhere; here a scheme needs two.
        if (url.isValid() && url.scheme().size() > 1) {
            urls.append(url);
        } else if (QFileInfo::exists(argument)) {
            urls.append(QUrl::fromLocalFile(QFileInfo(argument).absoluteFilePath()));
        }
    }
    return urls;
}

bool Application::listen(const QString& socketPath) {
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(socketPath)) {
        // Left behind by an instance that crashed: nobody answers on it.
        QLocalServer::removeServer(socketPath);
        if (!server_->listen(socketPath)) {
            qWarning("Cannot listen for second starts on %s: %s", qPrintable(socketPath),
                     qPrintable(server_->errorString()));
            server_.reset();
            return false;
        }
    }
    connect(server_.get(), &QLocalServer::newConnection, this, &Application::receiveForwarded);
    return true;
}

bool Application::forwardToRunningInstance(const QStringList& arguments,
                                           const QString& socketPath) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(kForwardTimeoutMs)) {
        return false;
    }
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    QStringList urls;
    for (const QUrl& url : urlsFromArguments(arguments)) {
        urls.append(url.toString());
    }
    out << urls;
    socket.write(message);
    socket.waitForBytesWritten(kForwardTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

void Application::receiveForwarded() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readChannelFinished, this, [this, socket] {
            QDataStream in(socket->readAll());
            QStringList urls;
            in >> urls;
            if (in.status() != QDataStream::Ok) {
                qWarning("A second start sent a message that could not be read");
                return;
            }
            emit activationRequested();
            for (const QString& url : urls) {
                handleOpenURL(QUrl(url));
            }
        });
    }
}

}  // namespace lumigrave::ui
