#pragma once
// The OAuth sharers against fake services on 127.0.0.1 that check every signature: the
// service's API, its login (request token, the authorize page, access token) and the
// image host on one server; the link shortener answers there too. The authorization page
// is a real browser, driven as a person would. The callback points at the same server,
// so a callback that were loaded would show among its requests.

#include <QWebEngineView>
#include <memory>

#include "sharer_fixture.h"
#include "sharing/ui/oauth_sharer.h"
#include "support/fake_http_server.h"
#include "support/fake_oauth_service.h"
#include "support/log_capture.h"
#include "support/web_engine_test_setup.h"
#include "support/web_view_driver.h"
#include "ui/navigation_bar.h"

namespace lumigrave::sharing::test {

using lumigrave::test::FakeHttpServer;
using lumigrave::test::FakeOAuthService;
using ui::test::eventually;

inline const QString kConsumerKey = QStringLiteral("lumigrave-consumer");
inline const QString kConsumerSecret = QStringLiteral("consumer+secret/=");
inline const QString kShortLink = QStringLiteral("http://bit.test/lumi42");

// Every service's address on the one fake server.
class FakeServices : public DefaultShareConfigurator {
  public:
    explicit FakeServices(QString base) : base_(std::move(base)) {}
    QString twitterConsumerKey() const override { return kConsumerKey; }
    QString twitterSecret() const override { return kConsumerSecret; }
    QString twitterCallbackUrl() const override { return base_ + "/callback/twitter"; }
    QString twitterAPIURL() const override { return base_; }
    QString twitterImageHostURL() const override { return base_ + "/host"; }
    QString linkedInConsumerKey() const override { return kConsumerKey; }
    QString linkedInSecret() const override { return kConsumerSecret; }
    QString linkedInCallbackUrl() const override { return base_ + "/callback/linkedin"; }
    QString linkedInAPIURL() const override { return base_; }
    QString bitLyURL() const override { return base_ + "/bitly"; }

  private:
    QString base_;
};

class OAuthSharerTest : public SharerTest {
  protected:
    OAuthSharerTest() : service_(&server_) {
        QString why;
        EXPECT_TRUE(lumigrave::test::prepareWebEngineForTests(&why)) << why.toStdString();
        EXPECT_TRUE(server_.listen());
        service_.setConsumer(kConsumerKey, kConsumerSecret);
        server_.setResponse("/bitly/shorten", FakeHttpServer::text(200, kShortLink.toUtf8()));
        ShareConfiguration::sharedInstanceWithConfigurator(
            std::make_unique<FakeServices>(server_.url()));
    }
    ~OAuthSharerTest() override {
        // A page still showing goes with its sharer, before the configuration.
        window_.setRootViewController(nullptr);
        qDeleteAll(Sharer::liveSharers());
        flushDeletes();
        ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
    }

    // The sharer's authorization page once it shows, or null.
    OAuthView* waitForPage(const QPointer<Sharer>& sharer) {
        auto* oauth = qobject_cast<OAuthSharer*>(sharer.data());
        if (oauth == nullptr) {
            return nullptr;
        }
        eventually(
            [&] {
                return sharer.isNull() ||
                       (oauth->authorizationPage() != nullptr && oauth->isPresented() &&
                        oauth->authorizationPage()->webView() != nullptr);
            },
            20000);
        return sharer ? oauth->authorizationPage() : nullptr;
    }
    // Clicks the element with id on the sharer's authorization page.
    bool clickOnPage(const QPointer<Sharer>& sharer, const QString& id, bool withMouse = false) {
        OAuthView* page = waitForPage(sharer);
        if (page == nullptr) {
            return false;
        }
        lumigrave::test::WebViewDriver driver(page->webView());
        if (!driver.waitForElement(id)) {
            return false;
        }
        return withMouse ? driver.clickWithMouse(id) : driver.clickByScript(id);
    }
    // Takes the page to address as if the service had led there.
    bool goTo(const QPointer<Sharer>& sharer, const QString& address) {
        OAuthView* page = waitForPage(sharer);
        if (page == nullptr) {
            return false;
        }
        lumigrave::test::WebViewDriver driver(page->webView());
        if (!driver.waitForElement("allow")) {
            return false;
        }
        driver.runJavaScript(QStringLiteral("location.href = '%1'; true").arg(address));
        return true;
    }
    // Waits until the share is over or cond holds.
    bool waitUntil(const std::function<bool()>& cond, int timeoutMs = 20000) {
        return eventually(cond, timeoutMs);
    }
    QStringList storedValues(const QString& sharerId) const {
        QStringList values;
        for (const QString& key : {OAuthSharer::kAccessKeyKey, OAuthSharer::kAccessSecretKey,
                                   OAuthSharer::kSessionHandleKey}) {
            values << ShareCenter::getAuthValueForKey(key, sharerId).value_or(QString());
        }
        return values;
    }
    // Starts logged in, with a token the service issued.
    FakeOAuthService::Token logIn(const QString& sharerId) {
        const FakeOAuthService::Token token = service_.grantAccessToken();
        EXPECT_TRUE(ShareCenter::setAuthValue(token.key, OAuthSharer::kAccessKeyKey, sharerId));
        EXPECT_TRUE(
            ShareCenter::setAuthValue(token.secret, OAuthSharer::kAccessSecretKey, sharerId));
        EXPECT_TRUE(ShareCenter::setAuthValue(token.sessionHandle, OAuthSharer::kSessionHandleKey,
                                              sharerId));
        return token;
    }
    // Whether the service was ever asked for a callback address.
    bool callbackLoaded() const {
        for (const FakeHttpServer::Request& request : server_.requests()) {
            if (request.path.startsWith("/callback")) {
                return true;
            }
        }
        return false;
    }
    static QStringList secretsOf(const FakeOAuthService::Token& token) {
        return {token.key, token.secret, token.sessionHandle};
    }

    lumigrave::test::LogCapture log_;
    FakeHttpServer server_;
    FakeOAuthService service_;
};

}  // namespace lumigrave::sharing::test
