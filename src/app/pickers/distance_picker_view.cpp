#include "app/pickers/distance_picker_view.h"

#include <QFontMetricsF>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPropertyAnimation>
#include <cmath>

#include "ui/style.h"

namespace lumigrave {

namespace {
constexpr int kFadeMilliseconds = 750;
}  // namespace

DistancePickerView::DistancePickerView(QWidget* parent) : ui::PickerView(parent) {
    labels_.reserve(2);
}

QFont DistancePickerView::labelFont() {
    return ui::style::pickerLabelFont();
}

void DistancePickerView::addLabel(const QString& text, int component) {
    if (QLabel* label = labels_.value(component)) {
        label->setText(text);
        auto* effect = new QGraphicsOpacityEffect(label);
        label->setGraphicsEffect(effect);
        auto* fade = new QPropertyAnimation(effect, "opacity", label);
        fade->setDuration(kFadeMilliseconds);
        fade->setStartValue(0.0);
        fade->setEndValue(1.0);
        fade->start(QAbstractAnimation::DeleteWhenStopped);
        placeLabel(component, label);
        return;
    }
    auto* label = new QLabel(text, this);
    label->setFont(labelFont());
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    labels_.insert(component, label);
    placeLabel(component, label);
}

void DistancePickerView::componentsLaidOut() {
    for (auto it = labels_.cbegin(); it != labels_.cend(); ++it) {
        placeLabel(it.key(), it.value());
    }
}

void DistancePickerView::placeLabel(int component, QLabel* label) {
    const QRect wheel = rectForComponent(component);
    if (wheel.isEmpty()) {
        label->hide();
        return;
    }
    const int width = int(std::ceil(QFontMetricsF(label->font()).horizontalAdvance(label->text())));
    label->setGeometry(wheel.right() + 1 - width, selectionIndicatorRect().y(), width, kRowHeight);
    label->show();
    label->raise();
}

}  // namespace lumigrave
