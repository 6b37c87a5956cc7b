#pragma once

#include <QObject>
#include <functional>

namespace lumigrave {

// Deferred calls on the main thread's event loop. A zero delay runs the call after the
// events already queued, so an overlay shown just before is drawn before the work starts.
class RunLoop {
  public:
    // Calls fn after the delay. When context is given and is destroyed first, the call is
    // dropped: a screen that goes away takes its pending work with it.
    static void performAfter(double seconds, std::function<void()> fn,
                             const QObject* context = nullptr);
};

}  // namespace lumigrave
