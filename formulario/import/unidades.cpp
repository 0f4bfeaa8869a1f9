// Drives and folders for the import form, read from the file system.
#include "formulario/import/unidades.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

#include "platform/textfile.h"

namespace zvimport {

namespace fs = std::filesystem;

namespace {

// /proc/self/mounts writes blanks, tabs and backslashes of a path as "\040".
std::string SinEscapes(const std::string& campo) {
    std::string out;
    for (std::size_t i = 0; i < campo.size(); ++i) {
        if (campo[i] == '\\' && i + 3 < campo.size()) {
            const std::string octal = campo.substr(i + 1, 3);
            if (octal.size() == 3 && std::all_of(octal.begin(), octal.end(), [](char c) { return c >= '0' && c <= '7'; })) {
                out += static_cast<char>(std::strtol(octal.c_str(), nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += campo[i];
    }
    return out;
}

bool EsMedioRemovible(const std::string& punto) {
    for (const char* prefijo : {"/media/", "/run/media/", "/mnt/"})
        if (punto.rfind(prefijo, 0) == 0) return true;
    return punto == "/mnt";
}

// False when the table cannot be read (no /proc in a chroot, for one).
bool LeePuntosDeMontaje(std::vector<std::string>& puntos) {
    puntos.clear();
    std::ifstream montajes(TablaDeMontajes());
    if (!montajes) return false;
    for (std::string linea; std::getline(montajes, linea);) {
        std::istringstream campos(linea);
        std::string dispositivo, punto;
        if (campos >> dispositivo >> punto) puntos.push_back(SinEscapes(punto));
    }
    return true;
}

std::vector<std::string> PuntosDeMontaje() {
    std::vector<std::string> puntos;
    LeePuntosDeMontaje(puntos);
    return puntos;
}

// Without a mount table: a mounted medium is a file system of its own, on
// another device than the folder that holds it.
bool OtroDispositivoQueSuCarpeta(const std::string& raiz) {
    struct stat propia {}, padre {};
    const std::string carpeta = fs::path(raiz).lexically_normal().parent_path().string();
    return ::stat(raiz.c_str(), &propia) == 0 && ::stat(carpeta.c_str(), &padre) == 0 && propia.st_dev != padre.st_dev;
}

bool SigueMontado(const std::string& raiz) {
    std::vector<std::string> puntos;
    if (!LeePuntosDeMontaje(puntos)) return OtroDispositivoQueSuCarpeta(raiz);
    const std::string buscado = fs::path(raiz).lexically_normal().string();
    return std::any_of(puntos.begin(), puntos.end(), [&](const std::string& p) {
        return fs::path(p).lexically_normal().string() == buscado;
    });
}

std::string Normal(const std::string& ruta) {
    std::string out = fs::path(ruta).lexically_normal().string();
    while (out.size() > 1 && out.back() == '/') out.pop_back();
    return out;
}

// True when `ruta` is `raiz` or lies under it.
bool Contiene(const std::string& raiz, const std::string& ruta) {
    const std::string r = Normal(raiz), p = Normal(ruta);
    if (p == r) return true;
    if (r == "/") return !p.empty() && p.front() == '/';
    return p.size() > r.size() && p.compare(0, r.size(), r) == 0 && p[r.size()] == '/';
}

std::string CarpetaPersonal() {
    const char* home = std::getenv("HOME");
    return home && *home ? Normal(home) : std::string();
}

// The root and the home folder are there as long as the system runs; a
// mount table need not list them (a chroot's does not list its root).
bool SiemprePresente(const std::string& raiz) {
    const std::string r = Normal(raiz);
    return r == "/" || r == CarpetaPersonal();
}

}  // namespace

std::string& TablaDeMontajes() {
    static std::string ruta = "/proc/self/mounts";
    return ruta;
}

std::vector<Unidad> UnidadesDelSistema() {
    std::vector<Unidad> unidades{{"Raíz", "/", false}};
    if (const std::string home = CarpetaPersonal(); !home.empty() && home != "/")
        unidades.push_back({"Personal", home, false});
    std::vector<std::string> medios;
    for (const auto& punto : PuntosDeMontaje())
        if (EsMedioRemovible(punto) && std::find(medios.begin(), medios.end(), punto) == medios.end())
            medios.push_back(punto);
    std::sort(medios.begin(), medios.end());
    for (const auto& punto : medios) unidades.push_back({fs::path(punto).filename().string(), punto, true});
    return unidades;
}

std::function<std::vector<Unidad>()>& FuenteDeUnidades() {
    static std::function<std::vector<Unidad>()> fuente = UnidadesDelSistema;
    return fuente;
}

std::vector<Unidad> LeeUnidades() {
    auto& fuente = FuenteDeUnidades();
    return fuente ? fuente() : UnidadesDelSistema();
}

int UnidadDeRuta(const std::vector<Unidad>& unidades, const std::string& ruta) {
    int mejor = -1;
    std::size_t largo = 0;
    for (std::size_t i = 0; i < unidades.size(); ++i) {
        const std::string raiz = Normal(unidades[i].raiz);
        if (Contiene(raiz, ruta) && (mejor < 0 || raiz.size() > largo)) {
            mejor = static_cast<int>(i);
            largo = raiz.size();
        }
    }
    return mejor;
}

std::string TextoUnidad(const Unidad& unidad) { return unidad.nombre + " [" + unidad.raiz + "]"; }

FallaCarpeta ClasificaFalla(const std::error_code& ec, bool esRaiz) {
    if (!ec) return {};
    FallaCarpeta falla{0, ec.message()};
    switch (ec.value()) {
        case ENOENT: falla.numero = esRaiz ? kUnidadNoDisponible : kRutaNoEncontrada; break;
        case ENODEV:
        case ENXIO: falla.numero = esRaiz ? kUnidadNoDisponible : kUnidadNoLista; break;
        case ENOTDIR:
        case ELOOP:
        case ENAMETOOLONG: falla.numero = kRutaNoEncontrada; break;
        case EACCES:
        case EPERM:
        case EIO:
        case ENOMEDIUM:
        case ETIMEDOUT:
        case EHOSTDOWN:
        case EHOSTUNREACH:
        case ENOTCONN:
        case ESTALE:
        case EBUSY: falla.numero = kUnidadNoLista; break;
        default: falla.numero = kErrorAccesoRuta; break;
    }
    return falla;
}

namespace {

// Opens the folder for listing: the test that it exists and can be read.
FallaCarpeta AbreCarpeta(const std::string& carpeta, bool esRaiz, fs::directory_iterator& it) {
    std::error_code ec;
    if (!fs::is_directory(carpeta, ec)) {
        if (!ec) ec = fs::exists(carpeta) ? std::make_error_code(std::errc::not_a_directory)
                                          : std::make_error_code(std::errc::no_such_file_or_directory);
        return ClasificaFalla(ec, esRaiz);
    }
    it = fs::directory_iterator(carpeta, ec);
    return ClasificaFalla(ec, esRaiz);
}

}  // namespace

FallaCarpeta RevisaUnidad(const Unidad& unidad) {
    fs::directory_iterator it;
    if (auto falla = AbreCarpeta(unidad.raiz, true, it)) return falla;
    // An unplugged medium may leave its empty mount folder behind.
    if (unidad.montaje && !SiemprePresente(unidad.raiz) && !SigueMontado(unidad.raiz))
        return ClasificaFalla(std::make_error_code(std::errc::no_such_device), true);
    return {};
}

FallaCarpeta LeeSubcarpetas(const std::string& carpeta, std::vector<std::string>& nombres) {
    nombres.clear();
    fs::directory_iterator it;
    if (auto falla = AbreCarpeta(carpeta, false, it)) return falla;
    std::error_code ec;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        std::error_code tipo;
        const std::string nombre = it->path().filename().string();
        // Hidden folders hold settings, never the affiliates file.
        if (nombre.empty() || nombre.front() == '.' || !it->is_directory(tipo)) continue;
        nombres.push_back(nombre);
    }
    if (ec) return ClasificaFalla(ec, false);
    std::sort(nombres.begin(), nombres.end(), [](const std::string& a, const std::string& b) {
        const std::string ma = zv::text::UpperCase(a), mb = zv::text::UpperCase(b);
        return ma != mb ? ma < mb : a < b;
    });
    return {};
}

std::vector<std::string> CaminoDesdeRaiz(const std::string& raiz, const std::string& carpeta) {
    const std::string r = Normal(raiz), c = Normal(carpeta);
    std::vector<std::string> camino{r};
    if (!Contiene(r, c) || c == r) return camino;
    fs::path actual = r;
    for (const auto& parte : fs::path(c).lexically_relative(r)) {
        actual /= parte;
        camino.push_back(actual.string());
    }
    return camino;
}

std::string MensajeErrorUnidad(const FallaCarpeta& falla, const std::string& unidad) {
    const std::string& D = unidad;
    switch (falla.numero) {
        case 5:
            return "Llamada a función equivocada.\nSiga correctamente los pasos que se le indica.\n"
                   "Intente nuevamente por favor.";
        case 53: return "Archivo no existente.\nIntente nuevamente por favor.";
        case 57:
            return "Driver está protegido contra escritura.\n"
                   "Retire el disquete , desprotéjalo y coloquelo en el driver .\nIntente nuevamente por favor.";
        case 61:
            return "El disquete del Driver " + D + " está lleno.\n"
                   "Retire el disquete y cámbielo por otro disquete en blanco.\nIntente nuevamente por favor.";
        case 68:
            return "Driver " + D + " seleccionado no está disponible.\nEstá seleccionando un driver que no existe.\n"
                   "Intente nuevamente por favor.";
        case 70:
            return "El disquete " + D + " está protegido contra escritura. \n"
                   "Verifique la correcta disposición del disquete.\nIntente nuevamente por favor.";
        case 71: return "El disquete no está listo. Verifique.";
        case 76:
            return "Ruta de Directorio no encontrado en Driver:" + D + "\n"
                   "Verifique el correcto colocado del disquete.\nIntente nuevamente por favor.";
        default:
            return "Error tecnico:  " + std::to_string(falla.numero) + "\n" + falla.descripcion +
                   "\nIntente nuevamente por favor.";
    }
}

}  // namespace zvimport
