#pragma once
// Window search over the X display: finds a running top-level window (a
// client window under a reparenting window manager) by its exact title,
// shown or minimised.
#include <string>

namespace zv {

class cWindows {
public:
    // True when a window of the display with exactly this title (_NET_WM_NAME,
    // else WM_NAME) is viewable, or is a client whose WM_STATE is IconicState
    // (minimised). Withdrawn or merely unmapped windows do not count. No
    // display: false.
    bool CorreApp(const std::string& sApp);
};

}  // namespace zv
