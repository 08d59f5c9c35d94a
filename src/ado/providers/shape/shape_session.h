// A session of the shape provider: SHAPE commands build hierarchies from the data session's
// rows; everything else is the data session's.
#pragma once

#include <memory>

#include "ado/provider.h"

namespace ado::shape {

class ShapeSession : public provider::Session {
public:
    // `data` is null for "Data Provider=none": no statement can then be run.
    explicit ShapeSession(std::unique_ptr<provider::Session> data) : data_(std::move(data)) {}

    bool ExecuteHierarchy(const provider::Statement& statement, persist::RowsetFile& hierarchy) override;
    int64_t Execute(const provider::Statement& statement, cursor::RowStore& rows) override;
    std::unique_ptr<provider::PreparedStatement> Prepare(const provider::Statement& statement) override;
    std::vector<provider::ParameterInfo> DescribeParameters(const provider::Statement& statement) override;
    int32_t BeginTrans() override { return Data().BeginTrans(); }
    void CommitTrans() override { Data().CommitTrans(); }
    void RollbackTrans() override { Data().RollbackTrans(); }
    int32_t TransactionLevel() const override { return data_ ? data_->TransactionLevel() : 0; }
    int64_t Write(const cursor::RowWrite& write, std::vector<Variant>* readBack) override {
        return Data().Write(write, readBack);
    }
    void WriteRows(std::span<const cursor::RowWrite> writes, std::vector<WriteOutcome>& outcomes) override {
        Data().WriteRows(writes, outcomes);
    }
    uint64_t Lock(const cursor::RowWrite& row) override { return Data().Lock(row); }
    int64_t WriteLocked(uint64_t lock, const cursor::RowWrite& write, std::vector<Variant>* readBack) override {
        return Data().WriteLocked(lock, write, readBack);
    }
    void Unlock(uint64_t lock) override { Data().Unlock(lock); }
    void PropertyWritten(std::string_view name, const Variant& value) override {
        if (data_) data_->PropertyWritten(name, value);
    }
    std::vector<std::pair<std::string, Variant>> DynamicProperties() const override {
        return data_ ? data_->DynamicProperties() : std::vector<std::pair<std::string, Variant>>{};
    }

private:
    provider::Session& Data();

    std::unique_ptr<provider::Session> data_;
};

}  // namespace ado::shape
