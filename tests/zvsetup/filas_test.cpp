// The module's PARAM rows and report codes: written once, updated or replaced
// on every later run, never duplicated.
#include <algorithm>

#include "tests/zvsetup/ayuda.h"

namespace zvsetup_test {
namespace {

const std::vector<std::string> kParamDelModulo = {
    "992|0841|1|",
    "996|508|F0841DETDES    R 1000   6|",
    "996|509|HF0841DETDES   R 1000   7|",
    "880|0841|1 20070601 20991231 20070301|000",
    "782|20142829551|PROFUTURO AFP|",
    "782|20157036794|AFP INTEGRA S.A.|",
    "782|20143980821|AFP HORIZONTE S.A|",
    "782|20510398158|PRIMA AFP S.A.|",
    "783|01|Afiliados que ingresaron al SNP hasta el 31 de diciembre de 1995|",
    "783|02|Afiliados que al momento de su afiliación al SPP contaban con los requisitos para contar con una "
    "pensión en el SNP|",
    "783|03|Resolución del Tribunal Constitucional Nº 07281-2006-PA-TC|",
};

const std::vector<std::string> kReportes = {
    "F84101|Reporte del formulario - 0841|1",
    "F84102|Reporte de Anexos - 0841|1",
    "F84103|Reporte de Errores - 0841|1",
    "F84104|Reporte de envío - 0841|1",
};

const char* kConsultaParam =
    "SELECT Numero, Argumento, Funcion, Correl_param FROM Param "
    "WHERE Numero IN ('992', '996', '880', '782', '783')";

std::vector<std::string> Ordenadas(std::vector<std::string> filas) {
    std::sort(filas.begin(), filas.end());
    return filas;
}

class Filas841 : public InstalacionTest {
protected:
    void SetUp() override { EscribeEnv841("x|T1|T2|T3|1|0|1|2|3|4|5|6|7|\r\nx|U1|U2|U3|2|1|6|1|2|3|4|5|6|\r\n"); }
    void CompruebaFilas(dao::Database& db) {
        EXPECT_EQ(Ordenadas(Filas(db, kConsultaParam)), Ordenadas(kParamDelModulo));
        EXPECT_EQ(Filas(db, "SELECT codrep, titulo, numero FROM reportes WHERE codrep LIKE 'F841%' ORDER BY codrep"),
                  kReportes);
        EXPECT_EQ(Sqlite3("SELECT tabla_o FROM envio_t WHERE formulario = '0841' ORDER BY tabla_o"),
                  (std::vector<std::string>{"T1", "U1"}));
    }
};

TEST_F(Filas841, SegundaEjecucionNoDuplicaNada) {
    const auto otrasListas = Sqlite3("SELECT * FROM Param WHERE Numero NOT IN ('992', '996', '880', '782', '783')");
    for (int vez = 1; vez <= 2; ++vez) {
        SCOPED_TRACE("run " + std::to_string(vez));
        auto r = Instala();
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        auto db = Abre();
        CompruebaFilas(*db);
        db->Close();
    }
    // The base product's own lists are not touched.
    EXPECT_EQ(Sqlite3("SELECT * FROM Param WHERE Numero NOT IN ('992', '996', '880', '782', '783')"), otrasListas);
    EXPECT_EQ(Sqlite3("SELECT count(*) FROM Param WHERE Numero IN ('992', '996', '880', '782', '783')"),
              std::vector<std::string>{"11"});
    EXPECT_EQ(Sqlite3("SELECT count(*) FROM reportes WHERE codrep LIKE 'F841%'"), std::vector<std::string>{"4"});
}

TEST_F(Filas841, FilasPreviasSeSobreescriben) {
    {
        auto db = Abre();
        db->Execute("INSERT INTO Param VALUES (?, ?, ?, ?)", {"782", "20142829551", "OTRA AFP", "9"});
        db->Execute("INSERT INTO reportes VALUES (?, ?, ?)", {"F84102", "Anexos viejos", 7});
        db->Execute("INSERT INTO reportes VALUES (?, ?, ?)", {"F62101", "Otro formulario", 1});
        db->Close();
    }
    auto r = Instala();
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto db = Abre();
    EXPECT_EQ(
        Filas(*db, "SELECT Numero, Argumento, Funcion, Correl_param FROM Param WHERE Argumento = ?", {"20142829551"}),
        std::vector<std::string>{"782|20142829551|PROFUTURO AFP|"});
    CompruebaFilas(*db);
    EXPECT_EQ(Filas(*db, "SELECT titulo FROM reportes WHERE codrep = 'F62101'"),
              std::vector<std::string>{"Otro formulario"});
}

}  // namespace
}  // namespace zvsetup_test
