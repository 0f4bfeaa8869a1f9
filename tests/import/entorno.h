#pragma once
// What the import tests share: a stand-in for the import form, and an
// installation (zvbase + zvsetup) opened the way zvform opens it, with the
// tables of the import emptied before each test.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "formulario/import/importacion.h"
#include "platform/dao/dao.h"
#include "platform/msgbox.h"
#include "tests/support/support.h"

namespace zvimport::prueba {

namespace fs = std::filesystem;

inline constexpr const char* kRuc = "20555555556";
inline constexpr const char* kPeriodo = "202301";
inline constexpr const char* kBase = "084120230120555555556";

struct ProgramaTerminado {
    int codigo;
};

// The import form as the tests see it: its choices are fields, and what
// the engine shows on it is recorded.
class FormularioDePrueba : public ImportUi {
public:
    std::string declarante = std::string(kRuc) + std::string(9, ' ') + "AFP DE PRUEBA";
    std::string periodo = "01/2023";
    std::string carpeta;
    std::string archivo = std::string(kBase) + ".txt";
    bool datosValidos = true;
    zv::Answer respuesta = zv::Answer::No;

    std::string transferidos, rechazados, textoProgreso;
    std::vector<int> progreso;
    std::vector<bool> marcos;  // progress frame shown / hidden, in order
    int habilitaciones = 0;
    std::vector<zv::MessageRequest> preguntas;
    std::vector<std::string> reportesMostrados;
    std::vector<std::pair<std::string, int>> rangos;
    std::function<void()> alEscribirContador;  // runs at every label update

    std::string DeclaranteElegido() const override { return declarante; }
    std::string TextoPeriodo() const override { return periodo; }
    std::string Carpeta() const override { return carpeta; }
    std::string ArchivoSeleccionado() const override { return archivo; }
    bool Valida_Datos() override { return datosValidos; }
    void FijaTransferidos(const std::string& t) override {
        transferidos = t;
        if (alEscribirContador) alEscribirContador();
    }
    void FijaRechazados(const std::string& t) override { rechazados = t; }
    void HabilitaAceptar() override { ++habilitaciones; }
    void MuestraProgreso(bool visible) override { marcos.push_back(visible); }
    void FijaProgreso(int v) override { progreso.push_back(v); }
    void FijaTextoProgreso(const std::string& t) override { textoProgreso = t; }
    zv::Answer Pregunta(const zv::MessageRequest& p) override {
        preguntas.push_back(p);
        return respuesta;
    }
    void MuestraRangoPaginas(const std::string& spool, int paginas) override { rangos.emplace_back(spool, paginas); }
    void MuestraReporte(const std::string& spool) override { reportesMostrados.push_back(spool); }
};

class ImportacionTest : public testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // A file of tests/import/data/ put in the import folder under the
    // expected name (".TXT"), or under `nombre`.
    void ArchivoDeDatos(const std::string& datos, const std::string& nombre = std::string(kBase) + ".TXT");
    // Lines written as the affiliates file (Windows-1252, CR LF).
    void ArchivoConLineas(const std::vector<std::string>& lineas);

    dao::Database& Base();
    long Cuenta(const std::string& tabla);
    std::map<std::string, std::string> Casillas();  // box -> i_valor
    std::string Texto(const std::string& sql, const std::vector<dao::Value>& params = {});
    fs::path RutaRpt() const;
    fs::path Log() const { return RutaRpt() / (std::string(kBase) + ".Log"); }
    fs::path Err() const { return RutaRpt() / (std::string(kBase) + ".Err"); }
    // The file's lines as UTF-8 (CR LF checked and removed).
    std::vector<std::string> Lineas(const fs::path& archivo);
    std::vector<std::string> TextosMostrados() const;

    static std::unique_ptr<zvtest::Installation> instalacion_;
    zvtest::TempDir dir_;
    fs::path carpeta_;
    zv::ScriptedMessages mensajes_;
    FormularioDePrueba formulario_;
    std::unique_ptr<Importacion> importacion_;
};

// The lines of the fixture files (UTF-8).
extern const char* const kLinea1;
extern const char* const kLinea2;
extern const char* const kLinea3;

}  // namespace zvimport::prueba
