// zvform's start-up steps without a window: the regional-settings check,
// the WIN.INI separators, ZVBAS.INI and the opening of the database.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "platform/dao/dao.h"
#include "platform/filenames.h"
#include "platform/msgbox.h"
#include "platform/profile.h"
#include "shared/cuentas.h"
#include "tests/support/support.h"

namespace fs = std::filesystem;

namespace {

const char* const kLineas[15] = {
    "- Debe configurar como separador de Fechas : ( / ) ",
    "- Debe configurar como formato de fecha corta : ( dd/MM/aaaa ) ",
    "- Debe configurar como separador de Hora : ( : ) ",
    "- Debe configurar como formato de Hora : ( hh:mm:ss tt) ",
    "- Debe configurar como símbolo decimal para Número : ( . ) ",
    "- Debe configurar como separador de miles para Número : ( , ) ",
    "- Debe configurar como número de Decimales para Número : ( 2 ) ",
    "- Debe configurar como Símbolo negativo : ( - ) ",
    "- Debe configurar como Formato de Número Negativo : ( -1,1 ) ",
    "- Debe configurar Mostrar Ceros a la Izquierda : ( 0,7 ) ",
    "- Debe configurar como separador de decimales para moneda : ( . ) ",
    "- Debe configurar como separador de miles para moneda : ( , ) ",
    "- Debe configurar como número de Decimales para Moneda : ( 2 ) ",
    "- Debe configurar que Símbolo Monetario vaya antes del número : ( $1.1  ) ",
    "- Debe configurar como Formato de Moneda Negativo : ( *-1,1 ) ",
};

const char* const kCierre =
    "Ingrese a la opción :Configuración/Panel de control/Configuración Regional y verificar las secciones "
    "Número, Moneda, Hora y Fecha.\n"
    "Esto es necesario para el correcto funcionamiento del Zarvomat. ";

// The 15 keys in table order with values that pass.
const std::vector<std::pair<std::string, std::string>> kValoresBuenos = {
    {"sDate", "/"},          {"sShortDate", "dd/MM/yyyy"}, {"sTime", ":"},         {"sTimeFormat", "hh:mm:ss tt"},
    {"sDecimal", "."},       {"sThousand", ","},           {"iDigits", "2"},       {"sNegativeSign", "-"},
    {"iNegNumber", "1"},     {"iLZero", "1"},              {"sMonDecimalSep", "."}, {"sMonThousandSep", ","},
    {"iCurrDigits", "2"},    {"iCurrency", "0"},           {"iNegCurr", "2"},
};

std::string MensajeCon(const std::vector<int>& reglas) {
    std::string texto;
    for (int r : reglas) texto += std::string(kLineas[r]) + "\n";
    return texto + kCierre;
}

class ConMensajes : public ::testing::Test {
protected:
    void SetUp() override {
        zvform::Estado::Reset();
        zv::SetMessageService(&mensajes);
        carpetaInicial = fs::current_path();
    }
    void TearDown() override {
        zv::SetMessageService(nullptr);
        fs::current_path(carpetaInicial);
        zvform::Estado::Reset();
    }
    zv::ScriptedMessages mensajes;
    fs::path carpetaInicial;
};

class ConfigRegional : public ConMensajes {
protected:
    void SetUp() override {
        ConMensajes::SetUp();
        FijaBuenos();
    }
    void FijaBuenos() {
        for (const auto& [clave, valor] : kValoresBuenos) Fija(clave, valor);
    }
    void Fija(const std::string& clave, const std::string& valor) {
        ASSERT_TRUE(zv::profile::WriteProfileString("intl", clave, valor));
    }
    zvtest::TempDir windir;
    zvtest::ScopedEnv env{"ZARVO_WINDIR", windir.path().string()};
};

TEST_F(ConfigRegional, AllRulesHoldGivesNoMessage) {
    EXPECT_TRUE(zvform::ValidaConfigRegional());
    EXPECT_TRUE(mensajes.shown.empty());
}

struct CasoRegla {
    const char* clave;
    const char* valor;
    int regla;  // -1: the rule holds
};

TEST_F(ConfigRegional, EachRuleOnItsEdges) {
    const CasoRegla casos[] = {
        {"sDate", "//", 0},
        {"sDate", ".", 0},
        {"sDate", "", 0},
        {"sShortDate", "d/M/yyyy", 1},
        {"sShortDate", "dd/mm/yyyy", 1},  // case counts
        {"sShortDate", "ddd dd/MM/yyyy", -1},
        {"sTime", ".", 2},
        {"sTimeFormat", "HH:mm:ss", 3},
        {"sTimeFormat", "hh:mm:ss tt", -1},
        {"sDecimal", ",", 4},
        {"sThousand", ".", 5},
        {"iDigits", "3", 6},
        {"iDigits", "", 6},  // no digits reads as 0
        {"sNegativeSign", "--", 7},
        {"iNegNumber", "0", 8},
        {"iLZero", "0", 9},
        {"sMonDecimalSep", ",", 10},
        {"sMonThousandSep", ".", 11},
        {"iCurrDigits", "0", 12},
        {"iCurrency", "1", 13},
        {"iCurrency", "x", -1},  // no digits reads as 0, the value required
        {"iNegCurr", "12", 14},
        {"iNegCurr", "2", -1},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(std::string(caso.clave) + "=" + caso.valor);
        FijaBuenos();
        Fija(caso.clave, caso.valor);
        mensajes.shown.clear();
        bool valido = zvform::ValidaConfigRegional();
        if (caso.regla < 0) {
            EXPECT_TRUE(valido);
            EXPECT_TRUE(mensajes.shown.empty());
            continue;
        }
        EXPECT_FALSE(valido);
        ASSERT_EQ(mensajes.shown.size(), 1u);
        EXPECT_EQ(mensajes.shown[0].text, MensajeCon({caso.regla}));
        EXPECT_EQ(mensajes.shown[0].title, "Error de configuración");
        EXPECT_EQ(mensajes.shown[0].icon, zv::Icon::Critical);
    }
}

TEST_F(ConfigRegional, SeveralFailuresGiveOneMessageInTableOrder) {
    Fija("iNegCurr", "1");
    Fija("sDate", "-");
    Fija("iDigits", "3");
    EXPECT_FALSE(zvform::ValidaConfigRegional());
    ASSERT_EQ(mensajes.shown.size(), 1u);
    EXPECT_EQ(mensajes.shown[0].text, MensajeCon({0, 6, 14}));
}

TEST_F(ConfigRegional, EveryRuleFailingListsAllFifteen) {
    for (const auto& [clave, valor] : kValoresBuenos) Fija(clave, valor == "." ? "," : "9");
    EXPECT_FALSE(zvform::ValidaConfigRegional());
    ASSERT_EQ(mensajes.shown.size(), 1u);
    EXPECT_EQ(mensajes.shown[0].text, MensajeCon({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
}

TEST_F(ConfigRegional, UnreadableSettingsDropTheLinesGathered) {
    Fija("sDate", "-");
    // A WIN.INI that cannot be read: a folder stands in its place.
    fs::path winIni = zv::profile::ResolveProfileFile("WIN.INI");
    fs::remove(winIni);
    fs::create_directory(winIni);
    EXPECT_FALSE(zvform::ValidaConfigRegional());
    ASSERT_EQ(mensajes.shown.size(), 1u);
    EXPECT_EQ(mensajes.shown[0].text, "Error al leer la configuración del sistema");
    EXPECT_EQ(mensajes.shown[0].title, "Error");
    EXPECT_EQ(mensajes.shown[0].icon, zv::Icon::Critical);
}

TEST_F(ConfigRegional, ConfiguraInisForcesTheSeparators) {
    Fija("sDecimal", ",");
    Fija("sThousand", ".");
    EXPECT_TRUE(zvform::ConfiguraInis());
    std::string valor;
    zv::profile::GetProfileString("intl", "sDecimal", "", valor, 255);
    EXPECT_EQ(valor, ".");
    zv::profile::GetProfileString("intl", "sThousand", "", valor, 255);
    EXPECT_EQ(valor, ",");
    zv::profile::GetProfileString("intl", "sShortDate", "", valor, 255);
    EXPECT_EQ(valor, "dd/MM/yyyy");
    EXPECT_TRUE(mensajes.shown.empty());
}

// ---- ZVBAS.INI and the database --------------------------------------------

class LecturaIni : public ConMensajes {
protected:
    std::string Opcion(const char* clave) { return zv::profile::ReadTrimmed("Options", clave, "ZVBAS.INI"); }
    void FijaOpcion(const char* clave, const std::string& valor) {
        ASSERT_TRUE(zv::profile::WritePrivateProfileString("Options", clave, valor, "ZVBAS.INI"));
    }
    void EsperaFallo(const std::string& texto, const std::string& titulo, zv::Icon icono) {
        EXPECT_FALSE(zvform::LeerIni());
        ASSERT_EQ(mensajes.shown.size(), 1u);
        EXPECT_EQ(mensajes.shown[0].text, texto);
        EXPECT_EQ(mensajes.shown[0].title, titulo);
        EXPECT_EQ(mensajes.shown[0].icon, icono);
        EXPECT_EQ(mensajes.shown[0].buttons, zv::Buttons::Ok);
    }
    zvtest::Installation inst;
};

TEST_F(LecturaIni, ReadsTheOptionsAndOpensTheDatabase) {
    std::string sysPath = Opcion("SysPath");
    FijaOpcion("SysPath", "  " + sysPath + "  ");  // blanks around are trimmed
    ASSERT_TRUE(zvform::LeerIni());
    EXPECT_TRUE(mensajes.shown.empty());
    const zvform::Estado& g = zvform::Estado::G();
    EXPECT_EQ(g.gSysPath, sysPath);
    EXPECT_EQ(g.gRutaRpt, sysPath + "RPT/");
    EXPECT_EQ(g.gRutaBase, Opcion("DBPath") + Opcion("DBName"));
    EXPECT_EQ(g.gArchivoAyuda, sysPath + "0841/zvform.hlp");
    EXPECT_EQ(g.gUsuario, inst.user);
    EXPECT_TRUE(fs::equivalent(fs::current_path(), sysPath));
    ASSERT_TRUE(g.gBase);
    EXPECT_EQ(g.gEngine->SystemDB, sysPath + "ZVBAS.MDW");
    EXPECT_EQ(g.gEngine->DefaultUser, zv::cuentas::Zvform().usuario);
}

TEST_F(LecturaIni, EmptyOrMissingSysPathEndsInOrder) {
    FijaOpcion("SysPath", "");
    EsperaFallo("No se ha indicado la carpeta del sistema (SysPath) en ZVBAS.INI.", "Error de configuración",
                zv::Icon::Critical);
    mensajes.shown.clear();
    std::string falta = (inst.folder / "no-existe").string() + "/";
    FijaOpcion("SysPath", falta);
    EsperaFallo("No se encuentra la carpeta del sistema indicada en ZVBAS.INI: \"" + falta + "\"",
                "Error de configuración", zv::Icon::Critical);
    EXPECT_FALSE(zvform::Estado::G().gBase);
}

// A file that is not there, or cannot be read, is named with its path: its
// SysPath is not the missing thing.
TEST_F(LecturaIni, AMissingOrUnreadableFileSaysWhereItWasLookedFor) {
    const fs::path ini = inst.windir / "ZVBAS.INI";
    fs::rename(ini, inst.windir / "otro.ini");
    EsperaFallo("No se encontró el archivo de configuración ZVBAS.INI. Se buscó en \"" + ini.string() + "\".",
                "Error de configuración", zv::Icon::Critical);
    mensajes.shown.clear();
    fs::create_directory(ini);  // there, and no file to read
    EsperaFallo("No se puede leer el archivo de configuración ZVBAS.INI: \"" + ini.string() + "\".",
                "Error de configuración", zv::Icon::Critical);
    EXPECT_FALSE(zvform::Estado::G().gBase);
}

TEST_F(LecturaIni, DBPathIsJoinedToDBNameWithNoSeparator) {
    std::string dbPath = Opcion("DBPath");
    ASSERT_EQ(dbPath.back(), '/');
    FijaOpcion("DBPath", dbPath.substr(0, dbPath.size() - 1));
    EXPECT_FALSE(zvform::LeerIni());
    EXPECT_EQ(zvform::Estado::G().gRutaBase, dbPath.substr(0, dbPath.size() - 1) + Opcion("DBName"));
    ASSERT_EQ(mensajes.shown.size(), 1u);
    const std::string& texto = mensajes.shown[0].text;
    EXPECT_TRUE(texto.size() > 6 && texto.ends_with("\n 3024")) << texto;
    EXPECT_EQ(mensajes.shown[0].title, "Error de Conección");
    EXPECT_EQ(mensajes.shown[0].icon, zv::Icon::None);
}

TEST_F(LecturaIni, TheWorkgroupFileComesFromSysPath) {
    auto grupo = zv::files::FindIgnoringCase(fs::path(Opcion("SysPath")) / "ZVBAS.MDW");
    ASSERT_TRUE(grupo);
    fs::remove(*grupo);
    EXPECT_FALSE(zvform::LeerIni());
    ASSERT_EQ(mensajes.shown.size(), 1u);
    EXPECT_TRUE(mensajes.shown[0].text.ends_with("\n 3028")) << mensajes.shown[0].text;
}

TEST_F(LecturaIni, LockedDatabaseGives3051) {
    dao::DBEngine otro;
    otro.SystemDB = Opcion("SysPath") + "ZVBAS.MDW";
    otro.DefaultUser = zv::cuentas::Zvform().usuario;
    otro.DefaultPassword = zv::cuentas::Zvform().clave;
    auto exclusiva = otro.OpenDatabase(Opcion("DBPath") + Opcion("DBName"), /*exclusive*/ true);
    EsperaFallo(" 3051- Base esta bloqueda", "Error de Conección", zv::Icon::None);
}

}  // namespace
