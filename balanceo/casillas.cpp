#include "balanceo/casillas.h"

#include <cstdio>
#include <ctime>

#include "balanceo/archivos.h"
#include "platform/error.h"
#include "platform/filenames.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"
#include "shared/formato.h"
#include "shared/reloj.h"

namespace zvcheck {

namespace {

constexpr long kTipoNoCoincide = 13;
constexpr long kDesbordamiento = 6;
constexpr long kErrorSintaxis = 3075;

// The document type and the week stand unquoted in the box query, so they
// must be whole numbers.
dao::Value NumeroLiteral(const std::string& texto) {
    const std::string t = zv::text::Trim(texto);
    bool digitos = !t.empty();
    for (char c : t) digitos = digitos && c >= '0' && c <= '9';
    if (!digitos || t.size() > 9)
        throw zv::Error(kErrorSintaxis, "Error de sintaxis en la expresión de consulta: '" + texto + "'");
    return dao::Value(std::stol(t));
}

dao::Value ValorNumerico(const std::string& texto) {
    double v = zv::Val(texto);
    auto entero = static_cast<long long>(v);
    if (static_cast<double>(entero) == v) return dao::Value(entero);
    return dao::Value(v);
}

zv::Currency ANumero(const std::string& texto) {
    auto valor = zv::Currency::Parse(texto);
    if (!valor) throw zv::Error(kTipoNoCoincide, "No coinciden los tipos: '" + texto + "'");
    return *valor;
}

void EscribeCabecera(Estado& e) {
    ImprimeLineaArchivo(e, zv::Ahora("%d/%m/%Y") + std::string(70, ' ') + zv::Ahora("%H:%M:%S"));
    ImprimeLineaArchivo(e, " ");
    ImprimeLineaArchivo(e, " ");
    ImprimeLineaArchivo(e, std::string(11, ' ') +
                               "Resumen de Inconsistencias en Información a Enviar - Formulario " + "0841");
}

// Only an indicator of "0" or "1" (a missing box reads as 0) lets the
// boxes be compared.
bool IndicadorPermiteComparar(const std::string& valor) {
    const double v = zv::Val(valor);
    return v == 0.0 || v == 1.0;
}

void CierraSinFallar(Estado& e) {
    try {
        e.gArchivo.Close();
    } catch (const zv::Error&) {
    }
}

}  // namespace

std::string LineaInconsistencia(int orden, const std::string& casilla) {
    char numero[16];
    std::snprintf(numero, sizeof numero, "%03d", orden);
    return numero + std::string(") El valor de la casilla ") + casilla +
           " no coincide con el detalle del asistente.";
}

std::string LeeValorCasilla(Estado& e, const std::string& casilla, const std::string& tipoDocumento,
                            const std::string& numeroDocumento, const std::string& periodo,
                            const std::string& formulario, const std::string& semana, bool filtraSemana) {
    std::string sql = "Select i_valor from det where tip_doc_d = ? and doc_id_d =? and periodo=? and formulario=?";
    std::vector<dao::Value> valores{NumeroLiteral(tipoDocumento), numeroDocumento, periodo, formulario};
    if (filtraSemana) {
        sql += " and semana =?";
        valores.push_back(NumeroLiteral(semana));
    }
    sql += " and casilla =?";
    valores.push_back(casilla);
    auto rs = e.gBase->OpenRecordset(sql, dao::dbOpenSnapshot, valores);
    std::string valor = rs->EOF_() ? "" : rs->Fields("i_valor").AsText();
    rs->Close();
    return valor;
}

void SumaDetalle(Estado& e, const std::string& tabla, const std::string& columna,
                 const std::string& tipoDocumento, const std::string& numeroDocumento, const std::string& periodo,
                 const std::string& formulario, zv::Currency& suma) {
    // The amounts are text; they are added here as fixed-point numbers so
    // that the sum is exact before it is taken to whole units.
    const std::string sql = "SELECT " + columna + " FROM " + tabla +
                            " WHERE Tip_doc_d=? AND Doc_id_d=? AND PERIODO=? AND Formulario=?";
    auto rs = e.gBase->OpenRecordset(
        sql, dao::dbOpenSnapshot,
        {ValorNumerico(tipoDocumento), zv::text::Trim(numeroDocumento), periodo, formulario});
    zv::Currency total;
    for (; !rs->EOF_(); rs->MoveNext()) {
        const dao::Value& monto = rs->Fields(0);
        if (monto.IsNull()) continue;  // SUM passes over Null
        if (!total.TryAdd(ANumero(monto.AsText())))
            throw zv::Error(kDesbordamiento, "Desbordamiento en la suma de " + columna);
    }
    rs->Close();
    suma = total;
}

bool ValidaCasillas(Estado& e, const std::string& tipoDocumento, const std::string& numeroDocumento,
                    const std::string& formulario, const std::string& periodo, const std::string& semana,
                    const std::string& rutaInforme) {
    int inconsistencias = 0;
    try {
        e.gArchivo.Open(zv::files::Resolve(rutaInforme), zv::text::WriteMode::Output);
        EscribeCabecera(e);
        auto indicador = LeeValorCasilla(e, kCasillaIndicador, tipoDocumento, numeroDocumento, periodo,
                                         formulario, semana, false);
        if (IndicadorPermiteComparar(indicador)) {
            for (const auto& c : kCasillasComparadas) {
                e.gSuma = zv::Currency();
                SumaDetalle(e, kTablaDetalle, c.columna, tipoDocumento, numeroDocumento, periodo, formulario,
                            e.gSuma);
                auto valor = LeeValorCasilla(e, c.casilla, tipoDocumento, numeroDocumento, periodo, formulario,
                                             semana, false);
                if (valor.empty()) continue;
                // Both with their sign: returns and interest may be negative.
                if (ANumero(valor) != zv::Currency::FromUnits(e.gSuma.RoundedUnits())) {
                    ++inconsistencias;
                    ImprimeLineaArchivo(e, LineaInconsistencia(inconsistencias, c.casilla));
                }
            }
        }
        e.gArchivo.Close();
        return inconsistencias == 0;
    } catch (const std::exception&) {
        zv::MsgBox("Error en la validación de las casillas", zv::Icon::Critical, zv::Buttons::Ok, "Validación");
        CierraSinFallar(e);
        e.gErrorEnValidacion = true;
        return false;
    }
}

}  // namespace zvcheck
