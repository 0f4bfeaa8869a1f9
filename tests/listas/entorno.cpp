#include "tests/listas/entorno.h"

#include <stdexcept>

#include "formulario/core/errores.h"
#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/core/termina.h"
#include "formulario/import/importacion.h"
#include "platform/textfile.h"

namespace zvlistas::prueba {

using zvform::Estado;

namespace {

// Two valid lines of an affiliates file (UTF-8).
const char* const kLineas[] = {
    "20100070970|01|12345678|23051980|pérez|gómez|juan carlos|1|123456ABCDE1|01071995|15092008|01|RES0001|1|"
    "202301|1500.00|120.50|10.00|-5.25|",
    "20100070970|11|P0123456789ABCD|10101990||QUISPE|ROSA|2|XYZ123456789|15031999|01012010|03|1234567890|1|"
    "202301|999.99|80.00|0|0|",
};

// The import form as the engine sees it: the declarant, the period and the file chosen.
class FormularioImportar : public zvimport::ImportUi {
public:
    FormularioImportar(const Declarante& d, const std::string& periodo, const fs::path& carpeta)
        : declarante_(std::string(d.ruc) + std::string(9, ' ') + d.nombre),
          periodo_(periodo.substr(4, 2) + "/" + periodo.substr(0, 4)),
          carpeta_(carpeta.string()),
          archivo_("0841" + periodo + d.ruc + ".txt") {}
    std::string DeclaranteElegido() const override { return declarante_; }
    std::string TextoPeriodo() const override { return periodo_; }
    std::string Carpeta() const override { return carpeta_; }
    std::string ArchivoSeleccionado() const override { return archivo_; }

private:
    std::string declarante_, periodo_, carpeta_, archivo_;
};

struct ProgramaTerminado : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace

void Entorno::Inicia() {
    zvtest::Installation::Options opciones;
    opciones.runSetup = true;
    opciones.user = kUsuario;
    instalacion_ = std::make_unique<zvtest::Installation>(opciones);
    dir_ = std::make_unique<zvtest::TempDir>();
}

void Entorno::Termina() {
    dir_.reset();
    instalacion_.reset();
}

void Entorno::Limpia() {
    Estado::Reset();
    zv::SetMessageService(&mensajes);
    mensajes.shown.clear();
    mensajes.answers.clear();
    zvform::FijaCarpetaErrorLog(dir_->path());
    zvform::InstalaTerminador([](int codigo) { throw ProgramaTerminado("fin " + std::to_string(codigo)); });
    if (!zvform::LeerIni()) throw std::runtime_error("LeerIni");
    for (const char* tabla : {"F841DETDES", "DET", "CAB", "HF841DETDES", "HDET", "HCAB", "CONT", "CLAVES"})
        Base().Execute(std::string("DELETE FROM ") + tabla);
    TipoDeUsuario("0");
    barra = std::make_unique<zvform::ui::BarradeEstadoZarvo>();
    zvform::ui::BarradeEstadoZarvo::SetPrincipal(barra.get());
}

void Entorno::Suelta() {
    zvform::ui::BarradeEstadoZarvo::SetPrincipal(nullptr);
    barra.reset();
    zvform::InstalaTerminador(nullptr);
    zvform::FijaCarpetaErrorLog({});
    zv::SetMessageService(nullptr);
    Estado::Reset();
}

dao::Database& Entorno::Base() { return *Estado::G().gBase; }

void Entorno::TipoDeUsuario(const std::string& tipo) {
    Base().Execute("DELETE FROM CLAVES WHERE Usuario = ?", {kUsuario});
    if (!tipo.empty()) Base().Execute("INSERT INTO CLAVES (Usuario, Tipo) VALUES (?, ?)", {kUsuario, tipo});
}

void Entorno::AgregaDeclarante(const Declarante& d, const std::string& usuario) {
    Base().Execute("INSERT INTO CONT (Tip_doc_d, Doc_id_d, nombre, Usuario) VALUES (6, ?, ?, ?)",
                   {d.ruc, d.nombre, usuario});
}

void Entorno::Importa(const Declarante& d, const std::string& periodo) {
    const fs::path carpeta = dir_->path() / "origen";
    fs::create_directories(carpeta);
    {
        zv::text::TextWriter w(carpeta / ("0841" + periodo + d.ruc + ".TXT"), zv::text::WriteMode::Output);
        for (const char* linea : kLineas) w.WriteLine(linea);
        w.Close();
    }
    FormularioImportar formulario(d, periodo, carpeta);
    zvimport::Importacion importacion(formulario);
    importacion.CmdGrabar_Click();
    // The import's own message ("Archivo : ... transferido") is not the lists'.
    mensajes.shown.clear();
    if (Filas("CAB", d.ruc, periodo) != 1 || Filas("F841DETDES", d.ruc, periodo) != 2)
        throw std::runtime_error(std::string("import of ") + d.ruc + " " + periodo);
}

void Entorno::Envia(const Declarante& d, const std::string& periodo, const Envio& e) {
    const char* const donde = " WHERE doc_id_d = ? AND periodo = ? AND formulario = '0841'";
    Base().Execute(std::string("INSERT INTO HCAB (tip_doc_d, doc_id_d, periodo, formulario, semana, Correl, estado, "
                               "rectifica, fec_pro, bcolibrad, NroCheque, cheque, efectivo, norden, fec_env, "
                               "control, cNumero) "
                               "SELECT tip_doc_d, doc_id_d, periodo, formulario, semana, ?, estado, rectifica, "
                               "fec_pro, bcolibrad, NroCheque, cheque, efectivo, ?, ?, ?, cNumero FROM CAB") +
                       donde,
                   {e.correl, e.norden, e.fecha, e.control, d.ruc, periodo});
    Base().Execute(std::string("INSERT INTO HDET (tip_doc_d, doc_id_d, periodo, formulario, semana, Correl, casilla, "
                               "i_valor, idcasilla, estado, cNumero) "
                               "SELECT tip_doc_d, doc_id_d, periodo, formulario, semana, ?, casilla, i_valor, "
                               "idcasilla, estado, cNumero FROM DET") +
                       donde,
                   {e.correl, d.ruc, periodo});
    Base().Execute(std::string("INSERT INTO HF841DETDES SELECT tip_doc_d, doc_id_d, periodo, formulario, ?, "
                               "Num_RUCEmpl, Tip_Doctrab, Num_Doctrab, Fec_NacTrab, Nom_ApePat, Nom_ApeMat, "
                               "Nom_Nombre, Ind_Sexo, Cod_CUSPP, Fec_Afiliac, Fec_SolDesaf, Cod_MotDesaf, "
                               "Num_ResDesaf, Ind_CondPago, Mes_deveng, Mto_Remun, Mto_AporteO, Mto_AporteV, "
                               "Mto_Rentabi, cnumero FROM F841DETDES") +
                       donde,
                   {e.correl, d.ruc, periodo});
}

long Entorno::Filas(const std::string& tabla, const std::string& ruc, const std::string& periodo,
                    const std::string& correl) {
    std::string sql = "SELECT COUNT(*) FROM " + tabla + " WHERE doc_id_d = ? AND periodo = ?";
    std::vector<dao::Value> params{ruc, periodo};
    if (!correl.empty()) {
        sql += " AND Correl = ?";
        params.push_back(correl);
    }
    auto rs = Base().OpenRecordset(sql, dao::dbOpenSnapshot, params);
    return static_cast<long>(rs->Fields(0).AsLong());
}

long Entorno::Filas(const std::string& tabla) {
    auto rs = Base().OpenRecordset("SELECT COUNT(*) FROM " + tabla, dao::dbOpenSnapshot);
    return static_cast<long>(rs->Fields(0).AsLong());
}

std::string Entorno::Texto(const std::string& sql, const std::vector<dao::Value>& params) {
    auto rs = Base().OpenRecordset(sql, dao::dbOpenSnapshot, params);
    return rs->EOF_() ? "<sin fila>" : rs->Fields(0).AsText();
}

}  // namespace zvlistas::prueba
