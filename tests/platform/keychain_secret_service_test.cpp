// The keychain against a real Secret Service: run_with_keyring.sh starts a private session
// bus with an unlocked keyring daemon around this binary.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "platform/keychain.h"
#include "support/log_capture.h"
#include "support/temp_home.h"

namespace lumigrave {
namespace {

class KeychainSecretService : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            << "run this test through run_with_keyring.sh";
        Keychain::resetForTesting();
        ASSERT_EQ(Keychain::store(), Keychain::Store::SecretService)
            << "the keyring started for the test was not reached";
    }

    void TearDown() override {
        // Had anything gone to the file store, the keyring was never really used.
        EXPECT_FALSE(QFileInfo::exists(Keychain::fileStorePath()));
        Keychain::resetForTesting();
    }

    static std::optional<QString> read(const QString& service, const QString& account) {
        QString error = "untouched";
        std::optional<QString> value = Keychain::password(service, account, &error);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return value;
    }

    static void write(const QString& service, const QString& account, const QString& value) {
        QString error;
        EXPECT_TRUE(Keychain::setPassword(service, account, value, &error)) << error.toStdString();
    }

    test::TempHome home_;
};

TEST_F(KeychainSecretService, KeepsChangesAndRemovesLogins) {
    test::LogCapture log;
    EXPECT_EQ(read("SHARE_AUTH_ReadLaterSharer", "password"), std::nullopt);
    QString error;
    EXPECT_TRUE(Keychain::deletePassword("SHARE_AUTH_ReadLaterSharer", "password", &error))
        << error.toStdString();

    write("SHARE_AUTH_ReadLaterSharer", "username", "ada");
    write("SHARE_AUTH_ReadLaterSharer", "password", "k3yring-first");
    write("SHARE_AUTH_FacebookSharer", "password", "k3yring-other");
    write("SHARE_AUTH_ReadLaterSharer", "password", "k3yring-second");
    EXPECT_EQ(read("SHARE_AUTH_ReadLaterSharer", "password"), "k3yring-second");
    EXPECT_EQ(read("SHARE_AUTH_ReadLaterSharer", "username"), "ada");
    EXPECT_EQ(read("SHARE_AUTH_FacebookSharer", "password"), "k3yring-other");

    EXPECT_TRUE(Keychain::deletePassword("SHARE_AUTH_ReadLaterSharer", "password", &error))
        << error.toStdString();
    EXPECT_EQ(read("SHARE_AUTH_ReadLaterSharer", "password"), std::nullopt);
    EXPECT_EQ(read("SHARE_AUTH_FacebookSharer", "password"), "k3yring-other");

    // A later process decides again and finds the same logins in the keyring.
    Keychain::resetForTesting();
    EXPECT_EQ(read("SHARE_AUTH_ReadLaterSharer", "username"), "ada");
    for (const QString& line : log.lines()) {
        EXPECT_FALSE(line.contains("k3yring")) << line.toStdString();
    }
}

TEST_F(KeychainSecretService, KeepsEveryCharacterOfAValue) {
    const QString values[] = {QStringLiteral("pässwörd 日本 😀"), QStringLiteral("a\r\nb\tc\a"),
                              QStringLiteral("<&>\"' ")};
    for (const QString& value : values) {
        write(QStringLiteral("SHARE_AUTH_Ünïcode"), QStringLiteral("клíč"), value);
        EXPECT_EQ(read(QStringLiteral("SHARE_AUTH_Ünïcode"), QStringLiteral("клíč")), value);
    }
}

}  // namespace
}  // namespace lumigrave
