#include "tests/declaration/entorno.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "formulario/core/errores.h"
#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/core/termina.h"
#include "formulario/import/importacion.h"

namespace zvdecl::prueba {

namespace fs = std::filesystem;
using zvform::Estado;

namespace {

// The import form as the engine sees it: the declarant, the period and the
// folder of the affiliates file.
class FormularioImportar : public zvimport::ImportUi {
public:
    explicit FormularioImportar(std::string carpeta) : carpeta_(std::move(carpeta)) {}
    std::string DeclaranteElegido() const override { return std::string(kRuc) + "         " + kRazon; }
    std::string TextoPeriodo() const override { return "01/2023"; }
    std::string Carpeta() const override { return carpeta_; }
    std::string ArchivoSeleccionado() const override { return std::string("0841") + kPeriodo + kRuc + ".txt"; }

private:
    std::string carpeta_;
};

}  // namespace

Entorno::Entorno() {
    zvtest::Installation::Options opciones;
    opciones.runSetup = true;
    instalacion_ = std::make_unique<zvtest::Installation>(opciones);
    const fs::path origen = dir_.path() / "origen";
    fs::create_directories(origen);
    fs::copy_file(zvtest::SourceDir() / "tests/import/data/limpio.txt",
                  origen / (std::string("0841") + kPeriodo + kRuc + ".TXT"));
}

Entorno::~Entorno() {
    zvform::InstalaTerminador(nullptr);
    zvform::FijaCarpetaErrorLog({});
    zv::SetMessageService(nullptr);
    Estado::Reset();
}

void Entorno::Reinicia() {
    Estado::Reset();
    mensajes = zv::ScriptedMessages();
    zv::SetMessageService(&mensajes);
    zvform::FijaCarpetaErrorLog(dir_.path());
    zvform::InstalaTerminador([](int codigo) { throw std::runtime_error("fin del programa " + std::to_string(codigo)); });
    if (!zvform::LeerIni()) throw std::runtime_error("LeerIni");
    for (const char* tabla : {"F841DETDES", "CAB", "DET", "HF841DETDES", "HCAB", "HDET", "CONT", "SPOOL"})
        Ejecuta(std::string("DELETE FROM ") + tabla);
    Ejecuta("INSERT INTO CONT (Tip_doc_d, Doc_id_d, nombre, Usuario) VALUES (6, ?, ?, ?)",
            {kRuc, kRazon, Estado::G().gUsuario});
    Importa((dir_.path() / "origen").string(), 3);
    mensajes.shown.clear();
}

void Entorno::Importa(const std::string& carpeta, long filas) {
    FormularioImportar formulario(carpeta);
    zvimport::Importacion importacion(formulario);
    importacion.CmdGrabar_Click();
    auto rs = Base().OpenRecordset("SELECT COUNT(*) FROM F841DETDES", dao::dbOpenSnapshot);
    if (rs->Fields(0).AsLong() != filas) throw std::runtime_error("the import wrote no detail");
}

void Entorno::ImportaLineas(const std::vector<std::string>& lineas, long filas) {
    for (const char* tabla : {"F841DETDES", "CAB", "DET"}) Ejecuta(std::string("DELETE FROM ") + tabla);
    const fs::path carpeta = dir_.path() / "lineas";
    fs::create_directories(carpeta);
    std::ofstream archivo(carpeta / (std::string("0841") + kPeriodo + kRuc + ".TXT"), std::ios::binary);
    for (const std::string& linea : lineas) archivo << linea << "\r\n";
    archivo.close();
    Importa(carpeta.string(), filas);
    mensajes.shown.clear();
}

void Entorno::AbreDesdeLista(bool enviada, const std::string& correl) {
    Estado& g = Estado::G();
    g.gOperacion = 1;
    g.gEsEnviada = enviada;
    g.gRuc = kRuc;
    g.gRazonSocial = kRazon;
    g.gPeriodo = kPeriodo;
    g.gCorrel = correl;
    g.gCodControl = enviada ? "ABCD1234" : "";
}

dao::Database& Entorno::Base() { return *Estado::G().gBase; }

void Entorno::Ejecuta(const std::string& sql, const std::vector<dao::Value>& params) { Base().Execute(sql, params); }

void Entorno::Casilla(const std::string& casilla, const std::string& valor) {
    Ejecuta("DELETE FROM DET WHERE doc_id_d = ? AND periodo = ? AND casilla = ?", {kRuc, kPeriodo, casilla});
    Ejecuta("INSERT INTO DET (tip_doc_d, doc_id_d, periodo, formulario, semana, casilla, i_valor, idcasilla, "
            "estado, cNumero) VALUES (6, ?, ?, '0841', 0, ?, ?, '01', 0, '000000')",
            {kRuc, kPeriodo, casilla, valor});
}

void Entorno::Envia(const std::string& correl, const std::string& norden) {
    dao::Value orden = norden.empty() ? dao::Value() : dao::Value(norden);
    Ejecuta("INSERT INTO HCAB (tip_doc_d, doc_id_d, periodo, formulario, semana, Correl, estado, rectifica, "
            "fec_pro, bcolibrad, NroCheque, cheque, efectivo, norden, fec_env, control, cNumero) "
            "SELECT tip_doc_d, doc_id_d, periodo, formulario, semana, ?, estado, rectifica, fec_pro, bcolibrad, "
            "NroCheque, cheque, efectivo, ?, fec_pro, 'ABCD1234', cNumero FROM CAB",
            {correl, orden});
    Ejecuta("INSERT INTO HDET (tip_doc_d, doc_id_d, periodo, formulario, semana, Correl, casilla, i_valor, "
            "idcasilla, estado, cNumero) SELECT tip_doc_d, doc_id_d, periodo, formulario, semana, ?, casilla, "
            "i_valor, idcasilla, estado, cNumero FROM DET",
            {correl});
    Ejecuta("INSERT INTO HF841DETDES SELECT tip_doc_d, doc_id_d, periodo, formulario, ?, Num_RUCEmpl, Tip_Doctrab, "
            "Num_Doctrab, Fec_NacTrab, Nom_ApePat, Nom_ApeMat, Nom_Nombre, Ind_Sexo, Cod_CUSPP, Fec_Afiliac, "
            "Fec_SolDesaf, Cod_MotDesaf, Num_ResDesaf, Ind_CondPago, Mes_deveng, Mto_Remun, Mto_AporteO, "
            "Mto_AporteV, Mto_Rentabi, cnumero FROM F841DETDES",
            {correl});
}

std::vector<std::string> Entorno::Textos() const {
    std::vector<std::string> out;
    for (const auto& m : mensajes.shown) out.push_back(m.text);
    return out;
}

}  // namespace zvdecl::prueba
