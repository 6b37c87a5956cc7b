#pragma once
// The UI layer: stand-ins, on Qt Widgets, for the device UI framework the screens were
// designed against — screens and navigation, bars and bar items, image views, controls,
// presentations over the window (alerts, sheets, popovers, overlays), gestures, the
// photo picker, snapshots of views and the system sounds — with the platform's semantics
// (button positions, callback order, states, units in points).
//
// Everything here runs on the main thread. Nothing blocks the event loop: alerts,
// sheets and pickers call back when the user answers, and tests find and answer them
// through OnScreen. Failures are logged; nothing throws.
//
// How the layer is extended — the rules every screen built on it follows:
//
// One base per kind.
//   - Every control (button, slider, segmented control, date picker, text field,
//     switch) derives from Control: it holds the touch adapter, the
//     enabled / highlighted / selected states, the targets and their one dispatch.
//   - Everything shown over a window derives from Presentation, which owns the leaving
//     sequence (clicked → hidden → gone → did-dismiss → deleted) and the modal and
//     non-modal modes. OnScreen lists every presentation, whatever its kind.
//
// One callback idiom per shape.
//   - A protocol with several optional calls is an abstract class with defaulted
//     virtuals, held by a plain pointer it must outlive: AlertView::Delegate,
//     ActionSheet::Delegate, PopoverController::Delegate, ImagePickerController::
//     Delegate, GestureRecognizer::Delegate, TextField::Delegate, PickerViewDataSource
//     and PickerViewDelegate, TableViewDataSource and TableViewDelegate,
//     ApplicationDelegate.
//   - A single event is a target: Control::addTarget(ControlEvent, fn) for controls; a
//     bar item's action and a gesture recognizer's action (both with their sender) for
//     the two kinds that are not controls on the platform either.
//   - A notification carries its sender and a dictionary of values
//     (NotificationCenter); observers that need neither may ignore them.
//   - Changes of a model object the bars show are signals it emits itself
//     (NavigationItem::changed, BarButtonItem::changed): nobody has to tell a bar.
//   - Nothing is dispatched by a method's name.
//
// Style in one place: colours, fonts and style sheets come from ui/style.h.
//
// Only the main window is the screen: it alone sets the screen's bounds and scale,
// drives the application's lifecycle and quits on close. Other windows (alert level)
// only show their root screen.
//
// Time is injected: deferrals go through RunLoop, whose scheduler tests replace and
// advance by hand.
//
// Decisions are functions: layout arithmetic, clamps and limits are pure functions
// tested as tables, and process-wide state lives in one small object a screen is given.

#include "ui/action_sheet.h"
#include "ui/activity_indicator_view.h"
#include "ui/alert_view.h"
#include "ui/application.h"
#include "ui/bar_button_item.h"
#include "ui/control.h"
#include "ui/gesture_recognizer.h"
#include "ui/image_picker_controller.h"
#include "ui/image_view.h"
#include "ui/keyboard.h"
#include "ui/mail_compose_view_controller.h"
#include "ui/navigation_bar.h"
#include "ui/navigation_controller.h"
#include "ui/navigation_item.h"
#include "ui/on_screen.h"
#include "ui/popover_controller.h"
#include "ui/presentation.h"
#include "ui/style.h"
#include "ui/switch.h"
#include "ui/system_sound.h"
#include "ui/table_view.h"
#include "ui/table_view_controller.h"
#include "ui/text_field.h"
#include "ui/toolbar.h"
#include "ui/view_controller.h"
#include "ui/view_snapshot.h"
#include "ui/window.h"
