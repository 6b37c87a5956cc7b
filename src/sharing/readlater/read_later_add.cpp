#include "sharing/readlater/read_later_add.h"

#include <QDebug>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "sharing/share_configuration.h"

namespace lumigrave::sharing {

namespace {

using Kind = ReadLaterAdd::Outcome::Kind;

// The header is read no further than this: a message is a sentence, not a document.
constexpr qsizetype kMaxHeaderBytes = 2048;

QString ownMessage(int httpStatus) {
    switch (httpStatus) {
        case 400:
            return QStringLiteral("Pocket could not save this link.");
        case 403:
            return QStringLiteral(
                "Pocket is taking no more links from Lumigrave just now. Please try again later.");
        case 503:
            return QStringLiteral("Pocket is down for maintenance. Please try again later.");
        default:
            return QStringLiteral("Pocket answered with an error (%1).").arg(httpStatus);
    }
}

ReadLaterAdd::Outcome failure(const QString& message) {
    return {Kind::Failed, message};
}

// The outcome of a reply that has finished.
ReadLaterAdd::Outcome outcomeOfReply(QNetworkReply& reply) {
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && status.toInt() > 0) {
        return ReadLaterAdd::outcomeForAnswer(status.toInt(), reply.rawHeader("X-Error"));
    }
    // The reply's own message quotes the request; only the kind of failure and the host
    // are logged.
    qInfo().noquote() << "The read-later service at" << reply.url().host()
                      << "gave no answer; the network error was" << int(reply.error());
    if (reply.error() == QNetworkReply::OperationCanceledError ||
        reply.error() == QNetworkReply::TimeoutError) {
        return failure(QStringLiteral("Pocket did not answer in time. Please try again later."));
    }
    return failure(QStringLiteral("Pocket could not be reached. Please try again later."));
}

}  // namespace

QUrl ReadLaterAdd::requestUrl() {
    QString base =
        ShareConfiguration::sharedInstance().stringValue(QStringLiteral("readItLaterURL"));
    while (base.endsWith(QLatin1Char('/'))) {
        base.chop(1);
    }
    return QUrl(base + QStringLiteral("/add"));
}

QByteArray ReadLaterAdd::requestBody(const Request& request) {
    auto pair = [](const char* name, const QString& value) {
        return QByteArray(name) + '=' + QUrl::toPercentEncoding(value);
    };
    const QString key =
        ShareConfiguration::sharedInstance().stringValue(QStringLiteral("readItLaterKey"));
    return pair("username", request.username) + '&' + pair("password", request.password) + '&' +
           pair("apikey", key) + '&' + pair("url", QString::fromUtf8(request.url.toEncoded())) +
           '&' + pair("title", request.title);
}

QString ReadLaterAdd::serviceMessage(const QByteArray& xError) {
    const QString decoded = QString::fromUtf8(xError.left(kMaxHeaderBytes));
    QString message;
    message.reserve(decoded.size());
    for (const QChar c : decoded) {
        if (c.isSpace() || c.category() == QChar::Other_Control) {
            if (!message.isEmpty() && !message.endsWith(QLatin1Char(' '))) {
                message.append(QLatin1Char(' '));
            }
        } else if (c.category() != QChar::Other_Format) {
            message.append(c);
        }
    }
    message = message.trimmed();
    if (message.size() > kMaxMessageChars) {
        message.truncate(kMaxMessageChars);
        // Never leave half of a surrogate pair at the cut.
        if (message.back().isHighSurrogate()) {
            message.chop(1);
        }
        message.append(QChar(0x2026));
    }
    return message;
}

ReadLaterAdd::Outcome ReadLaterAdd::outcomeForAnswer(int httpStatus, const QByteArray& xError) {
    if (httpStatus >= 200 && httpStatus < 300) {
        return {Kind::Saved, QString()};
    }
    const QString message = serviceMessage(xError);
    if (httpStatus == 401) {
        return {Kind::BadCredentials, message};
    }
    return failure(message.isEmpty() ? ownMessage(httpStatus) : message);
}

void ReadLaterAdd::add(const Request& request, Callback done, const QObject* context,
                       int timeoutMs) {
    auto* manager = new QNetworkAccessManager;
    const QObject* receiver = context ? context : manager;
    QNetworkRequest post(requestUrl());
    post.setHeader(QNetworkRequest::ContentTypeHeader,
                   QByteArrayLiteral("application/x-www-form-urlencoded; charset=utf-8"));
    post.setTransferTimeout(timeoutMs);
    // A redirect would carry the password elsewhere, or drop it as a GET; neither is wanted.
    post.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                      QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply* reply = manager->post(post, requestBody(request));
    // The manager goes with the reply, whoever is waiting for it.
    QObject::connect(reply, &QNetworkReply::finished, manager, [manager, reply] {
        reply->deleteLater();
        manager->deleteLater();
    });
    QObject::connect(reply, &QNetworkReply::finished, receiver,
                     [reply, done] { done(outcomeOfReply(*reply)); });
}

}  // namespace lumigrave::sharing
