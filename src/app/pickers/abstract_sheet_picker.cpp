#include "app/pickers/abstract_sheet_picker.h"

#include <QApplication>
#include <QLabel>
#include <QVersionNumber>
#include <QWidget>

#include "platform/screen.h"
#include "ui/action_sheet.h"
#include "ui/picker_view.h"
#include "ui/popover_controller.h"
#include "ui/style.h"
#include "ui/toolbar.h"
#include "ui/view_controller.h"

namespace lumigrave {

namespace {
constexpr float kContainerHeight = 260;
// The room the sheet's frame takes from the screen's height.
constexpr float kSheetInset = 47;
// Sheets on systems before 5.0 were drawn without their title's room in landscape.
constexpr float kOldLandscapeExtra = 103;

// A popover's content: the picker's container, made before the controller asks for it.
class ContainerController : public ui::ViewController {
  public:
    explicit ContainerController(QWidget* container) : container_(container) {}

  protected:
    void loadView() override {
        // Once unloaded the container is gone, and a plain view stands in.
        if (container_) {
            setView(container_);
        } else {
            ui::ViewController::loadView();
        }
    }

  private:
    QPointer<QWidget> container_;
};

bool systemVersionBelowFive() {
    const QVersionNumber version = QVersionNumber::fromString(Device::systemVersion());
    return !version.isNull() && version < QVersionNumber(5, 0);
}
}  // namespace

AbstractSheetPicker::AbstractSheetPicker(QObject* origin) {
    if (auto* item = qobject_cast<ui::BarButtonItem*>(origin)) {
        barButtonItem_ = item;
    } else if (origin && origin->isWidgetType()) {
        containerView_ = static_cast<QWidget*>(origin);
    }
}

AbstractSheetPicker::~AbstractSheetPicker() {
    if (actionSheet_ && actionSheet_->delegate() == this) {
        actionSheet_->setDelegate(nullptr);
    }
}

ui::ActionSheet* AbstractSheetPicker::actionSheet() const {
    return actionSheet_;
}

ui::PopoverController* AbstractSheetPicker::popOverController() const {
    return popOverController_;
}

ui::Toolbar* AbstractSheetPicker::toolbar() const {
    return toolbar_;
}

QSizeF AbstractSheetPicker::viewSize() const {
    return isViewPortrait() ? QSizeF(320, 480) : QSizeF(480, 320);
}

void AbstractSheetPicker::showSheetPicker() {
    const QSizeF size = viewSize();
    auto* container = new QWidget;
    container->setGeometry(0, 0, int(size.width()), int(kContainerHeight));

    ui::Toolbar* toolbar = createPickerToolbarWithTitle(title_);
    toolbar->setParent(container);
    toolbar->show();
    toolbar->setBarStyle(ui::BarStyle::BlackTranslucent);
    toolbar_ = toolbar;

    pickerView_ = configuredPickerView();
    if (pickerView_) {
        pickerView_->setParent(container);
        pickerView_->show();
    }
    presentPickerForView(container);
}

void AbstractSheetPicker::actionPickerDone(QObject*) {
    if (!notifyDidSucceed()) {
        logUnheard("done");
    }
    dismissPicker();
}

void AbstractSheetPicker::actionPickerCancel(QObject*) {
    notifyDidCancel();
    dismissPicker();
}

void AbstractSheetPicker::notifyDidCancel() {
    if (onSheetCancel_) {
        onSheetCancel_(this);
    } else {
        logUnheard("cancelled");
    }
}

void AbstractSheetPicker::logUnheard(const char* what) const {
    qWarning("The sheet picker \"%s\" was %s with no block to tell", qPrintable(title_), what);
}

void AbstractSheetPicker::didDismissWithButtonIndex(ui::ActionSheet&, int) {
    if (dismissing_) {
        return;
    }
    // Escape took the sheet away: the picker is cancelled and released as after Cancel.
    actionSheet_ = nullptr;
    notifyDidCancel();
    dismissPicker();
}

QWidget* AbstractSheetPicker::configuredPickerView() {
    return nullptr;
}

void AbstractSheetPicker::popoverControllerDidDismissPopover(ui::PopoverController&) {
    notifyDidCancel();
    dismissPicker();
}

void AbstractSheetPicker::dismissPicker() {
    dismissing_ = true;
    if (actionSheet_) {
        actionSheet_->dismissWithClickedButtonIndex(0, true);
    } else if (popOverController_ && popOverController_->isPopoverVisible()) {
        popOverController_->dismissPopoverAnimated(true);
    }
    // The sheet owns itself; the popover controller is a child and goes with the picker.
    actionSheet_ = nullptr;
    popOverController_ = nullptr;
    deleteLater();
}

void AbstractSheetPicker::addCustomButtonWithTitle(const QString& title, const QVariant& value) {
    customButtons_.append(
        {title.isNull() ? QString("") : title, value.isValid() ? value : QVariant(0)});
}

void AbstractSheetPicker::customButtonPressed(ui::BarButtonItem* sender) {
    const int index = sender ? sender->tag() : -1;
    if (index < 0 || index >= customButtons_.size()) {
        return;
    }
    const int row = customButtons_[index].buttonValue.toInt();
    if (auto* picker = qobject_cast<ui::PickerView*>(pickerView_)) {
        picker->selectRow(row, 0, true);
    }
    if (auto* delegate = dynamic_cast<ui::PickerViewDelegate*>(this)) {
        delegate->didSelectRow(row, 0);
    }
}

bool AbstractSheetPicker::isViewPortrait() {
    const Size bounds = Screen::bounds();
    return bounds.height >= bounds.width;
}

bool AbstractSheetPicker::isValidOrigin(QObject* origin) {
    return qobject_cast<ui::BarButtonItem*>(origin) || (origin && origin->isWidgetType());
}

QObject* AbstractSheetPicker::storedOrigin() const {
    if (barButtonItem_) {
        return barButtonItem_;
    }
    return containerView_;
}

ui::Toolbar* AbstractSheetPicker::createPickerToolbarWithTitle(const QString& title) {
    auto* toolbar = new ui::Toolbar;
    toolbar->setGeometry(0, 0, int(viewSize().width()), ui::kBarHeight);

    QList<ui::BarButtonItem*> items;
    QPointer<AbstractSheetPicker> self(this);
    for (int index = 0; index < customButtons_.size(); ++index) {
        auto* item = new ui::BarButtonItem(customButtons_[index].buttonTitle,
                                           ui::BarButtonItem::Style::Bordered,
                                           [self](ui::BarButtonItem* sender) {
                                               if (self) {
                                                   self->customButtonPressed(sender);
                                               }
                                           });
        item->setTag(index);
        items.append(item);
    }
    if (!hideCancel_) {
        items.append(
            createButtonWithType(ui::BarButtonItem::SystemItem::Cancel,
                                 [](AbstractSheetPicker& picker, ui::BarButtonItem* sender) {
                                     picker.actionPickerCancel(sender);
                                 }));
    }
    ui::BarButtonItem* space =
        createButtonWithType(ui::BarButtonItem::SystemItem::FlexibleSpace, nullptr);
    items.append(space);
    if (!title.isNull()) {
        items.append(createToolbarLabelWithTitle(title));
        items.append(space);
    }
    items.append(createButtonWithType(ui::BarButtonItem::SystemItem::Done,
                                      [](AbstractSheetPicker& picker, ui::BarButtonItem* sender) {
                                          picker.actionPickerDone(sender);
                                      }));
    for (ui::BarButtonItem* item : items) {
        item->setParent(toolbar);
    }
    toolbar->setItems(items, true);
    return toolbar;
}

ui::BarButtonItem* AbstractSheetPicker::createToolbarLabelWithTitle(const QString& title) {
    auto* label = new QLabel(title);
    label->setFixedSize(180, 30);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(ui::style::pickerTitleFont(label->font()));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ui::style::chromeText());
    label->setPalette(palette);
    label->setAutoFillBackground(false);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return new ui::BarButtonItem(label);
}

ui::BarButtonItem* AbstractSheetPicker::createButtonWithType(ui::BarButtonItem::SystemItem type,
                                                             ButtonAction action) {
    ui::BarButtonItem::Action itemAction;
    if (action) {
        itemAction = [self = QPointer<AbstractSheetPicker>(this),
                      action = std::move(action)](ui::BarButtonItem* sender) {
            if (self) {
                action(*self, sender);
            }
        };
    }
    return new ui::BarButtonItem(type, std::move(itemAction));
}

void AbstractSheetPicker::presentPickerForView(QWidget* container) {
    presentFromRect_ = QRectF(container->geometry());
    if (Device::userInterfaceIdiom() == InterfaceIdiom::Pad) {
        configureAndPresentPopoverForView(container);
    } else {
        configureAndPresentActionSheetForView(container);
    }
}

void AbstractSheetPicker::configureAndPresentActionSheetForView(QWidget* container) {
    const QSizeF size = viewSize();
    qreal height = size.height() - kSheetInset;
    QString sheetTitle;
    if (isViewPortrait()) {
        // Three empty lines make the room the picker covers.
        sheetTitle = "\n\n\n";
    } else {
        height = systemVersionBelowFive() ? height + kOldLandscapeExtra : size.width();
    }
    auto* sheet = new ui::ActionSheet(sheetTitle, this, QString(), QString(), QStringList());
    sheet->setActionSheetStyle(ui::ActionSheet::Style::BlackTranslucent);
    actionSheet_ = sheet;
    sheet->addSubview(container);
    presentActionSheet(sheet);
    sheet->setBounds(QRectF(0, 0, size.width(), height));
}

void AbstractSheetPicker::presentActionSheet(ui::ActionSheet* sheet) {
    if (barButtonItem_) {
        sheet->showFromBarButtonItem(barButtonItem_, true);
    } else if (containerView_ && !presentFromRect_.isEmpty()) {
        sheet->showFromRect(presentFromRect_, containerView_, true);
    } else {
        sheet->showInView(containerView_ ? containerView_.data() : fallbackView());
    }
}

void AbstractSheetPicker::configureAndPresentPopoverForView(QWidget* container) {
    auto* popover = new ui::PopoverController(new ContainerController(container), this);
    popover->setDelegate(this);
    popover->setPopoverContentSize(QSizeF(container->size()));
    popOverController_ = popover;
    presentPopover(popover);
}

void AbstractSheetPicker::presentPopover(ui::PopoverController* popover) {
    if (barButtonItem_) {
        popover->presentPopoverFromBarButtonItem(barButtonItem_, true);
    } else if (containerView_ && !presentFromRect_.isEmpty()) {
        popover->presentPopoverFromRect(presentFromRect_, containerView_, true);
    } else {
        QWidget* view = containerView_ ? containerView_->parentWidget() : fallbackView();
        if (!view) {
            view = containerView_;
        }
        popover->presentPopoverFromRect(view ? QRectF(view->rect()) : QRectF(), view, true);
    }
}

QWidget* AbstractSheetPicker::fallbackView() {
    if (QWidget* window = QApplication::activeWindow()) {
        return window;
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) {
            return widget;
        }
    }
    return nullptr;
}

}  // namespace lumigrave
