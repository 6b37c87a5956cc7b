#pragma once

#include "platform/geometry.h"

namespace lumigrave {

// What the main screen keeps for the whole process rather than for one view of it. The
// application delegate owns it and hands it to the screen, so a new process (or a test)
// starts from a fresh one.
struct MainScreenState {
    // The photo is fitted to the screen the first time it is shown in the process only;
    // later appearances keep the user's zoom and pan.
    bool firstAppearanceDone = false;
    // The image view's centre when the current pan began; the next pan replaces it.
    Point panStartCentre;
};

}  // namespace lumigrave
