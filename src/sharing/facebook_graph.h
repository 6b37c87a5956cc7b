#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <functional>

class QObject;

namespace lumigrave::sharing {

// A request to the Facebook Graph API, whole: where it goes and what it carries. The
// access token travels in the body, never in the address, so no proxy or log keeps it.
struct FacebookGraphRequest {
    QUrl url;
    QByteArray contentType;
    QByteArray body;
};

// What an answer of the Graph API means for a share.
struct FacebookGraphAnswer {
    enum class Outcome {
        Posted,
        // The token expired or was revoked: a new login may succeed.
        TokenRejected,
        Failed,
    };
    Outcome outcome = Outcome::Failed;
    // The new object's id when posted.
    QString id;
    // The service's own words when it failed, or ours when it said nothing usable.
    QString message;
};

// The Graph API's photo upload and link post, and the reading of its JSON answers. The
// answers are untrusted: they are read up to a cap, and any shape but the expected one
// is a failure with a message, never a crash.
class FacebookGraph {
  public:
    static constexpr int kTimeoutMs = 60000;
    // A bigger answer is no answer of the calls we make; the rest is not read.
    static constexpr qsizetype kMaxAnswerBytes = 64 * 1024;
    // The service's message is shown to the user; beyond this it is cut.
    static constexpr qsizetype kMaxMessageLength = 400;
    // The error code the service gives a token it no longer takes.
    static constexpr int kInvalidTokenCode = 190;

    // <graph>/me/photos, multipart/form-data: "access_token", "message" (when there is
    // a title) and "source", the PNG.
    static FacebookGraphRequest photoUpload(const QByteArray& png, const QString& message,
                                            const QString& accessToken);
    // <graph>/me/feed, a form: "access_token", "link", "message" (when there is one),
    // and "description" and "picture" when the item sets them.
    static FacebookGraphRequest linkPost(const QUrl& link, const QString& message,
                                         const QString& description, const QString& picture,
                                         const QString& accessToken);

    // The meaning of an answer with HTTP status httpStatus and body. An error object's
    // code 190, or its type "OAuthException" with no code or a code of a bad session
    // (102, 463, 467), rejects the token; other errors fail with error.message.
    static FacebookGraphAnswer parseAnswer(int httpStatus, const QByteArray& body);

    using Callback = std::function<void(const FacebookGraphAnswer& answer)>;
    // POSTs request and calls done once, on the main thread, with its meaning; a
    // network failure or no answer within timeoutMs is a failure. When context is given
    // and goes first, done is not called.
    static void post(const FacebookGraphRequest& request, Callback done, const QObject* context,
                     int timeoutMs = kTimeoutMs);
};

}  // namespace lumigrave::sharing
