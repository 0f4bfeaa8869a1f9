// The import form's rules without a window: the expected file name and the
// file that carries it, the period bounds, the drives and the numbers and
// messages of their failures.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "formulario/core/estado.h"
#include "formulario/import/seleccion.h"
#include "formulario/import/unidades.h"
#include "platform/msgbox.h"
#include "tests/support/support.h"

namespace zvimport {
namespace {

namespace fs = std::filesystem;

void Toca(const fs::path& archivo) { std::ofstream(archivo) << "x"; }

TEST(KeyNombreArchivo, IsTheStemOnlyForAnElevenCharacterRucAndASixCharacterPeriod) {
    EXPECT_EQ(KeyNombreArchivo("20142829551", "200801"), "084120080120142829551");
    EXPECT_EQ(KeyNombreArchivo("20142829551", "____01"), "0841____0120142829551");  // period not yet typed
    EXPECT_EQ(KeyNombreArchivo("2014282955", "200801"), "");
    EXPECT_EQ(KeyNombreArchivo("20142829551", "20081"), "");
    EXPECT_EQ(KeyNombreArchivo("201428295512", "200801"), "");
}

TEST(ItemDeclarante, ReadsTheRucAndCharacters12To61AsTheName) {
    const std::string item = std::string("20142829551") + std::string(9, ' ') + std::string(41, 'N') + "CORTADO";
    EXPECT_EQ(RucDeItem(item), "20142829551");
    EXPECT_EQ(NombreDeItem(item), std::string(41, 'N'));  // 9 blanks and 41 letters make the 50 characters
    EXPECT_EQ(PeriodoDeTexto("01/2008"), "200801");
    EXPECT_EQ(PeriodoDeTexto("__/____"), "______");
}

TEST(ArchivoEsperado, FindsTheFileInAnyLetterCaseAndNoOther) {
    zvtest::TempDir dir;
    const std::string carpeta = dir.path().string();
    const std::string stem = "084120080120142829551";
    EXPECT_EQ(ArchivoEsperado(carpeta, stem), "");
    Toca(dir.path() / "084120080120142829551.log");
    Toca(dir.path() / "084120080220142829551.txt");
    Toca(dir.path() / "084120080120157036794.txt");
    fs::create_directory(dir.path() / "084120080120142829551.TXT.d");
    EXPECT_EQ(ArchivoEsperado(carpeta, stem), "");
    Toca(dir.path() / "084120080120142829551.txt");
    EXPECT_EQ(ArchivoEsperado(carpeta, stem), "084120080120142829551.txt");
    fs::rename(dir.path() / "084120080120142829551.txt", dir.path() / "084120080120142829551.Txt");
    EXPECT_EQ(ArchivoEsperado(carpeta, stem), "084120080120142829551.Txt");
    EXPECT_EQ(ArchivoEsperado(carpeta, ""), "");
    EXPECT_EQ(ArchivoEsperado(carpeta, "0841____0120142829551"), "");
}

TEST(ArchivoEsperado, ListsTheFileTheImportReadsWhenTwoDifferOnlyInCase) {
    zvtest::TempDir dir;
    Toca(dir.path() / "084120080120142829551.txt");
    Toca(dir.path() / "084120080120142829551.TXT");
    EXPECT_EQ(ArchivoEsperado(dir.path().string(), "084120080120142829551"), "084120080120142829551.TXT");
}

TEST(ValidaPerMensual, AcceptsOctober2007UpToTheBoundAndRealMonthsOnly) {
    struct Caso {
        const char* texto;
        int tipo;
        bool valido;
    };
    const Caso casos[] = {
        {"10/2007", 0, true},  {"09/2007", 0, false}, {"12/2026", 0, true},  {"01/2027", 0, false},
        {"13/2008", 0, false}, {"13/2008", 1, true},  {"00/2008", 0, false}, {"0_/2008", 0, false},
        {"__/____", 0, false}, {"00/0000", 1, false},
    };
    for (const auto& c : casos)
        EXPECT_EQ(ValidaPerMensual(c.texto, kPrimerPeriodo, " 202612 ", c.tipo), c.valido) << c.texto << " " << c.tipo;
}

class RevisaDatosTest : public testing::Test {
protected:
    void SetUp() override { zv::SetMessageService(&mensajes_); }
    void TearDown() override { zv::SetMessageService(nullptr); }
    zv::ScriptedMessages mensajes_;
};

TEST_F(RevisaDatosTest, RefusesWithTheFirstFailingChecksMessage) {
    const zvform::Fecha hoy{2026, 12, 10};
    const std::string item = "20142829551         PROFUTURO AFP";
    struct Caso {
        std::string declarante, periodo;
        FallaDatos falla;
        const char* texto;
        const char* titulo;
    };
    const Caso casos[] = {
        {"", "01/2008", FallaDatos::Declarante, "Debe seleccionar algún número de RUC",
         "Importar información de afiliados"},
        {item, "__/____", FallaDatos::Periodo, "Debe registrar el periodo de la declaración", "Mensaje"},
        {item, "01/2___", FallaDatos::Periodo, "El periodo de la declaración no es válido", "Mensaje"},
        {item, "09/2007", FallaDatos::Periodo, "El periodo de la declaración no es válido", "Mensaje"},
        {item, "01/2027", FallaDatos::Periodo, "El periodo de la declaración no es válido", "Mensaje"},
        {item, "13/2008", FallaDatos::Periodo, "El periodo de la declaración no es válido", "Mensaje"},
        {item, "10/2007", FallaDatos::Ninguna, nullptr, nullptr},
        {item, "12/2026", FallaDatos::Ninguna, nullptr, nullptr},
    };
    for (const auto& c : casos) {
        mensajes_.shown.clear();
        EXPECT_EQ(RevisaDatos(c.declarante, c.periodo, hoy), c.falla) << c.periodo;
        if (!c.texto) {
            EXPECT_TRUE(mensajes_.shown.empty()) << c.periodo;
            continue;
        }
        ASSERT_EQ(mensajes_.shown.size(), 1u) << c.periodo;
        EXPECT_EQ(mensajes_.shown[0].text, c.texto);
        EXPECT_EQ(mensajes_.shown[0].title, c.titulo);
        EXPECT_EQ(mensajes_.shown[0].icon, zv::Icon::Information);
    }
}

TEST(ClasificaFalla, GivesTheDriveMessagesNumbers) {
    struct Caso {
        int errno_;
        bool raiz;
        int numero;
    };
    const Caso casos[] = {
        {0, true, 0},         {ENOENT, true, 68},  {ENOENT, false, 76}, {ENODEV, true, 68},
        {ENOTDIR, true, 76},  {EACCES, true, 71},  {EACCES, false, 71}, {EIO, true, 71},
        {ENOMEDIUM, true, 71}, {ETIMEDOUT, false, 71}, {ENOMEM, false, 75},
    };
    for (const auto& c : casos) {
        std::error_code ec = c.errno_ ? std::error_code(c.errno_, std::generic_category()) : std::error_code();
        EXPECT_EQ(ClasificaFalla(ec, c.raiz).numero, c.numero) << c.errno_;
    }
}

TEST(MensajeErrorUnidad, NamesTheDriveAsTheTableSays) {
    EXPECT_EQ(MensajeErrorUnidad({68, ""}, "USB"),
              "Driver USB seleccionado no está disponible.\nEstá seleccionando un driver que no existe.\n"
              "Intente nuevamente por favor.");
    EXPECT_EQ(MensajeErrorUnidad({71, ""}, "USB"), "El disquete no está listo. Verifique.");
    EXPECT_EQ(MensajeErrorUnidad({76, ""}, "USB"),
              "Ruta de Directorio no encontrado en Driver:USB\nVerifique el correcto colocado del disquete.\n"
              "Intente nuevamente por favor.");
    EXPECT_EQ(MensajeErrorUnidad({75, "Cannot allocate memory"}, "USB"),
              "Error tecnico:  75\nCannot allocate memory\nIntente nuevamente por favor.");
}

TEST(Unidades, ADriveIsReadableUntilItsFolderGoesOrItsMediumIsUnmounted) {
    zvtest::TempDir dir;
    const fs::path raiz = dir.path() / "usb";
    fs::create_directories(raiz / "b");
    fs::create_directories(raiz / "A");
    fs::create_directories(raiz / ".oculta");
    Toca(raiz / "archivo.txt");
    Unidad unidad{"USB", raiz.string(), false};
    EXPECT_EQ(RevisaUnidad(unidad).numero, 0);
    std::vector<std::string> nombres;
    EXPECT_EQ(LeeSubcarpetas(raiz.string(), nombres).numero, 0);
    EXPECT_EQ(nombres, (std::vector<std::string>{"A", "b"}));

    // A medium whose mount folder stayed behind after it was unplugged.
    EXPECT_EQ(RevisaUnidad({"USB", raiz.string(), true}).numero, 68);
    EXPECT_EQ(RevisaUnidad({"Raíz", "/", true}).numero, 0);  // the root is always mounted

    EXPECT_EQ(LeeSubcarpetas((raiz / "archivo.txt").string(), nombres).numero, 76);
    fs::remove_all(raiz);
    EXPECT_EQ(RevisaUnidad(unidad).numero, 68);
    EXPECT_EQ(LeeSubcarpetas((raiz / "b").string(), nombres).numero, 76);
}

// The mount table a chroot has (its root is not listed in it), or none at
// all where /proc is not mounted.
class TablaDeMontajesPropia {
public:
    explicit TablaDeMontajesPropia(const fs::path& ruta) : anterior_(TablaDeMontajes()) { TablaDeMontajes() = ruta; }
    ~TablaDeMontajesPropia() { TablaDeMontajes() = anterior_; }

private:
    std::string anterior_;
};

TEST(Unidades, TheRootAndTheHomeFolderNeedNoMountTableOnlyMediaDo) {
    zvtest::TempDir dir;
    const fs::path casa = dir.path() / "casa", usb = dir.path() / "usb", suelto = dir.path() / "suelto";
    for (const auto& carpeta : {casa, usb, suelto}) fs::create_directories(carpeta);
    zvtest::ScopedEnv home("HOME", casa.string());
    const fs::path tabla = dir.path() / "mounts";
    std::ofstream(tabla) << "/dev/sdb1 " << usb.string() << " vfat rw 0 0\n";

    for (const fs::path& montajes : {tabla, dir.path() / "sin-proc"}) {
        TablaDeMontajesPropia propia(montajes);
        EXPECT_EQ(RevisaUnidad({"Raíz", "/", true}).numero, 0) << montajes;
        EXPECT_EQ(RevisaUnidad({"Personal", casa.string(), true}).numero, 0) << montajes;
        // A folder on the same device as the one above it is no medium.
        EXPECT_EQ(RevisaUnidad({"USB", suelto.string(), true}).numero, 68) << montajes;
        const auto unidades = UnidadesDelSistema();
        ASSERT_GE(unidades.size(), 2u);
        EXPECT_EQ(unidades[0].raiz, "/");
        EXPECT_EQ(unidades[1].raiz, casa.string());
    }
    TablaDeMontajesPropia propia(tabla);
    EXPECT_EQ(RevisaUnidad({"USB", usb.string(), true}).numero, 0);  // listed: mounted
}

TEST(Unidades, APathBelongsToTheDriveWithTheLongestRootThatHoldsIt) {
    const std::vector<Unidad> unidades{{"Raíz", "/"}, {"Personal", "/home/ana"}, {"USB", "/media/ana/USB"}};
    EXPECT_EQ(UnidadDeRuta(unidades, "/media/ana/USB/datos"), 2);
    EXPECT_EQ(UnidadDeRuta(unidades, "/media/ana/USB2"), 0);
    EXPECT_EQ(UnidadDeRuta(unidades, "/home/ana"), 1);
    EXPECT_EQ(UnidadDeRuta(unidades, "/home/ana/"), 1);
    EXPECT_EQ(UnidadDeRuta(unidades, "/usr"), 0);
    EXPECT_EQ(UnidadDeRuta({{"USB", "/media/ana/USB"}}, "/usr"), -1);
    EXPECT_EQ(CaminoDesdeRaiz("/media/ana/USB", "/media/ana/USB/a/b"),
              (std::vector<std::string>{"/media/ana/USB", "/media/ana/USB/a", "/media/ana/USB/a/b"}));
    EXPECT_EQ(CaminoDesdeRaiz("/", "/work"), (std::vector<std::string>{"/", "/work"}));
    EXPECT_EQ(CaminoDesdeRaiz("/media/ana/USB", "/usr"), (std::vector<std::string>{"/media/ana/USB"}));
}

TEST(Unidades, TheSystemListStartsWithTheRootAndTheHomeFolder) {
    zvtest::ScopedEnv home("HOME", "/root");
    const auto unidades = UnidadesDelSistema();
    ASSERT_GE(unidades.size(), 2u);
    EXPECT_EQ(unidades[0].raiz, "/");
    EXPECT_EQ(unidades[1].nombre, "Personal");
    EXPECT_EQ(unidades[1].raiz, "/root");
    for (std::size_t i = 2; i < unidades.size(); ++i) {
        EXPECT_TRUE(unidades[i].montaje);
        EXPECT_TRUE(unidades[i].raiz.rfind("/media", 0) == 0 || unidades[i].raiz.rfind("/run/media/", 0) == 0 ||
                    unidades[i].raiz.rfind("/mnt", 0) == 0)
            << unidades[i].raiz;
    }
}

}  // namespace
}  // namespace zvimport
