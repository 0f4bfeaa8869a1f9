#pragma once
// The maximum length of a text box as the forms were designed with it: it
// limits what the user types, pastes or drops into the box, never a text
// the program puts there. A stored value longer than its box is shown whole
// and, when the user leaves it alone, read back exactly as it was stored
// (Qt's own maximum length would cut it as it is set).
class QLineEdit;

namespace zvform {

// Limits what the user enters into the box to `largo` characters (0: no
// limit). An edit that would go beyond it keeps only the characters that
// fit, or is refused when none fits; deleting is always allowed. Changing
// the limit never changes the text. The box keeps Qt's own maximum length
// at its default and uses its validator slot for this.
void FijaLargoMaximo(QLineEdit& caja, int largo);

// The limit set by FijaLargoMaximo; 0 when none was set.
int LargoMaximo(const QLineEdit& caja);

}  // namespace zvform
