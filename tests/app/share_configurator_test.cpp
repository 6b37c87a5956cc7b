#include "app/share/share_configurator.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "sharing/share_configuration.h"
#include "support/temp_home.h"

namespace lumigrave {
namespace {

struct SettingForm {
    const char* key;
    const char* pattern;
};

// Each placeholder must have the form and length of the real value it stands for, so that
// a client built against it meets the real one unchanged.
const SettingForm kForms[] = {
    {"appName", "Lumigrave"},
    {"appURL", "http://[^/]{12}/Lumigrave/"},
    {"facebookAppId", "[0-9]{15}"},
    {"facebookLocalAppId", ""},
    {"vkontakteAppId", "[0-9]{7}"},
    {"readItLaterKey", "[A-Za-z0-9]{32}"},
    {"diigoKey", "[0-9a-f]{16}"},
    {"twitterConsumerKey", "[A-Za-z0-9]{21}"},
    {"twitterSecret", "[A-Za-z0-9]{39}"},
    {"twitterCallbackUrl", "http://mm-apps\\.test/.{5}"},
    {"twitterUsername", ""},
    {"evernoteUserStoreURL", "https://.{20}/edam/user"},
    {"evernoteNetStoreURLBase", "http://.{20}/edam/note/"},
    {"evernoteConsumerKey", "[a-z]{9}"},
    {"evernoteSecret", "[0-9a-f]{16}"},
    {"flickrConsumerKey", "[0-9a-f]{32}"},
    {"flickrSecretKey", "[0-9a-f]{16}"},
    {"flickrCallbackUrl", "(?=.{20}$)lumigrave://.*flickr.*"},
    {"bitLyLogin", "[a-z]{5}"},
    {"bitLyKey", "[A-Z]_[0-9a-f]{32}"},
    {"linkedInConsumerKey", "[a-z0-9]{12}"},
    {"linkedInSecret", "[A-Za-z0-9]{16}"},
    {"linkedInCallbackUrl", "(?=.{29}$)http://[^/]+/success"},
    {"readabilityConsumerKey", "[a-z]{7}"},
    {"readabilitySecret", "[A-Za-z0-9]{32}"},
    {"foursquareV2ClientId", "[A-Z0-9]{48}"},
    {"foursquareV2RedirectURI", "(?=.{16}$)[a-z][a-z0-9+.-]*://.*"},
};

class ShareConfiguratorTest : public testing::Test {
  protected:
    ShareConfiguratorTest() {
        savedConfigDirs_ = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_DIRS", home_.filePath("etc-xdg").toUtf8());
    }
    ~ShareConfiguratorTest() override {
        qputenv("XDG_CONFIG_DIRS", savedConfigDirs_);
        sharing::ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
    }
    const sharing::ShareConfiguration& install() {
        return sharing::ShareConfiguration::sharedInstanceWithConfigurator(
            std::make_unique<ShareConfigurator>());
    }

    test::TempHome home_;
    QByteArray savedConfigDirs_;
};

TEST_F(ShareConfiguratorTest, EveryPlaceholderHasTheFormAndLengthOfItsSetting) {
    const sharing::ShareConfiguration& configuration = install();
    for (const SettingForm& form : kForms) {
        const QVariant value = configuration.configurationValue(form.key);
        ASSERT_EQ(value.typeId(), QMetaType::QString) << form.key;
        const QRegularExpression pattern(
            QRegularExpression::anchoredPattern(QString::fromLatin1(form.pattern)));
        EXPECT_TRUE(pattern.match(value.toString()).hasMatch())
            << form.key << " = " << value.toString().toStdString();
    }
}

TEST_F(ShareConfiguratorTest, NumberSettingsAndFavouritesAreOfTheirKind) {
    const sharing::ShareConfiguration& configuration = install();
    EXPECT_EQ(configuration.configurationValue("forcePreIOS5TwitterAccess"), QVariant(true));
    EXPECT_EQ(configuration.configurationValue("twitterUseXAuth"), QVariant(0));
    EXPECT_EQ(configuration.configurationValue("readabilityUseXAuth"), QVariant(1));
    EXPECT_EQ(configuration.listValue("defaultFavoriteImageSharers"),
              QStringList({"FacebookSharer", "TwitterSharer", "FlickrSharer"}));
    // The settings the application leaves alone keep the library's values.
    EXPECT_EQ(configuration.configurationValue("maxFavCount"), QVariant(3));
    EXPECT_EQ(configuration.stringValue("authPrefix"), "SHARE_AUTH_");
}

TEST_F(ShareConfiguratorTest, TheBarTintFollowsTheControllersClassName) {
    const sharing::ShareConfiguration& configuration = install();
    const QColor twitter = configuration.barTintForView("TwitterSharer");
    EXPECT_FLOAT_EQ(twitter.redF(), 0);
    EXPECT_FLOAT_EQ(twitter.greenF(), 151 / 255.0f);
    EXPECT_FLOAT_EQ(twitter.blueF(), 222 / 255.0f);
    EXPECT_FLOAT_EQ(twitter.alphaF(), 1);
    const QColor facebook = configuration.barTintForView("FacebookSharer");
    EXPECT_FLOAT_EQ(facebook.redF(), 59 / 255.0f);
    EXPECT_FLOAT_EQ(facebook.greenF(), 89 / 255.0f);
    EXPECT_FLOAT_EQ(facebook.blueF(), 152 / 255.0f);
    EXPECT_FALSE(configuration.barTintForView("FlickrSharer").isValid());
    EXPECT_FALSE(configuration.barTintForView("ShareFormController").isValid());
}

}  // namespace
}  // namespace lumigrave
