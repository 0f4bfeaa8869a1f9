#pragma once
// Where a window is placed, its frame goes: a position given to a window
// (a form's own, a dialog centred over its owner, a box's) is the top left
// corner of the frame the window manager puts around it, as QWidget::move
// documents. Qt takes such a position as the client area's when the
// window's native side exists before it is placed (a dialog's centring, a
// form placed after its controls were made) and the manager's frame is not
// known yet: then the title bar lies above the position, off the screen for
// a window placed at its top (y = -21 under twm). A window that gives no
// position at all is placed by the manager, or left where it lies when the
// manager starts later, its title bar above the screen's edge.
class QWidget;

namespace zv::gui {

// From now on, every window of the running application that shows (main
// windows, dialogs, message boxes) is placed by its frame at the position it
// was given, (0, 0) when it was given none. Once per application; nothing
// without one.
void PlaceWindowsByTheirFrame();

}  // namespace zv::gui
