// The lumigrave binary itself: its options, and a second start handing over to the first.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace lumigrave::test {
namespace {

// A private home and runtime directory for the started processes, so they never meet
// the user's own running instance or settings.
class AppProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("HOME", home_.path());
        env_.insert("XDG_CONFIG_HOME", home_.filePath("config"));
        env_.insert("XDG_DATA_HOME", home_.filePath("data"));
        env_.insert("XDG_CACHE_HOME", home_.filePath("cache"));
        env_.insert("XDG_RUNTIME_DIR", home_.path());
        env_.insert("QT_QPA_PLATFORM", "offscreen");
        // A login handed over is kept; it goes to the private file, not the desktop's keyring.
        env_.remove("DBUS_SESSION_BUS_ADDRESS");
    }
    void start(QProcess& process, const QStringList& arguments) {
        process.setProcessEnvironment(env_);
        process.start(QStringLiteral(LUMIGRAVE_APP), arguments);
        ASSERT_TRUE(process.waitForStarted(10000));
    }
    QString socket() const { return home_.filePath("lumigrave.instance"); }

    QTemporaryDir home_;
    QProcessEnvironment env_;
};

TEST_F(AppProcessTest, AWindowSizeThatIsNoSizeIsRefusedWithTheReason) {
    for (const char* size : {"10x10", "400", "wide x tall", "400x-700", "9000x700"}) {
        QProcess app;
        start(app, {"--screen", size});
        ASSERT_TRUE(app.waitForFinished(30000)) << size;
        EXPECT_EQ(app.exitCode(), 2) << size;
        EXPECT_TRUE(app.readAllStandardError().contains("--screen wants a size such as 400x700"))
            << size;
    }
    EXPECT_FALSE(QFile::exists(socket()));
}

TEST_F(AppProcessTest, ASecondStartHandsItsUrlToTheRunningOneAndEnds) {
    QProcess first;
    start(first, {"--screen", "320x480"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(socket()); }, 30000))
        << first.readAllStandardError().toStdString();

    QProcess second;
    start(second, {"fb417820365194623://authorize#access_token=SECRETx42"});
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitCode(), 0);
    // The running one got the login's return and kept the token; no share was waiting.
    QByteArray said;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            said += first.readAllStandardError();
            return said.contains("No share was waiting for the Facebook login");
        },
        30000))
        << said.toStdString();
    // The return carries the login's token, which no log may hold.
    EXPECT_FALSE(said.contains("access_token")) << said.toStdString();
    EXPECT_FALSE(said.contains("SECRETx42")) << said.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished(10000);
}

}  // namespace
}  // namespace lumigrave::test
