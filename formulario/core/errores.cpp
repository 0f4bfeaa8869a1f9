#include "formulario/core/errores.h"

#include <cstdio>
#include <map>

#include "formulario/core/archivos.h"
#include "formulario/core/estado.h"
#include "platform/dao/dao.h"
#include "platform/filenames.h"
#include "platform/msgbox.h"
#include "shared/reloj.h"

namespace zvform {

namespace {

std::filesystem::path& CarpetaFijada() {
    static std::filesystem::path carpeta;
    return carpeta;
}

// Cancel is the default button of the Retry/Cancel boxes: a box nobody
// answers must not retry for ever.
constexpr int kBotonCancelar = 1;

int PreguntaReintento(const std::string& estado) {
    const std::string texto =
        "Se ha excedido del número máximo de reintentos de acceso a una tabla. Posibles causas:\n"
        "1. Puede deberse a que un usuario este actualizando la misma tabla en este momento(BLOQUEOS).\n"
        "2. El usuario no tiene permisos de accesos sobre la tabla (PERMISOS).\n"
        "Si desea continuar reintentando esta operación presione REINTENTAR de\n"
        "lo contrario presione CANCELAR para la cancelación de esta operación.";
    zv::Answer a = zv::MsgBox(texto, zv::Icon::Warning, zv::Buttons::RetryCancel,
                              "Reintentos de acceso " + estado, kBotonCancelar);
    if (a == zv::Answer::Retry) return 0;
    zv::MsgBox("Proceso de recepción cancelado por el usuario.\nReintente la recepción del disquete nuevamente.",
               zv::Icon::Warning, zv::Buttons::Ok, "AVISO!");
    return 1;
}

std::string ErroresDelMotor() {
    std::string texto;
    const auto& motor = Estado::G().gEngine;
    if (!motor) return texto;
    for (const auto& e : motor->Errors()) texto += e.description + "\n";
    return texto;
}

// Appends the entry; a log that cannot be opened or written is left out.
void EscribeLog(const std::string& rutina, const std::string& descripcion, const std::string& mensaje) {
    std::string ruta = (CarpetaErrorLog() / "errorlog.txt").string();
    int n = AbrirArchivo(ruta, archivos::Agregar, 0, true);
    if (n == 0) return;
    try {
        auto& log = archivos::Escritor(n);
        log.WriteLine("Fecha y Hora del error: " + FechaHoraLog());
        log.WriteLine("Error producido en    : " + rutina);
        log.WriteLine(descripcion);
        log.WriteLine(mensaje);
        archivos::Cierra(n);
    } catch (const std::exception&) {
        try { archivos::Cierra(n); } catch (const std::exception&) {}
    }
}

int ErrorFatal(const std::string& rutina, const zv::Error& err) {
    std::string descripcion =
        "Descripción del error : [" + std::to_string(err.Number()) + "] " + err.Description();
    std::string mensaje = "\n\n" + descripcion + ". No se puede continuar con la ejecución del módulo" +
                          "\n\n" + ErroresDelMotor();
    EscribeLog(rutina, descripcion, mensaje);
    zv::MsgBox(mensaje, zv::Icon::Critical, zv::Buttons::Ok,
               "Error crítico: " + std::to_string(err.Number()) + " (Rutina: " + rutina + ") ");
    return 1;
}

const std::map<long, std::string>& MensajesDeArchivo() {
    static const std::map<long, std::string> mensajes = {
        {52, "El nombre de archivo es inválido."},
        {64, "El nombre de archivo es inválido."},
        {53, "El archivo no se encuentra."},
        {54, "No es posible abrir el archivo para el tipo de acceso."},
        {55, "El archivo ya está abierto."},
        {57, "El diskette está lleno."},
        {62, "Este archivo no tiene un marcador standard de fin-de-archivo,"
             "o fué hecho un intento de leer después "
             "de la marca de fin-de-archivo."},
        {68, "El dispositivo no está disponible."},
        {71, "La disketera no está lista."},
        {76, "El path no existe."},
    };
    return mensajes;
}

}  // namespace

int ManejaError(const std::string& rutina, const zv::Error& err) {
    if (err.Number() == dao::err::OdbcCallFailed && err.Description().substr(0, 5) == "S1000")
        return PreguntaReintento(err.Description().substr(0, 5));
    return ErrorFatal(rutina, err);
}

int ManejaError(const std::string& rutina, const std::exception& err) {
    if (auto propio = dynamic_cast<const zv::Error*>(&err)) return ManejaError(rutina, *propio);
    return ManejaError(rutina, zv::Error(51, err.what()));
}

int AbrirArchivo(const std::string& ruta, int modo, int largoRegistro, bool verifica) {
    for (;;) {
        try {
            if (ruta.find_first_of(";<=>?[*] ") != std::string::npos)
                throw zv::Error(zv::fileerr::BadFileName, "Nombre de archivo incorrecto");
            if (verifica && modo == archivos::BinarioLee && !zv::files::Exists(ruta)) {
                zv::MsgBox("No existe archivo: " + ruta, zv::Icon::Critical, zv::Buttons::Ok, "ERROR!");
                return 0;
            }
            if (modo < archivos::Salida || modo > archivos::BinarioEscribe) return 0;
            int numero = archivos::ArchivoLibre();
            archivos::Abre(numero, ruta, modo, largoRegistro);
            return numero;
        } catch (const zv::Error& e) {
            if (MensajeErrorArchivo(e.Number()) != 0) return 0;
        } catch (const std::exception&) {
            return 0;
        }
    }
}

int MensajeErrorArchivo(long numero) {
    auto it = MensajesDeArchivo().find(numero);
    if (it == MensajesDeArchivo().end()) return 3;
    zv::Answer a = zv::MsgBox(it->second, zv::Icon::Warning, zv::Buttons::RetryCancel, "Error de Archivo",
                              kBotonCancelar);
    return a == zv::Answer::Retry ? 0 : 2;
}

std::filesystem::path CarpetaErrorLog() {
    return CarpetaFijada().empty() ? zv::files::ProgramFolder() : CarpetaFijada();
}

void FijaCarpetaErrorLog(const std::filesystem::path& carpeta) { CarpetaFijada() = carpeta; }

std::string FechaHoraLog() {
    const std::tm t = zv::HoraLocal();
    int hora12 = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
    char texto[40];
    std::snprintf(texto, sizeof texto, "%02d/%02d/%04d %02d:%02d:%02d %s", t.tm_mday, t.tm_mon + 1,
                  t.tm_year + 1900, hora12, t.tm_min, t.tm_sec, t.tm_hour < 12 ? "AM" : "PM");
    return texto;
}

}  // namespace zvform
