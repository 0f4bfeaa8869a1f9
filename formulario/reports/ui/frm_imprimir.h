#pragma once
// frmImprimir: the print dialog. It lists the registered (or, with
// gEsEnviada, the sent) declarations the user may see, and writes the
// chosen report of the selected one into a new spool file, which it then
// previews ("&Preliminar", through the page-range dialog above 15 pages) or
// prints at once ("&Imprimir"). Reports are shown and printed only through
// the main window's registry of openers.
#include <QAbstractTableModel>
#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "formulario/reports/corrida.h"
#include "formulario/reports/imprimir.h"

class QGroupBox;
class QPushButton;
class QRadioButton;
class QTableView;

namespace zvform::ui {

// The list of declarations as the grid shows it (dtaDecRegis).
class ModeloImprimir : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModeloImprimir(QObject* parent = nullptr);

    // Runs the declarations query again.
    void Refresca();
    const DeclaracionImpresion& Fila(int fila) const { return filas_.at(static_cast<std::size_t>(fila)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;

private:
    std::vector<DeclaracionImpresion> filas_;
};

class frmImprimir : public QDialog {
    Q_OBJECT
public:
    // Loads the list (a database error reaches the caller).
    explicit frmImprimir(QWidget* parent = nullptr);
    ~frmImprimir() override;

    // The box values and payment data of the selected declaration.
    void CargarCasillas();
    void BorraArray();

    // The report chosen in OptImp.
    OpcionImpresion Opcion() const;
    // The grid's current row, -1 when there is none.
    int FilaActual() const;

    QTableView* grdImprimir() const { return grdImprimir_; }
    ModeloImprimir* dtaDecRegis() const { return dtaDecRegis_; }

public slots:
    void CmdImprimir_Click(int indice);  // 0 "&Preliminar", 1 "&Imprimir", 2 "&Salir"

protected:
    bool event(QEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void CreaControles();
    void Form_Load();
    void Form_Activate();
    void Preliminar();
    void Imprimir();
    // Steps shared by both buttons: the regional check, the selected row and
    // its report written. False when nothing is to be shown or printed.
    bool EscribeReporte(int& fila, CorridaImpresion& corrida);
    // The grid back on the row of `fila` once the opened windows are gone.
    void RestauraFila(int fila);
    void IrAFila(int fila);
    void MuestraEnBarra();

    QGroupBox* Frame1_ = nullptr;
    QGroupBox* Frame2_ = nullptr;
    std::array<QRadioButton*, 3> OptImp_{};
    std::array<QPushButton*, 3> CmdImprimir_{};
    QTableView* grdImprimir_ = nullptr;
    ModeloImprimir* dtaDecRegis_ = nullptr;
};

// Shows a new print dialog modally over `parent`; it is discarded when closed.
void MuestraImprimir(QWidget* parent);

}  // namespace zvform::ui
