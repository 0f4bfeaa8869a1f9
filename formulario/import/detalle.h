#pragma once
// The table F841DETDES as the transfer uses it, line after line: the
// duplicate test on the table's key and the insert of a row, through the
// database layer's KeyLookup and RowInserter (each one statement prepared
// once per transfer, its values bound in place, its failures the layer's
// own errors).
#include <string>
#include <vector>

#include "platform/dao/dao.h"
#include "platform/dao/key_lookup.h"
#include "platform/dao/row_inserter.h"

namespace zvimport {

class TablaDetalle {
public:
    explicit TablaDetalle(dao::Database& base);
    TablaDetalle(const TablaDetalle&) = delete;
    TablaDetalle& operator=(const TablaDetalle&) = delete;

    // The table's columns in their order (that of "SELECT *").
    const std::vector<dao::Field>& Columnas() const { return inserta_.Columns(); }

    // Rows with these values of doc_id_d, periodo, Num_RUCEmpl,
    // Tip_Doctrab, Num_Doctrab and Mes_deveng.
    long Cuenta(const std::vector<dao::Value>& clave) { return cuenta_.Count(clave); }

    // Adds a row; `fila` holds a value for every column, in column order.
    void Inserta(const std::vector<dao::Value>& fila) { cuenta_.Insert(fila); }

    // The statement of the duplicate test, with its "?" for the six values.
    static const char* const kSqlCuenta;

private:
    dao::RowInserter inserta_;
    dao::KeyLookup cuenta_;
};

}  // namespace zvimport
