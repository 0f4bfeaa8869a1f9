#pragma once
// The base product's installation, as the module needs it to exist: the
// configuration files, the folders, the shared database with its base tables
// and rows, the workgroup file with the programs' accounts, and optionally
// demonstration declarants and an affiliates file.
#include <filesystem>
#include <string>

#include "platform/dao/dao.h"

namespace zvbase {

namespace fs = std::filesystem;

struct Opciones {
    fs::path carpeta;     // absolute
    std::string usuario;  // SysUser
    bool demo = false;
    bool forzar = false;  // replace an existing installation
};

inline constexpr const char* kNombreBase = "ZVBAS.MDB";
inline constexpr const char* kGrupoTrabajo = "ZVBAS.MDW";
// The declaration period of the demonstration file.
inline constexpr const char* kPeriodoDemo = "200801";

// The folder written as the INI files hold it: absolute, "/" at the end.
std::string CarpetaConBarra(const fs::path& carpeta);

// Reads the command line; false with the reason when it is wrong.
bool LeeArgumentos(int argc, char** argv, Opciones& opciones, std::string& error);
// What an earlier installation left that this one would replace ("" when nothing).
std::string InstalacionExistente(const Opciones& opciones);

// The steps, in the order Instalar runs them.
void CreaCarpetas(const Opciones& o);
void EscribeConfiguracion(const Opciones& o);       // ZVBAS.INI [Options], WIN.INI [intl]
void EscribeArchivosDelModulo(const Opciones& o);   // tmp/env841.txt, 0841/zvform.hlp
void CreaGrupoDeTrabajo(const Opciones& o);         // ZVBAS.MDW with the four accounts
std::unique_ptr<dao::Database> CreaBase(const Opciones& o, dao::DBEngine& engine);
void CreaTablasBase(dao::Database& db);
void CargaFilasBase(dao::Database& db, const std::string& usuario);  // PARAM 004/044, CLAVES
void CargaDemostracion(dao::Database& db, const Opciones& o);       // CONT and the affiliates file

// Removes what InstalacionExistente found (used with --force).
void BorraInstalacion(const Opciones& o);
// The whole installation; throws zv::Error (dao::Error included) on failure.
void Instalar(const Opciones& opciones);
// The program: arguments, installation, exit code (0 done, 1 refused or failed, 2 usage).
int Main(int argc, char** argv);

}  // namespace zvbase
