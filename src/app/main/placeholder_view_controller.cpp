#include "app/main/placeholder_view_controller.h"

#include <QLabel>
#include <QVBoxLayout>

#include "app/app_delegate.h"
#include "model/embosser.h"
#include "platform/notification_center.h"
#include "ui/bar_button_item.h"
#include "ui/navigation_controller.h"
#include "ui/style.h"

namespace lumigrave {

PlaceholderViewController::PlaceholderViewController(const QString& title, QObject* parent)
    : ui::ViewController(parent) {
    navigationItem().setTitle(title);
    navigationItem().setLeftBarButtonItem(new ui::BarButtonItem(
        ui::BarButtonItem::SystemItem::Cancel, [this](ui::BarButtonItem*) { cancel(); }, this));
    navigationItem().setRightBarButtonItem(new ui::BarButtonItem(
        ui::BarButtonItem::SystemItem::Done, [this](ui::BarButtonItem*) { done(); }, this));
}

void PlaceholderViewController::loadView() {
    auto* view = new QWidget;
    view->setStyleSheet(ui::style::placeholderStyleSheet());
    auto* layout = new QVBoxLayout(view);
    auto* label =
        new QLabel(QStringLiteral("%1\n\nThis screen is not available yet.").arg(title()));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    layout->addWidget(label);
    setView(view);
}

void PlaceholderViewController::viewWillAppear(bool animated) {
    ui::ViewController::viewWillAppear(animated);
    if (ui::NavigationController* navigation = navigationController()) {
        navigation->setNavigationBarHidden(false, false);
        navigation->setToolbarHidden(true, false);
    }
    // The screens that open behind the "Loading..." overlay take it down once shown.
    NotificationCenter::defaultCenter().postNotification(kHideActivityViewNotification);
}

void PlaceholderViewController::done() {
    if (AppDelegate* app = AppDelegate::shared(); app != nullptr && app->activeEmbosser()) {
        app->activeEmbosser()->setModified(true);
    }
    if (ui::NavigationController* navigation = navigationController()) {
        navigation->popViewControllerAnimated(true);
    }
}

void PlaceholderViewController::cancel() {
    if (ui::NavigationController* navigation = navigationController()) {
        navigation->popViewControllerAnimated(true);
    }
}

}  // namespace lumigrave
