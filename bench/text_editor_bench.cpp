// The text editor's opening, as the user meets it: from a touch on the main screen's Text
// button, through the "Loading..." overlay and the next run-loop turn, the snapshot of the
// main screen, building and pushing the editor, to the keyboard shown with the field
// filled. The application is launched for real in a temporary home, in a 400 × 700 point
// window, with the photo at the default output size of 800 points. Its peer, in the same
// process, is the snapshot of the main screen alone, the one step whose cost grows with
// the window.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <memory>

#include "app/app_delegate.h"
#include "app/editors/text_view_controller.h"
#include "app/main/root_view_controller.h"
#include "platform/screen.h"
#include "ui/application.h"
#include "ui/keyboard.h"
#include "ui/navigation_controller.h"
#include "ui/view_snapshot.h"
#include "ui/window.h"

namespace lumigrave::bench {
namespace {

// The application in a home of its own, for as long as the benchmark runs.
class LaunchedApplication {
  public:
    LaunchedApplication() {
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
            qputenv(name, home_.path().toUtf8());
        }
        Screen::setBounds(Size{400, 700});
        application_ = std::make_unique<ui::Application>(&delegate_);
        launched_ = application_->launch();
        settle();
    }
    ~LaunchedApplication() {
        application_.reset();
        settle();
    }
    bool launched() const { return launched_ && delegate_.rootViewController() != nullptr; }
    AppDelegate& app() { return delegate_; }
    RootViewController& root() { return *delegate_.rootViewController(); }
    ui::NavigationController& navigation() { return *delegate_.navigationController(); }

    static void settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    // Runs the loop until done holds.
    template <class Done>
    static void until(Done done) {
        while (!done()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }

  private:
    QTemporaryDir home_;
    AppDelegate delegate_;
    std::unique_ptr<ui::Application> application_;
    bool launched_ = false;
};

void TextEditorOpen(benchmark::State& state) {
    LaunchedApplication launched;
    if (!launched.launched()) {
        state.SkipWithError("the application did not launch");
        return;
    }
    state.counters["photo_points"] = launched.app().activeImage().size().longerSide();
    for (auto _ : state) {
        QElapsedTimer opening;
        opening.start();
        launched.root().showTextDialog();
        LaunchedApplication::until([&] {
            auto* editor =
                dynamic_cast<TextViewController*>(launched.navigation().topViewController());
            return editor != nullptr &&
                   ui::Keyboard::shared().firstResponder() == editor->embTextField();
        });
        state.SetIterationTime(double(opening.nsecsElapsed()) * 1e-9);

        // Closing is not timed.
        auto* editor = static_cast<TextViewController*>(launched.navigation().topViewController());
        editor->cancelButtonTouched();
        LaunchedApplication::until([&] {
            return launched.navigation().topViewController() == &launched.root() &&
                   !ui::Keyboard::shared().isShown();
        });
        LaunchedApplication::settle();
    }
}

void MainScreenSnapshot(benchmark::State& state) {
    LaunchedApplication launched;
    if (!launched.launched()) {
        state.SkipWithError("the application did not launch");
        return;
    }
    for (auto _ : state) {
        Image snapshot = ui::imageByRenderingView(launched.root().view());
        benchmark::DoNotOptimize(snapshot);
    }
}

BENCHMARK(TextEditorOpen)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(200);
BENCHMARK(MainScreenSnapshot)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace
}  // namespace lumigrave::bench
