// The rows of F841DETDES: the duplicate test on the table's key and the write
// of an accepted line.
#include <array>

#include "formulario/core/control.h"
#include "formulario/core/estado.h"
#include "formulario/core/fecha.h"
#include "formulario/import/lectura.h"
#include "platform/currency.h"
#include "shared/formato.h"

namespace zvimport {

namespace {

constexpr std::array<const char*, kColumnasDetalle> kNombresColumna = {
    "tip_doc_d",    "doc_id_d",    "periodo",      "formulario",   "Num_RUCEmpl", "Tip_Doctrab",
    "Num_Doctrab",  "Fec_NacTrab", "Nom_ApePat",   "Nom_ApeMat",   "Nom_Nombre",  "Ind_Sexo",
    "Cod_CUSPP",    "Fec_Afiliac", "Fec_SolDesaf", "Cod_MotDesaf", "Num_ResDesaf", "Ind_CondPago",
    "Mes_deveng",   "Mto_Remun",   "Mto_AporteO",  "Mto_AporteV",  "Mto_Rentabi", "cNumero"};

// Positions of the date and amount fields among the 19 (0-based).
bool EsFecha(int campo) { return campo == 3 || campo == 9 || campo == 10; }
bool EsMonto(int campo) { return campo >= 15; }

// A ddmmaaaa field that the rules accepted.
dao::Date Fecha(const std::string& ddmmaaaa) {
    dao::Date d;
    d.day = zvform::Digitos(ddmmaaaa, 0, 2);
    d.month = zvform::Digitos(ddmmaaaa, 2, 2);
    d.year = zvform::Digitos(ddmmaaaa, 4, 4);
    return d;
}

// An amount the rules accepted.
zv::Currency Monto(const std::string& texto) { return zv::Currency::Parse(texto).value(); }

[[noreturn]] void Desborde() { throw zv::Error(6, "Desbordamiento"); }

}  // namespace

void Importacion::AbreDetalle(Lectura& lectura) {
    lectura.detalle = std::make_unique<TablaDetalle>(*zvform::Estado::G().gBase);
    lectura.fila = std::make_unique<FilaEnMemoria>(lectura.detalle->Columnas());
    for (int c = 0; c < kColumnasDetalle; ++c) {
        lectura.columna[c] = lectura.fila->Indice(kNombresColumna[c]);
        if (lectura.columna[c] < 0)
            throw zv::Error(3265, std::string("No se encontró el elemento en esta colección: ") + kNombresColumna[c]);
    }
}

void Importacion::EscribeFila(Lectura& lectura) {
    ++lectura.transferidos;
    FilaEnMemoria& fila = *lectura.fila;
    auto columna = [&](int c) -> dao::Value& { return fila.valores[lectura.columna[c]]; };
    fila.AddNew();
    columna(kTipDocD) = dao::Value::Typed(dao::DataType::Byte, 6);
    columna(kDocIdD) = dao::Value(lectura.ruc);
    columna(kPeriodo) = dao::Value(lectura.periodo);
    columna(kFormulario) = dao::Value("0841");
    columna(kCampo1) = dao::Value(EmpleadorGuardado(lectura));
    std::array<zv::Currency, kCamposPorLinea> montos{};
    for (int campo = 1; campo < kCamposPorLinea; ++campo) {
        const std::string& valor = lectura.campo[campo];
        if (EsMonto(campo)) montos[campo] = Monto(valor);
        columna(kCampo1 + campo) = EsFecha(campo)   ? dao::Value(Fecha(valor))
                                   : EsMonto(campo) ? dao::Value(zv::Format(montos[campo], "###########0.00"))
                                                    : dao::Value(valor);
    }
    // The totals take the row only once it is written; a sum beyond the
    // currency's range ends the transfer rather than giving a wrong total.
    zv::Currency aporteO = TotalAporteO, aporteV = TotalAporteV, rentabilidad = TotalRentabi;
    if (!aporteO.TryAdd(montos[16]) || !aporteV.TryAdd(montos[17]) || !rentabilidad.TryAdd(montos[18])) Desborde();
    columna(kCNumero) = dao::Value(zvform::SumaControlRegistro(fila, 6));
    lectura.detalle->Inserta(fila.valores);
    lectura.escrita = true;
    TotalAporteO = aporteO;
    TotalAporteV = aporteV;
    TotalRentabi = rentabilidad;
}

bool Importacion::Existe_afiliado_y_devengue(const std::string& sRuc, const std::string& sPeriodo,
                                             const std::string& sNum_RUCEmpl, const std::string& sTip_DocTra,
                                             const std::string& sNum_DocTra, const std::string& sMes_Deveng) {
    auto& g = zvform::Estado::G();
    g.gSQL = TablaDetalle::kSqlCuenta;
    const std::vector<dao::Value> clave{sRuc, sPeriodo, sNum_RUCEmpl, sTip_DocTra, sNum_DocTra, sMes_Deveng};
    if (lectura_ && lectura_->detalle) return lectura_->detalle->Cuenta(clave) > 0;
    TablaDetalle tabla(*g.gBase);  // called outside a transfer
    return tabla.Cuenta(clave) > 0;
}

}  // namespace zvimport
