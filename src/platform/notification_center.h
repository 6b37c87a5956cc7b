#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace lumigrave {

// Notifications by name ("HideActivityViewNotification", …), delivered at once, on the
// posting thread, to every observer of that name in the order they began observing.
class NotificationCenter {
  public:
    static NotificationCenter& defaultCenter();

    // observer identifies the registration for removeObserver; it is never called.
    void addObserver(const void* observer, const QString& name, std::function<void()> callback);
    // Every registration of observer, or only those for name.
    void removeObserver(const void* observer, const QString& name = QString());
    void postNotification(const QString& name);
    int observerCount(const QString& name) const;

  private:
    struct Entry {
        const void* observer;
        QString name;
        std::function<void()> callback;
        unsigned long long id;
    };
    std::vector<Entry> entries_;
    unsigned long long nextId_ = 0;
};

}  // namespace lumigrave
