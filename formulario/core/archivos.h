#pragma once
// Files opened by number, as the program's sequential and binary file
// statements use them: a free number is taken, the file is opened in one of
// six modes, and it is reached by that number until it is closed.
// Sequential files are Windows-1252 text (CR LF written); binary and random
// files are raw bytes.
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/textfile.h"

namespace zvform::archivos {

enum Modo {
    Salida = 1,       // Output
    Entrada = 2,      // Input
    Agregar = 3,      // Append
    Aleatorio = 4,    // Random, read and write, records of a fixed length
    BinarioLee = 5,   // Binary, read only
    BinarioEscribe = 6  // Binary, write only
};

// The lowest number not in use (1 .. 511); error 67 when none is left.
int ArchivoLibre();

// Opens the path in the mode on the number. Raises zv::Error with the file
// numbers: 52 bad number or number in use, 54 bad mode, 55 the file is
// already open here, 53 missing file, 76 missing folder, 75 access refused.
void Abre(int numero, const std::filesystem::path& ruta, int modo, int largoRegistro = 0);

bool EstaAbierto(int numero);
// The open file of a number; error 52 when the number is not open in a
// matching mode.
zv::text::TextWriter& Escritor(int numero);
zv::text::TextReader& Lector(int numero);
std::FILE* Binario(int numero);
int LargoRegistro(int numero);

void Cierra(int numero);  // a number not open is ignored
void CierraTodos();

}  // namespace zvform::archivos
