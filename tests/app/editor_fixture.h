#pragma once

#include <QByteArray>
#include <memory>
#include <optional>

#include "app_fixture.h"
#include "model/embosser_load.h"
#include "support/unprivileged.h"
#include "ui/navigation_controller.h"

namespace lumigrave::test {

// The application launched in watermark mode, with the ways in and out of its editors.
class EditorTest : public AppTest {
  protected:
    ui::NavigationController& navigation() { return *app().navigationController(); }

    // Clicks the main screen's toolbar item and lets the screen it opens arrive; null (and a
    // failure) when what arrives is not a T.
    template <class T>
    T* open(const QString& toolbarItem) {
        clickToolbarItem(toolbarItem);
        settle();
        waitForTop([&] { return navigation().topViewController() != &root(); });
        auto* screen = dynamic_cast<T*>(navigation().topViewController());
        EXPECT_NE(screen, nullptr) << toolbarItem.toStdString();
        return screen;
    }
    // The navigation bar's Done (right) and Cancel (left) buttons, clicked; then the main
    // screen's return has run.
    void clickDone();
    void clickCancel();
    void waitForTop(const std::function<bool()>& condition);
    bool backOnMainScreen() { return navigation().topViewController() == &root(); }

    // The database file as it is now, to show that nothing wrote to it.
    QByteArray databaseBytes();
    // The presets as the next launch would load them.
    EmbosserList storedPresets();
    // The main screen's photo, and the preset, by position in the shared list.
    Embosser& preset(size_t index) { return *app().embossers().at(index); }
    Embosser& active() { return *app().activeEmbosser(); }
    // The titles and messages of the alerts on screen.
    static QStringList alertTexts();
};

// While it lives the application's database is read-only to the process, so every write
// fails with SQLite's own message; the file is left as it was.
class ReadOnlyDatabase {
  public:
    // The directories from home down to the file are opened to the identity (home's
    // parent is a shared temporary directory, which is left alone).
    ReadOnlyDatabase(const QString& home, const QString& path);
    ~ReadOnlyDatabase();
    ReadOnlyDatabase(const ReadOnlyDatabase&) = delete;
    ReadOnlyDatabase& operator=(const ReadOnlyDatabase&) = delete;

  private:
    QString path_;
    std::optional<AsUnprivilegedUser> nobody_;
};

}  // namespace lumigrave::test
