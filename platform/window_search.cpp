#include "platform/window_search.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <optional>

namespace zv {

namespace {

// A window may vanish between listing it and asking about it: such errors
// are expected during the walk and ignored.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

constexpr int kMaxDepth = 64;

std::string Latin1ToUtf8(const unsigned char* s, unsigned long n) {
    std::string out;
    for (unsigned long i = 0; i < n; ++i) {
        unsigned char c = s[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

class TitleReader {
public:
    explicit TitleReader(Display* d)
        : d_(d), netWmName_(XInternAtom(d, "_NET_WM_NAME", False)), utf8_(XInternAtom(d, "UTF8_STRING", False)) {}

    // _NET_WM_NAME in UTF-8, else WM_NAME; "" when the window has neither.
    std::string Title(Window w) {
        if (auto t = NetWmName(w)) return *t;
        return WmName(w);
    }

private:
    std::optional<std::string> NetWmName(Window w) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(d_, w, netWmName_, 0, 4096, False, utf8_, &type, &format, &count, &after, &data) !=
            Success)
            return std::nullopt;
        std::optional<std::string> out;
        if (data && type == utf8_ && format == 8) out = std::string(reinterpret_cast<char*>(data), count);
        if (data) XFree(data);
        return out;
    }

    std::string WmName(Window w) {
        XTextProperty prop{};
        if (!XGetWMName(d_, w, &prop) || !prop.value) return {};
        std::string out;
        if (prop.format == 8 && prop.encoding == XA_STRING) {
            out = Latin1ToUtf8(prop.value, prop.nitems);
        } else if (prop.format == 8 && prop.encoding == utf8_) {
            out.assign(reinterpret_cast<char*>(prop.value), prop.nitems);
        } else {
            char** list = nullptr;
            int n = 0;
            if (Xutf8TextPropertyToTextList(d_, &prop, &list, &n) >= Success && list) {
                if (n > 0 && list[0]) out = list[0];
                XFreeStringList(list);
            }
        }
        XFree(prop.value);
        return out;
    }

    Display* d_;
    Atom netWmName_;
    Atom utf8_;
};

// The ICCCM state a window manager gives a top-level client (WM_STATE):
// NormalState, IconicState, or WithdrawnState when it has none.
long ClientState(Display* d, Window w) {
    Atom wmState = XInternAtom(d, "WM_STATE", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long state = WithdrawnState;
    if (XGetWindowProperty(d, w, wmState, 0, 2, False, wmState, &type, &format, &count, &after, &data) ==
            Success &&
        data && type == wmState && format == 32 && count >= 1)
        state = reinterpret_cast<long*>(data)[0];
    if (data) XFree(data);
    return state;
}

// Walks the windows below w for one with the title that is viewable, or a
// client the window manager keeps iconified: a minimised window is unmapped
// (and so is its frame) yet its program still runs. A withdrawn window, or
// one merely hidden, does not count. Under a reparenting window manager the
// client sits inside its frame, so the walk goes all the way down.
bool FindBelow(Display* d, TitleReader& titles, Window w, const std::string& title, int depth) {
    if (depth > kMaxDepth) return false;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, w, &root, &parent, &children, &count)) return false;
    bool found = false;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attrs;
        if (!XGetWindowAttributes(d, children[i], &attrs)) continue;
        bool present = attrs.map_state == IsViewable || ClientState(d, children[i]) == IconicState;
        found = (present && titles.Title(children[i]) == title) ||
                FindBelow(d, titles, children[i], title, depth + 1);
    }
    if (children) XFree(children);
    return found;
}

}  // namespace

bool cWindows::CorreApp(const std::string& sApp) {
    if (sApp.empty()) return false;  // a window without a title never matches
    Display* d = XOpenDisplay(nullptr);
    if (!d) return false;
    auto previous = XSetErrorHandler(IgnoreXError);
    TitleReader titles(d);
    bool found = FindBelow(d, titles, DefaultRootWindow(d), sApp, 0);
    XSync(d, False);  // deliver pending errors to our handler before restoring
    XSetErrorHandler(previous);
    XCloseDisplay(d);
    return found;
}

}  // namespace zv
