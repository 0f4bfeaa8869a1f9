#include "platform/cursor.h"

#include <utility>

namespace zv {

namespace {

std::function<void(Pointer)>& PointerHandler() {
    static std::function<void(Pointer)> handler;
    return handler;
}

std::function<void()>& EventPump() {
    static std::function<void()> pump;
    return pump;
}

}  // namespace

void SetMousePointer(Pointer p) {
    if (auto& h = PointerHandler()) h(p);
}

void DoEvents() {
    if (auto& pump = EventPump()) pump();
}

void InstallPointerHandler(std::function<void(Pointer)> handler) { PointerHandler() = std::move(handler); }
void InstallEventPump(std::function<void()> pump) { EventPump() = std::move(pump); }

}  // namespace zv
