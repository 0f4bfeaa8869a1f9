// The import form offscreen on the demo installation: its controls, the
// declarant and period choosing the file, the drives and folders, and the
// import run in it (progress, layout, results, rejects, closing refused).
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include <sqlite3.h>

#include "formulario/app/abridores.h"
#include "formulario/core/errores.h"
#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/core/termina.h"
#include "formulario/core/ui/mdi_frm.h"
#include "formulario/core/widgets/ritmo_pantalla.h"
#include "formulario/core/widgets/twips.h"
#include "formulario/import/seleccion.h"
#include "formulario/import/ui/frm_importar.h"
#include "formulario/import/unidades.h"
#include "platform/cursor.h"
#include "platform/dao/dao.h"
#include "platform/filenames.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"
#include "tests/support/conexion_prueba.h"
#include "tests/support/disco_lleno.h"
#include "tests/support/support.h"
#include "tests/support/textos_cortados.h"

namespace fs = std::filesystem;
using zvform::Estado;
using zvimport::ui::FrmImportar;

namespace {

constexpr const char* kTitulo = "Importar información de afiliados";
constexpr const char* kRuc = "20142829551";  // the demo file's declarant, first in the list
constexpr const char* kArchivo = "084120080120142829551.TXT";

struct ProgramaTerminado {
    int codigo;
};

// What the form looked like each time the import yielded to the window system.
struct Vista {
    bool marco;
    int progreso;
    int alto;
    int arribaBotones;
    bool visible;
    bool botonesCubiertos;  // what lies at the buttons' centres is the frame
    bool eleccionesFijas;   // declarant, period, drive and folder cannot change
};

dao::Database& Base() { return *Estado::G().gBase; }

long Cuenta(const std::string& sql, const std::vector<dao::Value>& params = {}) {
    auto rs = Base().OpenRecordset("SELECT COUNT(*) FROM " + sql, dao::dbOpenSnapshot, params);
    return static_cast<long>(rs->Fields(0).AsLong());
}

std::string Texto(const std::string& sql) {
    auto rs = Base().OpenRecordset(sql, dao::dbOpenSnapshot);
    return rs->EOF_() ? "<sin fila>" : rs->Fields(0).AsText();
}

std::vector<std::string> LineasDe(const fs::path& archivo) {
    std::vector<std::string> lineas;
    zv::text::TextReader lector(archivo);
    for (std::string l; lector.ReadLine(l);) lineas.push_back(l);
    return lineas;
}

void EscribeLineas(const fs::path& archivo, const std::vector<std::string>& lineas) {
    zv::text::TextWriter w(archivo, zv::text::WriteMode::Output);
    for (const auto& l : lineas) w.WriteLine(l);
    w.Close();
}

// The count a result label shows ("12 registro(s) ...", "0          Registro(s) ...").
int Numero(const QString& etiqueta) { return etiqueta.section(' ', 0, 0).toInt(); }

// The demo file's first line as the affiliate of document number `documento`.
std::string LineaConDocumento(const std::string& primera, int documento) {
    std::string l = primera;
    l.replace(l.find("40123456"), 8, std::to_string(documento));
    return l;
}

// Counts the paintings of a widget.
class Pinturas : public QObject {
public:
    int veces = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++veces;
        return false;
    }
};

// An event posted at one yield to the window system: delivered by the next one.
constexpr QEvent::Type kEventoDePrueba = QEvent::Type(QEvent::User + 24);
class Recibidos : public QObject {
public:
    int veces = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() != kEventoDePrueba) return QObject::event(event);
        ++veces;
        return true;
    }
};

}  // namespace

class FrmImportarTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zvtest::Installation> instalacion;
    std::unique_ptr<zvtest::TempDir> dir;
    fs::path uno, dos;
    fs::path carpetaInicial = fs::current_path();  // LeerIni moves it
    zv::ScriptedMessages mensajes;
    std::vector<std::pair<std::string, std::string>> reportes;
    std::vector<std::pair<std::string, int>> rangos;
    std::function<void()> alCeder;  // runs each time the import yields
    std::unique_ptr<FrmImportar> frm;

    fs::path Demo() const { return instalacion->folder / "demo" / kArchivo; }

    template <class T>
    T* Hijo(const char* nombre) {
        T* control = frm->findChild<T*>(nombre);
        if (!control) qWarning("no control %s", nombre);
        return control;
    }
    QComboBox* CmbRuc() { return Hijo<QComboBox>("CmbRuc"); }
    QLineEdit* MkePeriodo() { return Hijo<QLineEdit>("MkePeriodo"); }
    QComboBox* DrvLst() { return Hijo<QComboBox>("DrvLst"); }
    QListWidget* DirList() { return Hijo<QListWidget>("DirList"); }
    QListWidget* Archivos() { return Hijo<QListWidget>("flListaFiles"); }
    QPushButton* Aceptar() { return Hijo<QPushButton>("CmdGrabar"); }
    QString Etiqueta(const char* nombre) { return Hijo<QLabel>(nombre)->text(); }

    void Abre() {
        frm = std::make_unique<FrmImportar>();
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm.get()));
    }
    void TecleaPeriodo(const QString& digitos) {
        MkePeriodo()->setFocus();
        MkePeriodo()->setCursorPosition(0);
        QTest::keyClicks(MkePeriodo(), digitos);
    }
    // The declarant of the demo file, a period, and its file selected.
    void Prepara(const QString& periodo = "012008") {
        CmbRuc()->setCurrentIndex(0);
        TecleaPeriodo(periodo);
        if (Archivos()->count() > 0) Archivos()->item(0)->setSelected(true);
    }
    std::vector<std::string> Textos() const {
        std::vector<std::string> out;
        for (const auto& m : mensajes.shown) out.push_back(m.text);
        return out;
    }
    std::map<std::string, std::string> Casillas() {
        std::map<std::string, std::string> out;
        auto rs = Base().OpenRecordset("SELECT Casilla, i_valor FROM DET WHERE doc_id_d = ? AND periodo = '200801'",
                                       dao::dbOpenSnapshot, {kRuc});
        for (; !rs->EOF_(); rs->MoveNext()) out[rs->Fields(0).AsText()] = rs->Fields(1).AsText();
        return out;
    }
    Vista Mira() {
        auto* marco = Hijo<QGroupBox>("Frame3");
        bool cubiertos = true;
        for (const char* boton : {"CmdGrabar", "CmdCancelar"}) {
            QWidget* encima = frm->childAt(Hijo<QWidget>(boton)->geometry().center());
            cubiertos = cubiertos && encima && (encima == marco || marco->isAncestorOf(encima));
        }
        const bool fijas = !CmbRuc()->isEnabled() && !MkePeriodo()->isEnabled() && !DrvLst()->isEnabled() &&
                           !DirList()->isEnabled() && !Archivos()->isEnabled();
        return {marco->isVisible(), Hijo<QProgressBar>("pbar1")->value(), frm->height(), Aceptar()->y(),
                frm->isVisible(), cubiertos, fijas};
    }

private slots:
    void initTestCase() {
        zvtest::Installation::Options opciones;
        opciones.demo = true;
        opciones.runSetup = true;
        instalacion = std::make_unique<zvtest::Installation>(opciones);
    }
    void cleanupTestCase() { instalacion.reset(); }

    void init() {
        Estado::Reset();
        dir = std::make_unique<zvtest::TempDir>();
        zv::SetMessageService(&mensajes);
        mensajes.shown.clear();
        mensajes.answers.clear();
        zvform::FijaCarpetaErrorLog(dir->path());
        zvform::InstalaTerminador([](int codigo) { throw ProgramaTerminado{codigo}; });
        QVERIFY(zvform::LeerIni());
        for (const char* tabla : {"F841DETDES", "CAB", "DET", "SPOOL"})
            Base().Execute(std::string("DELETE FROM ") + tabla);
        for (const auto& f : fs::directory_iterator(Estado::G().gRutaRpt)) fs::remove_all(f.path());

        uno = dir->path() / "uno";
        dos = dir->path() / "dos";
        fs::create_directories(uno);
        fs::create_directories(dos);
        fs::copy_file(Demo(), uno / kArchivo);
        zvimport::FuenteDeUnidades() = [this] {
            return std::vector<zvimport::Unidad>{{"UNO", uno.string(), false}, {"DOS", dos.string(), false}};
        };
        reportes.clear();
        rangos.clear();
        auto& abridores = zvform::ui::MDIFrm::Abridores();
        abridores.muestraReporte = [this](const std::string& archivo, const std::string& modo) {
            reportes.emplace_back(archivo, modo);
            return true;
        };
        abridores.abrirRangoPaginas = [this](const std::string& archivo, int paginas) {
            rangos.emplace_back(archivo, paginas);
        };
        alCeder = nullptr;
        zv::InstallEventPump([this] {
            if (alCeder) alCeder();
            QCoreApplication::processEvents();
        });
    }

    void cleanup() {
        frm.reset();
        zv::InstallEventPump(nullptr);
        zvform::RitmoDePantalla::FuenteDeReloj() = [] { return std::chrono::steady_clock::now(); };
        zvform::ui::MDIFrm::Abridores() = {};
        zvimport::FuenteDeUnidades() = zvimport::UnidadesDelSistema;
        zvform::InstalaTerminador(nullptr);
        zvform::FijaCarpetaErrorLog({});
        zv::SetMessageService(nullptr);
        fs::current_path(carpetaInicial);
        Estado::Reset();
        dir.reset();
    }

    // ---- the form at opening -------------------------------------------------

    void controlsCarryTheirNamesCaptionsAndPlaces() {
        Abre();
        QCOMPARE(frm->windowTitle(), QString(kTitulo));
        QCOMPARE(frm->size(), QSize(zvform::TwipsX(6840, frm.get()), zvform::TwipsY(6190, frm.get())));
        struct Control {
            const char* nombre;
            const char* texto;
            QRect twips;
        };
        const Control controles[] = {
            {"Frame2", "Declarante", {120, 120, 6555, 1395}},
            {"Frame1", "Archivo", {120, 1560, 6555, 2580}},
            {"Frame4", "Resultados de la Importación", {120, 4200, 6555, 855}},
            {"Frame3", "Espere un momento...", {120, 5100, 6615, 915}},
            {"CmbRuc", nullptr, {240, 480, 1520, 315}},
            {"txtNombre", nullptr, {1920, 480, 3735, 315}},
            {"MkePeriodo", nullptr, {240, 1020, 825, 285}},
            {"DrvLst", nullptr, {240, 720, 2595, 315}},
            {"DirList", nullptr, {3000, 720, 3375, 1665}},
            {"flListaFiles", nullptr, {240, 1320, 2595, 1065}},
            {"lblTransferidos", "0          Registro(s) transferido(s)", {240, 300, 2655, 195}},
            {"lblRechazados", "0          Registro(s) rechazado(s)", {240, 600, 2715, 195}},
            {"CmdGrabar", "&Aceptar", {3480, 5260, 1575, 375}},
            {"CmdCancelar", "&Salir", {5100, 5260, 1575, 375}},
            {"lblbar1", "", {240, 360, 5415, 255}},
            {"pbar1", nullptr, {240, 600, 6060, 255}},
        };
        for (const auto& c : controles) {
            QWidget* w = Hijo<QWidget>(c.nombre);
            QVERIFY2(w, c.nombre);
            const QRect& t = c.twips;
            const QRect lugar = zvform::RectTwips(t.x(), t.y(), t.width(), t.height(), frm.get());
            if (qobject_cast<QLabel*>(w)) {  // a label may grow to its text, from its place
                QCOMPARE(w->pos(), lugar.topLeft());
                QCOMPARE(w->height(), lugar.height());
                QVERIFY(w->width() >= lugar.width());
                QVERIFY(w->geometry().right() < w->parentWidget()->width());
            } else {
                QCOMPARE(w->geometry(), lugar);
            }
            if (!c.texto) continue;
            QString texto;
            if (auto* g = qobject_cast<QGroupBox*>(w)) texto = g->title();
            else if (auto* l = qobject_cast<QLabel*>(w)) texto = l->text();
            else if (auto* b = qobject_cast<QPushButton*>(w)) texto = b->text();
            QCOMPARE(texto, QString(c.texto));
        }
        QVERIFY(!Hijo<QGroupBox>("Frame3")->isVisible());
        QCOMPARE(Hijo<QProgressBar>("pbar1")->maximum(), 10);

        // No label's text is cut.
        for (QLabel* l : frm->findChildren<QLabel*>())
            QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->width(), qPrintable(l->text()));

        // Each label names its control.
        const std::pair<const char*, QWidget*> companeros[] = {
            {"Número de RUC", CmbRuc()},          {"Nombre o razón social", Hijo<QWidget>("txtNombre")},
            {"Periodo", MkePeriodo()},            {"Unidades de Disco :", DrvLst()},
            {"Directorios :", DirList()},         {"Archivos a Importar :", Archivos()},
        };
        for (const auto& [texto, control] : companeros) {
            QLabel* etiqueta = nullptr;
            for (QLabel* l : frm->findChildren<QLabel*>())
                if (l->text() == QString(texto)) etiqueta = l;
            QVERIFY2(etiqueta, texto);
            QCOMPARE(etiqueta->buddy(), control);
        }

        // The tab order begins with the declarant and ends the buttons.
        std::vector<QString> orden;
        QWidget* w = CmbRuc();
        for (int i = 0; i < 200 && orden.size() < 6; ++i, w = w->nextInFocusChain())
            if ((w->focusPolicy() & Qt::TabFocus) && w->window() == frm.get() && !w->objectName().isEmpty() &&
                w->objectName() != "qt_spinbox_lineedit")
                orden.push_back(w->objectName());
        QCOMPARE(orden, (std::vector<QString>{"CmbRuc", "MkePeriodo", "DrvLst", "DirList", "CmdGrabar", "CmdCancelar"}));
    }

    // In the forms' letter every text shows whole in the places the layout
    // gives: each declarant's RUC in the declarant list, the expected file
    // name (25 characters) without a scroll bar, the counters' letters
    // with their descenders.
    void noTextIsCutByItsControl() {
        Abre();
        const QStringList cortados = zvtest::TextosCortados(*frm);
        QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join("; ")));
        for (QLabel* contador : {Hijo<QLabel>("lblTransferidos"), Hijo<QLabel>("lblRechazados")}) {
            const QFontMetrics medidas = contador->fontMetrics();
            QVERIFY2(medidas.ascent() + medidas.descent() <= contador->contentsRect().height(),
                     qPrintable(contador->text()));
        }

        QStyleOptionComboBox opcion;
        opcion.initFrom(CmbRuc());
        opcion.editable = false;
        const QRect campo =
            CmbRuc()->style()->subControlRect(QStyle::CC_ComboBox, &opcion, QStyle::SC_ComboBoxEditField, CmbRuc());
        for (int i = 0; i < CmbRuc()->count(); ++i) {
            const QString ruc = CmbRuc()->itemText(i).left(11);
            QVERIFY2(CmbRuc()->fontMetrics().horizontalAdvance(ruc) <= campo.width(), qPrintable(ruc));
        }

        Prepara();
        QCOMPARE(Archivos()->count(), 1);
        const QString nombre = Archivos()->item(0)->text();
        QCOMPARE(nombre.size(), 25);
        Archivos()->doItemsLayout();
        QCOMPARE(Archivos()->horizontalScrollBar()->maximum(), 0);
        QVERIFY(Archivos()->visualItemRect(Archivos()->item(0)).width() <= Archivos()->viewport()->width());
        QVERIFY(Archivos()->fontMetrics().horizontalAdvance(nombre) <= Archivos()->viewport()->width());
    }

    void opensWithNoChoiceAndTheFirstDriveWhenNoneHoldsTheProgram() {
        Abre();
        QCOMPARE(CmbRuc()->count(), 4);
        QCOMPARE(CmbRuc()->currentIndex(), -1);
        QCOMPARE(CmbRuc()->itemText(0).left(11), QString(kRuc));
        auto* nombre = Hijo<QLineEdit>("txtNombre");
        QVERIFY(!nombre->isEnabled());
        QCOMPARE(nombre->text(), QString());
        QCOMPARE(MkePeriodo()->displayText(), QString("__/____"));
        QCOMPARE(DrvLst()->count(), 2);
        QCOMPARE(DrvLst()->currentText(), QString::fromStdString("UNO [" + uno.string() + "]"));
        QCOMPARE(frm->Carpeta(), uno.string());
        QCOMPARE(Archivos()->count(), 0);
        QVERIFY(mensajes.shown.empty());
    }

    void opensAtTheProgramsOwnFolderAndDrive() {
        zvimport::FuenteDeUnidades() = zvimport::UnidadesDelSistema;
        Abre();
        const std::string programa = zv::files::ProgramFolder().string();
        QCOMPARE(frm->Carpeta(), programa);
        const auto unidades = zvimport::UnidadesDelSistema();
        const int unidad = zvimport::UnidadDeRuta(unidades, programa);
        QVERIFY(unidad >= 0);
        QCOMPARE(DrvLst()->currentText(), QString::fromStdString(zvimport::TextoUnidad(unidades[unidad])));
        // The folder list shows the way down from the drive's root, the program's folder last.
        QCOMPARE(DirList()->item(0)->data(Qt::UserRole).toString(), QString::fromStdString(unidades[unidad].raiz));
        QCOMPARE(DirList()->currentItem()->data(Qt::UserRole).toString(), QString::fromStdString(programa));
    }

    void withoutDeclarantsTheFormClosesItself() {
        Estado::G().gUsuario = "nadie";  // no declarant belongs to this user
        frm = std::make_unique<FrmImportar>();
        QVERIFY(!frm->DeclarantesCargados());
        QTimer::singleShot(5000, frm.get(), [this] { frm->done(QDialog::Accepted); });  // never left hanging
        QCOMPARE(frm->exec(), int(QDialog::Rejected));
        QCOMPARE(mensajes.shown.size(), size_t(1));
        QVERIFY(QString::fromStdString(mensajes.shown[0].text).startsWith("No existen declarantes registrados."));
    }

    // ---- declarant, period and file list --------------------------------------

    void thePeriodTypedDigitByDigitListsTheFileOnlyAtTheLastDigit() {
        for (const char* otro : {"084120080120157036794.TXT", "084120080220142829551.TXT", "084120080120142829551.log"})
            fs::copy_file(Demo(), uno / otro);
        Abre();
        CmbRuc()->setCurrentIndex(0);
        QCOMPARE(Hijo<QLineEdit>("txtNombre")->text(), QString("PROFUTURO AFP"));
        QCOMPARE(Estado::G().gRazonSocial, std::string("PROFUTURO AFP"));
        QCOMPARE(Archivos()->count(), 0);
        Estado::G().gRazonSocial = "sin tocar";
        MkePeriodo()->setFocus();
        MkePeriodo()->setCursorPosition(0);
        const QString digitos = "012008";
        for (int i = 0; i < digitos.size(); ++i) {
            QTest::keyClick(MkePeriodo(), digitos[i].toLatin1());
            QCOMPARE(Archivos()->count(), i + 1 < digitos.size() ? 0 : 1);
        }
        QCOMPARE(MkePeriodo()->displayText(), QString("01/2008"));
        QCOMPARE(Archivos()->item(0)->text(), QString(kArchivo));
        QVERIFY(!Archivos()->item(0)->isSelected());  // the user picks it
        QCOMPARE(Estado::G().gRazonSocial, std::string("sin tocar"));  // the period does not set the name

        // The same name in small letters is the same file.
        fs::rename(uno / kArchivo, uno / "084120080120142829551.txt");
        CmbRuc()->setCurrentIndex(1);
        QCOMPARE(Archivos()->count(), 0);
        CmbRuc()->setCurrentIndex(0);
        QCOMPARE(Archivos()->count(), 1);
        QCOMPARE(Archivos()->item(0)->text(), QString("084120080120142829551.txt"));
    }

    void periodsOutsideOctober2007ToThisMonthAreRefused() {
        const zvform::Fecha hoy = zvform::Hoy();
        const zvform::Fecha siguiente = hoy.mes == 12 ? zvform::Fecha{hoy.anio + 1, 1, 1} : zvform::Fecha{hoy.anio, hoy.mes + 1, 1};
        auto mmaaaa = [](const zvform::Fecha& f) { return QString::asprintf("%02d%04d", f.mes, f.anio); };
        Abre();
        CmbRuc()->setCurrentIndex(0);
        struct Caso {
            QString periodo;
            bool valido;
        };
        const Caso casos[] = {{"092007", false}, {mmaaaa(siguiente), false}, {"132008", false},
                              {"102007", true},  {mmaaaa(hoy), true}};
        for (const auto& c : casos) {
            mensajes.shown.clear();
            MkePeriodo()->clear();
            TecleaPeriodo(c.periodo);
            QCOMPARE(frm->Valida_Datos(), c.valido);
            if (c.valido) {
                QVERIFY2(mensajes.shown.empty(), qPrintable(c.periodo));
                continue;
            }
            QCOMPARE(Textos(), (std::vector<std::string>{"El periodo de la declaración no es válido"}));
            QCOMPARE(mensajes.shown[0].title, std::string("Mensaje"));
        }

        // "&Aceptar" with a refused period writes nothing.
        MkePeriodo()->clear();
        Prepara("132008");
        mensajes.shown.clear();
        Aceptar()->click();
        QCOMPARE(Textos(), (std::vector<std::string>{"El periodo de la declaración no es válido"}));
        QCOMPARE(Cuenta("CAB"), 0L);
        QCOMPARE(Etiqueta("lblTransferidos"), QString("0          Registro(s) transferido(s)"));
    }

    void aFileNotSelectedIsNotImported() {
        Abre();
        CmbRuc()->setCurrentIndex(0);
        TecleaPeriodo("012008");
        QCOMPARE(Archivos()->count(), 1);
        Aceptar()->click();
        QCOMPARE(Textos(), (std::vector<std::string>{"No se ha encontrado el archivo del detalle de afiliados para "
                                                     "el RUC y periodo seleccionado"}));
        QCOMPARE(Cuenta("F841DETDES"), 0L);
    }

    // ---- the import ------------------------------------------------------------

    void aCleanImportWritesTheDeclarationAndShowsItsProgress() {
        Abre();
        Prepara();
        std::vector<Vista> vistas;
        alCeder = [&] { vistas.push_back(Mira()); };
        Aceptar()->click();

        const std::string archivo = (uno / kArchivo).string();
        QCOMPARE(Textos(), (std::vector<std::string>{"Archivo : " + archivo + " transferido"}));
        QCOMPARE(mensajes.shown[0].title, std::string(kTitulo));
        QCOMPARE(mensajes.shown[0].icon, zv::Icon::Information);
        QCOMPARE(Cuenta("F841DETDES WHERE tip_doc_d = 6 AND doc_id_d = ? AND periodo = '200801' AND formulario = '0841'",
                        {kRuc}),
                 12L);
        QCOMPARE(Texto("SELECT tip_doc_d || '|' || doc_id_d || '|' || periodo || '|' || formulario || '|' || semana "
                       "|| '|' || rectifica || '|' || estado FROM CAB"),
                 std::string("6|20142829551|200801|0841|0|0|9"));
        QCOMPARE(Cuenta("CAB"), 1L);
        QCOMPARE(Casillas(), (std::map<std::string, std::string>{{"590", "3155"},
                                                                 {"591", "430"},
                                                                 {"592", "118"},
                                                                 {"593", "12"},
                                                                 {"597", "3703"},
                                                                 {"598", "3703"}}));
        QCOMPARE(Etiqueta("lblTransferidos"), QString("12 registro(s) transferido(s)"));
        QCOMPARE(Etiqueta("lblRechazados"), QString("0 registro(s) rechazado(s)"));
        QCOMPARE(Etiqueta("lblbar1"), QString("Proceso finalizado satisfactoriamente."));
        QCOMPARE(Hijo<QProgressBar>("pbar1")->value(), 10);

        // While it ran: the frame over the buttons, the form taller, the
        // buttons higher; afterwards the idle layout again.
        QVERIFY(vistas.size() >= 13);  // once before the transfer, then once per line
        for (const Vista& v : vistas) {
            QVERIFY(v.marco);
            QCOMPARE(v.alto, zvform::TwipsY(6520, frm.get()));
            QCOMPARE(v.arribaBotones, zvform::TwipsY(5220, frm.get()));
            QVERIFY(v.botonesCubiertos);
            QVERIFY(v.eleccionesFijas);
        }
        QCOMPARE(vistas.front().progreso, 1);
        QVERIFY(!Hijo<QGroupBox>("Frame3")->isVisible());
        QCOMPARE(frm->height(), zvform::TwipsY(6190, frm.get()));
        QCOMPARE(Aceptar()->y(), zvform::TwipsY(5260, frm.get()));
        QVERIFY(Aceptar()->isEnabled());
        QVERIFY(CmbRuc()->isEnabled() && MkePeriodo()->isEnabled() && DirList()->isEnabled());
        QVERIFY(frm->isVisible());  // the form stays open for another import

        // The same declarant and period again: refused, nothing doubled.
        mensajes.shown.clear();
        Aceptar()->click();
        QCOMPARE(Textos(), (std::vector<std::string>{"Ya existe una declaración para el RUC y periodo seleccionado. "
                                                     "Elimine la declaración e importe el archivo nuevamente."}));
        QCOMPARE(Cuenta("F841DETDES"), 12L);
    }

    // The import yields once per line, but the result labels follow at the
    // screen's pace (the clock here is the test's own) and take the last
    // counts at the end, even when the last line's change was not shown.
    void theCountersFollowTheScreensPaceAndShowTheLastCountsAtTheEnd() {
        const std::string primera = LineasDe(Demo()).front();  // document number 40123456
        std::vector<std::string> lineas;
        for (int i = 0; i < 40; ++i) {
            std::string l = primera;
            l.replace(l.find("40123456"), 8, std::to_string(50000000 + i));
            lineas.push_back(l);
        }
        EscribeLineas(uno / kArchivo, lineas);
        struct Caso {
            std::chrono::milliseconds paso;  // the clock's advance at each yield
            int maximoDeTextos;              // distinct texts of the label seen during the run
        };
        // A screen's frame is 1/30 s: held, the label shows only the first
        // line's count; stepped by 10 ms, a change every fourth line at most.
        const Caso casos[] = {{std::chrono::milliseconds(0), 2}, {std::chrono::milliseconds(10), 13}};
        for (const Caso& c : casos) {
            for (const char* tabla : {"F841DETDES", "CAB", "DET"}) Base().Execute(std::string("DELETE FROM ") + tabla);
            mensajes.shown.clear();
            auto ahora = std::chrono::steady_clock::now();
            zvform::RitmoDePantalla::FuenteDeReloj() = [&] { return ahora; };
            Abre();
            Prepara();
            auto* etiqueta = Hijo<QLabel>("lblTransferidos");
            Pinturas pinturas;
            etiqueta->installEventFilter(&pinturas);
            Recibidos recibidos;
            int cesiones = 0;
            bool entregados = true;  // each event posted at a yield arrived by the next one
            std::set<QString> vistos;
            alCeder = [&] {
                entregados = entregados && recibidos.veces == cesiones;
                ++cesiones;
                QCoreApplication::postEvent(&recibidos, new QEvent(kEventoDePrueba));
                vistos.insert(etiqueta->text());
                ahora += c.paso;
            };
            Aceptar()->click();
            alCeder = nullptr;
            const int pinturasDuranteLaCarga = pinturas.veces;

            QCOMPARE(Cuenta("F841DETDES"), 40L);
            QVERIFY(cesiones >= 41);  // once before the transfer, then once per line
            QVERIFY(entregados);
            QVERIFY2(int(vistos.size()) <= c.maximoDeTextos, qPrintable(QString::number(vistos.size())));
            QVERIFY(vistos.size() >= 2);  // still seen counting
            QVERIFY2(pinturasDuranteLaCarga <= c.maximoDeTextos + 2, qPrintable(QString::number(pinturasDuranteLaCarga)));
            QCOMPARE(etiqueta->text(), QString("40 registro(s) transferido(s)"));
            QCOMPARE(Etiqueta("lblRechazados"), QString("0 registro(s) rechazado(s)"));
            frm.reset();
        }
    }

    // The two result labels change together: each time the import yields,
    // they show the counts of the same line, the rows the transaction holds
    // and the lines the reject log holds (the clock steps a screen's frame
    // at each yield, so every line's counts are shown).
    void theTwoCountersAlwaysShowTheSameLine() {
        const std::string primera = LineasDe(Demo()).front();
        std::vector<std::string> lineas;
        for (int i = 0; i < 12; ++i) {
            lineas.push_back(LineaConDocumento(primera, 50000000 + i));
            if (i % 2 == 1) lineas.push_back(lineas.back());  // a duplicate, rejected
        }
        EscribeLineas(uno / kArchivo, lineas);
        auto ahora = std::chrono::steady_clock::now();
        zvform::RitmoDePantalla::FuenteDeReloj() = [&] { return ahora; };
        Abre();
        Prepara();
        const fs::path log = fs::path(Estado::G().gRutaRpt) / "084120080120142829551.Log";
        int vistas = 0;
        QStringList desacuerdos;
        alCeder = [&] {
            if (!frm->Motor().TransferenciaEnCurso) return;  // the count runs while the file is read
            ++vistas;
            const long filas = Cuenta("F841DETDES");
            const long rechazadas = fs::exists(log) ? long(LineasDe(log).size()) : 0L;
            const QString t = Etiqueta("lblTransferidos"), r = Etiqueta("lblRechazados");
            if (Numero(t) != filas || Numero(r) != rechazadas)
                desacuerdos << QString("%1 / %2 with %3 rows and %4 rejects").arg(t, r).arg(filas).arg(rechazadas);
            ahora += std::chrono::milliseconds(40);
        };
        Aceptar()->click();
        alCeder = nullptr;
        QVERIFY(vistas >= int(lineas.size()));
        QVERIFY2(desacuerdos.isEmpty(), qPrintable(desacuerdos.join("; ")));
        QCOMPARE(Etiqueta("lblTransferidos"), QString("12 registro(s) procesado(s) correctamente"));
        QCOMPARE(Etiqueta("lblRechazados"), QString("6 registro(s) rechazado(s)"));
    }

    // The disk fills up half-way: the transfer's error is shown over the
    // last counts, and once the rows are undone the frame claims none.
    void aTransferUndoneOnAFullDiskShowsNoRecordTransferred() {
        zvtest::DiscoLleno disco;
        Estado::G().gBase.reset();
        QVERIFY(zvform::LeerIni());  // the connection now writes through the disk
        // A page cache smaller than the file: the rows reach the disk during the transfer.
        QCOMPARE(sqlite3_exec(zvtest::Conexion(Base()), "PRAGMA cache_size = 10", nullptr, nullptr, nullptr), SQLITE_OK);
        const std::string primera = LineasDe(Demo()).front();
        std::vector<std::string> lineas;
        for (int i = 0; i < 500; ++i) lineas.push_back(LineaConDocumento(primera, 50000000 + i));
        EscribeLineas(uno / kArchivo, lineas);
        auto ahora = std::chrono::steady_clock::now();
        zvform::RitmoDePantalla::FuenteDeReloj() = [&] { return ahora; };
        Abre();
        Prepara();
        int contadas = 0;  // the most rows the frame showed as transferred
        alCeder = [&] {
            contadas = std::max(contadas, Numero(Etiqueta("lblTransferidos")));
            ahora += std::chrono::milliseconds(40);
        };
        disco.Llena(0);
        Aceptar()->click();
        alCeder = nullptr;
        QVERIFY(disco.Rechazos() > 0);
        QCOMPARE(Textos(), (std::vector<std::string>{"Error Tecnico: 3026 No hay espacio suficiente en el disco."}));
        disco.Libera();
        QVERIFY2(contadas > 0, "the disk filled before any row was counted");
        for (const char* tabla : {"F841DETDES", "CAB", "DET"}) QCOMPARE(Cuenta(tabla), 0L);
        QCOMPARE(Etiqueta("lblTransferidos"), QString("0 registro(s) transferido(s)"));
        QCOMPARE(Etiqueta("lblRechazados"), QString("0 registro(s) rechazado(s)"));
        QVERIFY(!Hijo<QGroupBox>("Frame3")->isVisible());
    }

    void anImportWithRejectsLeavesNothingAndShowsTheReportOnlyOnYes() {
        auto lineas = LineasDe(Demo());
        lineas.push_back(lineas.front());  // a duplicate of the first affiliate
        EscribeLineas(uno / kArchivo, lineas);
        Abre();
        Prepara();
        Aceptar()->click();  // the closing question answered No

        for (const char* tabla : {"F841DETDES", "CAB", "DET"}) QCOMPARE(Cuenta(tabla), 0L);
        const fs::path rpt = Estado::G().gRutaRpt;
        QVERIFY(fs::exists(rpt / "084120080120142829551.Log"));
        QVERIFY(fs::exists(rpt / "084120080120142829551.Err"));
        QCOMPARE(LineasDe(rpt / "084120080120142829551.Log"), std::vector<std::string>{lineas.front()});
        QCOMPARE(Texto("SELECT CodRep || ' ' || Archivo FROM SPOOL"), std::string("F84103 00000001.PRN"));
        QVERIFY(fs::exists(rpt / "00000001.PRN"));
        QCOMPARE(Etiqueta("lblTransferidos"), QString("12 registro(s) procesado(s) correctamente"));
        QCOMPARE(Etiqueta("lblRechazados"), QString("1 registro(s) rechazado(s)"));
        QCOMPARE(mensajes.shown.size(), size_t(1));
        QCOMPARE(mensajes.shown[0].buttons, zv::Buttons::YesNo);
        QVERIFY(QString::fromStdString(mensajes.shown[0].text).endsWith("¿Desea Visualizar Reporte de errores?"));
        QVERIFY(reportes.empty());
        QVERIFY(!Hijo<QGroupBox>("Frame3")->isVisible());
        QCOMPARE(frm->height(), zvform::TwipsY(6190, frm.get()));

        mensajes.Push(zv::Answer::Yes);
        Aceptar()->click();
        QCOMPARE(reportes, (std::vector<std::pair<std::string, std::string>>{{"00000002.PRN", "Vprevia"}}));
        QVERIFY(rangos.empty());
        QCOMPARE(Cuenta("CAB"), 0L);
    }

    void aReportOfMoreThanFifteenPagesGoesToThePageRange() {
        auto lineas = LineasDe(Demo());
        EscribeLineas(uno / kArchivo, std::vector<std::string>(1100, lineas.front()));
        Abre();
        Prepara();
        mensajes.Push(zv::Answer::Yes);
        Aceptar()->click();
        QVERIFY(reportes.empty());
        QCOMPARE(rangos.size(), size_t(1));
        QCOMPARE(rangos[0].first, std::string("00000001.PRN"));
        QVERIFY(rangos[0].second > 15);
        QCOMPARE(rangos[0].second, Estado::G().gTotalPaginas);
    }

    void whileAnImportRunsTheFormCannotBeClosedNorStartAnother() {
        Abre();
        Prepara();
        std::vector<Vista> vistas;
        bool intentado = false;
        alCeder = [&] {
            if (intentado || !frm->Importando()) return;
            intentado = true;
            frm->close();
            frm->reject();
            QTest::keyClick(frm.get(), Qt::Key_Escape);
            QTest::keyClick(frm.get(), Qt::Key_A, Qt::AltModifier);  // "&Aceptar" by its key
            QTest::keyClick(frm.get(), Qt::Key_S, Qt::AltModifier);  // "&Salir"
            frm->CmdGrabar_Click();
            frm->CmdCancelar_Click();
            vistas.push_back(Mira());
        };
        Aceptar()->click();
        QVERIFY(intentado);
        QCOMPARE(vistas.size(), size_t(1));
        QVERIFY(vistas[0].visible);
        QVERIFY(frm->isVisible());
        // One import only: no "Ya existe" from a second one.
        QCOMPARE(Textos(), (std::vector<std::string>{"Archivo : " + (uno / kArchivo).string() + " transferido"}));
        QCOMPARE(Cuenta("CAB"), 1L);
        QCOMPARE(Cuenta("F841DETDES"), 12L);

        // Idle again, it closes.
        frm->close();
        QVERIFY(!frm->isVisible());
    }

    // ---- drives and folders -----------------------------------------------------

    void aDriveWhoseFolderVanishedGivesItsMessageAndTheListGoesBack() {
        Abre();
        fs::remove_all(dos);
        DrvLst()->setCurrentIndex(1);
        QCOMPARE(Textos(), (std::vector<std::string>{"Driver DOS seleccionado no está disponible.\n"
                                                     "Está seleccionando un driver que no existe.\n"
                                                     "Intente nuevamente por favor."}));
        QCOMPARE(mensajes.shown[0].icon, zv::Icon::Critical);
        QCOMPARE(mensajes.shown[0].title, std::string(kTitulo));
        QCOMPARE(DrvLst()->currentIndex(), 0);
        QCOMPARE(frm->Carpeta(), uno.string());

        // Back again, the drive is chosen as any other.
        fs::create_directories(dos / "sub");
        mensajes.shown.clear();
        DrvLst()->setCurrentIndex(1);
        QVERIFY(mensajes.shown.empty());
        QCOMPARE(frm->Carpeta(), dos.string());
        QCOMPARE(DirList()->count(), 2);
        QCOMPARE(DirList()->item(1)->text().trimmed(), QString("sub"));
    }

    void theDriveListReadsTheDrivesAgainWhenItDropsDown() {
        fs::path tres = dir->path() / "tres";
        fs::create_directories(tres);
        Abre();
        zvimport::FuenteDeUnidades() = [&] {
            return std::vector<zvimport::Unidad>{
                {"UNO", uno.string(), false}, {"DOS", dos.string(), false}, {"TRES", tres.string(), false}};
        };
        DrvLst()->showPopup();
        DrvLst()->hidePopup();
        QCOMPARE(DrvLst()->count(), 3);
        QCOMPARE(DrvLst()->currentIndex(), 0);
        QCOMPARE(frm->Carpeta(), uno.string());
    }

    // The drive in use leaves the list (its medium was taken out): the drive
    // shown in its place is the one the folder list goes to, so that the two
    // lists agree and the gone folder is not the one imported from.
    void aDriveInUseThatLeavesTheListTakesTheFolderListToTheOneShown() {
        Abre();
        DrvLst()->setCurrentIndex(1);
        QCOMPARE(frm->Carpeta(), dos.string());
        fs::remove_all(dos);
        zvimport::FuenteDeUnidades() = [this] { return std::vector<zvimport::Unidad>{{"UNO", uno.string(), false}}; };
        DrvLst()->showPopup();
        DrvLst()->hidePopup();
        QCOMPARE(DrvLst()->count(), 1);
        QCOMPARE(DrvLst()->currentIndex(), 0);
        QCOMPARE(frm->Carpeta(), uno.string());
        QVERIFY(mensajes.shown.empty());
        CmbRuc()->setCurrentIndex(0);
        TecleaPeriodo("012008");
        QCOMPARE(Archivos()->count(), 1);
    }

    void theFolderListBrowsesAndAFolderThatVanishedGivesItsMessage() {
        fs::create_directories(uno / "sub");
        fs::create_directories(uno / "Otra");
        fs::copy_file(Demo(), uno / "sub" / "084120080120142829551.txt");
        fs::remove(uno / kArchivo);
        Abre();
        CmbRuc()->setCurrentIndex(0);
        TecleaPeriodo("012008");
        QCOMPARE(Archivos()->count(), 0);
        auto item = [&](const QString& texto) -> QListWidgetItem* {
            for (int i = 0; i < DirList()->count(); ++i)
                if (DirList()->item(i)->text().trimmed() == texto) return DirList()->item(i);
            return nullptr;
        };
        QCOMPARE(DirList()->count(), 3);
        QCOMPARE(DirList()->item(1)->text().trimmed(), QString("Otra"));
        emit DirList()->itemDoubleClicked(item("sub"));
        QCOMPARE(frm->Carpeta(), (uno / "sub").string());
        QCOMPARE(Archivos()->count(), 1);
        QCOMPARE(Archivos()->item(0)->text(), QString("084120080120142829551.txt"));

        // Up to the drive's root, then into a folder that is gone meanwhile.
        emit DirList()->itemDoubleClicked(DirList()->item(0));
        QCOMPARE(frm->Carpeta(), uno.string());
        QCOMPARE(Archivos()->count(), 0);
        fs::remove_all(uno / "Otra");
        emit DirList()->itemDoubleClicked(item("Otra"));
        QCOMPARE(Textos(), (std::vector<std::string>{"Ruta de Directorio no encontrado en Driver:UNO\n"
                                                     "Verifique el correcto colocado del disquete.\n"
                                                     "Intente nuevamente por favor."}));
        QCOMPARE(frm->Carpeta(), uno.string());
        QVERIFY(!item("Otra"));  // the list read again
        QVERIFY(item("sub"));
    }

    // The walk of a user from the root drive into the home folder, which is
    // a drive of its own: the drive list follows the folder list into it,
    // climbing up works from any folder, and choosing the root drive again
    // shows the root's folders. After every step both lists agree.
    void theDriveListFollowsAFolderWalkedIntoUnderAnotherDrive() {
        const fs::path raiz = dir->path() / "raiz";
        const fs::path personal = raiz / "home" / "yo";
        fs::create_directories(personal / "docs");
        fs::create_directories(raiz / "usr");
        const std::vector<zvimport::Unidad> unidades{{"Raíz", raiz.string(), false}, {"Personal", personal.string(), false}};
        zvimport::FuenteDeUnidades() = [&] { return unidades; };
        Abre();
        auto fila = [&](const QString& texto) -> QListWidgetItem* {
            for (int i = 0; i < DirList()->count(); ++i)
                if (DirList()->item(i)->text().trimmed() == texto) return DirList()->item(i);
            return nullptr;
        };
        auto entra = [&](const QString& texto) {
            return [&, texto] {
                QListWidgetItem* item = fila(texto);
                QVERIFY2(item, qPrintable(texto));
                emit DirList()->itemDoubleClicked(item);
            };
        };
        struct Paso {
            const char* que;
            std::function<void()> accion;
            fs::path carpeta;
            int unidad;                  // the drive both lists show
            std::vector<QString> filas;  // the folder list, top to bottom
        };
        const QString r = QString::fromStdString(raiz.string()), p = QString::fromStdString(personal.string());
        const Paso pasos[] = {
            {"opening", [] {}, raiz, 0, {r, "home", "usr"}},
            {"into home", entra("home"), raiz / "home", 0, {r, "home", "yo"}},
            {"into yo, the home folder", entra("yo"), personal, 1, {p, "docs"}},
            {"into docs", entra("docs"), personal / "docs", 1, {p, "docs"}},
            {"the top row", [&] { emit DirList()->itemDoubleClicked(DirList()->item(0)); }, personal, 1, {p, "docs"}},
            {"choosing Raíz", [&] { DrvLst()->setCurrentIndex(0); }, raiz, 0, {r, "home", "usr"}},
            {"into home again", entra("home"), raiz / "home", 0, {r, "home", "yo"}},
            {"the top row again", [&] { emit DirList()->itemDoubleClicked(DirList()->item(0)); }, raiz, 0, {r, "home", "usr"}},
            {"choosing Personal", [&] { DrvLst()->setCurrentIndex(1); }, personal, 1, {p, "docs"}},
        };
        for (const Paso& paso : pasos) {
            paso.accion();
            if (QTest::currentTestFailed()) return;
            const QString que = QString::fromUtf8(paso.que);
            QVERIFY2(frm->Carpeta() == paso.carpeta.string(), qPrintable(que + ": " + QString::fromStdString(frm->Carpeta())));
            QVERIFY2(DrvLst()->currentText() == QString::fromStdString(zvimport::TextoUnidad(unidades[paso.unidad])),
                     qPrintable(que + ": " + DrvLst()->currentText()));
            std::vector<QString> filas;
            for (int i = 0; i < DirList()->count(); ++i) filas.push_back(DirList()->item(i)->text().trimmed());
            QVERIFY2(filas == paso.filas, qPrintable(que + ": " + QStringList(filas.begin(), filas.end()).join(", ")));
            QCOMPARE(DirList()->item(0)->data(Qt::UserRole).toString(), QString::fromStdString(unidades[paso.unidad].raiz));
            QCOMPARE(DirList()->currentItem()->data(Qt::UserRole).toString(), QString::fromStdString(paso.carpeta.string()));
        }
        QVERIFY(mensajes.shown.empty());
    }

    void enterMovesToTheNextControlAndNeverStartsAnImport() {
        Abre();
        frm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frm.get()));
        Prepara();
        struct Paso {
            QWidget* desde;
            const char* hacia;
        };
        const Paso pasos[] = {{CmbRuc(), "MkePeriodo"}, {DrvLst(), "DirList"}, {DirList(), "CmdGrabar"}};
        for (const auto& p : pasos) {
            p.desde->setFocus();
            QTRY_COMPARE(QApplication::focusWidget(), p.desde);
            QTest::keyClick(p.desde, Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString(p.hacia));
        }
        MkePeriodo()->setFocus();
        QTest::keyClick(MkePeriodo(), Qt::Key_Return);
        QCOMPARE(Cuenta("CAB"), 0L);
        QVERIFY(mensajes.shown.empty());

        // Typing a folder's first letters finds it; the space bar opens it.
        fs::create_directories(uno / "sub");
        fs::create_directories(uno / "otra");
        emit DirList()->itemDoubleClicked(DirList()->item(0));
        DirList()->setFocus();
        QTest::keyClicks(DirList(), "su");
        QCOMPARE(DirList()->currentItem()->text(), QString("sub"));
        QTest::keyClick(DirList(), Qt::Key_Space);
        QCOMPARE(frm->Carpeta(), (uno / "sub").string());
    }

    // Enter on the focused "&Aceptar" imports, as the keyboard road from the
    // folder list expects; Enter on the focused "&Salir" closes the form.
    void enterOnAFocusedButtonPressesIt() {
        Abre();
        frm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frm.get()));
        Prepara();
        DirList()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(DirList()));
        QTest::keyClick(DirList(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Aceptar()));
        QTest::keyClick(Aceptar(), Qt::Key_Return);
        QCOMPARE(Cuenta("CAB"), 1L);
        QVERIFY(frm->isVisible());
        auto* salir = Hijo<QPushButton>("CmdCancelar");
        salir->setFocus();
        QTest::keyClick(salir, Qt::Key_Enter);
        QVERIFY(!frm->isVisible());
    }

    // ---- the main window opens it ---------------------------------------------

    void theMenuItemAndToolbarButtonFourOpenTheForm() {
        zvform::RegistraFormularios();
        zvform::ui::MDIFrm principal;
        principal.terminar = [](int) {};
        auto abre = [&](const std::function<void()>& accion) {
            QString abierto;
            QTimer::singleShot(0, [&] {
                QWidget* modal = QApplication::activeModalWidget();
                if (modal) abierto = modal->objectName();
                if (modal) modal->close();
            });
            accion();
            return abierto;
        };
        QCOMPARE(abre([&] { principal.Toolbar1_ButtonClick(4); }), QString("FrmImportar"));
        QAction* item = principal.findChild<QAction*>("mnuImportar");
        QVERIFY(item);
        QCOMPARE(abre([&] { item->trigger(); }), QString("FrmImportar"));
    }
};

QTEST_MAIN(FrmImportarTest)
#include "frm_importar_test.moc"
