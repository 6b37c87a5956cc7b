#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <set>
#include <vector>

#include "ui/picker_view.h"

namespace lumigrave::ui {
namespace {

constexpr int kRowHeight = 44;
constexpr int kWheelWidth = 180;

// One column of rows given as views, in one of three ways, and everything the picker
// asked of it.
class RowSource : public PickerViewDataSource, public PickerViewDelegate {
  public:
    enum class Views {
        NewLabels,     // a new label every time, the reusable view ignored
        ReusedLabels,  // the reusable view when there is one
        Prebuilt,      // rows built once, owned by a holder widget
        TitlesForOdd,  // odd rows have no view
    };

    RowSource(Views views, int rows) : views_(views), rows_(rows) {
        if (views == Views::Prebuilt) {
            holder = std::make_unique<QWidget>();
            for (int row = 0; row < rows; ++row) {
                auto* item = new QWidget(holder.get());
                item->resize(kWheelWidth, kRowHeight);
                item->setAutoFillBackground(true);
                QPalette colours = item->palette();
                colours.setColor(QPalette::Window, colourOf(row));
                item->setPalette(colours);
                prebuilt.push_back(item);
            }
        }
    }

    static QColor colourOf(int row) { return QColor::fromHsv(row * 40 % 360, 255, 200); }

    int numberOfComponents() const override { return 1; }
    int numberOfRowsInComponent(int) const override { return rows_; }
    QString titleForRow(int row, int) const override { return QString("Row %1").arg(row); }
    float widthForComponent(int) const override { return kWheelWidth; }
    float rowHeightForComponent(int) const override { return kRowHeight; }

    QWidget* viewForRow(int row, int, QWidget* reusingView) override {
        asked.push_back(row);
        if (reusingView) {
            ++reusablesOffered;
        }
        switch (views_) {
            case Views::Prebuilt:
                return prebuilt[row];
            case Views::TitlesForOdd:
                if (row % 2 == 1) {
                    return nullptr;
                }
                [[fallthrough]];
            case Views::NewLabels:
                reusingView = nullptr;
                [[fallthrough]];
            case Views::ReusedLabels: {
                auto* label = qobject_cast<QLabel*>(reusingView);
                if (!label) {
                    label = new QLabel;
                    ++labelsMade;
                }
                label->setText(titleForRow(row, 0));
                label->adjustSize();
                return label;
            }
        }
        return nullptr;
    }

    void didSelectRow(int row, int component) override { chosen.push_back({row, component}); }

    std::vector<int> asked;
    int reusablesOffered = 0;
    int labelsMade = 0;
    std::vector<std::pair<int, int>> chosen;
    std::unique_ptr<QWidget> holder;
    std::vector<QWidget*> prebuilt;

  private:
    Views views_;
    int rows_;
};

class PickerRowsTest : public ::testing::Test {
  protected:
    void show(RowSource& source) {
        picker = std::make_unique<PickerView>();
        picker->resize(320, 180);
        picker->setDelegate(&source);
        picker->setDataSource(&source);
        picker->setShowsSelectionIndicator(true);
        picker->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(picker.get()));
    }

    QListView* wheel() const { return picker->wheelForComponent(0); }
    // Where a row is in the wheel's viewport, while it is on screen.
    QRect rowRect(int row) const {
        const int padding = (wheel()->model()->rowCount() - picker->numberOfRowsInComponent(0)) / 2;
        return wheel()->visualRect(wheel()->model()->index(padding + row, 0));
    }
    // Waits for the wheel to come to rest on its selected row after a user's choice.
    void settleWheel() const {
        const int target = picker->selectedRowInComponent(0) * kRowHeight;
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return wheel()->verticalScrollBar()->value() == target; }));
    }
    int liveLabels() const { return int(picker->findChildren<QLabel*>().size()); }

    std::unique_ptr<PickerView> picker;
};

void sendMouse(QWidget* widget, QEvent::Type type, QPoint position) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, position, widget->mapToGlobal(position),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

TEST_F(PickerRowsTest, RowsTakeTheDelegatesHeightAndWidthAndTheBandSitsOnTheMiddleRow) {
    RowSource source(RowSource::Views::NewLabels, 7);
    show(source);
    EXPECT_EQ(picker->rowSizeForComponent(0), QSize(kWheelWidth, kRowHeight));
    EXPECT_EQ(picker->rectForComponent(0).x(), (320 - kWheelWidth) / 2);
    EXPECT_EQ(picker->selectionIndicatorRect(), QRect(0, (180 - kRowHeight) / 2, 320, kRowHeight));
    EXPECT_EQ(rowRect(0).height(), kRowHeight);
    // The selected row is the one under the band.
    picker->selectRow(3, 0, false);
    const QRect band = picker->selectionIndicatorRect();
    EXPECT_EQ(wheel()->viewport()->mapTo(picker.get(), rowRect(3).topLeft()).y(), band.y());
    EXPECT_EQ(picker->rowSizeForComponent(1), QSize());
}

TEST_F(PickerRowsTest, ViewsAreMadeOnlyForTheRowsOnScreenAmongHundreds) {
    RowSource source(RowSource::Views::NewLabels, 600);
    show(source);
    // Three rows fit in 180 points; with the first selected, the top one is blank.
    EXPECT_EQ(std::set<int>(source.asked.begin(), source.asked.end()), (std::set<int>{0, 1}));
    auto* first = qobject_cast<QLabel*>(picker->viewForRow(0, 0));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text(), "Row 0");
    EXPECT_EQ(picker->viewForRow(5, 0), nullptr);
    QPointer<QLabel> firstLabel = first;

    source.asked.clear();
    picker->selectRow(300, 0, false);
    EXPECT_EQ(std::set<int>(source.asked.begin(), source.asked.end()),
              (std::set<int>{299, 300, 301}));
    EXPECT_EQ(picker->viewForRow(0, 0), nullptr);
    for (int row : {100, 200, 400, 500, 599}) {
        picker->selectRow(row, 0, false);
    }
    // Labels of rows gone from the screen are let go of: a few spares at most remain.
    EXPECT_TRUE(firstLabel.isNull());
    EXPECT_LE(liveLabels(), 3 + 4);
    EXPECT_LE(source.labelsMade, 3 * 7);
    EXPECT_EQ(qobject_cast<QLabel*>(picker->viewForRow(598, 0))->text(), "Row 598");

    // Scrolling through row by row asks for each row once as it comes on screen.
    source.asked.clear();
    picker->selectRow(0, 0, false);
    source.asked.clear();
    for (int row = 1; row <= 40; ++row) {
        picker->selectRow(row, 0, false);
    }
    EXPECT_EQ(source.asked.size(), 40u);
    EXPECT_LE(liveLabels(), 3 + 4);
}

TEST_F(PickerRowsTest, AViewLeavingTheScreenIsOfferedBackForReuse) {
    RowSource source(RowSource::Views::ReusedLabels, 100);
    show(source);
    for (int row = 1; row < 100; ++row) {
        picker->selectRow(row, 0, false);
    }
    EXPECT_GT(source.reusablesOffered, 90);
    EXPECT_LE(source.labelsMade, 3 + 1);
    EXPECT_EQ(qobject_cast<QLabel*>(picker->viewForRow(98, 0))->text(), "Row 98");
}

TEST_F(PickerRowsTest, PrebuiltRowsAreDrawnInTheirRowAndStayTheirOwners) {
    RowSource source(RowSource::Views::Prebuilt, 7);
    show(source);
    picker->selectRow(4, 0, false);
    EXPECT_EQ(picker->viewForRow(4, 0), source.prebuilt[4]);
    const QImage drawn = picker->grab().toImage();
    const QPoint middle = picker->selectionIndicatorRect().center();
    // The band tints the row; the row's own colour still dominates its channels.
    const QColor seen = drawn.pixelColor(middle);
    const QColor expected = RowSource::colourOf(4);
    EXPECT_NEAR(seen.hue(), expected.hue(), 12);
    EXPECT_GT(seen.saturation(), 120);
    // Outside the wheel's column nothing of the row is drawn.
    EXPECT_GT(std::abs(drawn.pixelColor(QPoint(10, middle.y())).hue() - expected.hue()), 40);

    for (QWidget* item : source.prebuilt) {
        EXPECT_EQ(item->parentWidget(), source.holder.get());
    }
    picker.reset();
    ASSERT_EQ(source.holder->findChildren<QWidget*>().size(), 7);

    // The owner may let its rows go while the picker still shows them.
    show(source);
    picker->selectRow(2, 0, false);
    source.holder.reset();
    std::fill(source.prebuilt.begin(), source.prebuilt.end(), nullptr);
    EXPECT_EQ(picker->viewForRow(2, 0), nullptr);
    picker->repaint();
    picker->selectRow(3, 0, false);
}

TEST_F(PickerRowsTest, ARowWithoutAViewShowsItsTitle) {
    RowSource source(RowSource::Views::TitlesForOdd, 5);
    show(source);
    picker->selectRow(1, 0, false);
    EXPECT_EQ(picker->viewForRow(1, 0), nullptr);
    ASSERT_NE(picker->viewForRow(2, 0), nullptr);
    const QModelIndex rowOne = wheel()->indexAt(rowRect(1).center());
    EXPECT_EQ(rowOne.data().toString(), "Row 1");
    // Dark text is drawn in the middle row.
    const QImage drawn = picker->grab().toImage();
    const QRect band = picker->selectionIndicatorRect();
    int dark = 0;
    for (int x = band.left(); x < band.right(); ++x) {
        dark += drawn.pixelColor(x, band.center().y()).lightness() < 100;
    }
    EXPECT_GT(dark, 3);
}

TEST_F(PickerRowsTest, OnlyTheUsersChoicesReachTheDelegate) {
    RowSource source(RowSource::Views::NewLabels, 50);
    show(source);
    picker->selectRow(10, 0, false);
    picker->reloadAllComponents();
    EXPECT_EQ(picker->selectedRowInComponent(0), 10);
    EXPECT_TRUE(source.chosen.empty());

    // A click on the row under the band's lower neighbour.
    sendMouse(wheel()->viewport(), QEvent::MouseButtonPress, rowRect(11).center());
    sendMouse(wheel()->viewport(), QEvent::MouseButtonRelease, rowRect(11).center());
    EXPECT_EQ(picker->selectedRowInComponent(0), 11);
    settleWheel();

    // A notch of the mouse wheel towards the user moves one row on.
    const QPointF at(10, 10);
    QWheelEvent notch(at, wheel()->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(wheel()->viewport(), &notch);
    EXPECT_EQ(picker->selectedRowInComponent(0), 12);
    settleWheel();

    // Dragging up by three rows' height moves three rows on, whatever the row height.
    const QPoint from = wheel()->viewport()->rect().center();
    sendMouse(wheel()->viewport(), QEvent::MouseButtonPress, from);
    sendMouse(wheel()->viewport(), QEvent::MouseMove, from - QPoint(0, kRowHeight));
    sendMouse(wheel()->viewport(), QEvent::MouseMove, from - QPoint(0, 3 * kRowHeight));
    sendMouse(wheel()->viewport(), QEvent::MouseButtonRelease, from - QPoint(0, 3 * kRowHeight));
    EXPECT_EQ(picker->selectedRowInComponent(0), 15);
    settleWheel();

    // The arrow keys, on the wheel the click gave the focus to.
    EXPECT_EQ(picker->focusWidget(), wheel());
    QTest::keyClick(wheel(), Qt::Key_Up);
    settleWheel();
    EXPECT_EQ(source.chosen,
              (std::vector<std::pair<int, int>>{{11, 0}, {12, 0}, {15, 0}, {14, 0}}));
    // The views follow the wheel.
    EXPECT_EQ(qobject_cast<QLabel*>(picker->viewForRow(14, 0))->text(), "Row 14");
}

}  // namespace
}  // namespace lumigrave::ui
