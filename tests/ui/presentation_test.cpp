// The presentation base every kind shown over a window shares, the layer its panel is
// drawn on, and the activity indicator.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "support/image_compare.h"
#include "support/log_capture.h"
#include "support/widget_test_support.h"
#include "ui/action_sheet.h"
#include "ui/activity_indicator_view.h"
#include "ui/alert_view.h"
#include "ui/on_screen.h"
#include "ui/overlay_panel.h"
#include "ui/presentation.h"
#include "ui/window.h"

namespace lumigrave::ui {
namespace {

using test::eventually;
using test::flushDeletes;
using test::settle;

TEST(OverlayPanel, CoversItsHostFollowsItsSizeAndPlacesThePanel) {
    QWidget host;
    host.resize(300, 200);
    host.show();
    settle();
    const QImage before = host.grab().toImage();

    auto* panel = new QWidget;
    panel->resize(100, 50);
    auto* layer = new OverlayPanel(&host, panel, OverlayPanel::Placement::Centre, 0.5, true);
    int escapes = 0;
    int outside = 0;
    layer->onEscape = [&] { ++escapes; };
    layer->onClickOutside = [&] { ++outside; };
    layer->present(false);
    EXPECT_EQ(layer->panel(), panel);
    EXPECT_EQ(panel->parentWidget(), layer);
    EXPECT_EQ(layer->geometry(), host.rect());
    EXPECT_EQ(panel->geometry(), QRect(100, 75, 100, 50));
    // What is under it is dimmed by half.
    const QImage after = host.grab().toImage();
    const QRect corner(2, 2, 20, 20);
    EXPECT_NEAR(lumigrave::test::meanChannel(after, corner, 0),
                lumigrave::test::meanChannel(before, corner, 0) / 2, 8);

    host.resize(500, 400);
    EXPECT_TRUE(eventually([&] { return layer->geometry() == QRect(0, 0, 500, 400); }));
    EXPECT_EQ(panel->geometry(), QRect(200, 175, 100, 50));

    QTest::mouseClick(layer, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(outside, 1);
    QTest::mouseClick(panel, Qt::LeftButton);
    EXPECT_EQ(outside, 1);
    QTest::keyClick(layer, Qt::Key_A);
    EXPECT_EQ(escapes, 0);
    QTest::keyClick(layer, Qt::Key_Escape);
    EXPECT_EQ(escapes, 1);
}

TEST(OverlayPanel, PlacesAtTheBottomOrNextToTheAnchorAndInsideTheHost) {
    QWidget host;
    host.resize(300, 200);
    host.show();
    settle();

    auto* sheet = new QWidget;
    sheet->resize(200, 60);
    auto* bottom = new OverlayPanel(&host, sheet, OverlayPanel::Placement::Bottom, 0, true);
    bottom->present(false);
    EXPECT_EQ(sheet->geometry(), QRect(50, 140, 200, 60));

    auto* bubble = new QWidget;
    bubble->resize(100, 50);
    auto* anchored = new OverlayPanel(&host, bubble, OverlayPanel::Placement::Anchored, 0, true);
    const QRect nearTheTopRight(250, 10, 40, 20);
    anchored->setAnchor(nearTheTopRight);
    anchored->present(false);
    EXPECT_GT(bubble->geometry().top(), nearTheTopRight.bottom());
    EXPECT_EQ(bubble->geometry().right(), host.rect().right());  // pushed back inside
    const QRect nearTheBottom(20, 170, 40, 20);
    anchored->setAnchor(nearTheBottom);
    anchored->present(false);
    EXPECT_LT(bubble->geometry().bottom(), nearTheBottom.top());
    EXPECT_EQ(bubble->geometry().left(), 0);

    // A panel larger than its host is cut down to it.
    auto* huge = new QWidget;
    huge->resize(600, 600);
    auto* centre = new OverlayPanel(&host, huge, OverlayPanel::Placement::Centre, 0, true);
    centre->present(false);
    EXPECT_EQ(huge->geometry(), host.rect());
}

TEST(ActivityIndicatorView, ShowsOnlyWhileItSpinsAndLetsClicksThrough) {
    QWidget host;
    host.resize(100, 100);
    host.show();
    settle();
    auto* spinner = new ActivityIndicatorView(ActivityIndicatorView::Style::Gray, &host);
    spinner->setGeometry(38, 38, 24, 24);
    EXPECT_FALSE(spinner->isAnimating());
    EXPECT_FALSE(spinner->isVisible());

    spinner->startAnimating();
    EXPECT_TRUE(spinner->isAnimating());
    EXPECT_TRUE(spinner->isVisible());
    const QImage first = spinner->grab().toImage();
    EXPECT_TRUE(eventually([&] { return spinner->grab().toImage() != first; }));
    EXPECT_EQ(host.childAt(50, 50), nullptr);

    spinner->stopAnimating();
    EXPECT_FALSE(spinner->isAnimating());
    EXPECT_FALSE(spinner->isVisible());
    spinner->startAnimating();
    EXPECT_TRUE(spinner->isVisible());
}

// A kind of presentation the layer does not know: a bar riding at the bottom of the
// window, non-modal, that logs each step of its leaving.
class RidingBar : public Presentation {
  public:
    explicit RidingBar(QStringList* log) : Presentation(true), log_(log) {}
    ~RidingBar() override { *log_ << "deleted"; }
    bool show(QWidget* host, Modality modality) {
        auto* bar = new QWidget;
        bar->setObjectName("ridingBar");
        bar->resize(200, 30);
        return presentPanel(host, bar, Placement::Bottom, 0.5, modality, false, {}, "A riding bar");
    }
    void dismiss(int index) { dismissPresentation(index); }
    int numberOfButtons() const override { return 1; }
    QString buttonTitleAtIndex(int) const override { return "Done"; }

    // The dismissal asked for again by whoever hears the click.
    bool dismissesAgainWhenClicked = false;

  protected:
    void presentationClicked(int index) override {
        *log_ << QStringLiteral("clicked %1 listed %2").arg(index).arg(listed());
        if (dismissesAgainWhenClicked) {
            dismissPresentation(index + 1);
        }
    }
    void presentationWillHide() override {
        *log_ << QStringLiteral("hiding visible %1").arg(panel()->isVisible());
    }
    void presentationDidDismiss(int index) override {
        *log_ << QStringLiteral("dismissed %1 listed %2").arg(index).arg(listed());
    }

  private:
    bool listed() const { return OnScreen::all().contains(const_cast<RidingBar*>(this)); }
    QStringList* log_;
};

TEST(Presentation, EveryKindLeavesInOneOrderAndIsListedWithoutBeingNamed) {
    Window window;
    window.resize(320, 480);
    window.show();
    settle();
    QStringList log;
    QPointer<RidingBar> bar = new RidingBar(&log);
    ASSERT_TRUE(bar->show(&window, Presentation::Modality::Modal));
    EXPECT_EQ(OnScreen::all<RidingBar>(), QList<RidingBar*>{bar});
    EXPECT_EQ(OnScreen::top<RidingBar>(), bar);
    EXPECT_EQ(OnScreen::top<AlertView>(), nullptr);
    EXPECT_EQ(OnScreen::buttonTitles(*bar), QStringList{"Done"});
    EXPECT_FALSE(OnScreen::pressButton(*bar, 0));  // it shows no button widget

    bar->dismiss(3);
    flushDeletes();
    EXPECT_EQ(log, QStringList({"clicked 3 listed 1", "hiding visible 1", "dismissed 3 listed 0",
                                "deleted"}));
    EXPECT_TRUE(bar.isNull());
    EXPECT_TRUE(OnScreen::all().isEmpty());

    // A delegate that dismisses it again from the click goes through the sequence once.
    log.clear();
    bar = new RidingBar(&log);
    bar->dismissesAgainWhenClicked = true;
    ASSERT_TRUE(bar->show(&window, Presentation::Modality::Modal));
    bar->dismiss(1);
    flushDeletes();
    EXPECT_EQ(log, QStringList({"clicked 1 listed 1", "hiding visible 1", "dismissed 1 listed 0",
                                "deleted"}));
}

TEST(Presentation, ANonModalPanelLeavesTheFocusAndTheRestOfTheWindowAlone) {
    QStringList log;  // outlives the window and what goes with it
    auto window = std::make_unique<Window>();
    window->resize(320, 480);
    auto* field = new QLineEdit(window.get());
    field->setGeometry(10, 10, 200, 30);
    int clicks = 0;
    auto* button = new QPushButton("Under", window.get());
    button->setGeometry(10, 100, 100, 30);
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    window->show();
    settle();
    field->setFocus();
    ASSERT_TRUE(field->hasFocus());

    auto* bar = new RidingBar(&log);
    ASSERT_TRUE(bar->show(window.get(), Presentation::Modality::NonModal));
    auto* panel = bar->panel();
    EXPECT_EQ(panel->mapTo(window.get(), QPoint()), QPoint(60, 450));
    // The layer is only as large as its panel: no dimming, no cover.
    EXPECT_EQ(panel->parentWidget()->geometry(), QRect(60, 450, 200, 30));
    EXPECT_TRUE(field->hasFocus());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    // It follows the window's size.
    window->resize(400, 600);
    settle();
    EXPECT_EQ(panel->mapTo(window.get(), QPoint()), QPoint(100, 570));

    // A modal one takes the focus and keeps the clicks from what is under it.
    auto* modal = new RidingBar(&log);
    ASSERT_TRUE(modal->show(window.get(), Presentation::Modality::Modal));
    EXPECT_FALSE(field->hasFocus());
    QTest::mouseClick(modal->panel()->parentWidget(), Qt::LeftButton, {}, QPoint(20, 115));
    EXPECT_EQ(clicks, 1);

    // Both go with the window, while their log is still there to hear it.
    window.reset();
    flushDeletes();
    EXPECT_EQ(log.count("deleted"), 2);
}

TEST(Presentation, WithNoWindowItSaysSoAndOneThatOwnsItselfIsReleased) {
    lumigrave::test::LogCapture logs;
    QStringList log;
    QPointer<RidingBar> bar = new RidingBar(&log);
    EXPECT_FALSE(bar->show(nullptr, Presentation::Modality::Modal));
    EXPECT_TRUE(logs.contains("A riding bar could not be shown: there is no window"));
    EXPECT_TRUE(OnScreen::all().isEmpty());
    delete bar.data();

    QPointer<ActionSheet> sheet = new ActionSheet("Nowhere", nullptr, "Cancel", QString(), {});
    sheet->showInView(nullptr);
    EXPECT_TRUE(
        logs.contains("The action sheet \"Nowhere\" could not be shown: there is no window"));
    flushDeletes();
    EXPECT_TRUE(sheet.isNull());
}

}  // namespace
}  // namespace lumigrave::ui
