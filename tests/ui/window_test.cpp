// Windows: the main one is the screen; the key window; a window of alert level.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <vector>

#include "platform/screen.h"
#include "recording_controller.h"
#include "support/widget_test_support.h"
#include "ui/alert_view.h"
#include "ui/bar_button_item.h"
#include "ui/bar_style.h"
#include "ui/navigation_bar.h"
#include "ui/navigation_controller.h"
#include "ui/on_screen.h"
#include "ui/toolbar.h"
#include "ui/view_controller.h"
#include "ui/window.h"

namespace lumigrave::ui {
namespace {

using test::eventually;
using test::RecordingController;
using test::settle;

// Keeps the bounds and scale the window changes as it is shown and resized.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedBounds_ = Screen::bounds();
        savedScale_ = Screen::mainScreenScale();
    }
    void TearDown() override {
        settle();
        Screen::setBounds(savedBounds_);
        Screen::setMainScreenScale(savedScale_);
    }

  private:
    Size savedBounds_;
    float savedScale_ = 1;
};

TEST_F(WindowTest, ItsSizeInPointsIsTheScreensBoundsAndDecidesTheIdiom) {
    QStringList log;
    Window window;
    // Declared after the window: a root screen is not the window's to delete.
    RecordingController root("R", &log);
    window.setRootViewController(&root);
    EXPECT_EQ(window.rootViewController(), &root);
    window.resize(320, 480);
    Screen::setMainScreenScale(3);
    window.makeKeyAndVisible();
    settle();
    EXPECT_EQ(log, QStringList({"R willAppear", "R didAppear"}));
    EXPECT_EQ(Screen::bounds(), (Size{320, 480}));
    EXPECT_EQ(Screen::applicationFrame(), (Rect{Point{}, Size{320, 480}}));
    EXPECT_FLOAT_EQ(Screen::mainScreenScale(), float(window.devicePixelRatioF()));
    EXPECT_EQ(Device::userInterfaceIdiom(), InterfaceIdiom::Phone);
    EXPECT_EQ(root.view()->geometry(), window.rect());

    window.resize(768, 1024);
    EXPECT_TRUE(eventually([] { return Screen::bounds() == Size{768, 1024}; }));
    EXPECT_EQ(Device::userInterfaceIdiom(), InterfaceIdiom::Pad);
    EXPECT_EQ(Screen::applicationFrame(), (Rect{Point{}, Size{768, 1024}}));
    EXPECT_EQ(root.view()->geometry(), QRect(0, 0, 768, 1024));
    window.resize(767, 1024);
    EXPECT_TRUE(eventually([] { return Screen::bounds() == Size{767, 1024}; }));
    EXPECT_EQ(Device::userInterfaceIdiom(), InterfaceIdiom::Phone);
    // Below its smallest size, the window and so the bounds stop shrinking.
    window.resize(100, 100);
    EXPECT_TRUE(eventually([] { return Screen::bounds() == Size{240, 320}; }));
    EXPECT_EQ(window.size(), QSize(240, 320));

    // The root appears once: showing the window again tells it nothing.
    log.clear();
    window.hide();
    window.show();
    settle();
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(WindowTest, TheKeyWindowIsTheActiveOneElseTheFirstVisibleOne) {
    EXPECT_EQ(Window::keyWindow(), nullptr);
    Window first;
    Window second;
    QWidget other;
    for (QWidget* widget :
         {static_cast<QWidget*>(&first), static_cast<QWidget*>(&second), &other}) {
        widget->resize(300, 400);
        widget->show();
    }
    settle();
    QApplication::setActiveWindow(&second);
    EXPECT_EQ(Window::keyWindow(), &second);
    QApplication::setActiveWindow(&first);
    EXPECT_EQ(Window::keyWindow(), &first);
    QApplication::setActiveWindow(&other);
    Window* key = Window::keyWindow();
    EXPECT_TRUE(key == &first || key == &second);
    first.hide();
    EXPECT_EQ(Window::keyWindow(), &second);
    second.hide();
    EXPECT_EQ(Window::keyWindow(), nullptr);
}

TEST_F(WindowTest, AWindowOfAlertLevelIsNotTheScreen) {
    QStringList log;
    Window main;
    main.resize(320, 480);
    main.show();
    settle();
    ASSERT_EQ(Screen::bounds(), (Size{320, 480}));

    Window popup(Window::Level::Alert);
    EXPECT_FALSE(popup.isMainWindow());
    EXPECT_TRUE(popup.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(popup.windowFlags() & Qt::WindowStaysOnTopHint);
    RecordingController root("P", &log);
    popup.setRootViewController(&root);
    Screen::setMainScreenScale(3);
    popup.resize(200, 120);
    popup.show();
    settle();
    // It shows its screen, but the screen's size and scale stay the main window's.
    EXPECT_EQ(log, QStringList({"P willAppear", "P didAppear"}));
    EXPECT_EQ(root.view()->geometry(), QRect(0, 0, 200, 120));
    EXPECT_EQ(Screen::bounds(), (Size{320, 480}));
    EXPECT_FLOAT_EQ(Screen::mainScreenScale(), 3);
    // Alerts and sheets still go to the main window.
    QApplication::setActiveWindow(&popup);
    EXPECT_EQ(Window::keyWindow(), &main);
    QEvent moved(QEvent::ScreenChangeInternal);
    QCoreApplication::sendEvent(&popup, &moved);
    EXPECT_FLOAT_EQ(Screen::mainScreenScale(), 3);
}

// The last widget among the window's children, the one drawn over the others.
QWidget* topmostChild(QWidget& window) {
    const QObjectList& children = window.children();
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        if ((*it)->isWidgetType()) {
            return static_cast<QWidget*>(*it);
        }
    }
    return nullptr;
}

TEST_F(WindowTest, AnAlertLevelWindowOfTheMainWindowIsALayerOverEverythingInIt) {
    QStringList log;
    Window main;
    main.resize(320, 480);
    auto* field = new QLineEdit(&main);
    field->setGeometry(0, 0, 320, 40);
    main.show();
    QApplication::setActiveWindow(&main);
    field->setFocus();
    settle();
    ASSERT_TRUE(field->hasFocus());

    Window layer(Window::Level::Alert, &main);
    RecordingController root("L", &log);
    layer.setRootViewController(&root);
    EXPECT_FALSE(layer.isMainWindow());
    EXPECT_FALSE(layer.isWindow());
    EXPECT_FALSE(layer.isVisible()) << "hidden until shown";
    EXPECT_EQ(layer.geometry(), main.rect());

    layer.makeKeyAndVisible();
    settle();
    EXPECT_TRUE(layer.isVisible());
    EXPECT_EQ(log, QStringList({"L willAppear", "L didAppear"}));
    EXPECT_TRUE(field->hasFocus()) << "the layer takes no input";
    EXPECT_EQ(QApplication::activeWindow(), &main);
    EXPECT_EQ(Window::keyWindow(), &main);
    EXPECT_EQ(Screen::bounds(), (Size{320, 480}));

    // Clicks go through it to what is beneath.
    int clicked = 0;
    auto* button = new QPushButton("beneath", &main);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(0, 40, 320, 40);
    button->show();
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicked; });
    layer.raise();
    QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {}, QPoint(20, 60));
    EXPECT_EQ(clicked, 1);

    // It follows the window's size, with its screen.
    main.resize(400, 600);
    EXPECT_TRUE(eventually([&] { return layer.geometry() == QRect(0, 0, 400, 600); }));
    EXPECT_EQ(root.view()->geometry(), QRect(0, 0, 400, 600));

    // What comes over the window later still shows beneath it: an alert, a panel
    // raised, a view added.
    auto* alert = new AlertView("Title", "Message", nullptr, "OK");
    alert->show();
    settle();
    ASSERT_EQ(OnScreen::all<AlertView>().size(), 1);
    EXPECT_EQ(topmostChild(main), &layer);
    auto* later = new QLabel("later", &main);
    later->show();
    EXPECT_EQ(topmostChild(main), &layer);
    later->raise();
    EXPECT_EQ(topmostChild(main), &layer);
    OnScreen::pressButton(*alert, 0);
    settle();

    // Hidden, it stays out of the way, and comes back on top.
    layer.hide();
    later->raise();
    EXPECT_EQ(topmostChild(main), later);
    layer.makeKeyAndVisible();
    EXPECT_EQ(topmostChild(main), &layer);
    EXPECT_TRUE(field->hasFocus());
}

TEST_F(WindowTest, TheMainWindowTakesTheScaleOfTheDisplayItMovesTo) {
    Window window;
    std::vector<float> told;
    QObject::connect(&window, &Window::screenScaleChanged,
                     [&](float scale) { told.push_back(scale); });
    window.resize(320, 480);
    Screen::setMainScreenScale(3);  // as if it had been on a denser display
    window.show();
    settle();
    const float here = float(window.devicePixelRatioF());
    EXPECT_FLOAT_EQ(Screen::mainScreenScale(), here);
    EXPECT_EQ(told, std::vector<float>{here});

    Screen::setMainScreenScale(2);
    QEvent moved(QEvent::ScreenChangeInternal);
    QCoreApplication::sendEvent(&window, &moved);
    EXPECT_FLOAT_EQ(Screen::mainScreenScale(), here);
    // A display of the same ratio tells nothing.
    QCoreApplication::sendEvent(&window, &moved);
    EXPECT_EQ(told, (std::vector<float>{here, here}));
}

}  // namespace
}  // namespace lumigrave::ui
