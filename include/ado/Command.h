// ado::Command, ado::Parameter and ado::Parameters: statements run with parameters,
// stored queries, and prepared statements kept for reuse.
//
// For Access SQL, Refresh discovers the parameters a PARAMETERS declaration names (as
// declared, brackets included when written with them) and otherwise the named references
// of the text in order. Values bind by name where the text names its parameters and by
// position otherwise.
//
// Ownership: a command lives in a CommandPtr made by Create and holds its ActiveConnection
// alive. Threads: it is used with its connection, on one thread at a time. Errors: failures
// are thrown as ado::Error; a failing run names its statement and also lands in the
// connection's Errors.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ado/Connection.h"
#include "ado/Enums.h"
#include "ado/Variant.h"

namespace ado {

namespace provider {
class Session;
class PreparedStatement;
}  // namespace provider
namespace cursor {
class RowStore;
}  // namespace cursor

class Parameter {
public:
    Parameter(std::string name = {}, DataTypeEnum type = adEmpty, ParameterDirectionEnum direction = adParamInput,
              int32_t size = 0, Variant value = Variant())
        : name_(std::move(name)), type_(type), direction_(direction), size_(size), value_(std::move(value)) {}

    const std::string& Name() const { return name_; }
    void Name(std::string_view name) { name_ = name; }
    const Variant& Value() const { return value_; }
    void Value(const Variant& v) { value_ = v; }
    DataTypeEnum Type() const { return type_; }
    void Type(DataTypeEnum t) { type_ = t; }
    ParameterDirectionEnum Direction() const { return direction_; }
    void Direction(ParameterDirectionEnum d) { direction_ = d; }
    int32_t Size() const { return size_; }
    void Size(int32_t s) { size_ = s; }

private:
    std::string name_;
    DataTypeEnum type_;
    ParameterDirectionEnum direction_;
    int32_t size_;
    Variant value_;
};

using ParameterPtr = std::shared_ptr<Parameter>;
class Command;
using CommandPtr = std::shared_ptr<Command>;

// As ADO does, reading the collection of a command whose parameters the client has neither
// appended nor refreshed first asks the provider for them (Refresh), when the command has an
// open connection and a text; a failure of that description is raised by the read.
class Parameters {
public:
    int32_t Count() const {
        Describe();
        return static_cast<int32_t>(items_.size());
    }
    // By 0-based index, or by name without regard to case (brackets optional); 3265 when missing.
    ParameterPtr Item(int32_t index) const;
    ParameterPtr Item(std::string_view name) const;
    int32_t IndexOf(std::string_view name) const;
    void Append(ParameterPtr p);
    void Delete(int32_t index);
    void Delete(std::string_view name);
    // Asks the provider which parameters the command's text declares.
    void Refresh();

    auto begin() const {
        Describe();
        return items_.begin();
    }
    auto end() const {
        Describe();
        return items_.end();
    }

private:
    friend class Command;
    // The implicit Refresh of the first read.
    void Describe() const {
        if (!described_) DescribeNow();
    }
    void DescribeNow() const;
    int32_t Find(std::string_view name) const;  // IndexOf without the implicit Refresh
    Command* owner_ = nullptr;
    std::vector<ParameterPtr> items_;
    // Appended, refreshed, or described since the command's text, type or connection changed.
    mutable bool described_ = false;
};

class Command : public std::enable_shared_from_this<Command> {
    struct Passkey {
        explicit Passkey() = default;
    };

public:
    // Made only by Create: a command is always held by a CommandPtr.
    explicit Command(Passkey);
    ~Command();
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;
    static CommandPtr Create() { return std::make_shared<Command>(Passkey{}); }

    // Changing the connection, text, type or Prepared drops the compiled statement.
    ConnectionPtr ActiveConnection() const { return connection_; }
    void ActiveConnection(const ConnectionPtr& c);
    const std::string& CommandText() const { return text_; }
    void CommandText(std::string_view text);
    CommandTypeEnum CommandType() const { return type_; }
    void CommandType(CommandTypeEnum type);
    const std::string& Name() const { return name_; }
    void Name(std::string_view name) { name_ = name; }
    // A prepared command is compiled by its provider on its first run and run again from
    // that compiled form, until the connection closes or the provider reopens the file.
    bool Prepared() const { return prepared_; }
    void Prepared(bool prepared);
    int32_t CommandTimeout() const { return timeout_; }
    void CommandTimeout(int32_t seconds);
    ado::Parameters& Parameters() { return parameters_; }

    ParameterPtr CreateParameter(std::string_view name = {}, DataTypeEnum type = adEmpty,
                                 ParameterDirectionEnum direction = adParamInput, int32_t size = 0,
                                 const Variant& value = Variant()) const;

    // Runs the command. `parameters`, when given, is an array of values that replaces the
    // Parameters' values for this run. A row-returning statement gives an open, read-only,
    // forward-only recordset; any other a closed one and *recordsAffected. With
    // adExecuteNoRecords in `options` the result is null.
    RecordsetPtr Execute(int32_t* recordsAffected = nullptr, const Variant& parameters = Variant(),
                         int32_t options = adOptionUnspecified);

private:
    friend class Parameters;
    friend class Recordset;
    ConnectionPtr RequireConnection() const;
    // The statement of this run: the text, the given type and the current values.
    void FillStatement(CommandTypeEnum type, const Variant& values, bool rowIdentity);
    // The compiled form of the statement for `session`, while Prepared; nullptr when the
    // provider keeps none.
    provider::PreparedStatement* Compiled(provider::Session& session);
    void ForgetCompiled();
    // Runs the statement on `cn` (compiled once while Prepared): rows into `rows`, or the
    // records affected. `rowIdentity`: the rows are for an updatable cursor.
    int64_t RunInto(const ConnectionPtr& cn, CommandTypeEnum type, const Variant& values, cursor::RowStore& rows,
                    bool rowIdentity = false);

    struct Run;  // the statement each run refills and its compiled form
    std::unique_ptr<Run> run_;

    ConnectionPtr connection_;
    std::string text_;
    CommandTypeEnum type_ = adCmdUnknown;
    std::string name_;
    bool prepared_ = false;
    int32_t timeout_ = 30;
    ado::Parameters parameters_;
};

}  // namespace ado
