#pragma once
// The central error handler, the guarded file open it logs through, and the
// fixed messages of file errors.
//
// A procedure that traps an error calls ManejaError with its own name:
//   for (;;) {
//       try { ...; break; }
//       catch (const std::exception& e) {
//           if (ManejaError("VerificaTablaValor", e) == 1) TerminaPrograma(1);
//       }
//   }
#include <exception>
#include <filesystem>
#include <string>

#include "platform/error.h"

namespace zvform {

// 0: run the failed statement again; 1: end the program.
// A busy table (40002, state "S1000") asks Retry/Cancel and logs nothing;
// every other error is appended to errorlog.txt with the engine's errors
// (Estado::G().gEngine) and shown as a critical message.
int ManejaError(const std::string& rutina, const zv::Error& err);
// Errors that are not the system's own count as number 51 with their text.
int ManejaError(const std::string& rutina, const std::exception& err);

// The file number of the opened file, or 0 when nothing was opened. Modes:
// 1 output, 2 input, 3 append, 4 random (record length), 5 binary read,
// 6 binary write. With `verifica`, mode 5 on a missing file says so and
// opens nothing. Bad names and file errors ask Retry/Cancel.
int AbrirArchivo(const std::string& ruta, int modo, int largoRegistro = 0, bool verifica = false);

// The message of a file error: 0 Retry, 2 Cancel, 3 not a file error (no message).
int MensajeErrorArchivo(long numero);

// The folder of errorlog.txt: the program's own folder unless a test sets another.
std::filesystem::path CarpetaErrorLog();
void FijaCarpetaErrorLog(const std::filesystem::path& carpeta);  // empty: the program's folder

// The date and time as the log writes them: "dd/MM/yyyy hh:mm:ss AM" (12-hour clock).
std::string FechaHoraLog();

}  // namespace zvform
