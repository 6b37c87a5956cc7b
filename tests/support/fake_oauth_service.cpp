#include "support/fake_oauth_service.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QMessageAuthenticationCode>
#include <QUuid>
#include <algorithm>
#include <cstdlib>
#include <utility>

namespace lumigrave::test {

namespace {

using Request = FakeHttpServer::Request;
using Response = FakeHttpServer::Response;
using Pairs = QList<QPair<QString, QString>>;

// RFC 3986 encoding, written out here on purpose: the service must not share the
// client's code, or the client's faults would pass.
QByteArray encode(const QString& text) {
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
            byte == '~') {
            out += char(byte);
        } else {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        }
    }
    return out;
}

QByteArray normalized(Pairs pairs) {
    QList<QPair<QByteArray, QByteArray>> encoded;
    for (const auto& [name, value] : pairs) {
        encoded.append({encode(name), encode(value)});
    }
    std::sort(encoded.begin(), encoded.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second < b.second;
    });
    QList<QByteArray> joined;
    for (const auto& [name, value] : encoded) {
        joined << name + '=' + value;
    }
    return joined.join('&');
}

QByteArray baseString(const QByteArray& method, const QByteArray& uri, const Pairs& parameters) {
    return method.toUpper() + '&' + encode(QString::fromUtf8(uri)) + '&' +
           encode(QString::fromUtf8(normalized(parameters)));
}

QByteArray hmacSha1Base64(const QByteArray& text, const QString& consumerSecret,
                          const QString& tokenSecret) {
    const QByteArray key = encode(consumerSecret) + '&' + encode(tokenSecret);
    return QMessageAuthenticationCode::hash(text, key, QCryptographicHash::Sha1).toBase64();
}

Pairs protocolPairs(const QMap<QString, QString>& oauth) {
    Pairs pairs;
    for (auto it = oauth.cbegin(); it != oauth.cend(); ++it) {
        if (it.key() != QLatin1String("realm") && it.key() != QLatin1String("oauth_signature")) {
            pairs.append({it.key(), it.value()});
        }
    }
    return pairs;
}

Response json(int status, const QByteArray& body) {
    return FakeHttpServer::text(status, body, "application/json; charset=utf-8");
}

Response notAuthenticated(const QString& path) {
    return json(401, "{\"error\":\"Could not authenticate with OAuth.\",\"request\":\"" +
                         path.toUtf8() + "\"}");
}

QString htmlEscaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString withQuery(const QString& url, const QString& query) {
    return url + (url.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) + query;
}

QString newSecret() {
    return QUuid::createUuid().toString(QUuid::Id128);
}

}  // namespace

FakeOAuthService::FakeOAuthService(FakeHttpServer* server) : server_(server) {
    setPaths(requestTokenPath_, authorizePath_, accessTokenPath_);
}

void FakeOAuthService::setConsumer(const QString& key, const QString& secret) {
    consumerKey_ = key;
    consumerSecret_ = secret;
}

void FakeOAuthService::setCallbackUrl(const QString& callbackUrl) {
    callbackUrl_ = callbackUrl;
}

void FakeOAuthService::setPaths(const QString& requestTokenPath, const QString& authorizePath,
                                const QString& accessTokenPath) {
    requestTokenPath_ = requestTokenPath;
    authorizePath_ = authorizePath;
    accessTokenPath_ = accessTokenPath;
    server_->setHandler(requestTokenPath_,
                        [this](const Request& request) { return requestToken(request); });
    server_->setHandler(authorizePath_,
                        [this](const Request& request) { return authorizePage(request); });
    server_->setHandler(accessTokenPath_,
                        [this](const Request& request) { return accessToken(request); });
}

void FakeOAuthService::setClock(std::function<qint64()> clock) {
    clock_ = std::move(clock);
}

void FakeOAuthService::setCheckTimestamps(bool check) {
    checkTimestamps_ = check;
}

QString FakeOAuthService::requestTokenUrl() const {
    return server_->url(requestTokenPath_);
}

QString FakeOAuthService::authorizeUrl() const {
    return server_->url(authorizePath_);
}

QString FakeOAuthService::accessTokenUrl() const {
    return server_->url(accessTokenPath_);
}

QString FakeOAuthService::allowUrl(const QString& requestToken) const {
    if (!requestTokens_.contains(requestToken)) {
        return {};
    }
    const RequestToken& token = requestTokens_[requestToken];
    return withQuery(token.callback, QStringLiteral("oauth_token=") + encode(requestToken) +
                                         QStringLiteral("&oauth_verifier=") +
                                         encode(token.verifier));
}

QString FakeOAuthService::denyUrl(const QString& requestToken) const {
    if (!requestTokens_.contains(requestToken)) {
        return {};
    }
    return withQuery(requestTokens_[requestToken].callback,
                     QStringLiteral("oauth_problem=user_refused"));
}

void FakeOAuthService::protect(const QString& path, Responder responder) {
    server_->setHandler(path, [this, responder = std::move(responder)](const Request& request) {
        return resource(request, responder);
    });
}

FakeOAuthService::Token FakeOAuthService::grantAccessToken() {
    return issueAccessToken();
}

QList<FakeOAuthService::Token> FakeOAuthService::liveAccessTokens() const {
    return accessTokens_.values();
}

void FakeOAuthService::revokeAccessTokens() {
    accessTokens_.clear();
}

void FakeOAuthService::failNextRequestToken(int status, const QByteArray& body) {
    nextRequestTokenFailure_ = Failure{status, body};
}

void FakeOAuthService::failNextAccessToken(int status, const QByteArray& body) {
    nextAccessTokenFailure_ = Failure{status, body};
}

void FakeOAuthService::rejectNextNonce() {
    rejectNextNonce_ = true;
}

std::optional<QMap<QString, QString>> FakeOAuthService::parseAuthorization(
    const QByteArray& header) {
    const QByteArray trimmed = header.trimmed();
    if (!trimmed.left(6).toLower().startsWith("oauth ")) {
        return std::nullopt;
    }
    QMap<QString, QString> parameters;
    for (const QByteArray& field : trimmed.mid(6).split(',')) {
        const QByteArray item = field.trimmed();
        const qsizetype equals = item.indexOf('=');
        if (equals <= 0) {
            return std::nullopt;
        }
        QByteArray value = item.mid(equals + 1);
        if (value.size() < 2 || !value.startsWith('"') || !value.endsWith('"')) {
            return std::nullopt;
        }
        value = value.mid(1, value.size() - 2);
        const QString name = QString::fromUtf8(QByteArray::fromPercentEncoding(item.left(equals)));
        if (parameters.contains(name)) {
            return std::nullopt;
        }
        parameters.insert(name, QString::fromUtf8(QByteArray::fromPercentEncoding(value)));
    }
    return parameters;
}

QByteArray FakeOAuthService::baseStringOf(const Request& request) {
    const std::optional<QMap<QString, QString>> oauth =
        parseAuthorization(request.header("Authorization"));
    if (!oauth) {
        return {};
    }
    QByteArray host = request.header("Host").toLower();
    if (host.endsWith(":80")) {
        host.chop(3);
    }
    Pairs parameters = FakeHttpServer::parseForm(request.query);
    if (request.header("Content-Type").toLower().startsWith("application/x-www-form-urlencoded")) {
        parameters += FakeHttpServer::parseForm(request.body);
    }
    parameters += protocolPairs(*oauth);
    return baseString(request.method, "http://" + host + request.rawPath, parameters);
}

qint64 FakeOAuthService::now() const {
    return clock_ ? clock_() : QDateTime::currentSecsSinceEpoch();
}

void FakeOAuthService::refuse(const QString& reason) {
    failures_ << reason;
}

bool FakeOAuthService::signatureHolds(const Signed& request, const QString& tokenSecret,
                                      const QString& where) {
    if (request.oauth.value("oauth_consumer_key") != consumerKey_) {
        refuse(where + QStringLiteral(": unknown consumer"));
        return false;
    }
    if (request.oauth.value("oauth_signature_method") != QLatin1String("HMAC-SHA1")) {
        refuse(where + QStringLiteral(": signature method is not HMAC-SHA1"));
        return false;
    }
    const QString version = request.oauth.value("oauth_version", QStringLiteral("1.0"));
    if (version != QLatin1String("1.0")) {
        refuse(where + QStringLiteral(": oauth_version is not 1.0"));
        return false;
    }
    const QByteArray expected = hmacSha1Base64(request.baseString, consumerSecret_, tokenSecret);
    if (request.oauth.value("oauth_signature").toLatin1() != expected) {
        refuse(where + QStringLiteral(": the signature does not verify"));
        return false;
    }
    return true;
}

FakeHttpServer::Response FakeOAuthService::requestToken(const Request& request) {
    if (nextRequestTokenFailure_) {
        const Failure failure = *std::exchange(nextRequestTokenFailure_, std::nullopt);
        return FakeHttpServer::text(failure.status, failure.body);
    }
    const std::optional<QMap<QString, QString>> oauth =
        parseAuthorization(request.header("Authorization"));
    if (!oauth) {
        refuse(request.path + QStringLiteral(": no OAuth Authorization header"));
        return notAuthenticated(request.path);
    }
    const Signed signedRequest{*oauth, baseStringOf(request)};
    if (oauth->contains("oauth_token")) {
        refuse(request.path + QStringLiteral(": a request token call carries a token"));
        return notAuthenticated(request.path);
    }
    if (!signatureHolds(signedRequest, QString(), request.path)) {
        return notAuthenticated(request.path);
    }
    const QString callback = oauth->value("oauth_callback");
    if (callback.isEmpty()) {
        refuse(request.path + QStringLiteral(": no oauth_callback"));
        return json(401, "{\"error\":\"oauth_callback is required\"}");
    }
    const QString key = QStringLiteral("rt%1-%2").arg(++issued_).arg(newSecret());
    requestTokens_.insert(
        key, {newSecret(), callbackUrl_.isEmpty() ? callback : callbackUrl_, newSecret()});
    return FakeHttpServer::text(200,
                                "oauth_token=" + encode(key) +
                                    "&oauth_token_secret=" + encode(requestTokens_[key].secret) +
                                    "&oauth_callback_confirmed=true",
                                "application/x-www-form-urlencoded");
}

FakeHttpServer::Response FakeOAuthService::authorizePage(const Request& request) {
    const QString token = request.queryValue(QStringLiteral("oauth_token"));
    if (!requestTokens_.contains(token)) {
        return FakeHttpServer::text(
            400,
            "<!DOCTYPE html><html><head><title>Error</title></head><body><p id=\"error\">"
            "This authorization request is not valid any more.</p></body></html>",
            "text/html; charset=utf-8");
    }
    const QString page =
        QStringLiteral(
            "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Authorize</title></head>"
            "<body><p>Let Lumigrave use your account?</p>"
            "<p><a id=\"allow\" href=\"%1\">Authorize app</a></p>"
            "<p><a id=\"deny\" href=\"%2\">Cancel</a></p></body></html>")
            .arg(htmlEscaped(allowUrl(token)), htmlEscaped(denyUrl(token)));
    return FakeHttpServer::text(200, page.toUtf8(), "text/html; charset=utf-8");
}

FakeOAuthService::Token FakeOAuthService::issueAccessToken() {
    Token token;
    token.key = QStringLiteral("at%1-%2").arg(++issued_).arg(newSecret());
    token.secret = newSecret();
    token.sessionHandle = newSecret();
    accessTokens_.insert(token.key, token);
    return token;
}

FakeHttpServer::Response FakeOAuthService::accessToken(const Request& request) {
    if (nextAccessTokenFailure_) {
        const Failure failure = *std::exchange(nextAccessTokenFailure_, std::nullopt);
        return FakeHttpServer::text(failure.status, failure.body);
    }
    const std::optional<QMap<QString, QString>> oauth =
        parseAuthorization(request.header("Authorization"));
    if (!oauth) {
        refuse(request.path + QStringLiteral(": no OAuth Authorization header"));
        return notAuthenticated(request.path);
    }
    const Signed signedRequest{*oauth, baseStringOf(request)};
    const QString tokenKey = oauth->value("oauth_token");
    // Every parameter that was signed counts, wherever it travelled.
    QMap<QString, QString> all;
    for (const auto& [name, value] : FakeHttpServer::parseForm(request.query)) {
        all.insert(name, value);
    }
    if (request.header("Content-Type").toLower().startsWith("application/x-www-form-urlencoded")) {
        for (const auto& [name, value] : FakeHttpServer::parseForm(request.body)) {
            all.insert(name, value);
        }
    }
    all.insert(*oauth);

    Token issued;
    if (accessTokens_.contains(tokenKey)) {
        const Token old = accessTokens_[tokenKey];
        if (!signatureHolds(signedRequest, old.secret, request.path)) {
            return notAuthenticated(request.path);
        }
        if (all.value("oauth_session_handle") != old.sessionHandle || old.sessionHandle.isEmpty()) {
            refuse(request.path + QStringLiteral(": a refresh without the session handle"));
            return notAuthenticated(request.path);
        }
        accessTokens_.remove(tokenKey);
        issued = issueAccessToken();
    } else if (requestTokens_.contains(tokenKey)) {
        const RequestToken requestToken = requestTokens_[tokenKey];
        if (!signatureHolds(signedRequest, requestToken.secret, request.path)) {
            return notAuthenticated(request.path);
        }
        if (all.value("oauth_verifier") != requestToken.verifier) {
            refuse(request.path + QStringLiteral(": a wrong or missing oauth_verifier"));
            return notAuthenticated(request.path);
        }
        requestTokens_.remove(tokenKey);
        issued = issueAccessToken();
    } else {
        refuse(request.path + QStringLiteral(": an unknown token"));
        return notAuthenticated(request.path);
    }
    return FakeHttpServer::text(200,
                                "oauth_token=" + encode(issued.key) +
                                    "&oauth_token_secret=" + encode(issued.secret) +
                                    "&oauth_session_handle=" + encode(issued.sessionHandle),
                                "application/x-www-form-urlencoded");
}

bool FakeOAuthService::protectedRequestHolds(const Signed& request, const QString& where,
                                             Response* refusal) {
    *refusal = notAuthenticated(where);
    const QString tokenKey = request.oauth.value("oauth_token");
    if (!accessTokens_.contains(tokenKey)) {
        refuse(where + QStringLiteral(": no live access token"));
        return false;
    }
    if (!signatureHolds(request, accessTokens_[tokenKey].secret, where)) {
        return false;
    }
    bool ok = false;
    const qint64 timestamp = request.oauth.value("oauth_timestamp").toLongLong(&ok);
    if (!ok || (checkTimestamps_ && std::abs(timestamp - now()) > kTimestampWindow)) {
        refuse(where + QStringLiteral(": the timestamp is not fresh"));
        *refusal = json(401, "{\"error\":\"Timestamp out of bounds\"}");
        return false;
    }
    const QString nonce = request.oauth.value("oauth_nonce");
    const QString used =
        tokenKey + QLatin1Char(' ') + QString::number(timestamp) + QLatin1Char(' ') + nonce;
    if (nonce.isEmpty() || usedNonces_.contains(used) || std::exchange(rejectNextNonce_, false)) {
        refuse(where + QStringLiteral(": a used nonce"));
        *refusal = json(401, "{\"error\":\"Invalid / used nonce\"}");
        return false;
    }
    usedNonces_.insert(used);
    return true;
}

FakeHttpServer::Response FakeOAuthService::resource(const Request& request,
                                                    const Responder& responder) {
    const std::optional<QMap<QString, QString>> oauth =
        parseAuthorization(request.header("Authorization"));
    if (!oauth) {
        refuse(request.path + QStringLiteral(": no OAuth Authorization header"));
        return notAuthenticated(request.path);
    }
    Response refusal;
    if (!protectedRequestHolds({*oauth, baseStringOf(request)}, request.path, &refusal)) {
        return refusal;
    }
    return responder(request);
}

bool FakeOAuthService::verifyEcho(const QByteArray& authorizationHeader, const QByteArray& method,
                                  const QUrl& url) {
    const QString where = QStringLiteral("echo for ") + url.path();
    const std::optional<QMap<QString, QString>> oauth = parseAuthorization(authorizationHeader);
    if (!oauth) {
        refuse(where + QStringLiteral(": no OAuth credentials"));
        return false;
    }
    const QString scheme = url.scheme().toLower();
    QByteArray uri = scheme.toUtf8() + "://" + url.host().toLower().toUtf8();
    const int port = url.port();
    if (port >= 0 && !(scheme == "http" && port == 80) && !(scheme == "https" && port == 443)) {
        uri += ':' + QByteArray::number(port);
    }
    uri += url.path(QUrl::FullyEncoded).toUtf8();
    Pairs parameters = FakeHttpServer::parseForm(url.query(QUrl::FullyEncoded).toUtf8());
    parameters += protocolPairs(*oauth);
    Response refusal;
    return protectedRequestHolds({*oauth, baseString(method, uri, parameters)}, where, &refusal);
}

}  // namespace lumigrave::test
