#include "sharing/flickr/flickr_api_context.h"

#include <QCryptographicHash>

#include "sharing/share_configuration.h"

namespace lumigrave::sharing {

namespace {

// The base address with its trailing slashes taken off, then the endpoint's own slash:
// a deployment may write either form.
QUrl under(QString base) {
    while (base.endsWith(QLatin1Char('/'))) {
        base.chop(1);
    }
    return QUrl(base + QLatin1Char('/'), QUrl::StrictMode);
}

QString escaped(const QString& text) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

}  // namespace

FlickrAPIContext::FlickrAPIContext() {
    const ShareConfiguration& configuration = ShareConfiguration::sharedInstance();
    key_ = configuration.stringValue(QStringLiteral("flickrConsumerKey"));
    sharedSecret_ = configuration.stringValue(QStringLiteral("flickrSecretKey"));
    setEndpoints(configuration.stringValue(QStringLiteral("flickrAPIURL")),
                 configuration.stringValue(QStringLiteral("flickrAuthURL")),
                 configuration.stringValue(QStringLiteral("flickrUploadURL")));
}

FlickrAPIContext::FlickrAPIContext(const QString& key, const QString& sharedSecret)
    : key_(key), sharedSecret_(sharedSecret) {
    const ShareConfiguration& configuration = ShareConfiguration::sharedInstance();
    setEndpoints(configuration.stringValue(QStringLiteral("flickrAPIURL")),
                 configuration.stringValue(QStringLiteral("flickrAuthURL")),
                 configuration.stringValue(QStringLiteral("flickrUploadURL")));
}

void FlickrAPIContext::setEndpoints(const QString& api, const QString& auth,
                                    const QString& upload) {
    restEndpoint_ = under(api).resolved(QUrl(QStringLiteral("rest/")));
    authEndpoint_ = under(auth);
    uploadEndpoint_ = under(upload);
    // Neither is called by the client; they only name where photos show.
    photoSource_ = QUrl(QStringLiteral("https://farm.static.flickr.com/"));
    photoWebPage_ = QUrl(QStringLiteral("https://www.flickr.com/photos/"));
}

QUrl FlickrAPIContext::loginURLFromFrobDictionary(const QVariantMap& frobDictionary,
                                                  const QString& requestedPermission) const {
    FlickrArguments arguments{{QStringLiteral("perms"), requestedPermission}};
    const QVariant frob = frobDictionary.value(QStringLiteral("frob"));
    const QString frobText = frob.typeId() == QMetaType::QVariantMap
                                 ? frob.toMap().value(QStringLiteral("_text")).toString()
                                 : frob.toString();
    if (!frobText.isEmpty()) {
        arguments.insert(QStringLiteral("frob"), frobText);
    }
    QUrl url = authEndpoint_;
    url.setQuery(signedQueryFromArguments(arguments), QUrl::StrictMode);
    return url;
}

QString FlickrAPIContext::signedQueryFromArguments(const FlickrArguments& arguments) const {
    QStringList pairs;
    for (const auto& [name, value] : signedArgumentComponentsFromArguments(arguments, true)) {
        pairs << name + QLatin1Char('=') + value;
    }
    return pairs.join(QLatin1Char('&'));
}

QList<QPair<QString, QString>> FlickrAPIContext::signedArgumentComponentsFromArguments(
    const FlickrArguments& arguments, bool useURIEscape) const {
    FlickrArguments all = arguments;
    all.insert(QStringLiteral("api_key"), key_);
    if (!authToken_.isEmpty()) {
        all.insert(QStringLiteral("auth_token"), authToken_);
    }
    all.remove(QStringLiteral("api_sig"));
    all.insert(QStringLiteral("api_sig"), signatureOf(all));
    QList<QPair<QString, QString>> components;
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        if (it.key() != QLatin1String("api_sig")) {
            components.append({useURIEscape ? escaped(it.key()) : it.key(),
                               useURIEscape ? escaped(it.value()) : it.value()});
        }
    }
    components.append({QStringLiteral("api_sig"), all.value(QStringLiteral("api_sig"))});
    return components;
}

QString FlickrAPIContext::signatureOf(const FlickrArguments& arguments) const {
    QByteArray text = sharedSecret_.toUtf8();
    for (auto it = arguments.cbegin(); it != arguments.cend(); ++it) {
        text += it.key().toUtf8() + it.value().toUtf8();
    }
    return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex());
}

}  // namespace lumigrave::sharing
