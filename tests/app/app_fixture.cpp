#include "app_fixture.h"

#include <QImage>

#include "app/activity_overlay.h"
#include "platform/screen.h"
#include "support/widget_test_support.h"
#include "ui/bar_button_item.h"
#include "ui/image_picker_controller.h"
#include "ui/navigation_controller.h"
#include "ui/on_screen.h"
#include "ui/toolbar.h"

namespace lumigrave::test {

void AppTest::SetUp() {
    home_ = std::make_unique<TempHome>();
    Screen::setBounds(Size{320, 480});
    Screen::setMainScreenScale(0);  // the display's, as a process starts
}

void AppTest::TearDown() {
    application_.reset();
    delegate_.reset();
    settle();
    home_.reset();
}

void AppTest::launch() {
    delegate_ = std::make_unique<AppDelegate>();
    application_ = std::make_unique<ui::Application>(delegate_.get());
    ASSERT_TRUE(application_->launch());
    settle();
}

void AppTest::quit() {
    application_->terminate();
    kill();
}

void AppTest::kill() {
    application_.reset();
    delegate_.reset();
    settle();
}

void AppTest::click(QWidget* widget, QPoint at) {
    press(widget, at);
    settle();
}

void AppTest::press(QWidget* widget, QPoint at) {
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier,
                      at.isNull() ? widget->rect().center() : at);
}

void AppTest::clickToolbarItem(const QString& name) {
    pressToolbarItem(name);
    settle();
}

void AppTest::pressToolbarItem(const QString& name) {
    ui::Toolbar* toolbar = app().navigationController()->toolbar();
    for (ui::BarButtonItem* item : toolbar->items()) {
        if (item->objectName() == name) {
            press(toolbar->widgetForItem(item));
            return;
        }
    }
    ADD_FAILURE() << "No toolbar item " << name.toStdString();
}

QString AppTest::overlayMessage() {
    ActivityOverlay* overlay = app().overlay();
    return overlay != nullptr && overlay->isShown() ? overlay->message() : QString();
}

void AppTest::advance(double seconds) {
    ui::test::advance(seconds);
}

void AppTest::settle() {
    ui::test::settle();
}

Image AppTest::photo(int width, int height) {
    QImage pixels(width, height, QImage::Format_RGB32);
    pixels.fill(QColor(90, 120, 150));
    return Image(pixels, 1);
}

void AppTest::pick(const Image& image) {
    ui::ImagePickerController picker;
    QVariantMap info;
    info.insert(ui::ImagePickerController::kOriginalImageKey, QVariant::fromValue(image));
    root().didFinishPickingMediaWithInfo(picker, info);
    settle();
}

}  // namespace lumigrave::test
