#pragma once
// What the list tests share: an installation (zvbase + zvsetup) opened the
// way zvform opens it; declarants in CONT; registered declarations brought
// in by the import engine from affiliates files; sent ones copied into
// HCAB, HDET and HF841DETDES under a correlative, as the host writes them;
// scripted message boxes and the main window's status bar.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "formulario/core/ui/barra_estado.h"
#include "platform/dao/dao.h"
#include "platform/msgbox.h"
#include "tests/support/support.h"

namespace zvlistas::prueba {

namespace fs = std::filesystem;

// The pension fund administrators the installer registers (PARAM '782').
struct Declarante {
    const char* ruc;
    const char* nombre;
};
inline constexpr Declarante kProfuturo{"20142829551", "PROFUTURO AFP"};
inline constexpr Declarante kIntegra{"20157036794", "AFP INTEGRA S.A."};
inline constexpr Declarante kHorizonte{"20143980821", "AFP HORIZONTE S.A"};
inline constexpr Declarante kPrima{"20510398158", "PRIMA AFP S.A."};

// The installing user, and another one.
inline constexpr const char* kUsuario = "tester";
inline constexpr const char* kOtroUsuario = "otro";

// A send of a registered declaration.
struct Envio {
    std::string correl;
    std::string norden;
    std::string control;
    dao::Date fecha{2024, 3, 5};
};

class Entorno {
public:
    // Once per test program: the installation, opened as zvform opens it.
    void Inicia();
    void Termina();
    // Before each case: no declarant, no declaration, the user of type "0",
    // the status bar empty, the message boxes scripted.
    void Limpia();
    void Suelta();

    dao::Database& Base();
    void TipoDeUsuario(const std::string& tipo);  // "" removes the user's CLAVES row
    void AgregaDeclarante(const Declarante& d, const std::string& usuario = kUsuario);
    // Imports a two-line affiliates file for the declarant and period (YYYYMM).
    void Importa(const Declarante& d, const std::string& periodo);
    // Copies the registered declaration into the sent tables.
    void Envia(const Declarante& d, const std::string& periodo, const Envio& envio);

    // Rows of one declaration in a table (with the correlative for a sent table).
    long Filas(const std::string& tabla, const std::string& ruc, const std::string& periodo,
               const std::string& correl = "");
    long Filas(const std::string& tabla);
    std::string Texto(const std::string& sql, const std::vector<dao::Value>& params = {});

    zv::ScriptedMessages mensajes;
    std::unique_ptr<zvform::ui::BarradeEstadoZarvo> barra;

private:
    std::unique_ptr<zvtest::Installation> instalacion_;
    std::unique_ptr<zvtest::TempDir> dir_;
};

}  // namespace zvlistas::prueba
