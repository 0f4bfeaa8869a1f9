#pragma once
// The state of one zvreport run: configuration, the declaration key's
// fields, what was read of the declaration, and the two line writers' cursor.
#include <array>
#include <memory>
#include <string>

#include "platform/dao/dao.h"
#include "platform/textfile.h"

namespace zvreport {

struct Estado {
    std::unique_ptr<dao::DBEngine> gEngine;
    std::unique_ptr<dao::Database> gBase;
    std::string gDBPath;      // DBPath, trimmed; expected to end in "/"
    std::string gRutaBase;    // gDBPath & DBName
    std::string gUsuario;
    std::string gRutaRpt, gRutaTmp, gRutaEnv;  // gDBPath & "RPT", "TMP", "ENV"
    std::string gSalida = "ARCHIVO";

    // The declaration key.
    std::string gDocumento;   // positions 3-17, blanks kept
    std::string gFormulario;  // 18-21
    std::string gPeriodo;     // 22-27
    std::string gIndicador;   // 28
    std::string gCodigoNC;    // 29-36
    std::string gNombreReporte;

    // The declaration.
    bool gPagoEfectivo = false;
    std::string gNroCheque;
    std::string gNombreBanco;
    std::string gRazonSocial;
    std::array<std::string, 601> gCasillas{};        // boxes 1..600
    std::array<std::string, 1000> gCasillasAltas{};  // boxes 861..999

    // Output.
    std::string gRutaSpool;
    std::string gRutaTexto;
    std::string gLinea;
    int gPosY = 0;
    int gPagina = 1;
    zv::text::TextWriter archivo;  // the document being written
};

}  // namespace zvreport
