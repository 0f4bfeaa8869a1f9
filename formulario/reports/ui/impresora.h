#pragma once
// The printer the reports go to: the system's default printer, or, on a
// machine without one, a PDF file beside the spool file in the report folder
// (RPT/NNNNNNNN.pdf for RPT/NNNNNNNN.PRN).
#include <QPainter>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "formulario/reports/impresion_spool.h"
#include "formulario/reports/ui/dibujo_spool.h"

class QPrinter;

namespace zvform::ui {

// Whether the machine has a printer (tests make it answer false).
std::function<bool()>& HayImpresora();

// The PDF file a spool file prints to when there is no printer.
std::filesystem::path ArchivoPdf(const std::filesystem::path& spool);

// The message that tells a printout went through: `mensaje` as it is, and
// on a machine without a printer, where the PDF file of the spool file
// `archivo` (its bare name, under gRutaRpt) was written.
std::string AvisoImpreso(const std::string& mensaje, const std::string& archivo);

// A printer for the spool file: the default printer, its page origin at the
// printable area as the writers expect of a printer; or the PDF file, A4,
// its origin at the paper's corner.
std::unique_ptr<QPrinter> NuevaImpresora(const std::filesystem::path& spool);

// The printer road's printer on a QPrinter: the document begins with the
// first record drawn, so that the orientation tags before it apply.
class ImpresoraQt : public ImpresoraSpool {
public:
    explicit ImpresoraQt(QPrinter& impresora);
    ~ImpresoraQt() override;

    void Orientacion(int orientacion) override;
    bool NuevaPagina() override;
    bool Dibuja(const Trazo& trazo, std::string_view texto) override;
    void FinDocumento() override;

private:
    bool Empieza();

    QPrinter& impresora_;
    QPainter painter_;
    std::optional<DibujoSpool> dibujo_;
};

}  // namespace zvform::ui
