#pragma once
// The benchmarks' annex: the state of a report run for the annex alone of
// one declaration, its spool file registered.
#include <string>

#include "formulario/core/estado.h"
#include "shared/spool.h"

namespace zvbench {

inline constexpr const char* kPeriodo = "202301";

// Sets the declaration (ruc, kPeriodo) and the run's output, registers the
// spool file under F84102 and points gRutaArchivo at it; returns its name.
// The caller then runs ImprimeReporte with OpcionImpresion::Detalle.
inline std::string RegistraAnexo(const std::string& ruc) {
    zvform::Estado& e = zvform::Estado::G();
    e.gRuc = ruc;
    e.gRazonSocial = "DECLARANTE DE PRUEBA";
    e.gPeriodo = kPeriodo;
    e.gTipoReporte = 2;
    e.gSalida = "ARCHIVO";
    std::string nombre = zv::spool::GeneraArchivoSpool(*e.gBase, "F84102", ruc, e.gUsuario);
    e.gRutaArchivo = e.gRutaRpt + nombre;
    return nombre;
}

}  // namespace zvbench
