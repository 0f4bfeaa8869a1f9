#include "tests/support/disco_lleno.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>
#include <optional>
#include <stdexcept>
#include <string>

namespace zvtest {

namespace {

struct Cuota {
    sqlite3_vfs* sistema = nullptr;       // the VFS everything goes to
    std::optional<std::int64_t> libres;   // bytes that still fit; none: unlimited
    int errnoPendiente = 0;               // what the engine reads as the system's error
    int rechazos = 0;
    bool activa = false;                  // a DiscoLleno lives
};

Cuota& C() {
    static Cuota c;
    return c;
}

// Takes `bytes` of the space left; false (and nothing taken) when they do not fit.
bool Toma(std::int64_t bytes) {
    Cuota& c = C();
    if (!c.libres || bytes <= 0) return true;
    if (*c.libres < bytes) {
        ++c.rechazos;
        c.errnoPendiente = ENOSPC;
        return false;
    }
    *c.libres -= bytes;
    return true;
}

// Our file: the name the engine opened it by, then the system's file.
struct Archivo {
    sqlite3_file base;
    const char* nombre;  // valid until xClose, as the engine promises
};

sqlite3_file* Sistema(sqlite3_file* f) { return reinterpret_cast<sqlite3_file*>(reinterpret_cast<Archivo*>(f) + 1); }

int Cierra(sqlite3_file* f) { return Sistema(f)->pMethods->xClose(Sistema(f)); }
int Lee(sqlite3_file* f, void* b, int n, sqlite3_int64 o) { return Sistema(f)->pMethods->xRead(Sistema(f), b, n, o); }
int Escribe(sqlite3_file* f, const void* b, int n, sqlite3_int64 o) {
    if (!Toma(n)) return SQLITE_FULL;
    return Sistema(f)->pMethods->xWrite(Sistema(f), b, n, o);
}
int Trunca(sqlite3_file* f, sqlite3_int64 n) { return Sistema(f)->pMethods->xTruncate(Sistema(f), n); }
int Sincroniza(sqlite3_file* f, int flags) { return Sistema(f)->pMethods->xSync(Sistema(f), flags); }
int Tamano(sqlite3_file* f, sqlite3_int64* n) { return Sistema(f)->pMethods->xFileSize(Sistema(f), n); }
int Bloquea(sqlite3_file* f, int l) { return Sistema(f)->pMethods->xLock(Sistema(f), l); }
int Desbloquea(sqlite3_file* f, int l) { return Sistema(f)->pMethods->xUnlock(Sistema(f), l); }
int Reservado(sqlite3_file* f, int* r) { return Sistema(f)->pMethods->xCheckReservedLock(Sistema(f), r); }
int Control(sqlite3_file* f, int op, void* arg) { return Sistema(f)->pMethods->xFileControl(Sistema(f), op, arg); }
int Sector(sqlite3_file* f) { return Sistema(f)->pMethods->xSectorSize(Sistema(f)); }
int Caracteristicas(sqlite3_file* f) { return Sistema(f)->pMethods->xDeviceCharacteristics(Sistema(f)); }

// The shared-memory file lies beside the database as "<name>-shm"; growing
// it takes space like any write.
int MapaShm(sqlite3_file* f, int region, int tamano, int extiende, void volatile** p) {
    const char* nombre = reinterpret_cast<Archivo*>(f)->nombre;
    if (extiende && nombre) {
        struct stat st {};
        const std::int64_t actual = ::stat((std::string(nombre) + "-shm").c_str(), &st) == 0 ? st.st_size : 0;
        const std::int64_t necesario = static_cast<std::int64_t>(region + 1) * tamano;
        if (necesario > actual && !Toma(necesario - actual)) return SQLITE_IOERR_SHMSIZE;
    }
    return Sistema(f)->pMethods->xShmMap(Sistema(f), region, tamano, extiende, p);
}
int CerrojoShm(sqlite3_file* f, int o, int n, int flags) { return Sistema(f)->pMethods->xShmLock(Sistema(f), o, n, flags); }
void BarreraShm(sqlite3_file* f) { Sistema(f)->pMethods->xShmBarrier(Sistema(f)); }
int SueltaShm(sqlite3_file* f, int borra) { return Sistema(f)->pMethods->xShmUnmap(Sistema(f), borra); }
int Trae(sqlite3_file*, sqlite3_int64, int, void** p) {
    *p = nullptr;  // no memory map: every read goes through xRead
    return SQLITE_OK;
}
int Devuelve(sqlite3_file*, sqlite3_int64, void*) { return SQLITE_OK; }

const sqlite3_io_methods kMetodos = {
    3,         Cierra, Lee,      Escribe,    Trunca,      Sincroniza, Tamano,    Bloquea, Desbloquea,
    Reservado, Control, Sector, Caracteristicas, MapaShm, CerrojoShm, BarreraShm, SueltaShm, Trae, Devuelve,
};

int Abre(sqlite3_vfs*, const char* nombre, sqlite3_file* f, int flags, int* salida) {
    auto* archivo = reinterpret_cast<Archivo*>(f);
    archivo->base.pMethods = nullptr;
    archivo->nombre = nombre;
    sqlite3_vfs* sistema = C().sistema;
    const int rc = sistema->xOpen(sistema, nombre, Sistema(f), flags, salida);
    if (rc == SQLITE_OK && Sistema(f)->pMethods) archivo->base.pMethods = &kMetodos;
    return rc;
}

int Borra(sqlite3_vfs*, const char* n, int sync) { return C().sistema->xDelete(C().sistema, n, sync); }
int Accede(sqlite3_vfs*, const char* n, int flags, int* r) { return C().sistema->xAccess(C().sistema, n, flags, r); }
int RutaCompleta(sqlite3_vfs*, const char* n, int largo, char* out) {
    return C().sistema->xFullPathname(C().sistema, n, largo, out);
}
void* AbreBiblioteca(sqlite3_vfs*, const char* n) { return C().sistema->xDlOpen(C().sistema, n); }
void ErrorBiblioteca(sqlite3_vfs*, int n, char* out) { C().sistema->xDlError(C().sistema, n, out); }
void (*Simbolo(sqlite3_vfs*, void* h, const char* n))(void) { return C().sistema->xDlSym(C().sistema, h, n); }
void CierraBiblioteca(sqlite3_vfs*, void* h) { C().sistema->xDlClose(C().sistema, h); }
int Azar(sqlite3_vfs*, int n, char* out) { return C().sistema->xRandomness(C().sistema, n, out); }
int Duerme(sqlite3_vfs*, int us) { return C().sistema->xSleep(C().sistema, us); }
int Hora(sqlite3_vfs*, double* t) { return C().sistema->xCurrentTime(C().sistema, t); }
int HoraEntera(sqlite3_vfs*, sqlite3_int64* t) { return C().sistema->xCurrentTimeInt64(C().sistema, t); }
// The engine asks it right after an I/O error: a refused growth is ENOSPC.
int UltimoError(sqlite3_vfs*, int n, char* out) {
    if (int e = C().errnoPendiente) {
        C().errnoPendiente = 0;
        return e;
    }
    return C().sistema->xGetLastError(C().sistema, n, out);
}

sqlite3_vfs& Vfs() {
    static sqlite3_vfs vfs = [] {
        sqlite3_vfs* sistema = sqlite3_vfs_find(nullptr);
        if (!sistema) throw std::runtime_error("SQLite has no default VFS");
        C().sistema = sistema;
        sqlite3_vfs v{};
        v.iVersion = 2;
        v.szOsFile = static_cast<int>(sizeof(Archivo)) + sistema->szOsFile;
        v.mxPathname = sistema->mxPathname;
        v.zName = "zvtest-disco-lleno";
        v.xOpen = Abre;
        v.xDelete = Borra;
        v.xAccess = Accede;
        v.xFullPathname = RutaCompleta;
        v.xDlOpen = AbreBiblioteca;
        v.xDlError = ErrorBiblioteca;
        v.xDlSym = Simbolo;
        v.xDlClose = CierraBiblioteca;
        v.xRandomness = Azar;
        v.xSleep = Duerme;
        v.xCurrentTime = Hora;
        v.xGetLastError = UltimoError;
        v.xCurrentTimeInt64 = HoraEntera;
        return v;
    }();
    return vfs;
}

}  // namespace

DiscoLleno::DiscoLleno() {
    if (C().activa) throw std::logic_error("one DiscoLleno at a time");
    sqlite3_initialize();
    sqlite3_vfs& vfs = Vfs();
    C() = Cuota{C().sistema, std::nullopt, 0, 0, true};
    sqlite3_vfs_register(&vfs, 1);
}

DiscoLleno::~DiscoLleno() {
    // Connections opened through it keep it (registered, unlimited); new
    // ones go to the system's VFS again.
    C().libres.reset();
    C().activa = false;
    sqlite3_vfs_register(C().sistema, 1);
}

void DiscoLleno::Llena(std::int64_t bytesLibres) { C().libres = bytesLibres; }

void DiscoLleno::Libera() { C().libres.reset(); }

int DiscoLleno::Rechazos() const { return C().rechazos; }

bool ArchivoDeDiscoLleno(const std::filesystem::path& ruta) {
    std::error_code ec;
    if (!std::filesystem::is_character_file("/dev/full", ec)) return false;
    std::filesystem::remove(ruta, ec);
    std::filesystem::create_symlink("/dev/full", ruta, ec);
    return !ec;
}

}  // namespace zvtest
