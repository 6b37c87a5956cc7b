#pragma once
// What the widget tests share: running the loop until something happens, moving the run
// loop's manual clock, and readable failure messages for Qt strings.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QString>
#include <QTest>
#include <ostream>

#include "support/manual_scheduler.h"

// gtest finds this through the argument's namespace and prints lists of strings element
// by element, instead of as raw bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace lumigrave::ui::test {

using lumigrave::test::ManualScheduler;

// Deletes what was handed to deleteLater, as the loop does when it gets back to work.
inline void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs the deferred calls that are due now (zero-delay ones), after the events queued
// before them.
inline void runDueCalls() {
    if (ManualScheduler* scheduler = ManualScheduler::current()) {
        scheduler->advance(0);
    }
}

// Runs what is queued now: deferred deletes, zero-delay calls, the platform's events.
inline void settle() {
    for (int i = 0; i < 3; ++i) {
        flushDeletes();
        QCoreApplication::processEvents();
        runDueCalls();
    }
}

// Moves the run loop's clock on by seconds, running the deferred calls due on the way,
// then settles. Real animations and timers are not moved: they still take their time.
inline void advance(double seconds) {
    if (ManualScheduler* scheduler = ManualScheduler::current()) {
        scheduler->advance(seconds);
    } else {
        ADD_FAILURE() << "no manual scheduler is installed";
    }
    settle();
}

// Runs the event loop until done() holds; false when it did not within the timeout.
// Slides and fades take a fraction of a second, the timeout is ample for a busy machine.
// (QTRY_* report through QTest, which gtest never hears of.)
template <typename Condition>
bool eventually(Condition done, int timeoutMs = 5000) {
    return QTest::qWaitFor(done, timeoutMs);
}

}  // namespace lumigrave::ui::test
