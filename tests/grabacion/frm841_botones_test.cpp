// The three buttons in the real declaration form, offscreen: the user types,
// picks the payment form and clicks; the rows, the messages, the viewer of
// inconsistencies and the closing of the form are what he gets.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "formulario/app/abridores.h"
#include "formulario/core/estado.h"
#include "formulario/declaration/ui/frm841.h"
#include "formulario/declaration/ui/frm_consist.h"
#include "tests/declaration/controles.h"
#include "tests/declaration/entorno.h"

using zvdecl::ui::FrmConsist;
using zvdecl::ui::Frm841;
using zvform::Estado;

namespace zvdecl::prueba {

class Frm841BotonesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Entorno> entorno_;
    std::unique_ptr<Frm841> forma_;

    Entorno& E() { return *entorno_; }
    template <class T = QWidget>
    T* C(const char* nombre) { return Control<T>(*forma_, nombre); }
    void Abre() {
        forma_ = std::make_unique<Frm841>();
        forma_->show();
        QVERIFY(QTest::qWaitForWindowExposed(forma_.get()));
    }
    void Escribe(const char* caja, const QString& texto) {
        auto* c = C<QLineEdit>(caja);
        c->setFocus();
        c->selectAll();
        QTest::keyClick(c, Qt::Key_Backspace);
        QTest::keyClicks(c, texto);
    }
    void Pulsa(int boton) {
        QTest::mouseClick(C<QPushButton>(("CmdValidar_" + std::to_string(boton)).c_str()), Qt::LeftButton);
    }
    QString Valor(const std::string& sql) {
        auto rs = E().Base().OpenRecordset(sql, dao::dbOpenSnapshot, {kRuc, kPeriodo});
        return rs->EOF_() ? "<sin fila>" : QString::fromStdString(rs->Fields(0).AsText());
    }
    QString Casilla(const char* casilla) {
        return Valor("SELECT i_valor FROM DET WHERE doc_id_d = ? AND periodo = ? AND casilla = '" +
                     std::string(casilla) + "'");
    }

private slots:
    void initTestCase() {
        entorno_ = std::make_unique<Entorno>();
        zvform::RegistraFormularios();  // the viewer over the form, as the program has it
    }
    void cleanupTestCase() { entorno_.reset(); }
    void init() {
        E().Reinicia();
        E().AbreDesdeLista(false);
    }
    void cleanup() { forma_.reset(); }

    void grabarConEfectivoEscribeLaDeclaracion() {
        Abre();
        Escribe("TxtTelefono", "4412345");
        C<QTabWidget>("SSTab1")->setCurrentIndex(2);
        QTest::mouseClick(C<QRadioButton>("OptEfectivo"), Qt::LeftButton);
        QVERIFY(forma_->Modificado());
        Pulsa(1);
        QCOMPARE(E().Textos(), std::vector<std::string>{
                                   "Toda la información del formulario fue grabada satisfactoriamente."});
        QCOMPARE(Casilla("028"), QString("4412345"));
        QCOMPARE(Casilla("599"), QString("E"));
        QCOMPARE(Casilla("592"), QString("-2"));
        QCOMPARE(Valor("SELECT efectivo || '/' || estado FROM CAB WHERE doc_id_d = ? AND periodo = ?"),
                 QString("360/0"));
        QVERIFY(!forma_->Modificado());
        QVERIFY(forma_->isVisible());
    }

    void chequeCambiadoAEfectivoNoDejaChequeNiBanco() {
        Abre();
        C<QTabWidget>("SSTab1")->setCurrentIndex(2);
        QTest::mouseClick(C<QRadioButton>("OptCheque"), Qt::LeftButton);
        auto* banco = C<QComboBox>("CmbBanco");
        const int i = banco->findData("11");
        QVERIFY(i > 0);
        banco->setCurrentIndex(i);
        emit banco->activated(i);
        Escribe("TxtNroCheque", "123456");
        QTest::mouseClick(C<QRadioButton>("OptEfectivo"), Qt::LeftButton);
        Pulsa(1);
        QCOMPARE(Casilla("599"), QString("E"));
        QCOMPARE(Casilla("012"), QString("<sin fila>"));
        QCOMPARE(Casilla("015"), QString("<sin fila>"));
        QCOMPARE(Valor("SELECT bcolibrad || '/' || NroCheque || '/' || efectivo FROM CAB WHERE doc_id_d = ? AND "
                       "periodo = ?"),
                 QString(" / /360"));
    }

    void validarMuestraElVisorSobreElFormulario() {
        Abre();
        Escribe("TxtTelefono", "98765");
        QString visto;
        QWidget* padre = nullptr;
        QTimer::singleShot(0, [&] {
            auto* visor = qobject_cast<FrmConsist*>(QApplication::activeModalWidget());
            QVERIFY(visor);
            padre = visor->parentWidget();
            visto = visor->TxtPreliminar()->toPlainText();
            QTest::mouseClick(visor->findChild<QPushButton*>("CmdGrabar"), Qt::LeftButton);
        });
        Pulsa(0);
        QCOMPARE(padre, forma_.get());
        QCOMPARE(visto, QString("Identificación : Ingrese correctamente el teléfono\n"
                                "Identificación : El celular debe ser de 8 o 7 dígitos\n"
                                "Ingrese la Forma de pago( dato ubicado en el rubro Determinación de la deuda )\n"));
        QVERIFY(forma_->isVisible());
    }

    void salirSinGuardarCierra() {
        Abre();
        Escribe("TxtValor_590", "5");
        E().mensajes.Push(zv::Answer::No);
        Pulsa(2);
        QCOMPARE(E().Textos(),
                 std::vector<std::string>{"¿El formulario ha sido modificado, desea guardar los cambios?"});
        QVERIFY(!forma_->isVisible());
        QCOMPARE(Casilla("590"), QString("351"));
    }

    // Yes with a wrong telephone: the message, nothing stored, and the form
    // stays with the telephone in front of the user.
    void salirConSiYTelefonoMalQuedaAbierto() {
        Abre();
        Escribe("TxtTelefono", "12345");
        C<QTabWidget>("SSTab1")->setCurrentIndex(2);
        E().mensajes.Push(zv::Answer::Yes);
        Pulsa(2);
        QCOMPARE(E().Textos(), (std::vector<std::string>{"¿El formulario ha sido modificado, desea guardar los cambios?",
                                                         "Identificación : Ingrese correctamente el teléfono"}));
        QVERIFY(forma_->isVisible());
        QCOMPARE(C<QTabWidget>("SSTab1")->currentIndex(), 0);
        QCOMPARE(Casilla("028"), QString("<sin fila>"));
        QVERIFY(forma_->Modificado());
    }

    void escapePreguntaComoSalir() {
        Abre();
        Escribe("TxtValor_591", "7");
        E().mensajes.Push(zv::Answer::Cancel);
        QTest::keyClick(forma_.get(), Qt::Key_Escape);
        QCOMPARE(E().Textos().size(), std::size_t{1});
        QVERIFY(forma_->isVisible());
    }

    void enviadaRegistraElNumeroDeOrden() {
        E().Envia("001", "");
        E().AbreDesdeLista(true, "001");
        Abre();
        QCOMPARE(C<QPushButton>("CmdValidar_1")->text(), QString("&Registrar Nro. Orden"));
        Escribe("TxtNumOrdenE_0", "10203040");
        // ABCD1234 weighs 4*2 + 3*3 + 2*4 + 1*5 = 30: digit 11 - 30 mod 11 = 3; then
        // ABCD1234102030403 weighs 102: digit 11 - 102 mod 11 = 8.
        Escribe("TxtNumOrdenE_1", "38");
        Pulsa(1);
        QCOMPARE(E().Textos(), std::vector<std::string>{
                                   "Toda la información de la declaración fue grabada satisfactoriamente."});
        auto rs = E().Base().OpenRecordset("SELECT norden FROM HCAB WHERE Correl = '001'", dao::dbOpenSnapshot);
        QCOMPARE(QString::fromStdString(rs->Fields(0).AsText()), QString("10203040"));
        QVERIFY(!Estado::G().gOrdenCambiado);
        Pulsa(2);
        QVERIFY(!forma_->isVisible());
    }
};

}  // namespace zvdecl::prueba

QTEST_MAIN(zvdecl::prueba::Frm841BotonesTest)
#include "frm841_botones_test.moc"
