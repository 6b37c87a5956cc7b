#pragma once

#include <QObject>
#include <chrono>
#include <functional>

namespace lumigrave {

// What carries out the deferred calls of RunLoop. The application uses the event loop's
// timers; a test installs a clock of its own and moves it on by hand, so no test waits
// for a deferral in real time.
class Scheduler {
  public:
    virtual ~Scheduler() = default;
    // Calls fn once delay has passed, on the main thread, after the events already queued.
    // When context is given and is destroyed first, the call is dropped.
    virtual void schedule(std::chrono::milliseconds delay, std::function<void()> fn,
                          const QObject* context) = 0;
};

// Deferred calls on the main thread's event loop. A zero delay runs the call after the
// events already queued, so an overlay shown just before is drawn before the work starts.
class RunLoop {
  public:
    // Calls fn after the delay. When context is given and is destroyed first, the call is
    // dropped: a screen that goes away takes its pending work with it.
    static void performAfter(double seconds, std::function<void()> fn,
                             const QObject* context = nullptr);

    // The delay performAfter asks for: whole milliseconds, rounded to the nearest; negative
    // or not a number is no delay, and anything longer than a timer can hold is its longest.
    static std::chrono::milliseconds delay(double seconds);

    // Makes scheduler carry out the calls from now on; null restores the event loop's
    // timers. Calls already scheduled stay with the scheduler that took them. The
    // scheduler is not owned and must outlive its use (main thread only).
    static void setScheduler(Scheduler* scheduler);
    // The scheduler in use; never null.
    static Scheduler* scheduler();
};

}  // namespace lumigrave
