// Failures during an import: reject files that cannot be written, errors of
// the transfer and of the driver, a killed process. None leaves a row of
// the run behind.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <optional>

#include "formulario/core/control.h"
#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/import/archivo.h"
#include "platform/dao/dao.h"
#include "platform/textfile.h"
#include "tests/support/conexion_prueba.h"
#include "tests/import/entorno.h"
#include "tests/support/disco_lleno.h"
#include "tests/support/lectura_que_falla.h"

namespace zvimport::prueba {
namespace {

using zvform::Estado;
using Lineas_ = std::vector<std::string>;

// A valid line of its own document number.
std::string LineaDocumento(int n, const char* aporte = "100.00") {
    char doc[16];
    std::snprintf(doc, sizeof doc, "%08d", n);
    return std::string("20100070970|01|") + doc +
           "|01021970|ROJAS|VEGA|ANA|2|QWERTY123456|01011996|01092007|01|RS9|1|202301|1000.00|" + aporte + "|0|0|";
}

bool NoSeAbreParaEscribir(const fs::path& ruta) {
    std::FILE* f = std::fopen(ruta.c_str(), "ab");
    if (f) std::fclose(f);
    return !f && errno == EACCES;
}

// Makes `ruta` a file this thread cannot open for writing while it lives;
// false when the system gives no way to (the test is then skipped). The file
// is only readable; root, who passes over that, lays the power down for the
// while, or else (where the system refuses that) the name leads to a file
// the kernel refuses to root too, if /proc or /sys has one.
class Bloqueo {
public:
    explicit Bloqueo(fs::path ruta) : ruta_(std::move(ruta)) {
        fs::remove(ruta_);
        zv::text::WriteAll(ruta_, "");
        fs::permissions(ruta_, fs::perms::owner_read);
        if (NoSeAbreParaEscribir(ruta_)) {
            bloqueado_ = true;
            return;
        }
        sinPoder_.emplace();
        if (sinPoder_->Activo() && NoSeAbreParaEscribir(ruta_)) {
            bloqueado_ = true;
            return;
        }
        sinPoder_.reset();
        for (const char* delSistema : {"/proc/sys/kernel/osrelease", "/sys/kernel/notes"}) {
            fs::remove(ruta_);
            fs::create_symlink(delSistema, ruta_);
            if (NoSeAbreParaEscribir(ruta_)) {
                bloqueado_ = true;
                return;
            }
        }
    }
    ~Bloqueo() {
        sinPoder_.reset();
        std::error_code ec;
        fs::remove(ruta_, ec);
    }
    Bloqueo(const Bloqueo&) = delete;
    Bloqueo& operator=(const Bloqueo&) = delete;
    explicit operator bool() const { return bloqueado_; }

private:
    fs::path ruta_;
    bool bloqueado_ = false;
    std::optional<zvtest::SinPasarPorEncimaDePermisos> sinPoder_;
};

TEST_F(ImportacionTest, LogQueNoSePuedeAbrirSeNombraYLaTransferenciaSigue) {
    const Bloqueo bloqueo(Log());
    if (!bloqueo) GTEST_SKIP() << "no file here refuses writing";
    ArchivoDeDatos("duplicado.txt");
    importacion_->CmdGrabar_Click();
    ASSERT_EQ(mensajes_.shown.size(), 1u);  // once for the run, not once per reject
    EXPECT_EQ(mensajes_.shown[0].text,
              "Permiso denegado\nCierre el Archivo " + Log().string() + "\nIntente nuevamente por favor.");
    EXPECT_EQ(mensajes_.shown[0].title, "Error");
    EXPECT_EQ(mensajes_.shown[0].icon, zv::Icon::Critical);
    EXPECT_EQ(formulario_.rechazados, "2 registro(s) rechazado(s)") << "both lines were still checked";
    EXPECT_EQ(formulario_.preguntas.size(), 1u);
    EXPECT_EQ(Cuenta("F841DETDES"), 0);
}

TEST_F(ImportacionTest, ErrQueNoSePuedeAbrirSeNombraYElLogQuedaEscrito) {
    const Bloqueo bloqueo(Err());
    if (!bloqueo) GTEST_SKIP() << "no file here refuses writing";
    ArchivoDeDatos("vacia_final.txt");
    importacion_->CmdGrabar_Click();
    ASSERT_GE(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].text,
              "Permiso denegado\nCierre el Archivo " + Err().string() + "\nIntente nuevamente por favor.");
    EXPECT_EQ(Lineas(Log()), (Lineas_{""}));
    EXPECT_EQ(formulario_.habilitaciones, 1);
}

// Any other failure (here a report folder that is missing) is told by its
// number and description; every line is still checked.
TEST_F(ImportacionTest, RechazosSinCarpetaDeReportesDanErrorTecnicoYLaTransferenciaSigue) {
    Estado::G().gRutaRpt = (dir_.path() / "sin_carpeta/").string();
    ArchivoDeDatos("duplicado.txt");
    importacion_->CmdGrabar_Click();
    ASSERT_GE(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].text, "Error tecnico: 76\nNo se encontró la ruta de acceso\nIntente nuevamente por favor.");
    EXPECT_EQ(mensajes_.shown[0].title, "Error");
    EXPECT_EQ(mensajes_.shown[0].icon, zv::Icon::Critical);
    for (std::size_t i = 1; i < mensajes_.shown.size(); ++i)
        EXPECT_EQ(mensajes_.shown[i].text.find("Error tecnico: 76"), std::string::npos) << "told once per run";
    EXPECT_EQ(formulario_.habilitaciones, 2);
    EXPECT_EQ(formulario_.rechazados, "2 registro(s) rechazado(s)");
    EXPECT_EQ(formulario_.preguntas.size(), 1u);
    for (const char* tabla : {"F841DETDES", "CAB", "DET"}) EXPECT_EQ(Cuenta(tabla), 0) << tabla;
}

// A full report folder: every reject fails to be written. The user is told
// once for the run, and every line is still checked.
TEST_F(ImportacionTest, LogEnCarpetaLlenaSeAvisaUnaVezYLaTransferenciaSigue) {
    if (!zvtest::ArchivoDeDiscoLleno(Log())) GTEST_SKIP() << "no full device here";
    Lineas_ lineas;
    for (int i = 0; i < 20; ++i) lineas.push_back(LineaDocumento(i, "X"));  // an amount that is none
    ArchivoConLineas(lineas);
    importacion_->CmdGrabar_Click();
    EXPECT_EQ(TextosMostrados(),
              (Lineas_{"Error tecnico: 57\nError de E/S en el dispositivo\nIntente nuevamente por favor."}));
    EXPECT_EQ(formulario_.rechazados, "20 registro(s) rechazado(s)");
    EXPECT_EQ(formulario_.preguntas.size(), 1u);
    for (const char* tabla : {"F841DETDES", "CAB", "DET", "SPOOL"}) EXPECT_EQ(Cuenta(tabla), 0) << tabla;

    // The next run is told again.
    mensajes_.shown.clear();
    importacion_->CmdGrabar_Click();
    EXPECT_EQ(TextosMostrados().size(), 1u);
}

// The transfer-errors report cannot be written (a full report folder): it
// is told, nothing is shown, and neither its SPOOL row nor its file stays
// behind for the host to list.
TEST_F(ImportacionTest, ReporteDeErroresQueNoSePuedeEscribirNoQuedaRegistrado) {
    const fs::path spool = RutaRpt() / "00000001.PRN";  // the first name of an empty SPOOL
    if (!zvtest::ArchivoDeDiscoLleno(spool)) GTEST_SKIP() << "no full device here";
    ArchivoDeDatos("duplicado.txt");
    formulario_.respuesta = zv::Answer::Yes;
    importacion_->CmdGrabar_Click();
    EXPECT_EQ(TextosMostrados(), (Lineas_{"Error Técnico : ( 57) Error de E/S en el dispositivo"}));
    EXPECT_EQ(formulario_.preguntas.size(), 1u);
    EXPECT_EQ(Cuenta("SPOOL"), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(spool)));
    EXPECT_TRUE(formulario_.reportesMostrados.empty());
    EXPECT_TRUE(formulario_.rangos.empty());
    EXPECT_EQ(Lineas(Log()).size(), 2u) << "the reject logs are written all the same";
}

// The affiliates file fails to be read after its first lines (a medium
// pulled out, a failing disk): the import ends through its error trap, and
// nothing of it is stored.
TEST_F(ImportacionTest, ArchivoQueFallaAlLeerseDeshaceTodoYLoDice) {
    std::string contenido;
    for (int i = 0; i < 20; ++i) contenido += LineaDocumento(i) + "\r\n";
    const std::size_t doceLineas = 12 * (LineaDocumento(0).size() + 2);
    // The structure check reads the file whole; the transfer's reading fails.
    zvtest::LecturaQueFalla archivo(carpeta_ / (std::string(kBase) + ".TXT"), contenido, doceLineas, 1);
    importacion_->CmdGrabar_Click();
    EXPECT_EQ(archivo.Servidas(), 2);
    EXPECT_EQ(TextosMostrados(), (Lineas_{"Error Tecnico: 57 Error de E/S en el dispositivo"}));
    EXPECT_FALSE(Base().InTransaction());
    for (const char* tabla : {"F841DETDES", "CAB", "DET"}) EXPECT_EQ(Cuenta(tabla), 0) << tabla;
    EXPECT_TRUE(formulario_.preguntas.empty());
    EXPECT_EQ(formulario_.habilitaciones, 1);
    EXPECT_EQ(formulario_.marcos, (std::vector<bool>{true, false}));
}

TEST_F(ImportacionTest, GraboLogDeUnaViolacionDeClaveDejaSoloLaClave) {
    importacion_->Campos.CodigoError = "0228";
    std::string clave = ClaveRechazo(kLinea1);
    importacion_->GraboLog(Log().string(), kLinea1, Err().string(), clave);
    EXPECT_EQ(Lineas(Err()), (Lineas_{"20100070970 01 12345678        202301 "}));
    EXPECT_EQ(importacion_->LogIniciado, 1);
}

// ---- the transfer's error routine --------------------------------------------

TEST_F(ImportacionTest, ErroresTransferenciaPorNumero) {
    auto& im = *importacion_;
    im.TransferenciaEnCurso = true;
    EXPECT_TRUE(im.Errores_Transferencia(zv::Error(3022, "clave duplicada")));
    EXPECT_EQ(im.Campos.CodigoError, "0228");
    EXPECT_TRUE(im.TransferenciaEnCurso);
    EXPECT_TRUE(mensajes_.shown.empty());
    EXPECT_FALSE(im.Errores_Transferencia(zv::Error(0, "")));
    EXPECT_TRUE(mensajes_.shown.empty());

    const std::vector<std::tuple<long, std::string, std::string>> casos = {
        {5, "Seleccionar directorio donde se encuentran\nlos archivos a transferir", "Mensaje"},
        {53, "En la ruta indicada, no se encuentra el archivo a transferir, verifique la ruta", "Error"},
        {3024, "En la ruta indicada, no se encuentra el archivo a transferir, verifique la ruta", "Error"},
        {3011, "En la ruta indicada, no se encuentra el archivo a transferir, verifique la ruta", "Error"},
        {3051, "¡El archivo se encuentra abierto!\nIntente nuevamente por favor.", "Error"},
        {40002, "Error Tecnico: 40002 S1000 tabla ocupada", "Error"},
    };
    for (const auto& [numero, texto, titulo] : casos) {
        im.TransferenciaEnCurso = true;
        int antes = formulario_.habilitaciones;
        EXPECT_FALSE(im.Errores_Transferencia(zv::Error(numero, "S1000 tabla ocupada")));
        ASSERT_FALSE(mensajes_.shown.empty());
        EXPECT_EQ(mensajes_.shown.back().text, texto);
        EXPECT_EQ(mensajes_.shown.back().title, titulo);
        EXPECT_FALSE(im.TransferenciaEnCurso);
        EXPECT_EQ(formulario_.habilitaciones, antes + 1);
    }
}

TEST(RetornaCampo, CamposDeUnaLinea) {
    EXPECT_EQ(RetornaCampo("A|B|C|", "1"), "B");
    EXPECT_EQ(RetornaCampo("A|B|", "5"), "");
    EXPECT_EQ(RetornaCampo(" x |B|", "0"), "x");
    EXPECT_EQ(RetornaCampo("sin separador", "0"), "");
    // Lines and fields of any length.
    std::string largo(300, 'L');
    std::string linea = largo + "|" + largo + "|fin|";
    EXPECT_EQ(RetornaCampo(linea, "1"), largo);
    EXPECT_EQ(RetornaCampo(linea, "2"), "fin");
    EXPECT_EQ(ClaveRechazo(""), "");
    EXPECT_EQ(ClaveRechazo("|01|" + std::string(20, '9') + "|"),
              std::string(11, ' ') + " 01 " + std::string(15, '9') + " " + std::string(6, ' '));
}

// ---- boxes ---------------------------------------------------------------------

TEST_F(ImportacionTest, GrabarCasillaVaciaNoEscribe) {
    for (const char* valor : {"", "   ", "________"})
        EXPECT_FALSE(importacion_->GrabarCasilla("590", valor, kRuc, kPeriodo)) << valor;
    EXPECT_EQ(Cuenta("DET"), 0);
}

TEST_F(ImportacionTest, GrabarCasillaReescribeUnaFilaExistente) {
    Base().Execute("INSERT INTO DET (tip_doc_d, doc_id_d, periodo, formulario, semana, casilla, i_valor, idcasilla, "
                   "estado, cNumero) VALUES (6, ?, ?, '0841', 0, '590', '7', 'XX', 5, '000000')",
                   {kRuc, kPeriodo});
    EXPECT_TRUE(importacion_->GrabarCasilla("590", "1234.5", kRuc, kPeriodo));
    EXPECT_TRUE(importacion_->GrabarCasilla("593", "12", std::string(kRuc) + "  ", kPeriodo));
    EXPECT_EQ(Cuenta("DET"), 2);
    auto rs = Base().OpenRecordset("SELECT * FROM DET ORDER BY casilla", dao::dbOpenDynaset);
    EXPECT_EQ(rs->Fields("i_valor").AsText(), "1235");  // half away from zero
    EXPECT_EQ(rs->Fields("idcasilla").AsText(), "05");
    EXPECT_EQ(rs->Fields("estado").AsText(), "0");
    EXPECT_EQ(rs->Fields("cNumero").AsText(), zvform::SumaControlRegistro(*rs, 6));
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("i_valor").AsText(), "12");
    EXPECT_EQ(rs->Fields("doc_id_d").AsText(), kRuc);
    EXPECT_TRUE(importacion_->GrabarCasilla("592", "-0.5", kRuc, kPeriodo));
    EXPECT_EQ(Casillas()["592"], "-1");
}

// ---- one transaction -------------------------------------------------------------

TEST_F(ImportacionTest, TotalQueDesbordaTerminaSinFilasNiSumaErrada) {
    Lineas_ lineas;
    for (int i = 0; i < 1000; ++i) lineas.push_back(LineaDocumento(i, "999999999999.99"));
    ArchivoConLineas(lineas);
    importacion_->CmdGrabar_Click();
    ASSERT_EQ(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].text, "Error Tecnico: 6 Desbordamiento");
    EXPECT_EQ(formulario_.habilitaciones, 1);
    for (const char* tabla : {"F841DETDES", "CAB", "DET"}) EXPECT_EQ(Cuenta(tabla), 0) << tabla;
    EXPECT_TRUE(formulario_.preguntas.empty());
    EXPECT_EQ(formulario_.marcos, (std::vector<bool>{true, false}));
}

TEST_F(ImportacionTest, ErrorAlEscribirLaCabeceraDeshaceTodoYTermina) {
    ArchivoDeDatos("limpio.txt");
    ASSERT_EQ(sqlite3_exec(zvtest::Conexion(Base()),
                           "CREATE TEMP TRIGGER falla_cab BEFORE INSERT ON main.CAB BEGIN SELECT RAISE(ABORT, 'falla'); END",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    try {
        importacion_->CmdGrabar_Click();
        FAIL() << "the program should have ended";
    } catch (const ProgramaTerminado& t) {
        EXPECT_EQ(t.codigo, 1);
    }
    sqlite3_exec(zvtest::Conexion(Base()), "DROP TRIGGER temp.falla_cab", nullptr, nullptr, nullptr);
    ASSERT_FALSE(mensajes_.shown.empty());
    EXPECT_EQ(mensajes_.shown.back().title.rfind("Error crítico: ", 0), 0u) << mensajes_.shown.back().title;
    EXPECT_NE(mensajes_.shown.back().title.find("CmdGrabar_Click"), std::string::npos);
    EXPECT_FALSE(Base().InTransaction());
    for (const char* tabla : {"F841DETDES", "CAB", "DET"}) EXPECT_EQ(Cuenta(tabla), 0) << tabla;
    // The form can import again.
    importacion_->CmdGrabar_Click();
    EXPECT_EQ(Cuenta("F841DETDES"), 3);
}

// The disk fills up while the transfer writes the detail: the transfer
// tells it, the engine has already undone the transaction, and the form
// goes back to idle with the program running.
TEST_F(ImportacionTest, DiscoLlenoEnLaTransferenciaNoTerminaElProgramaNiDejaFilas) {
    zvtest::DiscoLleno disco;
    Estado::G().gBase.reset();
    ASSERT_TRUE(zvform::LeerIni());  // the connection now writes through the disk
    // A page cache smaller than the file, as a large file finds it: the rows
    // reach the disk during the transfer, not only at the commit.
    ASSERT_EQ(sqlite3_exec(zvtest::Conexion(Base()), "PRAGMA cache_size = 10", nullptr, nullptr, nullptr), SQLITE_OK);
    Lineas_ lineas;
    for (int i = 0; i < 500; ++i) lineas.push_back(LineaDocumento(i));
    ArchivoConLineas(lineas);
    disco.Llena(0);
    try {
        importacion_->CmdGrabar_Click();
    } catch (const ProgramaTerminado& t) {
        FAIL() << "the program ended with " << t.codigo;
    }
    ASSERT_GT(disco.Rechazos(), 0);
    EXPECT_EQ(TextosMostrados(), (Lineas_{"Error Tecnico: 3026 No hay espacio suficiente en el disco."}));
    EXPECT_FALSE(Base().InTransaction());
    EXPECT_EQ(formulario_.marcos, (std::vector<bool>{true, false}));
    disco.Libera();
    for (const char* tabla : {"F841DETDES", "CAB", "DET"}) EXPECT_EQ(Cuenta(tabla), 0) << tabla;

    // With space again the same file goes in whole.
    mensajes_.shown.clear();
    importacion_->CmdGrabar_Click();
    EXPECT_EQ(TextosMostrados(), (Lineas_{"Archivo : " + carpeta_.string() + "/" + kBase + ".TXT transferido"}));
    EXPECT_EQ(Cuenta("F841DETDES"), 500);
    EXPECT_EQ(Cuenta("CAB"), 1);
    EXPECT_EQ(Cuenta("DET"), 6);
}

// A table busy at the header's write: the user retries and the import
// goes on from the failed statement.
class ReintentaTrasOcupada : public zv::MessageService {
public:
    explicit ReintentaTrasOcupada(sqlite3* db) : db_(db) {}
    zv::Answer Show(const zv::MessageRequest& r) override {
        shown.push_back(r);
        if (r.title.rfind("Reintentos de acceso", 0) != 0) return zv::DefaultAnswer(r);
        sqlite3_exec(db_, "DROP TRIGGER temp.ocupada_cab", nullptr, nullptr, nullptr);
        return zv::Answer::Retry;
    }
    std::vector<zv::MessageRequest> shown;

private:
    sqlite3* db_;
};

TEST_F(ImportacionTest, TablaOcupadaAlEscribirLaCabeceraSeReintenta) {
    ArchivoDeDatos("limpio.txt");
    ASSERT_EQ(sqlite3_exec(zvtest::Conexion(Base()),
                           "CREATE TEMP TRIGGER ocupada_cab BEFORE INSERT ON main.CAB BEGIN "
                           "SELECT RAISE(ABORT, 'ZV40002:CAB'); END",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    ReintentaTrasOcupada servicio(zvtest::Conexion(Base()));
    zv::SetMessageService(&servicio);
    importacion_->CmdGrabar_Click();
    zv::SetMessageService(&mensajes_);
    ASSERT_EQ(servicio.shown.size(), 2u);
    EXPECT_EQ(servicio.shown[0].buttons, zv::Buttons::RetryCancel);
    EXPECT_EQ(servicio.shown[1].text, "Archivo : " + carpeta_.string() + "/" + kBase + ".TXT transferido");
    EXPECT_EQ(Cuenta("F841DETDES"), 3);
    EXPECT_EQ(Cuenta("CAB"), 1);
    EXPECT_EQ(Cuenta("DET"), 6);
}

// A process killed in the middle of a file leaves nothing of it.
TEST_F(ImportacionTest, ProcesoMatadoNoDejaFilas) {
    Lineas_ lineas;
    for (int i = 0; i < 3000; ++i) lineas.push_back(LineaDocumento(i));
    ArchivoConLineas(lineas);
    Estado::G().gBase.reset();  // the child opens its own connection
    pid_t hijo = ::fork();
    ASSERT_GE(hijo, 0);
    if (hijo == 0) {
        zvform::Estado::Reset();
        if (!zvform::LeerIni()) ::_exit(2);
        FormularioDePrueba formulario;
        formulario.carpeta = carpeta_.string();
        formulario.alEscribirContador = [&] {
            if (formulario.transferidos.rfind("2000 ", 0) == 0) ::raise(SIGKILL);
        };
        Importacion importacion(formulario);
        importacion.CmdGrabar_Click();
        ::_exit(3);
    }
    int estado = 0;
    ASSERT_EQ(::waitpid(hijo, &estado, 0), hijo);
    ASSERT_TRUE(WIFSIGNALED(estado)) << "exit " << WEXITSTATUS(estado);
    EXPECT_EQ(WTERMSIG(estado), SIGKILL);
    ASSERT_TRUE(zvform::LeerIni());
    for (const char* tabla : {"F841DETDES", "CAB", "DET"}) EXPECT_EQ(Cuenta(tabla), 0) << tabla;
}

}  // namespace
}  // namespace zvimport::prueba
