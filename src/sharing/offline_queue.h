#pragma once

#include <QDateTime>
#include <QString>
#include <QVariantList>
#include <QVariantMap>
#include <optional>
#include <vector>

namespace lumigrave::sharing {

class ShareItem;

// One share waiting to be sent: the item's stored form and the sharer that sends it.
struct OfflineQueueEntry {
    // Stays with the entry for its whole life in the queue, across starts.
    QString entryId;
    QString sharerId;
    QVariantMap item;
    // Starts at which sending it failed so far.
    int failedStarts = 0;
    QDateTime queuedAt;
};

// The shares queued while offline: "ShareOfflineQueue.plist" in "Share" under the caches
// directory, an XML property list array of dictionaries {"item", "sharer"} (plus the
// entry's "entryId", "queuedAt" and "failedStarts"), rewritten atomically on every change.
//
// An entry leaves the queue only through remove() (once its send was reported, or it was
// finally dropped) or its third failed start: a crash or a quit at any moment loses no
// entry, and sends one a second time only when it fell between the service's answer and
// the removal. A file that cannot be read is renamed aside, never overwritten, and a new
// queue started.
class OfflineQueue {
  public:
    static constexpr int kMaxFailedStarts = 3;

    // The queue in the caches directory.
    OfflineQueue();
    explicit OfflineQueue(const QString& path);

    // caches/Share/ShareOfflineQueue.plist, its folder created; empty when it cannot be.
    static QString defaultPath();
    const QString& path() const { return path_; }
    bool exists() const;

    // Appends the item (its attachments written first) for sharerId.
    bool add(const ShareItem& item, const QString& sharerId, QString* errorMessage);
    // The entries, oldest first. An empty list when there is no queue, or when the file
    // could not be read (it is set aside, with a log line, and *errorMessage says so).
    std::vector<OfflineQueueEntry> entries(QString* errorMessage = nullptr);
    // Takes the entry out of the queue and then deletes its attachments. An entry no
    // longer there is no error. The file goes when the last entry does.
    bool remove(const QString& entryId, QString* errorMessage);
    // Counts a failed start for the entry; the third drops it, with a log line, and then
    // *dropped is true.
    bool recordFailedStart(const QString& entryId, bool* dropped, QString* errorMessage);

  private:
    // The queue's list: empty when there is no file; nothing when the file was damaged
    // and could not even be set aside (then nothing may be written over it).
    std::optional<QVariantList> read(QString* errorMessage);
    bool write(const QVariantList& list, QString* errorMessage);
    bool setAside(QString* errorMessage);

    QString path_;
};

}  // namespace lumigrave::sharing
