#pragma once
// What the tests of the two picker editors (font, layout) share on top of EditorTest.

#include <QListView>
#include <QTest>
#include <cstdlib>
#include <memory>

#include "editor_fixture.h"
#include "ui/navigation_bar.h"
#include "ui/picker_view.h"

namespace lumigrave::test {

class PickerEditorTest : public EditorTest {
  protected:
    ui::ViewController* topScreen() { return navigation().topViewController(); }
    // Done clicked with nothing run after it: what Done did at once is visible.
    void pressDone() { press(navigation().navigationBar()->rightWidget()); }
    // Then the main screen's return.
    void waitForMainScreen() {
        waitForTop([&] { return backOnMainScreen(); });
    }

    // The stored row of the active preset; null when there is none.
    std::unique_ptr<Embosser> storedActive() {
        EmbosserList stored = storedPresets();
        for (auto& preset : stored.embossers) {
            if (preset->rid() == active().rid()) {
                return std::move(preset);
            }
        }
        return nullptr;
    }

    // Turns a picker's wheel by rows as the arrow keys do (down is positive).
    static void stepWheel(ui::PickerView* picker, int rows) {
        ASSERT_NE(picker, nullptr);
        QListView* wheel = picker->wheelForComponent(0);
        for (int i = 0; i < std::abs(rows); ++i) {
            QTest::keyClick(wheel, rows > 0 ? Qt::Key_Down : Qt::Key_Up);
        }
    }
};

}  // namespace lumigrave::test
