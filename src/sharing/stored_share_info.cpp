#include "sharing/stored_share_info.h"

#include <QDebug>

#include "platform/property_list.h"
#include "platform/user_defaults.h"

namespace lumigrave::sharing {

namespace {

const QString kInfo = QStringLiteral("kShareStoredShareInfo");
const QString kItemKey = QStringLiteral("kShareStoredShareInfo/kShareStoredItem");
const QString kActionKey = QStringLiteral("kShareStoredShareInfo/kShareStoredAction");

// The stored form kept under the entry, when there is a readable one.
std::optional<QVariantMap> savedForm(const UserDefaults& defaults) {
    const QString xml = defaults.stringForKey(kItemKey);
    if (xml.isEmpty()) {
        return std::nullopt;
    }
    QString error;
    const std::optional<QVariant> root = PropertyList::fromXml(xml.toUtf8(), &error);
    if (!root || root->typeId() != QMetaType::QVariantMap) {
        qWarning().noquote() << "The share item kept across a login cannot be read:"
                             << (root ? QStringLiteral("it is not a dictionary") : error);
        return std::nullopt;
    }
    return root->toMap();
}

}  // namespace

void StoredShareInfo::clear() {
    UserDefaults defaults;
    defaults.removeObjectForKey(kInfo);
    defaults.synchronize();
}

bool StoredShareInfo::saveItemForLater(const ShareItem& item, int pendingAction,
                                       QString* errorMessage) {
    UserDefaults defaults;
    const std::optional<QVariantMap> earlier = savedForm(defaults);
    const std::optional<QVariantMap> stored = item.dictionaryRepresentation(errorMessage);
    if (!stored) {
        return false;
    }
    const QByteArray xml = PropertyList::toXml(*stored, errorMessage);
    if (xml.isEmpty()) {
        ShareItem::deleteAttachments(*stored);
        return false;
    }
    defaults.setString(kItemKey, QString::fromUtf8(xml));
    defaults.setInteger(kActionKey, pendingAction);
    if (!defaults.synchronize()) {
        *errorMessage = QStringLiteral("The preferences could not be saved");
        defaults.removeObjectForKey(kInfo);
        ShareItem::deleteAttachments(*stored);
        return false;
    }
    if (earlier) {
        ShareItem::deleteAttachments(*earlier);
    }
    return true;
}

std::optional<StoredShareInfo::Saved> StoredShareInfo::restoreItem() {
    UserDefaults defaults;
    const bool present = defaults.hasObjectForKey(kItemKey);
    const std::optional<QVariantMap> stored = savedForm(defaults);
    const int action = int(defaults.integerForKey(kActionKey));
    if (!present) {
        return std::nullopt;
    }
    clear();
    if (!stored) {
        return std::nullopt;
    }
    return Saved{ShareItem::itemFromDictionary(*stored, ShareAttachments::Use::Consume), action};
}

}  // namespace lumigrave::sharing
