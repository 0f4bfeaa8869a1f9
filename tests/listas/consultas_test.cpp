// The consult lists of banks and disaffiliation motives, offscreen: their
// rows as PARAM holds them, their captions and sizes, centred in the main
// window, and an empty list.
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QtTest>
#include <memory>

#include "formulario/core/estado.h"
#include "formulario/core/widgets/twips.h"
#include "formulario/declaration/ui/frm_consultas.h"
#include "formulario/declaration/ui/modelo_grilla.h"
#include "tests/listas/entorno.h"
#include "tests/support/textos_cortados.h"

using zvform::Estado;
using zvform::TwipsX;
using zvform::TwipsY;
using zvform::ui::FrmConsultas;
using namespace zvlistas::prueba;

class ConsultasTest : public QObject {
    Q_OBJECT

    Entorno entorno;
    QWidget principal;  // stands for the main window
    std::unique_ptr<FrmConsultas> consulta;

    FrmConsultas& Abre(const char* tipo) {
        Estado::G().gTipoConsulta = tipo;
        consulta = std::make_unique<FrmConsultas>(&principal);
        return *consulta;
    }
    QStringList Columna(int c) const {
        QStringList textos;
        for (int f = 0; f < consulta->Modelo().rowCount(); ++f) textos << consulta->Modelo().Celda(f, c);
        return textos;
    }
    void Param(const char* numero, const std::string& argumento, const std::string& funcion) {
        entorno.Base().Execute("INSERT INTO PARAM (Numero, Argumento, Funcion, Correl_param) VALUES (?, ?, ?, '')",
                               {numero, argumento, funcion});
    }
    QPushButton* Salir() const { return consulta->findChild<QPushButton*>("CmdSalir"); }

private slots:
    void initTestCase() {
        entorno.Inicia();
        principal.setGeometry(100, 80, 900, 700);
    }
    void cleanupTestCase() { entorno.Termina(); }
    // Each case's changes to PARAM are undone afterwards.
    void init() {
        entorno.Limpia();
        entorno.Base().BeginTrans();
    }
    void cleanup() {
        consulta.reset();
        entorno.Base().Rollback();
        entorno.Suelta();
    }

    void banksWithoutNoneAndCut() {
        Param("004", "00 ", "NINGUNO CON BLANCO");
        Param("004", "05", std::string("BANCO CON UN NOMBRE MUY LARGO DE MAS DE TREINTA Y SEIS LETRAS"));
        Param("004", "99X", "BANCO DE CODIGO LARGO");
        FrmConsultas& c = Abre("B");
        QCOMPARE(c.windowTitle(), QString("Bancos"));
        QCOMPARE(Columna(0), (QStringList{"02", "03", "05", "09", "11", "18", "23", "99"}));
        QCOMPARE(c.Modelo().Celda(2, 1), QString("BANCO CON UN NOMBRE MUY LARGO DE MAS"));
        QCOMPARE(c.Modelo().Celda(2, 1).size(), 36);
        // As stored, blanks to 36 included.
        QCOMPARE(c.Modelo().Celda(1, 1), QString("INTERBANK").leftJustified(36));
        QCOMPARE(c.Modelo().headerData(0, Qt::Horizontal).toString(), QString("Código"));
        QCOMPARE(c.Modelo().headerData(1, Qt::Horizontal).toString(), QString("Descripción"));
        QVERIFY(c.grdBancos()->isEnabled());
        QCOMPARE(Estado::G().gSQL, std::string("SELECT MID(ARGUMENTO,1,2) as codigo, mid(FUNCION,1,36) as descrip "
                                               "FROM PARAM WHERE NUMERO='004' AND TRIM(ARGUMENTO)<> '00' order by 1"));
    }

    void motivesTrimmed() {
        Param("783", "00", "NO VA");
        Param("783", "09", "   MOTIVO CON BLANCOS ALREDEDOR Y UNA DESCRIPCION DE MAS DE TREINTA Y SEIS   ");
        FrmConsultas& c = Abre("M");
        QCOMPARE(c.windowTitle(), QString("Motivos de desafiliación"));
        const long filas = std::stol(entorno.Texto("SELECT COUNT(*) FROM PARAM WHERE Numero = '783' AND "
                                                   "TRIM(Argumento) <> '00'"));
        QVERIFY(filas > 1);
        QCOMPARE(c.Modelo().rowCount(), static_cast<int>(filas));
        QVERIFY(!Columna(0).contains("00"));
        const int fila = static_cast<int>(Columna(0).indexOf("09"));
        QVERIFY(fila >= 0);
        QCOMPARE(c.Modelo().Celda(fila, 1),
                 QString("MOTIVO CON BLANCOS ALREDEDOR Y UNA DESCRIPCION DE MAS DE TREINTA Y SEIS"));
        QStringList ordenados = Columna(0);
        ordenados.sort();
        QCOMPARE(Columna(0), ordenados);
    }

    void sizesAndPlace() {
        FrmConsultas& bancos = Abre("B");
        QCOMPARE(bancos.size(), QSize(TwipsX(7065, &bancos), TwipsY(4140, &bancos)));
        QCOMPARE(bancos.grdBancos()->width(), TwipsX(6515, &bancos));
        QCOMPARE(bancos.grdBancos()->horizontalHeader()->sectionSize(1), TwipsX(5100, &bancos));
        QCOMPARE(Salir()->x(), TwipsX(5400, &bancos));
        QCOMPARE(Salir()->text(), QString("&Salir"));
        // Centred in the main window.
        const QPoint centrada(100 + (900 - bancos.width()) / 2, 80 + (700 - bancos.height()) / 2);
        QCOMPARE(bancos.pos(), centrada);

        FrmConsultas& motivos = Abre("M");
        QCOMPARE(motivos.size(), QSize(TwipsX(9065, &motivos), TwipsY(4140, &motivos)));
        QCOMPARE(motivos.grdBancos()->width(), TwipsX(8515, &motivos));
        QCOMPARE(motivos.grdBancos()->horizontalHeader()->sectionSize(1), TwipsX(7500, &motivos));
        QCOMPARE(Salir()->x(), TwipsX(7500, &motivos));
        // Placed for the banks' width: the wider list grows to the right.
        QCOMPARE(motivos.pos(), centrada);
    }

    // Every code and description reads whole in the list's fixed columns: a
    // description longer than its column (motive 02) goes on over further
    // lines of its row, and every row lies in the grid's view.
    void everyDescriptionReadsWhole_data() {
        QTest::addColumn<QString>("tipo");
        QTest::newRow("banks") << "B";
        QTest::newRow("motives") << "M";
    }
    void everyDescriptionReadsWhole() {
        QFETCH(QString, tipo);
        FrmConsultas& c = Abre(qPrintable(tipo));
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        const QStringList cortados = zvtest::TextosCortados(c);
        QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join("; ")));
        QTableView* grilla = c.grdBancos();
        const QFontMetrics medidas = grilla->fontMetrics();
        const int margen = 2 * (grilla->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grilla) + 1);
        QVERIFY(c.Modelo().rowCount() > 0);
        for (int f = 0; f < c.Modelo().rowCount(); ++f) {
            const QString codigo = c.Modelo().Celda(f, 0);
            QVERIFY2(medidas.horizontalAdvance(codigo) + margen <= grilla->columnWidth(0), qPrintable(codigo));
            const QString descripcion = c.Modelo().Celda(f, 1).trimmed();
            const QRect lineas = medidas.boundingRect(QRect(0, 0, grilla->columnWidth(1) - margen, 10000),
                                                      Qt::TextWordWrap, descripcion);
            QVERIFY2(lineas.width() <= grilla->columnWidth(1) - margen, qPrintable(descripcion));
            QVERIFY2(lineas.height() <= grilla->rowHeight(f), qPrintable(descripcion));
            QVERIFY2(grilla->rowViewportPosition(f) + grilla->rowHeight(f) <= grilla->viewport()->height(),
                     qPrintable(descripcion));
        }
        QVERIFY(grilla->columnWidth(0) + grilla->columnWidth(1) <= grilla->viewport()->width());
    }

    void emptyMotivesList() {
        entorno.Base().Execute("DELETE FROM PARAM WHERE Numero = '783'");
        FrmConsultas& c = Abre("M");
        QCOMPARE(c.Modelo().rowCount(), 0);
        QVERIFY(!c.grdBancos()->isEnabled());
        QVERIFY(Salir()->isEnabled());
        QVERIFY(entorno.mensajes.shown.empty());
    }

    void anotherConsultTypeListsNothing() {
        Estado::G().gSQL = "SELECT Numero AS codigo, Funcion AS descrip FROM PARAM";
        FrmConsultas& c = Abre("X");
        QCOMPARE(c.windowTitle(), QString("Consultas"));
        QCOMPARE(c.Modelo().rowCount(), 0);
        QVERIFY(!c.grdBancos()->isEnabled());
    }

    void focusOnTheGridAndSalirCloses() {
        FrmConsultas& c = Abre("B");
        c.show();
        QVERIFY(QTest::qWaitForWindowActive(&c));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(c.grdBancos()));
        QTest::mouseClick(Salir(), Qt::LeftButton);
        QVERIFY(!c.isVisible());
    }
};

QTEST_MAIN(ConsultasTest)
#include "consultas_test.moc"
