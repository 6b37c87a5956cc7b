#include "app/share/share_configurator.h"

#include "platform/bundle.h"

namespace lumigrave {

QString ShareConfigurator::facebookAppId() {
    return QStringLiteral(LUMIGRAVE_FACEBOOK_APP_ID);
}

QString ShareConfigurator::applicationScheme() {
    return Bundle::infoValue(QStringLiteral("CFBundleName")).toLower();
}

QVariantMap ShareConfigurator::settings() const {
    return {{QStringLiteral("facebookAppId"), facebookAppId()},
            {QStringLiteral("appName"), Bundle::infoValue(QStringLiteral("CFBundleDisplayName"))}};
}

}  // namespace lumigrave
