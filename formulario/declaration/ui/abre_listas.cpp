#include "formulario/declaration/ui/abre_listas.h"

#include "formulario/core/ui/barra_estado.h"
#include "formulario/declaration/ui/frm_cont_abrir.h"
#include "formulario/declaration/ui/frm_consultas.h"

namespace zvform::ui {

QWidget* VentanaPrincipal() {
    BarradeEstadoZarvo* barra = BarradeEstadoZarvo::Principal();
    return barra ? barra->window() : nullptr;
}

void AbreFrmContAbrir() {
    FrmContAbrir lista(VentanaPrincipal());
    lista.exec();
}

void AbreFrmContAbrirE() {
    FrmContAbrirE lista(VentanaPrincipal());
    lista.exec();
}

void AbreFrmConsultas() {
    FrmConsultas consulta(VentanaPrincipal());
    consulta.exec();
}

}  // namespace zvform::ui
