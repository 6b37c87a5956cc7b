#include "app/share/share_configurator.h"

#include "platform/bundle.h"

namespace lumigrave {

QString ShareConfigurator::applicationScheme() {
    return Bundle::infoValue(QStringLiteral("CFBundleName")).toLower();
}

QString ShareConfigurator::appName() const {
    return QStringLiteral("Lumigrave");
}

QString ShareConfigurator::appURL() const {
    return QStringLiteral("http://mm-apps.test/Lumigrave/");
}

QString ShareConfigurator::facebookAppId() const {
    return QStringLiteral(LUMIGRAVE_FACEBOOK_APP_ID);
}

QString ShareConfigurator::facebookLocalAppId() const {
    return {};
}

QString ShareConfigurator::vkontakteAppId() const {
    return QStringLiteral("1234567");
}

QString ShareConfigurator::readItLaterKey() const {
    return QStringLiteral("PlaceholderReadItLaterKey0123456");
}

QString ShareConfigurator::diigoKey() const {
    return QStringLiteral("0123456789abcdef");
}

bool ShareConfigurator::forcePreIOS5TwitterAccess() const {
    return true;
}

QString ShareConfigurator::twitterConsumerKey() const {
    return QStringLiteral("PlaceholderTwitterKey");
}

QString ShareConfigurator::twitterSecret() const {
    return QStringLiteral("PlaceholderTwitterSecret012345678901234");
}

QString ShareConfigurator::twitterCallbackUrl() const {
    return QStringLiteral("http://mm-apps.test/tw/cb");
}

int ShareConfigurator::twitterUseXAuth() const {
    return 0;
}

QString ShareConfigurator::twitterUsername() const {
    return {};
}

QString ShareConfigurator::evernoteUserStoreURL() const {
    return QStringLiteral("https://sandbox.evernote.com/edam/user");
}

QString ShareConfigurator::evernoteNetStoreURLBase() const {
    return QStringLiteral("http://sandbox.evernote.com/edam/note/");
}

QString ShareConfigurator::evernoteConsumerKey() const {
    return QStringLiteral("lumigrave");
}

QString ShareConfigurator::evernoteSecret() const {
    return QStringLiteral("fedcba9876543210");
}

QString ShareConfigurator::flickrConsumerKey() const {
    return QStringLiteral("0123456789abcdef0123456789abcdef");
}

QString ShareConfigurator::flickrSecretKey() const {
    return QStringLiteral("0123456789abcdef");
}

QString ShareConfigurator::flickrCallbackUrl() const {
    return applicationScheme() + QStringLiteral("://flickrcb");
}

QString ShareConfigurator::bitLyLogin() const {
    return QStringLiteral("lumig");
}

QString ShareConfigurator::bitLyKey() const {
    return QStringLiteral("R_0123456789abcdef0123456789abcdef");
}

QString ShareConfigurator::linkedInConsumerKey() const {
    return QStringLiteral("placeholder0");
}

QString ShareConfigurator::linkedInSecret() const {
    return QStringLiteral("PlaceholderKey01");
}

QString ShareConfigurator::linkedInCallbackUrl() const {
    return QStringLiteral("http://lumigrave.test/success");
}

QString ShareConfigurator::readabilityConsumerKey() const {
    return QStringLiteral("lumigra");
}

QString ShareConfigurator::readabilitySecret() const {
    return QStringLiteral("PlaceholderReadabilitySecret0123");
}

int ShareConfigurator::readabilityUseXAuth() const {
    return 1;
}

QString ShareConfigurator::foursquareV2ClientId() const {
    return QStringLiteral("PLACEHOLDERFOURSQUARECLIENTID0123456789ABCDEFGHI");
}

QString ShareConfigurator::foursquareV2RedirectURI() const {
    return applicationScheme() + QStringLiteral("://4sq/");
}

QColor ShareConfigurator::barTintForView(const QString& controllerClassName) const {
    if (controllerClassName == QLatin1String("TwitterSharer")) {
        return QColor::fromRgbF(0, 151 / 255.0f, 222 / 255.0f, 1);
    }
    if (controllerClassName == QLatin1String("FacebookSharer")) {
        return QColor::fromRgbF(59 / 255.0f, 89 / 255.0f, 152 / 255.0f, 1);
    }
    return {};
}

QStringList ShareConfigurator::defaultFavoriteImageSharers() const {
    return {QStringLiteral("FacebookSharer"), QStringLiteral("TwitterSharer"),
            QStringLiteral("FlickrSharer")};
}

}  // namespace lumigrave
