#pragma once
// What the print dialog's tests share: one installation (zvbase --demo and
// zvsetup: the four administrators are declarants of the installing user),
// its declaration tables and SPOOL emptied before each test, declarations
// brought in by the import engine, sent copies inserted as the host writes
// them, and stand-ins for the preview, the printer and the page-range dialog
// that record what they were given.
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/dao/dao.h"
#include "platform/msgbox.h"
#include "tests/support/support.h"

namespace zvimprimir::prueba {

namespace fs = std::filesystem;

// Demo declarants (CONT rows of the installing user).
inline constexpr const char* kRucA = "20142829551";  // PROFUTURO AFP
inline constexpr const char* kRucB = "20157036794";  // AFP INTEGRA S.A.
inline constexpr const char* kRucC = "20143980821";  // AFP HORIZONTE S.A
inline constexpr const char* kPeriodo = "200712";

// One call of a report opener, with the state it found.
struct Llamada {
    std::string que;      // "Vprevia", "xx" (muestraReporte) or "rango" (abrirRangoPaginas)
    std::string archivo;  // the spool file's bare name
    int paginas = 0;      // gTotalPaginas (the range dialog: its argument)
    bool rango = false;   // gRangoPaginas
    std::string periodo, ruc, razonSocial, correl;
    std::string bancoPago, nroCheque, efectivo;
    std::map<int, std::string> casillas;  // the filled elements of gValoresCasilla
    std::vector<std::string> lineas;      // the spool file as it lay then (UTF-8)
};

class Entorno {
public:
    static void CreaInstalacion();
    static void BorraInstalacion();
    static const zvtest::Installation& Instalacion() { return *instalacion_; }

    // Fresh state, configuration read, tables emptied, openers replaced.
    void Inicia();
    void Termina();

    dao::Database& Base();
    fs::path RutaRpt() const;

    // An affiliates file of `afiliados` lines for the RUC and period (YYYYMM),
    // brought in by the import engine as the import form does it. True when
    // the import wrote the declaration.
    bool Importa(const std::string& ruc, const std::string& periodo, int afiliados);
    // The registered declaration copied into HCAB, HDET and HF841DETDES
    // under `correl`, as the host writes a send.
    void Envia(const std::string& ruc, const std::string& periodo, const std::string& correl,
               const dao::Date& fechaEnvio);
    void Ejecuta(const std::string& sql, const std::vector<dao::Value>& params = {});
    std::string Texto(const std::string& sql, const std::vector<dao::Value>& params = {});

    // The file's lines (Windows-1252 with CR LF) as UTF-8.
    static std::vector<std::string> Lineas(const fs::path& archivo);
    static bool Contiene(const std::vector<std::string>& lineas, const std::string& texto);
    std::vector<std::string> TextosMostrados() const;

    std::vector<Llamada> llamadas;
    bool respuestaImpresion = true;          // what the printer stand-in answers
    std::function<void()> alMostrar;         // runs inside the preview stand-in
    zv::ScriptedMessages mensajes;

private:
    void RegistraAbridores();
    Llamada Registra(const std::string& que, const std::string& archivo, int paginas);

    static std::unique_ptr<zvtest::Installation> instalacion_;
    std::unique_ptr<zvtest::TempDir> origen_;
};

}  // namespace zvimprimir::prueba
