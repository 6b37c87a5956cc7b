#include "sharing/facebook_login.h"

#include <algorithm>

#include <QList>
#include <QPair>

#include "sharing/share_configuration.h"

namespace lumigrave::sharing {

const QString FacebookLogin::kScope = QStringLiteral("publish_actions");

namespace {

QString appId() {
    return ShareConfiguration::sharedInstance().stringValue(QStringLiteral("facebookAppId"));
}

QString formDecoded(QByteArray text) {
    text.replace('+', ' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text));
}

// name=value pairs joined by "&"; the first of each name wins.
QList<QPair<QString, QString>> pairsOf(const QByteArray& text) {
    QList<QPair<QString, QString>> pairs;
    for (const QByteArray& pair : text.split('&')) {
        const qsizetype equals = pair.indexOf('=');
        if (equals <= 0) {
            continue;
        }
        pairs.append({formDecoded(pair.left(equals)), formDecoded(pair.mid(equals + 1))});
    }
    return pairs;
}

QString valueOf(const QList<QPair<QString, QString>>& pairs, const QString& name) {
    for (const auto& pair : pairs) {
        if (pair.first == name) {
            return pair.second;
        }
    }
    return {};
}

FacebookLoginAnswer answerFrom(const QList<QPair<QString, QString>>& pairs) {
    FacebookLoginAnswer answer;
    const QString token = valueOf(pairs, QStringLiteral("access_token"));
    const QString error = valueOf(pairs, QStringLiteral("error"));
    if (!token.isEmpty() && error.isEmpty()) {
        answer.kind = FacebookLoginAnswer::Kind::Token;
        answer.accessToken = token;
        bool ok = false;
        const qint64 seconds = valueOf(pairs, QStringLiteral("expires_in")).toLongLong(&ok);
        if (ok && seconds > 0) {
            answer.expiresIn = std::min(seconds, FacebookLogin::kMaxExpiresIn);
        }
        return answer;
    }
    if (!error.isEmpty()) {
        answer.kind = FacebookLoginAnswer::Kind::Error;
        answer.error = error;
        answer.errorDescription = valueOf(pairs, QStringLiteral("error_description"));
    }
    return answer;
}

}  // namespace

QString FacebookLogin::redirectUri() {
    return QStringLiteral("fb%1://authorize").arg(appId());
}

QUrl FacebookLogin::dialogUrl() {
    QUrl url(ShareConfiguration::sharedInstance().stringValue(QStringLiteral("facebookDialogURL")));
    // Each value is encoded whole, so the redirect's "://" reaches the service as one value.
    auto pair = [](const char* name, const QString& value) {
        return QByteArray(name) + '=' + QUrl::toPercentEncoding(value);
    };
    const QByteArray query = pair("client_id", appId()) + '&' +
                             pair("redirect_uri", redirectUri()) + "&response_type=token&" +
                             pair("scope", kScope);
    url.setQuery(QString::fromLatin1(query), QUrl::StrictMode);
    return url;
}

bool FacebookLogin::isOnLoginScheme(const QUrl& url) {
    const QString id = appId();
    return !id.isEmpty() && url.scheme().startsWith(QStringLiteral("fb") + id, Qt::CaseInsensitive);
}

FacebookLoginAnswer FacebookLogin::parseRedirect(const QUrl& url) {
    const QByteArray encoded = url.toEncoded();
    if (encoded.size() > kMaxRedirectLength) {
        return {};
    }
    // The implicit grant answers in the fragment; an error may come in the query.
    for (const QByteArray& part :
         {url.fragment(QUrl::FullyEncoded).toUtf8(), url.query(QUrl::FullyEncoded).toUtf8()}) {
        const FacebookLoginAnswer answer = answerFrom(pairsOf(part));
        if (answer.kind != FacebookLoginAnswer::Kind::NotALogin) {
            return answer;
        }
    }
    return {};
}

QDateTime FacebookLogin::expiryFrom(const QDateTime& now, qint64 expiresIn) {
    return now.toUTC().addSecs(std::clamp<qint64>(expiresIn, 0, kMaxExpiresIn));
}

}  // namespace lumigrave::sharing
