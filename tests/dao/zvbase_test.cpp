// zvbase: an installation on an empty Windows directory, as the programs and
// the sqlite3 command find it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>

#include "platform/dao/dao.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "shared/cuentas.h"
#include "tests/support/support.h"

namespace {

namespace fs = std::filesystem;
using zvtest::Installation;

std::vector<std::string> Sqlite3(const fs::path& db, const std::string& sql) {
    std::string cmd = "sqlite3 -readonly '" + db.string() + "' \"" + sql + "\" 2>&1";
    std::vector<std::string> rows;
    FILE* p = popen(cmd.c_str(), "r");
    char buf[4096];
    std::string all;
    while (p && fgets(buf, sizeof buf, p)) all += buf;
    if (p) pclose(p);
    std::size_t start = 0;
    for (std::size_t nl; (nl = all.find('\n', start)) != std::string::npos; start = nl + 1)
        rows.push_back(all.substr(start, nl - start));
    return rows;
}

std::string Joined(const std::vector<std::string>& v) {
    std::string out;
    for (const auto& s : v) out += (out.empty() ? "" : ",") + s;
    return out;
}

std::string RawBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

class ZvbaseTest : public ::testing::Test {
protected:
    Installation inst{Installation::Options{.demo = true, .runSetup = false, .user = "ana"}};
};

TEST_F(ZvbaseTest, EveryTableReadsWithTheColumnOrdersTheProgramsRelyOn) {
    struct Case {
        const char* table;
        const char* columns;
    };
    const Case cases[] = {
        {"CAB", "tip_doc_d,doc_id_d,periodo,formulario,semana,estado,rectifica,fec_pro,bcolibrad,NroCheque,cheque,"
                "efectivo,cNumero"},
        {"DET", "tip_doc_d,doc_id_d,periodo,formulario,semana,casilla,i_valor,idcasilla,estado,cNumero"},
        {"HCAB", "tip_doc_d,doc_id_d,periodo,formulario,semana,Correl,estado,rectifica,fec_pro,bcolibrad,NroCheque,"
                 "cheque,efectivo,norden,fec_env,control,cNumero"},
        {"HDET", "tip_doc_d,doc_id_d,periodo,formulario,semana,Correl,casilla,i_valor,idcasilla,estado,cNumero"},
        {"CONT", "Tip_doc_d,Doc_id_d,nombre,Usuario"},
        {"CLAVES", "Usuario,Tipo"},
        {"PARAM", "Numero,Argumento,Funcion,Correl_param"},
        {"SPOOL", "CodRep,Secuencia,Archivo,Fecha,Usuario,tip_doc_d,Doc_id_d"},
        {"reportes", "codrep,titulo,numero"},
        {"envio_t", "formulario,tabla_o,tabla_d,tabla_ext,indice,obliga,c_tip_doc_d,c_doc_id_d,c_Formulario,"
                    "c_periodo,c_estado,c_envio,c_semana"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Joined(Sqlite3(inst.database, std::string("SELECT name FROM pragma_table_info('") + c.table +
                                                    "') ORDER BY cid")),
                  c.columns)
            << c.table;
        auto count = Sqlite3(inst.database, std::string("SELECT count(*) FROM ") + c.table);
        ASSERT_EQ(count.size(), 1u) << c.table;
        EXPECT_NE(count[0].find_first_of("0123456789"), std::string::npos) << count[0];
    }
}

TEST_F(ZvbaseTest, ConfigurationNamesOneFolderForBaseAndDatabase) {
    std::string base = zv::profile::ReadTrimmed("Options", "SysPath", "ZVBAS.INI");
    EXPECT_EQ(base, inst.folder.string() + "/");
    EXPECT_EQ(zv::profile::ReadTrimmed("Options", "DBPath", "ZVBAS.INI"), base);
    EXPECT_EQ(zv::profile::ReadTrimmed("Options", "SysUser", "ZVBAS.INI"), "ana");
    for (const char* key : {"SysHelp", "SysMenu", "SysAsist0841"}) {
        std::string v = zv::profile::ReadTrimmed("Options", key, "ZVBAS.INI");
        EXPECT_EQ(v.rfind(base, 0), 0u) << key;
        EXPECT_EQ(v.back(), '/') << key;
    }
    EXPECT_TRUE(fs::exists(base + zv::profile::ReadTrimmed("Options", "DBName", "ZVBAS.INI")));
    const std::pair<const char*, const char*> intl[] = {
        {"sDate", "/"},          {"sShortDate", "dd/MM/yyyy"}, {"sTime", ":"},        {"sTimeFormat", "hh:mm:ss tt"},
        {"sDecimal", "."},       {"sThousand", ","},           {"iDigits", "2"},      {"sNegativeSign", "-"},
        {"iNegNumber", "1"},     {"iLZero", "1"},              {"sMonDecimalSep", "."}, {"sMonThousandSep", ","},
        {"iCurrDigits", "2"},    {"iCurrency", "0"},           {"iNegCurr", "2"},
    };
    for (const auto& [key, value] : intl) {
        std::string out;
        zv::profile::GetProfileString("intl", key, "?", out, 100);
        EXPECT_EQ(out, value) << key;
    }
    for (const char* sub : {"RPT", "TMP", "tmp", "0841"}) EXPECT_TRUE(fs::is_directory(inst.folder / sub)) << sub;
    EXPECT_FALSE(zv::text::ReadAll(inst.folder / "0841" / "zvform.hlp").empty());
}

// The help tells what the user is offered: the road from the import, and no
// "Nueva", which the main window never shows.
TEST_F(ZvbaseTest, TheHelpDescribesWhatTheUserCanDo) {
    const std::string ayuda = zv::text::ReadAll(inst.folder / "0841" / "zvform.hlp");
    EXPECT_EQ(ayuda.find("Nueva"), std::string::npos) << ayuda;
    for (const char* oferta : {"Importar información de afiliados", "Actualizar", "Validar", "Grabar", "Eliminar",
                               "Imprimir", "Ver declaraciones enviadas", "Bancos", "Motivos de desafiliación", "PDF"})
        EXPECT_NE(ayuda.find(oferta), std::string::npos) << oferta;
}

// The import section tells what an affiliates file must be and where the
// fault of each rejected line is told: an editor's UTF-8 file is refused
// line by line by messages that cannot say it themselves.
TEST_F(ZvbaseTest, TheHelpsImportSectionSaysWhatTheAffiliatesFileMustBe) {
    const std::string ayuda = zv::text::ReadAll(inst.folder / "0841" / "zvform.hlp");
    const std::size_t inicio = ayuda.find("IMPORTAR INFORMACIÓN DE AFILIADOS");
    ASSERT_NE(inicio, std::string::npos) << ayuda;
    const std::string seccion = ayuda.substr(inicio, ayuda.find("\r\n\r\n", inicio) - inicio);
    for (const char* dato : {"0841 + periodo (AAAAMM) + RUC + .TXT", "084120080120142829551.TXT", "Windows-1252",
                             "CR LF", "UTF-8", "separador |", "Reporte de errores de transferencia",
                             "descripción de su error", ".Log"})
        EXPECT_NE(seccion.find(dato), std::string::npos) << dato << "\n" << seccion;
}

TEST_F(ZvbaseTest, SendDescriptorsHaveThirteenFields) {
    auto raw = RawBytes(inst.folder / "tmp" / "env841.txt");
    EXPECT_NE(raw.find("\r\n"), std::string::npos);
    zv::text::TextReader r(inst.folder / "tmp" / "env841.txt");
    std::string line;
    int lines = 0;
    while (r.ReadLine(line)) {
        ++lines;
        EXPECT_EQ(std::count(line.begin(), line.end(), '|'), 13) << line;
    }
    EXPECT_GE(lines, 1);
}

TEST_F(ZvbaseTest, BaseRowsBanksDocumentTypesAndTheUser) {
    auto banks = Sqlite3(inst.database, "SELECT Argumento FROM PARAM WHERE Numero = '004' ORDER BY Argumento");
    ASSERT_GE(banks.size(), 3u);
    EXPECT_EQ(banks[0], "00");
    auto types = Sqlite3(inst.database, "SELECT Argumento FROM PARAM WHERE Numero = '044' ORDER BY 0 + Argumento");
    EXPECT_EQ(Joined(types), "1,2,3,4,6,7,11");
    auto ruc = Sqlite3(inst.database,
                       "SELECT length(Funcion) || '|' || substr(Funcion, 46, 2) || '|' || substr(Funcion, 130, 1) || "
                       "'|' || trim(substr(Funcion, 31, 12)) FROM PARAM WHERE Numero = '044' AND Argumento = '6'");
    EXPECT_EQ(Joined(ruc), "130|11|1|RUC");
    EXPECT_EQ(Joined(Sqlite3(inst.database, "SELECT Usuario || '|' || Tipo FROM CLAVES")), "ana|0");
    EXPECT_EQ(Joined(Sqlite3(inst.database, "SELECT Doc_id_d FROM CONT WHERE Usuario = 'ana' AND Tip_doc_d = 6 "
                                            "ORDER BY Doc_id_d")),
              "20142829551,20143980821,20157036794,20510398158");
}

TEST_F(ZvbaseTest, EveryProgramAccountOpensTheDatabase) {
    for (const auto& cuenta : {zv::cuentas::Zvform(), zv::cuentas::Zvsetup(), zv::cuentas::Zvcheck(),
                               zv::cuentas::Zvreport()}) {
        dao::DBEngine engine;
        engine.SystemDB = (inst.folder / "ZVBAS.MDW").string();
        engine.DefaultUser = cuenta.usuario;
        engine.DefaultPassword = cuenta.clave;
        EXPECT_NO_THROW(engine.OpenDatabase(inst.database.string())) << cuenta.usuario;
        engine.DefaultPassword += "x";
        EXPECT_THROW(engine.OpenDatabase(inst.database.string()), dao::Error);
    }
    EXPECT_EQ(zv::cuentas::Zvform().usuario.size(), 5u);
    EXPECT_EQ(zv::cuentas::Zvform().clave.size(), 9u);
    for (const auto& c : {zv::cuentas::Zvsetup(), zv::cuentas::Zvcheck(), zv::cuentas::Zvreport()}) {
        EXPECT_EQ(c.usuario.size(), 8u);
        EXPECT_EQ(c.clave.size(), 8u);
    }
    EXPECT_NE(zv::cuentas::Zvsetup().usuario, zv::cuentas::Zvform().usuario);
}

// The processing date is stored as the text "dd/mm/yyyy" the form writes.
TEST_F(ZvbaseTest, ProcessingDateIsATextColumn) {
    dao::DBEngine engine;
    engine.SystemDB = (inst.folder / "ZVBAS.MDW").string();
    engine.DefaultUser = zv::cuentas::Zvform().usuario;
    engine.DefaultPassword = zv::cuentas::Zvform().clave;
    auto db = engine.OpenDatabase(inst.database.string());
    for (const char* tabla : {"CAB", "HCAB"}) {
        const auto definicion = db->FindTableDef(tabla);
        ASSERT_TRUE(definicion) << tabla;
        const dao::Field* campo = definicion->FindField("fec_pro");
        ASSERT_TRUE(campo) << tabla;
        EXPECT_EQ(campo->Type(), dao::DataType::Text) << tabla;
    }
}

TEST_F(ZvbaseTest, DemoAffiliatesFileHasADozenWellFormedLines) {
    fs::path file = inst.folder / "demo" / "084120080120142829551.TXT";
    ASSERT_TRUE(fs::exists(file));
    std::string raw = RawBytes(file);
    EXPECT_NE(raw.find("\xC9"), std::string::npos);  // "É" in Windows-1252
    EXPECT_EQ(raw.find("\xC3"), std::string::npos);  // no UTF-8
    zv::text::TextReader r(file);
    std::string line;
    std::set<std::string> keys;
    int lines = 0;
    while (r.ReadLine(line)) {
        ++lines;
        ASSERT_EQ(std::count(line.begin(), line.end(), '|'), 19) << line;
        ASSERT_EQ(line.back(), '|');
        std::vector<std::string> f;
        for (std::size_t s = 0, e; (e = line.find('|', s)) != std::string::npos; s = e + 1) f.push_back(line.substr(s, e - s));
        EXPECT_TRUE(keys.insert(f[0] + "/" + f[1] + "/" + f[2] + "/" + f[14]).second) << line;
        EXPECT_EQ(f[13] == "1", !f[0].empty()) << line;  // dependents carry the employer's RUC
    }
    EXPECT_EQ(lines, 12);
}

TEST(ZvbaseRun, RefusesToOverwriteUnlessForced) {
    zvtest::TempDir dir;
    std::map<std::string, std::string> env{{"ZARVO_WINDIR", (dir.path() / "win").string()}};
    std::string folder = (dir.path() / "zarvo").string();
    ASSERT_EQ(zvtest::Run("zvbase", {"--user", "ana", folder}, env).exitCode, 0);
    auto again = zvtest::Run("zvbase", {"--user", "bob", folder}, env);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("--force"), std::string::npos);
    EXPECT_EQ(Joined(Sqlite3(fs::path(folder) / "ZVBAS.MDB", "SELECT Usuario FROM CLAVES")), "ana");
    ASSERT_EQ(zvtest::Run("zvbase", {"--user", "bob", "--force", folder}, env).exitCode, 0);
    EXPECT_EQ(Joined(Sqlite3(fs::path(folder) / "ZVBAS.MDB", "SELECT Usuario FROM CLAVES")), "bob");
}

TEST(ZvbaseRun, CommandLineErrorsAndRelativeFolders) {
    zvtest::TempDir dir;
    std::map<std::string, std::string> env{{"ZARVO_WINDIR", (dir.path() / "win").string()}};
    auto none = zvtest::Run("zvbase", {}, env);
    EXPECT_EQ(none.exitCode, 2) << none.err << zvtest::BinDir();
    EXPECT_EQ(zvtest::Run("zvbase", {"--user"}, env).exitCode, 2);
    EXPECT_EQ(zvtest::Run("zvbase", {"--bogus", "x"}, env).exitCode, 2);
    ASSERT_EQ(zvtest::Run("zvbase", {"--user", "ana", "rel"}, env, dir.path()).exitCode, 0);
    zvtest::ScopedEnv windir("ZARVO_WINDIR", (dir.path() / "win").string());
    EXPECT_EQ(zv::profile::ReadTrimmed("Options", "SysPath", "ZVBAS.INI"), (dir.path() / "rel").string() + "/");
}

}  // namespace
