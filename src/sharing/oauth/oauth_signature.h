#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QUrl>
#include <optional>

namespace lumigrave::sharing {

// The application's credentials at an OAuth 1.0 service.
struct OAuthApp {
    QString key;
    QString secret;
};

// A request or access token. The session handle, when the service gives one, renews an
// access token without a new login.
struct OAuthToken {
    QString key;
    QString secret;
    QString sessionHandle;

    bool isEmpty() const { return key.isEmpty(); }
    // A token endpoint's form-encoded answer ("oauth_token", "oauth_token_secret" and,
    // optionally, "oauth_session_handle"); nothing when the key or the secret is missing.
    static std::optional<OAuthToken> fromAnswer(const QByteArray& body);
};

// Names and values in the order given; names may repeat.
using OAuthParameters = QList<QPair<QString, QString>>;

// Everything a request's signature is made from.
struct OAuthSigningInput {
    QByteArray method = "POST";
    // With its query, whose parameters are signed.
    QUrl url;
    // The parameters of a form-encoded body. A multipart body's are never signed.
    OAuthParameters bodyParameters;
    OAuthApp consumer;
    // Without a key, no "oauth_token" is sent and the token secret is empty.
    OAuthToken token;
    // Written first in the header, also when empty; never signed.
    QString realm;
    // More protocol parameters ("oauth_callback", "oauth_verifier",
    // "oauth_session_handle"...): signed, and written after the standard ones in key order.
    QMap<QString, QString> extraOAuthParameters;
    QString nonce;
    // Whole seconds since 1970.
    qint64 timestamp = 0;
    // oauth_version is optional in OAuth 1.0; published examples sign without it.
    bool includeVersion = true;
};

// OAuth 1.0 signing with HMAC-SHA1 (RFC 5849, section 3). Pure functions: the nonce and
// the time come in with the input.
class OAuthSignature {
  public:
    // RFC 3986 percent-encoding of the UTF-8 bytes: only letters, digits and "-._~" stay.
    static QByteArray percentEncode(const QString& value);
    // The base string URI: scheme and host in lower case, the default port dropped, the
    // path kept ("/" when empty), no query and no fragment.
    static QByteArray baseStringUri(const QUrl& url);
    // Each name and value encoded, the pairs sorted by name and then by value, joined
    // with "=" and "&".
    static QByteArray normalizedParameters(const OAuthParameters& parameters);
    // The protocol parameters that are signed: oauth_consumer_key, oauth_token (with a
    // token), oauth_signature_method, oauth_timestamp, oauth_nonce, oauth_version (unless
    // left out) and the extras.
    static OAuthParameters protocolParameters(const OAuthSigningInput& input);
    // The method in upper case, the base string URI and the normalized query, body and
    // protocol parameters, each encoded and joined with "&".
    static QByteArray baseString(const OAuthSigningInput& input);
    // The encoded consumer secret and the encoded token secret joined with "&".
    static QByteArray signingKey(const QString& consumerSecret, const QString& tokenSecret);
    // Base64 of HMAC-SHA1 of the base string with the signing key.
    static QByteArray signature(const OAuthSigningInput& input);
    // "OAuth realm=\"…\", oauth_consumer_key=\"…\", [oauth_token=\"…\", ]
    // oauth_signature_method=\"HMAC-SHA1\", oauth_signature=\"…\", oauth_timestamp=\"…\",
    // oauth_nonce=\"…\", oauth_version=\"1.0\"" and then the extras in key order, every
    // value percent-encoded.
    static QByteArray authorizationHeader(const OAuthSigningInput& input);
};

}  // namespace lumigrave::sharing
