#include "sharing/url_shortener.h"

#include <QCoreApplication>
#include <QDebug>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

#include "sharing/share_configuration.h"

namespace lumigrave::sharing {

namespace {

// Answers beyond this are no link; the rest is not read.
constexpr qint64 kMaxAnswerBytes = 4096;

}  // namespace

QUrl UrlShortener::requestUrl(const QUrl& longUrl) {
    const ShareConfiguration& configuration = ShareConfiguration::sharedInstance();
    QString base = configuration.stringValue(QStringLiteral("bitLyURL"));
    while (base.endsWith(QLatin1Char('/'))) {
        base.chop(1);
    }
    QUrl url(base + QStringLiteral("/shorten"));
    // Each value is encoded whole, "&", "=" and "+" included, so that a long link's own
    // query survives as one parameter.
    auto pair = [](const char* name, const QString& value) {
        return QByteArray(name) + '=' + QUrl::toPercentEncoding(value);
    };
    const QByteArray query =
        pair("login", configuration.stringValue(QStringLiteral("bitLyLogin"))) + '&' +
        pair("apikey", configuration.stringValue(QStringLiteral("bitLyKey"))) + '&' +
        pair("longUrl", QString::fromUtf8(longUrl.toEncoded())) + "&format=txt";
    url.setQuery(QString::fromLatin1(query), QUrl::StrictMode);
    return url;
}

QUrl UrlShortener::resultForAnswer(const QUrl& longUrl, int httpStatus, const QByteArray& body) {
    if (httpStatus != 200) {
        return longUrl;
    }
    const QString answer = QString::fromUtf8(body).trimmed();
    if (answer == QLatin1String("ALREADY_A_BITLY_LINK")) {
        return longUrl;
    }
    const QUrl shortUrl(answer, QUrl::StrictMode);
    const QString scheme = shortUrl.scheme().toLower();
    if (!shortUrl.isValid() || shortUrl.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        answer.contains(QLatin1Char(' '))) {
        return longUrl;
    }
    return shortUrl;
}

void UrlShortener::shorten(const QUrl& longUrl, Callback done, const QObject* context,
                           int timeoutMs) {
    if (longUrl.isEmpty()) {
        QPointer<const QObject> guard(context);
        const bool guarded = context != nullptr;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [done, longUrl, guard, guarded] {
                if (!guarded || guard) {
                    done(longUrl);
                }
            },
            Qt::QueuedConnection);
        return;
    }
    auto* manager = new QNetworkAccessManager;
    const QObject* receiver = context ? context : manager;
    QNetworkRequest request(requestUrl(longUrl));
    request.setTransferTimeout(timeoutMs);
    QNetworkReply* reply = manager->get(request);
    // The manager goes with the reply, whoever is waiting for it.
    QObject::connect(reply, &QNetworkReply::finished, manager, [manager, reply] {
        reply->deleteLater();
        manager->deleteLater();
    });
    QObject::connect(reply, &QNetworkReply::finished, receiver, [reply, longUrl, done] {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() != QNetworkReply::NoError) {
            // The reply's own message quotes the request, API key and all.
            qInfo().noquote() << "The link could not be shortened; the network error was"
                              << int(reply->error());
            done(longUrl);
            return;
        }
        done(resultForAnswer(longUrl, status, reply->read(kMaxAnswerBytes)));
    });
}

}  // namespace lumigrave::sharing
