#include "sharing/oauth/oauth_signature.h"

#include <QMessageAuthenticationCode>
#include <algorithm>

namespace lumigrave::sharing {

namespace {

// A form-encoded name or value as the service reads it: "+" is a space.
QString formDecode(QByteArray text) {
    text.replace('+', ' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text));
}

// The pairs of a query or form body, in the order given. A pair without "=" is a name
// with an empty value, as a service reads it.
OAuthParameters formPairs(const QByteArray& encoded) {
    OAuthParameters pairs;
    for (const QByteArray& pair : encoded.split('&')) {
        if (pair.isEmpty()) {
            continue;
        }
        const qsizetype equals = pair.indexOf('=');
        pairs.append({formDecode(equals < 0 ? pair : pair.left(equals)),
                      equals < 0 ? QString() : formDecode(pair.mid(equals + 1))});
    }
    return pairs;
}

int defaultPort(const QString& scheme) {
    if (scheme == QLatin1String("http")) {
        return 80;
    }
    if (scheme == QLatin1String("https")) {
        return 443;
    }
    return -1;
}

QByteArray quoted(const char* name, const QByteArray& encodedValue) {
    return QByteArray(name) + "=\"" + encodedValue + '"';
}

}  // namespace

std::optional<OAuthToken> OAuthToken::fromAnswer(const QByteArray& body) {
    OAuthToken token;
    for (const auto& [name, value] : formPairs(body)) {
        if (name == QLatin1String("oauth_token")) {
            token.key = value;
        } else if (name == QLatin1String("oauth_token_secret")) {
            token.secret = value;
        } else if (name == QLatin1String("oauth_session_handle")) {
            token.sessionHandle = value;
        }
    }
    if (token.key.isEmpty() || token.secret.isEmpty()) {
        return std::nullopt;
    }
    return token;
}

QByteArray OAuthSignature::percentEncode(const QString& value) {
    // QUrl's encoding keeps exactly the unreserved set and writes upper-case hex digits.
    return QUrl::toPercentEncoding(value);
}

QByteArray OAuthSignature::baseStringUri(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    QByteArray host = url.host(QUrl::FullyEncoded).toLower().toUtf8();
    if (host.contains(':')) {
        host = '[' + host + ']';
    }
    QByteArray uri = scheme.toUtf8() + "://" + host;
    const int port = url.port();
    if (port >= 0 && port != defaultPort(scheme)) {
        uri += ':' + QByteArray::number(port);
    }
    const QByteArray path = url.path(QUrl::FullyEncoded).toUtf8();
    uri += path.isEmpty() ? QByteArray("/") : path;
    return uri;
}

QByteArray OAuthSignature::normalizedParameters(const OAuthParameters& parameters) {
    QList<QPair<QByteArray, QByteArray>> encoded;
    encoded.reserve(parameters.size());
    for (const auto& [name, value] : parameters) {
        encoded.append({percentEncode(name), percentEncode(value)});
    }
    // Byte order of the encoded forms, names first: QByteArray compares bytes unsigned.
    std::sort(encoded.begin(), encoded.end());
    QByteArray joined;
    for (const auto& [name, value] : encoded) {
        if (!joined.isEmpty()) {
            joined += '&';
        }
        joined += name + '=' + value;
    }
    return joined;
}

OAuthParameters OAuthSignature::protocolParameters(const OAuthSigningInput& input) {
    OAuthParameters parameters;
    parameters.append({QStringLiteral("oauth_consumer_key"), input.consumer.key});
    if (!input.token.isEmpty()) {
        parameters.append({QStringLiteral("oauth_token"), input.token.key});
    }
    parameters.append({QStringLiteral("oauth_signature_method"), QStringLiteral("HMAC-SHA1")});
    parameters.append({QStringLiteral("oauth_timestamp"), QString::number(input.timestamp)});
    parameters.append({QStringLiteral("oauth_nonce"), input.nonce});
    if (input.includeVersion) {
        parameters.append({QStringLiteral("oauth_version"), QStringLiteral("1.0")});
    }
    for (auto it = input.extraOAuthParameters.cbegin(); it != input.extraOAuthParameters.cend();
         ++it) {
        parameters.append({it.key(), it.value()});
    }
    return parameters;
}

QByteArray OAuthSignature::baseString(const OAuthSigningInput& input) {
    OAuthParameters all = formPairs(input.url.query(QUrl::FullyEncoded).toUtf8());
    all += input.bodyParameters;
    all += protocolParameters(input);
    return input.method.toUpper() + '&' +
           percentEncode(QString::fromUtf8(baseStringUri(input.url))) + '&' +
           percentEncode(QString::fromUtf8(normalizedParameters(all)));
}

QByteArray OAuthSignature::signingKey(const QString& consumerSecret, const QString& tokenSecret) {
    return percentEncode(consumerSecret) + '&' + percentEncode(tokenSecret);
}

QByteArray OAuthSignature::signature(const OAuthSigningInput& input) {
    const QString tokenSecret = input.token.isEmpty() ? QString() : input.token.secret;
    return QMessageAuthenticationCode::hash(baseString(input),
                                            signingKey(input.consumer.secret, tokenSecret),
                                            QCryptographicHash::Sha1)
        .toBase64();
}

QByteArray OAuthSignature::authorizationHeader(const OAuthSigningInput& input) {
    QList<QByteArray> fields;
    fields << quoted("realm", percentEncode(input.realm));
    fields << quoted("oauth_consumer_key", percentEncode(input.consumer.key));
    if (!input.token.isEmpty()) {
        fields << quoted("oauth_token", percentEncode(input.token.key));
    }
    fields << quoted("oauth_signature_method", "HMAC-SHA1");
    fields << quoted("oauth_signature", percentEncode(QString::fromLatin1(signature(input))));
    fields << quoted("oauth_timestamp", QByteArray::number(input.timestamp));
    fields << quoted("oauth_nonce", percentEncode(input.nonce));
    if (input.includeVersion) {
        fields << quoted("oauth_version", "1.0");
    }
    for (auto it = input.extraOAuthParameters.cbegin(); it != input.extraOAuthParameters.cend();
         ++it) {
        fields << percentEncode(it.key()) + "=\"" + percentEncode(it.value()) + '"';
    }
    return "OAuth " + fields.join(", ");
}

}  // namespace lumigrave::sharing
