#include "platform/notification_center.h"

#include <algorithm>

namespace lumigrave {

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

void NotificationCenter::addObserver(const void* observer, const QString& name,
                                     std::function<void(const Notification&)> callback) {
    entries_.push_back(Entry{observer, name, std::move(callback), nextId_++});
}

void NotificationCenter::addObserver(const void* observer, const QString& name,
                                     std::function<void()> callback) {
    addObserver(observer, name,
                [callback = std::move(callback)](const Notification&) { callback(); });
}

void NotificationCenter::removeObserver(const void* observer, const QString& name) {
    std::erase_if(entries_, [&](const Entry& e) {
        return e.observer == observer && (name.isEmpty() || e.name == name);
    });
}

void NotificationCenter::postNotification(const QString& name, const void* sender,
                                          const QVariantMap& userInfo) {
    const Notification notification{name, sender, userInfo};
    // An observer may remove itself or others, or add new ones, while it is called: the
    // ones registered when the notification was posted are called, unless removed first.
    std::vector<unsigned long long> ids;
    for (const Entry& e : entries_) {
        if (e.name == name) {
            ids.push_back(e.id);
        }
    }
    for (const unsigned long long id : ids) {
        const auto it = std::find_if(entries_.begin(), entries_.end(),
                                     [&](const Entry& e) { return e.id == id; });
        if (it != entries_.end()) {
            // A copy: the observer may remove itself, and its callback with it.
            const std::function<void(const Notification&)> callback = it->callback;
            callback(notification);
        }
    }
}

int NotificationCenter::observerCount(const QString& name) const {
    return int(std::count_if(entries_.begin(), entries_.end(),
                             [&](const Entry& e) { return e.name == name; }));
}

}  // namespace lumigrave
