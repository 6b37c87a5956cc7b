#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <functional>

#include "ui/bar_button_item.h"

namespace lumigrave {

namespace ui {
class ActionSheet;
class PopoverController;
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
// (after Done or Cancel), and then deletes itself, so callers may forget it once shown.
// The target is never owned; its actions are the names of slots or Q_INVOKABLE methods.
class AbstractSheetPicker : public QObject {
    Q_OBJECT
  public:
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
    QObject* target() const { return target_; }
    QByteArray successAction() const { return successAction_; }
    QByteArray cancelAction() const { return cancelAction_; }
    ui::ActionSheet* actionSheet() const;
    ui::PopoverController* popOverController() const;
    // The toolbar of the picker on screen.
    ui::Toolbar* toolbar() const;

    void showSheetPicker();
    void actionPickerDone(QObject* sender = nullptr);
    void actionPickerCancel(QObject* sender = nullptr);
    void dismissPicker();

    // Before showSheetPicker(). A null title reads as empty, a null value as 0.
    void addCustomButtonWithTitle(const QString& title, const QVariant& value);
    // The sender's tag is the button's position in customButtons().
    virtual void customButtonPressed(ui::BarButtonItem* sender);

    static bool isViewPortrait();
    static bool isValidOrigin(QObject* origin);
    QObject* storedOrigin() const;

  protected:
    // A bar button item origin is kept as barButtonItem(), a widget as containerView().
    AbstractSheetPicker(QObject* target, const QByteArray& successAction,
                        const QByteArray& cancelAction, QObject* origin);

    virtual void notifyTargetDidSucceed(QObject* target, const QByteArray& action, QObject* origin);
    // Sends action(QObject* origin) when the target has it.
    virtual void notifyTargetDidCancel(QObject* target, const QByteArray& action, QObject* origin);
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

    // Whether target has the method action(argumentTypes), e.g. "int,QObject*".
    static bool respondsTo(const QObject* target, const QByteArray& action,
                           const char* argumentTypes);
    static void logInvalidCombination(const QObject* target, const QByteArray& action);

  private:
    // Where a sheet or popover goes when the origin gave no view.
    static QWidget* fallbackView();

    QString title_;
    QPointer<QWidget> pickerView_;
    QList<SheetPickerButton> customButtons_;
    bool hideCancel_ = false;
    QRectF presentFromRect_;
    QPointer<ui::BarButtonItem> barButtonItem_;
    QPointer<QWidget> containerView_;
    QPointer<QObject> target_;
    QByteArray successAction_;
    QByteArray cancelAction_;
    QPointer<ui::ActionSheet> actionSheet_;
    QPointer<ui::PopoverController> popOverController_;
    QPointer<ui::Toolbar> toolbar_;
};

}  // namespace lumigrave
