#pragma once
// frmImpxPag: the first and last page of a report longer than 15 pages, and
// the preview of that range. The caller sets the caption, txtTotPaginas,
// txtPagHasta and the tag (the spool file's name) and shows it modally; the
// dialog stays open after each preview, for another range.
#include <QDialog>
#include <string>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zvform::ui {

class frmImpxPag : public QDialog {
    Q_OBJECT
public:
    explicit frmImpxPag(QWidget* parent = nullptr);

    std::string tag;  // the spool file's bare name

    // 0 "&Preliminar", 1 "&Cancelar".
    void cmdAccion_Click(int indice);

    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtPagDesde = nullptr;
    QLineEdit* txtPagHasta = nullptr;
    QLineEdit* txtTotPaginas = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QPushButton* cmdAccion[2] = {nullptr, nullptr};

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;

private:
    void Form_Load();
    // The total sits in the gap of Text1's first line.
    void UbicaTotal();
};

// The dialog over the spool file `archivo` of `paginas` pages, shown modally.
void AbreRangoPaginas(const std::string& archivo, int paginas);

}  // namespace zvform::ui
