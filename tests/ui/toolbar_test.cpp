// Toolbars: items, spaces, custom views.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <memory>
#include <vector>

#include "platform/screen.h"
#include "recording_controller.h"
#include "support/widget_test_support.h"
#include "ui/bar_button_item.h"
#include "ui/bar_style.h"
#include "ui/navigation_bar.h"
#include "ui/navigation_controller.h"
#include "ui/toolbar.h"
#include "ui/view_controller.h"
#include "ui/window.h"

namespace lumigrave::ui {
namespace {

using test::eventually;
using test::flushDeletes;
using test::settle;

// Items by what their toolbar widget is: none for spaces.
class ToolbarTest : public ::testing::Test {
  protected:
    void SetUp() override {
        toolbar.resize(320, kBarHeight);
        toolbar.show();
        settle();
    }
    static int rightEdge(const QWidget* widget) { return widget->x() + widget->width(); }

    int actions = 0;
    BarButtonItem* lastSender = nullptr;
    BarButtonItem::Action record = [this](BarButtonItem* sender) {
        ++actions;
        lastSender = sender;
    };
    BarButtonItem share{BarButtonItem::SystemItem::Action, record};
    BarButtonItem space{BarButtonItem::SystemItem::FlexibleSpace, nullptr};
    BarButtonItem text{"Text", BarButtonItem::Style::Bordered, record};
    BarButtonItem done{BarButtonItem::SystemItem::Done, record};
    // Declared after the items, so it goes before them.
    Toolbar toolbar;
};

TEST_F(ToolbarTest, FlexibleSpacesShareTheSpareRoomAndClicksRunTheItemsActions) {
    toolbar.setItems({&share, &space, &text, &space, &done});
    ASSERT_EQ(toolbar.items().size(), 5);
    QWidget* left = toolbar.widgetForItemAt(0);
    QWidget* middle = toolbar.widgetForItemAt(2);
    QWidget* right = toolbar.widgetForItemAt(4);
    ASSERT_NE(left, nullptr);
    ASSERT_NE(middle, nullptr);
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(toolbar.widgetForItemAt(1), nullptr);
    EXPECT_EQ(toolbar.widgetForItemAt(3), nullptr);
    EXPECT_EQ(toolbar.widgetForItemAt(5), nullptr);
    EXPECT_EQ(toolbar.widgetForItemAt(-1), nullptr);
    EXPECT_EQ(toolbar.widgetForItem(&text), middle);
    EXPECT_EQ(toolbar.widgetForItem(&space), nullptr);
    EXPECT_EQ(text.shownWidget(), middle);

    // The one space item, twice, splits the room evenly: the items spread from margin
    // to margin.
    EXPECT_GT(left->x(), 0);
    EXPECT_NEAR(toolbar.width() - rightEdge(right), left->x(), 1);
    EXPECT_NEAR(middle->x() - rightEdge(left), right->x() - rightEdge(middle), 1);
    for (QWidget* widget : {left, middle, right}) {
        EXPECT_TRUE(toolbar.rect().contains(widget->geometry()));
        EXPECT_TRUE(widget->isVisible());
    }
    // The Action item is an image button, narrower than a titled one.
    EXPECT_TRUE(share.title().isEmpty());
    EXPECT_EQ(done.title(), "Done");
    EXPECT_EQ(done.style(), BarButtonItem::Style::Done);
    EXPECT_LT(left->width(), right->width());

    QTest::mouseClick(left, Qt::LeftButton);
    EXPECT_EQ(actions, 1);
    EXPECT_EQ(lastSender, &share);
    QTest::mouseClick(right, Qt::LeftButton);
    EXPECT_EQ(actions, 2);
    EXPECT_EQ(lastSender, &done);
    text.setEnabled(false);
    QTest::mouseClick(middle, Qt::LeftButton);
    text.trigger();
    EXPECT_EQ(actions, 2);
    text.setEnabled(true);

    toolbar.resize(480, kBarHeight);
    EXPECT_TRUE(eventually([&] { return rightEdge(right) > 400; }));
    EXPECT_NEAR(toolbar.width() - rightEdge(right), left->x(), 1);

    // New items replace the widgets; the ones made for the old items go.
    QPointer<QWidget> oldMiddle = middle;
    toolbar.setItems({&done});
    flushDeletes();
    EXPECT_TRUE(oldMiddle.isNull());
    ASSERT_NE(toolbar.widgetForItemAt(0), nullptr);
    QTest::mouseClick(toolbar.widgetForItemAt(0), Qt::LeftButton);
    EXPECT_EQ(lastSender, &done);
}

TEST_F(ToolbarTest, ACustomViewIsShownAsItIsAndGivenBackWhenTheItemsChange) {
    auto* field = new QLabel("Size");
    BarButtonItem custom(field);
    toolbar.setItems({&custom, &space, &done});
    EXPECT_EQ(toolbar.widgetForItemAt(0), field);
    EXPECT_EQ(field->parentWidget(), &toolbar);
    EXPECT_TRUE(field->isVisible());
    QPointer<QLabel> kept = field;
    toolbar.setItems({&done});
    flushDeletes();
    ASSERT_FALSE(kept.isNull());
    EXPECT_EQ(field->parentWidget(), nullptr);
    toolbar.setItems({&custom});
    EXPECT_EQ(toolbar.widgetForItemAt(0), field);
    toolbar.setItems({});
}

TEST_F(ToolbarTest, ACustomViewOfAFixedSizeKeepsIt) {
    auto* field = new QLabel("A label whose hint is wider than its fixed size");
    field->setFixedSize(120, 30);
    BarButtonItem custom(field);
    toolbar.setItems({&custom, &space, &done});
    EXPECT_EQ(field->size(), QSize(120, 30));
    EXPECT_EQ(field->geometry().top(), (kBarHeight - 30) / 2);
    // The room left over still goes to the space: Done stays at the right edge.
    EXPECT_EQ(rightEdge(toolbar.widgetForItemAt(2)), 320 - 6);
    field->setFixedWidth(200);
    toolbar.resize(321, kBarHeight);
    EXPECT_EQ(field->width(), 200);
    toolbar.setItems({});
}

TEST_F(ToolbarTest, AFixedSpaceAddsItsWidthAndFlexibleRoomStillReachesTheMargin) {
    BarButtonItem one("One", BarButtonItem::Style::Bordered, record);
    BarButtonItem two("Two", BarButtonItem::Style::Bordered, record);
    BarButtonItem gap(BarButtonItem::SystemItem::FixedSpace, nullptr);
    gap.setWidth(30);

    toolbar.setItems({&one, &two});
    const int usual = toolbar.widgetForItemAt(1)->x() - rightEdge(toolbar.widgetForItemAt(0));
    toolbar.setItems({&one, &gap, &two});
    EXPECT_EQ(toolbar.widgetForItemAt(1), nullptr);
    EXPECT_EQ(toolbar.widgetForItemAt(2)->x() - rightEdge(toolbar.widgetForItemAt(0)), usual + 30);

    toolbar.setItems({&one, &gap, &space, &two});
    QWidget* first = toolbar.widgetForItemAt(0);
    QWidget* last = toolbar.widgetForItemAt(3);
    EXPECT_NEAR(toolbar.width() - rightEdge(last), first->x(), 1);
    toolbar.setItems({});
}

}  // namespace
}  // namespace lumigrave::ui
