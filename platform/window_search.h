#pragma once
// Window search over the X display: finds a visible top-level window
// (a client window under a reparenting window manager) by its exact title.
#include <string>

namespace zv {

class cWindows {
public:
    // True when a mapped window of the display has exactly this title
    // (_NET_WM_NAME, else WM_NAME). No display: false.
    bool CorreApp(const std::string& sApp);
};

}  // namespace zv
