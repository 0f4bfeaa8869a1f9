#pragma once
// frmPreview "Presentación Preliminar": reads a spool file of the report
// folder into page pictures and shows them one at a time, or prints it.
//
// On the preview road the caller sets sRut, calls Form_Load (which reads the
// file with the hourglass and shows the first page) and shows the window
// modally. On the direct-print road the caller calls pDesencripta with any
// mode but "PresPrevia" and never shows the window.
//
// A page picture (picPrevia_N) is the page's list of drawing records, drawn
// whenever it is painted; its widget is made the first time the page is shown.
#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "formulario/reports/paginas_previas.h"

class QAction;
class QFrame;
class QPrinter;
class QScrollBar;
class QToolBar;

namespace zvform::ui {

class ImagenPagina;

class frmPreview : public QDialog {
    Q_OBJECT
public:
    explicit frmPreview(QWidget* parent = nullptr);
    ~frmPreview() override;

    std::string sRut;     // the spool file's bare name, under gRutaRpt
    int iNroHoja = 0;     // the page picture shown (0-based)
    std::string sObject;  // "PresPrevia" draws on the pictures, "IMPRIMIR" on the printer

    // The load handler: reads sRut into the pictures and shows the first.
    // False when the file was not there (after the message; the window then
    // shows an empty page).
    bool Form_Load();

    // Reads gRutaRpt + sNombreArchivo: into the page pictures with
    // "PresPrevia" while sObject is "PresPrevia", else to the printer (every
    // page, or those of the range in force). False after telling the user
    // why not: a missing file, a printer that failed.
    bool pDesencripta(const std::string& sNombreArchivo, const std::string& sTipo);

    // 0 the first page, -1 the next, -2 the previous; the vertical bars go to 0.
    void pMostrar(int Nrohoja);

    // 2 "Pag Anterior", 3 "Pag Sgt", 4 "Imprimir", 5 "Salir".
    void tlbPrevia_ButtonClick(int indice);
    void vsbPic_Change(int indice);
    void HScroll1_Change();

    // The page count: the pictures the preview read made.
    int PaginasContadas() const { return static_cast<int>(paginas_.size()); }
    const PaginaPrevia& Pagina(int indice) const { return paginas_.at(static_cast<std::size_t>(indice)); }
    // The page picture's widget, made on first use.
    QWidget* picPrevia(int indice);
    QToolBar* tlbPrevia() const { return tlbPrevia_; }
    QScrollBar* vsbPic(int indice) const { return vsbPic_[indice]; }
    QScrollBar* HScroll1() const { return HScroll1_; }
    // The printer of the last print (nullptr before one).
    QPrinter* Impresora() const { return impresora_.get(); }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void CreaToolbar();
    bool LeePrevia(const std::string& ruta);
    // The printer road: true only when at least one sheet was printed; a
    // missing file, a printer failure or nothing to print is told here.
    bool Imprime(const std::string& ruta);
    void MuestraSolo(int indice);
    // The picture shown (iNroHoja's), nullptr before the first is shown.
    QWidget* Mostrada() const;
    void AjustaBarras();

    std::vector<PaginaPrevia> paginas_;
    std::vector<ImagenPagina*> imagenes_;  // by picture; nullptr until shown
    int mostrada_ = -1;
    std::unique_ptr<QPrinter> impresora_;
    QToolBar* tlbPrevia_ = nullptr;
    QFrame* picFondo_ = nullptr;
    QScrollBar* vsbPic_[2] = {nullptr, nullptr};
    QScrollBar* HScroll1_ = nullptr;
};

}  // namespace zvform::ui
