#pragma once
// The base product's installation, as the module needs it to exist: the
// configuration files, the folders, the shared database with its base tables
// and rows, the workgroup file with the programs' accounts, and optionally
// demonstration declarants and an affiliates file.
#include <filesystem>
#include <string>

namespace zvbase {

struct Opciones {
    std::filesystem::path carpeta;  // made absolute
    std::string usuario;            // SysUser
    bool demo = false;
    bool forzar = false;            // replace an existing installation
};

inline constexpr const char* kNombreBase = "ZVBAS.MDB";
inline constexpr const char* kGrupoTrabajo = "ZVBAS.MDW";

// Reads the command line; false (with a message on standard error) when it is wrong.
bool LeeArgumentos(int argc, char** argv, Opciones& opciones, std::string& error);
// The whole installation; throws zv::Error on failure.
void Instalar(const Opciones& opciones);
// The program: arguments, installation, exit code (0 done, 1 refused or failed, 2 usage).
int Main(int argc, char** argv);

}  // namespace zvbase
