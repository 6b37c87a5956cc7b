#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <functional>

#include "ui/action_sheet.h"
#include "ui/bar_button_item.h"
#include "ui/popover_controller.h"

namespace lumigrave {

namespace ui {
class Toolbar;
}  // namespace ui

// A shortcut button of a picker's toolbar; pressing it turns the picker to the value.
struct SheetPickerButton {
    QString buttonTitle;
    QVariant buttonValue;
};

// A picker under a toolbar of Cancel, an optional title and Done, in an action sheet on a
// phone-sized window and in a popover on a tablet-sized one. Subclasses supply the picker
// view and report the value.
//
// Make pickers with new: a picker owns itself from construction until it is dismissed
// (after Done or Cancel, or Escape on its sheet, which is a cancel), and then deletes
// itself, so callers may forget it once shown. What the user chose reaches the caller
// through the subclass's done block; a cancel through the cancel block. A Done or a
// cancel with no block to tell is logged.
class AbstractSheetPicker : public QObject,
                            public ui::ActionSheet::Delegate,
                            public ui::PopoverController::Delegate {
    Q_OBJECT
  public:
    using CancelBlock = std::function<void(AbstractSheetPicker* picker)>;

    ~AbstractSheetPicker() override;

    // A null title shows no title label.
    QString title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }
    QWidget* pickerView() const { return pickerView_; }
    // 320 × 480 points when the window stands upright, else 480 × 320.
    QSizeF viewSize() const;
    const QList<SheetPickerButton>& customButtons() const { return customButtons_; }
    bool hideCancel() const { return hideCancel_; }
    void setHideCancel(bool hide) { hideCancel_ = hide; }
    QRectF presentFromRect() const { return presentFromRect_; }
    void setPresentFromRect(QRectF rect) { presentFromRect_ = rect; }
    ui::BarButtonItem* barButtonItem() const { return barButtonItem_; }
    QWidget* containerView() const { return containerView_; }
    const CancelBlock& onSheetCancel() const { return onSheetCancel_; }
    void setOnSheetCancel(CancelBlock block) { onSheetCancel_ = std::move(block); }
    ui::ActionSheet* actionSheet() const;
    ui::PopoverController* popOverController() const;
    // The toolbar of the picker on screen.
    ui::Toolbar* toolbar() const;

    void showSheetPicker();
    void actionPickerDone(QObject* sender = nullptr);
    void actionPickerCancel(QObject* sender = nullptr);
    void dismissPicker();

    // The sheet or the popover went without Done or Cancel (Escape, a click outside the
    // popover): a cancel.
    void didDismissWithButtonIndex(ui::ActionSheet& sheet, int buttonIndex) override;
    void popoverControllerDidDismissPopover(ui::PopoverController& popover) override;

    // Before showSheetPicker(). A null title reads as empty, a null value as 0.
    void addCustomButtonWithTitle(const QString& title, const QVariant& value);
    // The sender's tag is the button's position in customButtons().
    virtual void customButtonPressed(ui::BarButtonItem* sender);

    static bool isViewPortrait();
    static bool isValidOrigin(QObject* origin);
    QObject* storedOrigin() const;

  protected:
    // A bar button item origin is kept as barButtonItem(), a widget as containerView().
    explicit AbstractSheetPicker(QObject* origin);

    // Tells the subclass's done block what was chosen; false when there is none.
    virtual bool notifyDidSucceed() { return false; }
    // Null in the base: a toolbar alone.
    virtual QWidget* configuredPickerView();
    // For a subclass whose picker view asks about itself while being configured.
    void setPickerView(QWidget* view) { pickerView_ = view; }

    ui::Toolbar* createPickerToolbarWithTitle(const QString& title);
    ui::BarButtonItem* createToolbarLabelWithTitle(const QString& title);
    // The action runs only while the picker lives.
    using ButtonAction =
        std::function<void(AbstractSheetPicker& picker, ui::BarButtonItem* sender)>;
    ui::BarButtonItem* createButtonWithType(ui::BarButtonItem::SystemItem type,
                                            ButtonAction action);
    void presentPickerForView(QWidget* container);
    void configureAndPresentActionSheetForView(QWidget* container);
    void presentActionSheet(ui::ActionSheet* sheet);
    void configureAndPresentPopoverForView(QWidget* container);
    void presentPopover(ui::PopoverController* popover);

  private:
    void notifyDidCancel();
    // Logs a Done or a cancel that no block heard.
    void logUnheard(const char* what) const;
    // Where a sheet or popover goes when the origin gave no view.
    static QWidget* fallbackView();

    QString title_;
    QPointer<QWidget> pickerView_;
    QList<SheetPickerButton> customButtons_;
    bool hideCancel_ = false;
    QRectF presentFromRect_;
    QPointer<ui::BarButtonItem> barButtonItem_;
    QPointer<QWidget> containerView_;
    CancelBlock onSheetCancel_;
    // Set while the picker dismisses its own sheet, so the sheet's report is not taken
    // for an Escape.
    bool dismissing_ = false;
    QPointer<ui::ActionSheet> actionSheet_;
    QPointer<ui::PopoverController> popOverController_;
    QPointer<ui::Toolbar> toolbar_;
};

}  // namespace lumigrave
