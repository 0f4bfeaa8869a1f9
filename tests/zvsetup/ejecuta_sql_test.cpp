// The statement runner's three rules, seen through the message service.
#include "Inserta/ejecuta_sql.h"
#include "Inserta/zvsetup.h"
#include "platform/msgbox.h"
#include "tests/zvsetup/ayuda.h"

namespace zvsetup_test {
namespace {

class EjecutaSQLTest : public InstalacionTest {
protected:
    zv::ScriptedMessages cajas;
    zvsetup::Sesion s;

    void SetUp() override {
        ASSERT_EQ(Instala().exitCode, 0);
        zv::SetMessageService(&cajas);
        s.sysPath = inst.folder.string() + "/";
        ASSERT_TRUE(zvsetup::AbrirBase(s, s.sysPath));
    }
    void TearDown() override {
        if (s.base) s.base->Close();
        zv::SetMessageService(nullptr);
    }
};

TEST_F(EjecutaSQLTest, TablaExistentePreguntaYNoCambiaNada) {
    const auto antes = Sqlite3("SELECT sql FROM sqlite_master WHERE name = 'PARAM'");
    cajas.Push(zv::Answer::Yes);  // even a yes overwrites nothing
    EXPECT_FALSE(zvsetup::EjecutaSQL(s, "CREATE TABLE PARAM ([x] Text(1))"));
    ASSERT_EQ(cajas.shown.size(), 1u);
    const auto& caja = cajas.shown[0];
    EXPECT_EQ(caja.text, "\nSe  detectado que ya existen las tablas del Zarvo  Desea Sobreescribirlas?");
    EXPECT_EQ(caja.title, "Mensaje");
    EXPECT_EQ(caja.icon, zv::Icon::Question);
    EXPECT_EQ(caja.buttons, zv::Buttons::YesNo);
    EXPECT_EQ(zv::DefaultAnswer(caja), zv::Answer::No);
    EXPECT_EQ(s.rechazadas, 0);
    s.base->Close();
    s.base.reset();
    EXPECT_EQ(Sqlite3("SELECT sql FROM sqlite_master WHERE name = 'PARAM'"), antes);
}

TEST_F(EjecutaSQLTest, ClaveExistenteSeCalla) {
    EXPECT_FALSE(zvsetup::EjecutaSQL(s,
                                     "ALTER TABLE F841DETDES ADD CONSTRAINT PK_F841DETDES PRIMARY KEY ([doc_id_d], "
                                     "[Periodo], [Num_RUCEmpl], [Tip_Doctrab], [Num_Doctrab], [Mes_deveng])"));
    EXPECT_TRUE(cajas.shown.empty());
    EXPECT_EQ(s.rechazadas, 0);
}

TEST_F(EjecutaSQLTest, OtroRechazoSeMuestraYSeCuenta) {
    EXPECT_FALSE(zvsetup::EjecutaSQL(s, "INSERT INTO reportes VALUES (?, ?, 1)", {"F84101", "duplicado"}));
    ASSERT_EQ(cajas.shown.size(), 1u);
    const auto& caja = cajas.shown[0];
    EXPECT_EQ(caja.text.rfind("Error Número : 3022\n", 0), 0u) << caja.text;
    EXPECT_GT(caja.text.size(), std::string("Error Número : 3022\n").size());
    EXPECT_EQ(caja.title, "Error al Ejecutar Sentencia SQL");
    EXPECT_EQ(caja.icon, zv::Icon::Critical);
    EXPECT_EQ(s.rechazadas, 1);
    // The run goes on: the next statement takes effect.
    EXPECT_TRUE(zvsetup::EjecutaSQL(s, "DELETE FROM reportes WHERE codrep = ?", {"F84101"}));
    EXPECT_EQ(s.rechazadas, 1);
}

}  // namespace
}  // namespace zvsetup_test
