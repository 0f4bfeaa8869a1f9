// The maximum length of a text box: the user's typing, pasting and dropping
// stay within it; a text the program sets is kept whole, and so is a
// longer text the user leaves alone.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QtTest>

#include "formulario/core/widgets/largo_maximo.h"

using zvform::FijaLargoMaximo;
using zvform::LargoMaximo;

class LargoMaximoTest : public QObject {
    Q_OBJECT

    // A box of 8 characters, shown and focused as the user has it.
    std::unique_ptr<QLineEdit> Caja(const QString& texto) {
        auto caja = std::make_unique<QLineEdit>();
        FijaLargoMaximo(*caja, 8);
        caja->setText(texto);
        caja->show();
        caja->activateWindow();
        caja->setFocus();
        return caja;
    }

private slots:
    void elTextoDelProgramaQuedaEntero() {
        auto caja = Caja("4251234567");
        QCOMPARE(caja->text(), QString("4251234567"));
        QCOMPARE(LargoMaximo(*caja), 8);
        // Changing the limit never cuts what the box holds.
        FijaLargoMaximo(*caja, 3);
        QCOMPARE(caja->text(), QString("4251234567"));
        QCOMPARE(LargoMaximo(*caja), 3);
        QVERIFY(caja->hasAcceptableInput());
    }

    void loQueElUsuarioEscribeSeDetieneEnElLimite() {
        auto caja = Caja("");
        QTest::keyClicks(caja.get(), "1234567890");
        QCOMPARE(caja->text(), QString("12345678"));
        // Over a selection the typed character takes its place.
        caja->setSelection(2, 1);
        QTest::keyClicks(caja.get(), "x");
        QCOMPARE(caja->text(), QString("12x45678"));
    }

    void unTextoLargoCargadoSoloAceptaBorrar() {
        auto caja = Caja("4251234567");
        caja->end(false);
        QTest::keyClicks(caja.get(), "9");
        QCOMPARE(caja->text(), QString("4251234567"));
        caja->setSelection(0, 1);
        QTest::keyClicks(caja.get(), "9");  // still two beyond the limit
        QCOMPARE(caja->text(), QString("4251234567"));
        caja->end(false);
        QTest::keyClick(caja.get(), Qt::Key_Backspace);
        QCOMPARE(caja->text(), QString("425123456"));
        // Once within the limit again, typing fills it up to the limit only.
        caja->setSelection(0, 9);
        QTest::keyClicks(caja.get(), "1234567890");
        QCOMPARE(caja->text(), QString("12345678"));
    }

    void pegarInsertaLoQueCabe() {
        QApplication::clipboard()->setText("ABCDEFGH");
        auto caja = Caja("12345");
        caja->setCursorPosition(2);
        QTest::keyClick(caja.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(caja->text(), QString("12ABC345"));
        QCOMPARE(caja->cursorPosition(), 5);
        // The context menu's road: nothing fits, nothing changes.
        caja->paste();
        QCOMPARE(caja->text(), QString("12ABC345"));
        // A paste that fits whole goes in whole.
        caja->setSelection(2, 3);
        QApplication::clipboard()->setText("xy");
        caja->paste();
        QCOMPARE(caja->text(), QString("12xy345"));
    }

    void sinLimiteNoHayTope() {
        QLineEdit caja;
        QCOMPARE(LargoMaximo(caja), 0);
        FijaLargoMaximo(caja, 0);
        caja.show();
        caja.setFocus();
        QTest::keyClicks(&caja, "123456789012345678901234567890");
        QCOMPARE(caja.text().size(), 30);
    }
};

QTEST_MAIN(LargoMaximoTest)
#include "largo_maximo_test.moc"
