#pragma once

#include <QString>

#include "platform/geometry.h"

namespace lumigrave {

// The main screen's scale: device pixels per point. Until it is set, it is the primary
// display's; the application's main window sets it from the display it is on, tests and
// the command line set 1 or 2. The relief of a watermark is rendered at this scale.
//
// Its bounds follow the main window, which the application reports as it is resized; a
// desktop has no status bar, so the application frame is the whole of them.
class Screen {
  public:
    static float mainScreenScale();
    // 0 gives the scale back to the primary display; other values below 1 (and NaN) are
    // taken as 1.
    static void setMainScreenScale(float scale);

    static Size bounds();
    static void setBounds(Size bounds);
    static Rect applicationFrame() { return Rect{Point{}, bounds()}; }
};

// The kind of device the interface is laid out for: a tablet from 768 points wide.
enum class InterfaceIdiom { Phone, Pad };

class Device {
  public:
    static InterfaceIdiom userInterfaceIdiom();
    // A desktop application keeps running in the background.
    static bool isMultitaskingSupported() { return true; }
    // The version of the toolkit the controls run on, or the one a test set.
    static QString systemVersion();
    // Makes systemVersion() answer version, any string a system might report, so tests
    // can take each side of a version check; a null string restores the toolkit's
    // version. Main thread only.
    static void setSystemVersionForTesting(const QString& version);
};

}  // namespace lumigrave
