#pragma once
// The one letter of every program's windows: the forms of zvform, the
// message boxes of every program, the host's window. The form layouts were
// drawn for it; a system letter of another size and width would cut their
// texts, and boxes of one program would read larger than another's.
#include <QFont>

namespace zv::gui {

// 8 points of Liberation Sans (the metric twin of Arial, installed with the
// programs), or the system's sans serif in its place. In points, so it keeps
// its proportion to the twips of the layouts at any resolution.
QFont LetraDeFormularios();

// Makes LetraDeFormularios the running application's letter; nothing when
// there is no widgets application.
void FijaLetraDeFormularios();

}  // namespace zv::gui
