// The import form's checks and names, without its window.
#include "formulario/import/seleccion.h"

#include <cstdio>

#include "formulario/core/rutinas.h"
#include "formulario/import/archivo.h"
#include "formulario/import/import_ui.h"
#include "platform/filenames.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"
#include "shared/formato.h"

namespace zvimport {

using zv::text::Left;
using zv::text::Length;
using zv::text::Mid;
using zv::text::Right;
using zv::text::Trim;

std::string RucDeItem(const std::string& item) { return Trim(Left(item, 11)); }
std::string NombreDeItem(const std::string& item) { return Trim(Mid(item, 12, 50)); }

std::string PeriodoDeTexto(const std::string& textoPeriodo) {
    return Trim(Right(textoPeriodo, 4) + Left(textoPeriodo, 2));
}

std::string KeyNombreArchivo(const std::string& sRuc, const std::string& sPeriodo) {
    if (Length(sRuc) != 11 || Length(sPeriodo) != 6) return {};
    return NombreBase(Trim(sRuc), Trim(sPeriodo));
}

std::string ArchivoEsperado(const std::string& carpeta, const std::string& stem) {
    if (stem.empty() || carpeta.empty()) return {};
    // The name the transfer opens, found as the transfer finds it: the list
    // then shows the very file that will be read.
    auto encontrado = zv::files::FindIgnoringCase(std::filesystem::path(UneRuta(carpeta, stem + ".TXT")));
    if (!encontrado) return {};
    std::error_code ec;
    if (!std::filesystem::is_regular_file(*encontrado, ec)) return {};
    return encontrado->filename().string();
}

bool ValidaPerMensual(const std::string& xPerIngresado, const std::string& xPerInicio,
                      const std::string& xPerFinal, int xTipo) {
    if (xPerIngresado.find('_') != std::string::npos) return false;
    const std::string periodo = Right(xPerIngresado, 4) + Left(xPerIngresado, 2);
    const std::string inicio = Trim(xPerInicio), final = Trim(xPerFinal);
    if (!(zv::Val(periodo) > 0) || periodo < inicio || periodo > final) return false;
    if (xTipo != 0) return true;
    const double mes = zv::Val(Right(periodo, 2));
    return mes >= 1 && mes <= 12;
}

std::string PeriodoActual(const zvform::Fecha& hoy) {
    char texto[16];
    std::snprintf(texto, sizeof texto, "%04d%02d", hoy.anio, hoy.mes);
    return texto;
}

std::string PeriodoActual() { return PeriodoActual(zvform::Hoy()); }

FallaDatos RevisaDatos(const std::string& declarante, const std::string& textoPeriodo) {
    return RevisaDatos(declarante, textoPeriodo, zvform::Hoy());
}

FallaDatos RevisaDatos(const std::string& declarante, const std::string& textoPeriodo, const zvform::Fecha& hoy) {
    if (declarante.empty()) {
        zv::MsgBox("Debe seleccionar algún número de RUC", zv::Icon::Information, zv::Buttons::Ok, kTituloFormulario);
        return FallaDatos::Declarante;
    }
    if (textoPeriodo == "__/____") {
        zvform::MuestraMensaje("Debe registrar el periodo de la declaración");
        return FallaDatos::Periodo;
    }
    if (!ValidaPerMensual(textoPeriodo, kPrimerPeriodo, PeriodoActual(hoy), 0)) {
        zvform::MuestraMensaje("El periodo de la declaración no es válido");
        return FallaDatos::Periodo;
    }
    return FallaDatos::Ninguna;
}

}  // namespace zvimport
