#include "platform/run_loop.h"

#include <QCoreApplication>
#include <QTimer>
#include <cmath>

namespace lumigrave {

void RunLoop::performAfter(double seconds, std::function<void()> fn, const QObject* context) {
    const int milliseconds = seconds > 0 ? int(std::lround(seconds * 1000)) : 0;
    QTimer::singleShot(milliseconds, context ? context : QCoreApplication::instance(),
                       std::move(fn));
}

}  // namespace lumigrave
