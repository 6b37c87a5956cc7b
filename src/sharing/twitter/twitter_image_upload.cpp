#include "sharing/twitter/twitter_image_upload.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "sharing/twitter/twitter_api.h"

namespace lumigrave::sharing {

namespace {

OAuthAnswer answerOf(QNetworkReply& reply) {
    OAuthAnswer answer;
    answer.httpStatus = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (answer.httpStatus == 0) {
        answer.networkFailed = true;
        // The reply's own text would quote the request; the kind of failure is enough.
        answer.networkError =
            reply.error() == QNetworkReply::OperationCanceledError ||
                    reply.error() == QNetworkReply::TimeoutError
                ? QStringLiteral("The image host did not answer in time.")
                : QStringLiteral("The image host could not be reached (network error %1).")
                      .arg(int(reply.error()));
        return answer;
    }
    answer.body = reply.read(OAuthRequest::kMaxAnswerBytes);
    return answer;
}

}  // namespace

void TwitterImageUpload::upload(const QByteArray& jpeg, const QString& status,
                                const QUrl& credentialsUrl, const QByteArray& echoAuthorization,
                                std::function<void(const OAuthAnswer&)> done,
                                const QObject* context, int timeoutMs) {
    auto* manager = new QNetworkAccessManager;
    const QObject* receiver = context ? context : manager;
    QNetworkRequest post(TwitterApi::imageUploadUrl());
    post.setHeader(QNetworkRequest::ContentTypeHeader, TwitterApi::imageUploadContentType());
    post.setRawHeader("X-Auth-Service-Provider", credentialsUrl.toEncoded());
    post.setRawHeader("X-Verify-Credentials-Authorization", echoAuthorization);
    post.setTransferTimeout(timeoutMs);
    // A redirect would hand our signature to another host.
    post.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                      QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply* reply = manager->post(post, TwitterApi::imageUploadBody(jpeg, status));
    // The manager goes with the reply, whoever is waiting for it.
    QObject::connect(reply, &QNetworkReply::finished, manager, [manager, reply] {
        reply->deleteLater();
        manager->deleteLater();
    });
    QObject::connect(reply, &QNetworkReply::finished, receiver,
                     [reply, done] { done(answerOf(*reply)); });
}

}  // namespace lumigrave::sharing
