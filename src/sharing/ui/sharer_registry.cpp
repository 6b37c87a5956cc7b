#include "sharing/ui/sharer_registry.h"

#include <QMap>

namespace lumigrave::sharing {

namespace {

QMap<QString, SharerRegistry::Factory>& factories() {
    static QMap<QString, SharerRegistry::Factory> map;
    return map;
}

}  // namespace

void SharerRegistry::registerSharer(const QString& sharerId, Factory factory) {
    factories().insert(sharerId, std::move(factory));
}

Sharer* SharerRegistry::create(const QString& sharerId) {
    const auto it = factories().constFind(sharerId);
    return it == factories().constEnd() ? nullptr : (*it)();
}

QStringList SharerRegistry::registeredSharers() {
    return factories().keys();
}

void SharerRegistry::clear() {
    factories().clear();
}

}  // namespace lumigrave::sharing
