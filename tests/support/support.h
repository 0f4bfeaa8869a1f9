#pragma once
// Test fixtures: temporary folders, running the built programs, and a fresh
// installation made by zvbase in a private Windows directory.
#include <filesystem>
#include <functional>
#include <optional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace dao {
class Database;
}
namespace zv::cuentas {
struct Cuenta;
}

namespace zvtest {

namespace fs = std::filesystem;

// A new empty folder under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// A file's bytes as they lie on disk ("" when it cannot be read).
std::string Bytes(const fs::path& path);

// The CR LF lines of a Windows-1252 text file, as UTF-8. `completo` tells
// whether every byte belongs to a line that ends in CR LF.
std::vector<std::string> LineasCrLf(const fs::path& path, bool* completo = nullptr);

fs::path BinDir();     // the build's bin/ (ZV_BIN_DIR)
fs::path SourceDir();  // the top of the tree (ZV_SOURCE_DIR)

struct RunResult {
    int exitCode = -1;  // 128 + signal when killed by one
    std::string out;
    std::string err;
};

// Runs bin/<program> with args; env entries are added to (or replace) the
// test's environment. Standard input is empty. Timeout kills the program.
RunResult Run(const std::string& program, const std::vector<std::string>& args = {},
              const std::map<std::string, std::string>& env = {}, const fs::path& cwd = {},
              int timeoutSeconds = 60);

// Runs f in a child process as another user than the test's, when the test
// runs as root (as user "nobody", 65534); its result is the child's exit
// code. Without root there is no other user to become: nullopt, f not run.
std::optional<int> ComoOtroUsuario(const std::function<int()>& f);
// Makes the tree open to every user (folders a+rwx, files a+rw), so that
// the other user reaches an installation the test made.
void AbreATodos(const fs::path& raiz);

// Runs `corre` with `archivo` readable but not writable to the run, and
// gives write permission back afterwards. Root writes any file: as root the
// run is another user's (ComoOtroUsuario) over the tree `raiz`, which holds
// `archivo` and is opened to every user, its standard error brought back
// through a file of that tree.
RunResult SinPermisoDeEscritura(const fs::path& archivo, const fs::path& raiz,
                                const std::function<RunResult()>& corre);

// While it lives, this thread no longer passes over files' permissions as
// root does (CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH are lowered, and raised
// again at its end), so that a file without write or read permission refuses
// root too. Activo() is false
// where the system refuses to change it; without root there is nothing to
// lower and it is true.
class SinPasarPorEncimaDePermisos {
public:
    SinPasarPorEncimaDePermisos();
    ~SinPasarPorEncimaDePermisos();
    SinPasarPorEncimaDePermisos(const SinPasarPorEncimaDePermisos&) = delete;
    SinPasarPorEncimaDePermisos& operator=(const SinPasarPorEncimaDePermisos&) = delete;
    bool Activo() const { return activo_; }

private:
    bool activo_ = false;
    bool devolver_ = false;
};

// Sets an environment variable for the test's lifetime and restores it.
class ScopedEnv {
public:
    ScopedEnv(const std::string& name, const std::string& value);
    ~ScopedEnv();

private:
    std::string name_;
    bool had_ = false;
    std::string old_;
};

// A fresh installation: a private ZARVO_WINDIR and a base folder, made by
// `zvbase [--demo] FOLDER`, optionally followed by `zvsetup`. While it lives,
// ZARVO_WINDIR of the test process names its Windows directory.
class Installation {
    TempDir root_;        // declared first: the paths below live in it
    ScopedEnv windirEnv_;

public:
    struct Options {
        bool demo = false;
        bool runSetup = false;
        std::string user = "tester";
    };
    Installation();
    explicit Installation(Options options);
    ~Installation();

    fs::path windir;   // ZVBAS.INI and WIN.INI
    fs::path folder;   // SysPath and DBPath (with a trailing "/" in the INI)
    fs::path database; // the shared database file
    std::string user;
    // The environment the programs of this installation run with.
    std::map<std::string, std::string> Env() const;
    RunResult RunProgram(const std::string& program, const std::vector<std::string>& args = {}) const;
    // The shared database opened through the database layer with a program's
    // account, as that program opens it.
    std::unique_ptr<dao::Database> Open(const zv::cuentas::Cuenta& account, bool exclusive = false) const;
};

}  // namespace zvtest
