#pragma once
// Send descriptors of the form (envio_t), loaded from SysPath/tmp/env841.txt:
// one row a line, 13 fields each ended by "|", no header; a blank line ends
// the file.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "Inserta/sesion.h"
#include "platform/dao/value.h"

namespace zvsetup {

struct Envio {
    std::string tablaOrigen;                                       // trimmed
    std::string tablaDestino;                                      // as written; empty becomes one blank
    std::string tablaExterna;                                      // trimmed
    dao::Value indice, obliga, tipDoc;                             // whole numbers 0-255
    dao::Value docId, formulario, periodo, estado, envio, semana;  // numbers
};

// Run-time error numbers of a malformed file.
inline constexpr long kArgumentoNoValido = 5;  // a line with fewer than 13 fields
inline constexpr long kDesbordamiento = 6;     // a byte field outside 0-255
inline constexpr long kTiposNoCoinciden = 13;  // a numeric field empty or not a number

// One line of the file (1-based number for the messages). Throws zv::Error.
Envio InterpretaLinea(std::string_view linea, int numeroLinea);
// Every descriptor of the file, read and checked whole. Throws zv::Error for
// a missing file, a failed read (57; both name the file) or a malformed line.
std::vector<Envio> LeeEnvios(const std::filesystem::path& archivo);
// SysPath/tmp/env841.txt, found without regard to case.
std::filesystem::path RutaEnvios(const std::string& sysPath);

// True when envio_t has a row of form 0841 with that origin table.
bool ExisteEnvio(Sesion& s, const std::string& tabla);
// Replaces the form's send descriptors with those of the file, in one
// transaction; a bad file leaves them as they were.
void CargaEnvios(Sesion& s);

}  // namespace zvsetup
