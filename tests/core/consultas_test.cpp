#include <gtest/gtest.h>

#include <fstream>

#include "formulario/core/consultas.h"
#include "formulario/core/control.h"
#include "formulario/core/errores.h"
#include "formulario/core/estado.h"
#include "formulario/core/termina.h"
#include "platform/dao/dao.h"
#include "platform/dao/workgroup.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"
#include "shared/cuentas.h"
#include "tests/support/support.h"

namespace {

namespace fs = std::filesystem;
using dao::Value;
using zvform::Estado;

struct ProgramaTerminado {
    int codigo;
};

// A list control that remembers what it was given.
class ListaDePrueba : public zvform::ListaTexto {
public:
    void Clear() override {
        items.clear();
        seleccionado = -1;
        ++limpiezas;
    }
    void AddItem(const std::string& texto) override { items.push_back(texto); }
    void SetSelected(int indice) override { seleccionado = indice; }
    std::vector<std::string> items;
    int seleccionado = -1;
    int limpiezas = 0;
};

class GrillaDePrueba : public zvform::GrillaSeleccion {
public:
    long filas = 0;
    std::string celda;
    long Filas() const override { return filas; }
    std::string CeldaFilaActual(int columna) const override { return columna == 1 ? celda : "?"; }
};

// A fresh database of the tables the shared queries use, opened as gBase.
class BaseDePrueba : public testing::Test {
protected:
    void SetUp() override {
        Estado::Reset();
        fs::path archivo = dir.path() / "ZVBAS.MDB";
        std::ofstream(archivo).close();
        std::string mdw = (dir.path() / "ZVBAS.MDW").string();
        dao::workgroup::AddAccount(mdw, "prueba", "clave");
        auto& g = Estado::G();
        g.gEngine = std::make_unique<dao::DBEngine>();
        g.gEngine->SystemDB = mdw;
        g.gEngine->DefaultUser = "prueba";
        g.gEngine->DefaultPassword = "clave";
        g.gBase = g.gEngine->OpenDatabase(archivo.string());
        g.gUsuario = "ANA";
        for (const char* sql : {
                 "CREATE TABLE CLAVES (Usuario TEXT, Tipo TEXT)",
                 "CREATE TABLE PARAM (Numero TEXT, Argumento TEXT, Funcion TEXT)",
                 "CREATE TABLE CONT (Tip_doc_d INTEGER, Doc_id_d TEXT, nombre TEXT, Usuario TEXT)",
                 "CREATE TABLE CAB (tip_doc_d INTEGER, doc_id_d TEXT, periodo TEXT, formulario TEXT, "
                 "Semana INTEGER, estado TEXT, cNumero TEXT)",
                 "CREATE TABLE HCAB (tip_doc_d INTEGER, doc_id_d TEXT, periodo TEXT, formulario TEXT, "
                 "Correl TEXT, Semana INTEGER, estado TEXT, cNumero TEXT)",
                 "CREATE TABLE tmpDET (tip_doc_d INTEGER, doc_id_d TEXT, periodo TEXT, formulario TEXT, "
                 "Correl TEXT)",
             })
            g.gBase->Execute(sql);
        zv::SetMessageService(&mensajes);
        zvform::FijaCarpetaErrorLog(dir.path());
        zvform::InstalaTerminador([](int codigo) { throw ProgramaTerminado{codigo}; });
    }
    void TearDown() override {
        zvform::InstalaTerminador(nullptr);
        zvform::FijaCarpetaErrorLog({});
        zv::SetMessageService(nullptr);
        Estado::Reset();
    }
    dao::Database& Base() { return *Estado::G().gBase; }
    void Declarante(const std::string& ruc, const std::string& nombre, const std::string& usuario, bool afp) {
        Base().Execute("INSERT INTO CONT VALUES (6, ?, ?, ?)", {ruc, nombre, usuario});
        if (afp) Base().Execute("INSERT INTO PARAM VALUES ('782', ?, 'AFP')", {ruc});
    }
    long Cuenta(const std::string& tabla) {
        auto rs = Base().OpenRecordset("SELECT COUNT(*) AS n FROM " + tabla, dao::dbOpenSnapshot);
        return static_cast<long>(rs->Fields(0).AsLong());
    }
    std::vector<std::string> Ejecuta(const zvform::Sentencia& s, const char* columna) {
        std::vector<std::string> out;
        auto rs = Base().OpenRecordset(s.sql, dao::dbOpenSnapshot, s.params);
        for (; !rs->EOF_(); rs->MoveNext()) out.push_back(rs->Fields(columna).AsText());
        return out;
    }

    zvtest::TempDir dir;
    zv::ScriptedMessages mensajes;
};

TEST_F(BaseDePrueba, TipoUsuarioSinFilaEsUno) {
    EXPECT_EQ(zvform::TipoUsuario(), "1");
    Base().Execute("INSERT INTO CLAVES VALUES ('ANA', '0')");
    EXPECT_EQ(zvform::TipoUsuario(), "0");
    Estado::G().gUsuario = "O'HARA";  // bound, not pasted
    EXPECT_EQ(zvform::TipoUsuario(), "1");
}

TEST_F(BaseDePrueba, SqlDeclarantesSinFilaDeParametros) {
    Declarante("20142829551", "PROFUTURO", "ANA", false);
    Declarante("123456789", "CORTO", "ANA", false);
    Declarante("20157036794", "INTEGRA", "LUIS", false);
    auto s = zvform::SqlDeclarantes("0841");
    EXPECT_EQ(s.sql.find("len(trim"), std::string::npos);
    EXPECT_EQ(Ejecuta(s, "Doc_id_d"), (std::vector<std::string>{"123456789", "20142829551"}));
    ASSERT_EQ(s.params.size(), 1u);
    EXPECT_EQ(s.params[0], Value("ANA"));
}

TEST_F(BaseDePrueba, SqlDeclarantesConLongitudDeRuc) {
    std::string funcion(130, ' ');
    funcion.replace(45, 2, "11");
    funcion[129] = '1';
    Base().Execute("INSERT INTO PARAM VALUES ('044', '6', ?)", {funcion});
    Base().Execute("INSERT INTO CLAVES VALUES ('ANA', '0')");
    Declarante("20142829551", "PROFUTURO", "ANA", false);
    Declarante("123456789", "CORTO", "ANA", false);
    Declarante("20157036794", "INTEGRA", "LUIS", false);
    auto s = zvform::SqlDeclarantes("0841");
    EXPECT_NE(s.sql.find(" AND len(trim(Doc_id_d))=11 "), std::string::npos);
    EXPECT_TRUE(s.params.empty());
    EXPECT_EQ(Ejecuta(s, "Doc_id_d"), (std::vector<std::string>{"20142829551", "20157036794"}));
    // "0" at position 130: no length condition.
    funcion[129] = '0';
    Base().Execute("UPDATE PARAM SET Funcion=? WHERE Numero='044'", {funcion});
    EXPECT_EQ(zvform::SqlDeclarantes("0841").sql.find("len(trim"), std::string::npos);
}

TEST_F(BaseDePrueba, CargaNumeroDocumentoRellenaYCorta) {
    std::string largo(70, 'N');
    Declarante("20510398158", "PRIMA AFP S.A.", "ANA", true);
    Declarante("20142829551", largo, "ANA", true);
    Declarante("20157036794", "NO ES AFP", "ANA", false);
    Declarante("20143980821", "DE OTRO USUARIO", "LUIS", true);
    ListaDePrueba lista;
    EXPECT_TRUE(zvform::CargaNumeroDocumento(lista, 6, "20510398158", 1));
    ASSERT_EQ(lista.items.size(), 2u);
    EXPECT_EQ(lista.items[0], "20142829551         " + std::string(60, 'N'));
    EXPECT_EQ(lista.items[1], "20510398158         PRIMA AFP S.A." + std::string(46, ' '));
    EXPECT_EQ(lista.seleccionado, 1);
    EXPECT_TRUE(mensajes.shown.empty());
    EXPECT_NE(Estado::G().gSQL.find("ORDER BY DOC_ID_D ASC"), std::string::npos);

    ListaDePrueba sinSeleccion;
    EXPECT_TRUE(zvform::CargaNumeroDocumento(sinSeleccion, 6, "20510398158", 0));
    EXPECT_EQ(sinSeleccion.seleccionado, -1);

    Base().Execute("INSERT INTO CLAVES VALUES ('ANA', '0')");  // sees every declarant
    ListaDePrueba todos;
    EXPECT_TRUE(zvform::CargaNumeroDocumento(todos, 6, "", 0));
    EXPECT_EQ(todos.items.size(), 3u);
}

TEST_F(BaseDePrueba, CargaNumeroDocumentoSinDeclarantesEsFalso) {
    Declarante("20157036794", "NO ES AFP", "ANA", false);
    ListaDePrueba lista;
    lista.items.push_back("antiguo");
    EXPECT_FALSE(zvform::CargaNumeroDocumento(lista, 6, "", 0));
    EXPECT_TRUE(lista.items.empty());
    ASSERT_EQ(mensajes.shown.size(), 1u);
    EXPECT_EQ(mensajes.shown[0].title, "Solvenda");
    EXPECT_EQ(mensajes.shown[0].icon, zv::Icon::Warning);
    EXPECT_EQ(mensajes.shown[0].text,
              "No existen declarantes registrados. Para registrar un declarante salga de este módulo y en "
              "el menú principal elija la opción: Registro/Declarantes.");
}

TEST_F(BaseDePrueba, CargaNumeroDocumentoErrorFatalTermina) {
    Base().Execute("DROP TABLE CONT");
    ListaDePrueba lista;
    try {
        zvform::CargaNumeroDocumento(lista, 6, "", 0);
        FAIL() << "the program should have ended";
    } catch (const ProgramaTerminado& fin) {
        EXPECT_EQ(fin.codigo, 1);
    }
    ASSERT_EQ(mensajes.shown.size(), 1u);
    EXPECT_EQ(mensajes.shown[0].title.rfind("Error crítico: ", 0), 0u);
    EXPECT_NE(mensajes.shown[0].title.find(" (Rutina: CargaNumeroDocumento) "), std::string::npos);
    EXPECT_NE(zv::text::ReadAll(dir.path() / "errorlog.txt").find("Error producido en    : CargaNumeroDocumento"),
              std::string::npos);
}

TEST_F(BaseDePrueba, VerificaTablaValor) {
    EXPECT_FALSE(zvform::VerificaTablaValor("20142829551", "202401", 1));
    Base().Execute("INSERT INTO CAB VALUES (6, '20142829551', '202401', '0841', 0, '9', NULL)");
    EXPECT_FALSE(zvform::VerificaTablaValor("20142829551", "202402", 1));
    EXPECT_TRUE(mensajes.shown.empty());
    EXPECT_TRUE(zvform::VerificaTablaValor("20142829551", "202401", 0));
    EXPECT_TRUE(mensajes.shown.empty());
    EXPECT_TRUE(zvform::VerificaTablaValor("20142829551", "202401", 1));
    ASSERT_EQ(mensajes.shown.size(), 1u);
    EXPECT_EQ(mensajes.shown[0].title, "Importar información de afiliados");
    EXPECT_EQ(mensajes.shown[0].text,
              "Ya existe una declaración para el RUC y periodo seleccionado. Elimine la declaración e importe "
              "el archivo nuevamente.");
    EXPECT_FALSE(zvform::VerificaTablaValor("' OR '1'='1", "202401", 0));
}

TEST_F(BaseDePrueba, EliminaDataTablaEnviadaPorCorrelativo) {
    auto& g = Estado::G();
    g.gPeriodo = "202401";
    g.gEsEnviada = true;
    for (const char* correl : {"001", "002"}) {
        Base().Execute("INSERT INTO HCAB VALUES (6, '20142829551', '202401', '0841', ?, 0, '0', NULL)", {correl});
        Base().Execute("INSERT INTO tmpDET VALUES (6, '20142829551', '202401', '0841', ?)", {correl});
    }
    Base().Execute("INSERT INTO HCAB VALUES (6, '20142829551', '202402', '0841', '001', 0, '0', NULL)");
    EXPECT_TRUE(zvform::EliminaDataTabla("HCAB", 6, "20142829551", 1, "002"));
    EXPECT_NE(g.gSQL.find("Correl"), std::string::npos);
    EXPECT_EQ(Cuenta("HCAB"), 2);
    auto rs = Base().OpenRecordset("SELECT Correl FROM HCAB WHERE periodo='202401'", dao::dbOpenSnapshot);
    EXPECT_EQ(rs->Fields(0).AsText(), "001");
    // A "tmp" table (any case) has no Correl condition.
    EXPECT_TRUE(zvform::EliminaDataTabla("tmpDET", 6, "20142829551", 1, "002"));
    EXPECT_EQ(g.gSQL.find("Correl"), std::string::npos);
    EXPECT_EQ(Cuenta("tmpDET"), 0);
    EXPECT_TRUE(mensajes.shown.empty());
}

TEST_F(BaseDePrueba, EliminaDataTablaRegistradaSinCorrelativo) {
    auto& g = Estado::G();
    g.gPeriodo = "202401";
    g.gEsEnviada = false;
    Base().Execute("INSERT INTO CAB VALUES (6, '20142829551', '202401', '0841', 0, '9', NULL)");
    Base().Execute("INSERT INTO CAB VALUES (6, '20157036794', '202401', '0841', 0, '9', NULL)");
    EXPECT_TRUE(zvform::EliminaDataTabla("CAB", 6, "20142829551", 1, "001"));
    EXPECT_EQ(g.gSQL.find("Correl"), std::string::npos);
    EXPECT_EQ(Cuenta("CAB"), 1);
}

TEST_F(BaseDePrueba, EliminaDataTablaInformaElFallo) {
    Estado::G().gPeriodo = "202401";
    EXPECT_FALSE(zvform::EliminaDataTabla("NOEXISTE", 6, "20142829551", 1, ""));
    EXPECT_FALSE(zvform::EliminaDataTabla("CAB; DROP TABLE CONT", 6, "20142829551", 1, ""));
    EXPECT_TRUE(mensajes.shown.empty());
    EXPECT_TRUE(Base().FindTableDef("CONT").has_value());
}

TEST_F(BaseDePrueba, EliminaDataTablaRevertidaPorElLlamador) {
    // The caller's three deletes: a failure of one rolls back the others.
    auto& g = Estado::G();
    g.gPeriodo = "202401";
    Base().Execute("INSERT INTO CAB VALUES (6, '20142829551', '202401', '0841', 0, '9', NULL)");
    Base().BeginTrans();
    bool ok = zvform::EliminaDataTabla("CAB", 6, "20142829551", 1, "") &&
              zvform::EliminaDataTabla("DET", 6, "20142829551", 1, "");  // no DET table here
    EXPECT_FALSE(ok);
    Base().Rollback();
    EXPECT_EQ(Cuenta("CAB"), 1);
}

TEST(ValidaSeleccion, FilasYCelda) {
    zv::ScriptedMessages mensajes;
    zv::SetMessageService(&mensajes);
    GrillaDePrueba grilla;
    EXPECT_FALSE(zvform::ValidaSeleccion(grilla, 2));
    grilla.filas = 3;
    EXPECT_FALSE(zvform::ValidaSeleccion(grilla, 3));
    grilla.celda = "20142829551";
    EXPECT_TRUE(zvform::ValidaSeleccion(grilla, 1));
    zv::SetMessageService(nullptr);
    ASSERT_EQ(mensajes.shown.size(), 2u);
    EXPECT_EQ(mensajes.shown[0].text, "No existen registros disponibles para eliminar");
    EXPECT_EQ(mensajes.shown[0].title, "Información");
    EXPECT_EQ(mensajes.shown[0].icon, zv::Icon::Information);
    EXPECT_EQ(mensajes.shown[1].text,
              "Debe seleccionar algún registro para realizar la operación ver declaraciones enviadas");
}

// --- the digest over rows of the real tables ---

TEST_F(BaseDePrueba, DigestoDeUnaFilaDeDET) {
    Base().Execute(
        "CREATE TABLE DET (tip_doc_d INTEGER, doc_id_d TEXT, periodo TEXT, formulario TEXT, Semana INTEGER, "
        "Casilla TEXT, i_valor TEXT, idcasilla TEXT, estado TEXT, cNumero TEXT)");
    auto rs = Base().OpenRecordset("DET", dao::dbOpenTable);
    rs->AddNew();
    rs->SetField("tip_doc_d", Value(6));
    rs->SetField("doc_id_d", Value("20142829551"));
    rs->SetField("periodo", Value("202401"));
    rs->SetField("formulario", Value("0841"));
    rs->SetField("Semana", Value(0));
    rs->SetField("Casilla", Value("590"));
    rs->SetField("i_valor", Value("1250"));
    rs->SetField("idcasilla", Value());
    rs->SetField("estado", Value("0"));
    // 6 + 20142829551 + 202401 + 841 + 0 + 590 = 20143033389 -> 389;
    // "1250" = 49 + 100 + 159 + 192 = 500, Null adds 0, "0" = 48 -> 548.
    std::string digesto = zvform::SumaControlRegistro(*rs, 6);
    EXPECT_EQ(digesto, "389548");
    rs->SetField("cNumero", Value(digesto));
    rs->Update();
    rs->Close();
    auto leido = Base().OpenRecordset("SELECT * FROM DET", dao::dbOpenSnapshot);
    EXPECT_EQ(zvform::SumaControlRegistro(*leido, 6), leido->Fields("cNumero").AsText());
}

TEST_F(BaseDePrueba, DigestoDeUnaFilaDeF841DETDES) {
    Base().Execute(
        "CREATE TABLE F841DETDES (tip_doc_d INTEGER, doc_id_d TEXT, periodo TEXT, formulario TEXT, "
        "Num_RUCEmpl TEXT, Tip_Doctrab TEXT, Num_Doctrab TEXT, Fec_NacTrab DATE, Nom_ApePat TEXT, "
        "Nom_ApeMat TEXT, Nom_Nombre TEXT, Ind_Sexo TEXT, Cod_CUSPP TEXT, Fec_Afiliac DATE, Fec_SolDesaf DATE, "
        "Cod_MotDesaf TEXT, Num_ResDesaf TEXT, Ind_CondPago TEXT, Mes_deveng TEXT, Mto_Remun TEXT, "
        "Mto_AporteO TEXT, Mto_AporteV TEXT, Mto_Rentabi TEXT, cnumero TEXT)");
    auto rs = Base().OpenRecordset("F841DETDES", dao::dbOpenTable);
    rs->AddNew();
    const std::vector<Value> fila = {
        Value(6), Value("20142829551"), Value("202401"), Value("0841"), Value("20100070970"), Value("01"),
        Value("12345678"), Value(dao::Date{1970, 5, 31}), Value("NÚÑEZ"), Value(), Value("JOSÉ MARÍA"),
        Value("1"), Value("123456JNM1A2"), Value(dao::Date{1995, 1, 2}), Value(dao::Date{2024, 1, 15}),
        Value("01"), Value("RS-001"), Value("1"), Value("202312"), Value("1500.00"), Value("150.00"),
        Value("0.00"), Value("-12.50")};
    for (std::size_t i = 0; i < fila.size(); ++i) rs->SetField(static_cast<int>(i), fila[i]);

    // Numeric part: 6 + 20142829551 + 202401 + 841 + 20100070970 + 1 = 40243103770 -> 770.
    // Weighted part: every character of the fields 6..22 in Windows-1252, computed here by hand.
    long long ponderada = 0;
    auto pesa = [&](const std::string& texto) {
        std::string ansi = zv::text::ToCp1252(texto);
        for (std::size_t p = 0; p < ansi.size(); ++p) ponderada += (p + 1) * static_cast<unsigned char>(ansi[p]);
    };
    for (const char* t : {"12345678", "19700531", "NÚÑEZ", "", "JOSÉ MARÍA", "1", "123456JNM1A2", "19950102",
                          "20240115", "01", "RS-001", "1", "202312", "1500.00", "150.00", "0.00", "-12.50"})
        pesa(t);
    char esperado[8];
    std::snprintf(esperado, sizeof esperado, "770%03lld", ponderada % 1000);
    std::string digesto = zvform::SumaControlRegistro(*rs, 6);
    EXPECT_EQ(digesto, esperado);
    // "Ñ" counts as 209 and "Ú" as 218, not as their UTF-8 bytes.
    EXPECT_EQ(zv::text::ToCp1252("NÚÑEZ"), "N\xDA\xD1" "EZ");
    rs->SetField("cnumero", Value(digesto));
    rs->Update();
    rs->Close();
    auto leido = Base().OpenRecordset("SELECT * FROM F841DETDES", dao::dbOpenSnapshot);
    EXPECT_EQ(zvform::SumaControlRegistro(*leido, 6), digesto);
}

}  // namespace

namespace {

// The shared queries on an installation made by zvbase, whose user is
// written in capitals in CLAVES while ZVBAS.INI (and so gUsuario) may spell
// it otherwise: the engine compares users without regard to case.
class ConsultasEnInstalacion : public testing::Test {
protected:
    static zvtest::Installation::Options Opciones() {
        zvtest::Installation::Options o;
        o.user = "ZVADMIN";
        return o;
    }
    void SetUp() override {
        Estado::Reset();
        auto& g = Estado::G();
        g.gBase = inst.Open(zv::cuentas::Zvform());
        zv::SetMessageService(&mensajes);
    }
    void TearDown() override {
        zv::SetMessageService(nullptr);
        Estado::Reset();
    }
    void Declarante(const std::string& ruc, const std::string& usuario) {
        Estado::G().gBase->Execute("INSERT INTO CONT (Tip_doc_d, Doc_id_d, nombre, Usuario) VALUES (6, ?, 'X', ?)",
                                   {ruc, usuario});
    }
    std::vector<std::string> Declarantes() {
        auto s = zvform::SqlDeclarantes("0841");
        std::vector<std::string> out;
        auto rs = Estado::G().gBase->OpenRecordset(s.sql, dao::dbOpenSnapshot, s.params);
        for (; !rs->EOF_(); rs->MoveNext()) out.push_back(rs->Fields("Doc_id_d").AsText());
        return out;
    }

    zvtest::Installation inst{Opciones()};
    zv::ScriptedMessages mensajes;
};

TEST_F(ConsultasEnInstalacion, AUserSpelledInAnotherCaseIsTheSameUser) {
    for (const char* escrito : {"zvadmin", "ZvAdmin", "ZVADMIN"}) {
        Estado::G().gUsuario = escrito;
        EXPECT_EQ(zvform::TipoUsuario(), "0") << escrito;
    }
    Estado::G().gUsuario = "zvadmin2";
    EXPECT_EQ(zvform::TipoUsuario(), "1");
}

TEST_F(ConsultasEnInstalacion, AUserOfTypeOneSeesTheDeclarantsOfItsOwnNameInAnyCase) {
    Estado::G().gBase->Execute("INSERT INTO CLAVES (Usuario, Tipo) VALUES ('Peña', '1')");
    Declarante("20100000002", "PEÑA");
    Declarante("20100000001", "peña");
    Declarante("20100000003", "PENA");
    Estado::G().gUsuario = "peÑa";
    EXPECT_EQ(zvform::TipoUsuario(), "1");
    EXPECT_EQ(Declarantes(), (std::vector<std::string>{"20100000001", "20100000002"}));
}

}  // namespace
