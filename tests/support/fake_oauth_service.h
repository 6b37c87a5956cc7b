#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <optional>

#include "support/fake_http_server.h"

namespace lumigrave::test {

// An OAuth 1.0 service (HMAC-SHA1) on a FakeHttpServer, for the tests of everything that
// logs in and signs. It checks every signature it receives as a real service would: the
// base string is rebuilt from the request as it arrived (method, scheme://host:port and
// the raw path, the query, a form body, the header's protocol parameters) with its own
// code, not the client's, so a fault in the client's signing shows as a refusal.
//
// The flow: request token (signed without a token, with oauth_callback), the authorize
// page (an element with id "allow" that leads to the callback with the token and a
// verifier, and one with id "deny" that leads to it with oauth_problem=user_refused), the
// access token (signed with the request token and carrying the verifier), a refresh of
// the access token with its session handle, and protected resources.
//
// No secret is ever logged; the refusals are kept as reasons for the tests to read.
class FakeOAuthService {
  public:
    struct Token {
        QString key;
        QString secret;
        QString sessionHandle;
    };

    // Answers a verified request to a protected resource.
    using Responder = std::function<FakeHttpServer::Response(const FakeHttpServer::Request&)>;

    // Serves on server, which the caller has started and keeps alive.
    explicit FakeOAuthService(FakeHttpServer* server);

    void setConsumer(const QString& key, const QString& secret);
    // Where the authorize page leads; empty (the default): the oauth_callback the client
    // sent with its request token call.
    void setCallbackUrl(const QString& callbackUrl);
    // Call before the first request; Twitter's paths are the default.
    void setPaths(const QString& requestTokenPath, const QString& authorizePath,
                  const QString& accessTokenPath);
    // The service's clock (whole seconds since 1970); the real time when empty.
    void setClock(std::function<qint64()> clock);
    // Whether a protected request's timestamp must lie within kTimestampWindow of the
    // service's clock (yes unless told otherwise).
    void setCheckTimestamps(bool check);
    static constexpr qint64 kTimestampWindow = 300;

    QString requestTokenUrl() const;
    QString authorizeUrl() const;
    QString accessTokenUrl() const;
    // The address the "allow" element of requestToken's page leads to; empty for a token
    // the service never issued.
    QString allowUrl(const QString& requestToken) const;
    // The address the "deny" element leads to.
    QString denyUrl(const QString& requestToken) const;

    // Every request to path must be signed with the consumer and a live access token;
    // the verified ones go to responder.
    void protect(const QString& path, Responder responder);
    // OAuth Echo: whether authorizationHeader, sent on to another host, signs method and
    // url with the consumer and a live access token (signature, timestamp, an unused
    // nonce). A refusal is recorded like any other.
    bool verifyEcho(const QByteArray& authorizationHeader, const QByteArray& method,
                    const QUrl& url);

    // A live access token without a login, for tests that start logged in.
    Token grantAccessToken();
    QList<Token> liveAccessTokens() const;

    // Switches for the failure cases.
    void revokeAccessTokens();
    void failNextRequestToken(int status, const QByteArray& body);
    void failNextAccessToken(int status, const QByteArray& body);
    // The next protected request (or echo) is refused as a used nonce, whatever it holds.
    void rejectNextNonce();

    // Why requests were refused, one line each, in order; no secret in them.
    const QStringList& failures() const { return failures_; }
    void clearFailures() { failures_.clear(); }

    // The base string this service builds for a request, for the tests of the service
    // itself. Empty when the Authorization header is not OAuth.
    static QByteArray baseStringOf(const FakeHttpServer::Request& request);
    // The Authorization header's parameters, decoded; nothing when it is not OAuth.
    static std::optional<QMap<QString, QString>> parseAuthorization(const QByteArray& header);

  private:
    struct RequestToken {
        QString secret;
        QString callback;
        QString verifier;
    };
    struct Failure {
        int status = 401;
        QByteArray body;
    };
    // What a request carries: its OAuth parameters and its base string.
    struct Signed {
        QMap<QString, QString> oauth;
        QByteArray baseString;
    };

    FakeHttpServer::Response requestToken(const FakeHttpServer::Request& request);
    FakeHttpServer::Response authorizePage(const FakeHttpServer::Request& request);
    FakeHttpServer::Response accessToken(const FakeHttpServer::Request& request);
    FakeHttpServer::Response resource(const FakeHttpServer::Request& request,
                                      const Responder& responder);

    // Checks the consumer and the signature made with tokenSecret; records a refusal.
    bool signatureHolds(const Signed& request, const QString& tokenSecret, const QString& where);
    // Whether a protected request names a live access token and holds with its
    // signature, timestamp and nonce; *refusal is the answer when not.
    bool protectedRequestHolds(const Signed& request, const QString& where,
                               FakeHttpServer::Response* refusal);
    Token issueAccessToken();
    qint64 now() const;
    void refuse(const QString& reason);

    FakeHttpServer* server_;
    QString consumerKey_ = QStringLiteral("consumer-key");
    QString consumerSecret_ = QStringLiteral("consumer-secret");
    QString callbackUrl_;
    QString requestTokenPath_ = QStringLiteral("/oauth/request_token");
    QString authorizePath_ = QStringLiteral("/oauth/authorize");
    QString accessTokenPath_ = QStringLiteral("/oauth/access_token");
    std::function<qint64()> clock_;
    bool checkTimestamps_ = true;

    QMap<QString, RequestToken> requestTokens_;
    QMap<QString, Token> accessTokens_;
    QSet<QString> usedNonces_;
    std::optional<Failure> nextRequestTokenFailure_;
    std::optional<Failure> nextAccessTokenFailure_;
    bool rejectNextNonce_ = false;
    int issued_ = 0;
    QStringList failures_;
};

}  // namespace lumigrave::test
