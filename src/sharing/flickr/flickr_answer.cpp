#include "sharing/flickr/flickr_answer.h"

#include "sharing/flickr/xml_mapper.h"

namespace lumigrave::sharing {

namespace {

FlickrAnswer failure(const QString& domain, qint64 code, const QString& message) {
    FlickrAnswer answer;
    answer.error = FlickrError{domain, code, message};
    return answer;
}

// The service's message is shown as it stands, but an answer is untrusted: cut it short.
QString shortened(const QString& text) {
    constexpr qsizetype kMaxChars = 400;
    return text.size() > kMaxChars ? text.left(kMaxChars) + QChar(0x2026) : text;
}

}  // namespace

FlickrAnswer FlickrAnswer::fromData(const QByteArray& body) {
    const QString client = QString::fromLatin1(FlickrError::kClientDomain);
    QString reason;
    QString exception;
    const std::optional<QVariantMap> document =
        XMLMapper::dictionaryFromData(body, &reason, &exception);
    if (!document) {
        return failure(
            client, FlickrError::kFaultyAnswer,
            QStringLiteral("The photo service's answer could not be read: %1").arg(reason));
    }
    const QVariantMap rsp = document->value(QStringLiteral("rsp")).toMap();
    if (rsp.value(QStringLiteral("stat")).toString() == QLatin1String("ok")) {
        FlickrAnswer answer;
        answer.ok = true;
        answer.response = rsp;
        return answer;
    }
    const QVariantMap err = rsp.value(QStringLiteral("err")).toMap();
    bool numeric = false;
    const qint64 code = err.value(QStringLiteral("code")).toString().toLongLong(&numeric);
    if (!numeric) {
        return failure(client, FlickrError::kUnknownError,
                       QStringLiteral("The photo service gave an answer without an error code."));
    }
    const QString message = err.value(QStringLiteral("msg")).toString().trimmed();
    return failure(
        QString::fromLatin1(FlickrError::kServiceDomain), code,
        message.isEmpty()
            ? QStringLiteral("The photo service refused the request (error %1).").arg(code)
            : shortened(message));
}

}  // namespace lumigrave::sharing
