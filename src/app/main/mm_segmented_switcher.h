#pragma once

#include <QString>

#include "ui/segmented_control.h"

namespace lumigrave {

// A two-way switch shown as a segmented control: any touch flips between the first two
// segments, and the selected one is tinted green, the other dark grey.
class MMSegmentedSwitcher : public ui::SegmentedControl {
    Q_OBJECT
  public:
    using ui::SegmentedControl::SegmentedControl;

    // Tints every segment: green when selected, dark grey otherwise.
    void updateTintColor();

    // Selects and tints. From system version 5 on it also reports the value change, which
    // the platform's control there no longer does for a selection made in code.
    void setSelectedSegmentIndex(int index) override;

    // Flips the selection (to the first segment from none) instead of tracking the touch;
    // the base's tracking never starts, so its other handlers do nothing.
    void touchesBegan(QPointF pos) override;

    // The leading number of a version string: "12" is 12, "6.1.2" is 6.1, "unknown" is 0.
    static double versionNumber(const QString& version);
};

}  // namespace lumigrave
