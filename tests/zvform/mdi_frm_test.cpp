// The main window, offscreen: menus and toolbar (texts, order, hidden items,
// what each one does), the status bar at load, the fixed geometry, help and
// the about box.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMdiArea>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <memory>

#include "formulario/core/estado.h"
#include "formulario/core/ui/barra_estado.h"
#include "formulario/core/ui/mdi_frm.h"
#include "platform/msgbox.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "tests/support/support.h"
#include "tests/support/textos_cortados.h"

using zvform::Estado;
using zvform::ui::MDIFrm;

namespace {

// What an action did: the form it opened (or "fin" for the end of the
// program) and the state the form found.
struct Hecho {
    QString que;
    int gOperacion;
    bool gOrdenCambiado;
    int gTipoReporte;
    bool gEsEnviada;
    QString gTipoConsulta;
};

struct Esperado {
    const char* que;  // "" when nothing happens
    int gOperacion;   // sentinel -1: untouched
    bool gOrdenCambiado;
    int gTipoReporte;
    bool gEsEnviada;
    const char* gTipoConsulta;
};

// Every state an action may set starts from a value no action gives.
void EstadoCentinela() {
    Estado& g = Estado::G();
    g.gOperacion = -1;
    g.gOrdenCambiado = true;
    g.gTipoReporte = -1;
    g.gEsEnviada = false;
    g.gTipoConsulta.assign(1, '?');  // (a literal here trips a false -Wrestrict of GCC 12)
}

// Runs `mientras` on the modal dialog that `accion` opens, then closes it.
void ConDialogoModal(const std::function<void()>& accion, const std::function<void(QWidget*)>& mientras) {
    bool visto = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        visto = true;
        mientras(modal);
        if (modal->isVisible()) modal->close();
    });
    accion();
    QVERIFY(visto);
}

const char* const kSep = "---";

}  // namespace

class MdiFrmTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MDIFrm> frm;
    std::vector<Hecho> hechos;
    zv::ScriptedMessages mensajes;
    std::unique_ptr<zvtest::TempDir> windir;
    std::unique_ptr<zvtest::ScopedEnv> envWindir;
    std::filesystem::path carpetaInicial = std::filesystem::current_path();  // the load moves it

    void Registra(const QString& que) {
        const Estado& g = Estado::G();
        hechos.push_back({que, g.gOperacion, g.gOrdenCambiado, g.gTipoReporte, g.gEsEnviada,
                          QString::fromStdString(g.gTipoConsulta)});
    }
    void RegistraAbridores() {
        auto& a = MDIFrm::Abridores();
        a.abrirFrm841 = [this] { Registra("Frm841"); };
        a.abrirListaRegistradas = [this] { Registra("FrmContAbrir"); };
        a.abrirListaEnviadas = [this] { Registra("FrmContAbrirE"); };
        a.abrirImportar = [this] { Registra("FrmImportar"); };
        a.abrirImprimir = [this] { Registra("frmImprimir"); };
        a.abrirConsultas = [this] { Registra("FrmConsultas"); };
    }
    QMenu* Menu(int i) { return frm->menuBar()->actions().at(i)->menu(); }
    QAction* Item(const char* nombre) { return frm->findChild<QAction*>(nombre); }

    void Comprueba(const Esperado& e) {
        if (!*e.que) {
            QVERIFY2(hechos.empty(), qPrintable(hechos.empty() ? "" : hechos[0].que));
            return;
        }
        QCOMPARE(hechos.size(), size_t(1));
        const Hecho& h = hechos[0];
        QCOMPARE(h.que, QString(e.que));
        QCOMPARE(h.gOperacion, e.gOperacion);
        QCOMPARE(h.gOrdenCambiado, e.gOrdenCambiado);
        QCOMPARE(h.gTipoReporte, e.gTipoReporte);
        QCOMPARE(h.gEsEnviada, e.gEsEnviada);
        QCOMPARE(h.gTipoConsulta, QString(e.gTipoConsulta));
    }

private slots:
    void init() {
        Estado::Reset();
        windir = std::make_unique<zvtest::TempDir>();
        envWindir = std::make_unique<zvtest::ScopedEnv>("ZARVO_WINDIR", windir->path().string());
        zv::SetMessageService(&mensajes);
        mensajes.shown.clear();
        hechos.clear();
        RegistraAbridores();
        frm = std::make_unique<MDIFrm>();
        frm->terminar = [this](int codigo) { Registra(QString("fin %1").arg(codigo)); };
    }
    void cleanup() {
        frm.reset();
        MDIFrm::Abridores() = {};
        zv::SetMessageService(nullptr);
        envWindir.reset();
        windir.reset();
        std::filesystem::current_path(carpetaInicial);
        Estado::Reset();
    }

    void titleAndBoxes() {
        QCOMPARE(frm->windowTitle(), QString("0841 - Solvenda"));
        QVERIFY(!(frm->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(frm->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(frm->windowFlags() & Qt::WindowCloseButtonHint);
    }

    void menusInOrder() {
        struct ItemEsperado {
            const char* texto;
            bool visible;
            bool habilitado;
        };
        const std::vector<std::pair<QString, std::vector<ItemEsperado>>> esperados = {
            {"&Declaraciones",
             {{"&Nueva", false, false},
              {"&Actualizar", true, true},
              {"&Eliminar", true, true},
              {kSep, true, true},
              {"Impor&tar información de afiliados", true, true},
              {kSep, true, true},
              {"&Imprimir", true, true},
              {"&Copiar", true, false},
              {kSep, true, true},
              {"&Salir", true, true}}},
            {"Declaraciones &Enviadas",
             {{"&Ver declaraciones enviadas", true, true}, {"&Eliminar", true, true}, {"&Imprimir", true, true}}},
            {"&Consultas", {{"Bancos", true, true}, {"Motivos de desafiliación", true, true}}},
            {"&Ayuda",
             {{"&Contenido", true, true},
              {"&Bienvenida", false, false},
              {kSep, true, true},
              {"&Acerca de Zarvo", true, true}}},
        };
        const auto barra = frm->menuBar()->actions();
        QCOMPARE(barra.size(), qsizetype(esperados.size()));
        for (int m = 0; m < barra.size(); ++m) {
            QCOMPARE(barra[m]->text(), esperados[m].first);
            const auto items = barra[m]->menu()->actions();
            const auto& quiero = esperados[m].second;
            QCOMPARE(items.size(), qsizetype(quiero.size()));
            for (int i = 0; i < items.size(); ++i) {
                const QString texto = items[i]->isSeparator() ? kSep : items[i]->text();
                QCOMPARE(texto, QString(quiero[i].texto));
                QCOMPARE(items[i]->isVisible(), quiero[i].visible);
                QCOMPARE(items[i]->isEnabled(), quiero[i].habilitado);
            }
        }
        // The first item the user sees under "&Declaraciones" is "&Actualizar".
        QAction* primero = nullptr;
        for (QAction* a : Menu(0)->actions())
            if (a->isVisible() && !primero) primero = a;
        QCOMPARE(primero->text(), QString("&Actualizar"));
    }

    void menuActions() {
        const std::vector<std::pair<const char*, Esperado>> casos = {
            {"mnuActualizar", {"FrmContAbrir", 1, false, -1, false, "?"}},
            {"mnuEliminar", {"FrmContAbrir", 3, false, -1, false, "?"}},
            {"mnuImportar", {"FrmImportar", -1, true, -1, false, "?"}},
            {"mnuImprimir", {"frmImprimir", -1, true, 2, false, "?"}},
            {"mnuCopiar", {"", 0, false, 0, false, ""}},
            {"mnuSalir", {"fin 0", -1, true, -1, false, "?"}},
            {"mnuVerEnviadas", {"FrmContAbrirE", 1, false, -1, false, "?"}},
            {"mnuEliminarEnviadas", {"FrmContAbrirE", 3, true, -1, false, "?"}},
            {"mnuImprimirEnviadas", {"frmImprimir", -1, true, 2, true, "?"}},
            {"mnuBancos", {"FrmConsultas", -1, true, -1, false, "B"}},
            {"mnuMotivos", {"FrmConsultas", -1, true, -1, false, "M"}},
            {"mnuBienvenida", {"", 0, false, 0, false, ""}},
            {"mnuNueva", {"", 0, false, 0, false, ""}},  // hidden and disabled: never runs
        };
        for (const auto& [nombre, esperado] : casos) {
            hechos.clear();
            EstadoCentinela();
            QAction* item = Item(nombre);
            QVERIFY2(item, nombre);
            item->trigger();
            Comprueba(esperado);
            if (QTest::currentTestFailed()) qWarning("item %s", nombre);
        }
        // A print of registered declarations after one of sent ones clears the flag.
        hechos.clear();
        Estado::G().gEsEnviada = true;
        Item("mnuImprimir")->trigger();
        QCOMPARE(hechos.at(0).gEsEnviada, false);
    }

    void formsNotYetBuiltOpenNothing() {
        MDIFrm::Abridores() = {};
        for (const char* nombre : {"mnuActualizar", "mnuEliminar", "mnuImportar", "mnuImprimir", "mnuVerEnviadas",
                                   "mnuEliminarEnviadas", "mnuImprimirEnviadas", "mnuBancos", "mnuMotivos"})
            Item(nombre)->trigger();
        QVERIFY(hechos.empty());
        QVERIFY(mensajes.shown.empty());
    }

    void newDeclarationChecksRegionalSettings() {
        // The action of the hidden "&Nueva", run directly.
        EstadoCentinela();
        frm->mnuNueva_Click();  // no regional keys: the check refuses
        QVERIFY(hechos.empty());
        QCOMPARE(Estado::G().gOperacion, 0);
        QCOMPARE(mensajes.shown.size(), size_t(1));
        QCOMPARE(mensajes.shown[0].title, std::string("Error de configuración"));

        const std::pair<const char*, const char*> buenos[] = {
            {"sDate", "/"},          {"sShortDate", "dd/MM/yyyy"}, {"sTime", ":"},
            {"sTimeFormat", "hh:mm:ss tt"}, {"sDecimal", "."},     {"sThousand", ","},
            {"iDigits", "2"},        {"sNegativeSign", "-"},       {"iNegNumber", "1"},
            {"iLZero", "1"},         {"sMonDecimalSep", "."},      {"sMonThousandSep", ","},
            {"iCurrDigits", "2"},    {"iCurrency", "0"},           {"iNegCurr", "2"}};
        for (auto [clave, valor] : buenos) QVERIFY(zv::profile::WriteProfileString("intl", clave, valor));
        EstadoCentinela();
        frm->mnuNueva_Click();
        QCOMPARE(hechos.size(), size_t(1));
        QCOMPARE(hechos[0].que, QString("Frm841"));
        QCOMPARE(hechos[0].gOperacion, 0);
    }

    void toolbarByPosition() {
        const std::vector<std::pair<const char*, Esperado>> botones = {
            {"Actualizar", {"FrmContAbrir", 1, false, -1, false, "?"}},
            {"Eliminar", {"FrmContAbrir", 3, false, -1, false, "?"}},
            {kSep, {}},
            {"Importar", {"FrmImportar", -1, true, -1, false, "?"}},
            {kSep, {}},
            {"Copiar", {"", 0, false, 0, false, ""}},
            {"Imprimir", {"frmImprimir", -1, true, 2, false, "?"}},
            {kSep, {}},
            {"Salir", {"fin 0", -1, true, -1, false, "?"}},
            {kSep, {}},
            {"Número de orden", {"", 0, false, 0, false, ""}},
            {"Help", {"", 0, false, 0, false, ""}},  // help: checked below
        };
        frm->show();
        const auto acciones = frm->Toolbar1()->actions();
        QCOMPARE(acciones.size(), qsizetype(botones.size()));
        for (int i = 0; i < acciones.size(); ++i) {
            const auto& [consejo, esperado] = botones[i];
            if (consejo == kSep) {
                QVERIFY2(acciones[i]->isSeparator(), qPrintable(QString::number(i + 1)));
                continue;
            }
            QCOMPARE(acciones[i]->toolTip(), QString(consejo));
            hechos.clear();
            mensajes.shown.clear();
            EstadoCentinela();
            auto* boton = qobject_cast<QToolButton*>(frm->Toolbar1()->widgetForAction(acciones[i]));
            QVERIFY(boton);
            QTest::mouseClick(boton, Qt::LeftButton);
            Comprueba(esperado);
            if (QTest::currentTestFailed()) qWarning("button %d", i + 1);
        }
        // Position 12 shows the help contents: here the file is missing.
        QCOMPARE(mensajes.shown.size(), size_t(1));
        QVERIFY(mensajes.shown[0].text.starts_with("No se encuentra el archivo de ayuda "));
        // Positions out of the buttons do nothing either.
        hechos.clear();
        for (int p : {0, 3, 5, 13}) frm->Toolbar1_ButtonClick(p);
        QVERIFY(hechos.empty());
    }

    void helpShowsTheFileInOurViewer() {
        const std::string ruta = (windir->path() / "zvform.hlp").string();
        zv::text::WriteAll(ruta, "Ayuda de la Declaración 0841\nAfiliados: ÁÉÍÓÚÑ ¿¡\n");
        Estado::G().gArchivoAyuda = ruta;
        QString visto;
        QStringList botones;
        ConDialogoModal([&] { Item("mnuContenido")->trigger(); },
                        [&](QWidget* modal) {
                            auto* texto = modal->findChild<QTextBrowser*>();
                            QVERIFY(texto);
                            visto = texto->toPlainText();
                            for (auto* b : modal->findChildren<QPushButton*>()) botones << b->text();
                        });
        QCOMPARE(visto, QString("Ayuda de la Declaración 0841\nAfiliados: ÁÉÍÓÚÑ ¿¡\n"));
        QCOMPARE(botones, QStringList{"Cerrar"});  // the viewer speaks Spanish too
        QVERIFY(mensajes.shown.empty());

        Estado::G().gArchivoAyuda = (windir->path() / "no-hay.hlp").string();
        Item("mnuContenido")->trigger();
        QCOMPARE(mensajes.shown.size(), size_t(1));
        QCOMPARE(QString::fromStdString(mensajes.shown[0].text),
                 "No se encuentra el archivo de ayuda " + QString::fromStdString(Estado::G().gArchivoAyuda));
    }

    void aboutBox() {
        ConDialogoModal([&] { Item("mnuAcercade")->trigger(); },
                        [&](QWidget* modal) {
                            QCOMPARE(modal->windowTitle(), QString("Acerca de Zarvomat "));
                            QCOMPARE(modal->findChild<QLineEdit*>("txtApp")->text(), QString("Solvenda"));
                            QCOMPARE(modal->findChild<QLineEdit*>("txtVersion")->text(), QString("Versión 1.0"));
                            bool familia = false;
                            for (auto* l : modal->findChildren<QLabel*>()) familia |= l->text() == "Zarvomat";
                            QVERIFY(familia);
                            auto* aceptar = modal->findChild<QPushButton*>("cmdAceptar");
                            QCOMPARE(aceptar->text(), QString("&Aceptar"));
                            QTest::mouseClick(aceptar, Qt::LeftButton);
                            QVERIFY(!modal->isVisible());
                        });
        QVERIFY(hechos.empty());
    }

    // The main window, the help viewer and the about box show their texts
    // whole; the about box, whose size nothing fixes, is wide enough for a
    // window manager to show its whole title beside its buttons.
    void textsShowWhole() {
        QStringList cortados = zvtest::TextosCortados(*frm);
        QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join("; ")));

        const std::string ruta = (windir->path() / "zvform.hlp").string();
        zv::text::WriteAll(ruta, "Ayuda\n");
        Estado::G().gArchivoAyuda = ruta;
        ConDialogoModal([&] { Item("mnuContenido")->trigger(); },
                        [&](QWidget* modal) { cortados = zvtest::TextosCortados(*modal); });
        QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join("; ")));

        int ancho = 0, necesita = 0;
        ConDialogoModal([&] { Item("mnuAcercade")->trigger(); },
                        [&](QWidget* modal) {
                            cortados = zvtest::TextosCortados(*modal);
                            QFont titulo = QApplication::font();  // as title bars draw it: bold, 12 points
                            titulo.setBold(true);
                            titulo.setPointSize(12);
                            constexpr int kBotones = 3 * 20;
                            necesita = QFontMetrics(titulo).horizontalAdvance(modal->windowTitle()) + kBotones;
                            ancho = modal->width();
                        });
        QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join("; ")));
        QVERIFY2(ancho >= necesita, qPrintable(QString("%1 < %2").arg(ancho).arg(necesita)));
    }

    void loadSetsStatusBarAndGeometry() {
        zvtest::Installation inst;  // its own Windows directory for the load
        QVERIFY(frm->MDIForm_Load());
        QVERIFY(mensajes.shown.empty());
        auto* barra = frm->BarradeEstadoZarvo1();
        QCOMPARE(zvform::ui::BarradeEstadoZarvo::Principal(), barra);
        QCOMPARE(barra->NumeroDocumento(), QString(""));
        QCOMPARE(barra->Nombre(), QString(""));
        QCOMPARE(barra->Periodo(), QString(""));
        QCOMPARE(barra->Formulario(), QString("0841"));
        QCOMPARE(barra->Estilo(), 1);
        QVERIFY(Estado::G().gBase);

        // 9720 x 7320 twips at the screen's resolution, 1440 twips to the inch.
        const double dpi = frm->screen()->logicalDotsPerInchX();
        const QRect fija = frm->GeometriaFija();
        QCOMPARE(fija.width(), qRound(9720 * dpi / 1440));
        QCOMPARE(fija.height(), qRound(7320 * frm->screen()->logicalDotsPerInchY() / 1440));
        QCOMPARE(fija.left(), qRound(-50 * dpi / 1440));
        if (dpi == 96) QCOMPARE(fija, QRect(-3, -3, 648, 488));

        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm.get()));
        // The window's own size is the fixed one at start and after every
        // change, whatever frame the platform puts around it.
        QTRY_COMPARE(frm->size(), fija.size());
        frm->resize(300, 200);
        QTRY_COMPARE(frm->size(), fija.size());
        frm->showMaximized();
        QTRY_COMPARE(frm->windowState(), Qt::WindowNoState);
        QTRY_COMPARE(frm->size(), fija.size());
        QCOMPARE(frm->frameGeometry().topLeft(), fija.topLeft());
    }

    void mouseOverTheWindowClearsTheName() {
        auto* barra = frm->BarradeEstadoZarvo1();
        barra->Muestra("20100070970", "EMPRESA S.A.", "03/2024", "0841");
        auto* area = qobject_cast<QMdiArea*>(frm->centralWidget());
        QVERIFY(area);
        QMouseEvent mover(QEvent::MouseMove, QPointF(10, 10), QPointF(10, 10), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(area->viewport(), &mover);
        QCOMPARE(barra->Nombre(), QString(""));
        QCOMPARE(barra->NumeroDocumento(), QString("20100070970"));
        QCOMPARE(barra->Periodo(), QString("03/2024"));
    }

    void closingEndsTheProgram() {
        frm->show();
        frm->close();
        QCOMPARE(hechos.size(), size_t(1));
        QCOMPARE(hechos[0].que, QString("fin 0"));
    }
};

QTEST_MAIN(MdiFrmTest)
#include "mdi_frm_test.moc"
