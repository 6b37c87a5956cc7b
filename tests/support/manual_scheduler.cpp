#include "support/manual_scheduler.h"

#include <QCoreApplication>
#include <algorithm>

namespace lumigrave::test {

ManualScheduler::~ManualScheduler() {
    if (RunLoop::scheduler() == this) {
        RunLoop::setScheduler(nullptr);
    }
}

ManualScheduler* ManualScheduler::current() {
    return dynamic_cast<ManualScheduler*>(RunLoop::scheduler());
}

void ManualScheduler::schedule(std::chrono::milliseconds delay, std::function<void()> fn,
                               const QObject* context) {
    calls_.push_back(Call{now_ + delay, nextOrder_++, std::move(fn), context, context != nullptr});
}

void ManualScheduler::advance(double seconds) {
    const std::chrono::milliseconds end = now_ + RunLoop::delay(seconds);
    for (;;) {
        const auto next =
            std::min_element(calls_.begin(), calls_.end(), [](const Call& a, const Call& b) {
                return a.due != b.due ? a.due < b.due : a.order < b.order;
            });
        if (next == calls_.end() || next->due > end) {
            break;
        }
        // Taken out before it runs: it may schedule more, and the vector may move.
        Call call = std::move(*next);
        calls_.erase(next);
        now_ = call.due;
        QCoreApplication::sendPostedEvents();
        if (call.hasContext && call.context.isNull()) {
            continue;
        }
        call.fn();
    }
    now_ = end;
}

int ManualScheduler::pendingCount() const {
    return int(std::count_if(calls_.begin(), calls_.end(), [](const Call& call) {
        return !call.hasContext || !call.context.isNull();
    }));
}

}  // namespace lumigrave::test
