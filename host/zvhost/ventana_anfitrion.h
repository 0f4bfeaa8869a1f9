#pragma once
// The host's window: titled "Zarvomat", with a button that starts the
// module's windowed program, zvform, found beside this program.
#include <QWidget>

namespace zvhost {

class VentanaAnfitrion : public QWidget {
    Q_OBJECT
public:
    explicit VentanaAnfitrion(QWidget* parent = nullptr);

    // Starts zvform (detached); false, after a message, when it cannot.
    bool IniciaFormulario();
};

}  // namespace zvhost
