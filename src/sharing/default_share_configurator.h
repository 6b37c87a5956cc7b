#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

namespace lumigrave::sharing {

// The sharing library's settings with the library's own values. An application derives
// from it and overrides the settings it fills in; ShareConfiguration reads them by name.
// Keys, secrets and ids are empty here: they belong to the application or the deployment.
// The OAuth callback addresses are set: the authorization page catches them before they
// load, so any address does that no site answers (the .test domain never resolves).
// The base addresses are the services' public ones; a deployment file can point each one
// elsewhere (tests point them at 127.0.0.1).
class DefaultShareConfigurator {
  public:
    virtual ~DefaultShareConfigurator() = default;

    // The application.
    virtual QString appName() const { return {}; }
    virtual QString appURL() const { return {}; }

    // Service keys, secrets, ids and callback addresses.
    virtual QString facebookAppId() const { return {}; }
    virtual QString facebookLocalAppId() const { return {}; }
    virtual QString vkontakteAppId() const { return {}; }
    virtual QString readItLaterKey() const { return {}; }
    virtual QString diigoKey() const { return {}; }
    virtual bool forcePreIOS5TwitterAccess() const { return false; }
    virtual QString twitterConsumerKey() const { return {}; }
    virtual QString twitterSecret() const { return {}; }
    virtual QString twitterCallbackUrl() const;
    virtual int twitterUseXAuth() const { return 0; }
    virtual QString twitterUsername() const { return {}; }
    virtual QString evernoteUserStoreURL() const { return {}; }
    virtual QString evernoteNetStoreURLBase() const { return {}; }
    virtual QString evernoteConsumerKey() const { return {}; }
    virtual QString evernoteSecret() const { return {}; }
    virtual QString flickrConsumerKey() const { return {}; }
    virtual QString flickrSecretKey() const { return {}; }
    virtual QString flickrCallbackUrl() const { return {}; }
    virtual QString bitLyLogin() const { return {}; }
    virtual QString bitLyKey() const { return {}; }
    virtual QString linkedInConsumerKey() const { return {}; }
    virtual QString linkedInSecret() const { return {}; }
    virtual QString linkedInCallbackUrl() const;
    virtual QString readabilityConsumerKey() const { return {}; }
    virtual QString readabilitySecret() const { return {}; }
    virtual int readabilityUseXAuth() const { return 0; }
    virtual QString foursquareV2ClientId() const { return {}; }
    virtual QString foursquareV2RedirectURI() const { return {}; }

    // The services' base addresses. Each client appends its own paths.
    virtual QString facebookGraphURL() const;
    virtual QString facebookDialogURL() const;
    virtual QString readItLaterURL() const;
    virtual QString bitLyURL() const;
    virtual QString twitterAPIURL() const;
    virtual QString twitterImageHostURL() const;
    virtual QString linkedInAPIURL() const;
    virtual QString flickrAPIURL() const;
    virtual QString flickrAuthURL() const;
    virtual QString flickrUploadURL() const;

    // The bar colour of a sharer's screens, by the class name of the controller about to
    // be shown; an invalid colour keeps the library's default.
    virtual QColor barTintForView(const QString& controllerClassName) const;

    // Favourites offered before the user has shared anything, by share type.
    virtual QStringList defaultFavoriteURLSharers() const;
    virtual QStringList defaultFavoriteImageSharers() const;
    virtual QStringList defaultFavoriteTextSharers() const;
    virtual QStringList defaultFavoriteSharersForMimeType(const QString& mimeType) const;

    // The workflow.
    virtual bool allowOffline() const { return true; }
    virtual bool allowAutoShare() const { return true; }
    virtual bool autoOrderFavoriteSharers() const { return true; }
    virtual int maxFavCount() const { return 3; }
    virtual QString FormControllerSubclass() const;
    virtual QString sharersPlistName() const;
    virtual QString authPrefix() const;
    virtual QString favsPrefixKey() const;

    // What a new share item starts with.
    virtual int printOutputType() const { return 0; }
    virtual QStringList mailToRecipients() const { return {}; }
    virtual bool isMailHTML() const { return true; }
    virtual double mailJPGQuality() const { return 1.0; }
    virtual bool sharedWithSignature() const { return false; }
    virtual QString facebookURLShareDescription() const { return {}; }
    virtual QString facebookURLSharePictureURI() const { return {}; }
    virtual QStringList textMessageToRecipients() const { return {}; }
    // A rectangle in its string form, "{{x, y}, {width, height}}".
    virtual QString popOverSourceRect() const;
};

}  // namespace lumigrave::sharing
