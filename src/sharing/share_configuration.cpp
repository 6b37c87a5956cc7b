#include "sharing/share_configuration.h"

#include <QDebug>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <functional>
#include <optional>
#include <vector>

namespace lumigrave::sharing {

namespace {

using Configurator = DefaultShareConfigurator;

// What a deployment file may hold for a setting. Keyed settings take an argument and
// come from the configurator alone.
enum class Form { Text, Address, Boolean, Integer, Real, List, Keyed };

struct Setting {
    QString name;
    Form form;
    std::function<QVariant(const Configurator&, const QVariant& withObject)> read;
};

template <typename T>
Setting plain(const char* name, Form form, T (Configurator::*member)() const) {
    return {QString::fromLatin1(name), form,
            [member](const Configurator& c, const QVariant&) { return QVariant((c.*member)()); }};
}

const std::vector<Setting>& settings() {
    using C = Configurator;
    static const std::vector<Setting> table = {
        plain("appName", Form::Text, &C::appName),
        plain("appURL", Form::Address, &C::appURL),
        plain("facebookAppId", Form::Text, &C::facebookAppId),
        plain("facebookLocalAppId", Form::Text, &C::facebookLocalAppId),
        plain("vkontakteAppId", Form::Text, &C::vkontakteAppId),
        plain("readItLaterKey", Form::Text, &C::readItLaterKey),
        plain("diigoKey", Form::Text, &C::diigoKey),
        plain("forcePreIOS5TwitterAccess", Form::Boolean, &C::forcePreIOS5TwitterAccess),
        plain("twitterConsumerKey", Form::Text, &C::twitterConsumerKey),
        plain("twitterSecret", Form::Text, &C::twitterSecret),
        plain("twitterCallbackUrl", Form::Address, &C::twitterCallbackUrl),
        plain("twitterUseXAuth", Form::Integer, &C::twitterUseXAuth),
        plain("twitterUsername", Form::Text, &C::twitterUsername),
        plain("evernoteUserStoreURL", Form::Address, &C::evernoteUserStoreURL),
        plain("evernoteNetStoreURLBase", Form::Address, &C::evernoteNetStoreURLBase),
        plain("evernoteConsumerKey", Form::Text, &C::evernoteConsumerKey),
        plain("evernoteSecret", Form::Text, &C::evernoteSecret),
        plain("flickrConsumerKey", Form::Text, &C::flickrConsumerKey),
        plain("flickrSecretKey", Form::Text, &C::flickrSecretKey),
        plain("flickrCallbackUrl", Form::Address, &C::flickrCallbackUrl),
        plain("bitLyLogin", Form::Text, &C::bitLyLogin),
        plain("bitLyKey", Form::Text, &C::bitLyKey),
        plain("linkedInConsumerKey", Form::Text, &C::linkedInConsumerKey),
        plain("linkedInSecret", Form::Text, &C::linkedInSecret),
        plain("linkedInCallbackUrl", Form::Address, &C::linkedInCallbackUrl),
        plain("readabilityConsumerKey", Form::Text, &C::readabilityConsumerKey),
        plain("readabilitySecret", Form::Text, &C::readabilitySecret),
        plain("readabilityUseXAuth", Form::Integer, &C::readabilityUseXAuth),
        plain("foursquareV2ClientId", Form::Text, &C::foursquareV2ClientId),
        plain("foursquareV2RedirectURI", Form::Address, &C::foursquareV2RedirectURI),
        plain("facebookGraphURL", Form::Address, &C::facebookGraphURL),
        plain("facebookDialogURL", Form::Address, &C::facebookDialogURL),
        plain("readItLaterURL", Form::Address, &C::readItLaterURL),
        plain("bitLyURL", Form::Address, &C::bitLyURL),
        plain("twitterAPIURL", Form::Address, &C::twitterAPIURL),
        plain("twitterImageHostURL", Form::Address, &C::twitterImageHostURL),
        plain("linkedInAPIURL", Form::Address, &C::linkedInAPIURL),
        plain("flickrAPIURL", Form::Address, &C::flickrAPIURL),
        plain("flickrAuthURL", Form::Address, &C::flickrAuthURL),
        plain("flickrUploadURL", Form::Address, &C::flickrUploadURL),
        {QStringLiteral("barTintForView"), Form::Keyed,
         [](const C& c, const QVariant& with) {
             return QVariant(c.barTintForView(with.toString()));
         }},
        plain("defaultFavoriteURLSharers", Form::List, &C::defaultFavoriteURLSharers),
        plain("defaultFavoriteImageSharers", Form::List, &C::defaultFavoriteImageSharers),
        plain("defaultFavoriteTextSharers", Form::List, &C::defaultFavoriteTextSharers),
        {QStringLiteral("defaultFavoriteSharersForMimeType"), Form::Keyed,
         [](const C& c, const QVariant& with) {
             return QVariant(c.defaultFavoriteSharersForMimeType(with.toString()));
         }},
        plain("allowOffline", Form::Boolean, &C::allowOffline),
        plain("allowAutoShare", Form::Boolean, &C::allowAutoShare),
        plain("autoOrderFavoriteSharers", Form::Boolean, &C::autoOrderFavoriteSharers),
        plain("maxFavCount", Form::Integer, &C::maxFavCount),
        plain("FormControllerSubclass", Form::Text, &C::FormControllerSubclass),
        plain("sharersPlistName", Form::Text, &C::sharersPlistName),
        plain("authPrefix", Form::Text, &C::authPrefix),
        plain("favsPrefixKey", Form::Text, &C::favsPrefixKey),
        plain("printOutputType", Form::Integer, &C::printOutputType),
        plain("mailToRecipients", Form::List, &C::mailToRecipients),
        plain("isMailHTML", Form::Boolean, &C::isMailHTML),
        plain("mailJPGQuality", Form::Real, &C::mailJPGQuality),
        plain("sharedWithSignature", Form::Boolean, &C::sharedWithSignature),
        plain("facebookURLShareDescription", Form::Text, &C::facebookURLShareDescription),
        plain("facebookURLSharePictureURI", Form::Text, &C::facebookURLSharePictureURI),
        plain("textMessageToRecipients", Form::List, &C::textMessageToRecipients),
        plain("popOverSourceRect", Form::Text, &C::popOverSourceRect),
    };
    return table;
}

const Setting* findSetting(const QString& name) {
    for (const Setting& setting : settings()) {
        if (setting.name == name) {
            return &setting;
        }
    }
    return nullptr;
}

const char* formName(Form form) {
    switch (form) {
        case Form::Text:
            return "a single text";
        case Form::Address:
            return "an address with a scheme";
        case Form::Boolean:
            return "true or false";
        case Form::Integer:
            return "a whole number";
        case Form::Real:
            return "a number";
        case Form::List:
            return "a list";
        case Form::Keyed:
            break;
    }
    return "settable";
}

// The value an INI file gave, in the setting's own type; nothing when it has another form.
// QSettings reads "a, b" as a list and anything else as one string.
std::optional<QVariant> deployedValue(Form form, const QVariant& raw) {
    const bool isText = raw.typeId() == QMetaType::QString;
    const QString text = raw.toString().trimmed();
    switch (form) {
        case Form::Text:
            return isText ? std::optional<QVariant>(raw.toString()) : std::nullopt;
        case Form::Address: {
            const QUrl url(text, QUrl::StrictMode);
            if (!isText || !url.isValid() || url.scheme().isEmpty()) {
                return std::nullopt;
            }
            return QVariant(text);
        }
        case Form::Boolean: {
            if (!isText) {
                return std::nullopt;
            }
            const QString word = text.toLower();
            if (word == QLatin1String("true") || word == QLatin1String("yes") ||
                word == QLatin1String("1")) {
                return QVariant(true);
            }
            if (word == QLatin1String("false") || word == QLatin1String("no") ||
                word == QLatin1String("0")) {
                return QVariant(false);
            }
            return std::nullopt;
        }
        case Form::Integer: {
            bool ok = false;
            const int value = text.toInt(&ok);
            return isText && ok ? std::optional<QVariant>(value) : std::nullopt;
        }
        case Form::Real: {
            bool ok = false;
            const double value = text.toDouble(&ok);
            return isText && ok ? std::optional<QVariant>(value) : std::nullopt;
        }
        case Form::List: {
            if (raw.typeId() == QMetaType::QStringList) {
                return QVariant(raw.toStringList());
            }
            if (!isText) {
                return std::nullopt;
            }
            return QVariant(text.isEmpty() ? QStringList() : QStringList{text});
        }
        case Form::Keyed:
            break;
    }
    return std::nullopt;
}

std::unique_ptr<ShareConfiguration>& installed() {
    static std::unique_ptr<ShareConfiguration> configuration;
    return configuration;
}

}  // namespace

ShareConfiguration::ShareConfiguration(std::unique_ptr<DefaultShareConfigurator> configurator)
    : configurator_(configurator ? std::move(configurator)
                                 : std::make_unique<DefaultShareConfigurator>()) {}

ShareConfiguration& ShareConfiguration::sharedInstanceWithConfigurator(
    std::unique_ptr<DefaultShareConfigurator> configurator) {
    auto configuration =
        std::unique_ptr<ShareConfiguration>(new ShareConfiguration(std::move(configurator)));
    configuration->readDeploymentFiles();
    installed() = std::move(configuration);
    return *installed();
}

ShareConfiguration& ShareConfiguration::sharedInstance() {
    if (!installed()) {
        return sharedInstanceWithConfigurator(nullptr);
    }
    return *installed();
}

QVariant ShareConfiguration::configurationValue(const QString& key,
                                                const QVariant& withObject) const {
    const Setting* setting = findSetting(key);
    if (!setting) {
        qWarning().noquote() << "No sharing setting is named" << key;
        return {};
    }
    const auto deployed = deployed_.constFind(key);
    if (deployed != deployed_.cend()) {
        return *deployed;
    }
    return setting->read(*configurator_, withObject);
}

QString ShareConfiguration::stringValue(const QString& key) const {
    return configurationValue(key).toString();
}

bool ShareConfiguration::boolValue(const QString& key) const {
    return configurationValue(key).toBool();
}

QStringList ShareConfiguration::listValue(const QString& key, const QVariant& withObject) const {
    return configurationValue(key, withObject).toStringList();
}

QColor ShareConfiguration::barTintForView(const QString& controllerClassName) const {
    return configurator_->barTintForView(controllerClassName);
}

QStringList ShareConfiguration::deployableSettingNames() {
    QStringList names;
    for (const Setting& setting : settings()) {
        if (setting.form != Form::Keyed) {
            names << setting.name;
        }
    }
    return names;
}

void ShareConfiguration::readDeploymentFiles() {
    // locateAll lists the user's directory first; reading the system's first lets the
    // user's values replace them.
    const QStringList files = QStandardPaths::locateAll(QStandardPaths::GenericConfigLocation,
                                                        QStringLiteral("lumigrave/sharing.ini"));
    for (auto file = files.crbegin(); file != files.crend(); ++file) {
        readDeploymentFile(*file);
    }
}

void ShareConfiguration::readDeploymentFile(const QString& path) {
    QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError) {
        qWarning().noquote() << "The sharing settings file" << path
                             << "cannot be read; its settings are ignored";
        return;
    }
    const QString group = QStringLiteral("sharing");
    QStringList keys;
    for (const QString& key : file.childKeys()) {
        keys << key;
    }
    for (const QString& key : file.allKeys()) {
        if (key.startsWith(group + QLatin1Char('/'))) {
            keys << key;
        }
    }
    // Top-level keys come first, so that the [sharing] group wins within the file.
    for (const QString& key : keys) {
        const QString name =
            key.startsWith(group + QLatin1Char('/')) ? key.mid(group.size() + 1) : key;
        const Setting* setting = findSetting(name);
        if (!setting || setting->form == Form::Keyed) {
            qWarning().noquote() << "The sharing settings file" << path << "names" << name
                                 << "which is no setting it can set; ignored";
            continue;
        }
        const std::optional<QVariant> value = deployedValue(setting->form, file.value(key));
        if (!value) {
            qWarning().noquote() << "The sharing setting" << name << "in" << path << "is not"
                                 << formName(setting->form) << "- the built-in value stays";
            continue;
        }
        deployed_.insert(name, *value);
    }
}

}  // namespace lumigrave::sharing
