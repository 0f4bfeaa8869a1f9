#pragma once
// The masked period box "##/####" read as the old masked edit reads: its
// text keeps the mask's "_" and "/" ("__/____" when empty, "0_/____" while
// incomplete, "01/2008" when complete), where QLineEdit::text() would drop
// the blanks and answer "/" for an empty box.
#include <QLineEdit>
#include <string>

namespace zvdecl::ui {

class CajaPeriodo : public QLineEdit {
    Q_OBJECT
public:
    explicit CajaPeriodo(QWidget* parent = nullptr);

    // The text as the form reads it, mask characters included.
    std::string Texto() const;
    // Puts "MM/YYYY" or "MMYYYY" into the box.
    void FijaTexto(const std::string& texto);
    // True while some position still holds "_".
    bool Incompleto() const;
};

}  // namespace zvdecl::ui
