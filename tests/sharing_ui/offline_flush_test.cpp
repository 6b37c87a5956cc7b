// The shares queued while offline, sent at a later start: quietly, one after another, each
// entry leaving the queue only once it is sent or can never be.
#include "sharing/ui/offline_flush.h"
#include "platform/user_defaults.h"
#include "sharer_fixture.h"
#include "sharing/offline_queue.h"
#include "sharing/ui/sharer_registry.h"
#include "support/log_capture.h"

namespace lumigrave::sharing::test {
namespace {

using lumigrave::test::LogCapture;

class OfflineFlushTest : public SharerTest {
  protected:
    OfflineFlushTest() { SharerRegistry::registerSharer<TestSharer>(QStringLiteral("TestSharer")); }
    ~OfflineFlushTest() override { SharerRegistry::clear(); }

    // Queues the items as a share made offline does.
    void queueOffline(const QList<ShareItem>& items) {
        Reachability::setForcedConnected(false);
        for (const ShareItem& item : items) {
            QPointer<Sharer> sharer = Sharer::shareItem<TestSharer>(item);
            settle();
            // A link's form comes first, offline too.
            if (ShareFormController* shown = form(sharer)) {
                shown->validateForm();
            }
        }
        settle();
        flushDeletes();
        Reachability::setForcedConnected(true);
        ASSERT_EQ(OfflineQueue().entries().size(), size_t(items.size()));
    }
    // Runs a flush to its end.
    void flush() {
        OfflineFlush::flushOfflineQueue();
        for (int turn = 0; turn < 50 && OfflineFlush::isRunning(); ++turn) {
            ManualScheduler::current()->advance(0);
            settle();
        }
        EXPECT_FALSE(OfflineFlush::isRunning());
        flushDeletes();
    }
    static bool logged(const LogCapture& log, const QString& part) {
        for (const QString& line : log.lines()) {
            if (line.contains(part, Qt::CaseInsensitive)) {
                return true;
            }
        }
        return false;
    }
    static QStringList titles(const std::vector<ShareItem>& items) {
        QStringList list;
        for (const ShareItem& item : items) {
            list << item.title();
        }
        return list;
    }
};

TEST_F(OfflineFlushTest, TheQueuedSharesAreSentQuietlyInOrderAndTheQueueGoes) {
    queueOffline({link("first"), picture()});
    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_TRUE(service_.sent.empty());

    service_.onSend = [](Sharer& sharer) {
        EXPECT_TRUE(sharer.isQuiet());
        sharer.sendDidFinish();
    };
    flush();
    EXPECT_EQ(titles(service_.sent), QStringList({"first", "Created by Lumigrave"}));
    EXPECT_EQ(service_.sent[1].image().pixels().pixel(0, 0), QColor(Qt::darkCyan).rgb());
    EXPECT_FALSE(OfflineQueue().exists());
    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_FALSE(ShareActivityIndicator::currentIndicator()->isShown());
}

TEST_F(OfflineFlushTest, EachShareWaitsForTheReportOfTheOneBefore) {
    queueOffline({link("first"), link("second")});
    std::vector<QPointer<Sharer>> waiting;
    service_.onSend = [&waiting](Sharer& sharer) { waiting.emplace_back(&sharer); };
    OfflineFlush::flushOfflineQueue();
    ManualScheduler::current()->advance(0);
    settle();
    ASSERT_EQ(service_.sent.size(), 1u) << "the second went before the first answered";
    // The first answer arrives; only now does the second go, and the first is gone.
    waiting[0]->sendDidFinish();
    ManualScheduler::current()->advance(0);
    settle();
    ASSERT_EQ(service_.sent.size(), 2u);
    EXPECT_EQ(OfflineQueue().entries().size(), 1u);
    waiting[1]->sendDidFinish();
    ManualScheduler::current()->advance(0);
    settle();
    EXPECT_FALSE(OfflineFlush::isRunning());
    EXPECT_FALSE(OfflineQueue().exists());
}

TEST_F(OfflineFlushTest, AFailedShareStaysQueuedUntilItsThirdFailedStart) {
    queueOffline({picture()});
    service_.onSend = [](Sharer& sharer) {
        sharer.sendDidFailWithError(ShareCenter::error("The service is down."));
    };
    flush();
    std::vector<OfflineQueueEntry> left = OfflineQueue().entries();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].failedStarts, 1);
    EXPECT_TRUE(alertTexts().isEmpty()) << "a queued share fails quietly";

    flush();
    ASSERT_EQ(OfflineQueue().entries().size(), 1u);
    LogCapture log;
    flush();
    EXPECT_FALSE(OfflineQueue().exists());
    EXPECT_EQ(service_.sent.size(), 3u);
    EXPECT_TRUE(logged(log, "dropped")) << log.lines().join('\n').toStdString();
}

TEST_F(OfflineFlushTest, ASharerNoLongerLoggedInDropsItsShareUnsent) {
    service_.needsLogin = true;
    ASSERT_TRUE(Keychain::setPassword("SHARE_AUTH_TestSharer", "username", "ann", nullptr));
    queueOffline({picture()});
    ASSERT_TRUE(Keychain::deletePassword("SHARE_AUTH_TestSharer", "username", nullptr));
    flush();
    EXPECT_TRUE(service_.sent.empty());
    EXPECT_FALSE(OfflineQueue().exists());
    EXPECT_TRUE(alertTexts().isEmpty()) << "no login form for a queued share";
}

TEST_F(OfflineFlushTest, AShareForAnUnknownServiceIsDroppedWithALogLine) {
    queueOffline({picture()});
    SharerRegistry::clear();
    LogCapture log;
    flush();
    EXPECT_FALSE(OfflineQueue().exists());
    EXPECT_TRUE(logged(log, "no such service"));
}

TEST_F(OfflineFlushTest, OfflineNothingIsSentAndTheQueueStays) {
    queueOffline({picture()});
    Reachability::setForcedConnected(false);
    OfflineFlush::flushOfflineQueue();
    EXPECT_FALSE(OfflineFlush::isRunning());
    EXPECT_EQ(OfflineQueue().entries().size(), 1u);
}

TEST_F(OfflineFlushTest, GoingOfflineOnTheWayLeavesTheRestQueued) {
    queueOffline({link("first"), link("second")});
    service_.onSend = [](Sharer& sharer) {
        sharer.sendDidFinish();
        Reachability::setForcedConnected(false);
    };
    flush();
    EXPECT_EQ(titles(service_.sent), QStringList{"first"});
    std::vector<OfflineQueueEntry> left = OfflineQueue().entries();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(ShareItem::itemFromDictionary(left[0].item, ShareAttachments::Use::Keep).title(),
              "second");
    EXPECT_EQ(left[0].failedStarts, 0) << "not sending is no failure";
}

}  // namespace
}  // namespace lumigrave::sharing::test
