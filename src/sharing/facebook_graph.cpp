#include "sharing/facebook_graph.h"

#include <QDebug>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>

#include "sharing/share_configuration.h"

namespace lumigrave::sharing {

namespace {

QUrl graphUrl(const QString& path) {
    QString base =
        ShareConfiguration::sharedInstance().stringValue(QStringLiteral("facebookGraphURL"));
    while (base.endsWith(QLatin1Char('/'))) {
        base.chop(1);
    }
    return QUrl(base + path);
}

QByteArray formPair(const char* name, const QString& value) {
    return QByteArray(name) + '=' + QUrl::toPercentEncoding(value);
}

// A boundary that occurs nowhere in what it separates.
QByteArray boundaryFor(const QList<QByteArray>& contents) {
    for (;;) {
        QByteArray boundary = "lumigrave-";
        for (int i = 0; i < 4; ++i) {
            boundary += QByteArray::number(QRandomGenerator::global()->generate(), 16);
        }
        bool clash = false;
        for (const QByteArray& content : contents) {
            clash = clash || content.contains(boundary);
        }
        if (!clash) {
            return boundary;
        }
    }
}

QByteArray partHeader(const QByteArray& boundary, const char* name) {
    return "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name + "\"";
}

// The service's message, cut to what an alert can show, without its line breaks.
QString shown(QString message) {
    message = message.simplified();
    if (message.size() > FacebookGraph::kMaxMessageLength) {
        message = message.left(FacebookGraph::kMaxMessageLength - 1) + QChar(0x2026);
    }
    return message;
}

bool isSessionCode(int code) {
    return code == FacebookGraph::kInvalidTokenCode || code == 102 || code == 463 || code == 467;
}

}  // namespace

FacebookGraphRequest FacebookGraph::photoUpload(const QByteArray& png, const QString& message,
                                                const QString& accessToken) {
    const QByteArray token = accessToken.toUtf8();
    const QByteArray text = message.toUtf8();
    const QByteArray boundary = boundaryFor({png, token, text});
    QByteArray body;
    body += partHeader(boundary, "access_token") + "\r\n\r\n" + token + "\r\n";
    if (!text.isEmpty()) {
        body += partHeader(boundary, "message") +
                "\r\nContent-Type: text/plain; charset=utf-8\r\n\r\n" + text + "\r\n";
    }
    body += partHeader(boundary, "source") +
            "; filename=\"photo.png\"\r\nContent-Type: image/png\r\n\r\n" + png + "\r\n";
    body += "--" + boundary + "--\r\n";
    return {graphUrl(QStringLiteral("/me/photos")), "multipart/form-data; boundary=" + boundary,
            body};
}

FacebookGraphRequest FacebookGraph::linkPost(const QUrl& link, const QString& message,
                                             const QString& description, const QString& picture,
                                             const QString& accessToken) {
    QByteArray body = formPair("access_token", accessToken) + '&' +
                      formPair("link", QString::fromUtf8(link.toEncoded()));
    if (!message.isEmpty()) {
        body += '&' + formPair("message", message);
    }
    if (!description.isEmpty()) {
        body += '&' + formPair("description", description);
    }
    if (!picture.isEmpty()) {
        body += '&' + formPair("picture", picture);
    }
    return {graphUrl(QStringLiteral("/me/feed")), "application/x-www-form-urlencoded", body};
}

FacebookGraphAnswer FacebookGraph::parseAnswer(int httpStatus, const QByteArray& body) {
    FacebookGraphAnswer answer;
    QJsonObject object;
    if (body.size() <= kMaxAnswerBytes) {
        const QJsonDocument document = QJsonDocument::fromJson(body);
        object = document.isObject() ? document.object() : QJsonObject();
    }
    const QJsonValue error = object.value(QLatin1String("error"));
    if (error.isObject()) {
        const QJsonObject details = error.toObject();
        const QString type = details.value(QLatin1String("type")).toString();
        const QJsonValue codeValue = details.value(QLatin1String("code"));
        const bool hasCode = codeValue.isDouble();
        const int code = hasCode ? codeValue.toInt(-1) : -1;
        const bool oauth = type == QLatin1String("OAuthException");
        answer.outcome =
            (hasCode && code == kInvalidTokenCode) || (oauth && (!hasCode || isSessionCode(code)))
                ? FacebookGraphAnswer::Outcome::TokenRejected
                : FacebookGraphAnswer::Outcome::Failed;
        answer.message = shown(details.value(QLatin1String("message")).toString());
        if (answer.message.isEmpty()) {
            answer.message = QStringLiteral("Facebook refused the share.");
        }
        return answer;
    }
    if (httpStatus >= 200 && httpStatus < 300) {
        const QJsonValue id = object.value(QLatin1String("id"));
        if (id.isString() && !id.toString().isEmpty()) {
            answer.outcome = FacebookGraphAnswer::Outcome::Posted;
            answer.id = id.toString();
            return answer;
        }
        if (id.isDouble()) {
            answer.outcome = FacebookGraphAnswer::Outcome::Posted;
            answer.id = QString::number(id.toDouble(), 'f', 0);
            return answer;
        }
        answer.message = QStringLiteral("Facebook's answer could not be read.");
        return answer;
    }
    if (httpStatus == 401) {
        answer.outcome = FacebookGraphAnswer::Outcome::TokenRejected;
        answer.message = QStringLiteral("Facebook did not accept the login.");
        return answer;
    }
    answer.message = QStringLiteral("Facebook answered with HTTP status %1.").arg(httpStatus);
    return answer;
}

void FacebookGraph::post(const FacebookGraphRequest& request, Callback done, const QObject* context,
                         int timeoutMs) {
    auto* manager = new QNetworkAccessManager;
    const QObject* receiver = context ? context : manager;
    QNetworkRequest networkRequest(request.url);
    networkRequest.setHeader(QNetworkRequest::ContentTypeHeader, request.contentType);
    networkRequest.setTransferTimeout(timeoutMs);
    QNetworkReply* reply = manager->post(networkRequest, request.body);
    // The manager goes with the reply, whoever is waiting for it.
    QObject::connect(reply, &QNetworkReply::finished, manager, [manager, reply] {
        reply->deleteLater();
        manager->deleteLater();
    });
    const QString host = request.url.host();
    QObject::connect(reply, &QNetworkReply::finished, receiver, [reply, host, done] {
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        const QByteArray body = reply->read(kMaxAnswerBytes + 1);
        if (!status.isValid()) {
            // No HTTP answer at all. The reply's own message could quote the request,
            // so only the host and the error number are logged.
            qInfo().noquote() << "Facebook at" << host << "gave no answer; the network error was"
                              << int(reply->error());
            FacebookGraphAnswer answer;
            answer.message = reply->error() == QNetworkReply::OperationCanceledError ||
                                     reply->error() == QNetworkReply::TimeoutError
                                 ? QStringLiteral("Facebook did not answer in time.")
                                 : QStringLiteral("Facebook could not be reached.");
            done(answer);
            return;
        }
        done(parseAnswer(status.toInt(), body));
    });
}

}  // namespace lumigrave::sharing
