#include "formulario/reports/ui/impresora.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include "formulario/core/estado.h"

namespace zvform::ui {

std::function<bool()>& HayImpresora() {
    static std::function<bool()> hay = [] { return !QPrinterInfo::availablePrinters().isEmpty(); };
    return hay;
}

std::filesystem::path ArchivoPdf(const std::filesystem::path& spool) {
    std::filesystem::path pdf = spool;
    return pdf.replace_extension(".pdf");
}

std::string AvisoImpreso(const std::string& mensaje, const std::string& archivo) {
    if (HayImpresora()()) return mensaje;
    return mensaje + "\n\nNo hay impresora: el reporte se guardó en el archivo PDF " +
           ArchivoPdf(Estado::G().gRutaRpt + archivo).string();
}

std::unique_ptr<QPrinter> NuevaImpresora(const std::filesystem::path& spool) {
    auto impresora = std::make_unique<QPrinter>(QPrinter::HighResolution);
    impresora->setDocName(QString::fromStdString(spool.filename().string()));
    if (HayImpresora()()) return impresora;
    impresora->setOutputFormat(QPrinter::PdfFormat);
    impresora->setOutputFileName(QString::fromStdString(ArchivoPdf(spool).string()));
    impresora->setPageSize(QPageSize(QPageSize::A4));
    impresora->setFullPage(true);
    impresora->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    return impresora;
}

ImpresoraQt::ImpresoraQt(QPrinter& impresora) : impresora_(impresora) {}

ImpresoraQt::~ImpresoraQt() { FinDocumento(); }

void ImpresoraQt::Orientacion(int orientacion) {
    // While a document is open this applies to the pages begun from now on.
    impresora_.setPageOrientation(orientacion == kHorizontal ? QPageLayout::Landscape : QPageLayout::Portrait);
}

bool ImpresoraQt::Empieza() {
    if (painter_.isActive()) return true;
    if (!painter_.begin(&impresora_)) return false;
    dibujo_.emplace(painter_, impresora_.logicalDpiX(), impresora_.logicalDpiY());
    return true;
}

bool ImpresoraQt::NuevaPagina() { return Empieza() && impresora_.newPage(); }

bool ImpresoraQt::Dibuja(const Trazo& trazo, std::string_view texto) {
    if (!Empieza()) return false;
    dibujo_->Dibuja(trazo, texto);
    return true;
}

void ImpresoraQt::FinDocumento() {
    dibujo_.reset();
    if (painter_.isActive()) painter_.end();
}

}  // namespace zvform::ui
