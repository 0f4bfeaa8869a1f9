#pragma once
// A recordset of one row held in memory, for computations over "the
// current row" that need no database.
#include <stdexcept>
#include <vector>

#include "platform/dao/dao.h"

namespace zvtest {

class FilaFija : public dao::Recordset {
public:
    explicit FilaFija(std::vector<dao::Value> valores) : valores_(std::move(valores)) {
        for (std::size_t i = 0; i < valores_.size(); ++i) {
            dao::Field f;
            f.name_ = "c" + std::to_string(i);
            defs_.push_back(f);
        }
    }
    bool BOF() const override { return false; }
    bool EOF_() const override { return false; }
    void MoveFirst() override {}
    void MoveLast() override {}
    void MoveNext() override {}
    long RecordCount() const override { return 1; }
    long AbsolutePosition() const override { return 0; }
    const std::vector<dao::Field>& FieldDefs() const override { return defs_; }
    int FieldCount() const override { return static_cast<int>(valores_.size()); }
    const dao::Value& Fields(std::string_view) const override { throw std::logic_error("by position only"); }
    const dao::Value& Fields(int i) const override { return valores_.at(i); }
    void AddNew() override {}
    void Edit() override {}
    void SetField(std::string_view, const dao::Value&) override {}
    void SetField(int i, const dao::Value& v) override { valores_.at(i) = v; }
    void Update() override {}
    void CancelUpdate() override {}
    void Delete() override {}
    void Close() override {}

private:
    std::vector<dao::Value> valores_;
    std::vector<dao::Field> defs_;
};

}  // namespace zvtest
