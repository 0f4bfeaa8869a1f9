// Runs the built zvreport on a fresh installation with a declaration put in
// CAB, DET and CONT, and reads back the files it leaves.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include "platform/dao/dao.h"
#include "platform/textfile.h"
#include "shared/cuentas.h"
#include "tests/support/disco_lleno.h"
#include "tests/support/support.h"

namespace {

namespace fs = std::filesystem;
using zvtest::Installation;

constexpr const char* kRuc = "20100000001";

std::vector<std::string> Lineas(const fs::path& p) {
    std::vector<std::string> out;
    zv::text::TextReader r(p);
    std::string line;
    while (r.ReadLine(line)) out.push_back(line);
    return out;
}

// The text field of a spool record "pPos|x|y|text|bold|size|page|".
std::string TextoDe(const std::string& record) {
    auto a = record.find('|', 5);
    a = record.find('|', a + 1);
    auto b = record.find("|False|");
    return record.substr(a + 1, b - a - 1);
}

struct Declaracion {
    std::string nombre = "ADMINISTRADORA DE PRUEBA";
    bool conCab = true;
    std::optional<std::string> cheque;  // nullopt: cash (Null)
    std::string banco = "99";
    std::map<int, std::string> casillas = {{590, "1500"}, {591, "0"}, {592, "-25"}, {598, "1475"}};
};

class ZvreportTest : public ::testing::Test {
protected:
    Installation inst;

    std::unique_ptr<dao::Database> Abrir() { return inst.Open(zv::cuentas::Zvreport()); }

    void Registra(const Declaracion& d) {
        auto db = Abrir();
        db->Execute("DELETE FROM CONT WHERE Doc_id_d = ?", {kRuc});
        db->Execute("INSERT INTO CONT (Tip_doc_d, Doc_id_d, nombre, Usuario) VALUES (6, ?, ?, ?)",
                    {kRuc, d.nombre, inst.user});
        db->Execute("INSERT INTO PARAM (Numero, Argumento, Funcion) VALUES ('004', '99', ?)",
                    {"BANCO DE LA PRUEBA CON NOMBRE LARGO"});
        if (d.conCab) {
            auto rs = db->OpenRecordset("SELECT * FROM CAB", dao::dbOpenDynaset);
            rs->AddNew();
            rs->SetField("tip_doc_d", 6);
            rs->SetField("doc_id_d", kRuc);
            rs->SetField("periodo", "202611");
            rs->SetField("formulario", "0841");
            rs->SetField("semana", 0);
            rs->SetField("estado", "0");
            if (d.cheque) rs->SetField("NroCheque", *d.cheque);
            rs->SetField("bcolibrad", d.banco);
            rs->SetField("cNumero", "000000");
            rs->Update();
        }
        for (const auto& [casilla, valor] : d.casillas) {
            char num[4];
            std::snprintf(num, sizeof num, "%03d", casilla);
            db->Execute(
                "INSERT INTO DET (tip_doc_d, doc_id_d, periodo, formulario, semana, casilla, i_valor, cNumero) "
                "VALUES (6, ?, '202611', '0841', 0, ?, ?, '000000')",
                {kRuc, std::string(num), valor});
        }
    }

    // The key: type, document padded to 15, form, period, week, control code.
    static std::string Clave() { return std::string("06") + kRuc + "    " + "0841" + "202611" + "0" + "AB12CD34"; }

    zvtest::RunResult Corre(const std::string& clave = Clave()) { return inst.RunProgram("zvreport", {clave}); }

    fs::path Copia(const char* ext) const {
        return inst.folder / (std::string(ext) == ".PRN" ? "RPT" : "TMP") / ("08412026110AB12CD34" + std::string(ext));
    }
    std::vector<std::string> Spool() { return Lineas(Copia(".PRN")); }
    std::vector<std::string> Texto() { return Lineas(Copia(".txt")); }

    std::vector<std::string> TextosSpool() {
        std::vector<std::string> out;
        for (const auto& l : Spool())
            if (l.rfind("pPos|", 0) == 0) out.push_back(TextoDe(l));
        return out;
    }
    static const std::string* Con(const std::vector<std::string>& ls, const std::string& inicio) {
        for (const auto& l : ls)
            if (l.find(inicio) != std::string::npos) return &l;
        return nullptr;
    }
};

TEST_F(ZvreportTest, AmountsEndAtCharacter54AndNegativeReturnsInParentheses) {
    Registra({});
    auto r = Corre();
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto textos = TextosSpool();
    struct Caso { const char* etiqueta; const char* fin; };
    for (Caso c : {Caso{"Aporte Obligatorio", "1,500"}, Caso{"Ap. voluntario", " 0"},
                   Caso{"Rentabilidad", "(25)"}, Caso{"TOTAL:", "1,475"}}) {
        const std::string* l = Con(textos, c.etiqueta);
        ASSERT_NE(l, nullptr) << c.etiqueta;
        EXPECT_EQ(l->size(), 54u) << *l;
        EXPECT_TRUE(l->ends_with(c.fin)) << *l;
    }
    auto texto = Texto();
    EXPECT_EQ(Con(texto, "Aporte Obligatorio")->size(), 44u);
    EXPECT_EQ(Con(texto, "Rentabilidad")->size(), 45u);
    EXPECT_EQ(*Con(texto, "Rentabilidad"), "Rentabilidad e intereses     " + std::string(12, ' ') + "(25)");
}

TEST_F(ZvreportTest, SpoolBeginsWithTagsAndRecordsEvery175Twips) {
    Registra({});
    ASSERT_EQ(Corre().exitCode, 0);
    auto s = Spool();
    ASSERT_GE(s.size(), 10u);
    EXPECT_EQ(s[0], "<!font!>Courier New<!/font!>");
    EXPECT_EQ(s[1], "<!nHojas!>1<!/nHojas!>");
    EXPECT_EQ(s[2], "pPos|10|175||False|8|0|");
    EXPECT_EQ(s[3], "<!Orientacion!>V<!/Orientacion!>");
    EXPECT_EQ(s[4], "<!Color!>&H80000005&<!/Color!>");
    // Records 2-5 are the four empty lines; the sixth carries the date.
    EXPECT_EQ(s[9].rfind("pPos|10|1050|          ", 0), 0u) << s[9];
    EXPECT_NE(s[9].find("Pag. 01/01"), std::string::npos);
    EXPECT_NE(Con(s, "DOCUMENTO        : 20100000001    |"), nullptr);
    EXPECT_NE(Con(s, "PERIODO          : 11/2026"), nullptr);
    EXPECT_NE(Con(s, "NC AB12CD34        Fec.Generación: "), nullptr);
    // Windows-1252 and CR LF on disk.
    std::string raw = zvtest::Bytes(Copia(".PRN"));
    EXPECT_NE(raw.find("Generaci\xF3n"), std::string::npos);
    EXPECT_NE(raw.find("<!/font!>\r\n"), std::string::npos);
}

struct CasoPago {
    const char* nombre;
    bool conCab;
    std::optional<std::string> cheque;
    const char* forma;
    const char* numero;  // nullptr: no cheque lines
    const char* banco;
};

class PagoTest : public ZvreportTest, public ::testing::WithParamInterface<CasoPago> {};

TEST_P(PagoTest, PaymentFormLines) {
    const CasoPago& c = GetParam();
    Declaracion d;
    d.conCab = c.conCab;
    d.cheque = c.cheque;
    Registra(d);
    auto r = Corre();
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto spool = TextosSpool();
    auto texto = Texto();
    EXPECT_NE(Con(spool, std::string("FORMA DE PAGO    : ") + c.forma), nullptr);
    EXPECT_NE(Con(texto, std::string("FORMA DE PAGO  : ") + c.forma), nullptr);
    if (!c.numero) {
        EXPECT_EQ(Con(spool, "NUMERO DE CHEQUE"), nullptr);
        EXPECT_EQ(Con(spool, "BANCO"), nullptr);
        EXPECT_EQ(Con(texto, "NUMERO CHEQUE"), nullptr);
        return;
    }
    ASSERT_NE(Con(spool, "NUMERO DE CHEQUE : "), nullptr);
    EXPECT_EQ(*Con(spool, "NUMERO DE CHEQUE : "), std::string(10, ' ') + "NUMERO DE CHEQUE : " + c.numero);
    EXPECT_EQ(*Con(spool, "BANCO            : "), std::string(10, ' ') + "BANCO            : " + c.banco);
    EXPECT_EQ(*Con(texto, "BANCO          : "), "BANCO          : " + zv::text::Left(c.banco, 20));
}

INSTANTIATE_TEST_SUITE_P(
    Casos, PagoTest,
    ::testing::Values(CasoPago{"Efectivo", true, std::nullopt, "EFECTIVO", nullptr, nullptr},
                      CasoPago{"ChequeEnBlanco", true, std::string("   "), "EFECTIVO", nullptr, nullptr},
                      CasoPago{"Cheque", true, std::string(" 00012345 "), "CHEQUE", "00012345",
                               "BANCO DE LA PRUEBA CON NOMBRE LARGO"},
                      CasoPago{"SinCabecera", false, std::nullopt, "CHEQUE", "", ""}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST_F(ZvreportTest, EmptyBoxShowsLabelAloneAndLongNameIsCutInTheTextCopy) {
    Declaracion d;
    d.casillas[591] = "";
    d.nombre = "ADMINISTRADORA PRIVADA DE FONDOS DE PENSIONES ÑANDÚ";
    Registra(d);
    ASSERT_EQ(Corre().exitCode, 0);
    EXPECT_EQ(*Con(TextosSpool(), "Ap. voluntario"), std::string(10, ' ') + "Ap. voluntario con fin prev.");
    EXPECT_EQ(*Con(TextosSpool(), "RAZON SOCIAL"), std::string(10, ' ') + "RAZON SOCIAL     : " + d.nombre);
    EXPECT_EQ(*Con(Texto(), "RAZON SOCIAL"), "RAZON SOCIAL   : ADMINISTRADORA PRIVA");
    // Empty lines of the text copy are one blank each.
    auto texto = Texto();
    EXPECT_EQ(texto.size(), 14u);
    EXPECT_EQ(texto[5], " ");
}

TEST_F(ZvreportTest, TwoRunsGiveTwoSpoolRowsReplaceTheCopiesAndLeaveNoTemporaryFile) {
    Registra({});
    ASSERT_EQ(Corre().exitCode, 0);
    ASSERT_EQ(Corre().exitCode, 0);
    auto db = Abrir();
    auto rs = db->OpenRecordset("SELECT * FROM SPOOL ORDER BY Archivo", dao::dbOpenSnapshot);
    std::vector<std::string> archivos;
    for (; !rs->EOF_(); rs->MoveNext()) {
        EXPECT_EQ(rs->Fields("CodRep").AsText(), "F84104");
        EXPECT_EQ(rs->Fields("Doc_id_d").AsText(), kRuc);  // trimmed
        EXPECT_EQ(rs->Fields("Usuario").AsText(), inst.user);
        archivos.push_back(rs->Fields("Archivo").AsText());
    }
    ASSERT_EQ(archivos, (std::vector<std::string>{"00000001.PRN", "00000002.PRN"}));
    EXPECT_TRUE(fs::exists(inst.folder / "RPT" / "00000001.PRN"));
    EXPECT_TRUE(fs::exists(inst.folder / "RPT" / "00000002.PRN"));
    EXPECT_EQ(zvtest::Bytes(Copia(".PRN")), zvtest::Bytes(inst.folder / "RPT" / "00000002.PRN"));
    std::vector<std::string> tmp;
    for (const auto& f : fs::directory_iterator(inst.folder / "TMP")) tmp.push_back(f.path().filename());
    EXPECT_EQ(tmp, (std::vector<std::string>{"08412026110AB12CD34.txt"}));
}

// The copies of an earlier run belong to whoever ran it: a run by another
// user replaces them (the folders let everyone write, the files too).
TEST_F(ZvreportTest, ARunByAnotherUserReplacesTheEarlierCopies) {
    Registra({});
    ASSERT_EQ(Corre().exitCode, 0);
    zvtest::AbreATodos(inst.folder.parent_path());
    auto r = zvtest::ComoOtroUsuario([&] { return Corre().exitCode; });
    if (!r) GTEST_SKIP() << "needs root to become another user";
    EXPECT_EQ(*r, 0);
    EXPECT_EQ(zvtest::Bytes(Copia(".PRN")), zvtest::Bytes(inst.folder / "RPT" / "00000002.PRN"));
    EXPECT_EQ(Texto().size(), 14u);
}

// The text copy is first written to a new file of TMP: a folder the user
// may not write is a permission error, not a missing path.
TEST_F(ZvreportTest, ATemporaryFolderThatCannotBeWrittenIsPermissionDenied) {
    Registra({});
    zvtest::AbreATodos(inst.folder.parent_path());
    fs::permissions(inst.folder / "TMP", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    // Root writes anywhere: as root the run is another user's, who leaves
    // its messages in a file of the installation.
    zvtest::RunResult r;
    const fs::path mensajes = inst.folder / "mensajes.txt";
    if (auto codigo = zvtest::ComoOtroUsuario([&] {
            auto suyo = Corre();
            std::ofstream(mensajes, std::ios::binary) << suyo.err;
            return suyo.exitCode;
        })) {
        r.exitCode = *codigo;
        r.err = zvtest::Bytes(mensajes);
    } else {
        r = Corre();
    }
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("Mensaje: Error tecnico:  70\nPermiso denegado: "), std::string::npos) << r.err;
    fs::permissions(inst.folder / "TMP", fs::perms::owner_write, fs::perm_options::add);
}

// A full report folder: the summary cannot be written. The error is told,
// and neither its SPOOL row nor its empty spool file stays behind; the
// temporary text file written before it does.
TEST_F(ZvreportTest, ASummaryThatCannotBeWrittenLeavesNoSpoolRowNorFile) {
    Registra({});
    const fs::path spool = inst.folder / "RPT" / "00000001.PRN";  // the first name of an empty SPOOL
    if (!zvtest::ArchivoDeDiscoLleno(spool)) GTEST_SKIP() << "no full device here";
    auto r = Corre();
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Mensaje: Error tecnico:  57\nError de E/S en el dispositivo\n"), std::string::npos) << r.err;
    auto db = Abrir();
    auto rs = db->OpenRecordset("SELECT count(*) FROM SPOOL", dao::dbOpenSnapshot);
    EXPECT_EQ(rs->Fields(0).AsLong(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(spool)));
    EXPECT_FALSE(fs::exists(Copia(".PRN")));
    EXPECT_FALSE(fs::is_empty(inst.folder / "TMP"));
}

TEST_F(ZvreportTest, MissingDeclarantEndsWithTheMessageAndWritesNothing) {
    Registra({});
    auto db = Abrir();
    db->Execute("DELETE FROM CONT");
    auto r = Corre();
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("Error: No existe data para Generar Reporte de Envio!!!"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(Copia(".PRN")));
    EXPECT_TRUE(fs::is_empty(inst.folder / "TMP"));
    EXPECT_TRUE(fs::is_empty(inst.folder / "RPT"));
}

// The host finds the workgroup file through ZVBAS.INI: a key that cannot be
// written there fails the open, with the open's message, and nothing is written.
TEST_F(ZvreportTest, AConfigurationThatCannotBeWrittenFailsTheOpen) {
    Registra({});
    const fs::path ini = inst.windir / "ZVBAS.INI";
    auto r = zvtest::SinPermisoDeEscritura(ini, inst.windir.parent_path(), [&] { return Corre(); });
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(r.err, "Mensaje: \nNo se puede escribir el archivo de configuración ZVBAS.INI: \"" + ini.string() +
                         "\".\nIntente nuevamente por favor.\n\n");
    EXPECT_TRUE(fs::is_empty(inst.folder / "TMP"));
    EXPECT_TRUE(fs::is_empty(inst.folder / "RPT"));
}

TEST_F(ZvreportTest, BoxOutsideTheKnownRangesIsATechnicalError) {
    Declaracion d;
    d.casillas[700] = "5";
    Registra(d);
    auto r = Corre();
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("Mensaje: Error tecnico:  9\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Intente nuevamente por favor."), std::string::npos);
    EXPECT_FALSE(fs::exists(Copia(".PRN")));
}

TEST_F(ZvreportTest, ShortKeyReadsEmptyFieldsAndFindsNoDeclarant) {
    Registra({});
    auto r = Corre("06201");
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("No existe data para Generar Reporte de Envio!!!"), std::string::npos);
}

TEST_F(ZvreportTest, DisplayWithoutXServerStillEndsOnAMessage) {
    // DISPLAY names no running server: the message goes to standard error
    // instead of the program aborting in the windowing system.
    auto env = inst.Env();
    env["ZARVO_MSGBOX"] = "";
    env["DISPLAY"] = ":9731";
    env["QT_QPA_PLATFORM"] = "";
    auto r = zvtest::Run("zvreport", {Clave()}, env, inst.folder);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.err.find("No existe data para Generar Reporte de Envio!!!"), std::string::npos) << r.err;
}

}  // namespace
