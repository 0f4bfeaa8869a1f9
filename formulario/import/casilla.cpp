// GrabarCasilla: one box of the declaration in DET.
#include "formulario/core/control.h"
#include "formulario/core/estado.h"
#include "formulario/core/llave_declaracion.h"
#include "formulario/import/importacion.h"
#include "platform/textfile.h"
#include "shared/formato.h"

namespace zvimport {

namespace {

// The value in whole units; box 593 (the record count) has one position less.
std::string ValorCasilla(const std::string& casilla, const std::string& valor) {
    const char* formato = zv::Val(casilla) == 593 ? "##########0" : "###########0";
    if (auto monto = zv::Currency::Parse(valor)) return zv::Format(*monto, formato);
    return zv::FormatText(valor, formato);
}

}  // namespace

bool Importacion::GrabarCasilla(const std::string& pCasilla, const std::string& ps_valor,
                                const std::string& ps_numruc, const std::string& ps_periodo) {
    const std::string valor = zv::text::Trim(ps_valor);
    if (valor.empty() || valor == "________") return false;
    const std::string ruc = zv::text::Trim(ps_numruc);
    const std::string periodo = zv::text::Trim(ps_periodo);
    auto& g = zvform::Estado::G();
    g.gSQL = "SELECT * FROM DET WHERE TIP_DOC_D=6 AND DOC_ID_D=? AND PERIODO=? AND FORMULARIO='0841'"
             " AND SEMANA=0 AND CASILLA=?";
    auto rs = g.gBase->OpenRecordset(g.gSQL, dao::dbOpenDynaset, {ruc, periodo, pCasilla});
    if (rs->EOF_()) {
        rs->AddNew();
        zvform::AsignaLlaveDeclaracion(*rs, ruc, periodo);
        rs->SetField("Casilla", dao::Value(pCasilla));
    } else {
        rs->Edit();
    }
    rs->SetField("i_valor", dao::Value(ValorCasilla(pCasilla, ps_valor)));
    rs->SetField("idcasilla", dao::Value("05"));
    rs->SetField("estado", dao::Value(0));
    rs->SetField("cNumero", dao::Value(zvform::SumaControlRegistro(*rs, 6)));
    rs->Update();
    rs->Close();
    return true;
}

}  // namespace zvimport
