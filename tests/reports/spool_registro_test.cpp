// Registration of spool files in SPOOL: numbering, the row, and two
// programs registering at the same moment.
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "shared/cuentas.h"
#include "shared/reloj.h"
#include "shared/spool.h"
#include "tests/reports/entorno.h"
#include "tests/support/disco_lleno.h"

namespace zvreports::prueba {
namespace {

using zvform::Estado;

class RegistroSpool : public ReportesTest {
protected:
    void Fila(const char* cod, const char* sec, const char* archivo) {
        Base().Execute(
            "INSERT INTO SPOOL (CodRep, Secuencia, Archivo, Fecha, Usuario, tip_doc_d, Doc_id_d) "
            "VALUES (?, ?, ?, ?, 'otro', 6, '20100070970')",
            {cod, sec, archivo, dao::Date{2023, 1, 2, 3, 4, 5}});
    }
    long Filas() {
        auto rs = Base().OpenRecordset("SELECT count(*) FROM SPOOL", dao::dbOpenSnapshot);
        return static_cast<long>(rs->Fields(0).AsLong());
    }
};

TEST_F(RegistroSpool, AnEmptyTableGivesTheFirstFileAndSequence) {
    Estado::G().gUsuario = "PEPE";
    EXPECT_EQ(zv::spool::GeneraArchivoSpool(Base(), "F84101", kRuc, "PEPE"), "00000001.PRN");
    auto rs = Base().OpenRecordset("SELECT * FROM SPOOL", dao::dbOpenSnapshot);
    ASSERT_FALSE(rs->EOF_());
    EXPECT_EQ(rs->Fields("CodRep").AsText(), "F84101");
    EXPECT_EQ(rs->Fields("Secuencia").AsText(), "000001");
    EXPECT_EQ(rs->Fields("Archivo").AsText(), "00000001.PRN");
    EXPECT_EQ(rs->Fields("Usuario").AsText(), "PEPE");
    EXPECT_EQ(rs->Fields("tip_doc_d").AsLong(), 6);
    EXPECT_EQ(rs->Fields("Doc_id_d").AsText(), kRuc);
    dao::Date fecha = rs->Fields("Fecha").AsDate();
    std::tm hoy = zv::HoraLocal();
    EXPECT_EQ(fecha.year, hoy.tm_year + 1900);
    EXPECT_EQ(fecha.month, hoy.tm_mon + 1);
    rs->MoveNext();
    EXPECT_TRUE(rs->EOF_());
}

TEST_F(RegistroSpool, FileNumbersRunAcrossCodesAndSequencesPerCode) {
    Fila("F84101", "000003", "00000012.PRN");
    Fila("F84104", "000007", "00000041.PRN");
    EXPECT_EQ(zv::spool::GeneraArchivoSpool(Base(), "F84101", kRuc, "u"), "00000042.PRN");
    EXPECT_EQ(zv::spool::GeneraArchivoSpool(Base(), "F84103", kRuc, "u"), "00000043.PRN");
    auto rs = Base().OpenRecordset("SELECT CodRep, Secuencia FROM SPOOL WHERE Usuario = 'u' ORDER BY Archivo",
                                   dao::dbOpenSnapshot);
    EXPECT_EQ(rs->Fields(1).AsText(), "000004");
    rs->MoveNext();
    EXPECT_EQ(rs->Fields(1).AsText(), "000001");
}

TEST_F(RegistroSpool, AStoredNameThatIsNotANumberStopsTheRegistration) {
    Fila("F84101", "000001", "INFORME1.PRN");
    try {
        zv::spool::GeneraArchivoSpool(Base(), "F84101", kRuc, "u");
        FAIL() << "no error";
    } catch (const dao::Error& e) {
        EXPECT_EQ(e.Number(), dao::err::TypeMismatch);
    }
    EXPECT_EQ(Filas(), 1);
    EXPECT_FALSE(Base().InTransaction());
}

TEST_F(RegistroSpool, InsideTheCallersTransactionTheRowFollowsIt) {
    Base().BeginTrans();
    EXPECT_EQ(zv::spool::GeneraArchivoSpool(Base(), "F84103", kRuc, "u"), "00000001.PRN");
    EXPECT_TRUE(Base().InTransaction());
    Base().Rollback();
    EXPECT_EQ(Filas(), 0);
    EXPECT_EQ(zv::spool::GeneraArchivoSpool(Base(), "F84103", kRuc, "u"), "00000001.PRN");
    EXPECT_EQ(Filas(), 1);
}

TEST_F(RegistroSpool, OnAFullDiskTheRegistrationFailsWithTheFullDiskAndLeavesNoTransaction) {
    zvtest::DiscoLleno disco;
    Estado::G().gBase.reset();
    ASSERT_TRUE(zvform::LeerIni());  // the connection now writes through the disk
    Fila("F84101", "000001", "00000001.PRN");
    disco.Llena(0);
    try {
        zv::spool::GeneraArchivoSpool(Base(), "F84101", kRuc, "u");
        FAIL() << "registered on a full disk";
    } catch (const dao::Error& e) {
        EXPECT_EQ(e.Number(), dao::err::DiskFull);
        EXPECT_EQ(e.Description(), "No hay espacio suficiente en el disco.");
    }
    EXPECT_GT(disco.Rechazos(), 0);
    EXPECT_FALSE(Base().InTransaction());
    disco.Libera();
    EXPECT_EQ(Filas(), 1);
    // With space again the same registration goes through, under the next name.
    EXPECT_EQ(zv::spool::GeneraArchivoSpool(Base(), "F84101", kRuc, "u"), "00000002.PRN");
    EXPECT_EQ(Filas(), 2);
}

// Each child opens its own connection and registers `veces` files.
[[noreturn]] void Registrador(const std::string& base, const std::string& grupo, const char* codigo, int veces,
                              int arranque) {
    int codigoSalida = 0;
    try {
        char c;
        if (read(arranque, &c, 1) != 1) _exit(3);
        dao::DBEngine engine;
        engine.SystemDB = grupo;
        engine.DefaultUser = zv::cuentas::Zvform().usuario;
        engine.DefaultPassword = zv::cuentas::Zvform().clave;
        auto db = engine.OpenDatabase(base);
        for (int i = 0; i < veces; ++i) zv::spool::GeneraArchivoSpool(*db, codigo, kRuc, codigo);
        db->Close();
    } catch (...) {
        codigoSalida = 2;
    }
    _exit(codigoSalida);
}

TEST_F(RegistroSpool, TwoProgramsRegisteringAtOnceNeverGetTheSameName) {
    constexpr int kVeces = 150;
    const Estado& e = Estado::G();
    const std::string grupo = e.gSysPath + "ZVBAS.MDW";
    int barrera[2];
    ASSERT_EQ(pipe(barrera), 0);
    std::vector<pid_t> hijos;
    for (const char* codigo : {"F84101", "F84104"}) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(barrera[1]);
            Registrador(e.gRutaBase, grupo, codigo, kVeces, barrera[0]);
        }
        hijos.push_back(pid);
    }
    close(barrera[0]);
    ASSERT_EQ(write(barrera[1], "xx", 2), 2);  // both start together
    close(barrera[1]);
    for (pid_t pid : hijos) {
        int estado = 0;
        ASSERT_EQ(waitpid(pid, &estado, 0), pid);
        EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0) << "a registering child failed";
    }

    std::set<std::string> archivos;
    std::map<std::string, std::set<std::string>> secuencias;
    auto rs = Base().OpenRecordset("SELECT CodRep, Secuencia, Archivo FROM SPOOL", dao::dbOpenSnapshot);
    for (; !rs->EOF_(); rs->MoveNext()) {
        archivos.insert(rs->Fields("Archivo").AsText());
        secuencias[rs->Fields("CodRep").AsText()].insert(rs->Fields("Secuencia").AsText());
    }
    EXPECT_EQ(Filas(), 2 * kVeces);
    EXPECT_EQ(archivos.size(), 2u * kVeces);  // all names distinct
    EXPECT_EQ(*archivos.rbegin(), "00000300.PRN");  // and the numbering left no gap
    EXPECT_EQ(secuencias["F84101"].size(), static_cast<std::size_t>(kVeces));
    EXPECT_EQ(*secuencias["F84104"].rbegin(), "000150");
}

}  // namespace
}  // namespace zvreports::prueba
