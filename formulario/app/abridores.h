#pragma once
// Plugs the program's forms into the main window's menus and toolbar.
namespace zvform {

void RegistraFormularios();

}  // namespace zvform
