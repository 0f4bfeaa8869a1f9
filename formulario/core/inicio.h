#pragma once
// Start-up of zvform without its window: the checks of zvform.Main, the
// regional-settings check that later actions call again, and the load steps
// of the main window (separators, ZVBAS.INI, the shared database).
//
// Each step shows its own message through zv::MsgBox. A step that answers
// false has shown a fatal message: the caller ends the program.
#include <memory>
#include <string>

#include "platform/single_instance.h"

namespace zvform {

// Title of the host's window that must be on the display.
inline constexpr const char* kVentanaAnfitrion = "Zarvomat";
// Product name of the program (title of the second-instance box).
inline constexpr const char* kProducto = "Solvenda";
// Name under which the single-instance lock is taken.
inline constexpr const char* kPrograma = "zvform";

// Exit codes of zvform.
inline constexpr int kSalidaNormal = 0;
inline constexpr int kSalidaFatal = 1;

// Steps 1 to 4 of zvform.Main: utility object, host window, single instance,
// regional settings. On success `instancia` holds the instance lock for the
// rest of the run.
bool ComprobarInicio(std::unique_ptr<zv::SingleInstance>& instancia);

// Step 1: creates the outside utility object gUtil (kept when a test has
// installed one). False, after a message, when it cannot be created.
bool CrearUtilitarios();

// The 15 regional rules; one message listing every failed rule.
bool ValidaConfigRegional();

// Forces WIN.INI [intl] sDecimal "." and sThousand ","; always true.
bool ConfiguraInis();

// Reads ZVBAS.INI [Options] into the state, moves the current folder to
// SysPath, sets the help file and opens the database (AbrirBase).
bool LeerIni();

// Opens gBase with the workgroup file and zvform's account.
bool AbrirBase();

}  // namespace zvform
