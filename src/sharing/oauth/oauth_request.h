#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>
#include <functional>

#include "sharing/oauth/oauth_signature.h"

class QObject;

namespace lumigrave::sharing {

// What came back for a signed request.
struct OAuthAnswer {
    // No answer at all: refused, unreachable, cut off or timed out.
    bool networkFailed = false;
    // For the user, when networkFailed.
    QString networkError;
    int httpStatus = 0;
    // Read up to OAuthRequest::kMaxAnswerBytes.
    QByteArray body;

    // An HTTP answer with a 2xx status.
    bool succeeded() const { return !networkFailed && httpStatus >= 200 && httpStatus < 300; }
};

// One OAuth 1.0 request signed with HMAC-SHA1, sent asynchronously on the main thread. The
// timestamp and the nonce are taken when the request is signed, from sources a test can
// replace.
class OAuthRequest {
  public:
    static constexpr int kTimeoutMs = 10000;
    static constexpr qsizetype kMaxAnswerBytes = 1024 * 1024;

    OAuthRequest(const QUrl& url, const OAuthApp& consumer, const OAuthToken& token,
                 const QString& realm = QString());

    const QUrl& url() const { return input_.url; }
    // "POST" unless set.
    void setMethod(const QByteArray& method) { input_.method = method; }
    // Signed; sent as a form body with POST, appended to the query with GET.
    void setParameters(const OAuthParameters& parameters);
    void setOAuthParameter(const QString& name, const QString& value);
    // Replaces the form body with this one; its contents are not signed.
    void setBody(const QByteArray& contentType, const QByteArray& body);
    void setHeader(const QByteArray& name, const QByteArray& value);

    // The input as it will be signed, with this moment's timestamp and a new nonce.
    OAuthSigningInput signingInput() const;
    // The "Authorization" header for this moment (a new nonce each call).
    QByteArray authorizationHeader() const;

    using Callback = std::function<void(const OAuthAnswer& answer)>;
    // Signs and sends the request; done is called once on the main thread. Redirects
    // are not followed. When context is given and goes first, done is not called.
    void send(Callback done, const QObject* context, int timeoutMs = kTimeoutMs) const;

    // The sources of the timestamp (whole seconds since 1970) and the nonce (a new UUID
    // string); an empty function restores the real one.
    static void setClockForTesting(std::function<qint64()> clock);
    static void setNonceSourceForTesting(std::function<QString()> nonce);

  private:
    // Whether the parameters travel in the body (every method but GET, HEAD and DELETE).
    bool sendsParametersInBody() const;

    OAuthSigningInput input_;
    OAuthParameters parameters_;
    QByteArray contentType_;
    QByteArray body_;
    bool bodySet_ = false;
    QList<QPair<QByteArray, QByteArray>> headers_;
};

}  // namespace lumigrave::sharing
