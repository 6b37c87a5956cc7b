// The browser side of a Facebook login: the dialog address we open and the redirect the
// desktop hands back, read as a table of the answers a browser could deliver.
#include "sharing/facebook_login.h"

#include <gtest/gtest.h>

#include <QUrlQuery>

#include "sharing/share_configuration.h"

namespace lumigrave::sharing {
namespace {

class AppId : public DefaultShareConfigurator {
  public:
    QString facebookAppId() const override { return "123456789012345"; }
    QString facebookDialogURL() const override { return "http://127.0.0.1:9/dialog/oauth"; }
};

class FacebookLoginTest : public testing::Test {
  protected:
    void SetUp() override {
        ShareConfiguration::sharedInstanceWithConfigurator(std::make_unique<AppId>());
    }
    void TearDown() override { ShareConfiguration::sharedInstanceWithConfigurator(nullptr); }
};

TEST_F(FacebookLoginTest, TheDialogAsksForATokenBackOnOurScheme) {
    const QUrl dialog = FacebookLogin::dialogUrl();
    EXPECT_EQ(dialog.scheme(), "http");
    EXPECT_EQ(dialog.host(), "127.0.0.1");
    EXPECT_EQ(dialog.port(), 9);
    EXPECT_EQ(dialog.path(), "/dialog/oauth");
    const QUrlQuery query(dialog);
    EXPECT_EQ(query.queryItemValue("client_id"), "123456789012345");
    EXPECT_EQ(query.queryItemValue("redirect_uri", QUrl::FullyDecoded),
              "fb123456789012345://authorize");
    EXPECT_EQ(query.queryItemValue("response_type"), "token");
    EXPECT_EQ(query.queryItemValue("scope"), "publish_actions");
    // The redirect travels as one encoded value, not as a second "://" in the address.
    EXPECT_TRUE(dialog.toEncoded().contains("redirect_uri=fb123456789012345%3A%2F%2Fauthorize"));

    EXPECT_TRUE(FacebookLogin::isOnLoginScheme(QUrl("fb123456789012345://authorize#x=1")));
    EXPECT_TRUE(FacebookLogin::isOnLoginScheme(QUrl("fb123456789012345suffix://authorize")));
    EXPECT_FALSE(FacebookLogin::isOnLoginScheme(QUrl("fb999://authorize#access_token=t")));
    EXPECT_FALSE(FacebookLogin::isOnLoginScheme(QUrl("https://authorize#access_token=t")));
}

TEST_F(FacebookLoginTest, WithNoAppIdNoSchemeIsOurs) {
    ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
    EXPECT_FALSE(FacebookLogin::isOnLoginScheme(QUrl("fb://authorize#access_token=t")));
}

struct RedirectRow {
    const char* url;
    FacebookLoginAnswer::Kind kind;
    const char* token;
    qint64 expiresIn;  // -1: none
    const char* error;
    const char* description;
};

void PrintTo(const RedirectRow& row, std::ostream* out) {
    *out << row.url;
}

class RedirectTable : public testing::TestWithParam<RedirectRow> {};

TEST_P(RedirectTable, ReadsTheTokenOrTheError) {
    const RedirectRow& row = GetParam();
    const FacebookLoginAnswer answer =
        FacebookLogin::parseRedirect(QUrl(QString::fromUtf8(row.url)));
    EXPECT_EQ(answer.kind, row.kind);
    EXPECT_EQ(answer.accessToken, QString::fromUtf8(row.token));
    if (row.expiresIn < 0) {
        EXPECT_FALSE(answer.expiresIn.has_value());
    } else {
        EXPECT_EQ(answer.expiresIn.value_or(-1), row.expiresIn);
    }
    EXPECT_EQ(answer.error, QString::fromUtf8(row.error));
    EXPECT_EQ(answer.errorDescription, QString::fromUtf8(row.description));
}

using K = FacebookLoginAnswer::Kind;
INSTANTIATE_TEST_SUITE_P(
    Redirects, RedirectTable,
    testing::Values(
        RedirectRow{"fb1://authorize/#access_token=AAAB&expires_in=5183999", K::Token, "AAAB",
                    5183999, "", ""},
        RedirectRow{"fb1://authorize#expires_in=60&access_token=A%2BB%3DC", K::Token, "A+B=C", 60,
                    "", ""},
        // No lifetime, a lifetime of 0 (does not expire), and nonsense: no expiry.
        RedirectRow{"fb1://authorize#access_token=T", K::Token, "T", -1, "", ""},
        RedirectRow{"fb1://authorize#access_token=T&expires_in=0", K::Token, "T", -1, "", ""},
        RedirectRow{"fb1://authorize#access_token=T&expires_in=-5", K::Token, "T", -1, "", ""},
        RedirectRow{"fb1://authorize#access_token=T&expires_in=1e9x", K::Token, "T", -1, "", ""},
        RedirectRow{"fb1://authorize#access_token=T&expires_in=99999999999999999999", K::Token, "T",
                    -1, "", ""},
        // A lifetime too long to be a date is cut to ten years.
        RedirectRow{"fb1://authorize#access_token=T&expires_in=9999999999999", K::Token, "T",
                    FacebookLogin::kMaxExpiresIn, "", ""},
        // Pairs without "=" are skipped; the first of repeated names counts.
        RedirectRow{"fb1://authorize#state&&access_token=T1&access_token=T2&=x", K::Token, "T1", -1,
                    "", ""},
        // The token in the query, as some browsers hand it over.
        RedirectRow{"fb1://authorize?access_token=Q&expires_in=10", K::Token, "Q", 10, "", ""},
        // The user said no.
        RedirectRow{"fb1://authorize?error_reason=user_denied&error=access_denied&"
                    "error_description=The+user+denied+your+request.",
                    K::Error, "", -1, "access_denied", "The user denied your request."},
        RedirectRow{"fb1://authorize#error=server%20error&error_description=%C3%A9t%C3%A9",
                    K::Error, "", -1, "server error", "\xC3\xA9t\xC3\xA9"},
        // An error wins over a token beside it.
        RedirectRow{"fb1://authorize#access_token=T&error=access_denied", K::Error, "", -1,
                    "access_denied", ""},
        // Nothing of a login.
        RedirectRow{"fb1://authorize", K::NotALogin, "", -1, "", ""},
        RedirectRow{"fb1://authorize#access_token=&expires_in=5", K::NotALogin, "", -1, "", ""},
        RedirectRow{"fb1://authorize#access_token", K::NotALogin, "", -1, "", ""},
        RedirectRow{"fb1://authorize?code=abc", K::NotALogin, "", -1, "", ""},
        RedirectRow{"fb1://authorize#%ZZ=%ZZ&access_token=%", K::Token, "%", -1, "", ""}));

TEST_F(FacebookLoginTest, AnOverlongRedirectIsNotRead) {
    const QString token(int(FacebookLogin::kMaxRedirectLength), QLatin1Char('a'));
    const FacebookLoginAnswer answer =
        FacebookLogin::parseRedirect(QUrl("fb1://authorize#access_token=" + token));
    EXPECT_EQ(answer.kind, FacebookLoginAnswer::Kind::NotALogin);
    EXPECT_TRUE(answer.accessToken.isEmpty());
}

TEST_F(FacebookLoginTest, TheExpiryIsCountedFromNowInUtc) {
    const QDateTime now(QDate(2026, 12, 7), QTime(18, 0), Qt::UTC);
    EXPECT_EQ(FacebookLogin::expiryFrom(now, 3600),
              QDateTime(QDate(2026, 12, 7), QTime(19, 0), Qt::UTC));
    EXPECT_EQ(FacebookLogin::expiryFrom(now, -10), now);
}

}  // namespace
}  // namespace lumigrave::sharing
