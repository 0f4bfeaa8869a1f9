// The main window's items and toolbar buttons open the lists through the
// program's registry of forms: each opens a new modal instance over the
// main window, in the mode the item sets; the registered list opens the
// declaration form on the chosen row.
#include <QAction>
#include <QLineEdit>
#include <QApplication>
#include <QPushButton>
#include <QStyleHints>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>
#include <string>

#include "formulario/app/abridores.h"
#include "formulario/core/estado.h"
#include "formulario/core/ui/mdi_frm.h"
#include "formulario/declaration/ui/frm_cont_abrir.h"
#include "tests/listas/entorno.h"

using zvform::Estado;
using zvform::ui::MDIFrm;
using namespace zvlistas::prueba;

class MenusTest : public QObject {
    Q_OBJECT

    Entorno entorno;
    std::unique_ptr<MDIFrm> frm;

    // Runs `mientras` on the modal dialog that `accion` opens, then closes it.
    void ConDialogo(const std::function<void()>& accion, const std::function<void(QDialog&)>& mientras) {
        bool visto = false;
        QTimer::singleShot(0, [&] {
            auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialogo);
            visto = true;
            mientras(*dialogo);
            if (dialogo->isVisible()) dialogo->close();
        });
        accion();
        QVERIFY(visto);
    }

private slots:
    void initTestCase() { entorno.Inicia(); }
    void cleanupTestCase() { entorno.Termina(); }
    void init() {
        entorno.Limpia();
        entorno.barra.reset();  // the main window's own bar serves
        frm = std::make_unique<MDIFrm>();
        frm->terminar = [](int) {};
        zvform::RegistraFormularios();
        frm->show();
    }
    void cleanup() {
        frm.reset();
        MDIFrm::Abridores() = {};
        entorno.Suelta();
    }

    void itemsOpenTheLists_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("formulario");
        QTest::addColumn<QString>("titulo");
        QTest::newRow("Actualizar") << "mnuActualizar" << "FrmContAbrir" << "Actualizar Declaraciones";
        QTest::newRow("Eliminar") << "mnuEliminar" << "FrmContAbrir" << "Eliminar Declaraciones";
        QTest::newRow("toolbar 1") << "btnActualizar" << "FrmContAbrir" << "Actualizar Declaraciones";
        QTest::newRow("toolbar 2") << "btnEliminar" << "FrmContAbrir" << "Eliminar Declaraciones";
        QTest::newRow("Ver enviadas") << "mnuVerEnviadas" << "FrmContAbrirE" << "Ver Declaraciones enviadas";
        QTest::newRow("Eliminar enviadas") << "mnuEliminarEnviadas" << "FrmContAbrirE"
                                           << "Eliminar Declaraciones enviadas";
        QTest::newRow("Bancos") << "mnuBancos" << "FrmConsultas" << "Bancos";
        QTest::newRow("Motivos") << "mnuMotivos" << "FrmConsultas" << "Motivos de desafiliación";
    }
    void itemsOpenTheLists() {
        QFETCH(QString, item);
        QFETCH(QString, formulario);
        QFETCH(QString, titulo);
        auto* accion = frm->findChild<QAction*>(item);
        QVERIFY(accion);
        for (int vez = 0; vez < 2; ++vez) {  // a new instance each time
            ConDialogo([&] { accion->trigger(); },
                       [&](QDialog& d) {
                           QCOMPARE(d.objectName(), formulario);
                           QCOMPARE(d.windowTitle(), titulo);
                           QCOMPARE(d.parentWidget(), static_cast<QWidget*>(frm.get()));
                           QVERIFY(d.isModal());
                       });
            QVERIFY(!frm->findChild<QDialog*>(formulario));
        }
    }

    void updateOpensTheChosenDeclaration() {
        entorno.AgregaDeclarante(kProfuturo);
        entorno.AgregaDeclarante(kIntegra);
        entorno.Importa(kProfuturo, "200712");
        entorno.Importa(kIntegra, "202301");
        std::vector<std::string> abiertas;
        MDIFrm::Abridores().abrirFrm841 = [&] { abiertas.push_back(Estado::G().gRuc + " " + Estado::G().gPeriodo); };
        ConDialogo([&] { frm->findChild<QAction*>("mnuActualizar")->trigger(); },
                   [&](QDialog& d) {
                       auto& lista = static_cast<zvform::ui::FrmContAbrir&>(d);
                       lista.FijaFilaActual(1);
                       QCOMPARE(frm->BarradeEstadoZarvo1()->NumeroDocumento(), QString(kIntegra.ruc));
                       QTest::keyClick(lista.grdContrib(), Qt::Key_Return);
                   });
        QCOMPARE(abiertas, (std::vector<std::string>{std::string(kIntegra.ruc) + " 202301"}));
        QCOMPARE(frm->BarradeEstadoZarvo1()->NumeroDocumento(), QString());
    }

    void theListsOpenTheDeclarationForm_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("fila");
        QTest::addColumn<QString>("ruc");
        QTest::addColumn<QString>("razon");
        QTest::addColumn<QString>("orden");
        QTest::newRow("registered") << "mnuActualizar" << 1 << kIntegra.ruc << kIntegra.nombre << "";
        QTest::newRow("sent") << "mnuVerEnviadas" << 0 << kProfuturo.ruc << kProfuturo.nombre << "12345678";
    }
    void theListsOpenTheDeclarationForm() {
        QFETCH(QString, item);
        QFETCH(int, fila);
        QFETCH(QString, ruc);
        QFETCH(QString, razon);
        QFETCH(QString, orden);
        entorno.AgregaDeclarante(kProfuturo);
        entorno.AgregaDeclarante(kIntegra);
        entorno.Importa(kProfuturo, "200712");
        entorno.Importa(kIntegra, "202301");
        entorno.Envia(kProfuturo, "200712", {"001", "12345678", "ABCD1234"});
        bool formularioVisto = false;
        ConDialogo([&] { frm->findChild<QAction*>(item)->trigger(); },
                   [&](QDialog& d) {
                       auto& lista = static_cast<zvform::ui::FrmContAbrir&>(d);
                       lista.FijaFilaActual(fila);
                       ConDialogo([&] { QTest::keyClick(lista.grdContrib(), Qt::Key_Return); },
                                  [&](QDialog& declaracion) {
                                      formularioVisto = true;
                                      QCOMPARE(declaracion.objectName(), QString("Frm841"));
                                      QCOMPARE(declaracion.findChild<QLineEdit*>("TxtNumRuc")->text(), ruc);
                                      QCOMPARE(declaracion.findChild<QLineEdit*>("TxtRazon")->text(), razon);
                                      if (!orden.isEmpty())
                                          QCOMPARE(declaracion.findChild<QLineEdit*>("TxtNumOrdenE_0")->text(),
                                                   orden);
                                  });
                       // Read again, with the same row current and usable from the keyboard.
                       QCOMPARE(lista.FilaActual(), fila);
                       QVERIFY(lista.grdContrib()->isEnabled());
                       QCOMPARE(lista.focusWidget(), static_cast<QWidget*>(lista.grdContrib()));
                   });
        QVERIFY(formularioVisto);
        QVERIFY(entorno.mensajes.shown.empty());
    }

    // ---- a double click on "&Actualizar" ----------------------------------

private:

    // What a save would change: the header's and every box's stored values.
    std::string Guardado() {
        std::string guardado;
        for (const char* sql : {"SELECT fec_pro, estado, cNumero FROM CAB", "SELECT casilla, i_valor FROM DET ORDER BY casilla"}) {
            auto rs = entorno.Base().OpenRecordset(sql, dao::dbOpenSnapshot);
            for (; !rs->EOF_(); rs->MoveNext()) {
                for (int i = 0; i < rs->FieldCount(); ++i) guardado += rs->Fields(i).AsText() + "|";
                guardado += "\n";
            }
        }
        return guardado;
    }

    // Two clicks of the left button at the list's "&Actualizar", the second
    // `entre` ms after the first by the events' clock, each where the window system would deliver
    // it: the first opens the declaration form, which then lies under the
    // pointer with its "&Grabar" there (as it may on a screen), and gets the
    // second. `mientras` runs with the form still open after the second click.
    void DosClicsEnActualizar(int entre, const std::function<void(QDialog&)>& mientras) {
        bool formularioVisto = false;
        ConDialogo([&] { frm->findChild<QAction*>("mnuActualizar")->trigger(); },
                   [&](QDialog& lista) {
                       QVERIFY(QTest::qWaitForWindowExposed(&lista));
                       auto* actualizar = lista.findChild<QPushButton*>("CmdOpciones_0");
                       QCOMPARE(actualizar->text(), QString("&Actualizar"));
                       const QPoint puntero = actualizar->mapToGlobal(actualizar->rect().center());
                       QWindow* ventanaLista = lista.windowHandle();
                       ConDialogo(
                           [&] { QTest::mouseClick(ventanaLista, Qt::LeftButton, {}, ventanaLista->mapFromGlobal(puntero)); },
                           [&](QDialog& declaracion) {
                               QCOMPARE(declaracion.objectName(), QString("Frm841"));
                               QVERIFY(QTest::qWaitForWindowExposed(&declaracion));
                               auto* grabar = declaracion.findChild<QPushButton*>("CmdValidar_1");
                               QCOMPARE(grabar->text(), QString("&Grabar"));
                               declaracion.move(declaracion.pos() + puntero - grabar->mapToGlobal(grabar->rect().center()));
                               QTRY_VERIFY(grabar->rect().contains(grabar->mapFromGlobal(puntero)));
                               // The first click has not ended yet: QTest's clock still stands at it.
                               QWindow* ventana = declaracion.windowHandle();
                               QTest::mouseClick(ventana, Qt::LeftButton, {}, ventana->mapFromGlobal(puntero), entre);
                               formularioVisto = true;
                               mientras(declaracion);
                           });
                   });
        QVERIFY(formularioVisto);
    }

    // The double-click interval of the case, the platform's again after it.
    struct Intervalo {
        explicit Intervalo(int ms) { QGuiApplication::styleHints()->setMouseDoubleClickInterval(ms); }
        ~Intervalo() { QGuiApplication::styleHints()->setMouseDoubleClickInterval(antes); }
        int antes = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    };

private slots:
    void aDoubleClickOnUpdateOpensTheFormAndPressesNothingInIt() {
        entorno.AgregaDeclarante(kProfuturo);
        entorno.Importa(kProfuturo, "200712");
        const std::string antes = Guardado();
        Intervalo intervalo(400);
        DosClicsEnActualizar(150, [&](QDialog& declaracion) {
            QVERIFY(declaracion.isVisible());
            QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget*>(&declaracion));
            QVERIFY(entorno.mensajes.shown.empty());
            QCOMPARE(Guardado(), antes);
        });
        QVERIFY(entorno.mensajes.shown.empty());
        QCOMPARE(Guardado(), antes);
    }

    void aClickAfterTheIntervalPressesTheFormsButton() {
        entorno.AgregaDeclarante(kProfuturo);
        entorno.Importa(kProfuturo, "200712");
        const std::string antes = Guardado();
        Intervalo intervalo(50);
        DosClicsEnActualizar(60, [&](QDialog& declaracion) {
            QVERIFY(declaracion.isVisible());
            QCOMPARE(entorno.mensajes.shown.size(), std::size_t(1));
            QCOMPARE(entorno.mensajes.shown[0].text.rfind("La información del formulario fue grabada", 0), 0u);
        });
        QVERIFY(Guardado() != antes);
    }
};

QTEST_MAIN(MenusTest)
#include "menus_test.moc"
