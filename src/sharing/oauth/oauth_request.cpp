#include "sharing/oauth/oauth_request.h"

#include <QDateTime>
#include <QDebug>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUuid>
#include <memory>

namespace lumigrave::sharing {

namespace {

std::function<qint64()>& clockSource() {
    static std::function<qint64()> clock;
    return clock;
}

std::function<QString()>& nonceSource() {
    static std::function<QString()> nonce;
    return nonce;
}

qint64 now() {
    return clockSource() ? clockSource()() : QDateTime::currentSecsSinceEpoch();
}

QString newNonce() {
    return nonceSource() ? nonceSource()() : QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// Encoded with the signature's own encoding, so "+", "&" and "=" in a value reach the
// service as the very characters that were signed.
QByteArray formEncoded(const OAuthParameters& parameters) {
    QByteArray encoded;
    for (const auto& [name, value] : parameters) {
        if (!encoded.isEmpty()) {
            encoded += '&';
        }
        encoded += OAuthSignature::percentEncode(name) + '=' + OAuthSignature::percentEncode(value);
    }
    return encoded;
}

// What has been read of an answer so far.
struct Reading {
    QByteArray body;
    // More than the cap came: the answer was cut and the transfer stopped on purpose.
    bool cut = false;
};

void readCapped(QNetworkReply* reply, Reading* reading) {
    // A reply that timed out or was cut is closed already.
    if (!reply->isReadable()) {
        return;
    }
    const qint64 room = OAuthRequest::kMaxAnswerBytes - reading->body.size();
    reading->body += reply->read(std::max<qint64>(room, 0));
    if (reply->bytesAvailable() > 0 && !reading->cut) {
        reading->cut = true;
        reply->abort();
    }
}

bool isTransportError(QNetworkReply::NetworkError error) {
    // Qt numbers connection errors from 1 and proxy errors from 101; the codes from 201
    // stand for HTTP statuses, which are answers.
    return error != QNetworkReply::NoError && int(error) < 200;
}

OAuthAnswer answerOf(QNetworkReply* reply, const Reading& reading) {
    OAuthAnswer answer;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    answer.httpStatus = status.isValid() ? status.toInt() : 0;
    answer.body = reading.body;
    if (reading.cut || (answer.httpStatus > 0 && !isTransportError(reply->error()))) {
        return answer;
    }
    // The reply's own error text quotes the request; only the host and the error number
    // are logged, and the user's message is ours.
    const QString host = reply->url().host();
    qInfo().noquote() << "The OAuth service at" << host
                      << "gave no whole answer; the network error was" << int(reply->error());
    answer.networkFailed = true;
    answer.networkError = reply->error() == QNetworkReply::OperationCanceledError ||
                                  reply->error() == QNetworkReply::TimeoutError
                              ? QStringLiteral("%1 did not answer in time.").arg(host)
                              : QStringLiteral("%1 could not be reached.").arg(host);
    return answer;
}

}  // namespace

OAuthRequest::OAuthRequest(const QUrl& url, const OAuthApp& consumer, const OAuthToken& token,
                           const QString& realm) {
    input_.url = url;
    input_.consumer = consumer;
    input_.token = token;
    input_.realm = realm;
}

void OAuthRequest::setParameters(const OAuthParameters& parameters) {
    parameters_ = parameters;
}

void OAuthRequest::setOAuthParameter(const QString& name, const QString& value) {
    input_.extraOAuthParameters.insert(name, value);
}

void OAuthRequest::setBody(const QByteArray& contentType, const QByteArray& body) {
    contentType_ = contentType;
    body_ = body;
    bodySet_ = true;
}

void OAuthRequest::setHeader(const QByteArray& name, const QByteArray& value) {
    headers_.append({name, value});
}

bool OAuthRequest::sendsParametersInBody() const {
    const QByteArray method = input_.method.toUpper();
    return method != "GET" && method != "HEAD" && method != "DELETE";
}

OAuthSigningInput OAuthRequest::signingInput() const {
    OAuthSigningInput input = input_;
    input.method = input_.method.toUpper();
    if (!sendsParametersInBody()) {
        if (!parameters_.isEmpty()) {
            QByteArray query = input.url.query(QUrl::FullyEncoded).toUtf8();
            if (!query.isEmpty()) {
                query += '&';
            }
            query += formEncoded(parameters_);
            input.url.setQuery(QString::fromLatin1(query), QUrl::StrictMode);
        }
    } else if (!bodySet_) {
        input.bodyParameters = parameters_;
    }
    input.timestamp = now();
    input.nonce = newNonce();
    return input;
}

QByteArray OAuthRequest::authorizationHeader() const {
    return OAuthSignature::authorizationHeader(signingInput());
}

void OAuthRequest::send(Callback done, const QObject* context, int timeoutMs) const {
    const OAuthSigningInput input = signingInput();
    QNetworkRequest request(input.url);
    request.setRawHeader("Authorization", OAuthSignature::authorizationHeader(input));
    request.setTransferTimeout(timeoutMs);
    // A redirect would carry the signed request to an address it was not signed for.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    QByteArray body;
    if (sendsParametersInBody()) {
        if (bodySet_) {
            body = body_;
            request.setHeader(QNetworkRequest::ContentTypeHeader, contentType_);
        } else {
            body = formEncoded(input.bodyParameters);
            request.setHeader(QNetworkRequest::ContentTypeHeader,
                              QByteArrayLiteral("application/x-www-form-urlencoded"));
        }
    }
    for (const auto& [name, value] : headers_) {
        request.setRawHeader(name, value);
    }

    auto* manager = new QNetworkAccessManager;
    const QObject* receiver = context ? context : manager;
    QNetworkReply* reply = sendsParametersInBody()
                               ? manager->sendCustomRequest(request, input.method, body)
                               : manager->sendCustomRequest(request, input.method);
    auto reading = std::make_shared<Reading>();
    QObject::connect(reply, &QNetworkReply::readyRead, manager,
                     [reply, reading] { readCapped(reply, reading.get()); });
    // The manager goes with the reply, whoever is waiting for it.
    QObject::connect(reply, &QNetworkReply::finished, manager, [manager, reply] {
        reply->deleteLater();
        manager->deleteLater();
    });
    QObject::connect(reply, &QNetworkReply::finished, receiver, [reply, reading, done] {
        if (!reading->cut) {
            readCapped(reply, reading.get());
        }
        done(answerOf(reply, *reading));
    });
}

void OAuthRequest::setClockForTesting(std::function<qint64()> clock) {
    clockSource() = std::move(clock);
}

void OAuthRequest::setNonceSourceForTesting(std::function<QString()> nonce) {
    nonceSource() = std::move(nonce);
}

}  // namespace lumigrave::sharing
