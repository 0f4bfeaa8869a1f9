#pragma once
// The family's status bar: four texts (document number, name, period and
// form code). The lists, the print dialog and the declaration form write
// them on the main window's bar, reached through Principal().
#include <QLabel>
#include <QStatusBar>
#include <QString>

namespace zvform::ui {

class BarradeEstadoZarvo : public QStatusBar {
    Q_OBJECT
public:
    explicit BarradeEstadoZarvo(QWidget* parent = nullptr);
    ~BarradeEstadoZarvo() override;

    void SetNumeroDocumento(const QString& texto) { numeroDocumento_->setText(texto); }
    void SetNombre(const QString& texto) { nombre_->setText(texto); }
    void SetPeriodo(const QString& texto) { periodo_->setText(texto); }
    void SetFormulario(const QString& texto) { formulario_->setText(texto); }
    QString NumeroDocumento() const { return numeroDocumento_->text(); }
    QString Nombre() const { return nombre_->text(); }
    QString Periodo() const { return periodo_->text(); }
    QString Formulario() const { return formulario_->text(); }
    // All four texts at once ("" clears a panel).
    void Muestra(const QString& documento, const QString& nombre, const QString& periodo,
                 const QString& formulario);

    // The control's first property: 1 frames the four panels, 0 shows bare texts.
    void SetEstilo(int estilo);
    int Estilo() const { return estilo_; }

    // The bar of the main window; nullptr while there is none.
    static BarradeEstadoZarvo* Principal();
    static void SetPrincipal(BarradeEstadoZarvo* barra);

private:
    QLabel* Panel(int anchoMinimo, int estirar);

    QLabel* numeroDocumento_;
    QLabel* nombre_;
    QLabel* periodo_;
    QLabel* formulario_;
    int estilo_ = 0;
};

}  // namespace zvform::ui
