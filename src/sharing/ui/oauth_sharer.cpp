#include "sharing/ui/oauth_sharer.h"

#include <QDebug>

#include "sharing/ui/share_activity_indicator.h"

namespace lumigrave::sharing {

const QString OAuthSharer::kAccessKeyKey = QStringLiteral("accessKey");
const QString OAuthSharer::kAccessSecretKey = QStringLiteral("accessSecret");
const QString OAuthSharer::kSessionHandleKey = QStringLiteral("sessionHandle");

void OAuthSharer::setOAuthSettings(const QString& consumerKey, const QString& secretKey,
                                   const QString& callbackURL, const QUrl& authorizeURL,
                                   const QUrl& requestURL, const QUrl& accessURL) {
    consumer_ = OAuthApp{consumerKey, secretKey};
    authorizeCallbackURL_ = callbackURL;
    authorizeURL_ = authorizeURL;
    requestURL_ = requestURL;
    accessURL_ = accessURL;
}

bool OAuthSharer::isAuthorized() {
    return restoreAccessToken();
}

void OAuthSharer::promptAuthorization() {
    if (!ShareCenter::connected()) {
        // The "Offline" alert, without a request bound to fail.
        Sharer::promptAuthorization();
        return;
    }
    if (isQuiet()) {
        // A share sent in the background never opens a page; it is dropped as any queued
        // share whose sharer is logged out.
        end();
        return;
    }
    tokenRequest();
}

bool OAuthSharer::loginUnderWay() const {
    return loggingIn_ || Sharer::loginUnderWay();
}

// The request token.

void OAuthSharer::tokenRequest() {
    loggingIn_ = true;
    ShareActivityIndicator::currentIndicator()->displayActivity(QStringLiteral("Connecting..."));
    OAuthRequest request(requestURL_, consumer_, OAuthToken());
    request.setOAuthParameter(QStringLiteral("oauth_callback"), authorizeCallbackURL_);
    tokenRequestModifyRequest(request);
    request.send([this](const OAuthAnswer& answer) { tokenRequestTicket(answer); }, this);
}

void OAuthSharer::tokenRequestTicket(const OAuthAnswer& answer) {
    ShareActivityIndicator::currentIndicator()->hide();
    const std::optional<OAuthToken> token =
        answer.succeeded() ? OAuthToken::fromAnswer(answer.body) : std::nullopt;
    if (token) {
        requestToken_ = *token;
        tokenAuthorize();
        return;
    }
    qInfo().noquote() << "The" << sharerTitle() << "request token was refused:"
                      << (answer.networkFailed ? answer.networkError
                                               : QStringLiteral("HTTP %1").arg(answer.httpStatus));
    loginFailed(QStringLiteral("Request Error"),
                answer.networkFailed
                    ? answer.networkError
                    : QStringLiteral("There was a problem requesting authorization from %1")
                          .arg(sharerTitle()),
                QStringLiteral("There was an error while sharing"));
}

// The authorization page.

void OAuthSharer::tokenAuthorize() {
    QUrl url(authorizeURL_.toString() + QStringLiteral("?oauth_token=") +
             QString::fromLatin1(OAuthSignature::percentEncode(requestToken_.key)));
    auto* page = new OAuthView(url, authorizeCallbackURL_, this);
    page_ = page;
    pushScreen(page);
}

void OAuthSharer::tokenAuthorizeView(OAuthView& view, bool success,
                                     const QMap<QString, QString>& queryParams,
                                     const ShareError* error) {
    Q_UNUSED(view);
    hideModally();
    if (success && !queryParams.contains(QStringLiteral("oauth_problem"))) {
        authorizeResponseQueryVars_ = queryParams;
        tokenAccess(false);
        return;
    }
    QString description = error != nullptr ? error->localizedDescription : QString();
    if (description.isEmpty() && queryParams.contains(QStringLiteral("oauth_problem"))) {
        description = QStringLiteral("%1 refused the authorization (%2).")
                          .arg(sharerTitle(), queryParams.value(QStringLiteral("oauth_problem")));
    }
    loginFailed(QStringLiteral("Authorize Error"), description,
                QStringLiteral("There was an error while authorizing"));
}

void OAuthSharer::tokenAuthorizeCancelledView(OAuthView& view) {
    Q_UNUSED(view);
    hideModally();
    loggingIn_ = false;
    authDidFinish(false);
    sendDidCancel();
}

// The access token.

void OAuthSharer::refreshToken() {
    setPendingAction(PendingSend);
    tokenAccess(true);
}

void OAuthSharer::tokenAccess(bool refresh) {
    loggingIn_ = true;
    if (!refresh) {
        ShareActivityIndicator::currentIndicator()->displayActivity(
            QStringLiteral("Authenticating..."));
    }
    OAuthRequest request(accessURL_, consumer_, refresh ? accessToken_ : requestToken_);
    if (refresh) {
        setPendingAction(PendingSend);
        if (!accessToken_.sessionHandle.isEmpty()) {
            request.setOAuthParameter(QStringLiteral("oauth_session_handle"),
                                      accessToken_.sessionHandle);
        }
    } else {
        // OAuth 1.0a services take the request token only with the verifier the person's
        // consent gave.
        const QString verifier =
            authorizeResponseQueryVars_.value(QStringLiteral("oauth_verifier"));
        if (!verifier.isEmpty()) {
            request.setOAuthParameter(QStringLiteral("oauth_verifier"), verifier);
        }
    }
    tokenAccessModifyRequest(request);
    request.send([this, refresh](const OAuthAnswer& answer) { tokenAccessTicket(answer, refresh); },
                 this);
}

void OAuthSharer::tokenAccessTicket(const OAuthAnswer& answer, bool refresh) {
    std::optional<OAuthToken> token =
        answer.succeeded() ? OAuthToken::fromAnswer(answer.body) : std::nullopt;
    if (!token) {
        ShareActivityIndicator::currentIndicator()->hide();
        qInfo().noquote() << "The" << sharerTitle() << "access token was refused:"
                          << (answer.networkFailed
                                  ? answer.networkError
                                  : QStringLiteral("HTTP %1").arg(answer.httpStatus));
        loginFailed(QStringLiteral("Access Error"),
                    answer.networkFailed
                        ? answer.networkError
                        : QStringLiteral("There was a problem requesting access from %1")
                              .arg(sharerTitle()),
                    QStringLiteral("There was an error while sharing"));
        return;
    }
    if (refresh && token->sessionHandle.isEmpty()) {
        // A renewal that names no new handle leaves the old one good.
        token->sessionHandle = accessToken_.sessionHandle;
    }
    accessToken_ = *token;
    requestToken_ = OAuthToken();
    if (!storeAccessToken()) {
        ShareActivityIndicator::currentIndicator()->hide();
        // Going on would only ask for the login again at the next share.
        deleteStoredAccessToken();
        loginFailed(QStringLiteral("Access Error"),
                    QStringLiteral("Your %1 login could not be kept.").arg(sharerTitle()),
                    QString());
        return;
    }
    qInfo().noquote() << (refresh ? "Renewed the" : "Logged in to") << sharerTitle()
                      << (refresh ? "login" : "");
    ShareActivityIndicator::currentIndicator()->hide();
    loggingIn_ = false;
    tryPendingAction();
    authDidFinish(true);
}

void OAuthSharer::loginFailed(const QString& title, const QString& description,
                              const QString& fallback) {
    hideModally();
    loggingIn_ = false;
    if (!isQuiet()) {
        showAlert(title, description.isEmpty() ? fallback : description);
    }
    authDidFinish(false);
    end();
}

// The stored login.

bool OAuthSharer::storeAccessToken() {
    bool kept = setAuthValue(accessToken_.key, kAccessKeyKey) &&
                setAuthValue(accessToken_.secret, kAccessSecretKey);
    if (accessToken_.sessionHandle.isEmpty()) {
        removeAuthValueForKey(kSessionHandleKey);
    } else {
        kept = kept && setAuthValue(accessToken_.sessionHandle, kSessionHandleKey);
    }
    return kept;
}

bool OAuthSharer::restoreAccessToken() {
    const QString key = authValueForKey(kAccessKeyKey).value_or(QString());
    const QString secret = authValueForKey(kAccessSecretKey).value_or(QString());
    if (key.isEmpty() || secret.isEmpty()) {
        return false;
    }
    accessToken_ = OAuthToken{key, secret, authValueForKey(kSessionHandleKey).value_or(QString())};
    return true;
}

void OAuthSharer::deleteStoredAccessToken() {
    removeAuthValueForKey(kAccessKeyKey);
    removeAuthValueForKey(kAccessSecretKey);
    removeAuthValueForKey(kSessionHandleKey);
    accessToken_ = OAuthToken();
}

void OAuthSharer::logout() {
    deleteStoredAccessToken();
    if (!authorizeURL_.host().isEmpty()) {
        OAuthView::deleteCookiesForHost(authorizeURL_.host());
    }
}

OAuthRequest OAuthSharer::signedRequest(const QUrl& url, const QString& realm) const {
    return OAuthRequest(url, consumer_, accessToken_, realm);
}

}  // namespace lumigrave::sharing
