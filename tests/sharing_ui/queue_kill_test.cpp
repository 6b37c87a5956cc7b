// The offline queue when the start that flushes it is killed: a child process flushes the
// queue to a fake service and is killed at random points, a hundred times. No share may
// be lost; one is sent a second time only when the kill fell between the service's answer
// and the queue's update, so there are never more repeats than kills.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTimer>
#include <iostream>

#include "sharing/offline_queue.h"
#include "sharing/share_configuration.h"
#include "sharing/share_item.h"
#include "support/fake_http_server.h"
#include "support/temp_home.h"

namespace lumigrave::sharing {
namespace {

constexpr int kRuns = 100;
constexpr int kQueued = 3;

// Runs the child until it ends by itself or killAfterMs passes (never when negative);
// whether it was killed.
bool runChild(const QString& target, int killAfterMs) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LUMIGRAVE_FORCE_NETWORK"), QStringLiteral("online"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QStringLiteral(LUMIGRAVE_QUEUE_FLUSH_CHILD), {target});
    EXPECT_TRUE(child.waitForStarted(10000));
    // The test's own loop runs meanwhile, so the fake service answers.
    QEventLoop loop;
    QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(killAfterMs >= 0 ? killAfterMs : 60000);
    if (child.state() != QProcess::NotRunning) {
        loop.exec();
    }
    bool killed = false;
    if (child.state() != QProcess::NotRunning) {
        killed = killAfterMs >= 0;
        child.kill();
    }
    child.waitForFinished(10000);
    if (!killed) {
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0);
    }
    return killed;
}

TEST(OfflineQueueUnderKills, NoShareIsLostAndOnlyTheOneInFlightIsSentAgain) {
    test::TempHome home;
    ShareConfiguration::sharedInstanceWithConfigurator(nullptr);
    test::FakeHttpServer service;
    ASSERT_TRUE(service.listen());
    service.setResponse(QStringLiteral("/share"), test::FakeHttpServer::text(200, "ok"));
    const QString target = service.url(QStringLiteral("/share"));

    int made = 0;
    const auto refill = [&made] {
        OfflineQueue queue;
        while (queue.entries().size() < size_t(kQueued)) {
            const ShareItem item = ShareItem::URL(QUrl(QStringLiteral("https://lumigrave.app/")),
                                                  QStringLiteral("share %1").arg(made++), 1);
            QString error;
            ASSERT_TRUE(queue.add(item, QStringLiteral("PostSharer"), &error))
                << error.toStdString();
        }
    };
    // How long a start takes to flush the queue here: the kills fall anywhere in it.
    refill();
    QElapsedTimer clock;
    clock.start();
    runChild(target, -1);
    const int span = std::max(2, int(clock.elapsed() * 11 / 10));

    // A fixed seed, so that a failure can be run again as it happened.
    QRandomGenerator random(20261207);
    int kills = 0;
    for (int run = 0; run < kRuns; ++run) {
        refill();
        if (runChild(target, random.bounded(0, span))) {
            ++kills;
        }
    }
    // A start that is left alone sends what is left.
    runChild(target, -1);

    QMap<QString, int> received;
    for (const test::FakeHttpServer::Request& request : service.requestsTo("/share")) {
        ++received[QString::fromUtf8(request.body)];
    }
    int repeats = 0;
    for (int share = 0; share < made; ++share) {
        const int times = received.value(QStringLiteral("share %1").arg(share));
        EXPECT_GE(times, 1) << "share " << share << " was lost";
        repeats += std::max(0, times - 1);
    }
    EXPECT_FALSE(OfflineQueue().exists());
    EXPECT_LE(repeats, kills);
    std::cout << made << " shares, " << kills << " kills, " << repeats
              << " sent twice (killed between the answer and the queue's update)\n";
}

}  // namespace
}  // namespace lumigrave::sharing
