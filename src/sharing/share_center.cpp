#include "sharing/share_center.h"

#include <QDebug>
#include <QFileInfo>

#include "platform/bundle.h"
#include "platform/keychain.h"
#include "platform/property_list.h"
#include "platform/reachability.h"
#include "platform/user_defaults.h"
#include "sharing/offline_queue.h"
#include "sharing/share_configuration.h"
#include "sharing/share_item.h"

namespace lumigrave::sharing {

namespace {

const QString kExcludedKey = QStringLiteral("ShareExcluded");

const ShareConfiguration& configuration() {
    return ShareConfiguration::sharedInstance();
}

QStringList defaultFavorites(const ShareItem& item) {
    switch (item.shareType()) {
        case ShareTypeURL:
            return configuration().listValue(QStringLiteral("defaultFavoriteURLSharers"));
        case ShareTypeText:
            return configuration().listValue(QStringLiteral("defaultFavoriteTextSharers"));
        case ShareTypeImage:
            return configuration().listValue(QStringLiteral("defaultFavoriteImageSharers"));
        case ShareTypeFile:
            return configuration().listValue(QStringLiteral("defaultFavoriteSharersForMimeType"),
                                             item.mimeType());
        default:
            return {};
    }
}

void store(UserDefaults& defaults, const QString& key, const QStringList& list) {
    defaults.setStringList(key, list);
    defaults.synchronize();
}

QString authService(const QString& sharerId) {
    return configuration().stringValue(QStringLiteral("authPrefix")) + sharerId;
}

}  // namespace

QString ShareCenter::favoritesKeyForItem(const ShareItem& item) {
    const QString prefix = configuration().stringValue(QStringLiteral("favsPrefixKey"));
    if (item.shareType() == ShareTypeFile) {
        return prefix + item.mimeType();
    }
    return prefix + QString::number(int(item.shareType()));
}

std::optional<QStringList> ShareCenter::knownSharers() {
    const QString name = configuration().stringValue(QStringLiteral("sharersPlistName"));
    const QFileInfo file(name);
    const QString path = Bundle::pathForResource(file.completeBaseName(), file.suffix());
    if (path.isEmpty()) {
        qWarning().noquote() << "The sharers list" << name << "is not among the resources";
        return std::nullopt;
    }
    QString error;
    const std::optional<QVariant> root = PropertyList::readFile(path, &error);
    if (!root || root->typeId() != QMetaType::QVariantMap) {
        qWarning().noquote() << "The sharers list" << name << "cannot be read:"
                             << (root ? QStringLiteral("it is not a dictionary of groups") : error);
        return {};
    }
    QStringList sharers;
    const QVariantMap groups = root->toMap();
    for (const QVariant& group : groups) {
        for (const QVariant& sharer : group.toList()) {
            if (sharer.typeId() == QMetaType::QString && !sharers.contains(sharer.toString())) {
                sharers << sharer.toString();
            }
        }
    }
    return sharers;
}

QStringList ShareCenter::favoriteSharersForItem(const ShareItem& item) {
    UserDefaults defaults;
    const QString key = favoritesKeyForItem(item);
    QStringList favorites;
    if (defaults.hasObjectForKey(key)) {
        favorites = defaults.stringListForKey(key);
    } else {
        favorites = defaultFavorites(item);
        store(defaults, key, favorites);
    }
    // Without the sharers list nothing can be told unknown; the user's favourites stay.
    if (const std::optional<QStringList> known = knownSharers()) {
        QStringList listed;
        for (const QString& sharer : favorites) {
            if (known->contains(sharer)) {
                listed << sharer;
            }
        }
        if (listed != favorites) {
            favorites = listed;
            store(defaults, key, favorites);
        }
    }
    const QStringList excluded = defaults.stringListForKey(kExcludedKey);
    QStringList included;
    for (const QString& sharer : favorites) {
        if (!excluded.contains(sharer)) {
            included << sharer;
        }
    }
    if (included != favorites) {
        favorites = included;
        store(defaults, key, favorites);
    }
    return favorites;
}

void ShareCenter::pushOnFavorites(const QString& sharerId, const ShareItem& item) {
    if (!configuration().boolValue(QStringLiteral("autoOrderFavoriteSharers"))) {
        return;
    }
    UserDefaults defaults;
    if (defaults.stringListForKey(kExcludedKey).contains(sharerId)) {
        return;
    }
    QStringList favorites = favoriteSharersForItem(item);
    favorites.removeAll(sharerId);
    favorites.prepend(sharerId);
    const int cap =
        std::max(0, configuration().configurationValue(QStringLiteral("maxFavCount")).toInt());
    while (favorites.size() > cap) {
        favorites.removeLast();
    }
    store(defaults, favoritesKeyForItem(item), favorites);
}

std::optional<QString> ShareCenter::getAuthValueForKey(const QString& key, const QString& sharerId,
                                                       QString* errorMessage) {
    QString error;
    std::optional<QString> value = Keychain::password(authService(sharerId), key, &error);
    if (errorMessage) {
        *errorMessage = error;
    }
    return value;
}

bool ShareCenter::setAuthValue(const QString& value, const QString& key, const QString& sharerId,
                               QString* errorMessage) {
    QString error;
    const bool stored = Keychain::setPassword(authService(sharerId), key, value, &error);
    if (errorMessage) {
        *errorMessage = error;
    }
    return stored;
}

bool ShareCenter::removeAuthValueForKey(const QString& key, const QString& sharerId,
                                        QString* errorMessage) {
    QString error;
    const bool removed = Keychain::deletePassword(authService(sharerId), key, &error);
    if (errorMessage) {
        *errorMessage = error;
    }
    return removed;
}

bool ShareCenter::addToOfflineQueue(const ShareItem& item, const QString& sharerId,
                                    QString* errorMessage) {
    QString error;
    if (!configuration().boolValue(QStringLiteral("allowOffline"))) {
        error = QStringLiteral("Sharing offline is turned off");
    } else if (OfflineQueue().add(item, sharerId, &error)) {
        return true;
    }
    if (errorMessage) {
        *errorMessage = error;
    }
    return false;
}

bool ShareCenter::connected() {
    return Reachability::connected();
}

ShareError ShareCenter::error(const QString& message) {
    ShareError error;
    error.localizedDescription = message;
    return error;
}

}  // namespace lumigrave::sharing
