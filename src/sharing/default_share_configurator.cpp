#include "sharing/default_share_configurator.h"

namespace lumigrave::sharing {

QString DefaultShareConfigurator::facebookGraphURL() const {
    return QStringLiteral("https://graph.facebook.com");
}

QString DefaultShareConfigurator::facebookDialogURL() const {
    return QStringLiteral("https://www.facebook.com/dialog/oauth");
}

QString DefaultShareConfigurator::readItLaterURL() const {
    return QStringLiteral("https://readitlaterlist.com/v2");
}

QString DefaultShareConfigurator::bitLyURL() const {
    return QStringLiteral("https://api-ssl.bitly.com/v3");
}

QString DefaultShareConfigurator::twitterCallbackUrl() const {
    return QStringLiteral("https://callback.lumigrave.test/twitter");
}

QString DefaultShareConfigurator::linkedInCallbackUrl() const {
    return QStringLiteral("https://callback.lumigrave.test/linkedin");
}

QString DefaultShareConfigurator::twitterAPIURL() const {
    return QStringLiteral("https://api.twitter.com");
}

QString DefaultShareConfigurator::twitterImageHostURL() const {
    return QStringLiteral("https://api.twitpic.com");
}

QString DefaultShareConfigurator::linkedInAPIURL() const {
    return QStringLiteral("https://api.linkedin.com");
}

QString DefaultShareConfigurator::flickrAPIURL() const {
    return QStringLiteral("https://api.flickr.com/services");
}

QString DefaultShareConfigurator::flickrAuthURL() const {
    return QStringLiteral("https://www.flickr.com/services/auth");
}

QString DefaultShareConfigurator::flickrUploadURL() const {
    return QStringLiteral("https://up.flickr.com/services/upload");
}

QColor DefaultShareConfigurator::barTintForView(const QString&) const {
    return {};
}

QStringList DefaultShareConfigurator::defaultFavoriteURLSharers() const {
    return {QStringLiteral("FacebookSharer"), QStringLiteral("TwitterSharer"),
            QStringLiteral("ReadLaterSharer")};
}

QStringList DefaultShareConfigurator::defaultFavoriteImageSharers() const {
    return {QStringLiteral("FacebookSharer"), QStringLiteral("TwitterSharer"),
            QStringLiteral("FlickrSharer")};
}

QStringList DefaultShareConfigurator::defaultFavoriteTextSharers() const {
    return {QStringLiteral("TwitterSharer"), QStringLiteral("FacebookSharer")};
}

QStringList DefaultShareConfigurator::defaultFavoriteSharersForMimeType(const QString&) const {
    return {};
}

QString DefaultShareConfigurator::FormControllerSubclass() const {
    return QStringLiteral("ShareFormController");
}

QString DefaultShareConfigurator::sharersPlistName() const {
    return QStringLiteral("Sharers.plist");
}

QString DefaultShareConfigurator::authPrefix() const {
    return QStringLiteral("SHARE_AUTH_");
}

QString DefaultShareConfigurator::favsPrefixKey() const {
    return QStringLiteral("SHARE_FAVS_");
}

QString DefaultShareConfigurator::popOverSourceRect() const {
    return QStringLiteral("{{0, 0}, {0, 0}}");
}

}  // namespace lumigrave::sharing
