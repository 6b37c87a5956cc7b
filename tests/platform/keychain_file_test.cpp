// The keychain where no Secret Service answers: the test process has no session bus, so
// logins go to the file store in the application's data directory.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "platform/keychain.h"
#include "platform/property_list.h"
#include "platform/user_defaults.h"
#include "support/image_files.h"
#include "support/log_capture.h"
#include "support/temp_home.h"

namespace lumigrave {
namespace {

const char* const kBusVariables[] = {"DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "WAYLAND_DISPLAY",
                                     "XDG_RUNTIME_DIR"};

class KeychainFile : public testing::Test {
  protected:
    void SetUp() override {
        // No bus to reach: no address, no display to start one for, and a runtime directory
        // without a bus socket in it.
        for (const char* name : kBusVariables) {
            saved_.append({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
            qunsetenv(name);
        }
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
        Keychain::resetForTesting();
        ASSERT_EQ(Keychain::store(), Keychain::Store::File);
    }

    void TearDown() override {
        for (const auto& [name, set, value] : saved_) {
            if (set) {
                qputenv(name, value);
            } else {
                qunsetenv(name);
            }
        }
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

    // Every file under the home that holds the bytes, as paths relative to it.
    QStringList filesHolding(const QString& secret) const {
        QStringList found;
        QDirIterator it(home_.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (test::readFile(path).contains(secret.toUtf8())) {
                found.append(QDir(home_.path()).relativeFilePath(path));
            }
        }
        return found;
    }

    static mode_t mode(const QString& path) {
        struct stat status {};
        EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0) << path.toStdString();
        return status.st_mode & 07777;
    }

    QTemporaryDir runtime_;
    test::TempHome home_;
    QList<std::tuple<const char*, bool, QByteArray>> saved_;
};

TEST_F(KeychainFile, KeepsChangesAndRemovesLogins) {
    EXPECT_EQ(read("SHARE_AUTH_ReadLaterSharer", "password"), std::nullopt);
    QString error;
    EXPECT_TRUE(Keychain::deletePassword("SHARE_AUTH_ReadLaterSharer", "password", &error))
        << "deleting what is not there";

    write("SHARE_AUTH_ReadLaterSharer", "username", "ada");
    write("SHARE_AUTH_ReadLaterSharer", "password", "first");
    write("SHARE_AUTH_FacebookSharer", "password", "other service");
    write("SHARE_AUTH_ReadLaterSharer", "password", "second");
    EXPECT_EQ(read("SHARE_AUTH_ReadLaterSharer", "password"), "second");
    EXPECT_EQ(read("SHARE_AUTH_ReadLaterSharer", "username"), "ada");
    EXPECT_EQ(read("SHARE_AUTH_FacebookSharer", "password"), "other service");

    EXPECT_TRUE(Keychain::deletePassword("SHARE_AUTH_ReadLaterSharer", "password", &error));
    EXPECT_EQ(read("SHARE_AUTH_ReadLaterSharer", "password"), std::nullopt);
    EXPECT_EQ(read("SHARE_AUTH_ReadLaterSharer", "username"), "ada");
    EXPECT_EQ(read("SHARE_AUTH_FacebookSharer", "password"), "other service");

    // A later process decides again and finds the same logins.
    Keychain::resetForTesting();
    EXPECT_EQ(read("SHARE_AUTH_ReadLaterSharer", "username"), "ada");
}

TEST_F(KeychainFile, KeepsEveryCharacterOfAValue) {
    const QString values[] = {QStringLiteral("pässwörd 日本 😀"), QStringLiteral("a\r\nb\tc"),
                              QStringLiteral("<&>\"' "), QString()};
    for (const QString& value : values) {
        write(QStringLiteral("SHARE_AUTH_Ünïcode"), QStringLiteral("клíč"), value);
        EXPECT_EQ(read(QStringLiteral("SHARE_AUTH_Ünïcode"), QStringLiteral("клíč")), value);
    }
}

// The store lives in the data directory, readable by its owner alone from the first byte,
// whatever the umask; nothing else under the home, the preferences least of all, holds the
// secret, and no log line does.
TEST_F(KeychainFile, OnlyTheOwnerCanReadTheStoreAndNothingElseHoldsTheSecret) {
    const mode_t previous = ::umask(022);
    UserDefaults defaults;
    defaults.setString("unrelated", "value");
    ASSERT_TRUE(defaults.synchronize());
    test::LogCapture log;
    write("SHARE_AUTH_ReadLaterSharer", "password", "s3cret-value");
    write("SHARE_AUTH_ReadLaterSharer", "password", "s3cret-value-2");
    ::umask(previous);

    const QString path = Keychain::fileStorePath();
    EXPECT_EQ(QFileInfo(path).fileName(), "keychain.plist");
    EXPECT_NE(QFileInfo(path).absoluteFilePath(),
              QFileInfo(defaults.filePath()).absoluteFilePath());
    EXPECT_EQ(mode(path), mode_t(0600));
    EXPECT_EQ(filesHolding("s3cret-value"), QStringList{QDir(home_.path()).relativeFilePath(path)});
    for (const QString& line : log.lines()) {
        EXPECT_FALSE(line.contains("s3cret")) << line.toStdString();
    }
    // It is a property list others can read: a dict of services of accounts.
    EXPECT_EQ(PropertyList::readFile(path, nullptr),
              QVariant(QVariantMap{
                  {"SHARE_AUTH_ReadLaterSharer", QVariantMap{{"password", "s3cret-value-2"}}}}));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList({"keychain*"}, QDir::Files | QDir::Hidden),
              QStringList{"keychain.plist"});
}

TEST_F(KeychainFile, AStoreOthersCouldReadIsMadePrivateAgain) {
    write("SHARE_AUTH_ReadLaterSharer", "password", "value");
    const QString path = Keychain::fileStorePath();
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
    test::LogCapture log;
    EXPECT_EQ(read("SHARE_AUTH_ReadLaterSharer", "password"), "value");
    EXPECT_EQ(mode(path), mode_t(0600));
    EXPECT_EQ(log.lines().size(), 1);
}

// A store that cannot be understood is reported, never silently replaced: reading names the
// file and leaves it as it is; a change keeps it aside under a new name and starts afresh.
// No message quotes what the file held.
TEST_F(KeychainFile, ADamagedStoreIsReportedAndKeptAside) {
    const QString path = Keychain::fileStorePath();
    const QByteArray damaged[] = {
        "<plist><dict><key>SHARE_AUTH_X</key><dict><key>password</key><string>hidden-secret",
        "<plist><dict><key>SHARE_AUTH_X</key><string>hidden-secret</string></dict></plist>",
        "<plist><array><string>hidden-secret</string></array></plist>",
        "hidden-secret",
    };
    for (const QByteArray& bytes : damaged) {
        SCOPED_TRACE(bytes.toStdString());
        for (const QString& old : QDir(QFileInfo(path).path()).entryList({"keychain.plist*"})) {
            QFile::remove(QFileInfo(path).dir().filePath(old));
        }
        ASSERT_TRUE(test::writeFile(path, bytes));
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0600), 0);
        test::LogCapture log;

        QString error;
        EXPECT_EQ(Keychain::password("SHARE_AUTH_X", "password", &error), std::nullopt);
        EXPECT_EQ(error, "The login store " + path + " is damaged and cannot be read.");
        EXPECT_EQ(test::readFile(path), bytes);

        EXPECT_TRUE(Keychain::setPassword("SHARE_AUTH_X", "password", "new", &error))
            << error.toStdString();
        EXPECT_EQ(read("SHARE_AUTH_X", "password"), "new");
        const QStringList aside =
            QDir(QFileInfo(path).path()).entryList({"keychain.plist.damaged-*"}, QDir::Files);
        ASSERT_EQ(aside.size(), 1);
        EXPECT_EQ(test::readFile(QFileInfo(path).dir().filePath(aside[0])), bytes);
        ASSERT_EQ(log.lines().size(), 1);
        EXPECT_TRUE(log.lines()[0].contains(aside[0])) << log.lines()[0].toStdString();
        for (const QString& line : log.lines() + QStringList{error}) {
            EXPECT_FALSE(line.contains("hidden-secret")) << line.toStdString();
        }
    }
}

// A value the store cannot carry is refused with a reason, and what was stored stays.
TEST_F(KeychainFile, AValueTheStoreCannotHoldIsRefusedAndTheOldOneKept) {
    write("SHARE_AUTH_X", "password", "kept");
    QString error;
    EXPECT_FALSE(
        Keychain::setPassword("SHARE_AUTH_X", "password", QStringLiteral("bell\a"), &error));
    EXPECT_TRUE(error.startsWith("Cannot write the login store")) << error.toStdString();
    EXPECT_FALSE(error.contains("bell")) << error.toStdString();
    EXPECT_EQ(read("SHARE_AUTH_X", "password"), "kept");
}

}  // namespace
}  // namespace lumigrave
