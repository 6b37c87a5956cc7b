#include "support/web_engine_test_setup.h"

#include <unistd.h>

namespace lumigrave::test {

QByteArray webEngineTestFlags() {
    return "--host-resolver-rules=\"MAP * ~NOTFOUND , EXCLUDE 127.0.0.1\" "
           "--disable-background-networking --disable-component-update --disable-sync "
           "--no-first-run --disable-gpu";
}

bool prepareWebEngineForTests(QString* why) {
    const QByteArray flags = webEngineTestFlags();
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    }
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    // A value from outside that lacks the flags would let the engine reach other hosts.
    if (!qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").contains(flags)) {
        *why = QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS lacks the test flags: ") +
               QString::fromLocal8Bit(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"));
        return false;
    }
    return true;
}

}  // namespace lumigrave::test
