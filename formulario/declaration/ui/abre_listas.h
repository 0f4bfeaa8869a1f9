#pragma once
// How the main window opens the lists: a new instance over the main
// window, shown modally and discarded when closed.
class QWidget;

namespace zvform::ui {

void AbreFrmContAbrir();   // registered declarations
void AbreFrmContAbrirE();  // sent declarations
void AbreFrmConsultas();   // banks or motives, by gTipoConsulta

// The program's main window (the owner of the status bar); nullptr while there is none.
QWidget* VentanaPrincipal();

}  // namespace zvform::ui
