#include "sharing/share_center.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include "platform/keychain.h"
#include "platform/reachability.h"
#include "platform/user_defaults.h"
#include "sharing/share_configuration.h"
#include "sharing/share_item.h"
#include "support/log_capture.h"
#include "support/temp_home.h"

namespace lumigrave::sharing {
namespace {

class FavoritesTest : public testing::Test {
  protected:
    FavoritesTest() { ShareConfiguration::sharedInstanceWithConfigurator(nullptr); }
    ~FavoritesTest() override { ShareConfiguration::sharedInstanceWithConfigurator(nullptr); }

    static ShareItem imageItem() {
        return ShareItem::image(Image(QImage(2, 2, QImage::Format_RGB32)), "t");
    }
    static ShareItem urlItem() { return ShareItem::URL(QUrl("http://example.org/"), "t", 1); }
    static QStringList stored(const QString& key) { return UserDefaults().stringListForKey(key); }

    test::TempHome home_;
};

TEST_F(FavoritesTest, TheSharersListResourceNamesEveryService) {
    EXPECT_EQ(ShareCenter::knownSharers().value_or(QStringList()),
              QStringList({"FacebookSharer", "TwitterSharer", "FlickrSharer", "LinkedInSharer",
                           "ReadLaterSharer"}));
}

TEST_F(FavoritesTest, TheDefaultsAreStoredAtOnceUnderTheTypesKey) {
    EXPECT_FALSE(UserDefaults().hasObjectForKey("SHARE_FAVS_3"));
    const QStringList favorites = ShareCenter::favoriteSharersForItem(imageItem());
    EXPECT_EQ(favorites, QStringList({"FacebookSharer", "TwitterSharer", "FlickrSharer"}));
    EXPECT_EQ(stored("SHARE_FAVS_3"), favorites);
    // Another type keeps its own list; a type with no default gets an empty one, stored.
    EXPECT_EQ(ShareCenter::favoriteSharersForItem(urlItem()),
              QStringList({"FacebookSharer", "TwitterSharer", "ReadLaterSharer"}));
    ShareItem userInfo;
    userInfo.setShareType(ShareTypeUserInfo);
    EXPECT_TRUE(ShareCenter::favoriteSharersForItem(userInfo).isEmpty());
    EXPECT_TRUE(UserDefaults().hasObjectForKey("SHARE_FAVS_5"));
}

TEST_F(FavoritesTest, UnknownAndExcludedSharersAreDroppedFromTheStoredList) {
    UserDefaults defaults;
    defaults.setStringList("SHARE_FAVS_3", {"GoneSharer", "FlickrSharer", "TwitterSharer"});
    defaults.setStringList("ShareExcluded", {"TwitterSharer"});
    EXPECT_EQ(ShareCenter::favoriteSharersForItem(imageItem()), QStringList{"FlickrSharer"});
    EXPECT_EQ(stored("SHARE_FAVS_3"), QStringList{"FlickrSharer"});
}

class MissingSharersList : public DefaultShareConfigurator {
  public:
    QString sharersPlistName() const override { return "Missing.plist"; }
};

TEST_F(FavoritesTest, AnUnreadableSharersListLeavesTheFavouritesAlone) {
    UserDefaults().setStringList("SHARE_FAVS_3", {"LinkedInSharer", "FlickrSharer"});
    ShareConfiguration::sharedInstanceWithConfigurator(std::make_unique<MissingSharersList>());
    test::LogCapture log;
    EXPECT_EQ(ShareCenter::favoriteSharersForItem(imageItem()),
              QStringList({"LinkedInSharer", "FlickrSharer"}));
    EXPECT_EQ(stored("SHARE_FAVS_3"), QStringList({"LinkedInSharer", "FlickrSharer"}));
    EXPECT_FALSE(log.lines().filter("Missing.plist").isEmpty());
}

TEST_F(FavoritesTest, PushedSharersComeFirstAndTheListNeverPassesThree) {
    ShareCenter::pushOnFavorites("FacebookSharer", imageItem());
    ShareCenter::pushOnFavorites("FacebookSharer", imageItem());
    EXPECT_EQ(ShareCenter::favoriteSharersForItem(imageItem()),
              QStringList({"FacebookSharer", "TwitterSharer", "FlickrSharer"}));
    ShareCenter::pushOnFavorites("LinkedInSharer", imageItem());
    EXPECT_EQ(stored("SHARE_FAVS_3"),
              QStringList({"LinkedInSharer", "FacebookSharer", "TwitterSharer"}));
    ShareCenter::pushOnFavorites("FlickrSharer", imageItem());
    EXPECT_EQ(stored("SHARE_FAVS_3"),
              QStringList({"FlickrSharer", "LinkedInSharer", "FacebookSharer"}));
    // The URL favourites were never touched.
    EXPECT_FALSE(UserDefaults().hasObjectForKey("SHARE_FAVS_1"));
}

TEST_F(FavoritesTest, AnExcludedSharerIsNeverPushedNorListed) {
    UserDefaults().setStringList("ShareExcluded", {"FacebookSharer"});
    ShareCenter::pushOnFavorites("FacebookSharer", urlItem());
    const QStringList favorites = ShareCenter::favoriteSharersForItem(urlItem());
    EXPECT_EQ(favorites, QStringList({"TwitterSharer", "ReadLaterSharer"}));
}

class Unordered : public DefaultShareConfigurator {
  public:
    bool autoOrderFavoriteSharers() const override { return false; }
};

class TwoFavourites : public DefaultShareConfigurator {
  public:
    int maxFavCount() const override { return 2; }
    QStringList defaultFavoriteSharersForMimeType(const QString& type) const override {
        return type == "application/pdf" ? QStringList{"FlickrSharer"} : QStringList{};
    }
};

TEST_F(FavoritesTest, TheConfigurationTurnsOrderingOffAndSetsTheCap) {
    ShareConfiguration::sharedInstanceWithConfigurator(std::make_unique<Unordered>());
    ShareCenter::pushOnFavorites("LinkedInSharer", imageItem());
    EXPECT_FALSE(UserDefaults().hasObjectForKey("SHARE_FAVS_3"));

    ShareConfiguration::sharedInstanceWithConfigurator(std::make_unique<TwoFavourites>());
    ShareCenter::pushOnFavorites("LinkedInSharer", imageItem());
    EXPECT_EQ(stored("SHARE_FAVS_3"), QStringList({"LinkedInSharer", "FacebookSharer"}));
}

TEST_F(FavoritesTest, FilesKeepTheirFavouritesByMimeType) {
    ShareConfiguration::sharedInstanceWithConfigurator(std::make_unique<TwoFavourites>());
    ShareItem pdf;
    pdf.setShareType(ShareTypeFile);
    pdf.setMimeType("application/pdf");
    EXPECT_EQ(ShareCenter::favoritesKeyForItem(pdf), "SHARE_FAVS_application/pdf");
    EXPECT_EQ(ShareCenter::favoriteSharersForItem(pdf), QStringList{"FlickrSharer"});
    ShareCenter::pushOnFavorites("FacebookSharer", pdf);
    EXPECT_EQ(UserDefaults().stringListForKey("SHARE_FAVS_application/pdf"),
              QStringList({"FacebookSharer", "FlickrSharer"}));
    ShareItem text = ShareItem::text("x");
    EXPECT_EQ(ShareCenter::favoritesKeyForItem(text), "SHARE_FAVS_2");
}

// Logins through the keyring's file store: the test process reaches no session bus.
class AuthValuesTest : public testing::Test {
  protected:
    void SetUp() override {
        for (const char* name :
             {"DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"}) {
            saved_.append({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
            qunsetenv(name);
        }
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
        Keychain::resetForTesting();
        ASSERT_EQ(Keychain::store(), Keychain::Store::File);
        ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
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
        ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
    }

    test::TempHome home_;
    QTemporaryDir runtime_;
    QList<std::tuple<const char*, bool, QByteArray>> saved_;
};

class OtherPrefix : public DefaultShareConfigurator {
  public:
    QString authPrefix() const override { return "LUMI_AUTH_"; }
};

TEST_F(AuthValuesTest, ALoginIsKeptUnderThePrefixedSharerAndTheFieldsKey) {
    QString error;
    EXPECT_FALSE(ShareCenter::getAuthValueForKey("password", "ReadLaterSharer", &error));
    EXPECT_TRUE(error.isEmpty());
    ASSERT_TRUE(ShareCenter::setAuthValue("pa55 w0rd", "password", "ReadLaterSharer", &error))
        << error.toStdString();
    EXPECT_EQ(ShareCenter::getAuthValueForKey("password", "ReadLaterSharer"), "pa55 w0rd");
    EXPECT_EQ(Keychain::password("SHARE_AUTH_ReadLaterSharer", "password", &error), "pa55 w0rd");
    EXPECT_FALSE(ShareCenter::getAuthValueForKey("password", "FacebookSharer"));
    EXPECT_FALSE(ShareCenter::getAuthValueForKey("username", "ReadLaterSharer"));

    ShareConfiguration::sharedInstanceWithConfigurator(std::make_unique<OtherPrefix>());
    EXPECT_FALSE(ShareCenter::getAuthValueForKey("password", "ReadLaterSharer"));
    ShareConfiguration::sharedInstanceWithConfigurator(nullptr);

    ASSERT_TRUE(ShareCenter::removeAuthValueForKey("password", "ReadLaterSharer", &error));
    EXPECT_FALSE(ShareCenter::getAuthValueForKey("password", "ReadLaterSharer", &error));
    EXPECT_TRUE(ShareCenter::removeAuthValueForKey("password", "ReadLaterSharer", &error));
}

TEST_F(AuthValuesTest, NoLoginReachesThePreferencesOrTheLog) {
    test::LogCapture log;
    ShareCenter::pushOnFavorites("ReadLaterSharer", ShareItem::URL(QUrl("http://a.test/"), "", 1));
    ASSERT_TRUE(ShareCenter::setAuthValue("Zq9-secret-value", "password", "ReadLaterSharer"));
    ASSERT_TRUE(ShareCenter::getAuthValueForKey("password", "ReadLaterSharer"));
    UserDefaults().synchronize();
    for (QDirIterator it(home_.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        if (path == Keychain::fileStorePath()) {
            continue;
        }
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_FALSE(file.readAll().contains("Zq9-secret-value")) << path.toStdString();
    }
    for (const QString& line : log.lines()) {
        EXPECT_FALSE(line.contains("Zq9-secret-value")) << line.toStdString();
    }
}

TEST(ConnectedTest, TheCenterAsksReachability) {
    Reachability::setForcedConnected(false);
    EXPECT_FALSE(ShareCenter::connected());
    Reachability::setForcedConnected(true);
    EXPECT_TRUE(ShareCenter::connected());
    Reachability::setForcedConnected(std::nullopt);
}

TEST(ShareErrorTest, AnErrorCarriesTheLibrarysDomainCodeAndSentence) {
    const ShareError error = ShareCenter::error("There was a problem saving to Facebook");
    EXPECT_EQ(error.domain, "share");
    EXPECT_EQ(error.code, 1);
    EXPECT_EQ(error.localizedDescription, "There was a problem saving to Facebook");
}

}  // namespace
}  // namespace lumigrave::sharing
