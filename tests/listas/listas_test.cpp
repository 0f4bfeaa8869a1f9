// The lists of registered and sent declarations, offscreen: who sees which
// declarations, the period as listed and as handed on, the header orders,
// the state and status bar kept in step, the keys, opening the declaration
// form (a fake that records the state it finds) and reading the list again,
// and deleting a declaration or one send, all or nothing.
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <functional>
#include <memory>
#include <sqlite3.h>

#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/core/ui/mdi_frm.h"
#include "formulario/declaration/lista_declaraciones.h"
#include "formulario/declaration/ui/frm_cont_abrir.h"
#include "formulario/declaration/ui/modelo_grilla.h"
#include "platform/profile.h"
#include "tests/support/conexion_prueba.h"
#include "tests/listas/entorno.h"
#include "tests/support/disco_lleno.h"
#include "tests/support/textos_cortados.h"

using zvform::Estado;
using zvform::ui::FrmContAbrir;
using zvform::ui::FrmContAbrirE;
using zvform::ui::MDIFrm;
using namespace zvlistas::prueba;

namespace {

// The state the declaration form found when it was opened.
struct Apertura {
    int gOperacion;
    bool gEsEnviada;
    std::string gRuc, gRazonSocial, gPeriodo, gCorrel, gCodControl, gNumOrden;
    bool listaInhabilitada;  // the list's controls could not be used meanwhile
};

const Envio kEnvio1{"001", "12345678", "ABCD1234"};
const Envio kEnvio2{"002", "87654321", "WXYZ9876", {2024, 4, 9}};

}  // namespace

class ListasTest : public QObject {
    Q_OBJECT

    Entorno entorno;
    std::vector<Apertura> aperturas;
    std::function<void()> alAbrir;  // what the fake declaration form does
    std::unique_ptr<FrmContAbrir> lista;

    // Five registered declarations of four declarants; Horizonte belongs to another user.
    void CincoDeclaraciones() {
        entorno.AgregaDeclarante(kProfuturo);
        entorno.AgregaDeclarante(kIntegra);
        entorno.AgregaDeclarante(kHorizonte, kOtroUsuario);
        entorno.AgregaDeclarante(kPrima);
        entorno.Importa(kProfuturo, "200712");
        entorno.Importa(kProfuturo, "202301");
        entorno.Importa(kIntegra, "202301");
        entorno.Importa(kHorizonte, "202302");
        entorno.Importa(kPrima, "202212");
    }

    FrmContAbrir& Abre(bool enviada, int operacion) {
        Estado::G().gOperacion = operacion;
        lista.reset(enviada ? new FrmContAbrirE : new FrmContAbrir);
        lista->show();
        return *lista;
    }

    QString Celda(int fila, int columna) const { return lista->Modelo().Celda(fila, columna); }
    QStringList Columna(int columna) const {
        QStringList textos;
        for (int f = 0; f < lista->Modelo().rowCount(); ++f) textos << Celda(f, columna);
        return textos;
    }
    QPushButton* Boton(int i) const { return lista->findChild<QPushButton*>(QString("CmdOpciones_%1").arg(i)); }
    QStringList Titulos() const {
        QStringList t;
        for (const auto& m : entorno.mensajes.shown) t << QString::fromStdString(m.title);
        return t;
    }

private slots:
    void initTestCase() { entorno.Inicia(); }
    void cleanupTestCase() { entorno.Termina(); }
    void init() {
        entorno.Limpia();
        aperturas.clear();
        alAbrir = nullptr;
        MDIFrm::Abridores().abrirFrm841 = [this] {
            const Estado& g = Estado::G();
            aperturas.push_back({g.gOperacion, g.gEsEnviada, g.gRuc, g.gRazonSocial, g.gPeriodo, g.gCorrel,
                                 g.gCodControl, g.gNumOrden, !lista->grdContrib()->isEnabled() && !Boton(0)->isEnabled()});
            if (alAbrir) alAbrir();
        };
    }
    void cleanup() {
        lista.reset();
        MDIFrm::Abridores() = {};
        entorno.Suelta();
    }

    // ---- what the lists show -------------------------------------------------

    void captionsByMode_data() {
        QTest::addColumn<bool>("enviada");
        QTest::addColumn<int>("operacion");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("boton");
        QTest::addColumn<QString>("indicacion");
        QTest::addColumn<QString>("marco");
        QTest::newRow("registered, open") << false << 1 << "Actualizar Declaraciones" << "&Actualizar"
                                          << "Seleccione la declaración que desea actualizar :"
                                          << "Declaraciones Registradas";
        QTest::newRow("registered, delete") << false << 3 << "Eliminar Declaraciones" << "&Eliminar"
                                            << "Seleccione la declaración que desea eliminar :"
                                            << "Declaraciones Registradas";
        QTest::newRow("sent, view") << true << 1 << "Ver Declaraciones enviadas" << "&Ver Declaración"
                                    << "Seleccione la declaración enviada que desea ver :"
                                    << "Declaraciones Enviadas";
        QTest::newRow("sent, delete") << true << 3 << "Eliminar Declaraciones enviadas" << "&Eliminar"
                                      << "Seleccione la declaración enviada que desea eliminar :"
                                      << "Declaraciones Enviadas";
    }
    void captionsByMode() {
        QFETCH(bool, enviada);
        QFETCH(int, operacion);
        Estado::G().gEsEnviada = !enviada;
        FrmContAbrir& l = Abre(enviada, operacion);
        QTEST(l.windowTitle(), "titulo");
        QTEST(Boton(0)->text(), "boton");
        QCOMPARE(Boton(1)->text(), QString("&Salir"));
        auto* indicacion = l.findChild<QLabel*>("Label1_0");
        QVERIFY(indicacion);
        QTEST(indicacion->text(), "indicacion");
        QCOMPARE(indicacion->buddy(), static_cast<QWidget*>(l.grdContrib()));
        QTEST(l.findChild<QGroupBox*>("Frame1")->title(), "marco");
        QCOMPARE(l.objectName(), QString(enviada ? "FrmContAbrirE" : "FrmContAbrir"));
        QCOMPARE(l.grdContrib()->objectName(), QString("grdContrib"));
        QCOMPARE(Estado::G().gEsEnviada, enviada);
    }

    void columnsAndCaptions() {
        CincoDeclaraciones();
        entorno.Envia(kPrima, "202212", kEnvio1);
        const QStringList comunes = {"tip_doc_d", "Tipo docum.", "RUC",     "Razón Social", "Formulario",
                                     "Estado",    "Entidad",     "SEMANA", "Periodo"};
        for (bool enviada : {false, true}) {
            FrmContAbrir& l = Abre(enviada, 1);
            QStringList titulos;
            for (int c = 0; c < l.Modelo().columnCount(); ++c)
                titulos << l.Modelo().headerData(c, Qt::Horizontal).toString();
            QCOMPARE(titulos, comunes + (enviada ? QStringList{"Nº de orden", "Fecha de envío", "Control", "Correlativo"}
                                                 : QStringList{"FechaVenc", "fec_venc_renta"}));
            // The RUC, the name and the period are shown; the empty "Entidad" is not.
            QVERIFY(!l.grdContrib()->isColumnHidden(2));
            QVERIFY(!l.grdContrib()->isColumnHidden(3));
            QVERIFY(!l.grdContrib()->isColumnHidden(8));
            QVERIFY(l.grdContrib()->isColumnHidden(6));
            QVERIFY(l.grdContrib()->horizontalHeader()->sectionSize(3) > l.grdContrib()->horizontalHeader()->sectionSize(5));
        }
        // The sent row: the document type's short name, the state, the week and the send's data.
        QCOMPARE(Celda(0, 0), QString("6"));
        QCOMPARE(Celda(0, 1).trimmed(), QString("RUC"));
        QCOMPARE(Celda(0, 4), QString("0841"));
        QCOMPARE(Celda(0, 5), QString("9"));
        QCOMPARE(Celda(0, 6), QString(""));
        QCOMPARE(Celda(0, 7), QString("0"));
        QCOMPARE(Celda(0, 9), QString("12345678"));
        QCOMPARE(Celda(0, 10), QString("05/03/2024"));
        QCOMPARE(Celda(0, 11), QString("ABCD1234"));
        QCOMPARE(Celda(0, 12), QString("001"));
    }

    // Both lists in both modes show every column they show whole and
    // without scrolling: each at least as wide as its caption and its widest
    // cell, the sent list's "Correlativo" last inside the grid's view.
    void everyColumnShowsWholeWithoutScrolling_data() {
        QTest::addColumn<bool>("enviada");
        QTest::addColumn<int>("operacion");
        QTest::newRow("registered, open") << false << 1;
        QTest::newRow("registered, delete") << false << 3;
        QTest::newRow("sent, view") << true << 1;
        QTest::newRow("sent, delete") << true << 3;
    }
    void everyColumnShowsWholeWithoutScrolling() {
        QFETCH(bool, enviada);
        QFETCH(int, operacion);
        CincoDeclaraciones();
        // A name as long as a declarant's full name runs.
        entorno.Base().Execute("UPDATE CONT SET nombre = 'AFP INTEGRA ADMINISTRADORA DE FONDOS' WHERE doc_id_d = ?",
                               {kIntegra.ruc});
        entorno.Envia(kProfuturo, "200712", kEnvio1);
        entorno.Envia(kIntegra, "202301", kEnvio2);
        FrmContAbrir& l = Abre(enviada, operacion);
        QVERIFY(QTest::qWaitForWindowExposed(&l));
        const QStringList cortados = zvtest::TextosCortados(l);
        QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join("; ")));
        QTableView* grilla = l.grdContrib();
        QHeaderView* cabecera = grilla->horizontalHeader();
        QVERIFY(l.Modelo().rowCount() > 0);
        int ultima = -1;
        for (int c = 0; c < l.Modelo().columnCount(); ++c) {
            if (grilla->isColumnHidden(c)) continue;
            const QString titulo = l.Modelo().headerData(c, Qt::Horizontal).toString();
            QVERIFY2(cabecera->sectionSize(c) >= cabecera->sectionSizeHint(c), qPrintable(titulo));
            QVERIFY2(cabecera->sectionSize(c) >= static_cast<QAbstractItemView*>(grilla)->sizeHintForColumn(c),
                     qPrintable(titulo));
            ultima = c;
        }
        QCOMPARE(ultima, enviada ? 12 : 8);
        QVERIFY2(cabecera->sectionViewportPosition(ultima) + cabecera->sectionSize(ultima) <= grilla->viewport()->width(),
                 qPrintable(l.Modelo().headerData(ultima, Qt::Horizontal).toString()));
    }

    void userScope_data() {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QStringList>("rucs");
        const QStringList todos = {kProfuturo.ruc, kProfuturo.ruc, kHorizonte.ruc, kIntegra.ruc, kPrima.ruc};
        const QStringList propios = {kProfuturo.ruc, kProfuturo.ruc, kIntegra.ruc, kPrima.ruc};
        QTest::newRow("type 0 sees every declarant") << "0" << todos;
        QTest::newRow("type 1 sees his own") << "1" << propios;
        QTest::newRow("no CLAVES row is type 1") << "" << propios;
    }
    void userScope() {
        QFETCH(QString, tipo);
        QFETCH(QStringList, rucs);
        CincoDeclaraciones();
        entorno.Envia(kProfuturo, "200712", kEnvio1);
        entorno.Envia(kHorizonte, "202302", kEnvio1);
        entorno.TipoDeUsuario(tipo.toStdString());
        Abre(false, 1);
        QCOMPARE(Columna(2), rucs);  // ordered by document number at load
        Abre(true, 1);
        const QStringList enviadas =
            tipo == "0" ? QStringList{kProfuturo.ruc, kHorizonte.ruc} : QStringList{kProfuturo.ruc};
        QCOMPARE(Columna(2), enviadas);
    }

    void userNameIsAValueNotSql() {
        entorno.AgregaDeclarante(kProfuturo, "o'brien");
        entorno.AgregaDeclarante(kIntegra);
        entorno.Importa(kProfuturo, "200712");
        entorno.Importa(kIntegra, "202301");
        Estado::G().gUsuario = "o'brien";
        Abre(false, 1);
        QCOMPARE(Columna(2), QStringList{kProfuturo.ruc});
        QVERIFY(entorno.mensajes.shown.empty());
    }

    void periodMonthFirstAndHandedOnYearFirst() {
        CincoDeclaraciones();
        FrmContAbrir& l = Abre(false, 1);
        QCOMPARE(Columna(8), (QStringList{"122007", "012023", "022023", "012023", "122022"}));
        QCOMPARE(l.FilaActual(), 0);
        QTest::keyClick(l.grdContrib(), Qt::Key_Return);
        QCOMPARE(aperturas.size(), size_t(1));
        const Apertura& a = aperturas[0];
        QCOMPARE(a.gPeriodo, std::string("200712"));
        QCOMPARE(a.gRuc, std::string(kProfuturo.ruc));
        QCOMPARE(a.gRazonSocial, std::string(kProfuturo.nombre));
        QCOMPARE(a.gOperacion, 1);
        QCOMPARE(a.gEsEnviada, false);
        QVERIFY(a.listaInhabilitada);
        QVERIFY(l.grdContrib()->isEnabled());  // usable again once the form is closed
        QVERIFY(Boton(0)->isEnabled());
        QVERIFY(entorno.mensajes.shown.empty());
    }

    void headerClicksOrder_data() {
        QTest::addColumn<int>("columna");
        QTest::addColumn<QStringList>("nombres");
        QTest::addColumn<QString>("orden");
        const QStringList porRuc = {kProfuturo.nombre, kProfuturo.nombre, kHorizonte.nombre, kIntegra.nombre,
                                    kPrima.nombre};
        QTest::newRow("Razón Social") << 3 << QStringList{kHorizonte.nombre, kIntegra.nombre, kPrima.nombre,
                                                           kProfuturo.nombre, kProfuturo.nombre}
                                      << " ORDER BY B.NOMBRE ASC";
        QTest::newRow("RUC") << 2 << porRuc << " ORDER BY A.doc_id_d ASC";
        QTest::newRow("Tipo docum.") << 1 << QStringList{} << " ORDER BY 1 ";
        QTest::newRow("tip_doc_d: no order") << 0 << QStringList{} << "";
        QTest::newRow("Periodo: no order") << 8 << QStringList{} << "";
    }
    void headerClicksOrder() {
        QFETCH(int, columna);
        QFETCH(QStringList, nombres);
        QFETCH(QString, orden);
        CincoDeclaraciones();
        FrmContAbrir& l = Abre(false, 1);
        l.FijaFilaActual(3);
        QHeaderView* cabecera = l.grdContrib()->horizontalHeader();
        l.grdContrib()->setColumnHidden(columna, false);  // a click needs a visible header
        QTest::mouseClick(cabecera->viewport(), Qt::LeftButton, {},
                          QPoint(cabecera->sectionViewportPosition(columna) + cabecera->sectionSize(columna) / 2,
                                 cabecera->height() / 2));
        const std::string& sql = Estado::G().gSQL;
        QVERIFY2(sql.size() > 0 && QString::fromStdString(sql).endsWith("AND A.FORMULARIO ='0841' " + orden),
                 sql.c_str());
        QCOMPARE(l.Modelo().rowCount(), 5);
        if (!nombres.isEmpty()) QCOMPARE(Columna(3), nombres);
        // The first row is current again and the state follows it.
        QCOMPARE(l.FilaActual(), 0);
        QCOMPARE(QString::fromStdString(Estado::G().gRuc), Celda(0, 2));
    }

    void rowChangeKeepsStateAndStatusBar() {
        CincoDeclaraciones();
        FrmContAbrir& l = Abre(false, 1);
        QCOMPARE(entorno.barra->NumeroDocumento(), QString(kProfuturo.ruc));
        l.grdContrib()->setFocus();
        QTest::keyClick(l.grdContrib(), Qt::Key_Down);
        QTest::keyClick(l.grdContrib(), Qt::Key_Down);
        QCOMPARE(l.FilaActual(), 2);
        QCOMPARE(Estado::G().gRuc, std::string(kHorizonte.ruc));
        QCOMPARE(Estado::G().gRazonSocial, std::string(kHorizonte.nombre));
        QCOMPARE(entorno.barra->NumeroDocumento(), QString(kHorizonte.ruc));
        QCOMPARE(entorno.barra->Nombre(), QString(kHorizonte.nombre));
        QCOMPARE(entorno.barra->Periodo(), QString("022023"));
        QCOMPARE(entorno.barra->Formulario(), QString("0841"));
        // Closing clears the four panels.
        QTest::mouseClick(Boton(1), Qt::LeftButton);
        QVERIFY(!l.isVisible());
        QCOMPARE(entorno.barra->NumeroDocumento(), QString());
        QCOMPARE(entorno.barra->Nombre(), QString());
        QCOMPARE(entorno.barra->Periodo(), QString());
        QCOMPARE(entorno.barra->Formulario(), QString());
        QVERIFY(aperturas.empty());
    }

    void keysOtherThanEnterDoNothing() {
        CincoDeclaraciones();
        FrmContAbrir& l = Abre(false, 1);
        l.FijaFilaActual(1);
        l.grdContrib()->setFocus();
        // A repeated character would move to the next row whose cell starts with it.
        QTest::keyClicks(l.grdContrib(), "22");
        QCOMPARE(l.FilaActual(), 1);
        QTest::keyClicks(l.grdContrib(), "Ap ");
        QTest::keyClick(l.grdContrib(), Qt::Key_Backspace);
        QTest::keyClick(l.grdContrib(), Qt::Key_Escape);
        QCOMPARE(l.FilaActual(), 1);
        QVERIFY(l.isVisible());
        QVERIFY(aperturas.empty());
        QTest::keyClick(l.grdContrib(), Qt::Key_Enter);
        QCOMPARE(aperturas.size(), size_t(1));
        QCOMPARE(aperturas[0].gPeriodo, std::string("202301"));
    }

    void doubleClickOpens() {
        CincoDeclaraciones();
        FrmContAbrir& l = Abre(false, 1);
        QTableView* g = l.grdContrib();
        const QRect celda = g->visualRect(l.Modelo().index(4, 2));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, celda.center());
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, celda.center());
        QCOMPARE(aperturas.size(), size_t(1));
        QCOMPARE(aperturas[0].gRuc, std::string(kPrima.ruc));
        QCOMPARE(aperturas[0].gPeriodo, std::string("202212"));
    }

    void afterUpdatingTheThirdRowTheThirdRowIsCurrentAgain() {
        CincoDeclaraciones();
        FrmContAbrir& l = Abre(false, 1);
        l.FijaFilaActual(2);
        QCOMPARE(Celda(2, 5), QString("9"));
        // The form saves the declaration consistent (state 0), with its telephone box.
        alAbrir = [this] {
            entorno.Base().Execute("UPDATE CAB SET estado = 0 WHERE doc_id_d = ? AND periodo = ?",
                                   {kHorizonte.ruc, "202302"});
            entorno.Base().Execute("INSERT INTO DET (tip_doc_d, doc_id_d, periodo, formulario, semana, casilla, "
                                   "i_valor, idcasilla, estado, cNumero) VALUES (6, ?, ?, '0841', 0, '028', "
                                   "'4445566', '01', 0, '000000')",
                                   {kHorizonte.ruc, "202302"});
        };
        QTest::mouseClick(Boton(0), Qt::LeftButton);
        QCOMPARE(aperturas.size(), size_t(1));
        QCOMPARE(aperturas[0].gRuc, std::string(kHorizonte.ruc));
        QCOMPARE(aperturas[0].gPeriodo, std::string("202302"));
        // Read again: the saved state shows, in the third row, current again.
        QCOMPARE(l.FilaActual(), 2);
        QCOMPARE(Celda(2, 2), QString(kHorizonte.ruc));
        QCOMPARE(Celda(2, 5), QString("0"));
        QCOMPARE(Estado::G().gRuc, std::string(kHorizonte.ruc));
        QCOMPARE(entorno.barra->NumeroDocumento(), QString(kHorizonte.ruc));
    }

    void rowNumberKeptWhenTheListChanged() {
        // The same row number, not the same declaration: one declaration less
        // ahead of the chosen one moves the next one under it; a shorter list
        // keeps its last row current.
        CincoDeclaraciones();
        FrmContAbrir& l = Abre(false, 1);
        l.FijaFilaActual(4);
        alAbrir = [this] {
            entorno.Base().Execute("DELETE FROM CAB WHERE doc_id_d = ? AND periodo = '202301'", {kIntegra.ruc});
        };
        QTest::mouseClick(Boton(0), Qt::LeftButton);
        QCOMPARE(l.Modelo().rowCount(), 4);
        QCOMPARE(l.FilaActual(), 3);
        QCOMPARE(Celda(3, 2), QString(kPrima.ruc));
    }

    void sentViewHandsOnTheSend() {
        CincoDeclaraciones();
        entorno.Envia(kProfuturo, "200712", kEnvio1);
        entorno.Envia(kProfuturo, "200712", kEnvio2);
        FrmContAbrir& l = Abre(true, 1);
        QCOMPARE(l.Modelo().rowCount(), 2);
        l.FijaFilaActual(1);
        const int correlFila = Celda(1, 12) == "002" ? 1 : 0;
        l.FijaFilaActual(correlFila);
        QTest::mouseClick(Boton(0), Qt::LeftButton);
        QCOMPARE(aperturas.size(), size_t(1));
        const Apertura& a = aperturas[0];
        QCOMPARE(a.gEsEnviada, true);
        QCOMPARE(a.gOperacion, 1);
        QCOMPARE(a.gRuc, std::string(kProfuturo.ruc));
        QCOMPARE(a.gRazonSocial, std::string(kProfuturo.nombre));
        QCOMPARE(a.gPeriodo, std::string("200712"));
        QCOMPARE(a.gCorrel, std::string("002"));
        QCOMPARE(a.gNumOrden, std::string("87654321"));
        QCOMPARE(a.gCodControl, std::string("WXYZ9876"));
    }

    void emptyListRefusesTheAction_data() {
        QTest::addColumn<bool>("enviada");
        QTest::addColumn<int>("operacion");
        QTest::addColumn<QString>("texto");
        QTest::newRow("update") << false << 1 << "No existen registros disponibles para actualizar";
        QTest::newRow("delete") << false << 3 << "No existen registros disponibles para eliminar";
        QTest::newRow("view sent") << true << 1 << "No existen registros disponibles para ver declaraciones enviadas";
        QTest::newRow("delete sent") << true << 3 << "No existen registros disponibles para eliminar";
    }
    void emptyListRefusesTheAction() {
        QFETCH(bool, enviada);
        QFETCH(int, operacion);
        QFETCH(QString, texto);
        entorno.AgregaDeclarante(kProfuturo);
        FrmContAbrir& l = Abre(enviada, operacion);
        QVERIFY(!l.grdContrib()->isEnabled());
        QVERIFY(Boton(0)->isEnabled());
        QTest::mouseClick(Boton(0), Qt::LeftButton);
        QCOMPARE(entorno.mensajes.shown.size(), size_t(1));
        QCOMPARE(QString::fromStdString(entorno.mensajes.shown[0].text), texto);
        QCOMPARE(entorno.mensajes.shown[0].title, std::string("Información"));
        QVERIFY(aperturas.empty());
    }

    void declarationIsNotOpenedWithWrongRegionalSettings() {
        CincoDeclaraciones();
        QVERIFY(zv::profile::WriteProfileString("intl", "sShortDate", "yyyy-MM-dd"));
        FrmContAbrir& l = Abre(false, 1);
        QTest::mouseClick(Boton(0), Qt::LeftButton);
        QVERIFY(zv::profile::WriteProfileString("intl", "sShortDate", "dd/MM/yyyy"));
        QVERIFY(aperturas.empty());
        QCOMPARE(Titulos(), QStringList{"Error de configuración"});
        QVERIFY(l.isVisible());
    }

    // ---- deleting ------------------------------------------------------------

    void deletingARegisteredDeclarationRemovesItsRowsOnly() {
        CincoDeclaraciones();
        entorno.Envia(kProfuturo, "200712", kEnvio1);
        const long det = entorno.Filas("DET"), detalle = entorno.Filas("F841DETDES");
        const long detPropio = entorno.Filas("DET", kProfuturo.ruc, "200712");
        FrmContAbrir& l = Abre(false, 3);
        QCOMPARE(Celda(0, 8), QString("122007"));

        entorno.mensajes.Push(zv::Answer::No);
        QTest::mouseClick(Boton(0), Qt::LeftButton);
        QCOMPARE(entorno.Filas("CAB"), 5L);
        QCOMPARE(l.Modelo().rowCount(), 5);

        entorno.mensajes.Push(zv::Answer::Yes);
        QTest::mouseClick(Boton(0), Qt::LeftButton);
        QCOMPARE(entorno.mensajes.shown.size(), size_t(2));
        for (const zv::MessageRequest& pregunta : entorno.mensajes.shown) {
            QCOMPARE(pregunta.text, std::string("¿Confirma que va a eliminar la declaración seleccionada?"));
            QCOMPARE(pregunta.title, std::string("Eliminar Declaraciones"));
            QCOMPARE(pregunta.icon, zv::Icon::Question);
            QCOMPARE(pregunta.buttons, zv::Buttons::YesNo);
            QCOMPARE(zv::DefaultAnswer(pregunta), zv::Answer::No);
        }
        for (const char* tabla : {"CAB", "DET", "F841DETDES"})
            QCOMPARE(entorno.Filas(tabla, kProfuturo.ruc, "200712"), 0L);
        // The same declarant's other period, the other declarants and the sent copy stay.
        QCOMPARE(entorno.Filas("CAB"), 4L);
        QCOMPARE(entorno.Filas("CAB", kProfuturo.ruc, "202301"), 1L);
        QCOMPARE(entorno.Filas("DET"), det - detPropio);
        QCOMPARE(entorno.Filas("F841DETDES"), detalle - 2);
        QCOMPARE(entorno.Filas("HCAB", kProfuturo.ruc, "200712"), 1L);
        QCOMPARE(entorno.Filas("HF841DETDES", kProfuturo.ruc, "200712"), 2L);
        // Listed again by document number.
        QCOMPARE(Columna(2), (QStringList{kProfuturo.ruc, kHorizonte.ruc, kIntegra.ruc, kPrima.ruc}));
        QVERIFY(Estado::G().gSQL.ends_with(" ORDER BY A.doc_id_d ASC"));
        QCOMPARE(l.FilaActual(), 0);
    }

    void deletingOneOfTwoSendsLeavesTheOther() {
        CincoDeclaraciones();
        entorno.Envia(kProfuturo, "200712", kEnvio1);
        entorno.Envia(kProfuturo, "200712", kEnvio2);
        entorno.Envia(kProfuturo, "202301", kEnvio1);
        const long hdet = entorno.Filas("HDET", kProfuturo.ruc, "200712", "002");
        FrmContAbrir& l = Abre(true, 3);
        QCOMPARE(Columna(2), (QStringList{kProfuturo.ruc, kProfuturo.ruc, kProfuturo.ruc}));
        int fila = -1;
        for (int f = 0; f < 3; ++f)
            if (Celda(f, 8) == "122007" && Celda(f, 12) == "001") fila = f;
        QVERIFY(fila >= 0);
        l.FijaFilaActual(fila);
        entorno.mensajes.Push(zv::Answer::Yes);
        QTest::mouseClick(Boton(0), Qt::LeftButton);
        QCOMPARE(entorno.mensajes.shown.size(), size_t(1));
        QCOMPARE(entorno.mensajes.shown[0].title, std::string("Eliminar Declaraciones enviadas"));
        for (const char* tabla : {"HCAB", "HDET", "HF841DETDES"})
            QCOMPARE(entorno.Filas(tabla, kProfuturo.ruc, "200712", "001"), 0L);
        QCOMPARE(entorno.Filas("HCAB", kProfuturo.ruc, "200712", "002"), 1L);
        QCOMPARE(entorno.Filas("HDET", kProfuturo.ruc, "200712", "002"), hdet);
        QCOMPARE(entorno.Filas("HF841DETDES", kProfuturo.ruc, "200712", "002"), 2L);
        QCOMPARE(entorno.Filas("HCAB", kProfuturo.ruc, "202301", "001"), 1L);
        QCOMPARE(entorno.Filas("HF841DETDES", kProfuturo.ruc, "202301", "001"), 2L);
        // The registered declaration is not touched.
        QCOMPARE(entorno.Filas("CAB", kProfuturo.ruc, "200712"), 1L);
        QCOMPARE(entorno.Filas("F841DETDES", kProfuturo.ruc, "200712"), 2L);
        QCOMPARE(l.Modelo().rowCount(), 2);
        QCOMPARE(Columna(12).count("001"), 1);
        QCOMPARE(Columna(12).count("002"), 1);
    }

    void aDeleteThatFailsHalfWayChangesNothing_data() {
        QTest::addColumn<QString>("tabla");
        QTest::newRow("boxes") << "DET";
        QTest::newRow("detail") << "F841DETDES";
    }
    void aDeleteThatFailsHalfWayChangesNothing() {
        QFETCH(QString, tabla);
        CincoDeclaraciones();
        const long cab = entorno.Filas("CAB"), det = entorno.Filas("DET"), detalle = entorno.Filas("F841DETDES");
        // The engine refuses the delete of one table after the earlier ones went through.
        const std::string trigger = "CREATE TEMP TRIGGER falla BEFORE DELETE ON main." + tabla.toStdString() +
                                    " BEGIN SELECT RAISE(ABORT, 'tabla ocupada'); END";
        QCOMPARE(sqlite3_exec(zvtest::Conexion(entorno.Base()), trigger.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        FrmContAbrir& l = Abre(false, 3);
        entorno.mensajes.Push(zv::Answer::Yes);
        QTest::mouseClick(Boton(0), Qt::LeftButton);
        sqlite3_exec(zvtest::Conexion(entorno.Base()), "DROP TRIGGER temp.falla", nullptr, nullptr, nullptr);

        QCOMPARE(entorno.Filas("CAB"), cab);
        QCOMPARE(entorno.Filas("DET"), det);
        QCOMPARE(entorno.Filas("F841DETDES"), detalle);
        QVERIFY(!entorno.Base().InTransaction());
        QCOMPARE(Titulos(), (QStringList{"Eliminar Declaraciones", "Error"}));
        const QString error = QString::fromStdString(entorno.mensajes.shown[1].text);
        QVERIFY2(error.contains("tabla ocupada") && error.contains("\n "), qPrintable(error));
        QCOMPARE(l.Modelo().rowCount(), 5);
        QVERIFY(Boton(0)->isEnabled());
    }

    // The commit finds no space: the user hears of the full disk, not of a
    // rollback that found nothing to undo, and nothing is deleted.
    void aDeleteOnAFullDiskSaysSoAndChangesNothing() {
        CincoDeclaraciones();
        const long cab = entorno.Filas("CAB"), det = entorno.Filas("DET"), detalle = entorno.Filas("F841DETDES");
        zvtest::DiscoLleno disco;
        Estado::G().gBase.reset();
        QVERIFY(zvform::LeerIni());  // the connection now writes through the disk
        FrmContAbrir& l = Abre(false, 3);
        disco.Llena(0);
        entorno.mensajes.Push(zv::Answer::Yes);
        QTest::mouseClick(Boton(0), Qt::LeftButton);
        QVERIFY(disco.Rechazos() > 0);
        QVERIFY(!entorno.Base().InTransaction());
        QCOMPARE(Titulos(), (QStringList{"Eliminar Declaraciones", "Error"}));
        QCOMPARE(entorno.mensajes.shown[1].text, std::string("No hay espacio suficiente en el disco.\n 3026"));
        disco.Libera();
        QCOMPARE(entorno.Filas("CAB"), cab);
        QCOMPARE(entorno.Filas("DET"), det);
        QCOMPARE(entorno.Filas("F841DETDES"), detalle);
        QCOMPARE(l.Modelo().rowCount(), 5);

        // With space again the same delete goes through.
        entorno.mensajes.Push(zv::Answer::Yes);
        QTest::mouseClick(Boton(0), Qt::LeftButton);
        QCOMPARE(Titulos(), (QStringList{"Eliminar Declaraciones", "Error", "Eliminar Declaraciones"}));
        QCOMPARE(entorno.Filas("CAB"), cab - 1);
        QCOMPARE(l.Modelo().rowCount(), 4);
    }
};

QTEST_MAIN(ListasTest)
#include "listas_test.moc"
