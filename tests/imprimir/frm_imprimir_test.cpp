// The print dialog, offscreen, over declarations brought in by the import
// engine: the list and who sees what, the report written for the chosen
// declaration and option, the road to the preview, the page-range dialog or
// the printer, the box values and payment data the report is written from,
// sent declarations by their correlative, and the row kept after a report.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "formulario/app/abridores.h"
#include "formulario/core/estado.h"
#include "formulario/core/ui/barra_estado.h"
#include "formulario/core/ui/mdi_frm.h"
#include "formulario/reports/imprimir.h"
#include "formulario/reports/ui/frm_imprimir.h"
#include "formulario/reports/ui/impresora.h"
#include "formulario/reports/ui/muestra_reporte.h"
#include "platform/profile.h"
#include "tests/imprimir/entorno.h"
#include "tests/support/textos_cortados.h"

using zvform::Estado;
using zvform::ui::frmImprimir;
using zvimprimir::prueba::Entorno;
using zvimprimir::prueba::kPeriodo;
using zvimprimir::prueba::kRucA;
using zvimprimir::prueba::kRucB;
using zvimprimir::prueba::kRucC;
using zvimprimir::prueba::Llamada;

namespace {

constexpr const char* kExito = "El reporte se imprimió satisfactoriamente";

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Affiliates whose annex alone fills exactly 15 pages, and 16.
constexpr int kAfiliados15Paginas = 520;
constexpr int kAfiliados16Paginas = 560;

}  // namespace

class FrmImprimirTest : public QObject {
    Q_OBJECT

    Entorno entorno;
    std::unique_ptr<frmImprimir> frm;
    std::unique_ptr<zvform::ui::BarradeEstadoZarvo> barra;

    frmImprimir& Abre() {
        frm = std::make_unique<frmImprimir>();
        frm->show();
        return *frm;
    }
    QPushButton* Boton(int i) { return frm->findChild<QPushButton*>(QString("CmdImprimir_%1").arg(i)); }
    QRadioButton* Opcion(int i) { return frm->findChild<QRadioButton*>(QString("OptImp_%1").arg(i)); }
    QString Celda(int fila, int columna) {
        return frm->dtaDecRegis()->index(fila, columna).data().toString();
    }
    // The row of a RUC (and correlative), made current as a click makes it.
    int Elige(const std::string& ruc, const std::string& correl = "") {
        for (int f = 0; f < frm->dtaDecRegis()->rowCount(); ++f) {
            const auto& d = frm->dtaDecRegis()->Fila(f);
            if (d.doc_id_d == ruc && d.correl == correl) {
                frm->grdImprimir()->setCurrentIndex(frm->dtaDecRegis()->index(f, 3));
                return f;
            }
        }
        return -1;
    }
    std::string CodigoDelUltimoSpool() {
        return entorno.Texto("SELECT CodRep FROM SPOOL ORDER BY Archivo DESC");
    }
    int Cuenta(const std::vector<std::string>& lineas, const std::string& texto) {
        int n = 0;
        for (const auto& l : lineas) n += l.find(texto) != std::string::npos;
        return n;
    }

private slots:
    void initTestCase() { Entorno::CreaInstalacion(); }
    void cleanupTestCase() { Entorno::BorraInstalacion(); }
    void init() {
        // A printer: the printing itself is the test's fake; the PDF road
        // is the one test that says otherwise.
        zvform::ui::HayImpresora() = [] { return true; };
        entorno.Inicia();
        barra = std::make_unique<zvform::ui::BarradeEstadoZarvo>();
        zvform::ui::BarradeEstadoZarvo::SetPrincipal(barra.get());
    }
    void cleanup() {
        frm.reset();
        barra.reset();
        entorno.Termina();
    }

    // ---- the dialog as it opens ---------------------------------------------

    void controlesAlAbrir() {
        QVERIFY(entorno.Importa(kRucA, kPeriodo, 3));
        Abre();
        QCOMPARE(frm->objectName(), QString("frmImprimir"));
        QCOMPARE(frm->windowTitle(), QString("Imprimir Declaraciones"));
        QCOMPARE(frm->findChild<QGroupBox*>("Frame1")->title(), QString("&Opciones"));
        QCOMPARE(frm->findChild<QGroupBox*>("Frame2")->title(), QString("Declaraciones registradas"));
        const QStringList opciones{"Declaración", "Detalle de afiliados", "Declaración y detalle de afiliados"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(Opcion(i)->text(), opciones[i]);
            QCOMPARE(Opcion(i)->isChecked(), i == 0);
        }
        const QStringList botones{"&Preliminar", "&Imprimir", "&Salir"};
        for (int i = 0; i < 3; ++i) QCOMPARE(Boton(i)->text(), botones[i]);
        const QStringList cabeceras{"tip_doc_d", "Tipo docum.", "RUC",     "Razón social", "Formulario",
                                    "Entidad",   "semana",      "Periodo", "Correlativo",  "Fecha de envío"};
        QCOMPARE(frm->dtaDecRegis()->columnCount(), 10);
        for (int c = 0; c < 10; ++c) {
            QCOMPARE(frm->dtaDecRegis()->headerData(c, Qt::Horizontal).toString(), cabeceras[c]);
            QCOMPARE(frm->grdImprimir()->isColumnHidden(c), c >= 8);
        }
        QCOMPARE(frm->findChild<QTableView*>("grdImprimir"), frm->grdImprimir());
        QCOMPARE(frm->property("HelpContextID").toInt(), 1011);
        // One row: its texts by column; the first row is current.
        QCOMPARE(frm->dtaDecRegis()->rowCount(), 1);
        const QStringList fila{"6", "RUC         ", kRucA, "PROFUTURO AFP", "0841", "", "0", "12/2007"};
        for (int c = 0; c < fila.size(); ++c) QCOMPARE(Celda(0, c), fila[c]);
        QCOMPARE(frm->FilaActual(), 0);
        QCOMPARE(barra->NumeroDocumento(), QString(kRucA));
        QCOMPARE(barra->Nombre(), QString("PROFUTURO AFP"));
        QCOMPARE(barra->Periodo(), QString("12/2007"));
        QCOMPARE(barra->Formulario(), QString("0841"));
        Boton(2)->click();
        QVERIFY(!frm->isVisible());
    }

    // The options, buttons and frames show their texts whole, and every
    // shown column of the grid is as wide as its caption and its cells.
    void textosCompletos() {
        QVERIFY(entorno.Importa(kRucA, kPeriodo, 3));
        Abre();
        QVERIFY(QTest::qWaitForWindowExposed(frm.get()));
        const QStringList cortados = zvtest::TextosCortados(*frm);
        QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join("; ")));
        QTableView* grilla = frm->grdImprimir();
        for (int c = 0; c < frm->dtaDecRegis()->columnCount(); ++c) {
            if (grilla->isColumnHidden(c)) continue;
            const QString titulo = frm->dtaDecRegis()->headerData(c, Qt::Horizontal).toString();
            QVERIFY2(grilla->columnWidth(c) >= grilla->horizontalHeader()->sectionSizeHint(c), qPrintable(titulo));
            QVERIFY2(grilla->columnWidth(c) >= static_cast<QAbstractItemView*>(grilla)->sizeHintForColumn(c),
                     qPrintable(titulo));
        }
    }

    void sinDeclaracionesNoHaceNada() {
        Abre();
        QVERIFY(!frm->grdImprimir()->isEnabled());
        Boton(0)->click();
        Boton(1)->click();
        QVERIFY(entorno.llamadas.empty());
        QVERIFY(entorno.mensajes.shown.empty());
        QCOMPARE(entorno.Texto("SELECT count(*) FROM SPOOL"), std::string("0"));
    }

    // Type "0" sees every declarant's declarations; any other user (a type
    // other than "0", or no CLAVES row) only those of its own declarants.
    void alcanceDelUsuario_data() {
        QTest::addColumn<QString>("usuario");
        QTest::addColumn<QStringList>("rucs");
        QTest::newRow("tipo 0") << "tester" << QStringList{kRucA, kRucC, kRucB};
        QTest::newRow("tipo 1") << "otro" << QStringList{kRucC};
        QTest::newRow("sin fila en CLAVES") << "nadie" << QStringList{};
    }
    void alcanceDelUsuario() {
        QFETCH(QString, usuario);
        QFETCH(QStringList, rucs);
        for (const char* ruc : {kRucA, kRucB, kRucC}) QVERIFY(entorno.Importa(ruc, kPeriodo, 1));
        entorno.Ejecuta("INSERT INTO CLAVES (Usuario, Tipo) VALUES ('otro', '1')");
        entorno.Ejecuta("UPDATE CONT SET Usuario = 'otro' WHERE Doc_id_d = ?", {kRucC});
        Estado::G().gUsuario = usuario.toStdString();
        Abre();
        QStringList vistos;
        for (int f = 0; f < frm->dtaDecRegis()->rowCount(); ++f) vistos << Celda(f, 2);
        QCOMPARE(vistos, rucs);
        QCOMPARE(frm->grdImprimir()->isEnabled(), !rucs.isEmpty());
        QVERIFY(Q(Estado::G().gSQL).contains("B.USUARIO=?") == (usuario != "tester"));
    }

    // ---- the report written ---------------------------------------------------

    void periodoListadoYReportado() {
        QVERIFY(entorno.Importa(kRucA, kPeriodo, 2));
        QVERIFY(entorno.Importa(kRucA, "200801", 1));
        Abre();
        QCOMPARE(Celda(0, 7) + "," + Celda(1, 7), QString("12/2007,01/2008"));
        frm->grdImprimir()->setCurrentIndex(frm->dtaDecRegis()->index(0, 7));
        Opcion(1)->click();
        Boton(0)->click();
        QCOMPARE(entorno.llamadas.size(), size_t(1));
        const Llamada& l = entorno.llamadas[0];
        QCOMPARE(l.que, std::string("Vprevia"));
        QCOMPARE(l.periodo, std::string("200712"));
        QCOMPARE(l.ruc, std::string(kRucA));
        QCOMPARE(l.razonSocial, std::string("PROFUTURO AFP"));
        // The annex holds the two affiliates of 200712, not the one of 200801.
        QCOMPARE(Cuenta(l.lineas, "01 40000000 "), 1);
        QCOMPARE(Cuenta(l.lineas, "01 40000001 "), 1);
        QCOMPARE(Estado::G().gRutaArchivo, Estado::G().gRutaRpt + l.archivo);
        QCOMPARE(Estado::G().gSalida, std::string("ARCHIVO"));
    }

    // "Detalle de afiliados" is registered as F84102, the other two as
    // F84101, by either button.
    void codigoSpoolPorOpcion_data() {
        QTest::addColumn<int>("opcion");
        QTest::addColumn<int>("boton");
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<int>("paginas");
        for (int boton : {0, 1}) {
            const char* b = boton == 0 ? "Preliminar" : "Imprimir";
            QTest::addRow("Declaración, %s", b) << 0 << boton << "F84101" << 1;
            QTest::addRow("Detalle, %s", b) << 1 << boton << "F84102" << 1;
            QTest::addRow("ambos, %s", b) << 2 << boton << "F84101" << 2;
        }
    }
    void codigoSpoolPorOpcion() {
        QFETCH(int, opcion);
        QFETCH(int, boton);
        QFETCH(QString, codigo);
        QFETCH(int, paginas);
        QVERIFY(entorno.Importa(kRucB, kPeriodo, 2));
        Abre();
        Opcion(opcion)->click();
        Boton(boton)->click();
        QCOMPARE(entorno.llamadas.size(), size_t(1));
        const Llamada& l = entorno.llamadas[0];
        QCOMPARE(l.que, std::string(boton == 0 ? "Vprevia" : "xx"));
        QCOMPARE(Q(CodigoDelUltimoSpool()), codigo);
        QCOMPARE(entorno.Texto("SELECT Archivo FROM SPOOL"), l.archivo);
        QCOMPARE(entorno.Texto("SELECT Doc_id_d || '/' || tip_doc_d || '/' || Usuario FROM SPOOL"),
                 std::string(kRucB) + "/6/tester");
        QCOMPARE(l.paginas, paginas);
        QCOMPARE(l.lineas.back(), "<!nHojas!>" + std::to_string(paginas) + "<!/nHojas!>");
        QCOMPARE(Entorno::Contiene(l.lineas, "SOLVENDA"), true);
        QCOMPARE(Entorno::Contiene(l.lineas, "DETALLE DE AFILIADOS"), opcion != 0);
        QCOMPARE(Entorno::Contiene(l.lineas, "Importe total por aportes obligatorios al SPP"), opcion != 1);
    }

    // Up to 15 pages the preview opens at once; from 16 the page-range
    // dialog, over the new file and its page total.
    void paginasYRango_data() {
        QTest::addColumn<int>("afiliados");
        QTest::addColumn<int>("paginas");
        QTest::newRow("15 páginas") << kAfiliados15Paginas << 15;
        QTest::newRow("16 páginas") << kAfiliados16Paginas << 16;
    }
    void paginasYRango() {
        QFETCH(int, afiliados);
        QFETCH(int, paginas);
        QVERIFY(entorno.Importa(kRucA, kPeriodo, afiliados));
        Estado::G().gRangoPaginas = paginas <= 15;  // what a previous run may have left
        Abre();
        Opcion(1)->click();
        Boton(0)->click();
        QCOMPARE(entorno.llamadas.size(), size_t(1));
        const Llamada& l = entorno.llamadas[0];
        QCOMPARE(l.que, std::string(paginas > 15 ? "rango" : "Vprevia"));
        QCOMPARE(l.paginas, paginas);
        QCOMPARE(l.rango, paginas > 15);
        QCOMPARE(Estado::G().gTotalPaginas, paginas);
        QCOMPARE(l.lineas.back(), "<!nHojas!>" + std::to_string(paginas) + "<!/nHojas!>");
        QCOMPARE(entorno.Texto("SELECT Archivo FROM SPOOL"), l.archivo);
    }

    // After a range preview, "&Imprimir" prints the whole new report.
    void imprimirTrasRangoImprimeTodo() {
        QVERIFY(entorno.Importa(kRucA, kPeriodo, kAfiliados16Paginas));
        QVERIFY(entorno.Importa(kRucB, kPeriodo, kAfiliados16Paginas));
        Abre();
        Opcion(2)->click();
        Elige(kRucA);
        Boton(0)->click();
        QCOMPARE(entorno.llamadas.size(), size_t(1));
        QCOMPARE(entorno.llamadas[0].que, std::string("rango"));
        QCOMPARE(Estado::G().gPagDesde, 2);  // the range dialog's last range
        Elige(kRucB);
        Boton(1)->click();
        QCOMPARE(entorno.llamadas.size(), size_t(2));
        const Llamada& l = entorno.llamadas[1];
        QCOMPARE(l.que, std::string("xx"));
        QVERIFY(!l.rango);
        QCOMPARE(l.ruc, std::string(kRucB));
        QVERIFY(l.archivo != entorno.llamadas[0].archivo);
        QCOMPARE(l.paginas, 17);  // the form and the 16 pages of the annex
        QCOMPARE(entorno.TextosMostrados(), std::vector<std::string>{kExito});
    }

    // ---- printing and what is said about it ---------------------------------

    // The success message only when the printer took the whole report.
    void mensajeDeImpresion_data() {
        QTest::addColumn<bool>("impreso");
        QTest::newRow("impreso") << true;
        QTest::newRow("no impreso") << false;
    }
    void mensajeDeImpresion() {
        QFETCH(bool, impreso);
        QVERIFY(entorno.Importa(kRucA, kPeriodo, 1));
        entorno.respuestaImpresion = impreso;
        Abre();
        Boton(1)->click();
        QCOMPARE(entorno.llamadas.size(), size_t(1));
        QCOMPARE(entorno.llamadas[0].que, std::string("xx"));
        if (impreso) {
            QCOMPARE(entorno.mensajes.shown.size(), size_t(1));
            const auto& m = entorno.mensajes.shown[0];
            QCOMPARE(m.text, std::string(kExito));
            QCOMPARE(m.icon, zv::Icon::Information);
            QCOMPARE(m.title, std::string("Solvenda"));
        } else {
            QVERIFY(entorno.mensajes.shown.empty());
        }
    }

    // The real printer road, on a machine without a printer: the report is
    // printed into its PDF file and said to be. A spool file gone before it
    // is printed (another program removed it) is told, and no success.
    void impresoraDelPrograma_data() {
        QTest::addColumn<bool>("borrado");
        QTest::newRow("impreso en PDF") << false;
        QTest::newRow("archivo borrado antes") << true;
    }
    void impresoraDelPrograma() {
        QFETCH(bool, borrado);
        QVERIFY(entorno.Importa(kRucA, kPeriodo, 40));
        auto& hay = zvform::ui::HayImpresora();
        const auto antes = hay;
        hay = [] { return false; };
        auto& muestra = zvform::ui::MDIFrm::Abridores().muestraReporte;
        muestra = [this, borrado](const std::string& archivo, const std::string& modo) {
            if (borrado) std::filesystem::remove(entorno.RutaRpt() / archivo);
            return zvform::ui::MuestraReporte(archivo, modo);
        };
        Abre();
        Opcion(2)->click();
        Boton(1)->click();
        hay = antes;
        const std::string archivo = entorno.Texto("SELECT Archivo FROM SPOOL");
        const auto pdf = zvform::ui::ArchivoPdf(entorno.RutaRpt() / archivo);
        if (borrado) {
            QVERIFY(!std::filesystem::exists(pdf));
            QCOMPARE(entorno.TextosMostrados(), std::vector<std::string>{"El archivo físico del reporte no existe"});
        } else {
            QCOMPARE(zvtest::Bytes(pdf).substr(0, 5), std::string("%PDF-"));
            // Where the PDF is follows the message.
            QCOMPARE(entorno.TextosMostrados(),
                     std::vector<std::string>{std::string(kExito) +
                                              "\n\nNo hay impresora: el reporte se guardó en el archivo PDF " +
                                              pdf.string()});
        }
    }

    // A spool file that cannot be made: the run says why, and nothing is
    // shown or printed from it, nor any success claimed.
    void sinArchivoNoSeMuestraNiImprime() {
        QVERIFY(entorno.Importa(kRucA, kPeriodo, 1));
        Abre();
        const auto rpt = entorno.RutaRpt();
        std::filesystem::remove_all(rpt);
        Boton(1)->click();
        Boton(0)->click();
        std::filesystem::create_directories(rpt);
        QVERIFY(entorno.llamadas.empty());
        const std::string error = "Error Técnico : ( 76) No se encontró la ruta de acceso";
        QCOMPARE(entorno.TextosMostrados(), (std::vector<std::string>{error, error}));
        for (const auto& m : entorno.mensajes.shown) QCOMPARE(m.title, std::string("Impresión"));
        QVERIFY(frm->isVisible());
    }

    // Regional settings the reports cannot be written with: the check's own
    // message, and no report by either button.
    void configuracionRegionalNoValida() {
        QVERIFY(entorno.Importa(kRucA, kPeriodo, 1));
        std::string antes;
        zv::profile::GetProfileString("intl", "sShortDate", "", antes, 255);
        QVERIFY(zv::profile::WriteProfileString("intl", "sShortDate", "d/M/yy"));
        Abre();
        Boton(0)->click();
        Boton(1)->click();
        QVERIFY(zv::profile::WriteProfileString("intl", "sShortDate", antes));
        QVERIFY(entorno.llamadas.empty());
        QCOMPARE(entorno.Texto("SELECT count(*) FROM SPOOL"), std::string("0"));
        QCOMPARE(entorno.mensajes.shown.size(), size_t(2));
        QCOMPARE(entorno.mensajes.shown[0].title, std::string("Error de configuración"));
    }

    // ---- box values and payment data ----------------------------------------

    void casillasOmitidas() {
        QVERIFY(entorno.Importa(kRucA, kPeriodo, 2));
        for (auto [casilla, valor] : {std::pair{"721", "1.0"}, {"722", "X"}, {"005", "1"}, {"028", "4421234"}})
            entorno.Ejecuta("INSERT INTO DET (tip_doc_d, doc_id_d, periodo, formulario, semana, casilla, i_valor) "
                            "VALUES (6, ?, ?, '0841', 0, ?, ?)",
                            {kRucA, kPeriodo, casilla, valor});
        Abre();
        Boton(0)->click();
        QCOMPARE(entorno.llamadas.size(), size_t(1));
        const auto& c = entorno.llamadas[0].casillas;
        QVERIFY(!c.count(721));
        QVERIFY(!c.count(722));
        QCOMPARE(c.at(5), std::string("1"));
        QCOMPARE(c.at(28), std::string("4421234"));
        QCOMPARE(c.at(590), entorno.Texto("SELECT i_valor FROM DET WHERE casilla = '590'"));
        QCOMPARE(c.size(), size_t(8));  // the six boxes of the import, 005 and 028
        QVERIFY(Entorno::Contiene(entorno.llamadas[0].lineas, "pPos|9030|1440|4421234|"));
    }

    // A cheque, then a Null cheque number with cash, then a header whose
    // payment columns are all Null, then one whose header is gone: each
    // report carries its own payment data only.
    void pagoDeCadaDeclaracion() {
        for (const char* ruc : {kRucA, kRucB, kRucC}) QVERIFY(entorno.Importa(ruc, kPeriodo, 1));
        QVERIFY(entorno.Importa(kRucA, "200801", 1));
        entorno.Ejecuta("UPDATE CAB SET bcolibrad = '02', NroCheque = '00012345', cheque = '5', efectivo = '' "
                        "WHERE doc_id_d = ? AND periodo = ?",
                        {kRucA, kPeriodo});
        entorno.Ejecuta("UPDATE CAB SET bcolibrad = ' ', NroCheque = NULL, cheque = '', efectivo = '360' "
                        "WHERE doc_id_d = ?",
                        {kRucB});
        Abre();
        auto preliminar = [&](const char* ruc, const char* periodo) {
            for (int f = 0; f < frm->dtaDecRegis()->rowCount(); ++f)
                if (frm->dtaDecRegis()->Fila(f).doc_id_d == ruc && Celda(f, 7).endsWith(QString(periodo).left(4)))
                    frm->grdImprimir()->setCurrentIndex(frm->dtaDecRegis()->index(f, 2));
            Boton(0)->click();
            return entorno.llamadas.back();
        };
        Llamada cheque = preliminar(kRucA, kPeriodo);
        QCOMPARE(cheque.bancoPago + "/" + cheque.nroCheque + "/" + cheque.efectivo, std::string("02/00012345/"));
        QVERIFY(Entorno::Contiene(cheque.lineas, "|CHEQUE|"));
        QVERIFY(Entorno::Contiene(cheque.lineas, "|BANCO DE CREDITO |"));  // cut to 17

        Llamada efectivo = preliminar(kRucB, kPeriodo);
        QCOMPARE(efectivo.nroCheque, std::string(""));
        QCOMPARE(efectivo.efectivo, std::string("360"));
        QVERIFY(Entorno::Contiene(efectivo.lineas, "|EFECTIVO|"));
        QVERIFY(!Entorno::Contiene(efectivo.lineas, "00012345"));

        preliminar(kRucA, kPeriodo);
        Llamada nulos = preliminar(kRucC, kPeriodo);
        QCOMPARE(nulos.bancoPago + "/" + nulos.nroCheque + "/" + nulos.efectivo, std::string("//"));
        QVERIFY(!Entorno::Contiene(nulos.lineas, "00012345"));
        QVERIFY(!Entorno::Contiene(nulos.lineas, "BANCO DE CREDITO"));

        // The header of A for 200801 goes while the list shows it.
        preliminar(kRucA, kPeriodo);
        entorno.Ejecuta("DELETE FROM CAB WHERE doc_id_d = ? AND periodo = '200801'", {kRucA});
        Llamada sinCabecera = preliminar(kRucA, "200801");
        QCOMPARE(sinCabecera.periodo, std::string("200801"));
        QCOMPARE(sinCabecera.bancoPago + "/" + sinCabecera.nroCheque + "/" + sinCabecera.efectivo, std::string("//"));
        QVERIFY(!Entorno::Contiene(sinCabecera.lineas, "00012345"));
        QVERIFY(!Entorno::Contiene(sinCabecera.lineas, "|CHEQUE|"));
        QVERIFY(!Entorno::Contiene(sinCabecera.lineas, "BANCO DE CREDITO"));
    }

    // The same without the dialog: CargarCasillas empties what the previous
    // declaration left, boxes and payment data.
    void cargarCasillasSinCabecera() {
        QVERIFY(entorno.Importa(kRucA, kPeriodo, 1));
        Estado& e = Estado::G();
        e.gPeriodo = kPeriodo;
        e.gBancoPago = "02";
        e.gNroCheque = "00012345";
        e.gEfectivo = "1";
        e.gValoresCasilla[12] = "00012345";
        entorno.Ejecuta("DELETE FROM CAB");
        zvform::DeclaracionImpresion fila;
        fila.tip_doc_d = "6";
        fila.doc_id_d = kRucA;
        zvform::CargarCasillas(fila);
        QCOMPARE(e.gBancoPago + e.gNroCheque + e.gEfectivo, std::string(""));
        QCOMPARE(e.gValoresCasilla[12], std::string(""));
        QCOMPARE(e.gValoresCasilla[593], std::string("1"));
    }

    // ---- sent declarations ----------------------------------------------------

    // Two sends of one period: two rows, each report from its own send.
    void dosEnviosDosReportes() {
        QVERIFY(entorno.Importa(kRucA, kPeriodo, 3));
        entorno.Envia(kRucA, kPeriodo, "001", dao::Date{2008, 1, 10});
        entorno.Ejecuta("UPDATE DET SET i_valor = '99999' WHERE casilla = '590'");
        entorno.Ejecuta("DELETE FROM F841DETDES WHERE Num_Doctrab = '40000002'");
        entorno.Envia(kRucA, kPeriodo, "002", dao::Date{2008, 1, 20});
        entorno.Ejecuta("DELETE FROM CAB");  // only the sent family lists them
        Estado::G().gEsEnviada = true;
        Abre();
        QCOMPARE(frm->windowTitle(), QString("Imprimir Declaraciones enviadas"));
        QCOMPARE(frm->findChild<QGroupBox*>("Frame2")->title(), QString("Declaraciones registradas"));
        QCOMPARE(frm->property("HelpContextID").toInt(), 1012);
        QVERIFY(!frm->grdImprimir()->isColumnHidden(8));
        QVERIFY(!frm->grdImprimir()->isColumnHidden(9));
        QCOMPARE(frm->dtaDecRegis()->rowCount(), 2);
        Opcion(2)->click();
        std::map<std::string, Llamada> porEnvio;
        for (const char* correl : {"001", "002"}) {
            const int f = Elige(kRucA, correl);
            QVERIFY(f >= 0);
            QCOMPARE(Celda(f, 9), QString(correl == std::string("001") ? "10/01/2008" : "20/01/2008"));
            Boton(0)->click();
            porEnvio[correl] = entorno.llamadas.back();
        }
        const Llamada& uno = porEnvio["001"];
        const Llamada& dos = porEnvio["002"];
        QCOMPARE(uno.correl, std::string("001"));
        QCOMPARE(dos.correl, std::string("002"));
        QVERIFY(uno.archivo != dos.archivo);
        QVERIFY(uno.casillas.at(590) != "99999");
        QCOMPARE(dos.casillas.at(590), std::string("99999"));
        QVERIFY(Entorno::Contiene(dos.lineas, "          99,999|"));
        QVERIFY(!Entorno::Contiene(uno.lineas, "99,999"));
        QCOMPARE(Cuenta(uno.lineas, "01 4000000"), 3);
        QCOMPARE(Cuenta(dos.lineas, "01 4000000"), 2);
        QVERIFY(!Entorno::Contiene(dos.lineas, "01 40000002 "));
    }

    // ---- the grid -------------------------------------------------------------

    // After a report the grid is back on the row that was chosen, though the
    // preview above it took the focus away and the list was read again.
    void filaRestaurada() {
        for (const char* ruc : {kRucA, kRucB, kRucC}) QVERIFY(entorno.Importa(ruc, kPeriodo, 1));
        Abre();
        QVERIFY(QTest::qWaitForWindowActive(frm.get()));
        // A window above the dialog while the report is shown; when it goes
        // the dialog is active again, as the window manager makes it.
        entorno.alMostrar = [this] {
            QDialog vista(frm.get());
            QTimer::singleShot(50, &vista, &QDialog::accept);
            vista.exec();
            entorno.Ejecuta("UPDATE CONT SET nombre = 'PROFUTURO AFP S.A.' WHERE Doc_id_d = ?", {kRucA});
            frm->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(frm.get()));
        };
        const int fila = Elige(kRucB);
        QCOMPARE(fila, 2);
        for (int boton : {0, 1}) {
            Boton(boton)->click();
            QCOMPARE(frm->FilaActual(), fila);
            QVERIFY(frm->grdImprimir()->selectionModel()->isRowSelected(fila, {}));
            QCOMPARE(barra->NumeroDocumento(), QString(kRucB));
            QCOMPARE(barra->Nombre(), QString("AFP INTEGRA S.A."));
        }
        QCOMPARE(Celda(0, 3), QString("PROFUTURO AFP S.A."));  // the list as it is now
        QCOMPARE(entorno.llamadas.size(), size_t(2));
        QCOMPARE(entorno.llamadas[0].ruc, std::string(kRucB));
        QCOMPARE(entorno.llamadas[1].ruc, std::string(kRucB));
    }

    // A double click and Enter in the grid act as "&Preliminar"; other keys
    // move in the grid.
    void dobleClicYEnter() {
        for (const char* ruc : {kRucA, kRucB, kRucC}) QVERIFY(entorno.Importa(ruc, kPeriodo, 1));
        Abre();
        QTableView* grilla = frm->grdImprimir();
        const QRect celda = grilla->visualRect(frm->dtaDecRegis()->index(1, 2));
        // What the window system sends for a double click: a click, then the double click.
        QTest::mouseClick(grilla->viewport(), Qt::LeftButton, {}, celda.center());
        QTest::mouseDClick(grilla->viewport(), Qt::LeftButton, {}, celda.center());
        QCOMPARE(entorno.llamadas.size(), size_t(1));
        QCOMPARE(entorno.llamadas[0].ruc, std::string(kRucC));
        grilla->setFocus();
        QTest::keyClick(grilla, Qt::Key_Down);
        QCOMPARE(frm->FilaActual(), 2);
        QCOMPARE(barra->NumeroDocumento(), QString(kRucB));
        QTest::keyClick(grilla, Qt::Key_Return);
        QTest::keyClick(grilla, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(entorno.llamadas.size(), size_t(3));
        QCOMPARE(entorno.llamadas[1].ruc, std::string(kRucB));
        QCOMPARE(entorno.llamadas[2].ruc, std::string(kRucB));
        QCOMPARE(entorno.llamadas[2].que, std::string("Vprevia"));
        QVERIFY(frm->isVisible());
        // Enter on a focused button presses that button.
        Boton(1)->setFocus();
        QTest::keyClick(Boton(1), Qt::Key_Return);
        QCOMPARE(entorno.llamadas.size(), size_t(4));
        QCOMPARE(entorno.llamadas[3].que, std::string("xx"));
        Boton(2)->setFocus();
        QTest::keyClick(Boton(2), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(entorno.llamadas.size(), size_t(4));
        QVERIFY(!frm->isVisible());
    }

    // ---- the main window opens it ---------------------------------------------

    void menusYBotonAbrenElDialogo() {
        QVERIFY(entorno.Importa(kRucA, kPeriodo, 1));
        zvform::RegistraFormularios();
        zvform::ui::MDIFrm principal;
        struct Caso {
            std::function<void()> accion;
            const char* titulo;
            int filas;
        };
        entorno.Envia(kRucA, kPeriodo, "001", dao::Date{2008, 1, 10});
        entorno.Envia(kRucA, kPeriodo, "002", dao::Date{2008, 1, 11});
        const std::vector<Caso> casos = {
            {[&] { principal.findChild<QAction*>("mnuImprimir")->trigger(); }, "Imprimir Declaraciones", 1},
            {[&] { principal.findChild<QAction*>("mnuImprimirEnviadas")->trigger(); },
             "Imprimir Declaraciones enviadas", 2},
            {[&] { principal.Toolbar1_ButtonClick(7); }, "Imprimir Declaraciones", 1},
        };
        for (const Caso& caso : casos) {
            bool visto = false;
            QTimer::singleShot(0, [&] {
                auto* dialogo = qobject_cast<frmImprimir*>(QApplication::activeModalWidget());
                QVERIFY(dialogo);
                visto = true;
                QCOMPARE(dialogo->windowTitle(), QString(caso.titulo));
                QCOMPARE(dialogo->dtaDecRegis()->rowCount(), caso.filas);
                QCOMPARE(Estado::G().gTipoReporte, 2);
                dialogo->findChild<QPushButton*>("CmdImprimir_2")->click();
            });
            caso.accion();
            QVERIFY(visto);
            QVERIFY(!QApplication::activeModalWidget());
        }
    }
};

QTEST_MAIN(FrmImprimirTest)
#include "frm_imprimir_test.moc"
