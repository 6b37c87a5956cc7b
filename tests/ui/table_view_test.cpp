// The table: sections, rows and their titles, choosing rows, cells that hold a form's
// widgets, scrolling, and a table screen under the navigation bar.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <functional>
#include <memory>

#include "platform/screen.h"
#include "support/log_capture.h"
#include "support/widget_test_support.h"
#include "ui/bar_style.h"
#include "ui/navigation_controller.h"
#include "ui/style.h"
#include "ui/table_view.h"
#include "ui/table_view_controller.h"
#include "ui/window.h"

namespace lumigrave::ui {
namespace {

using test::eventually;
using test::flushDeletes;
using test::settle;
using Position = TableViewCell::GroupPosition;

// Sections of rows named "s.r", with the titles given, telling what is chosen.
class Rows : public TableViewDataSource, public TableViewDelegate {
  public:
    std::vector<int> rows = {2, 1, 3};
    QStringList headers = {"First", "", "Third"};
    QStringList footers = {"", "Under the second", ""};
    float height = 0;
    std::vector<IndexPath> chosen;
    std::function<void(TableView&, IndexPath)> onChoice;

    int numberOfSectionsInTableView(TableView&) override { return int(rows.size()); }
    int numberOfRowsInSection(TableView&, int section) override { return rows[size_t(section)]; }
    TableViewCell* cellForRowAtIndexPath(TableView&, IndexPath at) override {
        auto* cell = new TableViewCell(TableViewCell::Style::Default, "Cell");
        cell->textLabel()->setText(QStringLiteral("%1.%2").arg(at.section).arg(at.row));
        return cell;
    }
    QString titleForHeaderInSection(TableView&, int section) override {
        return headers.value(section);
    }
    QString titleForFooterInSection(TableView&, int section) override {
        return footers.value(section);
    }
    float heightForRowAtIndexPath(TableView&, IndexPath) override { return height; }
    void didSelectRowAtIndexPath(TableView& table, IndexPath at) override {
        chosen.push_back(at);
        if (onChoice) {
            onChoice(table, at);
        }
    }
};

// Only what must be given.
class Bare : public TableViewDataSource {
  public:
    int numberOfRowsInSection(TableView&, int) override { return 2; }
    TableViewCell* cellForRowAtIndexPath(TableView&, IndexPath) override {
        return new TableViewCell;
    }
};

// A table of the rows shown in a 320 × 480 window.
class TableTest : public ::testing::Test {
  protected:
    void show(TableView::Style style) {
        table_ = std::make_unique<TableView>(style);
        table_->resize(320, 480);
        table_->setDelegate(&rows_);
        table_->setDataSource(&rows_);
        table_->show();
        settle();
    }
    void TearDown() override {
        table_.reset();
        flushDeletes();
    }
    TableViewCell* cell(int section, int row) {
        return table_->cellForRowAtIndexPath({section, row});
    }
    // A click in the middle of a row's cell, as the mouse makes it.
    void clickRow(int section, int row) {
        TableViewCell* at = cell(section, row);
        ASSERT_NE(at, nullptr);
        QTest::mouseClick(at, Qt::LeftButton, {}, at->rect().center());
        settle();
    }

    Rows rows_;
    std::unique_ptr<TableView> table_;
};

TEST_F(TableTest, GroupedSectionsStackTheirTitlesAndRowsInOrderInsetFromTheSides) {
    show(TableView::Style::Grouped);
    ASSERT_EQ(table_->numberOfSections(), 3);
    EXPECT_EQ(table_->numberOfRowsInSection(0), 2);
    EXPECT_EQ(table_->numberOfRowsInSection(1), 1);
    EXPECT_EQ(table_->numberOfRowsInSection(2), 3);
    EXPECT_EQ(table_->numberOfRowsInSection(3), 0);

    // Titles only where the data source gives one.
    ASSERT_NE(table_->headerViewForSection(0), nullptr);
    EXPECT_EQ(table_->headerViewForSection(0)->text(), "First");
    EXPECT_EQ(table_->headerViewForSection(1), nullptr);
    EXPECT_EQ(table_->headerViewForSection(2)->text(), "Third");
    EXPECT_EQ(table_->footerViewForSection(0), nullptr);
    ASSERT_NE(table_->footerViewForSection(1), nullptr);
    EXPECT_EQ(table_->footerViewForSection(1)->text(), "Under the second");

    // Cells are the table's own widgets, in the data source's order, one under the other.
    const QList<TableViewCell*> cells = table_->findChildren<TableViewCell*>();
    EXPECT_EQ(cells.size(), 6);
    QStringList order;
    int bottom = 0;
    for (int s = 0; s < 3; ++s) {
        for (int r = 0; r < table_->numberOfRowsInSection(s); ++r) {
            const QRect row = table_->rectForRowAtIndexPath({s, r});
            order << cell(s, r)->textLabel()->text();
            EXPECT_EQ(row.height(), TableViewCell::kDefaultHeight);
            EXPECT_EQ(row.left(), 10);
            EXPECT_EQ(row.right(), 320 - 10 - 1);
            EXPECT_GE(row.top(), bottom);
            // Rows of one section touch; sections are set apart.
            if (r > 0) {
                EXPECT_EQ(row.top(), bottom);
            } else {
                EXPECT_GT(row.top(), bottom);
            }
            bottom = row.bottom() + 1;
        }
    }
    EXPECT_EQ(order, QStringList({"0.0", "0.1", "1.0", "2.0", "2.1", "2.2"}));
    // A header sits over its section's first row, a footer under its last.
    EXPECT_LE(table_->headerViewForSection(2)->geometry().bottom(),
              table_->rectForRowAtIndexPath({2, 0}).top());
    EXPECT_GE(table_->footerViewForSection(1)->geometry().top(),
              table_->rectForRowAtIndexPath({1, 0}).bottom());
    EXPECT_LE(table_->footerViewForSection(1)->geometry().bottom(),
              table_->rectForRowAtIndexPath({2, 0}).top());

    // The backdrop shows between the groups, beside them and behind their titles.
    const QImage shot = table_->grab().toImage();
    for (QPoint at : {QPoint(3, 3), QPoint(160, 3), QPoint(5, 300), QPoint(300, 20)}) {
        EXPECT_EQ(shot.pixelColor(at), style::groupTableViewBackground())
            << at.x() << "," << at.y();
    }
    EXPECT_EQ(shot.pixelColor(table_->rectForRowAtIndexPath({0, 0}).center() + QPoint(60, 0)),
              style::tableCellBackground());

    // Each group's outer cells carry its rounded ends.
    EXPECT_EQ(cell(0, 0)->groupPosition(), Position::Top);
    EXPECT_EQ(cell(0, 1)->groupPosition(), Position::Bottom);
    EXPECT_EQ(cell(1, 0)->groupPosition(), Position::Single);
    EXPECT_EQ(cell(2, 1)->groupPosition(), Position::Middle);
}

TEST_F(TableTest, TheFooterViewFollowsTheLastSectionAndGoesWhenReplaced) {
    show(TableView::Style::Grouped);
    QPointer<QWidget> footer = new QWidget;
    footer->resize(100, 60);
    table_->setTableFooterView(footer);
    settle();
    EXPECT_EQ(footer->parentWidget()->parentWidget(), table_->viewport());
    EXPECT_GT(footer->y(), table_->rectForRowAtIndexPath({2, 2}).bottom());
    // As wide as the table, its own height kept.
    EXPECT_EQ(footer->width(), table_->viewport()->width());
    EXPECT_EQ(footer->height(), 60);
    EXPECT_EQ(table_->contentHeight(), footer->geometry().bottom() + 1);

    // A reload keeps it under the rows, wherever they end now.
    rows_.rows = {1};
    table_->reloadData();
    settle();
    EXPECT_GT(footer->y(), table_->rectForRowAtIndexPath({0, 0}).bottom());
    EXPECT_LT(footer->y(), table_->rectForRowAtIndexPath({0, 0}).bottom() + 40);

    table_->setTableFooterView(nullptr);
    EXPECT_TRUE(footer.isNull());
}

TEST_F(TableTest, PlainRowsRunEdgeToEdgeAndADelegateSetsTheirHeight) {
    rows_.height = 60;
    show(TableView::Style::Plain);
    const QRect row = table_->rectForRowAtIndexPath({0, 0});
    EXPECT_EQ(row.left(), 0);
    EXPECT_EQ(row.width(), table_->viewport()->width());
    EXPECT_EQ(row.height(), 60);

    // Without a delegate, and with a data source that gives only rows and cells: one
    // section of rows of the platform's height, no titles.
    Bare bare;
    TableView table(TableView::Style::Plain);
    table.resize(320, 200);
    table.setDataSource(&bare);
    EXPECT_EQ(table.numberOfSections(), 1);
    EXPECT_EQ(table.numberOfRowsInSection(0), 2);
    EXPECT_EQ(table.rectForRowAtIndexPath({0, 1}).height(), TableViewCell::kDefaultHeight);
    EXPECT_EQ(table.headerViewForSection(0), nullptr);
}

TEST_F(TableTest, AClickChoosesTheRowAndTheDelegateMayDeselectIt) {
    show(TableView::Style::Grouped);
    clickRow(2, 1);
    ASSERT_EQ(rows_.chosen.size(), 1u);
    EXPECT_EQ(rows_.chosen[0], (IndexPath{2, 1}));
    EXPECT_EQ(table_->indexPathForSelectedRow(), (IndexPath{2, 1}));
    EXPECT_TRUE(cell(2, 1)->isSelected());

    // Choosing another row moves the selection; a delegate that deselects clears it.
    rows_.onChoice = [](TableView& table, IndexPath at) { table.deselectRowAtIndexPath(at, true); };
    clickRow(0, 0);
    EXPECT_EQ(rows_.chosen.back(), (IndexPath{0, 0}));
    EXPECT_FALSE(table_->indexPathForSelectedRow().has_value());
    EXPECT_FALSE(cell(0, 0)->isSelected());
    EXPECT_FALSE(cell(2, 1)->isSelected());

    // Selecting in code tells the delegate nothing.
    table_->selectRowAtIndexPath({1, 0}, false);
    EXPECT_EQ(rows_.chosen.size(), 2u);
    EXPECT_TRUE(cell(1, 0)->isSelected());

    // A press dragged off the row before release chooses nothing.
    TableViewCell* row = cell(0, 1);
    QTest::mousePress(row, Qt::LeftButton, {}, row->rect().center());
    QTest::mouseRelease(row, Qt::LeftButton, {}, QPoint(row->width() / 2, row->height() + 30));
    settle();
    EXPECT_EQ(rows_.chosen.size(), 2u);
}

TEST_F(TableTest, AFormsWidgetInACellTakesItsOwnClicks) {
    show(TableView::Style::Grouped);
    auto* field = new QLineEdit(cell(0, 0)->contentView());
    field->setObjectName("name");
    field->setGeometry(100, 7, 150, 30);
    field->show();
    settle();
    EXPECT_EQ(table_->findChild<QLineEdit*>("name"), field);
    QTest::mouseClick(field, Qt::LeftButton, {}, field->rect().center());
    settle();
    EXPECT_TRUE(rows_.chosen.empty());
    // The rest of the cell still chooses the row.
    QTest::mouseClick(cell(0, 0), Qt::LeftButton, {}, QPoint(20, 22));
    settle();
    EXPECT_EQ(rows_.chosen.size(), 1u);
}

TEST_F(TableTest, AReloadFromTheChoiceItselfReplacesTheCellsSafely) {
    show(TableView::Style::Grouped);
    QPointer<TableViewCell> old = cell(0, 0);
    rows_.onChoice = [this](TableView& table, IndexPath) {
        rows_.rows = {4};
        table.reloadData();
    };
    clickRow(0, 0);
    EXPECT_EQ(table_->numberOfSections(), 1);
    EXPECT_EQ(table_->numberOfRowsInSection(0), 4);
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(table_->findChildren<TableViewCell*>().size(), 4);
    EXPECT_FALSE(table_->indexPathForSelectedRow().has_value());
}

TEST_F(TableTest, ScrollingBringsARowIntoSightUnlessTurnedOff) {
    rows_.rows = {30};
    rows_.headers.clear();
    rows_.footers.clear();
    show(TableView::Style::Plain);
    table_->resize(320, 200);
    settle();
    const QRect last = table_->rectForRowAtIndexPath({0, 29});
    EXPECT_GT(last.top(), 200);
    EXPECT_FALSE(table_->indexPathForRowAtPoint({20, 190}) == (IndexPath{0, 29}));
    table_->scrollToRowAtIndexPath({0, 29}, false);
    EXPECT_EQ(table_->indexPathForRowAtPoint({20, 190}), (IndexPath{0, 29}));
    table_->scrollToRowAtIndexPath({0, 0}, true);
    EXPECT_EQ(table_->verticalScrollBar()->value(), 0);

    // The wheel scrolls, unless scrolling is off.
    QWheelEvent down(QPointF(50, 50), table_->viewport()->mapToGlobal(QPointF(50, 50)), {},
                     QPoint(0, -120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(table_->viewport(), &down);
    EXPECT_GT(table_->verticalScrollBar()->value(), 0);
    table_->verticalScrollBar()->setValue(0);
    table_->setScrollEnabled(false);
    QWheelEvent again(QPointF(50, 50), table_->viewport()->mapToGlobal(QPointF(50, 50)), {},
                      QPoint(0, -120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(table_->viewport(), &again);
    EXPECT_EQ(table_->verticalScrollBar()->value(), 0);
}

// Counts it cannot use and cells it is not given.
class Broken : public TableViewDataSource {
  public:
    int numberOfSectionsInTableView(TableView&) override { return 2; }
    int numberOfRowsInSection(TableView&, int section) override { return section == 0 ? -3 : 1; }
    TableViewCell* cellForRowAtIndexPath(TableView&, IndexPath) override { return nullptr; }
};

TEST_F(TableTest, ABrokenDataSourceIsLoggedAndLeavesAUsableTable) {
    lumigrave::test::LogCapture log;
    Broken broken;
    TableView table(TableView::Style::Grouped);
    table.resize(320, 200);
    table.setDataSource(&broken);
    EXPECT_EQ(table.numberOfRowsInSection(0), 0);
    ASSERT_EQ(table.numberOfRowsInSection(1), 1);
    EXPECT_NE(table.cellForRowAtIndexPath({1, 0}), nullptr);
    EXPECT_TRUE(log.contains("A table's data source gave no cell for row 0 of section 1"));
    // Index paths that point nowhere find nothing and change nothing.
    EXPECT_EQ(table.cellForRowAtIndexPath({1, 1}), nullptr);
    EXPECT_EQ(table.cellForRowAtIndexPath({-1, 0}), nullptr);
    EXPECT_TRUE(table.rectForRowAtIndexPath({5, 0}).isEmpty());
    table.selectRowAtIndexPath({7, 7}, false);
    EXPECT_FALSE(table.indexPathForSelectedRow().has_value());
    table.deselectRowAtIndexPath({7, 7}, false);
    table.scrollToRowAtIndexPath({7, 7}, false);
    // And a table with no data source at all is empty.
    table.setDataSource(nullptr);
    EXPECT_EQ(table.numberOfSections(), 0);
}

// A table screen of two rows.
class TwoRowScreen : public TableViewController {
  public:
    TwoRowScreen() : TableViewController(TableView::Style::Grouped) {}
    int numberOfRowsInSection(TableView&, int) override { return 2; }
};

TEST(TableViewController, ItsTableLiesUnderTheBarsAndFollowsThem) {
    const Size savedBounds = Screen::bounds();
    Window window;
    auto* root = new ViewController;
    NavigationController navigation(root);
    window.resize(320, 480);
    window.setRootViewController(&navigation);
    window.show();
    settle();
    auto* screen = new TwoRowScreen;
    navigation.pushViewController(screen, false);
    settle();
    TableView* table = screen->tableView();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->dataSource(), screen);
    EXPECT_EQ(table->numberOfRowsInSection(0), 2);
    // Default cells carry the platform's reuse identifier.
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 0})->reuseIdentifier(), "Cell");
    EXPECT_EQ(table->geometry(), QRect(0, kBarHeight, 320, 480 - kBarHeight));

    navigation.setNavigationBarHidden(true, false);
    EXPECT_EQ(table->geometry(), QRect(0, 0, 320, 480));
    navigation.setToolbarHidden(false, false);
    EXPECT_EQ(table->geometry(), QRect(0, 0, 320, 480 - kBarHeight));
    navigation.setToolbarHidden(true, false);
    navigation.setNavigationBarHidden(false, false);
    window.resize(400, 600);
    settle();
    EXPECT_EQ(table->geometry(), QRect(0, kBarHeight, 400, 600 - kBarHeight));
    // The rows follow the width.
    EXPECT_EQ(table->rectForRowAtIndexPath({0, 0}).width(), table->viewport()->width() - 20);
    navigation.popViewControllerAnimated(false);
    flushDeletes();
    Screen::setBounds(savedBounds);
}

}  // namespace
}  // namespace lumigrave::ui
