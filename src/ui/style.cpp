#include "ui/style.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "ui/bar_button_item.h"
#include "ui/bar_style.h"

namespace lumigrave::ui::style {

QColor chromeText() {
    return Qt::white;
}

QString panelButtonStyleSheet(PanelButtonRole role) {
    QString colours;
    switch (role) {
        case PanelButtonRole::Normal:
            colours = QStringLiteral("background: #e8e8ec; color: #1a1a1a;");
            break;
        case PanelButtonRole::Cancel:
            colours = QStringLiteral("background: #3a3a40; color: white;");
            break;
        case PanelButtonRole::Destructive:
            colours = QStringLiteral("background: #c8322a; color: white;");
            break;
    }
    return QStringLiteral(
               "QPushButton { %1 border-radius: 8px; font-weight: bold; padding: 6px 14px; } "
               "QPushButton:focus { border: 2px solid #5a9cff; } "
               "QPushButton:pressed { background: #8a8a90; }")
        .arg(colours);
}

QString alertPanelStyleSheet() {
    return QStringLiteral(
        "#alertPanel { background: rgba(20, 30, 60, 235); border: 2px solid "
        "rgba(255,255,255,180); border-radius: 10px; } QLabel { color: white; }");
}

QString mailComposePanelStyleSheet() {
    return QStringLiteral(
        "#mailComposePanel { background: #f4f4f6; } "
        "#mailComposeBar { background: rgb(70, 90, 130); } "
        "#mailComposeTitle { color: white; font-weight: bold; } "
        "#mailComposePanel QLineEdit, #mailComposePanel QPlainTextEdit { background: white; "
        "color: black; border: 1px solid #c8c8cc; } "
        "QLabel { color: #333333; }");
}

QString sheetPanelStyleSheet(bool black) {
    const QString fill =
        black ? QStringLiteral("rgba(0, 0, 0, 200)") : QStringLiteral("rgba(70, 80, 100, 240)");
    // The title is named so the sheet's colour stays off the labels of a view shown in it.
    return QStringLiteral(
               "#sheetPanel { background: %1; border-top: 1px solid rgba(255,255,255,90); } "
               "#sheetTitle { color: #dddddd; }")
        .arg(fill);
}

QString popoverPanelStyleSheet() {
    return QStringLiteral(
        "#popoverPanel { background: rgb(20, 24, 32); border: 2px solid "
        "rgba(255,255,255,120); border-radius: 8px; }");
}

QFont alertTitleFont(const QFont& base) {
    QFont font = base;
    font.setBold(true);
    font.setPointSizeF(base.pointSizeF() * 1.15);
    return font;
}

QColor dimming(qreal opacity) {
    return QColor(0, 0, 0, int(opacity * 255));
}

QColor activityBackdrop() {
    return QColor::fromRgbF(0, 0, 0, 0.8f);
}

QString activityMessageStyleSheet() {
    return QStringLiteral("color: white; background: transparent;");
}

QColor activityBoxBackdrop() {
    // Dark enough that the text of a light screen beneath does not read through it.
    return QColor::fromRgbF(0, 0, 0, 0.85f);
}

QFont activityCentreFont() {
    QFont font = systemFont(40);
    font.setBold(true);
    return font;
}

QFont activitySubFont() {
    QFont font = systemFont(17);
    font.setBold(true);
    return font;
}

QColor activitySpokes(bool grey) {
    return grey ? QColor(128, 128, 128) : QColor(255, 255, 255);
}

QColor barBackground(BarStyle style, bool translucent, const QColor& tint) {
    QColor colour = style == BarStyle::Default ? QColor(109, 132, 162) : QColor(0, 0, 0);
    if (tint.isValid()) {
        colour = tint;
        colour.setAlpha(255);
    }
    if (translucent || style == BarStyle::BlackTranslucent) {
        colour.setAlphaF(0.6f);
    }
    return colour;
}

QColor barEdge() {
    return QColor(0, 0, 0, 120);
}

QColor barItemFill(bool done) {
    return done ? QColor(40, 90, 200, 200) : QColor(255, 255, 255, 30);
}

QColor barItemHighlight() {
    return QColor(255, 255, 255, 60);
}

QColor barItemOutline() {
    return QColor(0, 0, 0, 160);
}

QFont barTitleFont(const QFont& base) {
    QFont font = base;
    font.setBold(true);
    font.setPointSizeF(base.pointSizeF() * 1.2);
    return font;
}

QFont barItemFont(const QFont& base) {
    QFont font = base;
    font.setBold(true);
    return font;
}

QString barTitleStyleSheet() {
    return QStringLiteral("color: white; background: transparent;");
}

QColor toolbarEdge() {
    return QColor(255, 255, 255, 40);
}

QColor switchTrack(bool on) {
    return on ? QColor(0, 127, 234) : QColor(238, 238, 238);
}

QColor switchOutline() {
    return QColor(140, 140, 140);
}

QColor switchKnob() {
    return QColor(250, 250, 250);
}

QColor switchText(bool on) {
    return on ? QColor(Qt::white) : QColor(128, 128, 128);
}

QFont switchFont() {
    QFont font = systemFont(13);
    font.setBold(true);
    return font;
}

QColor segmentBarTint() {
    return QColor(108, 125, 150);
}

QColor sliderThumb(bool tracking) {
    return tracking ? QColor(235, 235, 235) : QColor(Qt::white);
}

QColor sliderThumbOutline() {
    return QColor(0, 0, 0, 70);
}

QColor pickerSelectionBand() {
    return QColor(120, 140, 190, 70);
}

QColor pickerSelectionEdge() {
    return QColor(80, 90, 120, 170);
}

QColor pickerBackdrop() {
    return QColor(88, 92, 106);
}

QFont systemFont(qreal points) {
    QFont font = QApplication::font();
    font.setPixelSize(std::max(1, int(std::lround(points))));
    return font;
}

QFont pickerRowFont(const QFont& base) {
    QFont font = base;
    font.setPixelSize(20);
    return font;
}

QFont pickerLabelFont() {
    QFont font;
    font.setBold(true);
    font.setPixelSize(20);
    return font;
}

QFont dateEditorFont(const QFont& base) {
    QFont font = base;
    font.setPixelSize(22);
    return font;
}

QFont pickerTitleFont(const QFont& base) {
    QFont font = base;
    font.setBold(true);
    font.setPixelSize(16);
    return font;
}

QColor cameraBackdrop() {
    return Qt::black;
}

QColor switcherSelected() {
    return QColor::fromRgbF(0.2f, 0.9f, 0.2f, 1.0f);
}

QColor switcherUnselected() {
    return QColor::fromRgbF(0.2f, 0.2f, 0.2f, 1.0f);
}

QColor textFieldText() {
    return Qt::black;
}

QString textFieldStyleSheet(bool rounded) {
    const QString border = rounded
                               ? QStringLiteral("border: 1px solid #8e8e93; border-radius: 7px;")
                               : QStringLiteral("border: none;");
    return QStringLiteral("QLineEdit { background: white; color: %1; %2 padding: 2px 6px; }")
        .arg(textFieldText().name(), border);
}

void fillWithPattern(QWidget* view, const QString& imageName) {
    QPalette palette = view->palette();
    palette.setBrush(QPalette::Window, QBrush(resourceIcon(imageName).pixmap(
                                           QSize(32, 32), view->devicePixelRatioF())));
    view->setPalette(palette);
    view->setAutoFillBackground(true);
}

QColor groupTableViewBackground() {
    return QColor(197, 204, 212);
}

QColor tableCellBackground() {
    return Qt::white;
}

QColor tableCellSelected() {
    return QColor(5, 140, 245);
}

QColor tableSeparator() {
    return QColor(171, 171, 171);
}

QColor tableAccessory() {
    return QColor(128, 128, 128);
}

QColor tableCheckmark() {
    return QColor(50, 79, 133);
}

QString tableDetailTextStyleSheet() {
    return QStringLiteral("color: rgb(56, 84, 135); background: transparent;");
}

QFont tableCellFont() {
    QFont font = systemFont(17);
    font.setBold(true);
    return font;
}

QString tableCellTextStyleSheet() {
    return QStringLiteral("color: black; background: transparent;");
}

QFont tableHeaderFont(bool grouped) {
    QFont font = systemFont(grouped ? 17 : 15);
    font.setBold(true);
    return font;
}

QFont tableFooterFont() {
    return systemFont(15);
}

QString tableHeaderStyleSheet(bool grouped) {
    return grouped ? QStringLiteral("color: #4c566c; background: transparent;")
                   : QStringLiteral("color: white; background: #90a0b0;");
}

QString largeTextEditStyleSheet() {
    return QStringLiteral(
               "QPlainTextEdit { background: white; color: %1; border: 1px solid %2; "
               "border-radius: 7px; padding: 4px; }")
        .arg(textFieldText().name(), QColor(0x8e, 0x8e, 0x93).name());
}

QColor characterCountText(bool over) {
    return over ? QColor(0xd0, 0x10, 0x10) : QColor(0x60, 0x60, 0x60);
}

QFont characterCountFont() {
    QFont font = systemFont(14);
    font.setBold(true);
    return font;
}

QColor lightText() {
    return Qt::white;
}

QColor darkTextShadow() {
    // Opaque: a half-tone shadow leaves white text on the light grouped background
    // without an edge to read by.
    return Qt::black;
}

QColor helpPageBackground() {
    return Qt::darkGray;
}

}  // namespace lumigrave::ui::style
