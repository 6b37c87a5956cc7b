#include "sharing/share_configuration.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "support/log_capture.h"
#include "support/temp_home.h"

namespace lumigrave::sharing {
namespace {

// A home of its own with a system configuration directory of its own too, so the
// deployment files of the machine running the tests are never read.
class ShareConfigurationTest : public testing::Test {
  protected:
    ShareConfigurationTest() {
        savedConfigDirs_ = qgetenv("XDG_CONFIG_DIRS");
        hadConfigDirs_ = qEnvironmentVariableIsSet("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_DIRS", home_.filePath("etc-xdg").toUtf8());
    }
    ~ShareConfigurationTest() override {
        if (hadConfigDirs_) {
            qputenv("XDG_CONFIG_DIRS", savedConfigDirs_);
        } else {
            qunsetenv("XDG_CONFIG_DIRS");
        }
        ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
    }

    void writeFile(const QString& relative, const QByteArray& text) {
        const QString path = home_.filePath(relative);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    void writeUserFile(const QByteArray& text) { writeFile(".config/lumigrave/sharing.ini", text); }
    void writeSystemFile(const QByteArray& text) {
        writeFile("etc-xdg/lumigrave/sharing.ini", text);
    }
    ShareConfiguration& install() {
        return ShareConfiguration::sharedInstanceWithConfigurator(
            std::make_unique<DefaultShareConfigurator>());
    }

    test::TempHome home_;
    QByteArray savedConfigDirs_;
    bool hadConfigDirs_ = false;
};

TEST_F(ShareConfigurationTest, TheLibraryDefaultsAreThoseTheWorkflowReads) {
    const ShareConfiguration& configuration = install();
    const std::pair<const char*, QVariant> expected[] = {
        {"allowOffline", true},
        {"allowAutoShare", true},
        {"autoOrderFavoriteSharers", true},
        {"maxFavCount", 3},
        {"FormControllerSubclass", "ShareFormController"},
        {"sharersPlistName", "Sharers.plist"},
        {"authPrefix", "SHARE_AUTH_"},
        {"favsPrefixKey", "SHARE_FAVS_"},
        {"printOutputType", 0},
        {"isMailHTML", true},
        {"mailJPGQuality", 1.0},
        {"sharedWithSignature", false},
        {"popOverSourceRect", "{{0, 0}, {0, 0}}"},
        {"facebookGraphURL", "https://graph.facebook.com"},
        {"bitLyURL", "https://api-ssl.bitly.com/v3"},
    };
    for (const auto& [key, value] : expected) {
        EXPECT_EQ(configuration.configurationValue(key), value) << key;
    }
    EXPECT_EQ(configuration.listValue("defaultFavoriteImageSharers"),
              QStringList({"FacebookSharer", "TwitterSharer", "FlickrSharer"}));
    EXPECT_FALSE(configuration.barTintForView("TwitterSharer").isValid());
}

TEST_F(ShareConfigurationTest, ANameThatIsNoSettingReadsAsInvalidAndIsLogged) {
    const ShareConfiguration& configuration = install();
    test::LogCapture log;
    EXPECT_FALSE(configuration.configurationValue("facebookAppID").isValid());
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().first().contains("facebookAppID"));
}

class Configurator : public DefaultShareConfigurator {
  public:
    QString facebookAppId() const override { return "111111111111111"; }
    QStringList defaultFavoriteSharersForMimeType(const QString& mimeType) const override {
        return {mimeType == "application/pdf" ? "PdfSharer" : "OtherSharer"};
    }
    QColor barTintForView(const QString& name) const override {
        return name == "FacebookSharer" ? QColor(Qt::blue) : QColor();
    }
};

TEST_F(ShareConfigurationTest, TheInstalledConfiguratorAnswersWithItsArgument) {
    const ShareConfiguration& configuration =
        ShareConfiguration::sharedInstanceWithConfigurator(std::make_unique<Configurator>());
    EXPECT_EQ(&configuration, &ShareConfiguration::sharedInstance());
    EXPECT_EQ(configuration.stringValue("facebookAppId"), "111111111111111");
    EXPECT_EQ(configuration.listValue("defaultFavoriteSharersForMimeType", "application/pdf"),
              QStringList{"PdfSharer"});
    EXPECT_EQ(configuration.configurationValue("barTintForView", "FacebookSharer"),
              QVariant(QColor(Qt::blue)));
    EXPECT_EQ(configuration.barTintForView("FlickrSharer"), QColor());
}

TEST_F(ShareConfigurationTest, TheUsersDeploymentFileWinsOverTheSystemsAndTheConfigurator) {
    writeSystemFile(
        "[sharing]\nfacebookAppId=222222222222222\nbitLyLogin=system\n"
        "facebookGraphURL=http://127.0.0.1:9/graph\n");
    writeUserFile("[sharing]\nbitLyLogin=user\nmaxFavCount=5\nallowOffline=false\n");
    const ShareConfiguration& configuration =
        ShareConfiguration::sharedInstanceWithConfigurator(std::make_unique<Configurator>());
    EXPECT_EQ(configuration.stringValue("facebookAppId"), "222222222222222");
    EXPECT_EQ(configuration.stringValue("bitLyLogin"), "user");
    EXPECT_EQ(configuration.stringValue("facebookGraphURL"), "http://127.0.0.1:9/graph");
    EXPECT_EQ(configuration.configurationValue("maxFavCount"), QVariant(5));
    EXPECT_EQ(configuration.configurationValue("allowOffline"), QVariant(false));
}

TEST_F(ShareConfigurationTest, TheFileIsReadOnceWhenTheConfiguratorIsInstalled) {
    writeUserFile("bitLyLogin=first\n");
    const ShareConfiguration& configuration = install();
    EXPECT_EQ(configuration.stringValue("bitLyLogin"), "first");
    writeUserFile("bitLyLogin=second\n");
    EXPECT_EQ(configuration.stringValue("bitLyLogin"), "first");
    EXPECT_EQ(install().stringValue("bitLyLogin"), "second");
}

TEST_F(ShareConfigurationTest, TheSharingGroupWinsOverTopLevelKeysAndListsAreRead) {
    writeUserFile(
        "bitLyLogin=top\nbitLyKey=top\n[sharing]\nbitLyLogin=group\n"
        "defaultFavoriteURLSharers=ReadLaterSharer, FacebookSharer\n"
        "mailToRecipients=one@example.org\n");
    const ShareConfiguration& configuration = install();
    EXPECT_EQ(configuration.stringValue("bitLyLogin"), "group");
    EXPECT_EQ(configuration.stringValue("bitLyKey"), "top");
    EXPECT_EQ(configuration.listValue("defaultFavoriteURLSharers"),
              QStringList({"ReadLaterSharer", "FacebookSharer"}));
    EXPECT_EQ(configuration.listValue("mailToRecipients"), QStringList{"one@example.org"});
}

TEST_F(ShareConfigurationTest, AValueOfTheWrongFormIsIgnoredAndLoggedWithoutTheValue) {
    // Each of these is a secret or an address of the wrong form for its setting.
    writeUserFile(
        "[sharing]\n"
        "twitterSecret=secretpart1, secretpart2\n"
        "facebookGraphURL=secret-not-an-address\n"
        "maxFavCount=secret-not-a-number\n"
        "allowOffline=secret-not-a-boolean\n"
        "mailJPGQuality=secret-not-real\n"
        "barTintForView=secret-keyed\n"
        "noSuchSetting=secret-unknown\n");
    test::LogCapture log;
    const ShareConfiguration& configuration = install();
    EXPECT_EQ(configuration.stringValue("twitterSecret"), "");
    EXPECT_EQ(configuration.stringValue("facebookGraphURL"), "https://graph.facebook.com");
    EXPECT_EQ(configuration.configurationValue("maxFavCount"), QVariant(3));
    EXPECT_EQ(configuration.configurationValue("allowOffline"), QVariant(true));
    EXPECT_EQ(configuration.configurationValue("mailJPGQuality"), QVariant(1.0));
    for (const char* key : {"twitterSecret", "facebookGraphURL", "maxFavCount", "allowOffline",
                            "mailJPGQuality", "barTintForView", "noSuchSetting"}) {
        EXPECT_EQ(log.lines().filter(key).size(), 1) << key;
    }
    for (const QString& line : log.lines()) {
        EXPECT_FALSE(line.contains("secret", Qt::CaseSensitive)) << line.toStdString();
    }
}

TEST_F(ShareConfigurationTest, EverySettingButTheKeyedOnesCanBeDeployed) {
    const QStringList names = ShareConfiguration::deployableSettingNames();
    EXPECT_TRUE(names.contains("facebookAppId"));
    EXPECT_TRUE(names.contains("readItLaterURL"));
    EXPECT_FALSE(names.contains("barTintForView"));
    EXPECT_FALSE(names.contains("defaultFavoriteSharersForMimeType"));
    const ShareConfiguration& configuration = install();
    test::LogCapture log;
    for (const QString& name : names) {
        EXPECT_TRUE(configuration.configurationValue(name).isValid()) << name.toStdString();
    }
    EXPECT_TRUE(log.lines().isEmpty());
}

}  // namespace
}  // namespace lumigrave::sharing
