#pragma once
// The one kind of recordset: a prepared statement stepped as the caller
// moves, so that reading forward holds one row at a time. MoveFirst runs the
// statement again, MoveLast steps to its end; a set opened for update also
// reads each row's rowid so that Edit and Delete can name the row.
#include <unordered_map>

#include "platform/dao/internal.h"

namespace dao {

class SqlRecordset final : public Recordset {
public:
    static std::unique_ptr<Recordset> Open(Database::Impl& d, std::string_view sqlOrTable, int type,
                                           const std::vector<Value>& params);
    ~SqlRecordset() override;
    void Detach() { Close(); }  // the database is closing

    bool BOF() const override;
    bool EOF_() const override;
    void MoveFirst() override;
    void MoveLast() override;
    void MoveNext() override;
    long RecordCount() const override;
    long AbsolutePosition() const override;
    const std::vector<Field>& FieldDefs() const override { return defs_; }
    int FieldCount() const override { return static_cast<int>(defs_.size()); }
    const Value& Fields(std::string_view name) const override;
    const Value& Fields(int index) const override;
    void AddNew() override;
    void Edit() override;
    void SetField(std::string_view name, const Value& v) override;
    void SetField(int index, const Value& v) override;
    void Update() override;
    void CancelUpdate() override;
    void Delete() override;
    void Close() override;

private:
    enum class Mode { None, Adding, Editing };
    SqlRecordset(Database::Impl& d, int type) : d_(&d), type_(type) {}
    void Prepare(const std::string& sql, bool withRowid, const std::vector<Value>& params);
    void DescribeColumns();
    bool Step();  // true on a row
    void LoadRow();
    void Restart();
    void RestartAtFirstRow();
    Database::Impl& Db() const;
    int IndexOf(std::string_view name) const;
    void RequireUpdatable() const;
    void RequireCurrentRow() const;
    std::vector<Value> DefaultRow();

    Database::Impl* d_;
    int type_;
    std::string sql_;
    sqlite3_stmt* stmt_ = nullptr;
    int firstColumn_ = 0;  // 1 when the rowid leads the columns
    std::string table_;    // the table rows are written to; empty when not updatable
    std::string sourceTable_;  // the table of a table-type set
    std::vector<Field> defs_;
    std::vector<bool> declared_;
    std::vector<bool> updatable_;
    std::unordered_map<std::string, int> byName_;

    std::vector<Value> row_;
    std::int64_t rowid_ = 0;
    long index_ = -1;   // 0-based position of the current row
    long visited_ = 0;  // rows reached so far
    long total_ = -1;   // all rows, once the end was reached
    long added_ = 0;    // rows added (less rows deleted) through this set
    bool empty_ = true;
    bool eof_ = true;
    bool exhausted_ = false;  // the statement has returned its last row
    bool deleted_ = false;
    Mode mode_ = Mode::None;
    std::vector<Value> buffer_;
    std::vector<bool> dirty_;
    std::vector<Value> defaults_;
    bool defaultsLoaded_ = false;
};

}  // namespace dao
