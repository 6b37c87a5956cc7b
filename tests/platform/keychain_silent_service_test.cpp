// The keychain where a Secret Service holds the name on the session bus but never answers,
// as a locked keyring does while its prompt waits where no one sees it. Run inside a private
// session bus (dbus-run-session), where this process itself plays that service.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>

#include "platform/keychain.h"
#include "support/log_capture.h"
#include "support/temp_home.h"

namespace lumigrave {
namespace {

// Takes every call made to it and answers none.
class SilentSecretService : public QDBusVirtualObject {
  public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage&, const QDBusConnection&) override {
        ++calls;
        return true;
    }
    int calls = 0;
};

TEST(KeychainSilentService, AKeyringThatNeverAnswersLeavesTheLoginsToTheFileStore) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected()) << "run this test inside dbus-run-session";
    SilentSecretService service;
    ASSERT_TRUE(bus.registerVirtualObject("/", &service, QDBusConnection::SubPath));
    ASSERT_TRUE(bus.registerService("org.freedesktop.secrets"));
    test::TempHome home;
    Keychain::setAnswerTimeoutForTesting(500);
    Keychain::resetForTesting();
    test::LogCapture log;

    EXPECT_EQ(Keychain::store(), Keychain::Store::File);
    EXPECT_GT(service.calls, 0) << "the keyring was never asked";
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines()[0].contains("did not answer")) << log.lines()[0].toStdString();

    QString error;
    EXPECT_TRUE(Keychain::setPassword("SHARE_AUTH_X", "password", "value", &error))
        << error.toStdString();
    EXPECT_EQ(Keychain::password("SHARE_AUTH_X", "password", &error), "value");
    Keychain::setAnswerTimeoutForTesting(10000);
    Keychain::resetForTesting();
}

}  // namespace
}  // namespace lumigrave
