#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

namespace lumigrave::sharing {

// A failed call: the service's own ("com.flickr", its code and message) or the client's
// (kClientDomain). The message is for the user and never holds a key, token or
// signature.
struct FlickrError {
    static constexpr char kServiceDomain[] = "com.flickr";
    static constexpr char kClientDomain[] = "org.lumigrave.flickr";
    // The client's codes.
    static constexpr qint64 kConnectionFailed = 0x7FFF0001;
    static constexpr qint64 kFaultyAnswer = 0x7FFF0002;
    static constexpr qint64 kUnknownError = 0x7FFF0003;
    static constexpr qint64 kTimeout = 0x7FFF0004;
    static constexpr qint64 kHttpError = 0x7FFF0005;
    static constexpr qint64 kTemporaryFileFailed = 0x7FFF0006;

    QString domain;
    qint64 code = 0;
    QString message;

    bool isService() const { return domain == QLatin1String(kServiceDomain); }
};

// What an answer's body says: the "rsp" element's dictionary when its "stat" is "ok",
// else the error it carries.
struct FlickrAnswer {
    bool ok = false;
    // The "rsp" element's dictionary, on success.
    QVariantMap response;
    FlickrError error;

    static FlickrAnswer fromData(const QByteArray& body);
};

}  // namespace lumigrave::sharing
