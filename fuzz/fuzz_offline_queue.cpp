// Fuzzes the offline queue's reading of its file, which anything could have left in the
// caches folder: its entries and the stored items in them. Everything it writes (the queue,
// a damaged file set aside, attachments) stays in a temporary home of its own.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "fuzz_input.h"
#include "sharing/offline_queue.h"
#include "sharing/share_item.h"

namespace {

QTemporaryDir& home() {
    static QTemporaryDir dir;
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("HOME", home().path().toUtf8());
    qputenv("XDG_CACHE_HOME", (home().path() + "/cache").toUtf8());
    qputenv("XDG_CONFIG_HOME", (home().path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home().path() + "/data").toUtf8());
    qputenv("XDG_CONFIG_DIRS", (home().path() + "/etc").toUtf8());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes;
    if (!lumigrave::fuzz::wrap(data, size, 64 * 1024, &bytes)) {
        return 0;
    }
    const QString folder = home().path() + "/queue";
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    const QString path = folder + "/ShareOfflineQueue.plist";
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            return 0;
        }
    }
    using lumigrave::sharing::OfflineQueue;
    using lumigrave::sharing::OfflineQueueEntry;
    OfflineQueue queue(path);
    const std::vector<OfflineQueueEntry> entries = queue.entries();
    for (const OfflineQueueEntry& entry : entries) {
        lumigrave::sharing::ShareItem::itemFromDictionary(
            entry.item, lumigrave::sharing::ShareAttachments::Use::Keep);
        if (entry.entryId.isEmpty() || entry.sharerId.isEmpty()) {
            lumigrave::fuzz::broken("every entry read has an id and a sharer");
        }
    }
    // What one reading kept, the next reads the same, ids included.
    const std::vector<OfflineQueueEntry> again = queue.entries();
    if (again.size() != entries.size()) {
        lumigrave::fuzz::broken("a second reading finds the same entries");
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        if (again[i].entryId != entries[i].entryId) {
            lumigrave::fuzz::broken("an entry keeps its id from one reading to the next");
        }
    }
    return 0;
}
