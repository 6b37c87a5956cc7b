#include "sharing/flickr/flickr_api_context.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QUrlQuery>

#include "sharing/share_configuration.h"
#include "support/temp_home.h"

namespace lumigrave::sharing {
namespace {

class FlickrAPIContextTest : public testing::Test {
  protected:
    FlickrAPIContextTest() {
        savedConfigDirs_ = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_DIRS", home_.filePath("etc-xdg").toUtf8());
        ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
    }
    ~FlickrAPIContextTest() override {
        qputenv("XDG_CONFIG_DIRS", savedConfigDirs_);
        ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
    }
    void deploy(const QByteArray& lines) {
        ASSERT_TRUE(QDir().mkpath(home_.filePath(".config/lumigrave")));
        QFile file(home_.filePath(".config/lumigrave/sharing.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[sharing]\n" + lines);
        file.close();
        ShareConfiguration::sharedInstanceWithConfigurator(
            std::make_unique<DefaultShareConfigurator>());
    }

    test::TempHome home_;
    QByteArray savedConfigDirs_;
};

TEST_F(FlickrAPIContextTest, TheLibrarysAddressesGiveTheServicesPaths) {
    const FlickrAPIContext context;
    EXPECT_EQ(context.RESTAPIEndpoint(), QUrl("https://api.flickr.com/services/rest/"));
    EXPECT_EQ(context.authEndpoint(), QUrl("https://www.flickr.com/services/auth/"));
    EXPECT_EQ(context.uploadEndpoint(), QUrl("https://up.flickr.com/services/upload/"));
    EXPECT_TRUE(context.photoSourceURLPrefix().isValid());
    EXPECT_TRUE(context.photoWebPageURLPrefix().isValid());
}

TEST_F(FlickrAPIContextTest, KeysAndHostsComeFromTheDeploymentWithoutDoubledSlashes) {
    deploy(
        "flickrConsumerKey=deployed-key\nflickrSecretKey=deployed-secret\n"
        "flickrAPIURL=http://127.0.0.1:8123/services//\n"
        "flickrAuthURL=http://127.0.0.1:8124/services/auth/\n"
        "flickrUploadURL=http://127.0.0.1:8125/services/upload\n");
    const FlickrAPIContext context;
    EXPECT_EQ(context.key(), "deployed-key");
    EXPECT_EQ(context.sharedSecret(), "deployed-secret");
    EXPECT_EQ(context.RESTAPIEndpoint(), QUrl("http://127.0.0.1:8123/services/rest/"));
    EXPECT_EQ(context.authEndpoint(), QUrl("http://127.0.0.1:8124/services/auth/"));
    EXPECT_EQ(context.uploadEndpoint(), QUrl("http://127.0.0.1:8125/services/upload/"));
}

// The reference signatures were computed apart, with Python's hashlib.
TEST_F(FlickrAPIContextTest, TheSignatureIsTheMD5OfTheSecretAndTheSortedPairs) {
    FlickrAPIContext context("flickr-key", "flickr-secret");
    context.setAuthToken("tok-1");
    const auto components = context.signedArgumentComponentsFromArguments(
        {{"method", "flickr.test.echo"}, {"foo", "a b&c"}}, false);
    const QList<QPair<QString, QString>> expected{{"api_key", "flickr-key"},
                                                  {"auth_token", "tok-1"},
                                                  {"foo", "a b&c"},
                                                  {"method", "flickr.test.echo"},
                                                  {"api_sig", "f9efb213094a7a641d25cf89e2cb5400"}};
    EXPECT_EQ(components, expected);

    // A stale signature among the arguments is replaced, not signed.
    const auto again = context.signedArgumentComponentsFromArguments(
        {{"method", "flickr.test.echo"}, {"foo", "a b&c"}, {"api_sig", "stale"}}, false);
    EXPECT_EQ(again, expected);

    // UTF-8 values are signed as bytes.
    const auto utf8 = context.signedArgumentComponentsFromArguments(
        {{"title", QString::fromUtf8("Lake \xc3\xa9t\xc3\xa9")},
         {"description", "Sunset"},
         {"is_public", "1"}},
        false);
    EXPECT_EQ(utf8.last().second, "1710d42ab77c4c15b48225fedd792808");
}

TEST_F(FlickrAPIContextTest, TheQueryIsEscapedButSignedOverTheRawValues) {
    FlickrAPIContext context("flickr-key", "flickr-secret");
    context.setAuthToken("tok-1");
    const QString query =
        context.signedQueryFromArguments({{"method", "flickr.test.echo"}, {"foo", "a b&c"}});
    EXPECT_EQ(query,
              "api_key=flickr-key&auth_token=tok-1&foo=a%20b%26c&method=flickr.test.echo"
              "&api_sig=f9efb213094a7a641d25cf89e2cb5400");
}

TEST_F(FlickrAPIContextTest, WithoutATokenNoTokenIsSigned) {
    const FlickrAPIContext context("flickr-key", "flickr-secret");
    const auto components =
        context.signedArgumentComponentsFromArguments({{"perms", "write"}}, true);
    const QList<QPair<QString, QString>> expected{{"api_key", "flickr-key"},
                                                  {"perms", "write"},
                                                  {"api_sig", "0d0d1410b396bdea9ea1308199e560a3"}};
    EXPECT_EQ(components, expected);
}

TEST_F(FlickrAPIContextTest, TheLoginPageAsksForThePermissionAndCarriesTheFrob) {
    const FlickrAPIContext context("flickr-key", "flickr-secret");
    const QUrl login = context.loginURLFromFrobDictionary({}, "write");
    EXPECT_EQ(login.toString(QUrl::RemoveQuery), "https://www.flickr.com/services/auth/");
    EXPECT_EQ(login.query(QUrl::FullyEncoded),
              "api_key=flickr-key&perms=write&api_sig=0d0d1410b396bdea9ea1308199e560a3");

    QVariantMap frob{{"frob", QVariantMap{{"_text", "123-abc"}}}};
    const QUrlQuery withFrob(context.loginURLFromFrobDictionary(frob, "write"));
    EXPECT_EQ(withFrob.queryItemValue("frob"), "123-abc");
    EXPECT_EQ(
        withFrob.queryItemValue("api_sig"),
        context.signatureOf({{"api_key", "flickr-key"}, {"frob", "123-abc"}, {"perms", "write"}}));
}

}  // namespace
}  // namespace lumigrave::sharing
