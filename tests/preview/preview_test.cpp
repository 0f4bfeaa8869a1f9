// The preview window, its printing and the page-range dialog, offscreen.
// The machine is told it has no printer, so every printout is a PDF file
// beside its spool file, which poppler's tools then read back.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/core/ui/mdi_frm.h"
#include "formulario/core/widgets/twips.h"
#include "formulario/reports/reporte.h"
#include "formulario/reports/ui/frm_impxpag.h"
#include "formulario/reports/ui/frm_preview.h"
#include "formulario/reports/ui/impresora.h"
#include "formulario/reports/ui/muestra_reporte.h"
#include "platform/dao/dao.h"
#include "platform/msgbox.h"
#include "shared/spool.h"
#include "tests/preview/spool_prueba.h"
#include "tests/support/afiliados.h"
#include "tests/support/support.h"
#include "tests/support/textos_cortados.h"

namespace fs = std::filesystem;
using zvform::Estado;
using zvform::ui::frmImpxPag;
using zvform::ui::frmPreview;
using zvpreview::prueba::Encabezado;
using zvpreview::prueba::EscribeReporte;
using zvpreview::prueba::Opciones;

namespace {

// Runs `mientras` on the next modal window above `debajo` once it is up.
void AlAbrirse(QWidget* debajo, std::function<void(QWidget*)> mientras, int intentos = 1000) {
    QTimer::singleShot(5, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != debajo && modal->isVisible()) {
            mientras(modal);
            return;
        }
        if (intentos > 0) AlAbrirse(debajo, mientras, intentos - 1);
    });
}

QString Ejecuta(const char* programa, const QStringList& argumentos) {
    std::vector<std::string> args;
    for (const QString& a : argumentos) args.push_back(a.toStdString());
    zvtest::RunResult r = zvtest::Run(programa, args);
    return QString::fromStdString(r.out);
}

int PaginasPdf(const fs::path& pdf) {
    QRegularExpression paginas(QStringLiteral("Pages:\\s+(\\d+)"));
    auto m = paginas.match(Ejecuta("/usr/bin/pdfinfo", {QString::fromStdString(pdf.string())}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// "V" or "H" for each page of the PDF.
QString OrientacionesPdf(const fs::path& pdf) {
    const int n = PaginasPdf(pdf);
    QString info = Ejecuta("/usr/bin/pdfinfo", {"-f", "1", "-l", QString::number(n), QString::fromStdString(pdf.string())});
    QString o;
    QRegularExpression tamano(QStringLiteral("Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+)"));
    for (auto it = tamano.globalMatch(info); it.hasNext();) {
        auto m = it.next();
        o += m.captured(1).toDouble() > m.captured(2).toDouble() ? "H" : "V";
    }
    return o;
}

QString TextoPdf(const fs::path& pdf) {
    return Ejecuta("/usr/bin/pdftotext", {"-layout", QString::fromStdString(pdf.string()), "-"});
}

struct Palabra {
    int pagina = 0;  // 1-based
    double x = -1, y = -1;  // points from the page's top left corner
};

// Where the word first lies in the PDF (pdftotext -bbox).
Palabra BuscaPalabra(const fs::path& pdf, const QString& palabra, int desdePagina = 1) {
    QString html = Ejecuta("/usr/bin/pdftotext", {"-bbox", QString::fromStdString(pdf.string()), "-"});
    QRegularExpression elemento(QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>([^<]*)</word>"));
    int pagina = 0;
    for (auto it = elemento.globalMatch(html); it.hasNext();) {
        auto m = it.next();
        if (m.captured(0).startsWith("<page")) {
            ++pagina;
            continue;
        }
        if (pagina >= desdePagina && m.captured(3) == palabra) return {pagina, m.captured(1).toDouble(), m.captured(2).toDouble()};
    }
    return {};
}

QAction* Boton(frmPreview& f, int indice) {
    for (QAction* a : f.tlbPrevia()->actions())
        if (a->data().toInt() == indice) return a;
    return nullptr;
}

std::string PrimerTexto(const zvform::PaginaPrevia& p) {
    for (const zvform::Trazo& t : p.trazos)
        if (t.tipo != zvform::Trazo::Tipo::Cuadro) return std::string(p.TextoDe(t));
    return "";
}

}  // namespace

class PreviewTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<zvtest::TempDir> carpeta_;
    zv::ScriptedMessages mensajes_;

    fs::path Rpt() const { return carpeta_->path(); }
    std::string Reporte(int paginas, const Opciones& o = {}, const std::string& nombre = "00000001.PRN") {
        EscribeReporte(Rpt() / nombre, paginas, o);
        return nombre;
    }
    void Rango(int desde, int hasta) {
        Estado::G().gRangoPaginas = true;
        Estado::G().gPagDesde = desde;
        Estado::G().gPagHasta = hasta;
    }
    QStringList Mensajes() const {
        QStringList m;
        for (const auto& r : mensajes_.shown) m << QString::fromStdString(r.text);
        return m;
    }

    // The success message of a printout to PDF (the tests' machine has no
    // printer): the file's place follows the message.
    QString ImpresoEnPdf(const char* pdf) const {
        return QStringLiteral("Reporte se imprimió satisfactoriamente.\n\n"
                              "No hay impresora: el reporte se guardó en el archivo PDF ") +
               QString::fromStdString(Estado::G().gRutaRpt + pdf);
    }

private slots:
    void initTestCase() { zvform::ui::HayImpresora() = [] { return false; }; }

    void init() {
        Estado::Reset();
        carpeta_ = std::make_unique<zvtest::TempDir>();
        Estado::G().gRutaRpt = Rpt().string() + "/";
        mensajes_ = {};
        zv::SetMessageService(&mensajes_);
        zvform::ui::MDIFrm::Abridores() = {};
    }

    void cleanup() {
        zv::SetMessageService(nullptr);
        zvform::ui::MDIFrm::Abridores() = {};
        Estado::Reset();
        carpeta_.reset();
    }

    void ventanaYControles() {
        frmPreview f;
        QCOMPARE(f.windowTitle(), QStringLiteral("Presentación Preliminar"));
        QCOMPARE(f.objectName(), QStringLiteral("frmPreview"));
        const char* const textos[] = {"Pag Anterior", "Pag Sgt", "Imprimir", "Salir"};
        for (int i = 2; i <= 5; ++i) QCOMPARE(Boton(f, i)->text(), QString::fromUtf8(textos[i - 2]));
        for (const char* nombre : {"picFondo", "vsbPic_0", "vsbPic_1", "HScroll1", "tlbPrevia"})
            QVERIFY2(f.findChild<QWidget*>(nombre), nombre);
    }

    // The preview's buttons and the page-range dialog show their texts
    // whole; the dialog's notice fits its box, every line of it.
    void textosCompletos() {
        frmPreview f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QStringList cortados = zvtest::TextosCortados(f);
        QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join("; ")));

        frmImpxPag d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        cortados = zvtest::TextosCortados(d);
        QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join("; ")));
        const QFontMetrics medidas = d.Text1->fontMetrics();
        const QStringList lineas = d.Text1->toPlainText().split('\n');
        const int margen = 2 * static_cast<int>(d.Text1->document()->documentMargin());
        for (const QString& linea : lineas)
            QVERIFY2(medidas.horizontalAdvance(linea) + margen <= d.Text1->viewport()->width(), qPrintable(linea));
        QVERIFY(lineas.size() * medidas.lineSpacing() + margen <= d.Text1->viewport()->height());
    }

    void unaPaginaLosBotonesNoHacenNada() {
        frmPreview f;
        f.sRut = Reporte(1);
        QVERIFY(f.Form_Load());
        f.show();
        QCOMPARE(f.PaginasContadas(), 1);
        Boton(f, 3)->trigger();
        QCOMPARE(f.iNroHoja, 0);
        Boton(f, 2)->trigger();
        QCOMPARE(f.iNroHoja, 0);
        QVERIFY(f.picPrevia(0)->isVisible());
    }

    void nPaginasLosBotonesParanEnLosExtremos() {
        frmPreview f;
        f.sRut = Reporte(5);
        QVERIFY(f.Form_Load());
        f.show();
        QCOMPARE(f.PaginasContadas(), 5);
        for (int i = 0; i < 7; ++i) Boton(f, 3)->trigger();
        QCOMPARE(f.iNroHoja, 4);
        QVERIFY(f.picPrevia(4)->isVisible());
        for (int i = 0; i < 4; ++i) QVERIFY(!f.picPrevia(i)->isVisible());
        for (int i = 0; i < 7; ++i) Boton(f, 2)->trigger();
        QCOMPARE(f.iNroHoja, 0);
        QVERIFY(f.picPrevia(0)->isVisible());
        QVERIFY(!f.picPrevia(4)->isVisible());
    }

    void textosEnNegroSobreElColorDeLaPagina() {
        // A text before any box: its colour must not come from the page area's frame.
        std::ofstream(Rpt() / "00000001.PRN", std::ios::binary)
            << "<!Color!>&H00FFFFC0&<!/Color!>\r\npPos|300|300|MMMMMMMM|True|16|0|\r\n";
        frmPreview f;
        f.sRut = "00000001.PRN";
        QVERIFY(f.Form_Load());
        f.show();
        QImage imagen = f.picPrevia(0)->grab().toImage();
        QCOMPARE(imagen.pixelColor(2, 2), QColor(0xC0, 0xFF, 0xFF));
        int negros = 0;
        const QRect texto(zvform::TwipsX(300, &f), zvform::TwipsY(300, &f), zvform::TwipsX(1500, &f), zvform::TwipsY(300, &f));
        for (int y = texto.top(); y <= texto.bottom(); ++y)
            for (int x = texto.left(); x <= texto.right(); ++x) negros += qGray(imagen.pixel(x, y)) < 64;
        QVERIFY2(negros > 50, qPrintable(QString::number(negros)));
    }

    void paginasDanadasSeDibujanSinDano() {
        // Damaged records reach the drawing code as they were read: huge
        // sizes, far positions, long and odd texts, vertical text running off.
        std::string bytes =
            "pPos|-32768|-32768|" + std::string(20000, 'W') + "|True|32767|0|\r\n"
            "pPos|32767|32767|X|False|-5|0|\r\n"
            "pPos|10|10|\x01\x02\xff\xfe|False|0|0|\r\n"
            "pPosVerti|100|32000|" + std::string(500, 'V') + "|True|9|0|\r\n"
            "pCuadro|-32768|-32768|32767|32767|0|\r\n";
        std::ofstream(Rpt() / "00000001.PRN", std::ios::binary) << bytes;
        frmPreview f;
        f.sRut = "00000001.PRN";
        QVERIFY(f.Form_Load());
        f.show();
        QVERIFY(!f.picPrevia(0)->grab().isNull());
        QVERIFY(zvform::ui::MuestraReporte(f.sRut, "xx"));
        QCOMPARE(PaginasPdf(Rpt() / "00000001.pdf"), 1);
    }

    void barrasVerticalesIgualesYHorizontal() {
        frmPreview f;
        f.sRut = Reporte(2);
        QVERIFY(f.Form_Load());
        f.show();
        QVERIFY(f.vsbPic(0)->maximum() >= 3000);
        f.vsbPic(1)->setValue(1500);
        QCOMPARE(f.vsbPic(0)->value(), 1500);
        QCOMPARE(f.picPrevia(0)->y(), -zvform::TwipsY(1500, &f));
        f.vsbPic(0)->setValue(600);
        QCOMPARE(f.vsbPic(1)->value(), 600);
        f.HScroll1()->setValue(900);
        QCOMPARE(f.picPrevia(0)->x(), -zvform::TwipsX(900, &f));
        // A new page starts at its top; the horizontal bar keeps its place.
        Boton(f, 3)->trigger();
        QCOMPARE(f.vsbPic(0)->value(), 0);
        QCOMPARE(f.vsbPic(1)->value(), 0);
        QCOMPARE(f.HScroll1()->value(), 900);
        QCOMPARE(f.picPrevia(1)->pos(), QPoint(-zvform::TwipsX(900, &f), 0));
    }

    void rangoDosATresImprimeDosHojasYCierra() {
        Rango(2, 3);
        frmPreview f;
        f.sRut = Reporte(5);
        QVERIFY(f.Form_Load());
        QCOMPARE(f.PaginasContadas(), 2);
        QCOMPARE(PrimerTexto(f.Pagina(0)), Encabezado(2));
        QCOMPARE(PrimerTexto(f.Pagina(1)), Encabezado(3));
        f.show();
        Boton(f, 4)->trigger();
        QCOMPARE(Mensajes(), QStringList{ImpresoEnPdf("00000001.pdf")});
        QCOMPARE(mensajes_.shown.back().title, std::string("Presentación Preliminar"));
        QCOMPARE(mensajes_.shown.back().icon, zv::Icon::Information);
        QVERIFY(!f.isVisible());  // a range printed closes the window
        const fs::path pdf = Rpt() / "00000001.pdf";
        QCOMPARE(PaginasPdf(pdf), 2);
        QString texto = TextoPdf(pdf);
        QVERIFY(texto.contains("PAGINA 2") && texto.contains("PAGINA 3"));
        QVERIFY(!texto.contains("PAGINA 1") && !texto.contains("PAGINA 4"));
    }

    void imprimirDesdeLaVentanaDejaLaPaginaMostrada() {
        frmPreview f;
        f.sRut = Reporte(4);
        QVERIFY(f.Form_Load());
        f.show();
        Boton(f, 3)->trigger();
        Boton(f, 3)->trigger();
        Boton(f, 4)->trigger();
        QCOMPARE(Mensajes(), QStringList{ImpresoEnPdf("00000001.pdf")});
        QVERIFY(f.isVisible());
        QCOMPARE(f.iNroHoja, 2);
        QCOMPARE(f.PaginasContadas(), 4);
        QVERIFY(f.picPrevia(2)->isVisible());
        Boton(f, 3)->trigger();
        QCOMPARE(f.iNroHoja, 3);
        QCOMPARE(PaginasPdf(Rpt() / "00000001.pdf"), 4);
        Boton(f, 5)->trigger();
        QVERIFY(!f.isVisible());
    }

    void rangoUnoAQuinceDeCuarenta() {
        Rango(1, 15);
        frmPreview f;
        f.sRut = Reporte(40);
        QVERIFY(f.Form_Load());
        QCOMPARE(f.PaginasContadas(), 15);
        QCOMPARE(PrimerTexto(f.Pagina(14)), Encabezado(15));
        QVERIFY(zvform::ui::MuestraReporte(f.sRut, "xx"));
        QCOMPARE(PaginasPdf(Rpt() / "00000001.pdf"), 15);
    }

    void horizontalesEnHorizontalYLaImpresoraVuelveAVertical() {
        Opciones o;
        o.horizontalDesde = 1;
        frmPreview f;
        f.sRut = Reporte(3, o);
        QVERIFY(f.pDesencripta(f.sRut, "xx"));
        QCOMPARE(f.sObject, std::string("IMPRIMIR"));
        QVERIFY(!f.isVisible());
        QCOMPARE(OrientacionesPdf(Rpt() / "00000001.pdf"), QStringLiteral("VHH"));
        QVERIFY(f.Impresora());
        QCOMPARE(f.Impresora()->pageLayout().orientation(), QPageLayout::Portrait);
        QVERIFY(mensajes_.shown.empty());  // the caller tells the user
    }

    void archivoQueNoExiste() {
        QVERIFY(!zvform::ui::MuestraReporte("00000099.PRN", "xx"));
        QCOMPARE(Mensajes(), QStringList{QStringLiteral("El archivo físico del reporte no existe")});
        QCOMPARE(mensajes_.shown[0].title, std::string("Error al Imprimir"));
        QCOMPARE(mensajes_.shown[0].icon, zv::Icon::Critical);
        QVERIFY(!fs::exists(Rpt() / "00000099.pdf"));

        // The preview road opens on an empty page.
        mensajes_.shown.clear();
        frmPreview f;
        f.sRut = "00000099.PRN";
        QVERIFY(!f.Form_Load());
        QCOMPARE(f.PaginasContadas(), 1);
        QVERIFY(f.Pagina(0).trazos.empty());
        QCOMPARE(Mensajes().size(), 1);
    }

    // A report file the disk fails to read is told as a file error of the
    // report: neither a missing file nor an empty report.
    void archivoQueNoSePuedeLeer() {
        std::error_code ec;
        if (!fs::is_regular_file("/proc/self/mem", ec)) QSKIP("no /proc here");
        // Its first bytes are no memory of the process: reading them fails (EIO).
        fs::create_symlink("/proc/self/mem", Rpt() / "00000005.PRN");
        const QStringList esperado{QStringLiteral("Error Técnico : ( 57) Error de E/S en el dispositivo")};
        QVERIFY(!zvform::ui::MuestraReporte("00000005.PRN", "xx"));
        QCOMPARE(Mensajes(), esperado);
        QCOMPARE(mensajes_.shown[0].title, std::string("Impresión"));
        QVERIFY(!fs::exists(Rpt() / "00000005.pdf"));

        // The preview road opens on an empty page.
        mensajes_.shown.clear();
        frmPreview f;
        f.sRut = "00000005.PRN";
        QVERIFY(!f.Form_Load());
        QCOMPARE(Mensajes(), esperado);
        QCOMPARE(f.PaginasContadas(), 1);
        QVERIFY(f.Pagina(0).trazos.empty());
    }

    void imprimirUnArchivoQueDesaparecioNoSeDaPorImpreso() {
        frmPreview f;
        f.sRut = Reporte(2);
        QVERIFY(f.Form_Load());
        fs::remove(Rpt() / f.sRut);
        Boton(f, 4)->trigger();
        QCOMPARE(Mensajes(), QStringList{QStringLiteral("El archivo físico del reporte no existe")});
    }

    void impresoraQueFallaLoDice() {
        // The PDF cannot be written: its name is taken by a folder.
        fs::create_directory(Rpt() / "00000001.pdf");
        QVERIFY(!zvform::ui::MuestraReporte(Reporte(2), "xx"));
        QCOMPARE(Mensajes(), QStringList{QStringLiteral("No existe una impresora seleccionada.Verifique.")});
        QCOMPARE(mensajes_.shown[0].title, std::string("Impresión"));
    }

    // A file the reader finds nothing to draw in makes no sheet: it is not
    // reported as printed, on either road.
    void unArchivoSinNadaQueDibujarNoSeDaPorImpreso_data() {
        QTest::addColumn<QByteArray>("contenido");
        QByteArray basura;
        for (int i = 0; i < 64 * 1024; ++i) basura.append(static_cast<char>((i * 7919 + i / 13) % 256));
        QTest::newRow("binary garbage") << basura;
        QTest::newRow("one line of 8 MB") << QByteArray(8 * 1024 * 1024, 'x');
        QTest::newRow("tags only") << QByteArray("<!nHojas!>3<!/nHojas!>\r\n<!Orientacion!>H<!/Orientacion!>\r\n");
    }
    void unArchivoSinNadaQueDibujarNoSeDaPorImpreso() {
        QFETCH(QByteArray, contenido);
        const std::string nombre = "00000001.PRN";
        std::ofstream(Rpt() / nombre, std::ios::binary).write(contenido.constData(), contenido.size());
        const QStringList nadaQueImprimir{QStringLiteral("El reporte no tiene nada que imprimir.")};

        QVERIFY(!zvform::ui::MuestraReporte(nombre, "xx"));
        QCOMPARE(Mensajes(), nadaQueImprimir);
        QCOMPARE(mensajes_.shown[0].title, std::string("Impresión"));
        QVERIFY(!fs::exists(Rpt() / "00000001.pdf"));

        mensajes_.shown.clear();
        frmPreview f;
        f.sRut = nombre;
        f.Form_Load();
        f.show();
        Boton(f, 4)->trigger();
        QCOMPARE(Mensajes(), nadaQueImprimir);
        QVERIFY(f.isVisible());
        QVERIFY(!fs::exists(Rpt() / "00000001.pdf"));
    }

    void muestraReporteVpreviaAbreLaVentanaModal() {
        const std::string nombre = Reporte(3);
        int paginas = -1;
        QString titulo;
        AlAbrirse(nullptr, [&](QWidget* w) {
            auto* f = qobject_cast<frmPreview*>(w);
            if (f) paginas = f->PaginasContadas();
            titulo = w->windowTitle();
            w->close();
        });
        QVERIFY(zvform::ui::MuestraReporte(nombre, "Vprevia"));
        QCOMPARE(paginas, 3);
        QCOMPARE(titulo, QStringLiteral("Presentación Preliminar"));
    }

    // ---- frmImpxPag ---------------------------------------------------------

    void rangoAbreConElTotal() {
        bool visto = false;
        AlAbrirse(nullptr, [&](QWidget* w) {
            auto* d = qobject_cast<frmImpxPag*>(w);
            QVERIFY(d);
            visto = true;
            QCOMPARE(d->windowTitle(), QStringLiteral("Impresión de 40 páginas"));
            QCOMPARE(d->txtTotPaginas->text(), QStringLiteral("40"));
            QCOMPARE(d->txtPagDesde->text(), QStringLiteral("1"));
            QCOMPARE(d->txtPagHasta->text(), QStringLiteral("40"));
            QCOMPARE(d->tag, std::string("00000005.PRN"));
            QCOMPARE(d->Frame1->title(), QStringLiteral("Imprimir"));
            QCOMPARE(d->Label2->text(), QStringLiteral("&Desde :"));
            QCOMPARE(d->Label2->buddy(), d->txtPagDesde);
            QCOMPARE(d->Label1->text(), QStringLiteral("&Hasta :"));
            QCOMPARE(d->Label1->buddy(), d->txtPagHasta);
            QCOMPARE(d->cmdAccion[0]->text(), QStringLiteral("&Preliminar"));
            QCOMPARE(d->cmdAccion[1]->text(), QStringLiteral("&Cancelar"));
            for (const char* nombre : {"txtPagDesde", "txtPagHasta", "txtTotPaginas", "Text1", "cmdAccion_0", "cmdAccion_1"})
                QVERIFY2(d->findChild<QWidget*>(nombre), nombre);
            const QStringList lineas = d->Text1->toPlainText().split('\n');
            QCOMPARE(lineas.size(), 6);
            QCOMPARE(lineas[0], QStringLiteral("El reporte generado contiene") + QString(18, ' ') + QStringLiteral("páginas."));
            QCOMPARE(lineas[5], QStringLiteral("Se recomienda imprimir en rangos no mayores a 10 páginas."));
            // The total sits in the gap of the first line.
            const QRect total = d->txtTotPaginas->geometry();
            const int hueco = d->Text1->fontMetrics().horizontalAdvance(QStringLiteral("El reporte generado contiene"));
            QVERIFY(total.left() > hueco && total.top() < d->Text1->fontMetrics().height());
            d->cmdAccion[1]->click();
        });
        zvform::ui::AbreRangoPaginas("00000005.PRN", 40);
        QVERIFY(visto);
    }

    void rangoComprobaciones_data() {
        QTest::addColumn<QString>("desde");
        QTest::addColumn<QString>("hasta");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("first empty") << "" << "40" << "Ingrese página de inicio";
        QTest::newRow("first blanks") << "  " << "40" << "Ingrese página de inicio";
        QTest::newRow("first 0") << "0" << "40" << "Página inicial debe ser a partir de 1";
        QTest::newRow("first 41 of 40") << "41" << "40" << "Página inicial no debe ser mayor a total de páginas del reporte";
        QTest::newRow("last empty") << "1" << "" << "Ingrese página de Fin";
        QTest::newRow("20 to 10") << "20" << "10" << "Página final no debe ser menor a página inicial";
    }

    void rangoComprobaciones() {
        QFETCH(QString, desde);
        QFETCH(QString, hasta);
        QFETCH(QString, mensaje);
        int vistas = 0;
        zvform::ui::MDIFrm::Abridores().muestraReporte = [&](const std::string&, const std::string&) { return ++vistas, true; };
        frmImpxPag d;
        d.setWindowTitle(QStringLiteral("Impresión de 40 páginas"));
        d.txtTotPaginas->setText("40");
        d.txtPagDesde->setText(desde);
        d.txtPagHasta->setText(hasta);
        d.cmdAccion_Click(0);
        QCOMPARE(Mensajes(), QStringList{mensaje});
        QCOMPARE(mensajes_.shown[0].title, std::string("Impresión de 40 páginas"));
        QCOMPARE(mensajes_.shown[0].icon, zv::Icon::Critical);
        QCOMPARE(vistas, 0);
        QCOMPARE(d.txtPagDesde->text(), desde);
        QCOMPARE(d.txtPagHasta->text(), hasta);
    }

    void rangoTeclas() {
        frmImpxPag d;
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        d.txtPagDesde->setFocus();
        d.txtPagDesde->clear();
        QTest::keyClicks(d.txtPagDesde, "a1b.2 -x");
        QCOMPARE(d.txtPagDesde->text(), QStringLiteral("1.2 "));
        QTest::keyClick(d.txtPagDesde, Qt::Key_Backspace);
        QCOMPARE(d.txtPagDesde->text(), QStringLiteral("1.2"));
        QTest::keyClick(d.txtPagDesde, Qt::Key_Return);
        QCOMPARE(d.txtPagDesde->text(), QStringLiteral("1.2"));
        QCOMPARE(QApplication::focusWidget(), d.txtPagHasta);
        // The focus coming in selects the field's text; the letter is not typed over it.
        QTest::keyClicks(d.txtPagHasta, "Z9");
        QCOMPARE(d.txtPagHasta->text(), QStringLiteral("9"));
        QTest::keyClick(d.txtPagHasta, Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget(), d.cmdAccion[0]);
        QVERIFY(mensajes_.shown.empty());
    }

    // The keyboard road ends on "&Preliminar": Enter there opens the preview,
    // and Enter on "&Cancelar" closes the dialog.
    void rangoEnterEnLosBotonesLosPulsa() {
        int vistas = 0;
        zvform::ui::MDIFrm::Abridores().muestraReporte = [&](const std::string&, const std::string&) {
            ++vistas;
            return true;
        };
        frmImpxPag d;
        d.tag = "00000003.PRN";
        d.txtTotPaginas->setText("40");
        d.txtPagHasta->setText("40");
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        d.txtPagHasta->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), d.txtPagHasta);
        QTest::keyClick(d.txtPagHasta, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), d.cmdAccion[0]);
        QTest::keyClick(d.cmdAccion[0], Qt::Key_Return);
        QCOMPARE(vistas, 1);
        QVERIFY(d.isVisible());
        d.cmdAccion[1]->setFocus();
        QTest::keyClick(d.cmdAccion[1], Qt::Key_Enter);
        QCOMPARE(vistas, 1);
        QVERIFY(!d.isVisible());
    }

    void rangoPreliminarUnRangoYOtro() {
        struct Vista {
            std::string archivo, modo;
            int desde, hasta;
        };
        std::vector<Vista> vistas;
        zvform::ui::MDIFrm::Abridores().muestraReporte = [&](const std::string& a, const std::string& m) {
            vistas.push_back({a, m, Estado::G().gPagDesde, Estado::G().gPagHasta});
            return true;
        };
        frmImpxPag d;
        d.tag = "00000003.PRN";
        d.txtTotPaginas->setText("40");
        d.txtPagDesde->setText("30");
        d.txtPagHasta->setText("50");
        d.cmdAccion_Click(0);
        d.txtPagDesde->setText("2.5");
        d.txtPagHasta->setText("40");
        d.cmdAccion_Click(0);
        QCOMPARE(vistas.size(), std::size_t(2));
        QCOMPARE(vistas[0].archivo, std::string("00000003.PRN"));
        QCOMPARE(vistas[0].modo, std::string("Vprevia"));
        QCOMPARE(vistas[0].desde, 30);
        QCOMPARE(vistas[0].hasta, 50);
        QCOMPARE(vistas[1].desde, 2);
        QCOMPARE(vistas[1].hasta, 40);
    }

    void rangoPreliminarMuestraElRangoYOtroDespues() {
        const std::string nombre = Reporte(40);
        Estado::G().gRangoPaginas = true;  // the caller's part
        zvform::ui::MDIFrm::Abridores().muestraReporte = zvform::ui::MuestraReporte;
        std::vector<std::pair<int, std::string>> vistas;  // pictures and the first heading of each preview
        auto mira = [&](QWidget* w) {
            auto* f = qobject_cast<frmPreview*>(w);
            vistas.emplace_back(f ? f->PaginasContadas() : -1, f ? PrimerTexto(f->Pagina(0)) : "");
            w->close();
        };
        AlAbrirse(nullptr, [&](QWidget* w) {
            auto* d = qobject_cast<frmImpxPag*>(w);
            QVERIFY(d);
            d->txtPagDesde->setText("30");
            d->txtPagHasta->setText("50");
            AlAbrirse(d, mira);
            d->cmdAccion[0]->click();  // returns when the preview is closed
            QVERIFY(d->isVisible());
            d->txtPagDesde->setText("40");
            d->txtPagHasta->setText("40");
            AlAbrirse(d, mira);
            d->cmdAccion[0]->click();
            d->cmdAccion[1]->click();
        });
        zvform::ui::AbreRangoPaginas(nombre, 40);
        QCOMPARE(vistas.size(), std::size_t(2));
        QCOMPARE(vistas[0].first, 11);
        QCOMPARE(vistas[0].second, Encabezado(30));
        QCOMPARE(vistas[1].first, 1);
        QCOMPARE(vistas[1].second, Encabezado(40));
    }

    // ---- The report writers' files on paper ---------------------------------

    void formularioYAnexoImpresos() {
        zvtest::Installation::Options o;
        o.runSetup = true;
        zvtest::Installation instalacion(o);
        QVERIFY(zvform::LeerIni());
        Estado& e = Estado::G();
        e.gRuc = "20555555556";
        e.gRazonSocial = "EMPRESA DE PRUEBA S.A.C.";
        e.gPeriodo = "202301";
        e.gValoresCasilla[28] = "4421234";
        e.gTipoReporte = 2;
        e.gSalida = "ARCHIVO";
        zvtest::LlenaAfiliados(*e.gBase, e.gRuc, e.gPeriodo, 80);
        const std::string nombre = zv::spool::GeneraArchivoSpool(*e.gBase, "F84101", e.gRuc, e.gUsuario);
        e.gRutaArchivo = e.gRutaRpt + nombre;
        QVERIFY(zvform::ImprimeReporte("", "", zvform::OpcionImpresion::DeclaracionYDetalle));
        const int paginas = zvform::PaginasDelReporte();
        QVERIFY(paginas >= 3);

        QVERIFY(zvform::ui::MuestraReporte(nombre, "xx"));
        const fs::path pdf = zvform::ui::ArchivoPdf(e.gRutaRpt + nombre);
        QCOMPARE(PaginasPdf(pdf), paginas);
        QCOMPARE(OrientacionesPdf(pdf), QStringLiteral("V") + QString(paginas - 1, 'H'));
        QString fuentes = Ejecuta("/usr/bin/pdffonts", {QString::fromStdString(pdf.string())});
        QVERIFY2(fuentes.contains("LiberationMono"), qPrintable(fuentes));
        // Texts where the layout puts them (1 point is 20 twips): the form's
        // column heading pPos|300|2540|CONCEPTO and the annex's title.
        Palabra concepto = BuscaPalabra(pdf, "CONCEPTO");
        QCOMPARE(concepto.pagina, 1);
        QVERIFY2(qAbs(concepto.x - 300 / 20.0) < 2 && qAbs(concepto.y - 2540 / 20.0) < 4,
                 qPrintable(QString("%1 %2").arg(concepto.x).arg(concepto.y)));
        Palabra titulo = BuscaPalabra(pdf, "DETALLE", 2);
        QCOMPARE(titulo.pagina, 2);
        QVERIFY2(qAbs(titulo.x - 6451 / 20.0) < 2 && qAbs(titulo.y - 1680 / 20.0) < 4,
                 qPrintable(QString("%1 %2").arg(titulo.x).arg(titulo.y)));
        zvform::Estado::Reset();
    }
};

QTEST_MAIN(PreviewTest)
#include "preview_test.moc"
