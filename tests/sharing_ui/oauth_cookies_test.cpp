// The authorization pages' browser profile: its storage in the data directory, and the
// clearing of one service's cookies at logout that leaves the others' alone.
#include <QDir>
#include <QNetworkCookie>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>
#include <ostream>

#include "oauth_view_fixture.h"

namespace lumigrave::sharing::test {
namespace {

// The cookies the profile holds, followed through the store's signals from the moment the
// profile is made.
class HeldCookies : public QObject {
  public:
    HeldCookies() {
        QWebEngineCookieStore* store = OAuthView::profile()->cookieStore();
        connect(store, &QWebEngineCookieStore::cookieAdded, this,
                [this](const QNetworkCookie& cookie) { cookies_.append(cookie); });
        connect(store, &QWebEngineCookieStore::cookieRemoved, this,
                [this](const QNetworkCookie& cookie) {
                    cookies_.removeIf(
                        [&](const QNetworkCookie& held) { return held.hasSameIdentifier(cookie); });
                });
    }
    // Those held now: a sweep of a host nobody uses ends after the store has reported
    // everything it was asked before.
    QList<QNetworkCookie> now() {
        bool done = false;
        OAuthView::deleteCookiesForHost("nobody.invalid", [&] { done = true; });
        EXPECT_TRUE(eventually([&] { return done; }, 20000));
        QList<QNetworkCookie> real;
        for (const QNetworkCookie& cookie : std::as_const(cookies_)) {
            if (!cookie.name().startsWith("lumigrave-cookie-sweep")) {
                real.append(cookie);
            }
        }
        return real;
    }

  private:
    QList<QNetworkCookie> cookies_;
};

QStringList names(const QList<QNetworkCookie>& cookies) {
    QStringList list;
    for (const QNetworkCookie& cookie : cookies) {
        list << QString::fromUtf8(cookie.name() + "@" + cookie.domain().toUtf8());
    }
    list.sort();
    list.removeDuplicates();
    return list;
}

TEST_F(OAuthViewTest, LogoutDeletesTheServicesCookiesAndKeepsOtherHosts) {
    FakeHttpServer::Response login =
        FakeHttpServer::text(200, "<!DOCTYPE html><html><body><p id=\"allow\">in</p></body></html>",
                             "text/html; charset=utf-8");
    login.headers.append(
        qMakePair(QByteArray("Set-Cookie"), QByteArray("session=secret; Path=/; Max-Age=3600")));
    server_.setResponse("/authorize", login);
    page("/check", "<p id=\"checked\">checked</p>");
    HeldCookies held;
    QNetworkCookie other("kept", "1");
    other.setDomain(".other.example");
    other.setPath("/");
    other.setExpirationDate(QDateTime::currentDateTimeUtc().addDays(1));
    OAuthView::profile()->cookieStore()->setCookie(other, QUrl("http://www.other.example/"));

    open("/authorize", server_.url("/callback"));
    // The storage is the temporary home's, never the user's.
    EXPECT_TRUE(OAuthView::profile()->persistentStoragePath().startsWith(home_.path()))
        << OAuthView::profile()->persistentStoragePath().toStdString();
    EXPECT_FALSE(OAuthView::profile()->isOffTheRecord());
    EXPECT_EQ(OAuthView::profile()->persistentCookiesPolicy(),
              QWebEngineProfile::ForcePersistentCookies);

    // The cookie is kept and sent back: the person stays logged in.
    view_->webView()->load(QUrl(server_.url("/check")));
    ASSERT_TRUE(driver_->waitForElement("checked"));
    ASSERT_EQ(server_.requestsTo("/check").size(), 1);
    EXPECT_EQ(server_.requestsTo("/check").at(0).header("cookie"), "session=secret");
    EXPECT_EQ(names(held.now()), QStringList({"kept@.other.example", "session@127.0.0.1"}));

    bool done = false;
    OAuthView::deleteCookiesForHost("127.0.0.1", [&] { done = true; });
    ASSERT_TRUE(eventually([&] { return done; }, 20000));

    driver_->runJavaScript("document.body.innerHTML = ''; 1");
    view_->webView()->load(QUrl(server_.url("/check")));
    ASSERT_TRUE(driver_->waitForElement("checked"));
    ASSERT_EQ(server_.requestsTo("/check").size(), 2);
    EXPECT_EQ(server_.requestsTo("/check").at(1).header("cookie"), QByteArray());
    EXPECT_EQ(names(held.now()), QStringList({"kept@.other.example"}));
}

struct CookieDomainRow {
    const char* domain;
    const char* host;
    bool belongs;
};

void PrintTo(const CookieDomainRow& row, std::ostream* out) {
    *out << '"' << row.domain << "\" for \"" << row.host << '"';
}

class CookieDomainTest : public ::testing::TestWithParam<CookieDomainRow> {};

TEST_P(CookieDomainTest, CookieBelongsToHostOrNot) {
    const CookieDomainRow& row = GetParam();
    EXPECT_EQ(OAuthView::cookieBelongsToHost(row.domain, row.host), row.belongs)
        << row.domain << " for " << row.host;
}

INSTANTIATE_TEST_SUITE_P(
    Domains, CookieDomainTest,
    ::testing::Values(CookieDomainRow{"api.example.com", "api.example.com", true},
                      CookieDomainRow{"API.Example.com", "api.example.COM", true},
                      CookieDomainRow{"login.api.example.com", "api.example.com", true},
                      CookieDomainRow{".api.example.com", "api.example.com", true},
                      // A parent domain's cookie is sent to the host too.
                      CookieDomainRow{".example.com", "api.example.com", true},
                      // A host-only cookie of the parent is not.
                      CookieDomainRow{"example.com", "api.example.com", false},
                      CookieDomainRow{"badexample.com", "example.com", false},
                      CookieDomainRow{"example.com.evil.net", "example.com", false},
                      CookieDomainRow{".com", "example.org", false},
                      CookieDomainRow{"127.0.0.1", "127.0.0.1", true},
                      CookieDomainRow{"127.0.0.10", "127.0.0.1", false},
                      CookieDomainRow{"", "example.com", false},
                      CookieDomainRow{"example.com", "", false}));

}  // namespace
}  // namespace lumigrave::sharing::test
