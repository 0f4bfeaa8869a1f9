// The start of the run: the base folder from ZVBAS.INI, the database open and
// its two connection messages, and the exit status.
#include <sstream>

#include "Inserta/zvsetup.h"
#include "platform/filenames.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "tests/zvsetup/ayuda.h"

namespace zvsetup_test {
namespace {

using Arranque = InstalacionTest;
using zvtest::Bytes;

// ZVBAS.INI without its SysPath line.
void QuitaSysPath(const fs::path& windir) {
    const fs::path ini = zv::files::Resolve(windir / "ZVBAS.INI");
    std::stringstream entrada(zv::text::ReadAll(ini));
    std::string linea, resto;
    while (std::getline(entrada, linea)) {
        if (zv::text::UpperCase(zv::text::Trim(linea)).rfind("SYSPATH", 0) != 0) resto += linea + "\n";
    }
    zv::text::WriteAll(ini, resto);
}

TEST_F(Arranque, SinSysPathAvisaYNoTocaLaBase) {
    for (bool quitaClave : {true, false}) {
        SCOPED_TRACE(quitaClave ? "no SysPath key" : "SysPath of blanks");
        if (quitaClave)
            QuitaSysPath(inst.windir);
        else
            ASSERT_TRUE(zv::profile::WritePrivateProfileString("Options", "SysPath", "   ", "ZVBAS.INI"));
        const std::string antes = Bytes(inst.database);
        const auto mtime = fs::last_write_time(inst.database);

        auto r = Instala();
        EXPECT_NE(r.exitCode, 0);
        EXPECT_EQ(r.err, Caja("Mensaje", "Debe instalar primero el Zarvo "));
        EXPECT_EQ(Bytes(inst.database), antes);
        EXPECT_EQ(fs::last_write_time(inst.database), mtime);
    }
}

// Paths with a doubled separator still work here, so the rule is also
// checked on the text itself.
TEST(SysPath, SeparadorDobleFinalPierdeUno) {
    const std::vector<std::pair<std::string, std::string>> casos = {
        {"/z/inst//", "/z/inst/"}, {"/z/inst/", "/z/inst/"}, {"/z/inst", "/z/inst"},
        {"C:\\ZV\\\\", "C:\\ZV\\"}, {"/z/inst///", "/z/inst//"}, {"//", "/"}, {"", ""},
    };
    for (const auto& [leido, usado] : casos) EXPECT_EQ(zvsetup::QuitaSeparadorDoble(leido), usado) << leido;
}

TEST_F(Arranque, SysPathConSeparadorDobleUsaUnoSolo) {
    ASSERT_TRUE(zv::profile::WritePrivateProfileString("Options", "SysPath", "  " + inst.folder.string() + "//  ",
                                                       "ZVBAS.INI"));
    EscribeEnv841("x|T1|T2|T3|1|0|1|2|3|4|5|6|7|\r\n");
    auto r = Instala();
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Sqlite3("SELECT tabla_o FROM envio_t WHERE formulario = '0841'"), std::vector<std::string>{"T1"});
}

TEST_F(Arranque, BaseBloqueadaTermina) {
    {
        auto otroPrograma = Abre(/*exclusiva*/ true);
        auto r = Instala();
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err, Caja("Error de Conección", " 3051- La Base de datos esta bloqueda"));
        otroPrograma->Close();
    }
    EXPECT_EQ(Sqlite3("SELECT count(*) FROM sqlite_master WHERE name LIKE '%841DETDES'"),
              std::vector<std::string>{"0"});
}

TEST_F(Arranque, BaseInexistenteDaLaDescripcionYElNumero) {
    ASSERT_TRUE(zv::profile::WritePrivateProfileString("Options", "DBName", "NOESTA.MDB", "ZVBAS.INI"));
    auto r = Instala();
    EXPECT_EQ(r.exitCode, 2);
    ASSERT_EQ(r.err.rfind("Error de Conección: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("\n 3024\n\n"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(inst.folder / "NOESTA.MDB"));
}

TEST_F(Arranque, SentenciaRechazadaSeAvisaYLaEjecucionSigue) {
    Sqlite3("DROP TABLE reportes");
    EscribeEnv841("x|T1|T2|T3|1|0|1|2|3|4|5|6|7|\r\n");
    auto r = Instala();
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Error al Ejecutar Sentencia SQL: Error Número : "), std::string::npos) << r.err;
    EXPECT_EQ(Sqlite3("SELECT count(*) FROM Param WHERE Numero = '783'"), std::vector<std::string>{"3"});
    EXPECT_EQ(Sqlite3("SELECT tabla_o FROM envio_t WHERE formulario = '0841'"), std::vector<std::string>{"T1"});
}

}  // namespace
}  // namespace zvsetup_test
