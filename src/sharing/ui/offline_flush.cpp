#include "sharing/ui/offline_flush.h"

#include <QDebug>

#include "platform/run_loop.h"
#include "sharing/share_center.h"
#include "sharing/share_item.h"
#include "sharing/ui/sharer.h"
#include "sharing/ui/sharer_registry.h"

namespace lumigrave::sharing {

namespace {

int requests = 0;
OfflineFlush* running = nullptr;

}  // namespace

void OfflineFlush::flushOfflineQueue() {
    ++requests;
    if (running != nullptr || !ShareCenter::connected() || !OfflineQueue().exists()) {
        return;
    }
    running = new OfflineFlush;
    // After the launch's own work, as a deferred call of the main loop.
    RunLoop::performAfter(
        0, [flush = running] { flush->next(); }, running);
}

int OfflineFlush::requestCount() {
    return requests;
}

bool OfflineFlush::isRunning() {
    return running != nullptr;
}

OfflineFlush* OfflineFlush::current() {
    return running;
}

OfflineFlush::OfflineFlush() {
    QString error;
    entries_ = queue_.entries(&error);
    if (!error.isEmpty()) {
        qWarning().noquote() << "The shares queued while offline could not be read:" << error;
    }
}

void OfflineFlush::next() {
    while (index_ < entries_.size()) {
        if (!ShareCenter::connected()) {
            qInfo().noquote() << "Offline again: the other queued shares wait for the next start";
            break;
        }
        if (sendEntry(entries_[index_++])) {
            return;  // its report goes on with the next
        }
    }
    done();
}

bool OfflineFlush::sendEntry(const OfflineQueueEntry& entry) {
    QString error;
    Sharer* sharer = SharerRegistry::create(entry.sharerId);
    if (sharer == nullptr) {
        qWarning().noquote() << "A queued share for" << entry.sharerId
                             << "was dropped: no such service";
        if (!queue_.remove(entry.entryId, &error)) {
            qWarning().noquote() << error;
        }
        return false;
    }
    sharer->setItem(ShareItem::itemFromDictionary(entry.item, ShareAttachments::Use::Keep));
    sharer->setQuiet(true);
    sharer->setShareDelegate(this);
    if (!sharer->isAuthorized()) {
        qInfo().noquote() << "A queued share for" << sharer->sharerTitle()
                          << "was dropped: its login is gone";
        if (!queue_.remove(entry.entryId, &error)) {
            qWarning().noquote() << error;
        }
        sharer->deleteLater();
        return false;
    }
    entryId_ = entry.entryId;
    reported_ = false;
    sending_ = true;
    const bool started = sharer->tryToSend();
    sending_ = false;
    if (reported_) {
        return false;  // it reported before tryToSend returned
    }
    if (!started) {
        // Nothing started, so nothing will report.
        sharer->deleteLater();
        settle(false);
        return false;
    }
    return true;
}

void OfflineFlush::settle(bool sent) {
    QString error;
    bool dropped = false;
    const bool ok = sent ? queue_.remove(entryId_, &error)
                         : queue_.recordFailedStart(entryId_, &dropped, &error);
    if (!ok) {
        qWarning().noquote() << "The offline queue could not be updated:" << error;
    }
    entryId_.clear();
}

void OfflineFlush::reported(bool sent) {
    if (entryId_.isEmpty()) {
        return;  // a second report of the same share
    }
    settle(sent);
    reported_ = true;
    if (!sending_) {
        RunLoop::performAfter(
            0, [this] { next(); }, this);
    }
}

void OfflineFlush::sharerFinishedSending(Sharer& sharer) {
    Q_UNUSED(sharer);
    reported(true);
}

void OfflineFlush::sharerFailedWithError(Sharer& sharer, const ShareError& error,
                                         bool shouldRelogin) {
    Q_UNUSED(shouldRelogin);
    qInfo().noquote() << "A queued share for" << sharer.sharerTitle()
                      << "failed and stays queued:" << error.localizedDescription;
    reported(false);
}

void OfflineFlush::sharerCancelledSending(Sharer& sharer) {
    Q_UNUSED(sharer);
    reported(false);
}

void OfflineFlush::done() {
    if (running == this) {
        running = nullptr;
    }
    emit finished();
    deleteLater();
}

}  // namespace lumigrave::sharing
