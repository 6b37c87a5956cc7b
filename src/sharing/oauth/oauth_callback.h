#pragma once

#include <QMap>
#include <QString>
#include <QUrl>

namespace lumigrave::sharing {

// How the authorization page treats an address it is about to load.
struct OAuthCallbackMatch {
    enum class Kind {
        // Not the callback: load it.
        Load,
        // The callback with a query: the login goes on with params.
        Finished,
        // The callback without a query: the login is cancelled.
        Cancelled,
    };
    Kind kind = Kind::Load;
    QMap<QString, QString> params;
};

// The reading of the service's call back to the application, untrusted input.
class OAuthCallback {
  public:
    // Whether url holds callbackUrl, searched for in its whole text ignoring case, and
    // what follows then. An empty callbackUrl matches nothing.
    static OAuthCallbackMatch match(const QUrl& url, const QString& callbackUrl);
    // A query split at "&" into pairs split at "="; only pairs of exactly two parts count.
    // Names and values are percent-decoded ("+" as a space); a later pair wins.
    static QMap<QString, QString> parseQuery(const QString& query);
};

}  // namespace lumigrave::sharing
