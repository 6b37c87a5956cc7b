#include "app/main/mm_segmented_switcher.h"

#include <QRegularExpression>

#include "platform/screen.h"
#include "ui/style.h"

namespace lumigrave {

double MMSegmentedSwitcher::versionNumber(const QString& version) {
    static const QRegularExpression leading(QStringLiteral(R"(^\s*([+-]?(\d+(\.\d*)?|\.\d+)))"));
    const QRegularExpressionMatch match = leading.match(version);
    return match.hasMatch() ? match.captured(1).toDouble() : 0.0;
}

void MMSegmentedSwitcher::updateTintColor() {
    const QColor selected = ui::style::switcherSelected();
    const QColor unselected = ui::style::switcherUnselected();
    for (ui::SegmentView* segment : segmentViews()) {
        segment->setTintColor(segment->isSelected() ? selected : unselected);
    }
}

void MMSegmentedSwitcher::setSelectedSegmentIndex(int index) {
    ui::SegmentedControl::setSelectedSegmentIndex(index);
    updateTintColor();
    if (versionNumber(Device::systemVersion()) >= 5.0) {
        sendActionsForControlEvents(ui::ControlEvent::ValueChanged);
    }
}

void MMSegmentedSwitcher::touchesBegan(QPointF) {
    setSelectedSegmentIndex(selectedSegmentIndex() == 0 ? 1 : 0);
}

}  // namespace lumigrave
