#pragma once
// The send summary of one declaration (report F84104): the run's steps.
#include <string>

#include "summary/estado.h"

namespace zvreport {

// Ends the run with a message: the message was already shown.
struct FinConMensaje {};

void LeerIni(Estado& e);
void AbrirBase(Estado& e);
void CortaParametro(Estado& e, const std::string& parametro);
void LeeFormaPago(Estado& e);
void LeeCasillas(Estado& e);
// Reads the declarant's name; FinConMensaje when there is none.
void LeeDeclarante(Estado& e);
void GeneraResumenTexto(Estado& e);
void GeneraResumenSpool(Estado& e);
void CopiaDocumentos(Estado& e);

// The whole run; returns the program's exit status.
int GeneraResumenEnvio(Estado& e, const std::string& parametro);

// Claims a new file of the folder under a random 8-digit name.
std::string ReservaNombreTemporal(const std::string& carpeta);

// Line building.
std::string QuitaComas(const std::string& s, int count);
void FormateaMonto(Estado& e, double valor, const std::string& mascara, int ancho);

}  // namespace zvreport
