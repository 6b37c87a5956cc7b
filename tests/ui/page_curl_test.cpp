// The curl-down transition: its timing runs on the run loop's clock, so these tests move
// the clock instead of waiting; its drawing is checked on the container's own pixels.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "support/widget_test_support.h"
#include "ui/page_curl.h"

namespace lumigrave::ui {
namespace {

using test::advance;
using test::settle;

QWidget* colouredView(QWidget* parent, const QColor& colour) {
    auto* view = new QWidget(parent);
    view->setGeometry(parent->rect());
    view->setAutoFillBackground(true);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Window, colour);
    view->setPalette(palette);
    view->show();
    return view;
}

class PageCurlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        container->resize(200, 200);
        shown = colouredView(container.get(), Qt::red);
        waiting = new QWidget;  // not in the container until the change
        container->show();
        settle();
    }
    void TearDown() override { delete waiting.data(); }

    // Trades the views as the preset browser does at the end of its copy.
    void swap() {
        ++changes;
        shown->setParent(nullptr);
        waiting->setParent(container.get());
        waiting->show();
    }
    QColor pixelAt(int x, int y) { return QColor(container->grab().toImage().pixel(x, y)); }

    std::unique_ptr<QWidget> container = std::make_unique<QWidget>();
    QPointer<QWidget> shown;
    QPointer<QWidget> waiting;
    int changes = 0;
    int completions = 0;
};

TEST_F(PageCurlTest, ChangesTheSubviewsOnlyWhenTheSecondIsOver) {
    PageCurl::curlDown(
        container.get(), 1.0, [this] { swap(); }, [this] { ++completions; });
    ASSERT_NE(PageCurl::running(container.get()), nullptr);

    advance(0.975);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(shown->parent(), container.get());
    EXPECT_EQ(completions, 0);

    advance(0.025);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(waiting->parent(), container.get());
    EXPECT_EQ(shown->parent(), nullptr);
    EXPECT_EQ(PageCurl::running(container.get()), nullptr);
    // The page is gone from the container, not merely hidden.
    EXPECT_TRUE(container->findChildren<PageCurl*>().isEmpty());

    advance(5);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(completions, 1);
    delete shown.data();
}

TEST_F(PageCurlTest, ThePageComesDownFromTheTopOverTheLiveViews) {
    PageCurl::curlDown(container.get(), 1.0, [] {});
    // What lies below the page from now on is the live view, now green; the page that
    // comes down is the red picture taken at the start.
    QPalette palette = shown->palette();
    palette.setColor(QPalette::Window, Qt::green);
    shown->setPalette(palette);

    advance(0.5);
    PageCurl* curl = PageCurl::running(container.get());
    ASSERT_NE(curl, nullptr);
    EXPECT_DOUBLE_EQ(curl->progress(), 0.5);
    EXPECT_EQ(pixelAt(100, 20), QColor(Qt::red));     // the flat part of the page
    EXPECT_EQ(pixelAt(100, 190), QColor(Qt::green));  // not yet covered
    // Halfway, the page's edge crosses the middle 115 points down, aslant; the roll
    // below it is the paper's light back, neither view's colour.
    EXPECT_EQ(pixelAt(20, 130), QColor(Qt::green));
    EXPECT_EQ(pixelAt(180, 115), QColor(Qt::red));
    const QColor roll = pixelAt(100, 118);
    EXPECT_GT(roll.red(), 150);
    EXPECT_GT(roll.green(), 150);
    EXPECT_GT(roll.blue(), 150);

    advance(0.45);
    EXPECT_EQ(pixelAt(100, 180), QColor(Qt::red));
}

TEST_F(PageCurlTest, ClicksPassThroughThePage) {
    PageCurl::curlDown(container.get(), 1.0, [] {});
    EXPECT_EQ(container->childAt(100, 100), shown.data());
}

TEST_F(PageCurlTest, ANewTransitionFinishesTheRunningOneFirst) {
    int order = 0;
    int firstAt = 0;
    int secondAt = 0;
    PageCurl::curlDown(container.get(), 1.0, [&] { firstAt = ++order; });
    advance(0.3);
    PageCurl::curlDown(container.get(), 1.0, [&] { secondAt = ++order; });
    EXPECT_EQ(firstAt, 1);
    EXPECT_EQ(secondAt, 0);
    settle();
    EXPECT_EQ(container->findChildren<PageCurl*>().size(), 1);

    // The first one's end, due at 1.0, is dropped with it; the second runs its own second.
    advance(0.75);
    EXPECT_EQ(secondAt, 0);
    advance(0.25);
    EXPECT_EQ(secondAt, 2);
}

TEST_F(PageCurlTest, AContainerThatGoesAwayTakesTheTransitionWithIt) {
    PageCurl::curlDown(
        container.get(), 1.0, [this] { ++changes; }, [this] { ++completions; });
    advance(0.5);
    container.reset();
    advance(1.0);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(completions, 0);
    EXPECT_EQ(lumigrave::test::ManualScheduler::current()->pendingCount(), 0);
}

TEST_F(PageCurlTest, NoDurationChangesAtTheNextTurnOfTheLoop) {
    PageCurl::curlDown(container.get(), 0, [this] { ++changes; });
    EXPECT_EQ(changes, 0);
    settle();
    EXPECT_EQ(changes, 1);
    PageCurl::curlDown(nullptr, 1.0, [this] { ++changes; });
    advance(1.0);
    EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace lumigrave::ui
