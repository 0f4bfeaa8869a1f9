#include "tests/imprimir/entorno.h"

#include <QtTest>
#include <cstdio>

#include "formulario/core/errores.h"
#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/core/termina.h"
#include "formulario/core/ui/mdi_frm.h"
#include "formulario/import/importacion.h"
#include "formulario/reports/corrida.h"
#include "platform/textfile.h"

namespace zvimprimir::prueba {

using zvform::Estado;

std::unique_ptr<zvtest::Installation> Entorno::instalacion_;

namespace {

// The import form as the engine sees it: declarant, period and file chosen.
class FormularioImportar : public zvimport::ImportUi {
public:
    std::string declarante, periodo, carpeta, archivo;
    std::string DeclaranteElegido() const override { return declarante; }
    std::string TextoPeriodo() const override { return periodo; }
    std::string Carpeta() const override { return carpeta; }
    std::string ArchivoSeleccionado() const override { return archivo; }
};

// One valid line of the affiliates file; affiliates differ by document number.
std::string LineaAfiliado(int i) {
    char numero[16];
    std::snprintf(numero, sizeof numero, "%08d", 40000000 + i);
    return std::string("20100070970|01|") + numero +
           "|23051970|PÉREZ|GÓMEZ|JOSÉ LUIS|1|123456JPGOM1|01071995|15092007|01|RES0001|1|200711|2500.00|" +
           std::to_string(100 + i) + ".50|10.00|1.25|";
}

}  // namespace

void Entorno::CreaInstalacion() {
    zvtest::Installation::Options o;
    o.demo = true;
    o.runSetup = true;
    instalacion_ = std::make_unique<zvtest::Installation>(o);
}

void Entorno::BorraInstalacion() { instalacion_.reset(); }

void Entorno::Inicia() {
    Estado::Reset();
    zvform::ReiniciaCorrida();
    mensajes.shown.clear();
    mensajes.answers.clear();
    zv::SetMessageService(&mensajes);
    origen_ = std::make_unique<zvtest::TempDir>();
    zvform::FijaCarpetaErrorLog(origen_->path());
    zvform::InstalaTerminador([](int codigo) { QFAIL(qPrintable(QString("the program ended (%1)").arg(codigo))); });
    QVERIFY(zvform::LeerIni());
    for (const char* tabla : {"CAB", "DET", "F841DETDES", "HCAB", "HDET", "HF841DETDES", "SPOOL"})
        Ejecuta(std::string("DELETE FROM ") + tabla);
    Ejecuta("UPDATE CONT SET Usuario = ?", {instalacion_->user});
    Ejecuta("DELETE FROM CLAVES WHERE Usuario <> ?", {instalacion_->user});
    for (const auto& f : fs::directory_iterator(RutaRpt())) fs::remove_all(f.path());
    llamadas.clear();
    respuestaImpresion = true;
    alMostrar = nullptr;
    RegistraAbridores();
}

void Entorno::Termina() {
    zvform::ui::MDIFrm::Abridores() = {};
    zvform::InstalaTerminador(nullptr);
    zvform::FijaCarpetaErrorLog({});
    zv::SetMessageService(nullptr);
    origen_.reset();
    Estado::Reset();
    zvform::ReiniciaCorrida();
}

Llamada Entorno::Registra(const std::string& que, const std::string& archivo, int paginas) {
    const Estado& e = Estado::G();
    Llamada l;
    l.que = que;
    l.archivo = archivo;
    l.paginas = paginas;
    l.rango = e.gRangoPaginas;
    l.periodo = e.gPeriodo;
    l.ruc = e.gRuc;
    l.razonSocial = e.gRazonSocial;
    l.correl = e.gCorrel;
    l.bancoPago = e.gBancoPago;
    l.nroCheque = e.gNroCheque;
    l.efectivo = e.gEfectivo;
    for (std::size_t i = 0; i < e.gValoresCasilla.size(); ++i)
        if (!e.gValoresCasilla[i].empty()) l.casillas[static_cast<int>(i)] = e.gValoresCasilla[i];
    if (fs::exists(RutaRpt() / archivo)) l.lineas = Lineas(RutaRpt() / archivo);
    return l;
}

void Entorno::RegistraAbridores() {
    auto& a = zvform::ui::MDIFrm::Abridores();
    a.muestraReporte = [this](const std::string& archivo, const std::string& modo) {
        llamadas.push_back(Registra(modo, archivo, Estado::G().gTotalPaginas));
        if (alMostrar) alMostrar();
        return modo == "Vprevia" ? true : respuestaImpresion;
    };
    a.abrirRangoPaginas = [this](const std::string& archivo, int paginas) {
        llamadas.push_back(Registra("rango", archivo, paginas));
        // As the page-range dialog leaves them after the preview of pages 2 to 3.
        Estado::G().gPagDesde = 2;
        Estado::G().gPagHasta = 3;
        if (alMostrar) alMostrar();
    };
}

dao::Database& Entorno::Base() { return *Estado::G().gBase; }

fs::path Entorno::RutaRpt() const { return Estado::G().gRutaRpt; }

bool Entorno::Importa(const std::string& ruc, const std::string& periodo, int afiliados) {
    const std::string nombre = "0841" + periodo + ruc + ".TXT";
    {
        zv::text::TextWriter w(origen_->path() / nombre, zv::text::WriteMode::Output);
        for (int i = 0; i < afiliados; ++i) w.WriteLine(LineaAfiliado(i));
        w.Close();
    }
    FormularioImportar formulario;
    formulario.declarante = ruc + std::string(9, ' ') + "DECLARANTE";
    formulario.periodo = periodo.substr(4, 2) + "/" + periodo.substr(0, 4);
    formulario.carpeta = origen_->path().string();
    formulario.archivo = nombre;
    const std::size_t mostrados = mensajes.shown.size();
    zvimport::Importacion(formulario).CmdGrabar_Click();
    mensajes.shown.resize(mostrados);  // the import's own "transferido" box
    return Texto("SELECT count(*) FROM CAB WHERE doc_id_d = ? AND periodo = ?", {ruc, periodo}) == "1";
}

void Entorno::Envia(const std::string& ruc, const std::string& periodo, const std::string& correl,
                    const dao::Date& fechaEnvio) {
    const std::vector<dao::Value> clave{correl, ruc, periodo};
    auto columnas = [&](const std::string& tabla) {
        auto rs = Base().OpenRecordset("SELECT * FROM " + tabla + " WHERE 0", dao::dbOpenSnapshot);
        std::string lista;
        for (const auto& f : rs->FieldDefs()) lista += (lista.empty() ? "" : ", ") + f.Name();
        return lista;
    };
    auto copia = [&](const std::string& origen, const std::string& destino, const std::string& extra,
                     const std::string& valores, std::vector<dao::Value> params) {
        const std::string cols = columnas(origen);
        Ejecuta("INSERT INTO " + destino + " (" + cols + ", Correl" + extra + ") SELECT " + cols + ", ?" + valores +
                    " FROM " + origen + " WHERE doc_id_d = ? AND periodo = ? AND formulario = '0841'",
                params);
    };
    copia("CAB", "HCAB", ", norden, fec_env, control", ", '12345678', ?, 'ABCD1234'",
          {correl, fechaEnvio, ruc, periodo});
    copia("DET", "HDET", "", "", clave);
    copia("F841DETDES", "HF841DETDES", "", "", clave);
}

void Entorno::Ejecuta(const std::string& sql, const std::vector<dao::Value>& params) { Base().Execute(sql, params); }

std::string Entorno::Texto(const std::string& sql, const std::vector<dao::Value>& params) {
    auto rs = Base().OpenRecordset(sql, dao::dbOpenSnapshot, params);
    return rs->EOF_() ? "<sin fila>" : rs->Fields(0).AsText();
}

std::vector<std::string> Entorno::Lineas(const fs::path& archivo) {
    bool completo = false;
    std::vector<std::string> lineas = zvtest::LineasCrLf(archivo, &completo);
    if (!completo) QTest::qFail("a line of the spool file without CR LF", __FILE__, __LINE__);
    return lineas;
}

bool Entorno::Contiene(const std::vector<std::string>& lineas, const std::string& texto) {
    for (const auto& l : lineas)
        if (l.find(texto) != std::string::npos) return true;
    return false;
}

std::vector<std::string> Entorno::TextosMostrados() const {
    std::vector<std::string> textos;
    for (const auto& m : mensajes.shown) textos.push_back(m.text);
    return textos;
}

}  // namespace zvimprimir::prueba
