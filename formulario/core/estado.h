#pragma once
// The module-level state of zvform: what passes between its forms. One
// object, owned by the program, reached through Estado::G(). Names are the
// ones every form and routine of zvform uses.
#include <array>
#include <memory>
#include <string>

#include "platform/dao/dao.h"

namespace zvform {

class cUtilitarios;

struct Estado {
    // Start-up (configuration and database).
    std::unique_ptr<dao::DBEngine> gEngine;
    std::unique_ptr<dao::Database> gBase;
    std::shared_ptr<cUtilitarios> gUtil;  // replaceable by tests
    std::string gSysPath;                 // ends in "/"
    std::string gRutaRpt;                 // gSysPath & "RPT/"
    std::string gRutaBase;                // DBPath & DBName
    std::string gUsuario;
    std::string gArchivoAyuda;            // gSysPath & "0841/zvform.hlp"

    // What the actions tell the forms.
    int gOperacion = 0;                   // 0 new, 1 open, 3 delete
    bool gEsEnviada = false;              // work on HCAB / HDET / HF841DETDES
    bool gOrdenCambiado = false;
    std::string gTipoConsulta;            // "B" banks, "M" motives
    int gTipoReporte = 0;                 // 2 declaration reports, 3 transfer errors
    std::string gSQL;                     // statement under construction

    // The declaration in work.
    std::string gPeriodo;                 // YYYYMM
    std::string gRuc;
    std::string gRazonSocial;
    std::string gCorrel;
    std::string gCodControl;
    std::string gNumOrden;

    // Files and report runs.
    std::string gRutaArchivo;             // Mens.txt or a report's spool file
    int gInconsistencia = 0;              // 1 once a validation failure was logged
    std::string gMensaje;                 // the text of the last failure logged
    std::string gSalida;                  // "ARCHIVO": report runs write into the spool file
    std::array<std::string, 900> gValoresCasilla{};  // box values by box number
    std::string gBancoPago;
    std::string gNroCheque;
    std::string gEfectivo;
    int gTotalPaginas = 0;
    bool gRangoPaginas = false;
    int gPagDesde = 0;
    int gPagHasta = 0;

    // The program's one state.
    static Estado& G();
    // Tests start each case from a fresh state.
    static void Reset();
};

}  // namespace zvform
