#pragma once

#include <QDateTime>
#include <QString>
#include <QUrl>
#include <optional>

namespace lumigrave::sharing {

// What a Facebook login redirect carries back to the application.
struct FacebookLoginAnswer {
    enum class Kind {
        // Neither a token nor an error: not an answer to our login.
        NotALogin,
        Token,
        // The user refused, or the service failed the login.
        Error,
    };
    Kind kind = Kind::NotALogin;
    QString accessToken;
    // Seconds the token lasts from now; none when the answer gave no usable lifetime
    // (the service's "0" means a token that does not expire).
    std::optional<qint64> expiresIn;
    QString error;
    QString errorDescription;
};

// The browser side of a Facebook login: the service's OAuth 2 dialog with the implicit
// grant, answered on the application's own URL scheme ("fb" and the application id),
// which the desktop hands back to the running application. No network and no widgets
// here, so every step can be checked as a table.
class FacebookLogin {
  public:
    // What we ask to be allowed: posting photos and links on the user's behalf.
    static const QString kScope;
    // Longer redirects are not ours; they are not parsed.
    static constexpr qsizetype kMaxRedirectLength = 16 * 1024;
    // A lifetime beyond this (ten years) is taken as this, so the expiry stays a date.
    static constexpr qint64 kMaxExpiresIn = 10LL * 365 * 24 * 3600;

    // "fb<appId>://authorize" with the configured "facebookAppId".
    static QString redirectUri();
    // The configured "facebookDialogURL" with client_id, redirect_uri, response_type=token
    // and scope.
    static QUrl dialogUrl();
    // Whether url arrives on the scheme our logins answer on.
    static bool isOnLoginScheme(const QUrl& url);
    // The token or the error that url's fragment (or, failing that, its query) holds.
    // Pairs without "=" are ignored; names and values are percent-decoded with "+" as a
    // space; the first of repeated names counts.
    static FacebookLoginAnswer parseRedirect(const QUrl& url);
    // When a token that lasts expiresIn seconds from now ends.
    static QDateTime expiryFrom(const QDateTime& now, qint64 expiresIn);
};

}  // namespace lumigrave::sharing
