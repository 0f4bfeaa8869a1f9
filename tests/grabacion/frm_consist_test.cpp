// The inconsistency viewer offscreen: the list "&Validar" wrote, shown as
// it lies in the file; "&Aceptar" closes it; "&Imprimir" prints the list at
// once through a spool file; a list that cannot be read goes to the
// central error handler.
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "formulario/core/errores.h"
#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/core/termina.h"
#include "formulario/core/ui/mdi_frm.h"
#include "formulario/declaration/frm841_datos.h"
#include "formulario/declaration/ui/frm_consist.h"
#include "formulario/reports/ui/impresora.h"
#include "formulario/reports/ui/muestra_reporte.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"
#include "tests/support/support.h"
#include "tests/support/textos_cortados.h"

using zvdecl::ui::FrmConsist;
using zvform::Estado;

namespace {

struct ProgramaTerminado {
    int codigo;
};

const QString kLinea1 = "Ingrese el banco( dato ubicado en el rubro Determinación de la deuda )";
const QString kLinea2 = "Ingrese el Número del cheque( dato ubicado en el rubro Determinación de la deuda )";
const QString kLinea3 = "No puede girar un cheque con monto cero( dato ubicado en el rubro Determinación de la deuda )";

}  // namespace

class FrmConsistTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zvtest::Installation> instalacion_;
    std::unique_ptr<zvtest::TempDir> dir_;
    zv::ScriptedMessages mensajes_;

    // "&Validar" of a cheque without bank, number or amount: three lines.
    void ValidaChequeIncompleto() {
        zvdecl::DatosFrm841 d;
        d.operacion = 1;
        d.caption = zvdecl::CaptionFrm841(false);
        d.formaDePago = {"", "XX", "C", "0", "1"};
        zvdecl::ValidaTodo(d, "0");
    }

private slots:
    void init() {
        Estado::Reset();
        instalacion_ = std::make_unique<zvtest::Installation>();
        dir_ = std::make_unique<zvtest::TempDir>();
        mensajes_.shown.clear();
        mensajes_.answers.clear();
        zv::SetMessageService(&mensajes_);
        zvform::FijaCarpetaErrorLog(dir_->path());
        zvform::InstalaTerminador([](int codigo) { throw ProgramaTerminado{codigo}; });
        QVERIFY(zvform::LeerIni());
    }

    void cleanup() {
        zvdecl::MuestraInconsistencias() = nullptr;
        zvform::ui::MDIFrm::Abridores().muestraReporte = nullptr;
        zvform::InstalaTerminador(nullptr);
        zvform::FijaCarpetaErrorLog({});
        zv::SetMessageService(nullptr);
        Estado::Reset();
        dir_.reset();
        instalacion_.reset();
    }

    void muestraElArchivoTalComoEsta() {
        ValidaChequeIncompleto();
        FrmConsist visor;
        QCOMPARE(visor.windowTitle(), QString("Inconsistencias detectadas"));
        QPlainTextEdit* texto = visor.findChild<QPlainTextEdit*>("TxtPreliminar");
        QVERIFY(texto);
        QCOMPARE(texto->toPlainText(), kLinea1 + "\n" + kLinea2 + "\n" + kLinea3 + "\n");
        QVERIFY(texto->isReadOnly());
        QCOMPARE(texto->font().family(), QString("Courier New"));
        auto* etiqueta = visor.findChild<QLabel*>("Label1");
        QVERIFY(etiqueta);
        QCOMPARE(etiqueta->text(), QString("En su declaración se han detectado las siguientes inconsistencias :"));
        QCOMPARE(etiqueta->buddy(), texto);
        auto* aceptar = visor.findChild<QPushButton*>("CmdGrabar");
        auto* imprimir = visor.findChild<QPushButton*>("Command1");
        QVERIFY(aceptar && imprimir);
        QCOMPARE(aceptar->text(), QString("&Aceptar"));
        QCOMPARE(imprimir->text(), QString("&Imprimir"));
    }

    // Whatever the file holds is shown: blank lines, a line without its
    // end, Windows-1252 letters.
    void muestraUnArchivoAjenoSinCambiarlo() {
        Estado::G().gRutaArchivo = Estado::G().gSysPath + "Mens.txt";
        const std::string bytes = "l\xEDnea uno\r\n\r\n  con blancos  \r\n\xFAltima sin fin";
        {
            std::FILE* f = std::fopen(Estado::G().gRutaArchivo.c_str(), "wb");
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        FrmConsist visor;
        QCOMPARE(visor.TxtPreliminar()->toPlainText(), QString("línea uno\n\n  con blancos  \núltima sin fin"));
        QVERIFY(mensajes_.shown.empty());
    }

    void textosCompletos() {
        Estado::G().gRutaArchivo = Estado::G().gSysPath + "Mens.txt";
        zv::text::WriteAll(Estado::G().gRutaArchivo, "una inconsistencia\r\n");
        FrmConsist visor;
        visor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&visor));
        const QStringList cortados = zvtest::TextosCortados(visor);
        QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join("; ")));
    }

    void aceptarCierraElVisorModal() {
        ValidaChequeIncompleto();
        bool cerrado = false;
        QTimer::singleShot(0, [&] {
            auto* visor = qobject_cast<FrmConsist*>(QApplication::activeModalWidget());
            QVERIFY(visor);
            QTest::mouseClick(visor->findChild<QPushButton*>("CmdGrabar"), Qt::LeftButton);
            cerrado = !visor->isVisible();
        });
        zvdecl::ui::MuestraFrmConsist();
        QVERIFY(cerrado);
    }

    // The validation shows the viewer through the program's registration.
    void laValidacionMuestraElVisorSobreElFormulario() {
        zvdecl::MuestraInconsistencias() = [] { zvdecl::ui::MuestraFrmConsist(); };
        QString visto;
        QTimer::singleShot(0, [&] {
            auto* visor = qobject_cast<FrmConsist*>(QApplication::activeModalWidget());
            QVERIFY(visor);
            visto = visor->TxtPreliminar()->toPlainText();
            visor->CmdGrabar_Click();
        });
        ValidaChequeIncompleto();
        QCOMPARE(visto, kLinea1 + "\n" + kLinea2 + "\n" + kLinea3 + "\n");
    }

    void imprimirEscribeElSpoolYLoImprimeSinVistaPrevia() {
        ValidaChequeIncompleto();
        std::vector<std::pair<std::string, std::string>> impresos;
        zvform::ui::MDIFrm::Abridores().muestraReporte = [&](const std::string& archivo, const std::string& modo) {
            impresos.emplace_back(archivo, modo);
            return true;
        };
        Estado::G().gRangoPaginas = true;  // left by an earlier report
        FrmConsist visor;
        QTest::mouseClick(visor.findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QCOMPARE(impresos.size(), std::size_t{1});
        QCOMPARE(impresos[0].second, std::string("xx"));
        QVERIFY(!Estado::G().gRangoPaginas);
        const std::string spool = zv::text::ReadAll(Estado::G().gRutaRpt + impresos[0].first);
        QVERIFY(spool.rfind("<!font!>Courier New<!/font!>\r\n<!nHojas!>1<!/nHojas!>\r\n", 0) == 0);
        for (const QString& linea : {kLinea1, kLinea2, kLinea3})
            QVERIFY2(spool.find("|  " + linea.toStdString() + "|False|8|0|\r\n") != std::string::npos,
                     linea.toUtf8().constData());
        QVERIFY(spool.find("pNuevaHoja") == std::string::npos);
    }

    // The printout is told; without a printer, with the place of its PDF.
    void imprimirAvisaYSinImpresoraDiceDondeQuedaElPdf() {
        ValidaChequeIncompleto();
        mensajes_.shown.clear();
        zvform::ui::MDIFrm::Abridores().muestraReporte = zvform::ui::MuestraReporte;
        auto& hay = zvform::ui::HayImpresora();
        const auto antes = hay;
        hay = [] { return false; };
        FrmConsist visor;
        visor.Command1_Click();
        hay = antes;
        std::vector<std::filesystem::path> pdfs;
        for (const auto& f : std::filesystem::directory_iterator(Estado::G().gRutaRpt))
            if (f.path().extension() == ".pdf") pdfs.push_back(f.path());
        QCOMPARE(pdfs.size(), std::size_t{1});
        QCOMPARE(zvtest::Bytes(pdfs[0]).substr(0, 5), std::string("%PDF-"));
        QCOMPARE(mensajes_.shown.size(), std::size_t{1});
        QCOMPARE(mensajes_.shown[0].text, "La lista de inconsistencias se imprimió satisfactoriamente.\n\n"
                                          "No hay impresora: el reporte se guardó en el archivo PDF " +
                                              pdfs[0].string());
        QCOMPARE(mensajes_.shown[0].icon, zv::Icon::Information);
        QCOMPARE(mensajes_.shown[0].title, std::string("Inconsistencias detectadas"));
    }

    void listaLargaPasaDePaginaConSuCabecera() {
        Estado::G().gRutaArchivo = Estado::G().gSysPath + "Mens.txt";
        std::string lineas;
        for (int i = 1; i <= 100; ++i) lineas += "inconsistencia " + std::to_string(i) + "\r\n";
        zv::text::WriteAll(Estado::G().gRutaArchivo, lineas);
        std::string archivo;
        zvform::ui::MDIFrm::Abridores().muestraReporte = [&](const std::string& a, const std::string&) {
            archivo = a;
            return true;
        };
        FrmConsist visor;
        visor.Command1_Click();
        const std::string spool = zv::text::ReadAll(Estado::G().gRutaRpt + archivo);
        QVERIFY(spool.find("<!nHojas!>2<!/nHojas!>") != std::string::npos);
        QVERIFY(spool.find("|  inconsistencia 79|False|8|0|") != std::string::npos);
        QVERIFY(spool.find("pNuevaHoja\r\npPos|10|175||False|8|1|") != std::string::npos);
        QVERIFY(spool.find("|  inconsistencia 80|False|8|1|") != std::string::npos);
    }

    void archivoQueFaltaVaAlManejadorDeErrores() {
        Estado::G().gRutaArchivo = Estado::G().gSysPath + "NoEsta.txt";
        int codigo = -1;
        try {
            FrmConsist visor;
        } catch (const ProgramaTerminado& fin) {
            codigo = fin.codigo;
        }
        QCOMPARE(codigo, 1);
        QCOMPARE(mensajes_.shown.size(), std::size_t{1});
        QCOMPARE(mensajes_.shown[0].icon, zv::Icon::Critical);
        QVERIFY(std::filesystem::exists(dir_->path() / "errorlog.txt"));
    }
};

QTEST_MAIN(FrmConsistTest)
#include "frm_consist_test.moc"
