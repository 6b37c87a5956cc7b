#include "platform/run_loop.h"

#include <QCoreApplication>
#include <QTimer>
#include <climits>
#include <cmath>

namespace lumigrave {

namespace {

class TimerScheduler : public Scheduler {
  public:
    void schedule(std::chrono::milliseconds delay, std::function<void()> fn,
                  const QObject* context) override {
        QTimer::singleShot(int(delay.count()), context ? context : QCoreApplication::instance(),
                           std::move(fn));
    }
};

TimerScheduler timers;
Scheduler* current = nullptr;

}  // namespace

void RunLoop::performAfter(double seconds, std::function<void()> fn, const QObject* context) {
    scheduler()->schedule(delay(seconds), std::move(fn), context);
}

std::chrono::milliseconds RunLoop::delay(double seconds) {
    // QTimer keeps its interval in an int.
    constexpr double kLongest = INT_MAX;
    const double milliseconds = seconds * 1000;
    if (!(milliseconds > 0)) {
        return std::chrono::milliseconds(0);
    }
    return std::chrono::milliseconds(milliseconds >= kLongest ? INT_MAX
                                                              : std::llround(milliseconds));
}

void RunLoop::setScheduler(Scheduler* scheduler) {
    current = scheduler;
}

Scheduler* RunLoop::scheduler() {
    return current ? current : &timers;
}

}  // namespace lumigrave
