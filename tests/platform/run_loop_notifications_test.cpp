#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <memory>

#include "platform/run_loop.h"

namespace lumigrave {
namespace {

// Runs the event loop until done says so, or a generous time has passed.
void spinUntil(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

TEST(RunLoop, DeferredCallsRunLaterInTheOrderTheyAreDue) {
    std::vector<int> order;
    RunLoop::performAfter(0.1, [&] { order.push_back(3); });
    RunLoop::performAfter(0, [&] { order.push_back(1); });
    RunLoop::performAfter(0, [&] { order.push_back(2); });
    EXPECT_TRUE(order.empty());  // nothing runs within the call
    spinUntil([&] { return order.size() == 3; });
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(RunLoop, ACallWhoseContextIsGoneIsDropped) {
    bool ran = false;
    auto context = std::make_unique<QObject>();
    RunLoop::performAfter(
        0, [&] { ran = true; }, context.get());
    context.reset();
    bool later = false;
    RunLoop::performAfter(0.02, [&] { later = true; });
    spinUntil([&] { return later; });
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace lumigrave
