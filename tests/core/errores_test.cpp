#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "formulario/core/archivos.h"
#include "formulario/core/errores.h"
#include "formulario/core/estado.h"
#include "platform/dao/dao.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"
#include "tests/support/support.h"

namespace {

namespace fs = std::filesystem;
using zv::Answer;
using zvform::AbrirArchivo;
using zvform::ManejaError;

const char* const kTextoReintento =
    "Se ha excedido del número máximo de reintentos de acceso a una tabla. Posibles causas:\n"
    "1. Puede deberse a que un usuario este actualizando la misma tabla en este momento(BLOQUEOS).\n"
    "2. El usuario no tiene permisos de accesos sobre la tabla (PERMISOS).\n"
    "Si desea continuar reintentando esta operación presione REINTENTAR de\n"
    "lo contrario presione CANCELAR para la cancelación de esta operación.";

class ManejoDeErrores : public testing::Test {
protected:
    void SetUp() override {
        zvform::Estado::Reset();
        zvform::Estado::G().gEngine = std::make_unique<dao::DBEngine>();
        zv::SetMessageService(&mensajes);
        zvform::FijaCarpetaErrorLog(dir.path());
    }
    void TearDown() override {
        zvform::FijaCarpetaErrorLog({});
        zv::SetMessageService(nullptr);
        zvform::archivos::CierraTodos();
        zvform::Estado::Reset();
    }
    fs::path Log() const { return dir.path() / "errorlog.txt"; }

    zvtest::TempDir dir;
    zv::ScriptedMessages mensajes;
};

TEST_F(ManejoDeErrores, TablaOcupadaReintentaSinRegistrar) {
    mensajes.Push(Answer::Retry);
    EXPECT_EQ(ManejaError("VerificaTablaValor", dao::Error(40002, "S1000: [Microsoft] tabla bloqueada")), 0);
    ASSERT_EQ(mensajes.shown.size(), 1u);
    const auto& caja = mensajes.shown[0];
    EXPECT_EQ(caja.title, "Reintentos de acceso S1000");
    EXPECT_EQ(caja.text, kTextoReintento);
    EXPECT_EQ(caja.icon, zv::Icon::Warning);
    EXPECT_EQ(caja.buttons, zv::Buttons::RetryCancel);
    EXPECT_FALSE(fs::exists(Log()));
}

TEST_F(ManejoDeErrores, TablaOcupadaCanceladaTerminaSinRegistrar) {
    mensajes.Push(Answer::Cancel);
    EXPECT_EQ(ManejaError("CargaNumeroDocumento", dao::Error(40002, "S1000")), 1);
    ASSERT_EQ(mensajes.shown.size(), 2u);
    EXPECT_EQ(mensajes.shown[1].title, "AVISO!");
    EXPECT_EQ(mensajes.shown[1].text,
              "Proceso de recepción cancelado por el usuario.\nReintente la recepción del disquete nuevamente.");
    EXPECT_EQ(mensajes.shown[1].icon, zv::Icon::Warning);
    EXPECT_EQ(mensajes.shown[1].buttons, zv::Buttons::Ok);
    EXPECT_FALSE(fs::exists(Log()));
}

TEST_F(ManejoDeErrores, SinRespuestaNoReintentaParaSiempre) {
    // A box nobody answers takes its default button: Cancel.
    EXPECT_EQ(ManejaError("VerificaTablaValor", dao::Error(40002, "S1000")), 1);
}

TEST_F(ManejoDeErrores, OtroEstadoEsFatal) {
    for (const char* estado : {"S0002 tabla", "23000 clave", "S100"}) {
        mensajes.shown.clear();
        EXPECT_EQ(ManejaError("VerificaTablaValor", dao::Error(40002, estado)), 1) << estado;
        ASSERT_EQ(mensajes.shown.size(), 1u);
        EXPECT_EQ(mensajes.shown[0].title, "Error crítico: 40002 (Rutina: VerificaTablaValor) ");
        EXPECT_EQ(mensajes.shown[0].icon, zv::Icon::Critical);
    }
    std::string log = zv::text::ReadAll(Log());
    EXPECT_NE(log.find("Descripción del error : [40002] S0002 tabla\r\n"), std::string::npos);
    EXPECT_NE(log.find("Descripción del error : [40002] 23000 clave\r\n"), std::string::npos);
}

TEST_F(ManejoDeErrores, FatalConTresErroresDelMotor) {
    zvform::Estado::G().gEngine->RecordErrors(
        {{3022, "Clave duplicada en F841DETDES."}, {3621, "Índice PK_F841DETDES."}, {3000, "Error reservado."}});
    EXPECT_EQ(ManejaError("CmdGrabar_Click", dao::Error(3022, "No se pudo grabar: clave duplicada")), 1);

    const std::string linea3 = "Descripción del error : [3022] No se pudo grabar: clave duplicada";
    const std::string mensaje = "\n\n" + linea3 +
                                ". No se puede continuar con la ejecución del módulo\n\n"
                                "Clave duplicada en F841DETDES.\nÍndice PK_F841DETDES.\nError reservado.\n";
    ASSERT_EQ(mensajes.shown.size(), 1u);
    EXPECT_EQ(mensajes.shown[0].text, mensaje);
    EXPECT_EQ(mensajes.shown[0].title, "Error crítico: 3022 (Rutina: CmdGrabar_Click) ");
    EXPECT_EQ(mensajes.shown[0].buttons, zv::Buttons::Ok);

    std::string bytes = zvtest::Bytes(Log());
    std::regex entrada(
        "Fecha y Hora del error: \\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d (AM|PM)\r\n"
        "Error producido en    : CmdGrabar_Click\r\n");
    EXPECT_TRUE(std::regex_search(bytes, entrada)) << bytes;
    std::string resto = bytes.substr(bytes.find("Descripci"));
    EXPECT_EQ(resto, zv::text::ToCp1252(linea3 + "\r\n" + mensaje + "\r\n"));
    EXPECT_NE(bytes.find("Descripci\xF3n"), std::string::npos);  // Windows-1252 on disk
}

TEST_F(ManejoDeErrores, ElRegistroSeAgrega) {
    ManejaError("Form_Load", zv::Error(53, "No se encontró el archivo"));
    ManejaError("Form_Load", zv::Error(62, "La entrada pasó el final del archivo"));
    std::string log = zv::text::ReadAll(Log());
    EXPECT_NE(log.find("[53] No se encontró el archivo"), std::string::npos);
    EXPECT_NE(log.find("[62] La entrada pasó el final del archivo"), std::string::npos);
    EXPECT_LT(log.find("[53]"), log.find("[62]"));
}

TEST_F(ManejoDeErrores, RegistroImposibleIgualMuestraElMensaje) {
    fs::path conBlanco = dir.path() / "Mis programas";
    fs::create_directories(conBlanco);
    zvform::FijaCarpetaErrorLog(conBlanco);
    mensajes.Push(Answer::Cancel);  // the bad-name box of the log
    EXPECT_EQ(ManejaError("VerificaTablaValor", dao::Error(3000, "Error de sintaxis")), 1);
    ASSERT_EQ(mensajes.shown.size(), 2u);
    EXPECT_EQ(mensajes.shown[0].text, "El nombre de archivo es inválido.");
    EXPECT_EQ(mensajes.shown[1].title, "Error crítico: 3000 (Rutina: VerificaTablaValor) ");
    EXPECT_FALSE(fs::exists(conBlanco / "errorlog.txt"));
}

TEST_F(ManejoDeErrores, ErroresAjenosCuentanComo51) {
    EXPECT_EQ(ManejaError("Form_Load", std::runtime_error("falla")), 1);
    EXPECT_EQ(mensajes.shown.at(0).title, "Error crítico: 51 (Rutina: Form_Load) ");
}

// --- AbrirArchivo / MensajeErrorArchivo ---

TEST_F(ManejoDeErrores, BlancoEnLaRutaHastaCancelar) {
    fs::path carpeta = dir.path() / "con blanco";
    fs::create_directories(carpeta);
    mensajes.Push(Answer::Retry);
    mensajes.Push(Answer::Retry);
    mensajes.Push(Answer::Cancel);
    EXPECT_EQ(AbrirArchivo((carpeta / "a.txt").string(), 1), 0);
    ASSERT_EQ(mensajes.shown.size(), 3u);
    for (const auto& caja : mensajes.shown) {
        EXPECT_EQ(caja.text, "El nombre de archivo es inválido.");
        EXPECT_EQ(caja.title, "Error de Archivo");
        EXPECT_EQ(caja.buttons, zv::Buttons::RetryCancel);
        EXPECT_EQ(caja.icon, zv::Icon::Warning);
    }
    EXPECT_FALSE(fs::exists(carpeta / "a.txt"));
}

TEST_F(ManejoDeErrores, CaracteresProhibidos) {
    for (char c : std::string(";<=>?[*]")) {
        mensajes.shown.clear();
        std::string ruta = (dir.path() / (std::string("a") + c + "b.txt")).string();
        EXPECT_EQ(AbrirArchivo(ruta, 1), 0) << c;
        EXPECT_EQ(mensajes.shown.size(), 1u) << c;
    }
}

TEST_F(ManejoDeErrores, Modo5VerificadoSinArchivo) {
    std::string ruta = (dir.path() / "falta.bin").string();
    EXPECT_EQ(AbrirArchivo(ruta, 5, 0, true), 0);
    ASSERT_EQ(mensajes.shown.size(), 1u);
    EXPECT_EQ(mensajes.shown[0].text, "No existe archivo: " + ruta);
    EXPECT_EQ(mensajes.shown[0].title, "ERROR!");
    EXPECT_EQ(mensajes.shown[0].icon, zv::Icon::Critical);
    EXPECT_EQ(mensajes.shown[0].buttons, zv::Buttons::Ok);
}

TEST_F(ManejoDeErrores, Modo2SinArchivo) {
    std::string ruta = (dir.path() / "falta.txt").string();
    mensajes.Push(Answer::Cancel);
    EXPECT_EQ(AbrirArchivo(ruta, 2, 0, true), 0);  // the flag has no effect in mode 2
    ASSERT_EQ(mensajes.shown.size(), 1u);
    EXPECT_EQ(mensajes.shown[0].text, "El archivo no se encuentra.");
    EXPECT_EQ(mensajes.shown[0].buttons, zv::Buttons::RetryCancel);
}

TEST_F(ManejoDeErrores, ReintentoTrasCrearElArchivo) {
    fs::path ruta = dir.path() / "llega.txt";
    // A service that creates the file when it is asked to retry.
    struct CreaAlReintentar : zv::MessageService {
        fs::path ruta;
        int veces = 0;
        Answer Show(const zv::MessageRequest&) override {
            ++veces;
            zv::text::WriteAll(ruta, "hola\n");
            return Answer::Retry;
        }
    } servicio;
    servicio.ruta = ruta;
    zv::SetMessageService(&servicio);
    int n = AbrirArchivo(ruta.string(), 2);
    EXPECT_GT(n, 0);
    EXPECT_EQ(servicio.veces, 1);
    std::string linea;
    ASSERT_TRUE(zvform::archivos::Lector(n).ReadLine(linea));
    EXPECT_EQ(linea, "hola");
    zvform::archivos::Cierra(n);
}

TEST_F(ManejoDeErrores, CarpetaInexistente) {
    mensajes.Push(Answer::Cancel);
    EXPECT_EQ(AbrirArchivo((dir.path() / "no" / "a.txt").string(), 1), 0);
    ASSERT_EQ(mensajes.shown.size(), 1u);
    EXPECT_EQ(mensajes.shown[0].text, "El path no existe.");
}

TEST_F(ManejoDeErrores, ModosYNumeros) {
    fs::path ruta = dir.path() / "datos.txt";
    EXPECT_EQ(AbrirArchivo(ruta.string(), 7), 0);
    EXPECT_EQ(AbrirArchivo(ruta.string(), 0), 0);
    EXPECT_TRUE(mensajes.shown.empty());

    int salida = AbrirArchivo(ruta.string(), 1);
    ASSERT_GT(salida, 0);
    zvform::archivos::Escritor(salida).WriteLine("uno");
    mensajes.Push(Answer::Cancel);
    EXPECT_EQ(AbrirArchivo(ruta.string(), 3), 0);  // already open for output
    EXPECT_EQ(mensajes.shown.at(0).text, "El archivo ya está abierto.");
    zvform::archivos::Cierra(salida);

    int agrega = AbrirArchivo(ruta.string(), 3);
    int otro = AbrirArchivo((dir.path() / "otro.bin").string(), 6);
    EXPECT_NE(agrega, otro);
    zvform::archivos::Escritor(agrega).WriteLine("dos");
    std::fputs("xy", zvform::archivos::Binario(otro));
    zvform::archivos::Cierra(agrega);
    zvform::archivos::Cierra(otro);
    EXPECT_EQ(zvtest::Bytes(ruta), "uno\r\ndos\r\n");
    EXPECT_EQ(zvtest::Bytes(dir.path() / "otro.bin"), "xy");

    int lee = AbrirArchivo((dir.path() / "otro.bin").string(), 5, 0, true);
    ASSERT_GT(lee, 0);
    EXPECT_EQ(std::fgetc(zvform::archivos::Binario(lee)), 'x');
    int aleatorio = AbrirArchivo((dir.path() / "reg.dat").string(), 4, 16);
    EXPECT_EQ(zvform::archivos::LargoRegistro(aleatorio), 16);
}

TEST(MensajeErrorArchivo, NumerosDeLaTabla) {
    zv::ScriptedMessages mensajes;
    zv::SetMessageService(&mensajes);
    struct Caso {
        long numero;
        const char* texto;
    };
    const Caso casos[] = {
        {52, "El nombre de archivo es inválido."},
        {64, "El nombre de archivo es inválido."},
        {53, "El archivo no se encuentra."},
        {54, "No es posible abrir el archivo para el tipo de acceso."},
        {55, "El archivo ya está abierto."},
        {57, "El diskette está lleno."},
        {62, "Este archivo no tiene un marcador standard de fin-de-archivo,o fué hecho un intento de leer "
             "después de la marca de fin-de-archivo."},
        {68, "El dispositivo no está disponible."},
        {71, "La disketera no está lista."},
        {76, "El path no existe."},
    };
    for (const Caso& c : casos) {
        mensajes.shown.clear();
        mensajes.Push(Answer::Retry);
        EXPECT_EQ(zvform::MensajeErrorArchivo(c.numero), 0);
        mensajes.Push(Answer::Cancel);
        EXPECT_EQ(zvform::MensajeErrorArchivo(c.numero), 2);
        ASSERT_EQ(mensajes.shown.size(), 2u);
        EXPECT_EQ(mensajes.shown[0].text, c.texto) << c.numero;
        EXPECT_EQ(mensajes.shown[0].title, "Error de Archivo");
    }
    mensajes.shown.clear();
    for (long otro : {0L, 13L, 70L, 75L, 3022L}) EXPECT_EQ(zvform::MensajeErrorArchivo(otro), 3);
    EXPECT_TRUE(mensajes.shown.empty());
    zv::SetMessageService(nullptr);
}

}  // namespace
