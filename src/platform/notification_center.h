#pragma once

#include <QString>
#include <QVariantMap>
#include <functional>
#include <vector>

namespace lumigrave {

// What an observer is handed: the name it observes, the object that posted (identity only,
// may be null) and the values that go with it, under keys each notification defines.
struct Notification {
    QString name;
    const void* sender = nullptr;
    QVariantMap userInfo;
};

// Notifications by name ("HideActivityViewNotification", …), delivered at once, on the
// posting thread, to every observer of that name in the order they began observing.
class NotificationCenter {
  public:
    static NotificationCenter& defaultCenter();

    // observer identifies the registration for removeObserver; it is never called. An
    // observer that needs nothing but the name's arrival can take no argument.
    void addObserver(const void* observer, const QString& name,
                     std::function<void(const Notification&)> callback);
    void addObserver(const void* observer, const QString& name, std::function<void()> callback);
    // Every registration of observer, or only those for name.
    void removeObserver(const void* observer, const QString& name = QString());

    void postNotification(const QString& name, const void* sender = nullptr,
                          const QVariantMap& userInfo = {});
    int observerCount(const QString& name) const;

  private:
    struct Entry {
        const void* observer;
        QString name;
        std::function<void(const Notification&)> callback;
        unsigned long long id;
    };
    std::vector<Entry> entries_;
    unsigned long long nextId_ = 0;
};

}  // namespace lumigrave
