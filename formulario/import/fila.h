#pragma once
// One row held in memory, seen as a recordset positioned on it: what the
// record digest reads when a row is written by a prepared statement rather
// than through a recordset.
#include <vector>

#include "platform/dao/dao.h"

namespace zvimport {

class FilaEnMemoria : public dao::Recordset {
public:
    explicit FilaEnMemoria(std::vector<dao::Field> columnas);

    // The row's values, in column order.
    std::vector<dao::Value> valores;

    bool BOF() const override { return false; }
    bool EOF_() const override { return false; }
    void MoveFirst() override {}
    void MoveLast() override {}
    void MoveNext() override;
    long RecordCount() const override { return 1; }
    long AbsolutePosition() const override { return 0; }
    const std::vector<dao::Field>& FieldDefs() const override { return columnas_; }
    int FieldCount() const override { return static_cast<int>(columnas_.size()); }
    const dao::Value& Fields(std::string_view name) const override;
    const dao::Value& Fields(int index) const override;
    void AddNew() override;
    void Edit() override {}
    void SetField(std::string_view name, const dao::Value& v) override;
    void SetField(int index, const dao::Value& v) override;
    void Update() override {}
    void CancelUpdate() override {}
    void Delete() override;
    void Close() override {}

    int Indice(std::string_view name) const;  // ignoring case; -1 when absent

private:
    std::vector<dao::Field> columnas_;
};

}  // namespace zvimport
