#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <memory>

#include "app/app_delegate.h"
#include "app/main/root_view_controller.h"
#include "support/temp_home.h"
#include "ui/application.h"

namespace lumigrave::test {

// The application launched for real in a temporary home, in a 320 × 480 window on the
// offscreen platform.
class AppTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Launches (again, after quit()) with a fresh delegate.
    virtual void launch();
    // Ends the application as a quit does, then lets it go.
    void quit();
    // Ends the process's share of it without any callback, as a kill does.
    void kill();

    AppDelegate& app() { return *delegate_; }
    RootViewController& root() { return *delegate_->rootViewController(); }
    ui::Application& application() { return *application_; }

    // Moves the run loop's clock on: the deferred calls due by then run, then what they
    // queued. Animations are not moved.
    static void advance(double seconds);
    // Runs what is queued now (zero-delay calls, deferred deletes).
    static void settle();

    // A photo of the size in points (scale 1), as the picker would hand it over.
    static Image photo(int width, int height);
    // Hands a photo to the main screen as the picker does, and lets the work run.
    void pick(const Image& image);
    // The window clicked at a point of a widget in it, as the mouse does, then settled.
    static void click(QWidget* widget, QPoint at = {});
    // The same click with nothing run after it: what the click did at once is visible.
    static void press(QWidget* widget, QPoint at = {});
    // The toolbar item of the main screen's bar with that name, clicked.
    void clickToolbarItem(const QString& name);
    // The same, with nothing run after it.
    void pressToolbarItem(const QString& name);
    // The activity overlay's message while it is shown; empty while none is.
    QString overlayMessage();

    std::unique_ptr<TempHome> home_;
    std::unique_ptr<AppDelegate> delegate_;
    std::unique_ptr<ui::Application> application_;
};

}  // namespace lumigrave::test
