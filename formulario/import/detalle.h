#pragma once
// The table F841DETDES as the transfer uses it, line after line: the
// duplicate test on the table's key and the insert of a row, each one
// statement prepared once per transfer with its values bound. A failure is
// reported with the database layer's own error (the statement is run once
// more through it), so that the transfer sees the engine's numbers. The
// rows go through the layer's RowInserter, which checks the column rules
// itself rather than running the table's triggers for every row.
//
// Inside a transaction the table changes only by what this connection
// writes: when the table held no row of the declarant and period as the
// transfer began, a key is looked up only when a hash of it is among those
// of the rows written since (a key no row was written with cannot be there).
#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/dao/dao.h"
#include "platform/dao/row_inserter.h"

namespace zvimport {

class TablaDetalle {
public:
    explicit TablaDetalle(dao::Database& base);
    ~TablaDetalle();
    TablaDetalle(const TablaDetalle&) = delete;
    TablaDetalle& operator=(const TablaDetalle&) = delete;

    // The table's columns in their order (that of "SELECT *").
    const std::vector<dao::Field>& Columnas() const { return inserta_.Columns(); }

    // Rows with these values of doc_id_d, periodo, Num_RUCEmpl,
    // Tip_Doctrab, Num_Doctrab and Mes_deveng.
    long Cuenta(const std::vector<dao::Value>& clave);

    // Adds a row; `fila` holds a value for every column, in column order.
    void Inserta(const std::vector<dao::Value>& fila);

    // The statement of the duplicate test, with its "?" for the six values.
    static const char* const kSqlCuenta;

    // The statement that tells whether the declarant and period have rows.
    static const char* const kSqlDeclaracion;

private:
    static constexpr int kCamposClave = 6;
    void Prepara(const std::string& sql, sqlite3_stmt** stmt);
    void Enlaza(sqlite3_stmt* stmt, const std::vector<dao::Value>& valores);
    bool SoloEscritas(const std::vector<dao::Value>& clave);
    bool EmpiezaSinFilas(const std::vector<dao::Value>& clave);
    template <class Valor>
    static bool Huella(const Valor& valorDe, std::uint64_t& huella);

    dao::Database& base_;
    dao::RowInserter inserta_;
    sqlite3_stmt* cuenta_ = nullptr;
    sqlite3_stmt* declaracion_ = nullptr;
    std::vector<std::string> textos_;  // texts bound by reference until the step
    std::array<int, kCamposClave> columnaClave_{};  // the key's columns in a row
    // The lookup from the rows written: the declarant and period it holds
    // for, the connection's change count after the last row, their hashes.
    bool revisada_ = false, soloEscritas_ = false;
    std::string docId_, periodo_;
    long long cambios_ = 0;
    std::unordered_set<std::uint64_t> escritas_;
};

}  // namespace zvimport
