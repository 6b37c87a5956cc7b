// Deferred calls: the event loop's timers that the application uses, and the manual clock
// every other test runs them on.
#include "platform/run_loop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <climits>
#include <cmath>
#include <limits>
#include <memory>

#include "support/manual_scheduler.h"

namespace lumigrave {
namespace {

using std::chrono::milliseconds;
using test::ManualScheduler;

// The real timers, for the tests of the real timers only.
class TimerRunLoop : public ::testing::Test {
  protected:
    void SetUp() override { RunLoop::setScheduler(nullptr); }

    // Runs the event loop until done says so, or a generous time has passed.
    static void spinUntil(const std::function<bool()>& done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
    }
};

TEST_F(TimerRunLoop, DeferredCallsRunLaterInTheOrderTheyAreDue) {
    std::vector<int> order;
    RunLoop::performAfter(0.02, [&] { order.push_back(3); });
    RunLoop::performAfter(0, [&] { order.push_back(1); });
    RunLoop::performAfter(0, [&] { order.push_back(2); });
    EXPECT_TRUE(order.empty());  // nothing runs within the call
    spinUntil([&] { return order.size() == 3; });
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST_F(TimerRunLoop, ACallWhoseContextIsGoneIsDropped) {
    bool ran = false;
    auto context = std::make_unique<QObject>();
    RunLoop::performAfter(
        0, [&] { ran = true; }, context.get());
    context.reset();
    bool later = false;
    RunLoop::performAfter(0.01, [&] { later = true; });
    spinUntil([&] { return later; });
    EXPECT_TRUE(later);
    EXPECT_FALSE(ran);
}

TEST(RunLoop, EveryTestStartsOnAFreshManualClockAndNullRestoresTheTimers) {
    ManualScheduler* manual = ManualScheduler::current();
    ASSERT_NE(manual, nullptr);
    EXPECT_EQ(manual->now(), milliseconds(0));
    EXPECT_EQ(manual->pendingCount(), 0);
    RunLoop::setScheduler(nullptr);
    EXPECT_EQ(ManualScheduler::current(), nullptr);
    EXPECT_NE(RunLoop::scheduler(), nullptr);
    RunLoop::setScheduler(manual);
    EXPECT_EQ(RunLoop::scheduler(), manual);
}

TEST(RunLoop, AManualSchedulerThatGoesTakesItselfOutOfTheRunLoop) {
    Scheduler* before = RunLoop::scheduler();
    {
        ManualScheduler local;
        RunLoop::setScheduler(&local);
        RunLoop::performAfter(0, [] { ADD_FAILURE() << "a call of a scheduler that is gone ran"; });
    }
    EXPECT_NE(RunLoop::scheduler(), nullptr);
    EXPECT_EQ(ManualScheduler::current(), nullptr);
    RunLoop::setScheduler(before);
}

struct DelayRow {
    double seconds;
    long long milliseconds;
};

class RunLoopDelay : public ::testing::TestWithParam<DelayRow> {};

TEST_P(RunLoopDelay, IsWholeMillisecondsWithinWhatATimerHolds) {
    EXPECT_EQ(RunLoop::delay(GetParam().seconds).count(), GetParam().milliseconds)
        << GetParam().seconds;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RunLoopDelay,
    ::testing::Values(DelayRow{0, 0}, DelayRow{0.1, 100}, DelayRow{0.3, 300}, DelayRow{0.5, 500},
                      DelayRow{1.0, 1000}, DelayRow{0.0004, 0}, DelayRow{0.0005, 1},
                      DelayRow{0.0015, 2}, DelayRow{-1, 0}, DelayRow{-0.0, 0},
                      DelayRow{std::nan(""), 0},
                      DelayRow{std::numeric_limits<double>::infinity(), INT_MAX},
                      DelayRow{-std::numeric_limits<double>::infinity(), 0},
                      DelayRow{1e12, INT_MAX}));

// The manual clock, through RunLoop as the application's code uses it.
class ManualRunLoop : public ::testing::Test {
  protected:
    ManualScheduler& clock() { return *ManualScheduler::current(); }
    std::vector<QString> ran;
    auto note(const char* what) {
        return [this, what] { ran.push_back(QString::fromLatin1(what)); };
    }
};

TEST_F(ManualRunLoop, RunsNothingUntilTheClockMovesThenEachCallWhenItsTimeComes) {
    RunLoop::performAfter(1.0, note("1.0"));
    RunLoop::performAfter(0.5, note("0.5"));
    RunLoop::performAfter(0, note("0"));
    RunLoop::performAfter(0.3, note("0.3"));
    RunLoop::performAfter(0.1, note("0.1"));
    RunLoop::performAfter(0.5, note("0.5 again"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(clock().pendingCount(), 6);

    clock().advance(0);
    EXPECT_EQ(ran, std::vector<QString>{"0"});
    clock().advance(0.099);
    EXPECT_EQ(ran, std::vector<QString>{"0"});
    clock().advance(0.001);
    EXPECT_EQ(ran, (std::vector<QString>{"0", "0.1"}));
    // Due together: in the order they were asked for.
    clock().advance(0.4);
    EXPECT_EQ(ran, (std::vector<QString>{"0", "0.1", "0.3", "0.5", "0.5 again"}));
    EXPECT_EQ(clock().now(), milliseconds(500));
    clock().advance(10);
    EXPECT_EQ(ran.back(), "1.0");
    EXPECT_EQ(clock().pendingCount(), 0);
    EXPECT_EQ(clock().now(), milliseconds(10500));
}

TEST_F(ManualRunLoop, CallsScheduledByCallsRunWhenTheyFallDueWithinTheSameAdvance) {
    milliseconds seenAt{-1};
    RunLoop::performAfter(0.3, [&] {
        ran.push_back("0.3");
        // Scheduled at 0.3: due at 0.4, before one at 0.5 that was asked for first.
        RunLoop::performAfter(0.1, [&] {
            ran.push_back("0.3 + 0.1");
            seenAt = clock().now();
            RunLoop::performAfter(0, note("0.4 + 0"));
            RunLoop::performAfter(0.2, note("0.4 + 0.2"));
        });
    });
    RunLoop::performAfter(0.5, note("0.5"));
    clock().advance(0.5);
    EXPECT_EQ(ran, (std::vector<QString>{"0.3", "0.3 + 0.1", "0.4 + 0", "0.5"}));
    EXPECT_EQ(seenAt, milliseconds(400));  // each call sees the clock at its own time
    EXPECT_EQ(clock().pendingCount(), 1);
    clock().advance(0.1);
    EXPECT_EQ(ran.back(), "0.4 + 0.2");
}

TEST_F(ManualRunLoop, AZeroDelayCallRunsAfterTheEventsQueuedBeforeIt) {
    QObject receiver;
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    class Watcher : public QObject {
      public:
        explicit Watcher(std::vector<QString>* ran) : ran_(ran) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::User) {
                ran_->push_back("event");
            }
            return false;
        }
        std::vector<QString>* ran_;
    } watcher(&ran);
    receiver.installEventFilter(&watcher);
    RunLoop::performAfter(0, note("call"));
    clock().advance(0);
    EXPECT_EQ(ran, (std::vector<QString>{"event", "call"}));
}

TEST_F(ManualRunLoop, ACallWhoseContextIsGoneIsDroppedAndOthersStillRun) {
    auto screen = std::make_unique<QObject>();
    auto other = std::make_unique<QObject>();
    RunLoop::performAfter(0.5, note("screen"), screen.get());
    RunLoop::performAfter(0.5, note("other"), other.get());
    RunLoop::performAfter(0.5, note("no context"));
    // The context may also go while earlier calls run.
    RunLoop::performAfter(0.2, [&] { other.reset(); });
    screen.reset();
    EXPECT_EQ(clock().pendingCount(), 3);
    clock().advance(1.0);
    EXPECT_EQ(ran, std::vector<QString>{"no context"});
    EXPECT_EQ(clock().pendingCount(), 0);
}

}  // namespace
}  // namespace lumigrave
