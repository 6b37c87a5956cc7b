#include "support/temp_home.h"

#include <QDir>

namespace lumigrave::test {

namespace {

const char* const kVariables[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"};

}  // namespace

TempHome::TempHome() {
    for (const char* name : kVariables) {
        saved_[name] = {qEnvironmentVariableIsSet(name), qgetenv(name)};
    }
    const QString home = dir_.path();
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_DATA_HOME", (home + "/.local/share").toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + "/.config").toUtf8());
    qputenv("XDG_CACHE_HOME", (home + "/.cache").toUtf8());
}

TempHome::~TempHome() {
    for (const auto& [name, value] : saved_) {
        if (value.first) {
            qputenv(name.constData(), value.second);
        } else {
            qunsetenv(name.constData());
        }
    }
}

}  // namespace lumigrave::test
