// The main screen: its bars and toolbars, the two modes and their storage, the sheets it
// dispatches, the editors it opens and what it does when they close.
#include <QTest>

#include "app/editors/text_view_controller.h"
#include "app/main/mm_segmented_switcher.h"
#include "app_fixture.h"
#include "model/embosser.h"
#include "platform/reachability.h"
#include "platform/user_defaults.h"
#include "support/widget_test_support.h"
#include "ui/action_sheet.h"
#include "ui/alert_view.h"
#include "ui/bar_button_item.h"
#include "ui/image_picker_controller.h"
#include "ui/image_view.h"
#include "ui/navigation_bar.h"
#include "ui/navigation_controller.h"
#include "ui/on_screen.h"
#include "ui/segmented_control.h"
#include "ui/toolbar.h"

namespace lumigrave::test {
namespace {

// The bars' slide takes a fifth of a second; this leaves room for a slow machine.
constexpr int kSlideMs = 1500;

class MainScreenTest : public AppTest {
  protected:
    ui::NavigationController& navigation() { return *app().navigationController(); }
    QStringList toolbarNames() {
        QStringList names;
        for (ui::BarButtonItem* item : navigation().toolbar()->items()) {
            names.append(item->isSpace() ? QStringLiteral("space") : item->objectName());
        }
        return names;
    }
    void storeMode(qint64 mode) {
        UserDefaults defaults;
        defaults.setInteger(kOperatingModeKey, mode);
        defaults.synchronize();
    }
    qint64 storedMode() { return UserDefaults().integerForKey(kOperatingModeKey); }
    // A touch on the mode switch, which flips it whatever segment it lands on.
    void touchModeSwitch() { click(root().operatingModeSeg()); }
    bool barsShown() {
        return navigation().navigationBar()->isVisible() && navigation().toolbar()->isVisible();
    }
    ui::ActionSheet* sheet() { return ui::OnScreen::top<ui::ActionSheet>(); }
    ui::AlertView* alert() { return ui::OnScreen::top<ui::AlertView>(); }
};

const QStringList kWatermarkToolbar{"Text",  "space",  "Font",  "space",  "Size, Opacity and Angle",
                                    "space", "Layout", "space", "Presets"};
const QStringList kPhotoToolbar{"Open Photo", "space",        "Output Size", "space", "Rotate Left",
                                "space",      "Rotate Right", "space",       "Output"};

TEST_F(MainScreenTest, BuildsBothToolbarsAroundOneSharedSpace) {
    launch();
    EXPECT_EQ(root().title(), "Lumigrave");
    EXPECT_EQ(toolbarNames(), kWatermarkToolbar);
    for (const auto* items : {&root().tbItemsEmbosser(), &root().tbItemsPhoto()}) {
        ASSERT_EQ(items->size(), 9);
        for (int i = 3; i < 9; i += 2) {
            EXPECT_EQ((*items)[i], (*items)[1]);
        }
        EXPECT_EQ((*items)[1]->systemItem(), ui::BarButtonItem::SystemItem::FlexibleSpace);
        for (int i = 0; i < 8; i += 2) {
            EXPECT_EQ((*items)[i]->style(), ui::BarButtonItem::Style::Plain);
            EXPECT_FALSE((*items)[i]->image().isNull()) << i;
        }
    }
    EXPECT_EQ(root().tbItemsPhoto()[8]->systemItem(), ui::BarButtonItem::SystemItem::Action);
    EXPECT_FALSE(root().tbItemsEmbosser()[8]->image().isNull());

    // The switch on the left shows the two mode images as a bar; the gear is on the right.
    MMSegmentedSwitcher* modes = root().operatingModeSeg();
    ASSERT_EQ(modes->numberOfSegments(), 2);
    EXPECT_FALSE(modes->imageForSegment(0).isNull());
    EXPECT_FALSE(modes->imageForSegment(1).isNull());
    EXPECT_EQ(modes->segmentedControlStyle(), 2);
    EXPECT_EQ(modes->selectedSegmentIndex(), 0);
    EXPECT_EQ(root().navigationItem().leftBarButtonItem()->customView(), modes);
    EXPECT_EQ(root().navigationItem().rightBarButtonItem()->style(),
              ui::BarButtonItem::Style::Bordered);
}

TEST_F(MainScreenTest, TheBarsSlideInAfterTheStartAndATapTogglesThem) {
    launch();
    EXPECT_TRUE(navigation().isNavigationBarHidden());
    advance(0.299);
    EXPECT_TRUE(navigation().isNavigationBarHidden());
    advance(0.001);
    EXPECT_FALSE(navigation().isNavigationBarHidden());
    EXPECT_FALSE(navigation().isToolbarHidden());
    // Both bars come to lie over the photo, at the window's top and bottom edges.
    EXPECT_TRUE(ui::test::eventually(
        [&] { return navigation().navigationBar()->geometry() == QRect(0, 0, 320, 44); },
        kSlideMs));
    EXPECT_TRUE(ui::test::eventually(
        [&] { return navigation().toolbar()->geometry() == QRect(0, 436, 320, 44); }, kSlideMs));
    EXPECT_TRUE(barsShown());

    QWidget* photoArea = root().view();
    click(photoArea);
    EXPECT_TRUE(navigation().isNavigationBarHidden());
    EXPECT_TRUE(navigation().isToolbarHidden());
    EXPECT_TRUE(
        ui::test::eventually([&] { return !navigation().navigationBar()->isVisible(); }, kSlideMs));
    EXPECT_TRUE(
        ui::test::eventually([&] { return !navigation().toolbar()->isVisible(); }, kSlideMs));
    click(photoArea);
    EXPECT_FALSE(navigation().isNavigationBarHidden());
    EXPECT_TRUE(ui::test::eventually([&] { return barsShown(); }, kSlideMs));

    // A drag over the photo pans it and leaves the bars alone.
    QTest::mousePress(photoArea, Qt::LeftButton, Qt::NoModifier, QPoint(100, 200));
    QTest::mouseMove(photoArea, QPoint(140, 220));
    QTest::mouseRelease(photoArea, Qt::LeftButton, Qt::NoModifier, QPoint(140, 220));
    settle();
    EXPECT_FALSE(navigation().isNavigationBarHidden());
}

TEST_F(MainScreenTest, TheModeIsStoredOnlyWhenTheApplicationLeaves) {
    launch();
    touchModeSwitch();
    EXPECT_EQ(root().operatingMode(), 1);
    EXPECT_EQ(toolbarNames(), kPhotoToolbar);
    EXPECT_EQ(storedMode(), 0);
    // Killed before it went to the background: the change is lost.
    kill();
    launch();
    EXPECT_EQ(root().operatingMode(), 0);
    EXPECT_EQ(toolbarNames(), kWatermarkToolbar);

    touchModeSwitch();
    touchModeSwitch();
    touchModeSwitch();
    EXPECT_EQ(root().operatingModeSeg()->selectedSegmentIndex(), 1);
    application().windowHidden();
    EXPECT_EQ(storedMode(), 1);
    application().windowShown();
    touchModeSwitch();
    EXPECT_EQ(toolbarNames(), kWatermarkToolbar);
    EXPECT_EQ(storedMode(), 1);
    // A quit is a trip to the background first.
    quit();
    EXPECT_EQ(storedMode(), 0);

    for (qint64 stored : {1, 7, -1}) {
        storeMode(stored);
        launch();
        EXPECT_EQ(toolbarNames(), kPhotoToolbar) << stored;
        EXPECT_NE(root().operatingMode(), 0);
        kill();
    }
}

TEST_F(MainScreenTest, TheOutputSheetReportsItsActionsAndCancelDoesNothing) {
    launch();
    touchModeSwitch();
    clickToolbarItem("Output");
    ASSERT_NE(sheet(), nullptr);
    EXPECT_EQ(sheet()->tag(), RootViewController::kOutputActionsSheet);
    EXPECT_EQ(sheet()->title(), "");
    EXPECT_EQ(sheet()->style(), ui::ActionSheet::Style::BlackTranslucent);
    EXPECT_EQ(ui::OnScreen::buttonTitles(*sheet()),
              QStringList({"Share Image...", "E-Mail Image...", "Save to Photo Album", "Cancel"}));
    EXPECT_EQ(sheet()->cancelButtonIndex(), 3);
    EXPECT_EQ(sheet()->destructiveButtonIndex(), -1);
    ASSERT_TRUE(ui::OnScreen::pressButton(*sheet(), 3));
    settle();
    EXPECT_EQ(sheet(), nullptr);
    EXPECT_EQ(alert(), nullptr);

    // E-mail and saving have tests of their own. Sharing asks for the service first.
    clickToolbarItem("Output");
    ASSERT_NE(sheet(), nullptr);
    ASSERT_TRUE(ui::OnScreen::pressButton(*sheet(), 0));
    settle();
    ASSERT_NE(sheet(), nullptr);
    EXPECT_EQ(sheet()->title(), "Share to");
    EXPECT_EQ(sheet()->tag(), RootViewController::kShareServiceSheet);
    EXPECT_EQ(sheet()->style(), ui::ActionSheet::Style::BlackTranslucent);
    EXPECT_EQ(ui::OnScreen::buttonTitles(*sheet()),
              QStringList({"Facebook", "Twitter", "Flickr", "Cancel"}));
    // Flickr logs in on its page first, which needs the network.
    Reachability::setForcedConnected(false);
    ASSERT_TRUE(ui::OnScreen::pressButton(*sheet(), 2));
    EXPECT_EQ(overlayMessage(), "Loading...");
    settle();
    EXPECT_EQ(overlayMessage(), "");
    ASSERT_NE(alert(), nullptr);
    EXPECT_EQ(alert()->title(), "Offline");
    EXPECT_EQ(alert()->message(), "You must be online to login to Flickr");
    Reachability::setForcedConnected(std::nullopt);
    // Dismissing it touches neither the countdown nor the store.
    ASSERT_TRUE(ui::OnScreen::pressButton(*alert(), 0));
    settle();
    EXPECT_EQ(RootViewController::shareItemTitle(), "Created by Lumigrave");
    EXPECT_EQ(UserDefaults().integerForKey(kRequestRateCountdownKey), 3);
}

TEST_F(MainScreenTest, SheetsAreDispatchedByTagAndPosition) {
    launch();
    touchModeSwitch();
    clickToolbarItem("Open Photo");
    ASSERT_NE(sheet(), nullptr);
    EXPECT_EQ(sheet()->tag(), RootViewController::kPhotoSourceSheet);
    EXPECT_EQ(sheet()->title(), "Load Image");
    // The camera is offered where there is one, marked as the destructive button.
    if (ui::ImagePickerController::isSourceTypeAvailable(
            ui::ImagePickerController::SourceType::Camera)) {
        EXPECT_EQ(ui::OnScreen::buttonTitles(*sheet()),
                  QStringList({"Choose a Photo", "Take a Photo", "Cancel"}));
        EXPECT_EQ(sheet()->destructiveButtonIndex(), 1);
    } else {
        EXPECT_EQ(ui::OnScreen::buttonTitles(*sheet()), QStringList({"Choose a Photo", "Cancel"}));
        EXPECT_EQ(sheet()->destructiveButtonIndex(), -1);
    }
    ASSERT_TRUE(ui::OnScreen::pressButton(*sheet(), sheet()->cancelButtonIndex()));
    settle();
    EXPECT_EQ(root().imagePicker(), nullptr);

    clickToolbarItem("Open Photo");
    ASSERT_TRUE(ui::OnScreen::pressButton(*sheet(), 0));
    settle();
    ui::ImagePickerController* picker = root().imagePicker();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->sourceType(), ui::ImagePickerController::SourceType::PhotoLibrary);
    picker->cancel();
    settle();
    EXPECT_EQ(root().imagePicker(), nullptr);
    EXPECT_TRUE(app().originalImage().isSameImage(app().activeImage()));

    // The share-service sheet shows the overlay first and runs the service a turn later.
    ui::ActionSheet services(QString(), {}, QStringLiteral("Cancel"), QString(),
                             {QStringLiteral("Facebook"), QStringLiteral("Twitter")});
    services.setTag(RootViewController::kShareServiceSheet);
    root().didDismissWithButtonIndex(services, services.cancelButtonIndex());
    settle();
    EXPECT_EQ(app().activityView(), nullptr);
    // Twitter logs in on its page first, which needs the network.
    Reachability::setForcedConnected(false);
    root().didDismissWithButtonIndex(services, 1);
    EXPECT_EQ(overlayMessage(), "Loading...");
    EXPECT_EQ(alert(), nullptr);
    settle();
    EXPECT_EQ(overlayMessage(), "");
    ASSERT_NE(alert(), nullptr);
    EXPECT_EQ(alert()->title(), "Offline");
    EXPECT_EQ(alert()->message(), "You must be online to login to Twitter");
    Reachability::setForcedConnected(std::nullopt);

    // Another tag is nobody's.
    ui::ActionSheet stranger(QString(), {}, QStringLiteral("Cancel"), QString(),
                             {QStringLiteral("One")});
    stranger.setTag(7);
    int alerts = int(ui::OnScreen::all<ui::AlertView>().size());
    root().didDismissWithButtonIndex(stranger, 0);
    settle();
    EXPECT_EQ(ui::OnScreen::all<ui::AlertView>().size(), alerts);
}

TEST_F(MainScreenTest, TheTextAndFontEditorsOpenBehindTheLoadingOverlay) {
    launch();
    for (const char* name : {"Text", "Font"}) {
        pressToolbarItem(name);
        // Shown at once; the editor comes a turn later and takes the overlay down.
        EXPECT_EQ(overlayMessage(), "Loading...") << name;
        EXPECT_EQ(navigation().topViewController(), &root()) << name;
        settle();
        EXPECT_NE(navigation().topViewController(), &root()) << name;
        EXPECT_EQ(overlayMessage(), "") << name;
        navigation().popViewControllerAnimated(false);
        settle();
        ASSERT_EQ(navigation().topViewController(), &root());
    }
    // The editors without a lengthy start show no overlay.
    for (const char* name : {"Size, Opacity and Angle", "Layout", "Presets"}) {
        pressToolbarItem(name);
        EXPECT_EQ(overlayMessage(), "") << name;
        EXPECT_TRUE(ui::test::eventually(
            [&] { return navigation().topViewController() != &root(); }, kSlideMs));
        navigation().popViewControllerAnimated(false);
        EXPECT_TRUE(ui::test::eventually(
            [&] { return navigation().topViewController() == &root(); }, kSlideMs));
    }
}

TEST_F(MainScreenTest, AChangedPresetIsRenderedAgainOnReturnAndAnUnchangedOneIsNot) {
    launch();
    advance(0.3);
    EXPECT_TRUE(ui::test::eventually([&] { return barsShown(); }, kSlideMs));
    const Image before = app().embossedImage();

    // The text editor opens behind the overlay, which it takes down once shown.
    clickToolbarItem("Text");
    ASSERT_NE(app().activityView(), nullptr);
    settle();
    auto* editor = dynamic_cast<TextViewController*>(navigation().topViewController());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->title(), "Lumigrave");
    EXPECT_FALSE(app().activityView()->isVisible());
    EXPECT_FALSE(navigation().isNavigationBarHidden());
    EXPECT_TRUE(navigation().isToolbarHidden());

    // Zoomed in; a return without a change keeps the zoom and the rendering.
    root().imageSubView()->setTransformScale(2);
    click(navigation().navigationBar()->leftWidget());
    EXPECT_TRUE(ui::test::eventually([&] { return navigation().topViewController() == &root(); },
                                     kSlideMs));
    settle();
    EXPECT_TRUE(app().embossedImage().isSameImage(before));
    EXPECT_FLOAT_EQ(root().imageSubView()->transformScale(), 2);
    EXPECT_FALSE(navigation().isToolbarHidden());

    // A return after a change renders again: each editor's tests show it for its own Done.

    click(navigation().navigationBar()->rightWidget());
    EXPECT_TRUE(ui::test::eventually([&] { return navigation().topViewController() != &root(); },
                                     kSlideMs));
    EXPECT_EQ(navigation().topViewController()->title(), "Settings");
    EXPECT_EQ(navigation().viewControllers().size(), 2u);
}

}  // namespace
}  // namespace lumigrave::test
