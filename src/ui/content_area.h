#pragma once

class QWidget;

namespace lumigrave::ui {

class ViewController;

// Keeps a widget of a screen's view in the part of it that no bar of the screen's
// navigation controller covers (the whole view for a screen on no stack), as the bars
// come and go and the window is resized. The widget must be a child of the view.
void keepInContentArea(ViewController& screen, QWidget* widget);

}  // namespace lumigrave::ui
