// What the real declaration form stores, offscreen, read from the stored
// rows before and after: an amount edited at its brackets, a blank or Null
// amount, and a cheque whose bank is not one of the list.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>
#include <map>
#include <memory>

#include "formulario/core/estado.h"
#include "formulario/declaration/frm841_datos.h"
#include "formulario/declaration/ui/frm841.h"
#include "platform/textfile.h"
#include "tests/declaration/controles.h"
#include "tests/declaration/entorno.h"

using zvdecl::ui::Frm841;
using zvform::Estado;

namespace zvdecl::prueba {

namespace {

const char* const kGrabadaBien = "Toda la información del formulario fue grabada satisfactoriamente.";
const char* const kGrabadaMal =
    "La información del formulario fue grabada con inconsistencias.\nEn estas condiciones no podrá ser enviado a "
    "ORVAL.";
const char* const kSinInconsistencias = "La información de la declaración no presenta inconsistencias.";

// DET of the declaration: casilla -> i_valor ("<null>" for Null).
using Casillas = std::map<std::string, std::string>;

// "casilla=valor" joined by blanks: what a failed comparison shows.
QString Texto(const Casillas& det) {
    QStringList partes;
    for (const auto& [casilla, valor] : det) partes << QString::fromStdString(casilla + "=" + valor);
    return partes.join(' ');
}

}  // namespace

class Frm841MontosTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Entorno> entorno_;
    std::unique_ptr<Frm841> forma_;
    int visor_ = 0;

    Entorno& E() { return *entorno_; }
    template <class T = QWidget>
    T* C(const char* nombre) { return Control<T>(*forma_, nombre); }
    // The declaration opened from its list, shown, on the tab of the boxes.
    void Abre() {
        forma_.reset();
        E().AbreDesdeLista(false);
        forma_ = std::make_unique<Frm841>();
        forma_->show();
        QVERIFY(QTest::qWaitForWindowExposed(forma_.get()));
        C<QTabWidget>("SSTab1")->setCurrentIndex(2);
    }
    void Enfoca(QWidget* control) {
        forma_->activateWindow();
        control->setFocus();
        QTRY_VERIFY(control->hasFocus());
    }
    void Pulsa(const char* nombre) { QTest::mouseClick(C(nombre), Qt::LeftButton); }
    Casillas Det() {
        Casillas det;
        auto rs = E().Base().OpenRecordset("SELECT casilla, i_valor FROM DET WHERE doc_id_d = ? AND periodo = ?",
                                           dao::dbOpenSnapshot, {kRuc, kPeriodo});
        for (; !rs->EOF_(); rs->MoveNext())
            det[rs->Fields(0).AsText()] = rs->Fields(1).IsNull() ? "<null>" : rs->Fields(1).AsText();
        return det;
    }
    // The payment columns and the state of CAB, joined by "/".
    QString Cab() {
        auto rs = E().Base().OpenRecordset(
            "SELECT coalesce(bcolibrad, '<null>') || '/' || coalesce(NroCheque, '<null>') || '/' || "
            "coalesce(cheque, '<null>') || '/' || coalesce(efectivo, '<null>') || '/' || estado FROM CAB "
            "WHERE doc_id_d = ? AND periodo = ?",
            dao::dbOpenSnapshot, {kRuc, kPeriodo});
        return rs->EOF_() ? "<sin fila>" : QString::fromStdString(rs->Fields(0).AsText());
    }
    // What a save of the opened declaration adds to DET whatever the boxes hold.
    static Casillas ConLaIdentificacion(Casillas det, const std::string& forma) {
        det["002"] = kRuc;
        det["007"] = kPeriodo;
        det["721"] = "1.0";
        det["599"] = forma;
        return det;
    }
    std::string Mens() {
        zv::text::TextReader lector;
        lector.Open(Estado::G().gRutaArchivo);
        std::string todo, linea;
        while (lector.ReadLine(linea)) todo += linea + "\n";
        return todo;
    }

private slots:
    void initTestCase() { entorno_ = std::make_unique<Entorno>(); }
    void cleanupTestCase() { entorno_.reset(); }
    void init() {
        E().Reinicia();
        visor_ = 0;
        MuestraInconsistencias() = [this] { ++visor_; };
    }
    void cleanup() {
        forma_.reset();
        MuestraInconsistencias() = nullptr;
    }

    // ---- an amount edited at its brackets ------------------------------------

    void montoEditadoEnSuParentesisSeGrabaComoNumero_data() {
        QTest::addColumn<QString>("guardado");  // DET 592 before
        QTest::addColumn<QString>("teclas");    // where the cursor goes before Backspace: "fin" or "tras("
        QTest::addColumn<QString>("editado");   // the box after Backspace
        QTest::addColumn<QString>("mostrado");  // the box once left
        QTest::addColumn<QString>("grabado");   // DET 592 after
        QTest::newRow("sin el parentesis final") << "-1500" << "fin" << "(1,500" << "(1,500)" << "-1500";
        QTest::newRow("sin el parentesis inicial") << "-1500" << "tras(" << "1,500)" << "(1,500)" << "-1500";
        QTest::newRow("un digito menos") << "-15000" << "fin" << "(15,000" << "(15,000)" << "-15000";
        QTest::newRow("positivo sin su ultimo digito") << "1500" << "fin" << "1,50" << "150" << "150";
    }
    void montoEditadoEnSuParentesisSeGrabaComoNumero() {
        QFETCH(QString, guardado);
        QFETCH(QString, teclas);
        QFETCH(QString, editado);
        QFETCH(QString, mostrado);
        QFETCH(QString, grabado);
        E().Casilla("592", guardado.toStdString());
        const Casillas antes = Det();
        Abre();
        auto* caja = C<QLineEdit>("TxtValor_592");
        Enfoca(caja);
        if (teclas == "fin") {
            QTest::keyClick(caja, Qt::Key_End);
        } else {
            QTest::keyClick(caja, Qt::Key_Home);
            QTest::keyClick(caja, Qt::Key_Right);
        }
        QTest::keyClick(caja, Qt::Key_Backspace);
        QCOMPARE(caja->text(), editado);

        Pulsa("OptEfectivo");  // the box is left: it shows what it holds
        const QString visto = caja->text();
        Pulsa("CmdValidar_1");

        QCOMPARE(E().Textos(), std::vector<std::string>{kGrabadaBien});
        Casillas esperado = ConLaIdentificacion(antes, "E");
        esperado["592"] = grabado.toStdString();
        QCOMPARE(Texto(Det()), Texto(esperado));
        QCOMPARE(Cab(), QString(" / //360/0"));
        QCOMPARE(visto, mostrado);

        // Opened again it shows what was saved, and saving again keeps it.
        Abre();
        QCOMPARE(C<QLineEdit>("TxtValor_592")->text(), mostrado);
        E().mensajes.shown.clear();
        Pulsa("CmdValidar_1");
        QCOMPARE(E().Textos(), std::vector<std::string>{kGrabadaBien});
        QCOMPARE(Texto(Det()), Texto(esperado));
    }

    void cajaDejadaConTabMuestraElMontoConSuFormato() {
        Abre();
        auto* caja = C<QLineEdit>("TxtValor_590");
        Enfoca(caja);
        caja->selectAll();
        QTest::keyClick(caja, Qt::Key_Backspace);
        QTest::keyClicks(caja, "1234567");
        QCOMPARE(caja->text(), QString("1234567"));
        QTest::keyClick(caja, Qt::Key_Tab);
        QTRY_VERIFY(!caja->hasFocus());
        QCOMPARE(caja->text(), QString("1,234,567"));
    }

    // ---- blank amounts --------------------------------------------------------

    void montoEnBlancoNoEsCero_data() {
        QTest::addColumn<QVariant>("guardado");  // DET 591 before (null: QVariant())
        QTest::newRow("vacio") << QVariant("");
        QTest::newRow("un blanco") << QVariant(" ");
        QTest::newRow("nulo") << QVariant();
    }
    void montoEnBlancoNoEsCero() {
        QFETCH(QVariant, guardado);
        E().Casilla("591", "");
        E().Ejecuta("UPDATE DET SET i_valor = ? WHERE casilla = '591'",
                    {guardado.isNull() ? dao::Value() : dao::Value(guardado.toString().toStdString())});
        const Casillas antes = Det();
        Abre();
        QCOMPARE(C<QLineEdit>("TxtValor_591")->text(), QString(""));
        Pulsa("OptEfectivo");
        Pulsa("CmdValidar_1");

        QCOMPARE(E().Textos(), std::vector<std::string>{kGrabadaBien});
        Casillas esperado = ConLaIdentificacion(antes, "E");
        esperado.erase("591");
        QCOMPARE(Texto(Det()), Texto(esperado));
    }

    void cajaVaciadaPierdeSuFila() {
        const Casillas antes = Det();
        Abre();
        auto* caja = C<QLineEdit>("TxtValor_591");
        Enfoca(caja);
        caja->selectAll();
        QTest::keyClick(caja, Qt::Key_Backspace);
        Pulsa("OptEfectivo");
        QCOMPARE(caja->text(), QString(""));
        Pulsa("CmdValidar_1");

        Casillas esperado = ConLaIdentificacion(antes, "E");
        esperado.erase("591");
        QCOMPARE(Texto(Det()), Texto(esperado));
        Abre();
        QCOMPARE(C<QLineEdit>("TxtValor_591")->text(), QString(""));
    }

    // ---- a cheque and its bank ------------------------------------------------

    void chequeSinBancoDeLaListaEsInconsistente_data() {
        QTest::addColumn<QVariant>("banco");  // CAB.bcolibrad (null: QVariant())
        QTest::addColumn<bool>("valido");
        QTest::newRow("vacio") << QVariant("") << false;
        QTest::newRow("un blanco") << QVariant(" ") << false;
        QTest::newRow("nulo") << QVariant() << false;
        QTest::newRow("fuera de la lista") << QVariant("99") << false;
        QTest::newRow("de la lista") << QVariant("11") << true;
    }
    void chequeSinBancoDeLaListaEsInconsistente() {
        QFETCH(QVariant, banco);
        QFETCH(bool, valido);
        E().Ejecuta("UPDATE CAB SET bcolibrad = ?, NroCheque = '123456', cheque = '360', efectivo = ''",
                    {banco.isNull() ? dao::Value() : dao::Value(banco.toString().toStdString())});
        E().Casilla("599", "C");
        const Casillas antes = Det();
        Abre();
        QVERIFY(C<QRadioButton>("OptCheque")->isChecked());
        QCOMPARE(C<QComboBox>("CmbBanco")->currentIndex() > 0, valido);

        Pulsa("CmdValidar_0");
        if (valido) {
            QCOMPARE(E().Textos(), std::vector<std::string>{kSinInconsistencias});
            QCOMPARE(visor_, 0);
        } else {
            QVERIFY(E().Textos().empty());
            QCOMPARE(visor_, 1);
            QCOMPARE(Mens(), std::string("Ingrese el banco( dato ubicado en el rubro Determinación de la deuda )\n"));
        }

        E().mensajes.shown.clear();
        Pulsa("CmdValidar_1");
        QCOMPARE(E().Textos(), std::vector<std::string>{valido ? kGrabadaBien : kGrabadaMal});
        Casillas esperado = ConLaIdentificacion(antes, "C");
        esperado["012"] = "123456";
        if (valido) esperado["015"] = "11";
        QCOMPARE(Texto(Det()), Texto(esperado));
        QCOMPARE(Cab(), valido ? QString("11/123456/360//0") : QString("XX/123456/360//9"));
    }
};

}  // namespace zvdecl::prueba

QTEST_MAIN(zvdecl::prueba::Frm841MontosTest)
#include "frm841_montos_test.moc"
