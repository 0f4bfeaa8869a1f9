#pragma once
// What one run of the transfer works with (internal to the import).
#include <array>
#include <memory>
#include <string>

#include "formulario/import/detalle.h"
#include "formulario/import/fila.h"
#include "formulario/import/importacion.h"

namespace zvimport {

// Columns of F841DETDES the transfer writes, in the order they are set.
enum ColumnaDetalle {
    kTipDocD, kDocIdD, kPeriodo, kFormulario,
    kCampo1,  // Num_RUCEmpl; the 19 fields of a line follow in file order
    kCNumero = kCampo1 + kCamposPorLinea,
    kColumnasDetalle
};

struct Importacion::Lectura {
    std::string ruc, periodo;       // as the driver passes them
    std::string archivo;            // the affiliates file
    std::string log, err;           // the reject logs
    std::string base;               // their common name
    long transferidos = 0;
    long rechazados = 0;
    std::array<std::string, kCamposPorLinea> campo;  // accepted values of the line
    bool lineaBuena = true;
    bool escrita = false;           // the line's row was written
    std::unique_ptr<TablaDetalle> detalle;           // table F841DETDES
    std::unique_ptr<FilaEnMemoria> fila;             // the row being written
    std::array<int, kColumnasDetalle> columna{};     // its column indices
};

// Field 1 as it is stored: "0" when the line has no employer's RUC.
inline const std::string& EmpleadorGuardado(const Importacion::Lectura& lectura) {
    static const std::string kSinEmpleador = "0";
    return lectura.campo[0].empty() ? kSinEmpleador : lectura.campo[0];
}

}  // namespace zvimport
