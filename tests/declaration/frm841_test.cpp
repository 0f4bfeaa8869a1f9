// The declaration form offscreen: every field of an opened declaration, the
// box formats and the payment data, the detail grid, typing in the boxes,
// the duplicate period of a new declaration and the view of a sent one.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <map>
#include <memory>

#include "formulario/app/abridores.h"
#include "formulario/core/estado.h"
#include "formulario/core/ui/barra_estado.h"
#include "formulario/declaration/detalle_afiliados.h"
#include "formulario/core/ui/mdi_frm.h"
#include "formulario/core/widgets/largo_maximo.h"
#include "formulario/core/widgets/twips.h"
#include "formulario/declaration/ui/caja_periodo.h"
#include "formulario/declaration/ui/forma_de_pago.h"
#include "formulario/declaration/ui/frm841.h"
#include "platform/gui/letra.h"
#include "tests/declaration/controles.h"
#include "tests/declaration/entorno.h"
#include "tests/support/textos_cortados.h"

using zvdecl::ui::CajaPeriodo;
using zvdecl::ui::FormaDePagoZarvo;
using zvdecl::ui::Frm841;
using zvform::Estado;

namespace zvdecl::prueba {

class Frm841Test : public QObject {
    Q_OBJECT

    std::unique_ptr<Entorno> entorno_;
    std::unique_ptr<Frm841> forma_;

    Entorno& E() { return *entorno_; }
    Frm841& Abre() {
        forma_ = std::make_unique<Frm841>();
        return *forma_;
    }
    template <class T = QWidget>
    T* C(const char* nombre) { return Control<T>(*forma_, nombre); }
    QString Texto(const char* nombre) { return C<QLineEdit>(nombre)->text(); }
    FormaDePagoZarvo* Pago() { return C<FormaDePagoZarvo>("FormaDePagoZarvo1"); }
    // Shown and focused, as the user has it in front of him.
    void Muestra() {
        forma_->show();
        QVERIFY(QTest::qWaitForWindowExposed(forma_.get()));
    }
    // The declaration opened from its list, on the tab of the boxes, with
    // the box `nombre` focused and emptied.
    QLineEdit* CajaVacia(const char* nombre) {
        E().AbreDesdeLista(false);
        Abre();
        Muestra();
        C<QTabWidget>("SSTab1")->setCurrentIndex(2);
        auto* caja = C<QLineEdit>(nombre);
        Enfoca(nombre);
        caja->clear();
        return caja;
    }
    void Enfoca(const char* nombre) {
        QWidget* control = C(nombre);
        forma_->activateWindow();
        control->setFocus();
        QTRY_VERIFY(control->hasFocus());
    }

private slots:
    void initTestCase() { entorno_ = std::make_unique<Entorno>(); }
    void cleanupTestCase() { entorno_.reset(); }
    void init() { E().Reinicia(); }
    void cleanup() { forma_.reset(); }

    // ---- a registered declaration opened from its list -------------------

    void abiertaMuestraCadaCampo() {
        E().Casilla("028", "4251234");
        E().Casilla("599", "E");
        E().AbreDesdeLista(false);
        Abre();
        QCOMPARE(forma_->windowTitle(), QString("0841 Solvenda"));
        QCOMPARE(forma_->pos(), QPoint(0, 0));
        QVERIFY(forma_->isModal());
        QVERIFY(!C("CmbRuc")->isVisibleTo(forma_.get()));
        QVERIFY(C("TxtNumRuc")->isVisibleTo(forma_.get()));
        QCOMPARE(Texto("TxtNumRuc"), QString(kRuc));
        QVERIFY(!C("TxtNumRuc")->isEnabled());
        QCOMPARE(Texto("TxtRazon"), QString(kRazon));
        QVERIFY(!C("TxtRazon")->isEnabled());
        QCOMPARE(C<CajaPeriodo>("MkePeriodo")->Texto(), std::string("01/2023"));
        QVERIFY(!C("MkePeriodo")->isEnabled());
        QCOMPARE(Texto("TxtTelefono"), QString("4251234"));
        QVERIFY(C("TxtTelefono")->isEnabled());
        // 350.50, 10.50 and -1.85 as the import stored them, whole units.
        const std::pair<const char*, const char*> casillas[] = {
            {"TxtValor_590", "351"}, {"TxtValor_591", "11"}, {"TxtValor_592", "(2)"},
            {"TxtValor_593", "3"},   {"TxtValor_597", "360"}, {"TxtValor_598", "360"}};
        for (const auto& [caja, texto] : casillas) QCOMPARE(Texto(caja), QString(texto));
        QCOMPARE(Pago()->FormaPago(), std::string("E"));
        QCOMPARE(Pago()->Monto(), std::string("360"));
        QCOMPARE(Pago()->Habilitado(), std::string("1"));
        QVERIFY(!C("FraNumOrden")->isVisibleTo(forma_.get()));
        QCOMPARE(C<QLabel>("LblCuentaDes")->text(), QString("Cantidad de registros: 3"));
        QVERIFY(!forma_->Modificado());
        QVERIFY(E().mensajes.shown.empty());

        auto* tabs = C<QTabWidget>("SSTab1");
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(0), QString("&Identificación"));
        QCOMPARE(tabs->tabText(1), QString("Detalle de los &afiliados"));
        QCOMPARE(tabs->tabText(2), QString("&Determinación de la deuda"));
        const char* const botones[] = {"&Validar", "&Grabar", "&Salir"};
        for (int i = 0; i < 3; ++i) {
            auto* boton = C<QPushButton>(("CmdValidar_" + std::to_string(i)).c_str());
            QCOMPARE(boton->text(), QString(botones[i]));
            QVERIFY(boton->isVisibleTo(forma_.get()));
        }
    }

    // On every tab, opened for update or to view a sent declaration, the
    // labels, buttons, frames and tabs show their texts whole.
    void ningunTextoCortado_data() {
        QTest::addColumn<bool>("enviada");
        QTest::newRow("registered") << false;
        QTest::newRow("sent") << true;
    }
    void ningunTextoCortado() {
        QFETCH(bool, enviada);
        if (enviada) E().Envia("001", "12345678");
        E().AbreDesdeLista(enviada, "001");
        Abre();
        Muestra();
        auto* tabs = C<QTabWidget>("SSTab1");
        for (int t = 0; t < tabs->count(); ++t) {
            tabs->setCurrentIndex(t);
            const QStringList cortados = zvtest::TextosCortados(*forma_);
            QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join("; ")));
        }
    }

    // The period's label reads on one line, in the width its text takes in
    // the letter the layouts were drawn for, and ends before its box; the
    // buttons below the tabs, "&Registrar Nro. Orden" of the sent view too,
    // give their captions the room the style asks around them.
    void periodoEnUnaLineaYBotonesConHolgura_data() { ningunTextoCortado_data(); }
    void periodoEnUnaLineaYBotonesConHolgura() {
        QFETCH(bool, enviada);
        if (enviada) E().Envia("001", "12345678");
        E().AbreDesdeLista(enviada, "001");
        Abre();
        Muestra();
        QLabel* etiqueta = nullptr;
        for (auto* l : forma_->findChildren<QLabel*>())
            if (l->buddy() == C("MkePeriodo")) etiqueta = l;
        QVERIFY(etiqueta);
        QCOMPARE(etiqueta->text(), QString("Periodo Tributario (mm/aaaa) :"));
        QVERIFY(!etiqueta->wordWrap());
        const QFontMetrics letra(zv::gui::LetraDeFormularios());
        QCOMPARE(etiqueta->font(), zv::gui::LetraDeFormularios());
        // Twips at the 96 dots per inch the layouts were drawn at.
        const int textoTwips = letra.horizontalAdvance(etiqueta->text()) * 15;
        const int etiquetaTwips = etiqueta->contentsRect().width() * 15;
        QVERIFY2(textoTwips <= etiquetaTwips, qPrintable(QString("%1 > %2").arg(textoTwips).arg(etiquetaTwips)));
        QVERIFY(etiqueta->height() < 2 * letra.lineSpacing());
        QVERIFY(etiqueta->geometry().right() < C("MkePeriodo")->x());

        for (const char* nombre : {"CmdValidar_0", "CmdValidar_1", "CmdValidar_2"}) {
            auto* boton = C<QPushButton>(nombre);
            if (!boton->isVisibleTo(forma_.get())) continue;
            QVERIFY2(boton->width() >= boton->sizeHint().width(),
                     qPrintable(QString("%1: %2 < %3").arg(boton->text()).arg(boton->width()).arg(boton->sizeHint().width())));
        }
    }

    void etiquetasNombranSusControles() {
        E().AbreDesdeLista(false);
        Abre();
        auto companero = [&](const QString& texto) -> QWidget* {
            for (auto* l : forma_->findChildren<QLabel*>())
                if (l->text() == texto) return l->buddy();
            return nullptr;
        };
        QCOMPARE(companero("Razón Social :"), C("TxtRazon"));
        QCOMPARE(companero("Periodo Tributario (mm/aaaa) :"), C("MkePeriodo"));
        QCOMPARE(companero("Teléfono :"), C("TxtTelefono"));
        QCOMPARE(companero("Ingrese el número de orden :"), C("TxtNumOrdenE_0"));
        QCOMPARE(companero("590"), C("TxtValor_590"));
        QCOMPARE(companero("Importe total por rentabilidad e intereses"), C("TxtValor_592"));
        QCOMPARE(companero("Total deuda a pagar"), C("TxtValor_597"));
        QCOMPARE(C("TxtValor_590")->geometry(), zvform::RectTwips(6300, 480, 2100, 315, forma_.get()));
    }

    void contextoDeAyudaPorPestana() {
        E().AbreDesdeLista(false);
        Abre();
        Muestra();
        QCOMPARE(forma_->property("HelpContextID").toInt(), 1015);
        auto* tabs = C<QTabWidget>("SSTab1");
        tabs->setCurrentIndex(1);
        QCOMPARE(forma_->property("HelpContextID").toInt(), 1014);
        tabs->setCurrentIndex(2);
        QCOMPARE(forma_->property("HelpContextID").toInt(), 1013);
        tabs->setCurrentIndex(0);
        QCOMPARE(forma_->property("HelpContextID").toInt(), 1015);
    }

    void formatosDeLasCasillas_data() {
        QTest::addColumn<QString>("casilla");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("caja");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("monto");
        QTest::newRow("592 negativa") << "592" << "-1500" << "TxtValor_592" << "(1,500)" << "360";
        QTest::newRow("593 sin separadores") << "593" << "1234567" << "TxtValor_593" << "1234567" << "360";
        QTest::newRow("590 agrupada") << "590" << "1234567" << "TxtValor_590" << "1,234,567" << "360";
        QTest::newRow("598 negativa") << "598" << "-2000" << "TxtValor_598" << "(2,000)" << "0";
        QTest::newRow("598 positiva") << "598" << "12345" << "TxtValor_598" << "12,345" << "12,345";
        QTest::newRow("598 no numerica") << "598" << "x" << "TxtValor_598" << "0" << "0";
    }
    void formatosDeLasCasillas() {
        QFETCH(QString, casilla);
        QFETCH(QString, valor);
        QFETCH(QString, caja);
        QFETCH(QString, texto);
        QFETCH(QString, monto);
        E().Casilla(casilla.toStdString(), valor.toStdString());
        E().AbreDesdeLista(false);
        Abre();
        QCOMPARE(Texto(caja.toUtf8().constData()), texto);
        QCOMPARE(QString::fromStdString(Pago()->Monto()), monto);
    }

    void datosDePagoDesdeLaCabecera_data() {
        QTest::addColumn<QVariant>("banco");     // CAB.bcolibrad (null: QVariant())
        QTest::addColumn<QVariant>("nroCheque");  // CAB.NroCheque
        QTest::addColumn<QVariant>("cheque");     // CAB.cheque
        QTest::addColumn<QString>("casilla599");  // "" no DET row
        QTest::addColumn<QString>("forma");
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<QString>("numero");
        // A bank that is not one of the list (a blank, Null) is none chosen.
        QTest::newRow("efectivo guardado") << QVariant(" ") << QVariant(" ") << QVariant("") << "E" << "E" << "XX"
                                           << "";
        QTest::newRow("monto de cheque sin numero") << QVariant("02") << QVariant("") << QVariant("100") << "E"
                                                    << "C" << "02" << "";
        QTest::newRow("cheque completo") << QVariant("11") << QVariant(" 12345 ") << QVariant("360") << ""
                                         << "C" << "11" << "12345";
        QTest::newRow("sin datos de pago") << QVariant() << QVariant() << QVariant() << "" << "X" << "XX" << "";
    }
    void datosDePagoDesdeLaCabecera() {
        QFETCH(QVariant, banco);
        QFETCH(QVariant, nroCheque);
        QFETCH(QVariant, cheque);
        QFETCH(QString, casilla599);
        QFETCH(QString, forma);
        QFETCH(QString, codigo);
        QFETCH(QString, numero);
        auto valor = [](const QVariant& v) { return v.isNull() ? dao::Value() : dao::Value(v.toString().toStdString()); };
        E().Ejecuta("UPDATE CAB SET bcolibrad = ?, NroCheque = ?, cheque = ?",
                    {valor(banco), valor(nroCheque), valor(cheque)});
        if (!casilla599.isEmpty()) E().Casilla("599", casilla599.toStdString());
        E().AbreDesdeLista(false);
        Abre();
        QCOMPARE(QString::fromStdString(Pago()->FormaPago()), forma);
        QCOMPARE(QString::fromStdString(Pago()->CodigoBanco()), codigo);
        QCOMPARE(QString::fromStdString(Pago()->NumeroCheque()), numero);
    }

    void sinCabeceraLasCasillasCarganIgual() {
        E().Ejecuta("DELETE FROM CAB");
        E().Casilla("599", "E");
        E().AbreDesdeLista(false);
        Abre();
        QCOMPARE(Texto("TxtValor_590"), QString("351"));
        QCOMPARE(Pago()->FormaPago(), std::string("E"));
        QCOMPARE(Pago()->CodigoBanco(), std::string("XX"));
        QCOMPARE(Pago()->NumeroCheque(), std::string(""));
    }

    void casillaDesconocidaSeIgnora() {
        E().Casilla("871", "texto");
        E().Casilla("005", "1");
        E().AbreDesdeLista(false);
        Abre();
        QCOMPARE(Texto("TxtValor_590"), QString("351"));
        QVERIFY(E().mensajes.shown.empty());
    }

    // ---- stored values beyond the boxes' lengths and the amount type --------

    // DET of the declaration: casilla -> i_valor.
    std::map<std::string, std::string> CasillasGuardadas() {
        std::map<std::string, std::string> casillas;
        auto rs = E().Base().OpenRecordset("SELECT casilla, i_valor FROM DET WHERE doc_id_d = ? AND periodo = ?",
                                           dao::dbOpenSnapshot, {kRuc, kPeriodo});
        for (; !rs->EOF_(); rs->MoveNext()) casillas[rs->Fields(0).AsText()] = rs->Fields(1).AsText();
        return casillas;
    }

    // Ten affiliates, each with the largest mandatory contribution a line may carry.
    static std::vector<std::string> LineasGrandes() {
        std::vector<std::string> lineas;
        for (int i = 0; i < 10; ++i)
            lineas.push_back("20100070970|01|1000000" + std::to_string(i) +
                             "|23051980|PEREZ|GOMEZ|JUAN|1|123456ABCDE1|01071995|15092008|01|RES0001|1|202301|"
                             "1500.00|999999999999.99|0|0|");
        return lineas;
    }

    void laDeclaracionGrandeSeMuestraYSeGrabaEntera() {
        E().ImportaLineas(LineasGrandes(), 10);
        E().Casilla("592", "-10000000000");
        const auto antes = CasillasGuardadas();
        QCOMPARE(antes.at("590"), std::string("10000000000000"));
        QCOMPARE(antes.at("598"), std::string("10000000000000"));
        E().AbreDesdeLista(false);
        Abre();
        Muestra();
        const std::pair<const char*, const char*> casillas[] = {
            {"TxtValor_590", "10,000,000,000,000"}, {"TxtValor_591", "0"}, {"TxtValor_592", "(10,000,000,000)"},
            {"TxtValor_593", "10"}, {"TxtValor_597", "10,000,000,000,000"}, {"TxtValor_598", "10,000,000,000,000"}};
        for (const auto& [caja, texto] : casillas) QCOMPARE(Texto(caja), QString(texto));
        QCOMPARE(Pago()->Monto(), std::string("10,000,000,000,000"));

        C<QTabWidget>("SSTab1")->setCurrentIndex(2);
        QTest::mouseClick(C("OptEfectivo"), Qt::LeftButton);
        C<QPushButton>("CmdValidar_1")->click();
        QCOMPARE(E().Textos(),
                 std::vector<std::string>{"Toda la información del formulario fue grabada satisfactoriamente."});
        const auto despues = CasillasGuardadas();
        for (const char* casilla : {"590", "591", "592", "593", "597", "598"})
            QCOMPARE(despues.at(casilla), antes.at(casilla));
        QCOMPARE(despues.at("599"), std::string("E"));
        auto cab = E().Base().OpenRecordset("SELECT efectivo, cheque FROM CAB", dao::dbOpenSnapshot);
        QCOMPARE(cab->Fields(0).AsText(), std::string("10000000000000"));
        QCOMPARE(cab->Fields(1).AsText(), std::string(""));
    }

    void elTelefonoLargoGuardadoSeMuestraYSeGrabaEntero() {
        E().Casilla("028", "4251234567");
        E().Casilla("599", "E");
        E().AbreDesdeLista(false);
        Abre();
        Muestra();
        auto* telefono = C<QLineEdit>("TxtTelefono");
        QCOMPARE(telefono->text(), QString("4251234567"));
        // Beyond its 8 characters already: a typed one does not go in.
        Enfoca("TxtTelefono");
        telefono->end(false);
        QTest::keyClicks(telefono, "8");
        QCOMPARE(telefono->text(), QString("4251234567"));
        C<QPushButton>("CmdValidar_1")->click();
        QCOMPARE(CasillasGuardadas().at("028"), std::string("4251234567"));
    }

    void valoresFueraDelTipoMontoAbrenConSuPatron_data() {
        QTest::addColumn<QString>("casilla");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("monto");
        QTest::newRow("15 nueves") << "590" << "999999999999999" << "999,999,999,999,999" << "360";
        QTest::newRow("sobre el tope del monto") << "590" << "922337203685478" << "922,337,203,685,478" << "360";
        QTest::newRow("exponente") << "591" << "1e20" << "100,000,000,000,000,000,000" << "360";
        QTest::newRow("negativo de 15 nueves") << "592" << "-999999999999999" << "(999,999,999,999,999)" << "360";
        QTest::newRow("a pagar de 15 nueves") << "598" << "999999999999999" << "999,999,999,999,999"
                                              << "999,999,999,999,999";
        QTest::newRow("a pagar, el menor entero") << "598" << "-9223372036854775808" << "(9,223,372,036,854,775,808)"
                                                  << "0";
    }
    void valoresFueraDelTipoMontoAbrenConSuPatron() {
        QFETCH(QString, casilla);
        QFETCH(QString, valor);
        QFETCH(QString, texto);
        QFETCH(QString, monto);
        E().Casilla(casilla.toStdString(), valor.toStdString());
        E().AbreDesdeLista(false);
        Abre();
        Muestra();
        QCOMPARE(Texto(("TxtValor_" + casilla.toStdString()).c_str()), texto);
        QCOMPARE(QString::fromStdString(Pago()->Monto()), monto);
        QVERIFY(E().mensajes.shown.empty());
    }

    // ---- the detail grid --------------------------------------------------

    void grillaDelDetalle() {
        E().AbreDesdeLista(false);
        Abre();
        auto* grilla = C<QTableView>("GrdDatos");
        QAbstractItemModel* m = grilla->model();
        QVERIFY(m);
        QCOMPARE(m->rowCount(), 3);
        QCOMPARE(m->columnCount(), 20);
        QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), QString("RUC del empleador"));
        QCOMPARE(m->headerData(14, Qt::Horizontal).toString(),
                 QString("Mes de devengue ( periodo de aportación a la AFP )"));
        QCOMPARE(m->headerData(19, Qt::Horizontal).toString(), QString("Tipo de documento de id. del afiliado"));
        QCOMPARE(grilla->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(!(m->flags(m->index(0, 0)) & Qt::ItemIsEditable));
        // The row of the affiliate 12345678 (limpio.txt, first line).
        int fila = -1;
        for (int r = 0; r < m->rowCount(); ++r)
            if (m->index(r, 2).data().toString() == "12345678") fila = r;
        QVERIFY(fila >= 0);
        auto celda = [&](int c) { return m->index(fila, c).data().toString(); };
        QCOMPARE(celda(0), QString("20100070970"));
        QCOMPARE(celda(1), QString("DNI"));
        QCOMPARE(celda(3), QString("23/05/1980"));
        QCOMPARE(celda(4), QString("PÉREZ"));
        QCOMPARE(celda(7), QString("MASCULINO"));
        QCOMPARE(celda(13), QString("DEPENDIENTE"));
        QCOMPARE(celda(14), QString("202301"));
        QCOMPARE(celda(15), QString("1,500.00"));
        QCOMPARE(celda(16), QString("120.50"));
        QCOMPARE(celda(17), QString("10.00"));
        QCOMPARE(celda(18), QString("(5.25)"));
        QCOMPARE(celda(19), QString("01"));
        for (int r = 0; r < m->rowCount(); ++r)
            if (m->index(r, 2).data().toString() == "AB12345") {
                QCOMPARE(m->index(r, 1).data().toString(), QString("PASAPORTE"));
                QCOMPARE(m->index(r, 7).data().toString(), QString("FEMENINO"));
                QCOMPARE(m->index(r, 13).data().toString(), QString("INDEPENDIENTE"));
                QCOMPARE(m->index(r, 18).data().toString(), QString("3.40"));
            }
    }

    void detalleVacio() {
        E().Ejecuta("DELETE FROM F841DETDES");
        E().AbreDesdeLista(false);
        Abre();
        QCOMPARE(C<QTableView>("GrdDatos")->model()->rowCount(), 0);
        QCOMPARE(C<QLabel>("LblCuentaDes")->text(), QString(""));
    }

    void cuentaDeRegistrosAtrapaSuError() {
        E().Ejecuta("ALTER TABLE F841DETDES RENAME TO F841DETDES_FUERA");
        const long n = zvdecl::Cuenta_Registros("F841DETDES");
        E().Ejecuta("ALTER TABLE F841DETDES_FUERA RENAME TO F841DETDES");
        QCOMPARE(n, 0L);
        QCOMPARE(E().mensajes.shown.size(), std::size_t(1));
        const zv::MessageRequest& m = E().mensajes.shown[0];
        QCOMPARE(m.title, std::string("Error"));
        QCOMPARE(m.icon, zv::Icon::Information);
        QVERIFY2(m.text.rfind("Error : ", 0) == 0, m.text.c_str());
        QVERIFY2(m.text.find(" Descripción : ") != std::string::npos, m.text.c_str());
        QCOMPARE(m.text.back(), ' ');
    }

    // ---- typing -------------------------------------------------------------

    void soloDigitosYEnterPasaAlSiguiente() {
        auto* caja = CajaVacia("TxtValor_590");
        QTest::keyClicks(caja, "12a3");
        QCOMPARE(caja->text(), QString("123"));
        QVERIFY(forma_->Modificado());
        QTest::keyClick(caja, Qt::Key_Return);
        QCOMPARE(caja->text(), QString("123"));
        QTRY_VERIFY(C("TxtValor_591")->hasFocus());
        QTest::keyClick(C("TxtValor_591"), Qt::Key_Enter);
        QTRY_VERIFY(C("TxtValor_592")->hasFocus());
    }

    void treceDigitosNo() {
        E().Casilla("591", "999999999999");
        auto* caja = CajaVacia("TxtValor_590");
        QTest::keyClicks(caja, "1234567890123");
        QCOMPARE(caja->text(), QString("123456789012"));
        QCOMPARE(zvform::LargoMaximo(*caja), 12);
        // A loaded amount longer than 12 characters is not cut on entry, and
        // takes no more digits.
        Enfoca("TxtValor_591");
        QCOMPARE(zvform::LargoMaximo(*caja), 15);
        QCOMPARE(Texto("TxtValor_591"), QString("999,999,999,999"));
        C<QLineEdit>("TxtValor_591")->end(false);
        QTest::keyClicks(C("TxtValor_591"), "1");
        QCOMPARE(Texto("TxtValor_591"), QString("999,999,999,999"));
    }

    // Delete as X delivers it: Qt gives the key the text U+007F, which is
    // no character typed. It deletes the character after the cursor, or the
    // selection, in every filtered box of the three modes.
    void suprimirBorraComoEnCualquierCaja_data() {
        QTest::addColumn<int>("operacion");
        QTest::addColumn<bool>("enviada");
        QTest::addColumn<QString>("caja");
        QTest::addColumn<QString>("escrito");  // typed before, when the mode loads nothing there
        QTest::addColumn<int>("seleccion");    // characters selected from the start
        QTest::addColumn<QString>("queda");
        QTest::newRow("casilla") << 1 << false << "TxtValor_590" << "" << 0 << "51";
        QTest::newRow("casilla, seleccion") << 1 << false << "TxtValor_590" << "" << 2 << "1";
        QTest::newRow("periodo nuevo") << 0 << false << "MkePeriodo" << "022023" << 0 << "_2/2023";
        QTest::newRow("numero de orden") << 1 << true << "TxtNumOrdenE_0" << "" << 0 << "2345678";
        QTest::newRow("digitos de control") << 1 << true << "TxtNumOrdenE_1" << "47" << 0 << "7";
    }
    void suprimirBorraComoEnCualquierCaja() {
        QFETCH(int, operacion);
        QFETCH(bool, enviada);
        QFETCH(QString, caja);
        QFETCH(QString, escrito);
        QFETCH(int, seleccion);
        QFETCH(QString, queda);
        if (enviada) {
            E().Envia("001", "12345678");
            E().AbreDesdeLista(true, "001");
        } else if (operacion == 1) {
            E().AbreDesdeLista(false);
        } else {
            Estado::G().gOperacion = 0;
        }
        Abre();
        Muestra();
        const QByteArray nombre = caja.toLatin1();
        C<QTabWidget>("SSTab1")->setCurrentIndex(nombre.startsWith("TxtValor") ? 2 : 0);
        Enfoca(nombre.constData());
        auto* linea = C<QLineEdit>(nombre.constData());
        if (!escrito.isEmpty()) QTest::keyClicks(linea, escrito);
        QTest::keyClick(linea, Qt::Key_Home);
        if (seleccion > 0) linea->setSelection(0, seleccion);
        const QString suprimir(QChar(0x7f));
        QTest::sendKeyEvent(QTest::Press, linea, Qt::Key_Delete, suprimir, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, linea, Qt::Key_Delete, suprimir, Qt::NoModifier);
        auto* periodo = qobject_cast<CajaPeriodo*>(linea);
        QCOMPARE(periodo ? QString::fromStdString(periodo->Texto()) : linea->text(), queda);
        QVERIFY(forma_->Modificado());
    }

    void pegarNoInsertaYElPortapapelesQueda() {
        QApplication::clipboard()->setText("777");
        auto* caja = CajaVacia("TxtValor_590");
        caja->setText("5");
        caja->end(false);
        QTest::keyClick(caja, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(caja, Qt::Key_Insert, Qt::ShiftModifier);
        QTest::keyClick(caja, Qt::Key_Menu);
        QTest::mouseClick(caja, Qt::MiddleButton);
        QCOMPARE(caja->text(), QString("5"));
        QCOMPARE(caja->contextMenuPolicy(), Qt::NoContextMenu);
        QCOMPARE(QApplication::clipboard()->text(), QString("777"));
        // The period box and the order number refuse it too.
        auto* periodo = C<QLineEdit>("MkePeriodo");
        QCOMPARE(periodo->contextMenuPolicy(), Qt::NoContextMenu);
        QCOMPARE(QApplication::clipboard()->text(), QString("777"));
    }

    void abrirSinEscribirNoModificaYUnaTeclaRechazadaSi() {
        E().Casilla("028", "4251234");
        E().AbreDesdeLista(false);
        Abre();
        Muestra();
        QVERIFY(!forma_->Modificado());
        C<QTabWidget>("SSTab1")->setCurrentIndex(2);
        Enfoca("TxtValor_590");
        QTest::keyClick(C("TxtValor_590"), Qt::Key_A);
        QCOMPARE(Texto("TxtValor_590"), QString("351"));
        QVERIFY(forma_->Modificado());
    }

    void elTelefonoAceptaCualquierCaracterYMarcaCambio() {
        E().AbreDesdeLista(false);
        Abre();
        Muestra();
        Enfoca("TxtTelefono");
        QTest::keyClicks(C("TxtTelefono"), "42-5123a99");
        QCOMPARE(Texto("TxtTelefono"), QString("42-5123a"));
        QVERIFY(forma_->Modificado());
    }

    // A paste the limit cuts goes in at the cursor and undo takes it back,
    // in the telephone and the cheque number as in every limited box.
    void pegadoCortadoEnElCursorYDeshecho_data() {
        QTest::addColumn<QString>("caja");
        QTest::addColumn<QString>("antes");
        QTest::addColumn<QString>("queda");
        QTest::newRow("telefono") << "TxtTelefono" << "1234567" << "12344567";
        QTest::newRow("cheque") << "TxtNroCheque" << "12345678901234" << "123445678901234";
    }
    void pegadoCortadoEnElCursorYDeshecho() {
        QFETCH(QString, caja);
        QFETCH(QString, antes);
        QFETCH(QString, queda);
        QApplication::clipboard()->setText("45");
        E().AbreDesdeLista(false);
        Abre();
        Muestra();
        const QByteArray nombre = caja.toLatin1();
        if (caja == "TxtNroCheque") {
            C<QTabWidget>("SSTab1")->setCurrentIndex(2);
            C<QAbstractButton>("OptCheque")->click();
        }
        Enfoca(nombre.constData());
        auto* linea = C<QLineEdit>(nombre.constData());
        linea->setText(antes);
        linea->setCursorPosition(3);
        QTest::keyClick(linea, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(linea->text(), queda);
        QCOMPARE(linea->cursorPosition(), 4);
        QTest::keyClick(linea, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(linea->text(), antes);
    }

    void elegirLaFormaDePagoMarcaCambio() {
        E().AbreDesdeLista(false);
        Abre();
        Muestra();
        C<QTabWidget>("SSTab1")->setCurrentIndex(2);
        QVERIFY(!forma_->Modificado());
        QCOMPARE(Pago()->FormaPago(), std::string("X"));
        QVERIFY(!C("CmbBanco")->isEnabled());
        QTest::mouseClick(C("OptCheque"), Qt::LeftButton);
        QCOMPARE(Pago()->FormaPago(), std::string("C"));
        QVERIFY(C("CmbBanco")->isEnabled());
        QVERIFY(forma_->Modificado());
        auto* banco = C<QComboBox>("CmbBanco");
        const int i = banco->findData("11");
        QVERIFY(i > 0);
        banco->setCurrentIndex(i);
        emit banco->activated(i);
        QCOMPARE(Pago()->CodigoBanco(), std::string("11"));
        QTest::mouseClick(C("OptEfectivo"), Qt::LeftButton);
        QCOMPARE(Pago()->FormaPago(), std::string("E"));
        QVERIFY(!C("OptCheque")->property("checked").toBool());
    }

    void chequeSinBancoElegidoNoPasaLaReglaDelBanco() {
        E().AbreDesdeLista(false);
        Abre();
        Muestra();
        C<QTabWidget>("SSTab1")->setCurrentIndex(2);
        // The imported header names no bank: the list shows none chosen.
        QCOMPARE(C<QComboBox>("CmbBanco")->currentIndex(), 0);
        QTest::mouseClick(C("OptCheque"), Qt::LeftButton);
        Pago()->FijaNumeroCheque("123456");
        QCOMPARE(Pago()->CodigoBanco(), std::string("XX"));
        QVERIFY(!zvdecl::ValidaTodo(forma_->Datos(), "2").ok);
    }

    // ---- the masked period box ---------------------------------------------

    void cajaDePeriodoComoMascara() {
        CajaPeriodo caja;
        QCOMPARE(caja.text(), QString("/"));  // what Qt's masked box answers
        QCOMPARE(caja.Texto(), std::string("__/____"));
        QVERIFY(caja.Incompleto());
        QTest::keyClicks(&caja, "0");
        QCOMPARE(caja.Texto(), std::string("0_/____"));
        QTest::keyClicks(&caja, "12008");
        QCOMPARE(caja.Texto(), std::string("01/2008"));
        QVERIFY(!caja.Incompleto());
        caja.FijaTexto("12/2025");
        QCOMPARE(caja.Texto(), std::string("12/2025"));
        caja.FijaTexto("072024");
        QCOMPARE(caja.Texto(), std::string("07/2024"));
    }

    // ---- a new declaration --------------------------------------------------

    void nuevaListaDeclarantesYPeriodoDuplicado() {
        E().Ejecuta("INSERT INTO CONT (Tip_doc_d, Doc_id_d, nombre, Usuario) VALUES (6, '20100070970', 'OTRA SA', ?)",
                    {Estado::G().gUsuario});
        Estado::G().gOperacion = 0;
        Abre();
        Muestra();
        auto* combo = C<QComboBox>("CmbRuc");
        QVERIFY(combo->isVisibleTo(forma_.get()));
        QVERIFY(!C("TxtNumRuc")->isVisibleTo(forma_.get()));
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), QString("20100070970       OTRA SA          "));
        QCOMPARE(combo->itemText(1), QString(kRuc) + "       " + kRazon + "          ");
        QCOMPARE(combo->currentIndex(), -1);
        QCOMPARE(Estado::G().gRuc, std::string(kRuc));  // the last declarant's
        QCOMPARE(combo->geometry().topLeft(), zvform::RectTwips(2430, 315, 1, 1, forma_.get()).topLeft());
        QCOMPARE(C<CajaPeriodo>("MkePeriodo")->Texto(), std::string("__/____"));
        QVERIFY(C("MkePeriodo")->isEnabled());
        QCOMPARE(Pago()->FormaPago(), std::string("X"));

        zvform::ui::BarradeEstadoZarvo barra;
        zvform::ui::BarradeEstadoZarvo::SetPrincipal(&barra);
        combo->setCurrentIndex(1);
        QCOMPARE(Texto("TxtRazon"), QString(kRazon));
        QTRY_VERIFY(C("MkePeriodo")->hasFocus());
        QCOMPARE(barra.NumeroDocumento(), QString(kRuc));
        QCOMPARE(barra.Nombre(), QString(kRazon));

        auto* periodo = C<CajaPeriodo>("MkePeriodo");
        C<QTabWidget>("SSTab1")->setCurrentIndex(2);
        QTest::keyClicks(periodo, "0");  // incomplete: back to the first tab, no query
        QCOMPARE(C<QTabWidget>("SSTab1")->currentIndex(), 0);
        QTest::keyClicks(periodo, "12023");
        QCOMPARE(periodo->Texto(), std::string("01/2023"));
        QCOMPARE(barra.Periodo(), QString("01/2023"));
        zvform::ui::BarradeEstadoZarvo::SetPrincipal(nullptr);
        QCOMPARE(E().mensajes.shown.size(), std::size_t(1));
        QCOMPARE(E().mensajes.shown[0].text, std::string("La declaración ya ha sido registrada."));
        QCOMPARE(E().mensajes.shown[0].icon, zv::Icon::Critical);
        QCOMPARE(E().mensajes.shown[0].title, std::string("0841 Solvenda"));
        QVERIFY(periodo->hasFocus());

        // Another period of the same declarant is free; so is this period of the other one.
        periodo->selectAll();
        QTest::keyClicks(periodo, "022023");
        combo->setCurrentIndex(0);
        periodo->selectAll();
        QTest::keyClicks(periodo, "012023");
        QCOMPARE(E().mensajes.shown.size(), std::size_t(1));

        // The period box takes digits only, and Enter moves on.
        QVERIFY(forma_->Modificado());
        QTest::keyClicks(periodo, "a");
        QCOMPARE(periodo->Texto(), std::string("01/2023"));
        QTest::keyClick(periodo, Qt::Key_Return);
        QTRY_VERIFY(C("TxtTelefono")->hasFocus());
    }

    // ---- a sent declaration -------------------------------------------------

    void enviadaMuestraSuNumeroDeOrdenYQuedaDeSoloLectura() {
        E().Casilla("028", "4251234");
        E().Envia("001", "12345678");
        E().Ejecuta("DELETE FROM F841DETDES");  // the grid reads the sent copy
        E().Ejecuta("DELETE FROM DET");
        E().AbreDesdeLista(true, "001");
        Abre();
        Muestra();
        QCOMPARE(forma_->windowTitle(), QString("0841 Solvenda - Enviadas"));
        QVERIFY(C("FraNumOrden")->isVisibleTo(forma_.get()));
        QCOMPARE(Texto("TxtNumOrdenE_0"), QString("12345678"));
        QCOMPARE(Texto("TxtNumOrdenE_1"), QString(""));
        QCOMPARE(zvform::LargoMaximo(*C<QLineEdit>("TxtNumOrdenE_0")), 8);
        QCOMPARE(zvform::LargoMaximo(*C<QLineEdit>("TxtNumOrdenE_1")), 2);
        QVERIFY(!Estado::G().gOrdenCambiado);
        QVERIFY(!forma_->Modificado());
        QCOMPARE(Texto("TxtValor_590"), QString("351"));
        QCOMPARE(Texto("TxtTelefono"), QString("4251234"));
        QCOMPARE(C<QTableView>("GrdDatos")->model()->rowCount(), 3);
        QCOMPARE(C<QLabel>("LblCuentaDes")->text(), QString("Cantidad de registros: 3"));
        QTRY_VERIFY(C("TxtNumOrdenE_0")->hasFocus());

        // DesTodo
        QCOMPARE(Pago()->Habilitado(), std::string("0"));
        QVERIFY(!C("OptEfectivo")->isEnabled());
        QVERIFY(!C("TxtTelefono")->isEnabled());
        for (const char* caja : {"TxtValor_590", "TxtValor_591", "TxtValor_592", "TxtValor_597"}) {
            QVERIFY(!C(caja)->isEnabled());
            QCOMPARE(C(caja)->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
        }
        for (const char* caja : {"TxtNumRuc", "MkePeriodo", "TxtRazon", "TxtTelefono"})
            QCOMPARE(C(caja)->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
        QVERIFY(!C("CmdValidar_0")->isVisibleTo(forma_.get()));
        QCOMPARE(C<QPushButton>("CmdValidar_1")->text(), QString("&Registrar Nro. Orden"));
        // "&Salir" at Left 7650, 1605 wide; "&Registrar Nro. Orden" ends where it
        // ended at Left 6000, 1605 wide, and is wider to the left for its caption.
        QCOMPARE(C("CmdValidar_1")->geometry(), zvform::RectTwips(5925, 5550, 1680, 420, forma_.get()));
        QCOMPARE(C("CmdValidar_2")->geometry(), zvform::RectTwips(7650, 5550, 1605, 420, forma_.get()));

        // Typing in the order number marks it changed; its key filter takes digits only.
        auto* digitos = C<QLineEdit>("TxtNumOrdenE_1");
        Enfoca("TxtNumOrdenE_1");
        QTest::keyClicks(digitos, "4x7");
        QCOMPARE(digitos->text(), QString("47"));
        QVERIFY(Estado::G().gOrdenCambiado);
        QVERIFY(forma_->Modificado());
    }

    void enviadaConNumeroDeOrdenNuloMuestraCero() {
        E().Envia("001", "");
        E().AbreDesdeLista(true, "001");
        Abre();
        QCOMPARE(Texto("TxtNumOrdenE_0"), QString("0"));
        QVERIFY(!Estado::G().gOrdenCambiado);
    }

    void enviadaSinCabeceraConservaElCorrelativo() {
        E().Envia("001", "12345678");
        E().AbreDesdeLista(true, "002");
        Abre();
        QCOMPARE(Texto("TxtNumOrdenE_0"), QString("002"));
        QCOMPARE(C<QTableView>("GrdDatos")->model()->rowCount(), 0);
        QCOMPARE(C<QLabel>("LblCuentaDes")->text(), QString(""));
    }

    // ---- what the form applies of its steps -------------------------------

    void pestanaConTelefonoErradoVuelveALaIdentificacion() {
        E().Casilla("028", "12345");
        E().AbreDesdeLista(false);
        Abre();
        Muestra();
        auto* tabs = C<QTabWidget>("SSTab1");
        QTRY_VERIFY(C("TxtTelefono")->hasFocus());
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(2).center());
        QTRY_COMPARE(tabs->currentIndex(), 0);
        QCOMPARE(E().Textos(), std::vector<std::string>{"Identificación : Ingrese correctamente el teléfono"});
        QTRY_VERIFY(C("TxtTelefono")->hasFocus());
        // A right telephone lets the user stay on the tab.
        C<QLineEdit>("TxtTelefono")->setText("4251234");
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
        QTRY_VERIFY(tabs->tabBar()->hasFocus());
        QCOMPARE(tabs->currentIndex(), 1);
        QCOMPARE(E().mensajes.shown.size(), std::size_t(1));
    }

    void salirPreguntaSoloSiAlgoCambio() {
        E().AbreDesdeLista(false);
        Abre();
        Muestra();
        C<QPushButton>("CmdValidar_2")->click();
        QVERIFY(!forma_->isVisible());
        QVERIFY(E().mensajes.shown.empty());

        Abre();
        Muestra();
        C<QTabWidget>("SSTab1")->setCurrentIndex(2);
        Enfoca("TxtValor_590");
        QTest::keyClicks(C("TxtValor_590"), "9");
        E().mensajes.Push(zv::Answer::Cancel);
        QTest::keyClick(forma_.get(), Qt::Key_Escape);  // Escape leaves as "&Salir" does
        QVERIFY(forma_->isVisible());
        QCOMPARE(E().Textos(), std::vector<std::string>{"¿El formulario ha sido modificado, desea guardar los cambios?"});
        E().mensajes.Push(zv::Answer::No);
        forma_->close();
        QVERIFY(!forma_->isVisible());
    }

    void grabarGuardaLoQueLaFormaMuestra() {
        E().Casilla("599", "E");
        auto* caja = CajaVacia("TxtValor_590");
        QTest::keyClicks(caja, "500");
        QVERIFY(forma_->Modificado());
        C<QPushButton>("CmdValidar_1")->click();
        QVERIFY(!forma_->Modificado());
        auto rs = E().Base().OpenRecordset("SELECT i_valor FROM DET WHERE casilla = '590'", dao::dbOpenSnapshot);
        QVERIFY(!rs->EOF_());
        QCOMPARE(rs->Fields(0).AsText(), std::string("500"));
    }

    void nuevaTrasGrabarFijaLaIdentificacion() {
        Estado::G().gOperacion = 0;
        Abre();
        Muestra();
        C<QComboBox>("CmbRuc")->setCurrentIndex(0);
        QTest::keyClicks(C("MkePeriodo"), "022023");
        QVERIFY(E().mensajes.shown.empty());
        C<QPushButton>("CmdValidar_1")->click();
        QVERIFY(!C("CmbRuc")->isEnabled());
        QVERIFY(!C("MkePeriodo")->isEnabled());
        auto rs = E().Base().OpenRecordset("SELECT COUNT(*) FROM CAB WHERE periodo = '202302'", dao::dbOpenSnapshot);
        QCOMPARE(rs->Fields(0).AsLong(), std::int64_t(1));
    }

    // ---- the opener ---------------------------------------------------------

    void elAbridorSirveLosTresModos() {
        zvform::RegistraFormularios();
        auto& abrir = zvform::ui::MDIFrm::Abridores().abrirFrm841;
        QVERIFY(abrir);
        for (bool enviada : {false, true}) {
            if (enviada) E().Envia("001", "12345678");
            E().AbreDesdeLista(enviada, enviada ? "001" : "");
            QString titulo;
            QTimer::singleShot(0, [&] {
                auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(modal);
                titulo = modal->windowTitle();
                modal->done(QDialog::Rejected);
            });
            abrir();
            QCOMPARE(titulo, QString(enviada ? "0841 Solvenda - Enviadas" : "0841 Solvenda"));
        }
    }
};

}  // namespace zvdecl::prueba

QTEST_MAIN(zvdecl::prueba::Frm841Test)
#include "frm841_test.moc"
