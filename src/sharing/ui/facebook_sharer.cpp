#include "sharing/ui/facebook_sharer.h"

#include <QBuffer>
#include <QDateTime>
#include <QDebug>

#include "platform/url_opener.h"
#include "sharing/facebook_graph.h"
#include "sharing/facebook_login.h"

namespace lumigrave::sharing {

const QString FacebookSharer::kAccessTokenKey = QStringLiteral("accessToken");
const QString FacebookSharer::kExpirationDateKey = QStringLiteral("expirationDate");

bool FacebookSharer::isAuthorized() {
    const std::optional<QString> token = authValueForKey(kAccessTokenKey);
    if (!token || token->isEmpty()) {
        return false;
    }
    const std::optional<QString> expiry = authValueForKey(kExpirationDateKey);
    if (!expiry || expiry->isEmpty()) {
        return true;
    }
    const QDateTime ends = QDateTime::fromString(*expiry, Qt::ISODate);
    // An expiry that cannot be read is taken as passed: a new login costs less than a
    // share refused later.
    return ends.isValid() && ends > QDateTime::currentDateTimeUtc();
}

void FacebookSharer::promptAuthorization() {
    if (!ShareCenter::connected()) {
        Sharer::promptAuthorization();
        return;
    }
    if (isQuiet()) {
        // A share sent in the background never opens a browser; it is dropped as any
        // queued share whose sharer is logged out.
        end();
        return;
    }
    if (!saveItemForLater(PendingShare)) {
        // Said to the user even when this is a login asked for again.
        setPendingAction(PendingNone);
        sendDidFailWithError(ShareCenter::error(
            QStringLiteral("The share could not be kept while you log in to Facebook.")));
        return;
    }
    const QUrl dialog = FacebookLogin::dialogUrl();
    if (!UrlOpener::openURL(dialog)) {
        // Nothing will come back: the kept item goes now.
        restoreItem();
        setPendingAction(PendingNone);
        sendDidFailWithError(
            ShareCenter::error(QStringLiteral("No web browser could open the Facebook login at %1.")
                                   .arg(dialog.host())));
        return;
    }
    qInfo().noquote() << "Facebook login opened in the browser at" << dialog.host();
    end();
}

QList<FormFieldSettings> FacebookSharer::shareFormFieldsForType(ShareType type) const {
    if (type != ShareTypeImage) {
        return Sharer::shareFormFieldsForType(type);
    }
    return {FormFieldSettings(QStringLiteral("Title"), QStringLiteral("title"),
                              FormFieldSettings::Type::Text, item().title())};
}

bool FacebookSharer::send() {
    if (!validateItem()) {
        return false;
    }
    const QString token = authValueForKey(kAccessTokenKey).value_or(QString());
    if (token.isEmpty()) {
        shouldReloginWithPendingAction(PendingShare);
        return true;
    }
    FacebookGraphRequest request;
    if (item().shareType() == ShareTypeImage) {
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        QString error;
        if (!item().image().write(png, "png", 0, &error)) {
            sendDidFailWithError(ShareCenter::error(
                QStringLiteral("The photo could not be prepared: %1").arg(error)));
            return true;
        }
        request = FacebookGraph::photoUpload(png.data(), item().title(), token);
    } else if (item().shareType() == ShareTypeURL) {
        request = FacebookGraph::linkPost(item().URL(), item().title(),
                                          item().facebookURLShareDescription(),
                                          item().facebookURLSharePictureURI(), token);
    } else {
        return false;
    }
    sendDidStart();
    FacebookGraph::post(
        request, [this](const FacebookGraphAnswer& answer) { answered(answer); }, this);
    return true;
}

void FacebookSharer::answered(const FacebookGraphAnswer& answer) {
    switch (answer.outcome) {
        case FacebookGraphAnswer::Outcome::Posted:
            qInfo().noquote() << "Posted to Facebook as" << answer.id;
            sendDidFinish();
            break;
        case FacebookGraphAnswer::Outcome::TokenRejected:
            qInfo().noquote() << "Facebook no longer takes the stored login; asking again";
            forgetToken();
            shouldReloginWithPendingAction(PendingShare);
            break;
        case FacebookGraphAnswer::Outcome::Failed:
            sendDidFailWithError(ShareCenter::error(answer.message));
            break;
    }
}

void FacebookSharer::forgetToken() {
    removeAuthValueForKey(kAccessTokenKey);
    removeAuthValueForKey(kExpirationDateKey);
}

bool FacebookSharer::handleOpenURL(const QUrl& url) {
    // Only the scheme our dialog answers on may hand us a token.
    const FacebookLoginAnswer answer = FacebookLogin::isOnLoginScheme(url)
                                           ? FacebookLogin::parseRedirect(url)
                                           : FacebookLoginAnswer{};
    if (answer.kind == FacebookLoginAnswer::Kind::NotALogin) {
        qInfo().noquote() << "A URL on" << url.scheme() << "that answers no Facebook login";
        return false;
    }
    auto* sharer = new FacebookSharer;
    if (answer.kind == FacebookLoginAnswer::Kind::Error) {
        qInfo().noquote() << "The Facebook login ended without a token:" << answer.error;
        // The share that waited is dropped with its attachments.
        sharer->restoreItem();
        sharer->setPendingAction(PendingNone);
        sharer->authDidFinish(false);
        sharer->end();
        return true;
    }
    const QString expiry =
        answer.expiresIn
            ? FacebookLogin::expiryFrom(QDateTime::currentDateTimeUtc(), *answer.expiresIn)
                  .toString(Qt::ISODate)
            : QString();
    const bool kept = sharer->setAuthValue(answer.accessToken, kAccessTokenKey) &&
                      (expiry.isEmpty() ? (sharer->removeAuthValueForKey(kExpirationDateKey), true)
                                        : sharer->setAuthValue(expiry, kExpirationDateKey));
    const bool waiting = sharer->restoreItem();
    if (!kept) {
        // Going on would only open the login again.
        sharer->forgetToken();
        sharer->setPendingAction(PendingNone);
        sharer->authDidFinish(false);
        sharer->sendDidFailWithError(
            ShareCenter::error(QStringLiteral("Your Facebook login could not be kept.")));
        return true;
    }
    qInfo().noquote() << "Logged in to Facebook"
                      << (expiry.isEmpty() ? QStringLiteral("with no expiry")
                                           : QStringLiteral("until ") + expiry);
    sharer->authDidFinish(true);
    if (!waiting || sharer->pendingAction() == PendingNone) {
        qInfo().noquote() << "No share was waiting for the Facebook login";
        sharer->end();
        return true;
    }
    sharer->tryPendingAction();
    return true;
}

}  // namespace lumigrave::sharing
