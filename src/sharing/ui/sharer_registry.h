#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace lumigrave::sharing {

class Sharer;

// The sharers by id, so that a share stored by id (the offline queue) finds its service
// again. The application registers the services it offers at launch; a static library's
// self-registering objects would be dropped by the linker.
class SharerRegistry {
  public:
    using Factory = std::function<Sharer*()>;

    static void registerSharer(const QString& sharerId, Factory factory);
    template <class T>
    static void registerSharer(const QString& sharerId) {
        registerSharer(sharerId, [] { return new T; });
    }
    // A new sharer (it owns itself, as every sharer does), or null for an unknown id.
    static Sharer* create(const QString& sharerId);
    static QStringList registeredSharers();
    // Forgets every registration (tests).
    static void clear();
};

}  // namespace lumigrave::sharing
