#pragma once
// The UI layer: stand-ins, on Qt Widgets, for the device UI framework the screens were
// designed against — screens and navigation, bars and bar items, image views, controls,
// alerts, sheets, popovers, gestures and the photo picker — with the platform's
// semantics (button positions, callback order, states, units in points).
//
// Everything here runs on the main thread. Nothing blocks the event loop: alerts,
// sheets and pickers call back when the user answers, and tests find and answer them
// through OnScreen. Failures are logged; nothing throws.

#include "ui/action_sheet.h"
#include "ui/activity_indicator_view.h"
#include "ui/alert_view.h"
#include "ui/application.h"
#include "ui/bar_button_item.h"
#include "ui/gesture_recognizer.h"
#include "ui/image_picker_controller.h"
#include "ui/image_view.h"
#include "ui/navigation_bar.h"
#include "ui/navigation_controller.h"
#include "ui/on_screen.h"
#include "ui/popover_controller.h"
#include "ui/toolbar.h"
#include "ui/view_controller.h"
#include "ui/window.h"
