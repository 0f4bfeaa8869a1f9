#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

#include "formulario/core/widgets/ventanas.h"

namespace {

class Ventanas : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char nombre[] = "ventanas_test";
        static char* argv[] = {nombre, nullptr};
        if (!QApplication::instance()) app = new QApplication(argc, argv);
    }
    static QApplication* app;
};
QApplication* Ventanas::app = nullptr;

TEST_F(Ventanas, AnchoCaracterEsElPromedioDeLas52Letras) {
    QWidget form;
    QFontMetrics m(QApplication::font());
    int esperado = m.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52;
    EXPECT_EQ(zvform::AnchoCaracter(form), esperado);
    EXPECT_GT(esperado, 0);
}

TEST_F(Ventanas, AnchoDeLaListaDesplegable) {
    QWidget form;
    QComboBox combo(&form);
    int promedio = zvform::AnchoCaracter(form);
    combo.addItem("ab");
    EXPECT_EQ(zvform::AjustaAnchoCombo(form, combo), 0);
    combo.addItem(QString(62, 'x'));
    combo.addItem("corto");
    EXPECT_EQ(zvform::AjustaAnchoCombo(form, combo), 60 * promedio);
    EXPECT_EQ(combo.view()->minimumWidth(), 60 * promedio);
    EXPECT_EQ(zvform::FijaAnchoCombo(form, combo, 82), 80 * promedio);
    EXPECT_EQ(zvform::FijaAnchoCombo(form, combo, 0), 0);  // never below zero
    QComboBox vacio(&form);
    EXPECT_EQ(zvform::AjustaAnchoCombo(form, vacio), 0);
}

TEST_F(Ventanas, CentrarFormEnLaVentanaPrincipal) {
    QWidget principal;
    principal.setGeometry(0, 0, 800, 600);
    QWidget form;
    form.resize(200, 100);
    zvform::CentrarForm(form, principal);
    QRect marco = principal.frameGeometry();
    EXPECT_EQ(form.frameGeometry().x(), marco.x() + (marco.width() - form.frameGeometry().width()) / 2);
    EXPECT_EQ(form.frameGeometry().y(), marco.y() + (marco.height() - form.frameGeometry().height()) / 2);
}

TEST_F(Ventanas, PasaTabMueveElFoco) {
    QWidget form;
    auto* capa = new QVBoxLayout(&form);
    auto* primero = new QLineEdit;
    auto* segundo = new QLineEdit;
    capa->addWidget(primero);
    capa->addWidget(segundo);
    form.show();
    QApplication::setActiveWindow(&form);
    primero->setFocus();
    QApplication::processEvents();
    if (QApplication::focusWidget() != primero) GTEST_SKIP() << "no focus on this platform";
    zvform::PasaTab("X");
    EXPECT_EQ(QApplication::focusWidget(), primero);
    zvform::PasaTab("TAB");
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), segundo);
}

}  // namespace
