#pragma once
// What the report tests share: an installation (zvbase + zvsetup) opened the
// way zvform opens it, with SPOOL and the affiliates' tables emptied before
// each test, a fixed clock, scripted message boxes, and golden files.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "formulario/reports/corrida.h"
#include "platform/dao/dao.h"
#include "platform/msgbox.h"
#include "tests/support/support.h"

namespace zvreports::prueba {

namespace fs = std::filesystem;

inline constexpr const char* kRuc = "20555555556";
inline constexpr const char* kRazonSocial = "EMPRESA DE PRUEBA S.A.C.";
inline constexpr const char* kPeriodo = "202301";

// Lines of a spool file (UTF-8, CR LF checked and removed).
std::vector<std::string> Lineas(const fs::path& archivo);

// One affiliate detail row (texts as stored).
struct Afiliado {
    std::string rucEmpleador = "20100070970";
    std::string tipoDoc = "01";
    std::string numeroDoc;
    std::string paterno = "PEREZ";
    std::string materno = "GOMEZ";
    std::string nombres = "JUAN";
    std::string cuspp = "123456ABCDE1";
    std::string resolucion = "RES0001";
    std::string mes = "202212";
    std::string aporteO = "1500.00";
    std::string aporteV = "120.50";
    std::string rentabilidad = "10.00";
    std::string correl;  // HF841DETDES only
};

class ReportesTest : public testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    dao::Database& Base();
    fs::path RutaRpt() const;
    // The declaration in work: RUC, name, period, box 028.
    void Declaracion();
    void InsertaAfiliado(const Afiliado& a, const std::string& tabla = "F841DETDES");
    // n affiliates with distinct document numbers and varied amounts.
    void InsertaAfiliados(int n);
    // Registers a spool file under `codigo` and points gRutaArchivo at it.
    std::string Registra(std::string_view codigo);
    // Compares the file with tests/reports/golden/<nombre>; ZV_UPDATE_GOLDEN=1 rewrites it.
    void ComparaConReferencia(const fs::path& archivo, const std::string& nombre) const;

    static std::unique_ptr<zvtest::Installation> instalacion_;
    zv::ScriptedMessages mensajes_;
};

// The fixed clock of the tests: 05/03/2024 14:07:09.
std::tm RelojFijo();

}  // namespace zvreports::prueba
