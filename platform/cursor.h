#pragma once
// The mouse pointer and "let pending window events run", as two small calls
// that long loops use. Without a GUI both do nothing; the GUI layer installs
// the real ones.
#include <functional>

namespace zv {

enum class Pointer { Default, Arrow, Hourglass };

void SetMousePointer(Pointer p);
void DoEvents();

// Installed by the GUI layer (platform/gui).
void InstallPointerHandler(std::function<void(Pointer)> handler);
void InstallEventPump(std::function<void()> pump);

}  // namespace zv
