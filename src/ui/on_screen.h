#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace lumigrave::ui {

class ActionSheet;
class AlertView;
class PopoverController;

// What is on screen, for tests and accessibility tools: the alerts, sheets and
// popovers shown now, oldest first, and a way to press their buttons by position as a
// user would.
class OnScreen {
  public:
    static QList<AlertView*> alerts();
    static QList<ActionSheet*> actionSheets();
    static QList<PopoverController*> popovers();
    static AlertView* topAlert();
    static ActionSheet* topActionSheet();

    static QStringList buttonTitles(const AlertView& alert);
    static QStringList buttonTitles(const ActionSheet& sheet);
    // Presses the button at position index through its on-screen button; false when the
    // alert or sheet shows no such button.
    static bool pressButton(AlertView& alert, int index);
    static bool pressButton(ActionSheet& sheet, int index);

    // Called by the alerts, sheets and popovers as they come and go.
    static void shown(AlertView* alert);
    static void gone(AlertView* alert);
    static void shown(ActionSheet* sheet);
    static void gone(ActionSheet* sheet);
    static void shown(PopoverController* popover);
    static void gone(PopoverController* popover);
};

}  // namespace lumigrave::ui
