// The main() of every test binary: an offscreen GUI (or widget) application (text needs the font
// database), a private runtime directory, and the bundled fonts registered, so that
// every test sees the same fonts on every machine and needs no display and no sound
// server. Each test gets a fresh manual clock for the run loop's deferred calls.
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
#include <memory>

#include "platform/font_registry.h"
#include "support/manual_scheduler.h"

namespace {

// Installs a ManualScheduler before each test's fixture is made and takes it away after the
// fixture is gone, with whatever calls still wait: nothing deferred leaks into the next test.
class FreshSchedulerPerTest : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        scheduler_ = std::make_unique<lumigrave::test::ManualScheduler>();
        lumigrave::RunLoop::setScheduler(scheduler_.get());
    }
    void OnTestEnd(const testing::TestInfo&) override { scheduler_.reset(); }

    std::unique_ptr<lumigrave::test::ManualScheduler> scheduler_;
};

}  // namespace

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
    // Sounds go to a sound server that is not there: no test plays through the machine's
    // speakers or depends on its audio hardware, and the client gives up at once.
    qputenv("PULSE_SERVER", ("unix:" + runtime.filePath("no-sound-server")).toUtf8());
    // The web engine shares its contexts with the application's; the attribute counts
    // only before the application object exists. (Linking the engine sets it as well.)
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TestApplication app(argc, argv);
    if (!lumigrave::FontRegistry::registerBundledFonts()) {
        std::fprintf(stderr, "the bundled font could not be registered\n");
        return 1;
    }
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new FreshSchedulerPerTest);
    return RUN_ALL_TESTS();
}
