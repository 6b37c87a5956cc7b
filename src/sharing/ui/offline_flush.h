#pragma once

#include <QObject>
#include <vector>

#include "sharing/offline_queue.h"
#include "sharing/ui/share_delegate.h"

namespace lumigrave::sharing {

class Sharer;

// Sends the shares queued while offline, quietly and one after another on the main
// loop, each by a sharer made from its id with the item it was queued with.
//
// An entry leaves the queue only once its sharer reported the send finished, or when it
// can never be sent: its sharer is unknown or no longer logged in. A failed or cancelled
// send stays queued for the next start, and is dropped at its third failed start. The
// flush stops, leaving the rest queued, when the computer goes offline on the way.
class OfflineFlush : public QObject, private ShareDelegate {
    Q_OBJECT
  public:
    // Starts a flush when the computer is online, a queue exists and no flush runs yet.
    static void flushOfflineQueue();
    // How many flushes were asked for in this process, so the launch can be checked.
    static int requestCount();
    // Whether a flush is under way.
    static bool isRunning();

  signals:
    // The flush went through the whole queue (or stopped), for whoever waits on it.
    void finished();

  public:
    // The flush under way, or null.
    static OfflineFlush* current();

  private:
    OfflineFlush();
    void next();
    // Whether the entry's share started and its report is still to come.
    bool sendEntry(const OfflineQueueEntry& entry);
    // The entry's share is over: sent (removed), or failed (counted).
    void settle(bool sent);
    void reported(bool sent);
    void done();

    void sharerFinishedSending(Sharer& sharer) override;
    void sharerFailedWithError(Sharer& sharer, const ShareError& error,
                               bool shouldRelogin) override;
    void sharerCancelledSending(Sharer& sharer) override;

    OfflineQueue queue_;
    std::vector<OfflineQueueEntry> entries_;
    size_t index_ = 0;
    // The entry being sent; empty between entries.
    QString entryId_;
    bool reported_ = false;
    // Inside the sharer's tryToSend, whose report may come before it returns.
    bool sending_ = false;
};

}  // namespace lumigrave::sharing
