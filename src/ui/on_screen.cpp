#include "ui/on_screen.h"

#include <QAbstractButton>
#include <QWidget>
#include <functional>

#include "ui/action_sheet.h"
#include "ui/alert_view.h"
#include "ui/popover_controller.h"

namespace lumigrave::ui {

namespace {

struct Registry {
    QList<AlertView*> alerts;
    QList<ActionSheet*> sheets;
    QList<PopoverController*> popovers;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

QStringList titles(int count, const std::function<QString(int)>& title) {
    QStringList list;
    for (int i = 0; i < count; ++i) {
        list.append(title(i));
    }
    return list;
}

bool press(QWidget* panel, int index) {
    if (panel == nullptr) {
        return false;
    }
    auto* button = panel->findChild<QAbstractButton*>(QStringLiteral("button%1").arg(index));
    if (button == nullptr || !button->isEnabled()) {
        return false;
    }
    button->click();
    return true;
}

}  // namespace

QList<AlertView*> OnScreen::alerts() {
    return registry().alerts;
}

QList<ActionSheet*> OnScreen::actionSheets() {
    return registry().sheets;
}

QList<PopoverController*> OnScreen::popovers() {
    return registry().popovers;
}

AlertView* OnScreen::topAlert() {
    return registry().alerts.isEmpty() ? nullptr : registry().alerts.last();
}

ActionSheet* OnScreen::topActionSheet() {
    return registry().sheets.isEmpty() ? nullptr : registry().sheets.last();
}

QStringList OnScreen::buttonTitles(const AlertView& alert) {
    return titles(alert.numberOfButtons(), [&](int i) { return alert.buttonTitleAtIndex(i); });
}

QStringList OnScreen::buttonTitles(const ActionSheet& sheet) {
    return titles(sheet.numberOfButtons(), [&](int i) { return sheet.buttonTitleAtIndex(i); });
}

bool OnScreen::pressButton(AlertView& alert, int index) {
    return press(alert.panel(), index);
}

bool OnScreen::pressButton(ActionSheet& sheet, int index) {
    return press(sheet.panel(), index);
}

void OnScreen::shown(AlertView* alert) {
    if (!registry().alerts.contains(alert)) {
        registry().alerts.append(alert);
    }
}

void OnScreen::gone(AlertView* alert) {
    registry().alerts.removeAll(alert);
}

void OnScreen::shown(ActionSheet* sheet) {
    if (!registry().sheets.contains(sheet)) {
        registry().sheets.append(sheet);
    }
}

void OnScreen::gone(ActionSheet* sheet) {
    registry().sheets.removeAll(sheet);
}

void OnScreen::shown(PopoverController* popover) {
    if (!registry().popovers.contains(popover)) {
        registry().popovers.append(popover);
    }
}

void OnScreen::gone(PopoverController* popover) {
    registry().popovers.removeAll(popover);
}

}  // namespace lumigrave::ui
