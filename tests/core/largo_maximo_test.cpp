// The maximum length of a text box: the user's typing, pasting and dropping
// stay within it; a text the program sets is kept whole, and so is a
// longer text the user leaves alone.
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QtTest>
#include <functional>

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

    // The box's own context menu, as a right click opens it, and its paste.
    static void PegaDelMenu(QLineEdit& caja) {
        QContextMenuEvent pedido(QContextMenuEvent::Mouse, caja.rect().center(), caja.mapToGlobal(caja.rect().center()));
        QApplication::sendEvent(&caja, &pedido);
        QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        const QString atajo = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
        QAction* pegar = nullptr;
        for (QAction* accion : menu->actions())
            if (accion->text().endsWith("\t" + atajo)) pegar = accion;
        QVERIFY(pegar);
        pegar->trigger();
        menu->close();
    }
    // A drag of `texto` that ends at the character `posicion` of the box.
    static void Suelta(QLineEdit& caja, int posicion, const QString& texto) {
        QPoint punto(0, caja.height() / 2);
        while (punto.x() < caja.width() && caja.cursorPositionAt(punto) < posicion) punto.rx()++;
        QMimeData datos;
        datos.setText(texto);
        const Qt::DropAction accion = Qt::CopyAction;
        QDragEnterEvent entra(punto, accion, &datos, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&caja, &entra);
        QDragMoveEvent mueve(punto, accion, &datos, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&caja, &mueve);
        QDropEvent suelta(punto, accion, &datos, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&caja, &suelta);
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

    // Every road of a paste: the text goes in at the cursor, or over the
    // selection, cut at its end; undo takes the paste back whole.
    void pegadoCortadoVaEnElCursorYSeDeshace_data() {
        QTest::addColumn<QString>("camino");
        QTest::addColumn<int>("inicio");
        QTest::addColumn<int>("seleccion");
        QTest::addColumn<QString>("queda");
        QTest::addColumn<int>("cursor");
        for (const char* camino : {"Ctrl+V", "Shift+Insert", "menu", "soltar"})
            QTest::addRow("%s en el cursor", camino) << camino << 3 << 0 << "12344567" << 4;
        for (const char* camino : {"Ctrl+V", "Shift+Insert", "menu"})
            QTest::addRow("%s sobre la seleccion", camino) << camino << 1 << 1 << "14534567" << 3;
        QTest::addRow("menu al final") << "menu" << 7 << 0 << "12345674" << 8;
    }
    void pegadoCortadoVaEnElCursorYSeDeshace() {
        QFETCH(QString, camino);
        QFETCH(int, inicio);
        QFETCH(int, seleccion);
        QFETCH(QString, queda);
        QFETCH(int, cursor);
        QApplication::clipboard()->setText("456");
        auto caja = Caja("1234567");
        caja->setCursorPosition(inicio);
        if (seleccion > 0) caja->setSelection(inicio, seleccion);
        if (camino == "Ctrl+V") QTest::keyClick(caja.get(), Qt::Key_V, Qt::ControlModifier);
        if (camino == "Shift+Insert") QTest::keyClick(caja.get(), Qt::Key_Insert, Qt::ShiftModifier);
        if (camino == "menu") PegaDelMenu(*caja);
        if (camino == "soltar") Suelta(*caja, inicio, "456");
        QCOMPARE(caja->text(), queda);
        QCOMPARE(caja->cursorPosition(), cursor);
        QTest::keyClick(caja.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(caja->text(), QString("1234567"));
    }

    // A paste right after typing is an undo step of its own, as Qt's paste is.
    void deshacerElPegadoDejaLoEscrito() {
        QApplication::clipboard()->setText("ABCDEFGH");
        auto caja = Caja("");
        QTest::keyClicks(caja.get(), "12");
        QTest::keyClick(caja.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(caja->text(), QString("12ABCDEF"));
        QTest::keyClick(caja.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(caja->text(), QString("12"));
    }

    // The program's own insert on behalf of a key stays within the limit too.
    void elInsertoPorUnaTeclaNoPasaElLimite() {
        auto caja = Caja("12345678");
        caja->setCursorPosition(2);
        caja->insert("x");
        QCOMPARE(caja->text(), QString("12345678"));
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
