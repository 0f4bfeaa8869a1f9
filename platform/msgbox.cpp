#include "platform/msgbox.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <X11/Xlib.h>

namespace zv {

namespace {

MessageService* g_installed = nullptr;

bool EnvSet(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

}  // namespace

std::vector<Answer> ButtonsOf(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok: return {Answer::Ok};
        case Buttons::OkCancel: return {Answer::Ok, Answer::Cancel};
        case Buttons::YesNo: return {Answer::Yes, Answer::No};
        case Buttons::YesNoCancel: return {Answer::Yes, Answer::No, Answer::Cancel};
        case Buttons::RetryCancel: return {Answer::Retry, Answer::Cancel};
    }
    return {Answer::Ok};
}

// A default beyond the box's buttons falls back to the first, as it did.
Answer DefaultAnswer(const MessageRequest& request) {
    auto buttons = ButtonsOf(request.buttons);
    int i = request.defaultButton;
    return i >= 0 && i < static_cast<int>(buttons.size()) ? buttons[static_cast<std::size_t>(i)] : buttons.front();
}

Answer StderrMessages::Show(const MessageRequest& request) {
    std::string block = request.title + ": " + request.text + "\n\n";
    std::fwrite(block.data(), 1, block.size(), stderr);
    std::fflush(stderr);
    return DefaultAnswer(request);
}

Answer ScriptedMessages::Show(const MessageRequest& request) {
    shown.push_back(request);
    if (answers.empty()) return DefaultAnswer(request);
    Answer a = answers.front();
    answers.pop_front();
    return a;
}

MessageService& Messages() {
    static StderrMessages fallback;
    return g_installed ? *g_installed : fallback;
}

void SetMessageService(MessageService* service) { g_installed = service; }

bool DisplayReachable() {
    if (EnvSet("WAYLAND_DISPLAY")) return true;
    if (!EnvSet("DISPLAY")) return false;
    // A DISPLAY that names no running X server counts as none: Qt would
    // abort before any message could be shown.
    // Asked once per DISPLAY value: every box asks.
    static std::string asked;
    static bool reachable = false;
    std::string display = std::getenv("DISPLAY");
    if (display != asked) {
        Display* d = XOpenDisplay(display.c_str());
        if (d) XCloseDisplay(d);
        reachable = d != nullptr;
        asked = display;
    }
    return reachable;
}

bool HasDisplay() {
    const char* mode = std::getenv("ZARVO_MSGBOX");
    if (mode && std::strcmp(mode, "stderr") == 0) return false;
    return DisplayReachable();
}

Answer MsgBox(const std::string& text, Icon icon, Buttons buttons, const std::string& title, int defaultButton) {
    return Messages().Show(MessageRequest{text, icon, buttons, title, defaultButton});
}

}  // namespace zv
