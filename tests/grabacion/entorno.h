#pragma once
// What the tests of the declaration form's buttons share: the installation
// of the form's tests (zvbase + zvsetup, one declaration brought in by the
// import engine, its sent copy made as the host makes it); the form's data
// as the form holds them after opening that declaration; a scripted gate;
// and the stored rows read back with their digests.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "formulario/core/utilitarios.h"
#include "formulario/declaration/frm841_datos.h"
#include "platform/dao/dao.h"
#include "platform/msgbox.h"
#include "tests/declaration/entorno.h"
#include "tests/support/support.h"

namespace zvdecl::prueba {

namespace fs = std::filesystem;

// The control code of the sent copy that Entorno::Envia writes.
inline constexpr const char* kControl = "ABCD1234";

// The gate of the utility object, answering from a list (true once empty).
class PuertaGuionada : public zvform::cUtilitarios {
public:
    bool PuedeContinuar() override;
    std::vector<bool> respuestas;
    int preguntas = 0;
};

// A stored row: column name (lower case) -> text of the value.
using Fila = std::map<std::string, std::string>;

class GrabacionTest : public testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // The form after opening the imported declaration from the list of
    // registered declarations: boxes as loaded, cash not chosen yet.
    DatosFrm841 DatosAbiertos() const;

    dao::Database& Base();
    // Every row of a query, columns by lower-case name ("<null>" for Null).
    std::vector<Fila> Filas(const std::string& sql, const std::vector<dao::Value>& params = {});
    Fila Cabecera();                               // the CAB row of the declaration
    std::map<std::string, std::string> Casillas();  // DET: casilla -> i_valor
    // The digest of each row of a query as the record digest's routine
    // gives it over the row as stored (its own tests work examples out by
    // hand), next to the digest stored in the row: a save must store the
    // digest of the row it leaves.
    std::vector<std::pair<std::string, std::string>> Digestos(const std::string& sql, int desde,
                                                                const std::vector<dao::Value>& params = {});
    std::vector<std::string> TextosMostrados() const;
    fs::path Mens() const;

    static std::unique_ptr<Entorno> entorno_;
    zv::ScriptedMessages& mensajes_{entorno_->mensajes};
    std::shared_ptr<PuertaGuionada> puerta_;
    int visorMostrado_ = 0;
};

// The two check characters of an order number, computed here.
std::string DigitosDeOrden(const std::string& control, const std::string& orden);

}  // namespace zvdecl::prueba
