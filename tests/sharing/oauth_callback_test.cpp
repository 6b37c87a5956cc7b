#include "sharing/oauth/oauth_callback.h"

#include <gtest/gtest.h>

namespace lumigrave::sharing {
namespace {

using Kind = OAuthCallbackMatch::Kind;
using Params = QMap<QString, QString>;

const QString kAppCallback = QStringLiteral("lumigrave-test://oauth/twitter");

TEST(OAuthCallbackMatch, TheCallbackIsFoundIgnoringCaseAnywhereInTheAddress) {
    const OAuthCallbackMatch custom = OAuthCallback::match(
        QUrl("lumigrave-test://oauth/twitter?oauth_token=a&oauth_verifier=b"), kAppCallback);
    EXPECT_EQ(custom.kind, Kind::Finished);
    EXPECT_EQ(custom.params, (Params{{"oauth_token", "a"}, {"oauth_verifier", "b"}}));

    const OAuthCallbackMatch upper = OAuthCallback::match(
        QUrl("LUMIGRAVE-TEST://OAuth/Twitter?oauth_token=a&oauth_verifier=b"), kAppCallback);
    EXPECT_EQ(upper.kind, Kind::Finished);

    const QString https = QStringLiteral("https://mm-apps.test/lumigrave/oauth");
    const OAuthCallbackMatch web = OAuthCallback::match(
        QUrl("https://MM-APPS.test/lumigrave/oauth/done?oauth_token=t%2B1&oauth_verifier=v+2"),
        https);
    EXPECT_EQ(web.kind, Kind::Finished);
    EXPECT_EQ(web.params, (Params{{"oauth_token", "t+1"}, {"oauth_verifier", "v 2"}}));
}

TEST(OAuthCallbackMatch, OtherAddressesLoadAndAnEmptyCallbackMatchesNothing) {
    EXPECT_EQ(
        OAuthCallback::match(QUrl("https://api.test/oauth/authorize?oauth_token=a"), kAppCallback)
            .kind,
        Kind::Load);
    EXPECT_EQ(OAuthCallback::match(QUrl("lumigrave-test://oauth/twitter?oauth_token=a"), "").kind,
              Kind::Load);
    EXPECT_EQ(OAuthCallback::match(QUrl("about:blank"), kAppCallback).kind, Kind::Load);
}

TEST(OAuthCallbackMatch, ACallbackWithoutQueryCancelsAndAProblemIsPassedOn) {
    EXPECT_EQ(OAuthCallback::match(QUrl("lumigrave-test://oauth/twitter"), kAppCallback).kind,
              Kind::Cancelled);
    EXPECT_EQ(OAuthCallback::match(QUrl("lumigrave-test://oauth/twitter?"), kAppCallback).kind,
              Kind::Cancelled);
    const OAuthCallbackMatch refused = OAuthCallback::match(
        QUrl("lumigrave-test://oauth/twitter?oauth_problem=user_refused"), kAppCallback);
    EXPECT_EQ(refused.kind, Kind::Finished);
    EXPECT_EQ(refused.params, (Params{{"oauth_problem", "user_refused"}}));
}

TEST(OAuthCallbackQuery, OnlyPairsOfExactlyTwoPartsCountAndALaterPairWins) {
    EXPECT_EQ(OAuthCallback::parseQuery("a=1&b&c=2=3&&d=&=e&a=4"),
              (Params{{"a", "4"}, {"d", ""}, {"", "e"}}));
    EXPECT_EQ(OAuthCallback::parseQuery(""), Params{});
    EXPECT_EQ(OAuthCallback::parseQuery("x%3Dy=%26%3D%25+%C3%A9%F0%9F%98%80"),
              (Params{{"x=y", QString::fromUtf8("&=% é😀")}}));
    // A stray percent sign is kept as it stands rather than dropping the pair.
    EXPECT_EQ(OAuthCallback::parseQuery("v=100%"), (Params{{"v", "100%"}}));
}

}  // namespace
}  // namespace lumigrave::sharing
