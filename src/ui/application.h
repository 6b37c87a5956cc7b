#pragma once

#include <QObject>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>

class QLocalServer;

namespace lumigrave::ui {

// The callbacks the application object makes, as the platform makes them.
class ApplicationDelegate {
  public:
    virtual ~ApplicationDelegate() = default;
    virtual bool didFinishLaunching() = 0;
    virtual void didBecomeActive() {}
    virtual void willResignActive() {}
    virtual void didEnterBackground() {}
    virtual void willEnterForeground() {}
    virtual void willTerminate() {}
    // A URL opened for the application (its own scheme, a login's return, a photo).
    virtual bool openURL(const QUrl& url) {
        Q_UNUSED(url);
        return false;
    }
    // Files dropped on the window.
    virtual void filesDropped(const QList<QUrl>& urls) { Q_UNUSED(urls); }
};

// The one application object. On the desktop the application is active while its
// window is, in the background while the window is minimised or hidden, and terminates
// when it quits; each change reaches the delegate and posts the platform's
// notification.
class Application : public QObject {
    Q_OBJECT
  public:
    enum class State { Inactive, Active, Background };

    // Does not take ownership of the delegate.
    explicit Application(ApplicationDelegate* delegate);
    ~Application() override;
    // The application object, or null before one is made.
    static Application* sharedApplication();

    ApplicationDelegate* delegate() const { return delegate_; }
    State applicationState() const { return state_; }

    bool launch();
    // Reported by the window.
    void windowActivated();
    void windowDeactivated();
    void windowHidden();
    void windowShown();
    // will-terminate, once, then the event loop ends.
    void terminate();
    // Files dropped on the window.
    void dropFiles(const QList<QUrl>& urls);

    // Opens a URL in another application.
    bool openURL(const QUrl& url);
    // A URL opened for this application.
    bool handleOpenURL(const QUrl& url);

    // A second start hands its URLs to the running instance. listen() makes this process
    // the running one; forwardToRunningInstance() returns true when another instance
    // took the arguments (this process should then exit).
    bool listen(const QString& socketPath = defaultSocketPath());
    static bool forwardToRunningInstance(const QStringList& arguments,
                                         const QString& socketPath = defaultSocketPath());
    static QString defaultSocketPath();
    // The URLs among command-line arguments: URLs with a scheme, and files as file URLs.
    static QList<QUrl> urlsFromArguments(const QStringList& arguments);

  signals:
    // The running instance was asked to come forward by a second start.
    void activationRequested();

  private:
    void setState(State state);
    void receiveForwarded();

    ApplicationDelegate* delegate_;
    State state_ = State::Inactive;
    bool terminated_ = false;
    std::unique_ptr<QLocalServer> server_;
};

// The platform's notification names.
inline const QString kDidEnterBackgroundNotification =
    QStringLiteral("UIApplicationDidEnterBackgroundNotification");
inline const QString kWillEnterForegroundNotification =
    QStringLiteral("UIApplicationWillEnterForegroundNotification");
inline const QString kDidBecomeActiveNotification =
    QStringLiteral("UIApplicationDidBecomeActiveNotification");
inline const QString kWillTerminateNotification =
    QStringLiteral("UIApplicationWillTerminateNotification");

}  // namespace lumigrave::ui
