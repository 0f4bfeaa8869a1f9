#pragma once
// The maximum length of a text box as the forms were designed with it: it
// limits what the user types, pastes or drops into the box, never a text
// the program puts there. A stored value longer than its box is shown whole
// and, when the user leaves it alone, read back exactly as it was stored
// (Qt's own maximum length would cut it as it is set).
class QLineEdit;

namespace zvform {

// Limits what the user enters into the box to `largo` characters (0: no
// limit). Typed, pasted or dropped text goes in at the cursor, over the
// selection, and only as much of it as fits; what does not fit is left
// off its end, and undo takes such a cut paste back as it takes any paste.
// Deleting is always allowed. Changing the limit never changes the text.
// The box keeps Qt's own maximum length at its default; the limit watches
// the box's events and uses its validator slot. Event filters a form
// installs on the box after the first call see the box's keys first, so a
// form's own key rules decide before the limit does.
void FijaLargoMaximo(QLineEdit& caja, int largo);

// The limit set by FijaLargoMaximo; 0 when none was set.
int LargoMaximo(const QLineEdit& caja);

}  // namespace zvform
