#pragma once
// What the declaration form's tests share: one installation (zvbase +
// zvsetup) opened as zvform opens it, a declaration brought in by the
// import engine from tests/import/data/limpio.txt, and small helpers to
// change its stored rows and to make its sent copy as the host does.
#include <memory>
#include <string>
#include <vector>

#include "platform/dao/dao.h"
#include "platform/msgbox.h"
#include "tests/support/support.h"

namespace zvdecl::prueba {

inline constexpr const char* kRuc = "20555555556";
inline constexpr const char* kRazon = "AFP DE PRUEBA";
inline constexpr const char* kPeriodo = "202301";

class Entorno {
public:
    Entorno();
    ~Entorno();

    // Each case: a fresh state object, the scripted message service, the
    // module's tables emptied and the declaration imported again.
    void Reinicia();
    // The state a list sets before it opens the declaration (mode 1).
    void AbreDesdeLista(bool enviada, const std::string& correl = "");

    dao::Database& Base();
    void Ejecuta(const std::string& sql, const std::vector<dao::Value>& params = {});
    // The imported declaration replaced by the import of these lines of an
    // affiliates file (CR LF added); `filas` is how many it must write.
    void ImportaLineas(const std::vector<std::string>& lineas, long filas);
    // Writes (or replaces) one DET box of the imported declaration.
    void Casilla(const std::string& casilla, const std::string& valor);
    // The sent copy of the imported declaration under `correl`, as the host
    // writes it: HCAB with `norden` (Null when empty), HDET and HF841DETDES.
    void Envia(const std::string& correl, const std::string& norden);

    zv::ScriptedMessages mensajes;
    std::vector<std::string> Textos() const;

private:
    void Importa(const std::string& carpeta, long filas);
    std::unique_ptr<zvtest::Installation> instalacion_;
    zvtest::TempDir dir_;
};

}  // namespace zvdecl::prueba
