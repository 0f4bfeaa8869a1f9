#pragma once
// Shared routines of zvform's forms that move or measure widgets: centring a
// form in the main window, Enter as Tab, the width a window's title needs,
// and the drop-down width of combo boxes in average characters.
#include <string_view>

class QComboBox;
class QWidget;

namespace zvform {

// Centres the form over the main window (half the difference of their sizes).
void CentrarForm(QWidget& form, const QWidget& principal);

// When the text is "TAB", moves the focus to the next control, as a Tab key stroke would.
void PasaTab(std::string_view texto);

// The width a window needs for the window manager to show its whole title:
// the title in a title bar's letter (bold, half again the forms' letter)
// and the title bar's buttons beside it. For windows whose size the layout
// leaves open.
int AnchoParaTitulo(const QWidget& ventana);

// The average character width in pixels of the application's default font:
// the width of the 52 letters A-Z a-z divided by 52, remainder dropped.
int AnchoCaracter(const QWidget& form);

// Drop-down width := average width * (length of the longest item - 2),
// never below 0. Returns the width set.
int AjustaAnchoCombo(const QWidget& form, QComboBox& combo);
// Drop-down width := average width * (largo - 2), never below 0.
int FijaAnchoCombo(const QWidget& form, QComboBox& combo, int largo);

}  // namespace zvform
