#include "formulario/core/inicio.h"

#include <array>
#include <filesystem>
#include <optional>

#include "formulario/core/estado.h"
#include "formulario/core/utilitarios.h"
#include "platform/dao/dao.h"
#include "platform/filenames.h"
#include "platform/msgbox.h"
#include "platform/profile.h"
#include "platform/regional.h"
#include "platform/window_search.h"
#include "shared/conexion.h"
#include "shared/configuracion.h"
#include "shared/cuentas.h"
#include "shared/formato.h"

namespace zvform {

namespace {

using zv::regional::LocaleValue;

enum class Regla { Separador, Contiene, Numero };

struct ReglaRegional {
    LocaleValue valor;
    Regla regla;
    const char* esperado;  // the character, the text or the number
    const char* linea;     // added to the message when the rule fails
};

// In this order the lines appear in the message.
const std::array<ReglaRegional, 15> kReglas{{
    {LocaleValue::SDate, Regla::Separador, "/", "- Debe configurar como separador de Fechas : ( / ) "},
    {LocaleValue::SShortDate, Regla::Contiene, "dd/MM/yyyy",
     "- Debe configurar como formato de fecha corta : ( dd/MM/aaaa ) "},
    {LocaleValue::STime, Regla::Separador, ":", "- Debe configurar como separador de Hora : ( : ) "},
    {LocaleValue::STimeFormat, Regla::Contiene, "hh:mm:ss tt",
     "- Debe configurar como formato de Hora : ( hh:mm:ss tt) "},
    {LocaleValue::SDecimal, Regla::Separador, ".",
     "- Debe configurar como símbolo decimal para Número : ( . ) "},
    {LocaleValue::SThousand, Regla::Separador, ",",
     "- Debe configurar como separador de miles para Número : ( , ) "},
    {LocaleValue::IDigits, Regla::Numero, "2",
     "- Debe configurar como número de Decimales para Número : ( 2 ) "},
    {LocaleValue::SNegativeSign, Regla::Separador, "-", "- Debe configurar como Símbolo negativo : ( - ) "},
    {LocaleValue::INegNumber, Regla::Numero, "1",
     "- Debe configurar como Formato de Número Negativo : ( -1,1 ) "},
    {LocaleValue::ILZero, Regla::Numero, "1", "- Debe configurar Mostrar Ceros a la Izquierda : ( 0,7 ) "},
    {LocaleValue::SMonDecimalSep, Regla::Separador, ".",
     "- Debe configurar como separador de decimales para moneda : ( . ) "},
    {LocaleValue::SMonThousandSep, Regla::Separador, ",",
     "- Debe configurar como separador de miles para moneda : ( , ) "},
    {LocaleValue::ICurrDigits, Regla::Numero, "2",
     "- Debe configurar como número de Decimales para Moneda : ( 2 ) "},
    {LocaleValue::ICurrency, Regla::Numero, "0",
     "- Debe configurar que Símbolo Monetario vaya antes del número : ( $1.1  ) "},
    {LocaleValue::INegCurr, Regla::Numero, "2",
     "- Debe configurar como Formato de Moneda Negativo : ( *-1,1 ) "},
}};

bool Cumple(const ReglaRegional& r, const std::string& valor) {
    switch (r.regla) {
    case Regla::Separador: return valor == r.esperado;
    case Regla::Contiene: return valor.find(r.esperado) != std::string::npos;
    case Regla::Numero: return zv::Val(valor) == zv::Val(r.esperado);
    }
    return false;
}

void MensajeFatal(const std::string& texto, const std::string& titulo) {
    zv::MsgBox(texto, zv::Icon::Critical, zv::Buttons::Ok, titulo);
}

// SysPath must name an existing folder: the program works under it and
// moves its current folder there.
bool FijaCarpetaActual(const std::string& sysPath) {
    if (sysPath.empty()) {
        // An empty SysPath from a file that is not there says where it was looked for.
        if (auto falta = zv::configuracion::FaltaArchivo()) {
            MensajeFatal(*falta, "Error de configuración");
            return false;
        }
        MensajeFatal("No se ha indicado la carpeta del sistema (SysPath) en ZVBAS.INI.",
                     "Error de configuración");
        return false;
    }
    auto carpeta = zv::files::FindIgnoringCase(sysPath);
    std::error_code ec;
    if (carpeta && std::filesystem::is_directory(*carpeta, ec)) {
        std::filesystem::current_path(*carpeta, ec);
        if (!ec) return true;
    }
    MensajeFatal("No se encuentra la carpeta del sistema indicada en ZVBAS.INI: \"" + sysPath + "\"",
                 "Error de configuración");
    return false;
}

}  // namespace

bool CrearUtilitarios() {
    try {
        Util();  // the program's one object (a test may have put its own)
        return true;
    } catch (const std::exception& e) {
        MensajeFatal(std::string("No se pudo crear el objeto de utilitarios: ") + e.what(), "Error");
        return false;
    }
}

bool ComprobarInicio(std::unique_ptr<zv::SingleInstance>& instancia) {
    zv::cWindows ventanas;
    if (!CrearUtilitarios()) return false;
    if (!ventanas.CorreApp(kVentanaAnfitrion)) {
        MensajeFatal("Debe ejecutar este módulo desde el Ensamblor del Zarvo", "Error al ejecutar el módulo");
        return false;
    }
    instancia = std::make_unique<zv::SingleInstance>(kPrograma);
    if (instancia->PrevInstance()) {
        zv::MsgBox("La Aplicación ya se encuentra en ejecución", zv::Icon::Information, zv::Buttons::Ok,
                   kProducto);
        return false;
    }
    return ValidaConfigRegional();
}

bool ValidaConfigRegional() {
    std::string mensaje;
    for (const auto& regla : kReglas) {
        std::optional<std::string> valor = zv::regional::GetLocaleInfo(regla.valor, 100);
        if (!valor) {
            MensajeFatal("Error al leer la configuración del sistema", "Error");
            return false;
        }
        if (!Cumple(regla, *valor)) mensaje += std::string(regla.linea) + "\n";
    }
    if (mensaje.empty()) return true;
    mensaje +=
        "Ingrese a la opción :Configuración/Panel de control/Configuración Regional y verificar las "
        "secciones Número, Moneda, Hora y Fecha.\n";
    mensaje += "Esto es necesario para el correcto funcionamiento del Zarvomat. ";
    MensajeFatal(mensaje, "Error de configuración");
    return false;
}

bool ConfiguraInis() {
    zv::profile::WriteProfileString("intl", "sDecimal", ".");
    zv::profile::WriteProfileString("intl", "sThousand", ",");
    return true;
}

bool LeerIni() {
    Estado& g = Estado::G();
    using zv::configuracion::LeeOpcion;
    g.gSysPath = LeeOpcion("SysPath");
    g.gRutaRpt = g.gSysPath + "RPT/";
    if (!FijaCarpetaActual(g.gSysPath)) return false;
    std::string dbPath = LeeOpcion("DBPath");
    std::string dbName = LeeOpcion("DBName");
    g.gRutaBase = dbPath + dbName;
    g.gArchivoAyuda = g.gSysPath + "0841" + "/" + "zvform.hlp";
    g.gUsuario = LeeOpcion("SysUser");
    return AbrirBase();
}

bool AbrirBase() {
    Estado& g = Estado::G();
    g.gEngine = std::make_unique<dao::DBEngine>();
    try {
        g.gBase = zv::AbreBaseCompartida(*g.gEngine, {.ruta = g.gRutaBase,
                                                      .grupoTrabajo = g.gSysPath + zv::configuracion::kGrupoTrabajo,
                                                      .cuenta = zv::cuentas::Zvform()});
        return true;
    } catch (const zv::Error& e) {
        zv::MuestraErrorConexion(e.Number(), e.Description(), "Base esta bloqueda");
        return false;
    }
}

}  // namespace zvform
