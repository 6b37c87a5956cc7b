#include "sharing/ui/linkedin_sharer.h"

#include <QDebug>

#include "sharing/linkedin/linkedin_api.h"
#include "sharing/share_configuration.h"

namespace lumigrave::sharing {

LinkedInSharer::LinkedInSharer() {
    const ShareConfiguration& settings = ShareConfiguration::sharedInstance();
    setOAuthSettings(settings.stringValue(QStringLiteral("linkedInConsumerKey")),
                     settings.stringValue(QStringLiteral("linkedInSecret")),
                     settings.stringValue(QStringLiteral("linkedInCallbackUrl")),
                     LinkedInApi::authorizeUrl(), LinkedInApi::requestTokenUrl(),
                     LinkedInApi::accessTokenUrl());
}

bool LinkedInSharer::send() {
    if (!validateItem() || item().shareType() != ShareTypeURL) {
        return false;
    }
    OAuthRequest request = signedRequest(LinkedInApi::shareUrl());
    request.setBody(LinkedInApi::shareContentType(),
                    LinkedInApi::shareBody(item().title(), item().URL()));
    sendDidStart();
    request.send([this](const OAuthAnswer& answer) { answered(answer); }, this);
    return true;
}

void LinkedInSharer::answered(const OAuthAnswer& answer) {
    if (answer.succeeded()) {
        qInfo().noquote() << "Shared the link on LinkedIn";
        sendDidFinish();
        return;
    }
    if (answer.networkFailed) {
        qInfo().noquote() << "LinkedIn could not be reached:" << answer.networkError;
        sendDidFailWithError(ShareCenter::error(answer.networkError));
        return;
    }
    if (answer.httpStatus == 401) {
        qInfo().noquote() << "LinkedIn no longer takes the stored login; asking again";
        shouldReloginWithPendingAction(PendingRefreshToken);
        return;
    }
    const QString message = LinkedInApi::errorMessage(answer.httpStatus, answer.body);
    qInfo().noquote() << "LinkedIn refused the share:" << message;
    sendDidFailWithError(ShareCenter::error(message));
}

}  // namespace lumigrave::sharing
