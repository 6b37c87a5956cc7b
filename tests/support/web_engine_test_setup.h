#pragma once

#include <QByteArray>
#include <QString>

namespace lumigrave::test {

// The Chromium flags of every test that starts the web engine: no host is looked up and
// none but 127.0.0.1 is reached, and nothing runs in the background (updates, sync, first
// run pages).
QByteArray webEngineTestFlags();

// Sets the engine's environment for a test process: the flags above, the sandbox off as
// root. It must run before the engine starts (the first profile, page or view), since the
// engine reads its environment once; false, with why, when the environment does not hold
// the flags afterwards (another value was set and the engine may have started with it).
bool prepareWebEngineForTests(QString* why);

}  // namespace lumigrave::test
