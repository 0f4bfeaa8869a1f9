// The module's two tables: columns, types, keys and the empty-text rules, and
// a table that exists beforehand left as it is.
#include <map>

#include "tests/zvsetup/ayuda.h"

namespace zvsetup_test {
namespace {

using dao::DataType;

struct ColumnaEsperada {
    std::string nombre;
    DataType tipo;
    int tamano;
};

std::vector<ColumnaEsperada> ColumnasF841() {
    return {
        {"tip_doc_d", DataType::Byte, 0},    {"doc_id_d", DataType::Text, 15},     {"periodo", DataType::Text, 6},
        {"formulario", DataType::Text, 4},   {"Num_RUCEmpl", DataType::Text, 11},  {"Tip_Doctrab", DataType::Text, 2},
        {"Num_Doctrab", DataType::Text, 15}, {"Fec_NacTrab", DataType::Date, 0},   {"Nom_ApePat", DataType::Text, 40},
        {"Nom_ApeMat", DataType::Text, 40},  {"Nom_Nombre", DataType::Text, 40},   {"Ind_Sexo", DataType::Text, 1},
        {"Cod_CUSPP", DataType::Text, 12},   {"Fec_Afiliac", DataType::Date, 0},   {"Fec_SolDesaf", DataType::Date, 0},
        {"Cod_MotDesaf", DataType::Text, 2}, {"Num_ResDesaf", DataType::Text, 10}, {"Ind_CondPago", DataType::Text, 1},
        {"Mes_deveng", DataType::Text, 6},   {"Mto_Remun", DataType::Text, 15},    {"Mto_AporteO", DataType::Text, 15},
        {"Mto_AporteV", DataType::Text, 15}, {"Mto_Rentabi", DataType::Text, 15},  {"cnumero", DataType::Text, 6}};
}

std::vector<ColumnaEsperada> ColumnasHF841() {
    auto columnas = ColumnasF841();
    columnas[18].nombre = "Mes_Deveng";
    columnas.insert(columnas.begin() + 4, {"Correl", DataType::Text, 3});
    return columnas;
}

struct TablaEsperada {
    std::string nombre;
    std::vector<ColumnaEsperada> columnas;
    std::vector<std::string> clave;
};

std::vector<TablaEsperada> Tablas() {
    return {{"F841DETDES",
             ColumnasF841(),
             {"doc_id_d", "periodo", "Num_RUCEmpl", "Tip_Doctrab", "Num_Doctrab", "Mes_deveng"}},
            {"HF841DETDES",
             ColumnasHF841(),
             {"doc_id_d", "periodo", "Correl", "Num_RUCEmpl", "Tip_Doctrab", "Num_Doctrab", "Mes_Deveng"}}};
}

std::string Repite(const std::string& texto, int veces) {
    std::string r;
    for (int i = 0; i < veces; ++i) r += texto;
    return r;
}

// A valid detail row; `cambios` replaces some of its values.
long InsertaDetalle(dao::Database& db, const std::string& tabla, const std::map<std::string, dao::Value>& cambios) {
    std::vector<std::pair<std::string, dao::Value>> fila = {
        {"tip_doc_d", 6},
        {"doc_id_d", "20100000001"},
        {"periodo", "202401"},
        {"formulario", "0841"},
        {"Num_RUCEmpl", "20142829551"},
        {"Tip_Doctrab", "1"},
        {"Num_Doctrab", "12345678"},
        {"Fec_NacTrab", dao::Date{1970, 5, 17}},
        {"Nom_ApePat", "PÉREZ"},
        {"Nom_ApeMat", "NÚÑEZ"},
        {"Nom_Nombre", "JUAN"},
        {"Ind_Sexo", "M"},
        {"Cod_CUSPP", "123456ABCDE1"},
        {"Fec_Afiliac", dao::Date{1995, 1, 2}},
        {"Fec_SolDesaf", dao::Date{2023, 3, 4}},
        {"Cod_MotDesaf", "01"},
        {"Num_ResDesaf", "R-1"},
        {"Ind_CondPago", "1"},
        {"Mes_deveng", "202312"},
        {"Mto_Remun", "1000.00"},
        {"Mto_AporteO", "100.00"},
        {"Mto_AporteV", "0.00"},
        {"Mto_Rentabi", "-5.25"},
        {"cnumero", "123456"},
    };
    if (tabla == "HF841DETDES") fila.insert(fila.begin() + 4, {"Correl", "001"});
    std::string columnas, marcas;
    std::vector<dao::Value> valores;
    for (auto& [nombre, valor] : fila) {
        auto c = cambios.find(nombre);
        columnas += (columnas.empty() ? "" : ", ") + nombre;
        marcas += marcas.empty() ? "?" : ", ?";
        valores.push_back(c == cambios.end() ? valor : c->second);
    }
    return ErrorDe(db, "INSERT INTO " + tabla + " (" + columnas + ") VALUES (" + marcas + ")", valores);
}

using Tablas841 = InstalacionTest;

TEST_F(Tablas841, ColumnasTiposYClavesComoSeDefinen) {
    auto r = Instala();
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    auto db = Abre();
    for (const auto& t : Tablas()) {
        SCOPED_TRACE(t.nombre);
        auto def = db->FindTableDef(t.nombre);
        ASSERT_TRUE(def);
        ASSERT_EQ(def->Fields().size(), t.columnas.size());
        std::vector<std::string> nombres;
        for (std::size_t i = 0; i < t.columnas.size(); ++i) {
            const auto& f = def->Fields()[i];
            const auto& e = t.columnas[i];
            EXPECT_EQ(f.Name(), e.nombre);
            EXPECT_EQ(f.Type(), e.tipo) << e.nombre;
            EXPECT_EQ(f.Size(), e.tamano) << e.nombre;
            const bool vacioPermitido = e.nombre == "Nom_ApePat" || e.nombre == "Nom_ApeMat";
            if (e.tipo == DataType::Text) {
                EXPECT_EQ(f.AllowZeroLength(), vacioPermitido) << e.nombre;
            }
            nombres.push_back(e.nombre);
        }
        // On disk: the same order, the key in its order and under its name, no other index.
        EXPECT_EQ(Sqlite3("SELECT name FROM pragma_table_info('" + t.nombre + "')"), nombres);
        EXPECT_EQ(Sqlite3("SELECT name FROM pragma_table_info('" + t.nombre + "') WHERE pk > 0 ORDER BY pk"), t.clave);
        auto sql = Sqlite3("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = '" + t.nombre + "'");
        ASSERT_FALSE(sql.empty());
        EXPECT_NE(sql[0].find("PK_" + t.nombre), std::string::npos) << sql[0];
        EXPECT_EQ(Sqlite3("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = '" + t.nombre +
                          "' AND sql IS NOT NULL"),
                  std::vector<std::string>{"0"});
        // Through the layer, the key's columns as the engine reports them.
        EXPECT_EQ(Filas(*db, "SELECT name FROM pragma_table_info(?) WHERE pk > 0 ORDER BY pk", {t.nombre}), t.clave);
    }
}

TEST_F(Tablas841, ApellidosVaciosSeAceptanYNombreVacioNo) {
    ASSERT_EQ(Instala().exitCode, 0);
    auto db = Abre();
    struct Caso {
        const char* que;
        std::map<std::string, dao::Value> cambios;
        long error;
    };
    const std::vector<Caso> casos = {
        {"both surnames empty", {{"Nom_ApePat", ""}, {"Nom_ApeMat", ""}, {"Num_Doctrab", "1"}}, 0},
        {"paternal surname empty", {{"Nom_ApePat", ""}, {"Num_Doctrab", "2"}}, 0},
        {"given names empty", {{"Nom_Nombre", ""}, {"Num_Doctrab", "3"}}, dao::err::ZeroLengthString},
        {"CUSPP empty", {{"Cod_CUSPP", ""}, {"Num_Doctrab", "4"}}, dao::err::ZeroLengthString},
        {"40 accented letters fit", {{"Nom_Nombre", Repite("Ñ", 40)}, {"Num_Doctrab", "5"}}, 0},
        {"41 letters do not", {{"Nom_Nombre", std::string(41, 'A')}, {"Num_Doctrab", "6"}}, dao::err::FieldTooSmall},
        {"RUC of 16", {{"doc_id_d", std::string(16, '1')}, {"Num_Doctrab", "7"}}, dao::err::FieldTooSmall},
    };
    for (const char* tabla : {"F841DETDES", "HF841DETDES"}) {
        for (const auto& caso : casos) {
            SCOPED_TRACE(std::string(tabla) + ": " + caso.que);
            EXPECT_EQ(InsertaDetalle(*db, tabla, caso.cambios), caso.error);
        }
    }
}

TEST_F(Tablas841, LaClaveNoIncluyeTipoDeDocumentoNiFormulario) {
    ASSERT_EQ(Instala().exitCode, 0);
    auto db = Abre();
    ASSERT_EQ(InsertaDetalle(*db, "F841DETDES", {}), 0);
    EXPECT_EQ(InsertaDetalle(*db, "F841DETDES", {{"tip_doc_d", 1}, {"formulario", "0621"}}), dao::err::DuplicateKey);
    EXPECT_EQ(InsertaDetalle(*db, "F841DETDES", {{"Mes_deveng", "202311"}}), 0);

    ASSERT_EQ(InsertaDetalle(*db, "HF841DETDES", {}), 0);
    EXPECT_EQ(InsertaDetalle(*db, "HF841DETDES", {{"formulario", "0621"}}), dao::err::DuplicateKey);
    EXPECT_EQ(InsertaDetalle(*db, "HF841DETDES", {{"Correl", "002"}}), 0);
}

TEST_F(Tablas841, TablaCreadaAntesQuedaComoEstaba) {
    {
        auto db = Abre();
        db->Execute("CREATE TABLE f841detdes ([doc_id_d] Text(15), [otra] Text(5))");
        db->Execute("INSERT INTO f841detdes VALUES (?, ?)", {"20100000001", "abc"});
        db->Close();
    }
    const auto antes = Sqlite3("SELECT sql FROM sqlite_master WHERE name = 'f841detdes'");
    auto r = Instala();
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err.find("Sobreescribirlas"), std::string::npos) << r.err;
    EXPECT_EQ(Sqlite3("SELECT sql FROM sqlite_master WHERE name = 'f841detdes'"), antes);
    EXPECT_EQ(Sqlite3("SELECT * FROM f841detdes"), std::vector<std::string>{"20100000001|abc"});
    // The absent one is made, with its key.
    EXPECT_EQ(Sqlite3("SELECT count(*) FROM pragma_table_info('HF841DETDES') WHERE pk > 0"),
              std::vector<std::string>{"7"});
}

TEST_F(Tablas841, SegundaEjecucionNoPreguntaNiCambiaTablas) {
    ASSERT_EQ(Instala().exitCode, 0);
    {
        auto db = Abre();
        ASSERT_EQ(InsertaDetalle(*db, "F841DETDES", {}), 0);
        db->Close();
    }
    const auto esquema = Sqlite3("SELECT type, name, sql FROM sqlite_master ORDER BY name");
    auto r = Instala();
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Sqlite3("SELECT type, name, sql FROM sqlite_master ORDER BY name"), esquema);
    EXPECT_EQ(Sqlite3("SELECT count(*) FROM F841DETDES"), std::vector<std::string>{"1"});
}

}  // namespace
}  // namespace zvsetup_test
