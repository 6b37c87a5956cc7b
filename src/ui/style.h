#pragma once
// The look of the widget layer and of the screens built on it, in one place: colours,
// fonts and style sheets. Widgets ask for them here instead of naming colours, so the
// look can be changed, or checked, without reading every widget.

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace lumigrave::ui {
enum class BarStyle;
}

namespace lumigrave::ui::style {

// Text and lines drawn on the dark chrome (bars, panels, overlays).
QColor chromeText();

// Panels shown over the window.
enum class PanelButtonRole { Normal, Cancel, Destructive };
QString panelButtonStyleSheet(PanelButtonRole role);
// Objects named alertPanel, sheetPanel (with a label named sheetTitle) and popoverPanel.
QString alertPanelStyleSheet();
QString sheetPanelStyleSheet(bool black);
QString popoverPanelStyleSheet();
// The mail composer's page, an object named mailComposePanel: a light form under a bar
// (mailComposeBar) that holds the title (mailComposeTitle).
QString mailComposePanelStyleSheet();
QFont alertTitleFont(const QFont& base);
// The dimming of a modal layer at the given opacity (0..1).
QColor dimming(qreal opacity);
// The activity overlay's backdrop and its message.
QColor activityBackdrop();
QString activityMessageStyleSheet();
// The rounded box of a small indicator over the window (a share being sent), its large
// centre message and the line under it.
QColor activityBoxBackdrop();
QFont activityCentreFont();
QFont activitySubFont();
// The spokes of an activity indicator: white, or grey for the grey style.
QColor activitySpokes(bool grey);

// Bars. A valid tint replaces the style's colour (a service's own bar colour); an
// invalid one keeps it.
QColor barBackground(BarStyle style, bool translucent, const QColor& tint = QColor());
QColor barEdge();
QColor barItemFill(bool done);
QColor barItemHighlight();
QColor barItemOutline();
QFont barTitleFont(const QFont& base);
QFont barItemFont(const QFont& base);
QString barTitleStyleSheet();
QColor toolbarEdge();

// Controls.
QColor segmentBarTint();
QColor sliderThumb(bool tracking);
QColor sliderThumbOutline();
// The on/off switch: its track (blue when on), outline, knob and the word on the track.
QColor switchTrack(bool on);
QColor switchOutline();
QColor switchKnob();
QColor switchText(bool on);
QFont switchFont();

// Pickers: the wheel's selection band and its edge, the wheel's backdrop, row fonts.
QColor pickerSelectionBand();
QColor pickerSelectionEdge();
QColor pickerBackdrop();
QFont pickerRowFont(const QFont& base);
QFont pickerLabelFont();
QFont dateEditorFont(const QFont& base);
// The title label in a picker's toolbar.
QFont pickerTitleFont(const QFont& base);
// The platform's system font at a size in points (our device-independent pixels).
QFont systemFont(qreal points);

// Fills the view's background with a resource image repeated as a pattern (the screens'
// "images/background.png", the editors' panel "images/pickview_bg.png").
void fillWithPattern(QWidget* view, const QString& imageName);

// The camera's dark surround.
QColor cameraBackdrop();

// The main screen's two-way switch: the selected segment and the other.
QColor switcherSelected();
QColor switcherUnselected();

// A text field: black text on white, with a rounded grey border or none.
QString textFieldStyleSheet(bool rounded);
QColor textFieldText();

// A form for one long text (a status): the text area, and the count of characters left
// under it, red once the text is too long.
QString largeTextEditStyleSheet();
QColor characterCountText(bool over);
QFont characterCountFont();

// Tables: the grouped style's striped backdrop colour, cells, their separators and
// chevron, the section titles around the groups.
QColor groupTableViewBackground();
QColor tableCellBackground();
QColor tableCellSelected();
QColor tableSeparator();
QColor tableAccessory();
// The check mark of a chosen row, and the text beside a form's label (a current choice).
QColor tableCheckmark();
QString tableDetailTextStyleSheet();
QFont tableCellFont();
QString tableCellTextStyleSheet();
QFont tableHeaderFont(bool grouped);
QFont tableFooterFont();
QString tableHeaderStyleSheet(bool grouped);

// Text on the dark help pages and under the settings table: light text, and the dark
// shadow that sets it off.
QColor lightText();
QColor darkTextShadow();
QColor helpPageBackground();

}  // namespace lumigrave::ui::style
