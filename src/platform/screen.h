#pragma once

namespace lumigrave {

// The main screen's scale: device pixels per point. The application sets it from the
// display; tests and the command line set 1 or 2. The relief of a watermark is rendered
// at this scale.
class Screen {
  public:
    static float mainScreenScale();
    // Values below 1 are taken as 1.
    static void setMainScreenScale(float scale);
};

}  // namespace lumigrave
