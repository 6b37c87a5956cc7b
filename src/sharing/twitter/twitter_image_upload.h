#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <functional>

#include "sharing/oauth/oauth_request.h"

class QObject;

namespace lumigrave::sharing {

// The photo's upload to Twitter's image host, authenticated by OAuth Echo: the host is
// handed the service's credentials-check address and our signature of a request for it,
// and asks the service itself whether that signature is good. The host's answer (XML
// holding the photo's link) is read by TwitterApi.
class TwitterImageUpload {
  public:
    // POSTs the JPEG and the status to TwitterApi::imageUploadUrl() with the Echo headers
    // "X-Auth-Service-Provider" (credentialsUrl) and "X-Verify-Credentials-Authorization"
    // (echoAuthorization). done is called once on the main thread; a connection that
    // stays silent for timeoutMs is a network failure. Redirects are not followed. When
    // context is given and goes first, done is not called.
    static void upload(const QByteArray& jpeg, const QString& status, const QUrl& credentialsUrl,
                       const QByteArray& echoAuthorization,
                       std::function<void(const OAuthAnswer&)> done, const QObject* context,
                       int timeoutMs = OAuthRequest::kTimeoutMs);
};

}  // namespace lumigrave::sharing
