#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QDateTimeEdit>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QWheelEvent>
#include <memory>
#include <vector>

#include "app/pickers/date_sheet_picker.h"
#include "app/pickers/distance_picker_view.h"
#include "app/pickers/distance_sheet_picker.h"
#include "app/pickers/string_sheet_picker.h"
#include "platform/screen.h"
#include "support/log_capture.h"
#include "support/widget_test_support.h"
#include "ui/action_sheet.h"
#include "ui/on_screen.h"
#include "ui/picker_view.h"
#include "ui/popover_controller.h"
#include "ui/toolbar.h"
#include "ui/view_controller.h"

namespace lumigrave {
namespace {

using SystemItem = ui::BarButtonItem::SystemItem;
using ui::test::flushDeletes;

const QStringList kSizes{"640 × 480", "1024 × 768", "1600 × 1200", "2048 × 1536", "Original"};

// Receives what the pickers report, as the main screen does.
struct Receiver {
    StringSheetPicker::DoneBlock sizes() {
        return [this](StringSheetPicker* picker, int index, const QString&) {
            selected.push_back(index);
            origins.push_back(picker->storedOrigin());
        };
    }
    AbstractSheetPicker::CancelBlock cancels() {
        return [this](AbstractSheetPicker* picker) { cancelled.push_back(picker->storedOrigin()); };
    }
    DateSheetPicker::DoneBlock datesChosen() {
        return [this](DateSheetPicker* picker, const QDateTime& date) {
            dates.push_back(date);
            origins.push_back(picker->storedOrigin());
        };
    }
    DistanceSheetPicker::DoneBlock distancesChosen() {
        return [this](DistanceSheetPicker*, int big, int small) {
            distances.push_back({big, small});
        };
    }

    std::vector<int> selected;
    std::vector<QObject*> origins;
    std::vector<QObject*> cancelled;
    std::vector<QDateTime> dates;
    std::vector<std::pair<int, int>> distances;
};

ui::BarButtonItem* item(const AbstractSheetPicker& picker, SystemItem kind) {
    for (ui::BarButtonItem* candidate : picker.toolbar()->items()) {
        if (candidate->systemItem() == kind) {
            return candidate;
        }
    }
    return nullptr;
}

void press(const AbstractSheetPicker& picker, SystemItem kind) {
    ui::BarButtonItem* button = item(picker, kind);
    ASSERT_NE(button, nullptr);
    button->trigger();
}

QStringList describe(const ui::Toolbar& toolbar) {
    QStringList out;
    for (const ui::BarButtonItem* entry : toolbar.items()) {
        if (entry->systemItem() == SystemItem::Done) {
            out << "Done";
        } else if (entry->systemItem() == SystemItem::Cancel) {
            out << "Cancel";
        } else if (entry->systemItem() == SystemItem::FlexibleSpace) {
            out << "space";
        } else if (auto* label = qobject_cast<QLabel*>(entry->customView())) {
            out << "title:" + label->text();
        } else {
            out << "button:" + entry->title();
        }
    }
    return out;
}

ui::PickerView* wheels(const AbstractSheetPicker& picker) {
    return qobject_cast<ui::PickerView*>(picker.pickerView());
}

QWidget* container(const AbstractSheetPicker& picker) {
    return picker.toolbar()->parentWidget();
}

class SheetPickerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedBounds_ = Screen::bounds();
        Screen::setBounds({320, 480});
        host_ = std::make_unique<QWidget>();
        host_->resize(320, 480);
        host_->show();
    }
    void TearDown() override {
        flushDeletes();
        host_.reset();
        flushDeletes();
        Screen::setBounds(savedBounds_);
        Device::setSystemVersionForTesting(QString());
    }

    StringSheetPicker* showSizes(int initial, Receiver* receiver) {
        return StringSheetPicker::showPickerWithTitle(
            "Output Size", kSizes, initial,
            receiver ? receiver->sizes() : StringSheetPicker::DoneBlock(),
            receiver ? receiver->cancels() : AbstractSheetPicker::CancelBlock(), host());
    }
    QWidget* host() const { return host_.get(); }

  private:
    Size savedBounds_;
    std::unique_ptr<QWidget> host_;
};

TEST_F(SheetPickerTest, ToolbarReadsCustomButtonsCancelTitleAndDone) {
    auto* titled = new StringSheetPicker("Output Size", kSizes, 0, nullptr, nullptr, host());
    titled->addCustomButtonWithTitle("Small", 0);
    titled->addCustomButtonWithTitle("Large", 3);
    titled->showSheetPicker();
    const ui::Toolbar& toolbar = *titled->toolbar();
    EXPECT_EQ(describe(toolbar), (QStringList{"button:Small", "button:Large", "Cancel", "space",
                                              "title:Output Size", "space", "Done"}));
    EXPECT_EQ(toolbar.items()[3], toolbar.items()[5]);  // one space item, twice
    EXPECT_EQ(toolbar.items()[1]->tag(), 1);
    EXPECT_EQ(toolbar.items()[1]->style(), ui::BarButtonItem::Style::Bordered);
    EXPECT_EQ(toolbar.barStyle(), ui::BarStyle::BlackTranslucent);
    EXPECT_EQ(toolbar.geometry(), QRect(0, 0, 320, 44));
    EXPECT_EQ(titled->pickerView()->geometry(), QRect(0, 40, 320, 216));
    EXPECT_EQ(titled->pickerView()->parentWidget(), container(*titled));

    auto* label = qobject_cast<QLabel*>(toolbar.items()[4]->customView());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->size(), QSize(180, 30));
    EXPECT_TRUE(label->font().bold());
    EXPECT_EQ(label->font().pixelSize(), 16);
    EXPECT_TRUE(label->alignment() == Qt::AlignCenter);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white));
    titled->actionPickerCancel();

    auto* untitled =
        StringSheetPicker::showPickerWithTitle(QString(), kSizes, 0, nullptr, nullptr, host());
    EXPECT_EQ(describe(*untitled->toolbar()), (QStringList{"Cancel", "space", "Done"}));
    untitled->actionPickerCancel();

    auto* noCancel = new StringSheetPicker("Output Size", kSizes, 0, nullptr, nullptr, host());
    noCancel->setHideCancel(true);
    noCancel->showSheetPicker();
    EXPECT_EQ(describe(*noCancel->toolbar()),
              (QStringList{"space", "title:Output Size", "space", "Done"}));
    noCancel->actionPickerDone();
}

TEST_F(SheetPickerTest, DoneReportsTheSelectedRowAndTheOrigin) {
    Receiver receiver;
    StringSheetPicker* picker = showSizes(2, &receiver);
    ui::PickerView* view = wheels(*picker);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->numberOfComponents(), 1);
    EXPECT_EQ(view->numberOfRowsInComponent(0), 5);
    EXPECT_EQ(view->selectedRowInComponent(0), 2);
    EXPECT_TRUE(view->showsSelectionIndicator());
    EXPECT_EQ(view->rectForComponent(0).width(), 290);

    press(*picker, SystemItem::Done);
    EXPECT_EQ(receiver.selected, std::vector<int>{2});
    EXPECT_EQ(receiver.origins, std::vector<QObject*>{host()});
    EXPECT_TRUE(receiver.cancelled.empty());

    Receiver later;
    picker = showSizes(1, &later);
    QTest::keyClick(wheels(*picker)->wheelForComponent(0), Qt::Key_Down);
    press(*picker, SystemItem::Done);
    EXPECT_EQ(later.selected, std::vector<int>{2});
}

TEST_F(SheetPickerTest, CustomButtonTurnsTheWheelAndDoneReportsIt) {
    Receiver receiver;
    auto* picker =
        new StringSheetPicker("Output Size", kSizes, 0, receiver.sizes(), nullptr, host());
    picker->addCustomButtonWithTitle("Large", 3);
    picker->addCustomButtonWithTitle(QString(), QVariant());
    ASSERT_EQ(picker->customButtons().size(), 2);
    EXPECT_FALSE(picker->customButtons()[1].buttonTitle.isNull());
    EXPECT_EQ(picker->customButtons()[1].buttonValue, QVariant(0));
    picker->showSheetPicker();

    picker->toolbar()->items()[0]->trigger();
    EXPECT_EQ(wheels(*picker)->selectedRowInComponent(0), 3);
    EXPECT_EQ(picker->selectedIndex(), 3);
    press(*picker, SystemItem::Done);
    EXPECT_EQ(receiver.selected, std::vector<int>{3});

    auto* second =
        new StringSheetPicker("Output Size", kSizes, 4, receiver.sizes(), nullptr, host());
    second->addCustomButtonWithTitle(QString(), QVariant());
    second->showSheetPicker();
    second->toolbar()->items()[0]->trigger();
    EXPECT_EQ(wheels(*second)->selectedRowInComponent(0), 0);
    press(*second, SystemItem::Done);
    EXPECT_EQ(receiver.selected, (std::vector<int>{3, 0}));
}

TEST_F(SheetPickerTest, ADoneBlockSetLaterIsTheOneTold) {
    Receiver receiver;
    StringSheetPicker* picker = showSizes(1, &receiver);
    std::vector<std::pair<int, QString>> calls;
    StringSheetPicker* seen = nullptr;
    picker->setOnSheetDone([&](StringSheetPicker* from, int index, const QString& value) {
        seen = from;
        calls.push_back({index, value});
    });
    press(*picker, SystemItem::Done);
    EXPECT_EQ(seen, picker);
    EXPECT_EQ(calls, (std::vector<std::pair<int, QString>>{{1, "1024 × 768"}}));
    EXPECT_TRUE(receiver.selected.empty());
}

TEST_F(SheetPickerTest, ADoneOrACancelThatNoBlockHearsIsLoggedAndThePickerStillGoes) {
    test::LogCapture log;
    QPointer<StringSheetPicker> done = showSizes(0, nullptr);
    press(*done, SystemItem::Done);
    EXPECT_TRUE(log.contains("The sheet picker \"Output Size\" was done with no block to tell"))
        << log.lines().join('\n').toStdString();
    QPointer<StringSheetPicker> cancelled = showSizes(0, nullptr);
    press(*cancelled, SystemItem::Cancel);
    EXPECT_TRUE(
        log.contains("The sheet picker \"Output Size\" was cancelled with no block to tell"));
    flushDeletes();
    EXPECT_TRUE(done.isNull());  // dismissed all the same
    EXPECT_TRUE(cancelled.isNull());
}

TEST_F(SheetPickerTest, CancelGoesToTheCancelBlockAndNeverToDone) {
    Receiver receiver;
    test::LogCapture log;
    StringSheetPicker* picker = showSizes(0, &receiver);
    press(*picker, SystemItem::Cancel);
    EXPECT_EQ(receiver.cancelled, std::vector<QObject*>{host()});
    EXPECT_TRUE(receiver.selected.empty());

    picker = showSizes(0, &receiver);
    AbstractSheetPicker* cancelledPicker = nullptr;
    picker->setOnSheetCancel([&](AbstractSheetPicker* from) { cancelledPicker = from; });
    press(*picker, SystemItem::Cancel);
    EXPECT_EQ(cancelledPicker, picker);
    EXPECT_EQ(receiver.cancelled.size(), 1u);
    EXPECT_TRUE(log.lines().isEmpty());
}

TEST_F(SheetPickerTest, EscapeOnThePickersSheetIsACancelAndReleasesThePicker) {
    Receiver receiver;
    QPointer<StringSheetPicker> picker = showSizes(2, &receiver);
    ASSERT_NE(picker->actionSheet(), nullptr);
    QWidget* layer = picker->actionSheet()->panel()->parentWidget();
    QTest::keyClick(layer, Qt::Key_Escape);
    EXPECT_EQ(receiver.cancelled, std::vector<QObject*>{host()});
    EXPECT_TRUE(receiver.selected.empty());
    EXPECT_TRUE(ui::OnScreen::all<ui::ActionSheet>().isEmpty());
    flushDeletes();
    EXPECT_TRUE(picker.isNull());
}

TEST_F(SheetPickerTest, APickerKeepsItselfUntilDoneOrCancel) {
    Receiver receiver;
    QPointer<StringSheetPicker> done = showSizes(0, &receiver);
    QPointer<StringSheetPicker> cancelled = showSizes(0, &receiver);
    flushDeletes();
    ASSERT_FALSE(done.isNull());
    ASSERT_FALSE(cancelled.isNull());
    EXPECT_NE(done->actionSheet(), nullptr);

    press(*done, SystemItem::Done);
    press(*cancelled, SystemItem::Cancel);
    EXPECT_EQ(done->actionSheet(), nullptr);
    flushDeletes();
    EXPECT_TRUE(done.isNull());
    EXPECT_TRUE(cancelled.isNull());
}

TEST_F(SheetPickerTest, OnAPhoneTheSheetIsSizedByTheOrientation) {
    StringSheetPicker* portrait = showSizes(0, nullptr);
    ui::ActionSheet* sheet = portrait->actionSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(portrait->popOverController(), nullptr);
    EXPECT_EQ(sheet->title(), "\n\n\n");
    EXPECT_EQ(sheet->style(), ui::ActionSheet::Style::BlackTranslucent);
    EXPECT_EQ(sheet->numberOfButtons(), 0);
    EXPECT_EQ(sheet->bounds(), QRectF(0, 0, 320, 433));
    EXPECT_EQ(portrait->presentFromRect(), QRectF(0, 0, 320, 260));
    portrait->actionPickerCancel();

    // In landscape the sheet is as tall as the screen is wide, or, before system version
    // 5, the picker's height with the older sheet's extra.
    Screen::setBounds({480, 320});
    for (const char* version : {"12", "5.0", "4.3"}) {
        Device::setSystemVersionForTesting(QString::fromLatin1(version));
        StringSheetPicker* landscape = showSizes(0, nullptr);
        sheet = landscape->actionSheet();
        ASSERT_NE(sheet, nullptr);
        EXPECT_TRUE(sheet->title().isNull());
        const float height = QByteArray(version) == "4.3" ? 273 + 103 : 480;
        EXPECT_EQ(sheet->bounds(), QRectF(0, 0, 480, height)) << version;
        EXPECT_EQ(container(*landscape)->size(), QSize(480, 260));
        EXPECT_EQ(landscape->toolbar()->width(), 480);
        landscape->actionPickerCancel();
    }
}

TEST_F(SheetPickerTest, AClickOutsideThePickersPopoverIsACancelAndReleasesThePicker) {
    Screen::setBounds({1024, 768});
    host()->resize(1024, 768);
    Receiver receiver;
    QPointer<StringSheetPicker> picker = showSizes(1, &receiver);
    ASSERT_NE(picker->popOverController(), nullptr);
    QWidget* layer = picker->popOverController()->panel()->parentWidget();
    QTest::mouseClick(layer, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(receiver.cancelled, std::vector<QObject*>{host()});
    EXPECT_TRUE(receiver.selected.empty());
    flushDeletes();
    EXPECT_TRUE(picker.isNull());
}

TEST_F(SheetPickerTest, OnATabletThePickerShowsInAPopoverOfTheContainersSize) {
    Screen::setBounds({1024, 768});
    Receiver receiver;
    StringSheetPicker* landscape = showSizes(3, &receiver);
    EXPECT_EQ(landscape->actionSheet(), nullptr);
    QPointer<ui::PopoverController> popover = landscape->popOverController();
    ASSERT_FALSE(popover.isNull());
    EXPECT_EQ(popover->popoverContentSize(), QSizeF(480, 260));
    EXPECT_EQ(popover->contentViewController()->view(), container(*landscape));
    press(*landscape, SystemItem::Done);
    EXPECT_EQ(receiver.selected, std::vector<int>{3});
    flushDeletes();
    EXPECT_TRUE(popover.isNull());

    Screen::setBounds({768, 1024});
    StringSheetPicker* portrait = showSizes(0, nullptr);
    ASSERT_NE(portrait->popOverController(), nullptr);
    EXPECT_EQ(portrait->popOverController()->popoverContentSize(), QSizeF(320, 260));
    portrait->actionPickerCancel();
}

TEST_F(SheetPickerTest, WithoutDataOnlyTheToolbarShows) {
    std::vector<QString> values;
    StringSheetPicker* picker = StringSheetPicker::showPickerWithTitle(
        "Output Size", std::nullopt, 0,
        [&](StringSheetPicker*, int, const QString& value) { values.push_back(value); }, nullptr,
        host());
    EXPECT_EQ(picker->pickerView(), nullptr);
    EXPECT_TRUE(container(*picker)->findChildren<ui::PickerView*>().isEmpty());
    press(*picker, SystemItem::Done);
    EXPECT_EQ(values, std::vector<QString>{QString()});
}

TEST_F(SheetPickerTest, DatePickerReportsTheDateShownAndTakesDatesFromCustomButtons) {
    Receiver receiver;
    const QDateTime start(QDate(2013, 5, 17), QTime(0, 0));
    DateSheetPicker* picker = DateSheetPicker::showPickerWithTitle(
        "Taken", ui::DatePicker::Mode::Date, start, receiver.datesChosen(), nullptr, host());
    auto* datePicker = qobject_cast<ui::DatePicker*>(picker->pickerView());
    ASSERT_NE(datePicker, nullptr);
    EXPECT_EQ(datePicker->datePickerMode(), ui::DatePicker::Mode::Date);
    EXPECT_EQ(datePicker->date(), start);
    EXPECT_EQ(datePicker->geometry(), QRect(0, 40, 320, 216));
    press(*picker, SystemItem::Done);
    EXPECT_EQ(receiver.dates, std::vector<QDateTime>{start});
    EXPECT_EQ(receiver.origins, std::vector<QObject*>{host()});

    const QDateTime edited = start.addDays(3);
    picker = DateSheetPicker::showPickerWithTitle("Taken", ui::DatePicker::Mode::DateAndTime, start,
                                                  receiver.datesChosen(), nullptr, host());
    qobject_cast<ui::DatePicker*>(picker->pickerView())->editor()->setDateTime(edited);
    press(*picker, SystemItem::Done);
    EXPECT_EQ(receiver.dates.back(), edited);

    const QDateTime newYear(QDate(2014, 1, 1), QTime(0, 0));
    auto* shortcut = new DateSheetPicker("Taken", ui::DatePicker::Mode::DateAndTime, start,
                                         receiver.datesChosen(), receiver.cancels(), host());
    shortcut->addCustomButtonWithTitle("New Year", newYear);
    shortcut->showSheetPicker();
    shortcut->toolbar()->items()[0]->trigger();
    EXPECT_EQ(qobject_cast<ui::DatePicker*>(shortcut->pickerView())->date(), newYear);
    press(*shortcut, SystemItem::Cancel);
    EXPECT_EQ(receiver.dates.size(), 2u);
    EXPECT_EQ(receiver.cancelled, std::vector<QObject*>{host()});
}

TEST_F(SheetPickerTest, DistancePickerHasAWheelPerDigitAndAddsThemUp) {
    Receiver receiver;
    test::LogCapture log;
    auto* picker = new DistanceSheetPicker("Height", "m", 25, 14, "cm", 9, 7,
                                           receiver.distancesChosen(), nullptr, host());
    picker->addCustomButtonWithTitle("Ten", 10);
    picker->showSheetPicker();
    EXPECT_EQ(picker->bigUnitDigits(), 2);
    EXPECT_EQ(picker->smallUnitDigits(), 1);
    auto* view = qobject_cast<DistancePickerView*>(picker->pickerView());
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->numberOfComponents(), 3);
    EXPECT_EQ(view->numberOfRowsInComponent(0), 3);
    EXPECT_EQ(view->numberOfRowsInComponent(1), 10);
    EXPECT_EQ(view->numberOfRowsInComponent(2), 10);
    const QAbstractItemModel* rows = view->wheelForComponent(1)->model();
    const int blankRows = (rows->rowCount() - 10) / 2;
    EXPECT_EQ(rows->index(blankRows + 9, 0).data().toString(), "9");
    EXPECT_EQ(view->selectedRowInComponent(0), 1);
    EXPECT_EQ(view->selectedRowInComponent(1), 4);
    EXPECT_EQ(view->selectedRowInComponent(2), 7);

    // Each unit's last wheel makes room for the unit's name, shown on it.
    const QFontMetricsF metrics(DistancePickerView::labelFont());
    const double wheel =
        (320 - 30 - metrics.horizontalAdvance("m") - metrics.horizontalAdvance("cm")) / 3;
    EXPECT_NEAR(view->rectForComponent(0).width(), wheel, 1);
    EXPECT_NEAR(view->rectForComponent(1).width(), wheel + metrics.horizontalAdvance("m"), 1);
    EXPECT_NEAR(view->rectForComponent(2).width(), wheel + metrics.horizontalAdvance("cm"), 1);
    ASSERT_NE(view->labelForComponent(1), nullptr);
    EXPECT_EQ(view->labelForComponent(1)->text(), "m");
    EXPECT_EQ(view->labelForComponent(2)->text(), "cm");
    EXPECT_EQ(view->labelForComponent(0), nullptr);
    EXPECT_TRUE(view->rectForComponent(2).contains(view->labelForComponent(2)->geometry()));

    picker->toolbar()->items()[0]->trigger();
    EXPECT_TRUE(log.contains("Not implemented."));
    EXPECT_EQ(view->selectedRowInComponent(1), 4);

    QTest::keyClick(view->wheelForComponent(0), Qt::Key_Down);
    QTest::keyClick(view->wheelForComponent(1), Qt::Key_Home);
    press(*picker, SystemItem::Done);
    EXPECT_EQ(receiver.distances, (std::vector<std::pair<int, int>>{{20, 7}}));
}

TEST(DistancePickerView, ANewUnitNameReplacesTheOldOnTheSameLabel) {
    DistancePickerView view;
    QLabel* before = nullptr;
    view.addLabel("m", 0);
    before = view.labelForComponent(0);
    view.addLabel("yd", 0);
    EXPECT_EQ(view.labelForComponent(0), before);
    EXPECT_EQ(before->text(), "yd");
    EXPECT_EQ(view.findChildren<QLabel*>().size(), 1);
}

// Rows of two wheels, and the choices the user made.
class Digits : public ui::PickerViewDataSource, public ui::PickerViewDelegate {
  public:
    int numberOfComponents() const override { return 2; }
    int numberOfRowsInComponent(int component) const override { return component == 0 ? 5 : 3; }
    QString titleForRow(int row, int component) const override {
        return QString("%1-%2").arg(component).arg(row);
    }
    void didSelectRow(int row, int component) override { chosen.push_back({row, component}); }
    std::vector<std::pair<int, int>> chosen;
};

void sendMouse(QWidget* widget, QEvent::Type type, QPoint position) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, position, widget->mapToGlobal(position),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

TEST(PickerView, UserChoicesReachTheDelegateAndSelectRowDoesNot) {
    Digits digits;
    ui::PickerView view;
    view.resize(320, 216);
    view.setDelegate(&digits);
    view.setDataSource(&digits);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    ASSERT_EQ(view.numberOfComponents(), 2);
    EXPECT_EQ(view.selectedRowInComponent(1), 0);  // a fresh wheel shows its first row
    EXPECT_EQ(view.rectForComponent(0).width(), view.rectForComponent(1).width());

    view.selectRow(4, 0, false);
    view.selectRow(9, 1, false);  // no such row
    EXPECT_EQ(view.selectedRowInComponent(0), 4);
    EXPECT_EQ(view.selectedRowInComponent(1), 0);
    EXPECT_TRUE(digits.chosen.empty());

    QListView* first = view.wheelForComponent(0);
    QTest::keyClick(first, Qt::Key_Down);  // already the last row
    QTest::keyClick(first, Qt::Key_Up);
    EXPECT_EQ(digits.chosen, (std::vector<std::pair<int, int>>{{3, 0}}));

    QListView* second = view.wheelForComponent(1);
    QWheelEvent notch(QPointF(10, 10), second->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(second->viewport(), &notch);
    EXPECT_EQ(view.selectedRowInComponent(1), 1);

    // A click on a row turns the wheel to it.
    view.selectRow(3, 0, false);
    const int padding = (first->model()->rowCount() - 5) / 2;
    const QRect rowOne = first->visualRect(first->model()->index(padding + 1, 0));
    ASSERT_TRUE(first->viewport()->rect().contains(rowOne.center()));
    sendMouse(first->viewport(), QEvent::MouseButtonPress, rowOne.center());
    sendMouse(first->viewport(), QEvent::MouseButtonRelease, rowOne.center());
    EXPECT_EQ(view.selectedRowInComponent(0), 1);

    // Dragging two rows' height up moves two rows on.
    view.selectRow(1, 0, false);
    const QPoint from = first->viewport()->rect().center();
    sendMouse(first->viewport(), QEvent::MouseButtonPress, from);
    sendMouse(first->viewport(), QEvent::MouseMove, from - QPoint(0, ui::PickerView::kRowHeight));
    sendMouse(first->viewport(), QEvent::MouseMove,
              from - QPoint(0, 2 * ui::PickerView::kRowHeight));
    sendMouse(first->viewport(), QEvent::MouseButtonRelease,
              from - QPoint(0, 2 * ui::PickerView::kRowHeight));
    EXPECT_EQ(view.selectedRowInComponent(0), 3);
    EXPECT_EQ(digits.chosen, (std::vector<std::pair<int, int>>{{3, 0}, {1, 1}, {1, 0}, {3, 0}}));

    // Without a data source there is nothing to show, and nothing is asked of the delegate.
    view.setDataSource(nullptr);
    EXPECT_EQ(view.numberOfComponents(), 0);
    EXPECT_EQ(view.selectedRowInComponent(0), -1);
}

}  // namespace
}  // namespace lumigrave
