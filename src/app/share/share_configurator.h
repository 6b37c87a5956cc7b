#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include "sharing/default_share_configurator.h"

namespace lumigrave {

// The application's settings for the sharing library. The keys, secrets, ids and
// addresses here are placeholders of the services' own forms and lengths: the real ones
// belong to the deployment, which sets them in a sharing.ini (see ShareConfiguration).
// The Facebook id also names the URL scheme a Facebook login returns on, so it comes
// from the build, which registers that scheme in the desktop file.
class ShareConfigurator : public sharing::DefaultShareConfigurator {
  public:
    // The application's own URL scheme: its name in lower case.
    static QString applicationScheme();

    QString appName() const override;
    QString appURL() const override;
    QString facebookAppId() const override;
    QString facebookLocalAppId() const override;
    QString vkontakteAppId() const override;
    QString readItLaterKey() const override;
    QString diigoKey() const override;
    bool forcePreIOS5TwitterAccess() const override;
    QString twitterConsumerKey() const override;
    QString twitterSecret() const override;
    QString twitterCallbackUrl() const override;
    int twitterUseXAuth() const override;
    QString twitterUsername() const override;
    QString evernoteUserStoreURL() const override;
    QString evernoteNetStoreURLBase() const override;
    QString evernoteConsumerKey() const override;
    QString evernoteSecret() const override;
    QString flickrConsumerKey() const override;
    QString flickrSecretKey() const override;
    QString flickrCallbackUrl() const override;
    QString bitLyLogin() const override;
    QString bitLyKey() const override;
    QString linkedInConsumerKey() const override;
    QString linkedInSecret() const override;
    QString linkedInCallbackUrl() const override;
    QString readabilityConsumerKey() const override;
    QString readabilitySecret() const override;
    int readabilityUseXAuth() const override;
    QString foursquareV2ClientId() const override;
    QString foursquareV2RedirectURI() const override;
    QColor barTintForView(const QString& controllerClassName) const override;
    QStringList defaultFavoriteImageSharers() const override;
};

}  // namespace lumigrave
