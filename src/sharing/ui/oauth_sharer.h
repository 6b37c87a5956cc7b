#pragma once

#include <QMap>
#include <QPointer>
#include <QString>
#include <QUrl>

#include "sharing/oauth/oauth_request.h"
#include "sharing/oauth/oauth_signature.h"
#include "sharing/ui/oauth_view.h"
#include "sharing/ui/sharer.h"

namespace lumigrave::sharing {

// The sharer of a service that logs in with OAuth 1.0: a request token, the person's
// consent on the service's own page inside the application (OAuthView), then an access
// token, kept in the keyring under the sharer's id and signing every request after.
//
// A login's failures show "Request Error", "Authorize Error" or "Access Error" and end
// the share with nothing posted. While a login is under way the sharer stays alive, also
// when it was asked for by a failed send, which is then retried.
class OAuthSharer : public Sharer, protected OAuthViewDelegate {
    Q_OBJECT
  public:
    // The stored login values.
    static const QString kAccessKeyKey;
    static const QString kAccessSecretKey;
    static const QString kSessionHandleKey;

    // The stored access token, when there is one.
    bool isAuthorized() override;
    // Starts the login with the request token; a quiet sharer ends instead.
    void promptAuthorization() override;

    // The login's steps.
    void tokenRequest();
    void tokenAuthorize();
    // With refresh, renews the access token with its session handle (no page, no
    // indicator) and resends afterwards.
    void tokenAccess(bool refresh = false);
    void refreshToken();

    // The access token in the keyring: kept, taken back (whether there was one) and
    // forgotten.
    bool storeAccessToken();
    bool restoreAccessToken();
    void deleteStoredAccessToken();
    // Forgets the login: the stored token and the service's cookies in the authorization
    // page's browser, so the next login asks for the password again.
    virtual void logout();

    const OAuthApp& consumer() const { return consumer_; }
    const OAuthToken& requestToken() const { return requestToken_; }
    const OAuthToken& accessToken() const { return accessToken_; }
    const QUrl& authorizeURL() const { return authorizeURL_; }
    const QString& authorizeCallbackURL() const { return authorizeCallbackURL_; }
    // The parameters of the authorization's call back.
    const QMap<QString, QString>& authorizeResponseQueryVars() const {
        return authorizeResponseQueryVars_;
    }
    // The page showing now, or null.
    OAuthView* authorizationPage() const { return page_; }

  protected:
    // A service sets its keys and addresses when it is made.
    void setOAuthSettings(const QString& consumerKey, const QString& secretKey,
                          const QString& callbackURL, const QUrl& authorizeURL,
                          const QUrl& requestURL, const QUrl& accessURL);

    // Last changes to the token requests before they are signed; none here.
    virtual void tokenRequestModifyRequest(OAuthRequest& request) { Q_UNUSED(request); }
    virtual void tokenAccessModifyRequest(OAuthRequest& request) { Q_UNUSED(request); }

    // A request to url signed with the access token.
    OAuthRequest signedRequest(const QUrl& url, const QString& realm = QString()) const;

    bool loginUnderWay() const override;

    // OAuthViewDelegate.
    void tokenAuthorizeView(OAuthView& view, bool success,
                            const QMap<QString, QString>& queryParams,
                            const ShareError* error) override;
    void tokenAuthorizeCancelledView(OAuthView& view) override;

  private:
    void tokenRequestTicket(const OAuthAnswer& answer);
    void tokenAccessTicket(const OAuthAnswer& answer, bool refresh);
    // A failed login: the alert (unless quiet), the report, the end of the share.
    void loginFailed(const QString& title, const QString& description, const QString& fallback);

    QString authorizeCallbackURL_;
    QUrl authorizeURL_;
    QUrl requestURL_;
    QUrl accessURL_;
    OAuthApp consumer_;
    OAuthToken requestToken_;
    OAuthToken accessToken_;
    QMap<QString, QString> authorizeResponseQueryVars_;
    QPointer<OAuthView> page_;
    bool loggingIn_ = false;
};

}  // namespace lumigrave::sharing
