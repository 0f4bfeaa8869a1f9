#include "tests/support/support.h"

#include <fcntl.h>
#include <grp.h>
#include <linux/capability.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/dao/dao.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "shared/cuentas.h"

extern char** environ;

namespace zvtest {

namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

std::vector<std::string> MergedEnvironment(const std::map<std::string, std::string>& extra) {
    std::map<std::string, std::string> all;
    for (char** e = environ; *e; ++e) {
        std::string kv = *e;
        auto eq = kv.find('=');
        if (eq != std::string::npos) all[kv.substr(0, eq)] = kv.substr(eq + 1);
    }
    for (const auto& [k, v] : extra) all[k] = v;
    std::vector<std::string> out;
    for (const auto& [k, v] : all) out.push_back(k + "=" + v);
    return out;
}

void DrainInto(int fd, std::string& sink, bool& open) {
    char buf[4096];
    ssize_t n = read(fd, buf, sizeof buf);
    if (n > 0) sink.append(buf, static_cast<size_t>(n));
    else if (n == 0 || (errno != EINTR && errno != EAGAIN)) open = false;
}

}  // namespace

TempDir::TempDir() {
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = fs::temp_directory_path() / ("zvtest-" + std::to_string(rd()));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> LineasCrLf(const fs::path& path, bool* completo) {
    const std::string bytes = Bytes(path);
    std::vector<std::string> lineas;
    std::size_t inicio = 0;
    for (std::size_t fin; (fin = bytes.find("\r\n", inicio)) != std::string::npos; inicio = fin + 2)
        lineas.push_back(zv::text::FromCp1252(bytes.substr(inicio, fin - inicio)));
    if (completo) *completo = inicio == bytes.size();
    return lineas;
}

fs::path BinDir() { return EnvOr("ZV_BIN_DIR", "build/bin"); }
fs::path SourceDir() { return EnvOr("ZV_SOURCE_DIR", "."); }

RunResult Run(const std::string& program, const std::vector<std::string>& args,
              const std::map<std::string, std::string>& env, const fs::path& cwd, int timeoutSeconds) {
    std::string exe = program.find('/') == std::string::npos ? (BinDir() / program).string() : program;
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0) throw std::runtime_error("pipe failed");
    auto envStrings = MergedEnvironment(env);

    pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        int devnull = open("/dev/null", O_RDONLY);
        dup2(devnull, 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        close(outPipe[0]);
        close(errPipe[0]);
        if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
        std::vector<char*> argv{const_cast<char*>(exe.c_str())};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (auto& e : envStrings) envp.push_back(e.data());
        envp.push_back(nullptr);
        execve(exe.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);

    RunResult result;
    bool outOpen = true, errOpen = true;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    while (outOpen || errOpen) {
        pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
        int ready = poll(fds, 2, 200);
        if (ready > 0) {
            if (outOpen && (fds[0].revents & (POLLIN | POLLHUP))) DrainInto(outPipe[0], result.out, outOpen);
            if (errOpen && (fds[1].revents & (POLLIN | POLLHUP))) DrainInto(errPipe[0], result.err, errOpen);
        }
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            break;
        }
    }
    close(outPipe[0]);
    close(errPipe[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

namespace {

// Whether every user may pass through each folder down to `carpeta` (a
// checkout under root's own home, mode 0700, is out of reach of others).
bool AlAlcanceDeTodos(const fs::path& carpeta) {
    std::error_code ec;
    fs::path p = fs::absolute(carpeta, ec);
    if (ec) return false;
    for (; !p.empty(); p = p.parent_path()) {
        struct stat st {};
        if (stat(p.c_str(), &st) != 0 || !(st.st_mode & S_IXOTH)) return false;
        if (p == p.root_path()) break;
    }
    return true;
}

// The built programs, copied to a folder every user reaches.
void CopiaProgramas(const fs::path& destino) {
    for (const auto& e : fs::directory_iterator(BinDir())) {
        const std::string nombre = e.path().filename().string();
        if (e.is_regular_file() && nombre.rfind("zv", 0) == 0) fs::copy_file(e.path(), destino / nombre);
    }
    fs::permissions(destino, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
}

}  // namespace

std::optional<int> ComoOtroUsuario(const std::function<int()>& f) {
    if (geteuid() != 0) return std::nullopt;
    constexpr uid_t kNobody = 65534;
    // The other user must be able to run the built programs.
    std::optional<TempDir> programas;
    if (!AlAlcanceDeTodos(BinDir())) {
        programas.emplace();
        CopiaProgramas(programas->path());
    }
    pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        if (programas) setenv("ZV_BIN_DIR", programas->path().c_str(), 1);
        int codigo = 125;
        if (setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0) {
            try {
                codigo = f();
            } catch (...) {
                codigo = 124;
            }
        }
        std::fflush(nullptr);
        _exit(codigo);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

namespace {

// Lowers or raises again this thread's CAP_DAC_OVERRIDE and
// CAP_DAC_READ_SEARCH (the second alone still lets root read every file);
// false when the system refuses.
bool PasaPorEncimaDePermisos(bool si) {
    __user_cap_header_struct cabecera{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct datos[_LINUX_CAPABILITY_U32S_3]{};
    if (::syscall(SYS_capget, &cabecera, datos) != 0) return false;
    const auto bit = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
    datos[0].effective = si ? (datos[0].effective | bit) : (datos[0].effective & ~bit);
    return ::syscall(SYS_capset, &cabecera, datos) == 0;
}

}  // namespace

SinPasarPorEncimaDePermisos::SinPasarPorEncimaDePermisos() {
    if (geteuid() != 0) {
        activo_ = true;
        return;
    }
    activo_ = devolver_ = PasaPorEncimaDePermisos(false);
}

SinPasarPorEncimaDePermisos::~SinPasarPorEncimaDePermisos() {
    if (devolver_) PasaPorEncimaDePermisos(true);
}

RunResult SinPermisoDeEscritura(const fs::path& archivo, const fs::path& raiz,
                                const std::function<RunResult()>& corre) {
    const auto escritura = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if (geteuid() == 0) AbreATodos(raiz);
    fs::permissions(archivo, escritura, fs::perm_options::remove);
    RunResult r;
    const fs::path salida = raiz / "salida-de-otro-usuario.txt";
    if (auto codigo = ComoOtroUsuario([&] {
            RunResult suyo = corre();
            std::ofstream(salida, std::ios::binary) << suyo.err;
            return suyo.exitCode;
        })) {
        r.exitCode = *codigo;
        r.err = Bytes(salida);
        fs::remove(salida);
    } else {
        r = corre();
    }
    fs::permissions(archivo, fs::perms::owner_write, fs::perm_options::add);
    return r;
}

void AbreATodos(const fs::path& raiz) {
    using fs::perms;
    const perms archivo = perms::owner_read | perms::owner_write | perms::group_read | perms::group_write |
                          perms::others_read | perms::others_write;
    auto abre = [&](const fs::path& p) {
        fs::permissions(p, fs::is_directory(fs::symlink_status(p)) ? perms::all : archivo, fs::perm_options::add);
    };
    abre(raiz);
    for (const auto& e : fs::recursive_directory_iterator(raiz)) abre(e.path());
}

ScopedEnv::ScopedEnv(const std::string& name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name.c_str())) {
        had_ = true;
        old_ = old;
    }
    setenv(name.c_str(), value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (had_) setenv(name_.c_str(), old_.c_str(), 1);
    else unsetenv(name_.c_str());
}

Installation::Installation() : Installation(Options{}) {}

Installation::Installation(Options options)
    : windirEnv_("ZARVO_WINDIR", (root_.path() / "windir").string()),
      windir(root_.path() / "windir"),
      folder(root_.path() / "zarvo"),
      user(options.user) {
    fs::create_directories(windir);
    std::vector<std::string> args{"--user", user};
    if (options.demo) args.push_back("--demo");
    args.push_back(folder.string());
    auto made = Run("zvbase", args, Env());
    if (made.exitCode != 0) throw std::runtime_error("zvbase failed: " + made.err);
    std::string dbName = zv::profile::ReadTrimmed("Options", "DBName", "ZVBAS.INI");
    database = folder / dbName;
    if (options.runSetup) {
        auto setup = Run("zvsetup", {}, Env());
        if (setup.exitCode != 0) throw std::runtime_error("zvsetup failed: " + setup.err);
    }
}

Installation::~Installation() = default;

std::map<std::string, std::string> Installation::Env() const {
    return {{"ZARVO_WINDIR", windir.string()}, {"ZARVO_MSGBOX", "stderr"}, {"QT_QPA_PLATFORM", "offscreen"}};
}

RunResult Installation::RunProgram(const std::string& program, const std::vector<std::string>& args) const {
    return Run(program, args, Env(), folder);
}

std::unique_ptr<dao::Database> Installation::Open(const zv::cuentas::Cuenta& account, bool exclusive) const {
    dao::DBEngine engine;
    engine.SystemDB = (folder / "ZVBAS.MDW").string();
    engine.DefaultUser = account.usuario;
    engine.DefaultPassword = account.clave;
    return engine.OpenDatabase(database.string(), exclusive, false);
}

}  // namespace zvtest
