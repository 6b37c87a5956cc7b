#pragma once

#include <QByteArray>
#include <QUrl>
#include <functional>

class QObject;

namespace lumigrave::sharing {

// Shortens a link through the configured service's "shorten" call (settings "bitLyURL",
// "bitLyLogin", "bitLyKey"), for sharers whose services want short links. Any failure
// (an HTTP error, no answer in time, an answer that is no link) keeps the long link, so
// a share never fails for want of a short one.
class UrlShortener {
  public:
    static constexpr int kTimeoutMs = 10000;

    // Called once, on the main thread, with the short link or the long one.
    using Callback = std::function<void(const QUrl& url)>;

    // Asks the service and calls done with the result. When context is given and goes
    // first, done is not called.
    static void shorten(const QUrl& longUrl, Callback done, const QObject* context = nullptr,
                        int timeoutMs = kTimeoutMs);

    // The request for longUrl: the configured base address, "/shorten", and the query
    // login, apikey, longUrl and format=txt.
    static QUrl requestUrl(const QUrl& longUrl);
    // What the service's answer makes of longUrl: the answer's link when the status is
    // 200 and the body is an http(s) link; the long link for anything else, and for
    // "ALREADY_A_BITLY_LINK".
    static QUrl resultForAnswer(const QUrl& longUrl, int httpStatus, const QByteArray& body);
};

}  // namespace lumigrave::sharing
