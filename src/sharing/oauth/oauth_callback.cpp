#include "sharing/oauth/oauth_callback.h"

namespace lumigrave::sharing {

namespace {

QString decoded(QString part) {
    // Form encoding: "+" is a space, which QUrl's decoding leaves alone.
    part.replace(QLatin1Char('+'), QLatin1Char(' '));
    return QUrl::fromPercentEncoding(part.toUtf8());
}

}  // namespace

OAuthCallbackMatch OAuthCallback::match(const QUrl& url, const QString& callbackUrl) {
    OAuthCallbackMatch result;
    if (callbackUrl.isEmpty()) {
        return result;
    }
    const QString text = url.toString(QUrl::FullyEncoded);
    if (!text.contains(callbackUrl, Qt::CaseInsensitive)) {
        return result;
    }
    const QString query = url.query(QUrl::FullyEncoded);
    if (query.isEmpty()) {
        result.kind = OAuthCallbackMatch::Kind::Cancelled;
        return result;
    }
    result.kind = OAuthCallbackMatch::Kind::Finished;
    result.params = parseQuery(query);
    return result;
}

QMap<QString, QString> OAuthCallback::parseQuery(const QString& query) {
    QMap<QString, QString> params;
    for (const QString& pair : query.split(QLatin1Char('&'))) {
        const QStringList parts = pair.split(QLatin1Char('='));
        if (parts.size() == 2) {
            params.insert(decoded(parts.at(0)), decoded(parts.at(1)));
        }
    }
    return params;
}

}  // namespace lumigrave::sharing
