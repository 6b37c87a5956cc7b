// The application object: its lifecycle, dropped files and second starts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

#include "platform/notification_center.h"
#include "support/widget_test_support.h"
#include "ui/application.h"
#include "ui/window.h"

namespace lumigrave::ui {
namespace {

using test::eventually;
using test::settle;

// Writes the delegate's callbacks and the notifications posted into one log, so their
// order shows.
class LifecycleRecorder : public ApplicationDelegate {
  public:
    explicit LifecycleRecorder(QStringList* log) : log_(log) {
        for (const char* name : {"UIApplicationDidEnterBackgroundNotification",
                                 "UIApplicationWillEnterForegroundNotification",
                                 "UIApplicationDidBecomeActiveNotification",
                                 "UIApplicationWillTerminateNotification"}) {
            const QString notification = QString::fromLatin1(name);
            NotificationCenter::defaultCenter().addObserver(
                this, notification, [this, notification] { log_->append(notification); });
        }
    }
    ~LifecycleRecorder() override { NotificationCenter::defaultCenter().removeObserver(this); }

    bool didFinishLaunching() override { return note("didFinishLaunching"); }
    void didBecomeActive() override { note("didBecomeActive"); }
    void willResignActive() override { note("willResignActive"); }
    void didEnterBackground() override { note("didEnterBackground"); }
    void willEnterForeground() override { note("willEnterForeground"); }
    void willTerminate() override { note("willTerminate"); }
    bool openURL(const QUrl& url) override { return note("openURL " + url.toString()); }
    void filesDropped(const QList<QUrl>& urls) override { dropped.append(urls); }

    QList<QUrl> dropped;

  private:
    bool note(const QString& call) {
        log_->append(call);
        return true;
    }
    QStringList* log_;
};

// The log so far, emptied.
QStringList take(QStringList& log) {
    QStringList taken = log;
    log.clear();
    return taken;
}

const QString kBecameActive = QStringLiteral("UIApplicationDidBecomeActiveNotification");
const QString kEnteredBackground = QStringLiteral("UIApplicationDidEnterBackgroundNotification");
const QString kEnteringForeground = QStringLiteral("UIApplicationWillEnterForegroundNotification");
const QString kTerminating = QStringLiteral("UIApplicationWillTerminateNotification");

TEST(Application, MovesThroughTheLifecycleAndPostsEachChange) {
    QStringList log;
    LifecycleRecorder delegate(&log);
    Application application(&delegate);
    EXPECT_EQ(Application::sharedApplication(), &application);
    EXPECT_EQ(application.delegate(), &delegate);
    EXPECT_EQ(application.applicationState(), Application::State::Inactive);
    EXPECT_TRUE(application.launch());
    EXPECT_EQ(take(log), QStringList{"didFinishLaunching"});

    application.windowActivated();
    application.windowActivated();
    EXPECT_EQ(take(log), QStringList({"didBecomeActive", kBecameActive}));
    EXPECT_EQ(application.applicationState(), Application::State::Active);
    application.windowDeactivated();
    application.windowDeactivated();
    EXPECT_EQ(take(log), QStringList{"willResignActive"});
    EXPECT_EQ(application.applicationState(), Application::State::Inactive);
    application.windowActivated();
    EXPECT_EQ(take(log), QStringList({"didBecomeActive", kBecameActive}));

    // Leaving resigns first.
    application.windowHidden();
    application.windowHidden();
    EXPECT_EQ(take(log),
              QStringList({"willResignActive", "didEnterBackground", kEnteredBackground}));
    EXPECT_EQ(application.applicationState(), Application::State::Background);
    // Back in the foreground it is inactive until the window is activated.
    application.windowShown();
    application.windowShown();
    EXPECT_EQ(take(log), QStringList({"willEnterForeground", kEnteringForeground}));
    EXPECT_EQ(application.applicationState(), Application::State::Inactive);
    application.windowActivated();
    EXPECT_EQ(take(log), QStringList({"didBecomeActive", kBecameActive}));

    // Quitting goes to the background first, so what is stored there is stored on quit.
    application.terminate();
    EXPECT_EQ(take(log), QStringList({"willResignActive", "didEnterBackground", kEnteredBackground,
                                      "willTerminate", kTerminating}));
    application.terminate();
    application.windowActivated();
    application.windowShown();
    application.windowHidden();
    EXPECT_TRUE(log.isEmpty());
}

TEST(Application, FromTheBackgroundAnActivationComesThroughTheForeground) {
    QStringList log;
    LifecycleRecorder delegate(&log);
    {
        Application application(&delegate);
        // Never active: nothing to resign.
        application.windowHidden();
        EXPECT_EQ(take(log), QStringList({"didEnterBackground", kEnteredBackground}));
        application.windowActivated();
        EXPECT_EQ(take(log), QStringList({"willEnterForeground", kEnteringForeground,
                                          "didBecomeActive", kBecameActive}));
        application.windowHidden();
        take(log);
        // Already in the background: only the termination is left to tell.
        application.terminate();
        EXPECT_EQ(take(log), QStringList({"willTerminate", kTerminating}));
        EXPECT_TRUE(application.handleOpenURL(QUrl("lumigrave://flickr")));
        EXPECT_EQ(take(log), QStringList{"openURL lumigrave://flickr"});
    }
    EXPECT_EQ(Application::sharedApplication(), nullptr);
}

TEST(Application, TheWindowsActivationMinimisingHidingAndClosingDriveIt) {
    QStringList log;
    LifecycleRecorder delegate(&log);
    Application application(&delegate);
    Window window;
    window.resize(320, 480);
    window.show();
    settle();
    QApplication::setActiveWindow(&window);
    EXPECT_TRUE(
        eventually([&] { return application.applicationState() == Application::State::Active; }));
    EXPECT_EQ(take(log), QStringList({"didBecomeActive", kBecameActive}));

    // Minimised as a window manager does it: the state changes and the focus moves on.
    window.setWindowState(Qt::WindowMinimized);
    QApplication::setActiveWindow(nullptr);
    settle();
    EXPECT_EQ(application.applicationState(), Application::State::Background);
    EXPECT_EQ(take(log),
              QStringList({"willResignActive", "didEnterBackground", kEnteredBackground}));
    window.setWindowState(Qt::WindowNoState);
    settle();
    EXPECT_EQ(take(log), QStringList({"willEnterForeground", kEnteringForeground}));
    QApplication::setActiveWindow(&window);
    settle();
    EXPECT_EQ(take(log), QStringList({"didBecomeActive", kBecameActive}));

    window.hide();
    QApplication::setActiveWindow(nullptr);
    settle();
    EXPECT_EQ(take(log),
              QStringList({"willResignActive", "didEnterBackground", kEnteredBackground}));
    window.show();
    settle();
    QApplication::setActiveWindow(&window);
    settle();
    EXPECT_EQ(take(log), QStringList({"willEnterForeground", kEnteringForeground, "didBecomeActive",
                                      kBecameActive}));

    window.close();
    settle();
    EXPECT_EQ(take(log), QStringList({"willResignActive", "didEnterBackground", kEnteredBackground,
                                      "willTerminate", kTerminating}));
}

// Opens the window's drag and drop handlers to the test, as a drag would reach them.
class DropTarget : public Window {
  public:
    using Window::dragEnterEvent;
    using Window::dropEvent;
};

TEST(Application, FilesDroppedOnTheWindowReachTheDelegate) {
    QStringList log;
    LifecycleRecorder delegate(&log);
    Application application(&delegate);
    DropTarget window;
    window.resize(320, 480);

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/photos/a.jpg"), QUrl("https://example.com/b.png")});
    QDragEnterEvent filesEnter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton,
                               Qt::NoModifier);
    filesEnter.setAccepted(false);
    window.dragEnterEvent(&filesEnter);
    EXPECT_TRUE(filesEnter.isAccepted());

    QMimeData text;
    text.setText("hello");
    QDragEnterEvent textEnter(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton,
                              Qt::NoModifier);
    textEnter.setAccepted(false);
    window.dragEnterEvent(&textEnter);
    EXPECT_FALSE(textEnter.isAccepted());
    QDropEvent textDrop(QPointF(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    window.dropEvent(&textDrop);
    EXPECT_TRUE(delegate.dropped.isEmpty());

    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    drop.setAccepted(false);
    window.dropEvent(&drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(delegate.dropped, files.urls());
}

// Points the runtime directory, where the instance's socket lives, at a fresh directory.
class SecondStartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(runtime_.isValid());
        hadRuntime_ = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
        savedRuntime_ = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
    }
    void TearDown() override {
        if (hadRuntime_) {
            qputenv("XDG_RUNTIME_DIR", savedRuntime_);
        } else {
            qunsetenv("XDG_RUNTIME_DIR");
        }
    }
    QString path(const QString& name) const { return runtime_.filePath(name); }

    QStringList log;
    LifecycleRecorder delegate{&log};

  private:
    QTemporaryDir runtime_;
    bool hadRuntime_ = false;
    QByteArray savedRuntime_;
};

TEST_F(SecondStartTest, HandsItsUrlsToTheRunningInstanceWhichComesForward) {
    EXPECT_EQ(Application::defaultSocketPath(), path("lumigrave.instance"));
    // Nobody runs yet: this start is the one to run.
    EXPECT_FALSE(Application::forwardToRunningInstance({"https://example.com/a"}));

    const QString photo = path("photo.jpg");
    {
        QFile file(photo);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not really a photo");
    }
    {
        Application running(&delegate);
        ASSERT_TRUE(running.listen());
        QObject::connect(&running, &Application::activationRequested,
                         [this] { log.append("activationRequested"); });

        EXPECT_TRUE(Application::forwardToRunningInstance(
            {"--fullscreen", "https://example.com/a?size=2", photo, path("missing.jpg")}));
        EXPECT_TRUE(eventually([&] { return log.size() >= 3; }));
        EXPECT_EQ(log, QStringList({"activationRequested", "openURL https://example.com/a?size=2",
                                    "openURL " + QUrl::fromLocalFile(photo).toString()}));

        // A start with nothing to open still brings the window forward.
        log.clear();
        EXPECT_TRUE(Application::forwardToRunningInstance({}));
        EXPECT_TRUE(eventually([&] { return !log.isEmpty(); }));
        QTest::qWait(100);
        EXPECT_EQ(log, QStringList{"activationRequested"});
    }
    // Once the instance has gone, nobody answers.
    EXPECT_FALSE(Application::forwardToRunningInstance({"https://example.com/a"}));
}

TEST_F(SecondStartTest, ASocketLeftBehindByACrashIsTakenOver) {
    const QString socket = path("crashed.instance");
    {
        QFile leftover(socket);
        ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    }
    EXPECT_FALSE(Application::forwardToRunningInstance({"lumigrave://flickr"}, socket));
    Application running(&delegate);
    ASSERT_TRUE(running.listen(socket));
    EXPECT_TRUE(Application::forwardToRunningInstance({"lumigrave://flickr"}, socket));
    EXPECT_TRUE(eventually([&] { return log.contains("openURL lumigrave://flickr"); }));
}

TEST(Application, TakesUrlsAndExistingFilesFromTheArgumentsAndSkipsOptions) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"photo.jpg", "with space.png"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString savedDirectory = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    // A relative name is a file where this start was made.
    const QUrl relative = QUrl::fromLocalFile(QDir::current().absoluteFilePath("photo.jpg"));
    const QList<QUrl> urls = Application::urlsFromArguments(
        {"--verbose", "-x", "https://example.com/p?q=1", "lumigrave://flickr", "photo.jpg",
         dir.filePath("with space.png"), "missing.jpg", "C:/no/such/file.jpg", "-photo.jpg"});
    QDir::setCurrent(savedDirectory);

    EXPECT_EQ(urls, QList<QUrl>({QUrl("https://example.com/p?q=1"), QUrl("lumigrave://flickr"),
                                 relative, QUrl::fromLocalFile(dir.filePath("with space.png"))}));
}

}  // namespace
}  // namespace lumigrave::ui
