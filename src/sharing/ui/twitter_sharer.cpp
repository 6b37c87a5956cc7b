#include "sharing/ui/twitter_sharer.h"

#include <QDebug>

#include "platform/user_defaults.h"
#include "sharing/share_configuration.h"
#include "sharing/twitter/twitter_api.h"
#include "sharing/twitter/twitter_image_upload.h"

namespace lumigrave::sharing {

const QString TwitterSharer::kStatusKey = QStringLiteral("status");
const QString TwitterSharer::kUserInfoKey = QStringLiteral("kTwitterSharerUserInfo");

TwitterSharer::TwitterSharer() {
    const ShareConfiguration& settings = ShareConfiguration::sharedInstance();
    setOAuthSettings(settings.stringValue(QStringLiteral("twitterConsumerKey")),
                     settings.stringValue(QStringLiteral("twitterSecret")),
                     settings.stringValue(QStringLiteral("twitterCallbackUrl")),
                     TwitterApi::authorizeUrl(), TwitterApi::requestTokenUrl(),
                     TwitterApi::accessTokenUrl());
}

void TwitterSharer::prepareItem() {
    item().setCustomValue(TwitterApi::statusForItem(item()), kStatusKey);
}

void TwitterSharer::show() {
    prepareItem();
    showTwitterForm();
}

void TwitterSharer::showTwitterForm() {
    auto* form = new LargeTextFormController(this, sharerTitle());
    form->setText(item().customValueForKey(kStatusKey));
    form->setMaxTextLength(TwitterApi::kMaxStatusLength);
    if (!item().image().isNull()) {
        form->setImage(item().image().pixels(), TwitterApi::kImageLinkReserve);
    }
    form->setBarTint(ShareConfiguration::sharedInstance().barTintForView(sharerId()));
    form_ = form;
    pushScreen(form);
}

void TwitterSharer::largeTextFormSend(LargeTextFormController& form) {
    item().setCustomValue(form.text(), kStatusKey);
    hideModally();
    if (!tryToSend()) {
        end();
    }
}

void TwitterSharer::largeTextFormCancel(LargeTextFormController& form) {
    Q_UNUSED(form);
    sendDidCancel();
}

bool TwitterSharer::validateItem() const {
    return Sharer::validateItem() &&
           TwitterApi::isValidStatus(item().customValueForKey(kStatusKey));
}

bool TwitterSharer::send() {
    if (!validateItem()) {
        return false;
    }
    // Reported once, before the photo is encoded: a failure there ends the share.
    sendDidStart();
    if (item().shareType() == ShareTypeImage) {
        sendImage();
    } else {
        sendStatus();
    }
    return true;
}

void TwitterSharer::sendStatus() {
    OAuthRequest request = signedRequest(TwitterApi::statusUpdateUrl());
    request.setParameters({{kStatusKey, item().customValueForKey(kStatusKey)}});
    request.send(
        [this](const OAuthAnswer& answer) {
            if (answer.succeeded()) {
                qInfo().noquote() << "Posted the status to Twitter";
                sendDidFinish();
            } else if (answer.networkFailed) {
                failWithNetworkError(answer);
            } else {
                handleUnsuccessfulTicket(answer.body);
            }
        },
        this);
}

void TwitterSharer::sendImage() {
    // OAuth Echo: the image host asks the service itself whether this signature of a
    // credentials check is ours.
    OAuthRequest check =
        signedRequest(TwitterApi::verifyCredentialsUrl(), TwitterApi::apiRoot().toString());
    check.setMethod("GET");
    const QImage pixels = item().image().uprightPixels();
    const QByteArray jpeg =
        TwitterApi::fitJpeg([&pixels](int quality) { return TwitterApi::jpeg(pixels, quality); });
    if (jpeg.isEmpty()) {
        sendDidFailWithError(
            ShareCenter::error(QStringLiteral("The photo could not be prepared for Twitter.")));
        return;
    }
    TwitterImageUpload::upload(
        jpeg, item().customValueForKey(kStatusKey), TwitterApi::verifyCredentialsUrl(),
        check.authorizationHeader(), [this](const OAuthAnswer& answer) { imageAnswered(answer); },
        this);
}

void TwitterSharer::imageAnswered(const OAuthAnswer& answer) {
    if (answer.networkFailed) {
        failWithNetworkError(answer);
        return;
    }
    if (!answer.succeeded()) {
        qInfo().noquote() << "The image host refused the photo: HTTP" << answer.httpStatus;
        // The host refuses a signature the service no longer takes: only a new login
        // helps, as with the status itself.
        if (answer.httpStatus == 401 ||
            TwitterApi::asksForNewLogin(TwitterApi::errorMessage(answer.body), answer.body)) {
            handleUnsuccessfulTicket(answer.body);
        } else {
            sendDidFailWithError(ShareError{});
        }
        return;
    }
    const std::optional<QString> link = TwitterApi::linkFromUploadAnswer(answer.body);
    if (!link) {
        handleUnsuccessfulTicket(answer.body);
        return;
    }
    item().setCustomValue(item().customValueForKey(kStatusKey) + QLatin1Char(' ') + *link,
                          kStatusKey);
    sendStatus();
}

void TwitterSharer::handleUnsuccessfulTicket(const QByteArray& body) {
    const QString message = TwitterApi::errorMessage(body);
    if (TwitterApi::asksForNewLogin(message, body)) {
        qInfo().noquote() << "Twitter no longer takes the stored login; asking again";
        shouldReloginWithPendingAction(PendingRefreshToken);
        return;
    }
    qInfo().noquote() << "Twitter refused the share:" << message;
    sendDidFailWithError(ShareError{QStringLiteral("Twitter"), 2, message});
}

void TwitterSharer::failWithNetworkError(const OAuthAnswer& answer) {
    qInfo().noquote() << "Twitter could not be reached:" << answer.networkError;
    sendDidFailWithError(ShareCenter::error(answer.networkError));
}

void TwitterSharer::logout() {
    OAuthSharer::logout();
    UserDefaults defaults;
    defaults.removeObjectForKey(kUserInfoKey);
    defaults.synchronize();
}

}  // namespace lumigrave::sharing
