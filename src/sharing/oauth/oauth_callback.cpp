#include "sharing/oauth/oauth_callback.h"

#include <QStringList>

namespace lumigrave::sharing {

namespace {

QString decoded(QByteArray text) {
    text.replace('+', ' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text));
}

}  // namespace

OAuthCallbackMatch OAuthCallback::match(const QUrl& url, const QString& callbackUrl) {
    OAuthCallbackMatch result;
    if (callbackUrl.isEmpty()) {
        return result;
    }
    // The callback may be written encoded or not, and a page may send either form.
    const bool found =
        url.toString(QUrl::FullyEncoded).contains(callbackUrl, Qt::CaseInsensitive) ||
        url.toString().contains(callbackUrl, Qt::CaseInsensitive);
    if (!found) {
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
        if (parts.size() != 2) {
            continue;
        }
        params.insert(decoded(parts[0].toUtf8()), decoded(parts[1].toUtf8()));
    }
    return params;
}

}  // namespace lumigrave::sharing
