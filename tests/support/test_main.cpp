// The main() of every test binary: an offscreen GUI (or widget) application (text needs the font
// database), a private runtime directory, and the bundled fonts registered, so that
// every test sees the same fonts on every machine and needs no display.
#include <gtest/gtest.h>

#ifdef LUMIGRAVE_WIDGET_TESTS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif
#include <QTemporaryDir>
#include <cstdio>

#include "platform/font_registry.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qgetenv("QT_QPA_PLATFORM") != "offscreen") {
        std::fprintf(stderr, "tests need QT_QPA_PLATFORM=offscreen, not %s\n",
                     qgetenv("QT_QPA_PLATFORM").constData());
        return 1;
    }
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    }
    TestApplication app(argc, argv);
    if (!lumigrave::FontRegistry::registerBundledFonts()) {
        std::fprintf(stderr, "the bundled font could not be registered\n");
        return 1;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
