// Test helper: maps (or not) one window with a given title on the X display,
// prints "ready" once the server has it, and lives until its standard input
// closes.
//   zv_test_window [--wm-name-only] [--unmapped] [--framed] [--hidden-parent]
//                  [--iconic | --withdrawn] TITLE
// --iconic and --withdrawn do to the mapped window what a window manager
// does when it minimises or withdraws a client: WM_STATE set, client (and
// frame) unmapped.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// UTF-8 to Latin-1, for a WM_NAME of type STRING.
std::string Latin1(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        auto c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0xC2 && c <= 0xC3 && i + 1 < utf8.size()) {
            out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

void SetTitle(Display* d, Window w, const std::string& title, bool wmNameOnly) {
    std::string latin1 = Latin1(title);
    XStoreName(d, w, latin1.c_str());
    if (wmNameOnly) return;
    Atom net = XInternAtom(d, "_NET_WM_NAME", False), utf8 = XInternAtom(d, "UTF8_STRING", False);
    XChangeProperty(d, w, net, utf8, 8, PropModeReplace, reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
}

Window Make(Display* d, Window parent) {
    return XCreateSimpleWindow(d, parent, 10, 10, 200, 100, 1, 0, 0);
}

// Maps or unmaps the window and waits until the server has done it.
void MapAndWait(Display* d, Window w, bool map = true) {
    XSelectInput(d, w, StructureNotifyMask);
    if (map) XMapWindow(d, w);
    else XUnmapWindow(d, w);
    const int wanted = map ? MapNotify : UnmapNotify;
    XEvent e;
    do XNextEvent(d, &e);
    while (e.type != wanted || e.xany.window != w);
}

void SetWmState(Display* d, Window w, long state) {
    Atom wmState = XInternAtom(d, "WM_STATE", False);
    long data[2] = {state, None};
    XChangeProperty(d, w, wmState, wmState, 32, PropModeReplace, reinterpret_cast<unsigned char*>(data), 2);
}

}  // namespace

int main(int argc, char** argv) {
    bool wmNameOnly = false, unmapped = false, framed = false, hiddenParent = false;
    long managedState = -1;  // the WM_STATE to leave the window in, -1 none
    std::string title;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--wm-name-only") wmNameOnly = true;
        else if (a == "--unmapped") unmapped = true;
        else if (a == "--framed") framed = true;
        else if (a == "--hidden-parent") hiddenParent = true;
        else if (a == "--iconic") managedState = IconicState;
        else if (a == "--withdrawn") managedState = WithdrawnState;
        else title = a;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fputs("no display\n", stderr);
        return 2;
    }
    Window root = DefaultRootWindow(d);
    Window parent = root;
    if (framed || hiddenParent) {
        parent = Make(d, root);  // an untitled frame, as a window manager makes
        if (framed) MapAndWait(d, parent);
    }
    Window w = Make(d, parent);
    SetTitle(d, w, title, wmNameOnly);
    if (!unmapped) MapAndWait(d, w);
    if (managedState >= 0) {
        SetWmState(d, w, managedState);
        MapAndWait(d, w, false);
        if (parent != root) MapAndWait(d, parent, false);
    }
    XSync(d, False);
    std::puts("ready");
    std::fflush(stdout);
    char buf[64];
    while (read(0, buf, sizeof buf) > 0) {
    }
    XCloseDisplay(d);
    return 0;
}
