#include "sharing/offline_queue.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include "platform/paths.h"
#include "platform/property_list.h"
#include "sharing/share_item.h"

namespace lumigrave::sharing {

namespace {

const QString kItem = QStringLiteral("item");
const QString kSharer = QStringLiteral("sharer");
const QString kEntryId = QStringLiteral("entryId");
const QString kQueuedAt = QStringLiteral("queuedAt");
const QString kFailedStarts = QStringLiteral("failedStarts");

QString newEntryId() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

OfflineQueueEntry entryFrom(const QVariantMap& stored) {
    OfflineQueueEntry entry;
    entry.entryId = stored.value(kEntryId).toString();
    entry.sharerId = stored.value(kSharer).toString();
    entry.item = stored.value(kItem).toMap();
    entry.failedStarts = stored.value(kFailedStarts).toInt();
    entry.queuedAt = stored.value(kQueuedAt).toDateTime();
    return entry;
}

qsizetype indexOf(const QVariantList& list, const QString& entryId) {
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (list[i].toMap().value(kEntryId).toString() == entryId) {
            return i;
        }
    }
    return -1;
}

}  // namespace

OfflineQueue::OfflineQueue() : OfflineQueue(defaultPath()) {}

OfflineQueue::OfflineQueue(const QString& path) : path_(path) {}

QString OfflineQueue::defaultPath() {
    const QString caches = Paths::cachesDirectory();
    if (caches.isEmpty()) {
        return {};
    }
    const QString folder = QDir(caches).filePath(QStringLiteral("Share"));
    if (!QDir().mkpath(folder)) {
        qWarning().noquote() << "Cannot create the directory" << folder;
        return {};
    }
    return QDir(folder).filePath(QStringLiteral("ShareOfflineQueue.plist"));
}

bool OfflineQueue::exists() const {
    return !path_.isEmpty() && QFileInfo::exists(path_);
}

bool OfflineQueue::setAside(QString* errorMessage) {
    const QFileInfo file(path_);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside;
    for (int n = 0;; ++n) {
        aside = file.dir().filePath(QStringLiteral("%1.damaged-%2%3.%4")
                                        .arg(file.completeBaseName(), stamp,
                                             n == 0 ? QString() : QStringLiteral("-%1").arg(n),
                                             file.suffix()));
        if (!QFileInfo::exists(aside)) {
            break;
        }
    }
    if (!QFile::rename(path_, aside)) {
        *errorMessage =
            QStringLiteral("The damaged offline queue %1 could not be set aside").arg(path_);
        qWarning().noquote() << *errorMessage;
        return false;
    }
    qWarning().noquote() << "The offline queue" << path_ << "could not be read; it is kept as"
                         << aside << "and a new queue is started";
    return true;
}

std::optional<QVariantList> OfflineQueue::read(QString* errorMessage) {
    if (path_.isEmpty()) {
        *errorMessage = QStringLiteral("There is no folder for the offline queue");
        return std::nullopt;
    }
    if (!QFileInfo::exists(path_)) {
        return QVariantList();
    }
    QString error;
    const std::optional<QVariant> root = PropertyList::readFile(path_, &error);
    if (!root || root->typeId() != QMetaType::QVariantList) {
        if (!setAside(errorMessage)) {
            return std::nullopt;
        }
        *errorMessage = QStringLiteral("The offline queue could not be read (%1); it was set aside")
                            .arg(root ? QStringLiteral("not a list") : error);
        return QVariantList();
    }
    // Entries that cannot be sent are dropped; entries from before ids are given one. Either
    // way the file is rewritten, so ids stay stable from here on.
    QVariantList list;
    bool changed = false;
    for (const QVariant& element : root->toList()) {
        QVariantMap entry = element.toMap();
        if (element.typeId() != QMetaType::QVariantMap ||
            entry.value(kItem).typeId() != QMetaType::QVariantMap ||
            entry.value(kSharer).typeId() != QMetaType::QString ||
            entry.value(kSharer).toString().isEmpty()) {
            qWarning().noquote() << "An offline queue entry without an item and a sharer is"
                                 << "dropped from" << path_;
            changed = true;
            continue;
        }
        const QString id = entry.value(kEntryId).toString();
        if (id.isEmpty() || indexOf(list, id) >= 0) {
            entry.insert(kEntryId, newEntryId());
            changed = true;
        }
        list << entry;
    }
    if (changed && !write(list, errorMessage)) {
        return std::nullopt;
    }
    return list;
}

bool OfflineQueue::write(const QVariantList& list, QString* errorMessage) {
    if (list.isEmpty()) {
        if (QFileInfo::exists(path_) && !QFile::remove(path_)) {
            *errorMessage =
                QStringLiteral("The sent offline queue %1 could not be deleted").arg(path_);
            return false;
        }
        return true;
    }
    return PropertyList::writeFile(path_, list, errorMessage);
}

bool OfflineQueue::add(const ShareItem& item, const QString& sharerId, QString* errorMessage) {
    std::optional<QVariantList> list = read(errorMessage);
    if (!list) {
        return false;
    }
    const std::optional<QVariantMap> stored = item.dictionaryRepresentation(errorMessage);
    if (!stored) {
        return false;
    }
    QVariantMap entry{{kItem, *stored},
                      {kSharer, sharerId},
                      {kEntryId, newEntryId()},
                      {kQueuedAt, QDateTime::currentDateTimeUtc()},
                      {kFailedStarts, 0}};
    list->append(entry);
    if (!write(*list, errorMessage)) {
        ShareItem::deleteAttachments(*stored);
        return false;
    }
    return true;
}

std::vector<OfflineQueueEntry> OfflineQueue::entries(QString* errorMessage) {
    QString error;
    const std::optional<QVariantList> list = read(&error);
    if (errorMessage) {
        *errorMessage = error;
    }
    std::vector<OfflineQueueEntry> entries;
    if (list) {
        for (const QVariant& element : *list) {
            entries.push_back(entryFrom(element.toMap()));
        }
    }
    return entries;
}

bool OfflineQueue::remove(const QString& entryId, QString* errorMessage) {
    std::optional<QVariantList> list = read(errorMessage);
    if (!list) {
        return false;
    }
    const qsizetype index = indexOf(*list, entryId);
    if (index < 0) {
        return true;
    }
    const QVariantMap removed = list->takeAt(index).toMap();
    if (!write(*list, errorMessage)) {
        return false;
    }
    ShareItem::deleteAttachments(removed.value(kItem).toMap());
    return true;
}

bool OfflineQueue::recordFailedStart(const QString& entryId, bool* dropped, QString* errorMessage) {
    *dropped = false;
    std::optional<QVariantList> list = read(errorMessage);
    if (!list) {
        return false;
    }
    const qsizetype index = indexOf(*list, entryId);
    if (index < 0) {
        return true;
    }
    QVariantMap entry = (*list)[index].toMap();
    const int failures = entry.value(kFailedStarts).toInt() + 1;
    if (failures < kMaxFailedStarts) {
        entry.insert(kFailedStarts, failures);
        (*list)[index] = entry;
        return write(*list, errorMessage);
    }
    list->removeAt(index);
    if (!write(*list, errorMessage)) {
        return false;
    }
    const QVariantMap item = entry.value(kItem).toMap();
    qWarning().noquote() << "A queued share to" << entry.value(kSharer).toString() << "failed at"
                         << failures << "starts and is dropped:"
                         << ShareItem::shareTypeName(
                                item.value(QStringLiteral("shareType")).toInt());
    ShareItem::deleteAttachments(item);
    *dropped = true;
    return true;
}

}  // namespace lumigrave::sharing
