#pragma once

#include <QObject>
#include <QPointer>
#include <chrono>
#include <functional>
#include <vector>

#include "platform/run_loop.h"

namespace lumigrave::test {

// A clock for RunLoop's deferred calls that only moves when a test moves it. Every test
// starts with a fresh one installed (see test_main.cpp), at time zero, so a deferral of
// half a second takes no time at all to test and runs exactly when the test says.
//
// A call runs during advance(), never within performAfter(). A zero-delay call therefore
// waits for the next advance(0), which the fixtures' settle() does after delivering the
// events queued so far: as on the real loop, it runs after them. Before each call, advance()
// delivers the events posted so far (deferred deletes excepted), as the loop does before
// it gets to a timer.
class ManualScheduler : public Scheduler {
  public:
    ManualScheduler() = default;
    // Calls still waiting are dropped; if installed, the event loop's timers take over.
    ~ManualScheduler() override;
    ManualScheduler(const ManualScheduler&) = delete;
    ManualScheduler& operator=(const ManualScheduler&) = delete;

    // The one installed in RunLoop, or null when RunLoop uses something else.
    static ManualScheduler* current();

    void schedule(std::chrono::milliseconds delay, std::function<void()> fn,
                  const QObject* context) override;

    // Moves the clock on by seconds (rounded as RunLoop rounds delays) and runs every call
    // that falls due on the way, in the order they fall due (the order they were scheduled
    // when due together), each with the clock at its own time. A call scheduled by one
    // that ran runs too when it falls due before the end. A call whose context is gone is
    // dropped.
    void advance(double seconds);

    // Time since the scheduler was made.
    std::chrono::milliseconds now() const { return now_; }
    // Calls waiting whose context, if they have one, still lives.
    int pendingCount() const;

  private:
    struct Call {
        std::chrono::milliseconds due;
        unsigned long long order;
        std::function<void()> fn;
        QPointer<const QObject> context;
        bool hasContext;
    };
    std::vector<Call> calls_;
    std::chrono::milliseconds now_{0};
    unsigned long long nextOrder_ = 0;
};

}  // namespace lumigrave::test
