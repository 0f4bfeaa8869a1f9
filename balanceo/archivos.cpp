#include "balanceo/archivos.h"

#include <filesystem>
#include <system_error>

#include "platform/error.h"
#include "platform/filenames.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"

namespace zvcheck {

namespace fs = std::filesystem;

namespace {

void MuestraErrorEjecucion(const zv::Error& err) {
    if (err.Number() == zv::fileerr::PathNotFound) return;
    zv::MsgBox("Error " + std::to_string(err.Number()) + "\n" + err.Description(), zv::Icon::Critical,
               zv::Buttons::Ok, "Error de Ejecución");
}

zv::Error ErrorDeArchivo(const std::error_code& ec, const std::string& ruta) {
    if (ec == std::errc::permission_denied)
        return zv::Error(zv::fileerr::PermissionDenied, "Permiso denegado: " + ruta);
    if (ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory)
        return zv::Error(zv::fileerr::PathNotFound, "No se encontró la ruta de acceso: " + ruta);
    return zv::Error(zv::fileerr::PathFileAccess, "Error de acceso a la ruta o el archivo: " + ruta);
}

// The lookups of the test: a folder, then a regular file, each ignoring case.
bool Encuentra(const std::string& ruta, bool carpeta) {
    auto encontrada = zv::files::FindIgnoringCase(ruta);
    if (!encontrada) return false;
    std::error_code ec;
    auto estado = fs::status(*encontrada, ec);
    if (ec) throw ErrorDeArchivo(ec, ruta);
    return carpeta ? fs::is_directory(estado) : fs::is_regular_file(estado);
}

bool EncuentraSinDetenerse(const std::string& ruta, bool carpeta) {
    try {
        return Encuentra(ruta, carpeta);
    } catch (const zv::Error& err) {
        MuestraErrorEjecucion(err);
    } catch (const fs::filesystem_error& err) {
        MuestraErrorEjecucion(ErrorDeArchivo(err.code(), ruta));
    }
    return false;
}

}  // namespace

void ImprimeLineaArchivo(Estado& e, const std::string& linea) {
    e.gArchivo.WriteLine(zv::text::Trim(linea).empty() ? " " : linea);
}

bool ExisteArchivo(const std::string& ruta) {
    const std::size_t largo = zv::text::Trim(ruta).empty() ? 0 : ruta.find_last_not_of(' ') + 1;
    const std::size_t barra = largo == 0 ? std::string::npos : ruta.rfind('/', largo - 1);
    if (barra != std::string::npos) {
        // The folder up to and including the separator, looked up without it.
        const std::string carpeta = barra == 0 ? "/" : ruta.substr(0, barra);
        if (!EncuentraSinDetenerse(carpeta, true)) return false;
    }
    return EncuentraSinDetenerse(ruta, false);
}

void BorraArchivo(const std::string& ruta) {
    std::error_code ec;
    fs::remove(zv::files::Resolve(ruta), ec);
    if (ec) throw ErrorDeArchivo(ec, ruta);
}

void GrabaSenalError(Estado& e, const std::string& ruta) {
    try {
        e.gArchivo.Open(zv::files::Resolve(ruta), zv::text::WriteMode::Output);
    } catch (const zv::Error&) {
        return;  // nothing to write into
    }
    try {
        e.gArchivo.WriteLine("0841 ERROR");
    } catch (const zv::Error&) {
    }
    try {
        e.gArchivo.Close();
    } catch (const zv::Error&) {
    }
}

}  // namespace zvcheck
