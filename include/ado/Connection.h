// ado::Connection: one open session with a database engine.
//
// Connection strings are OLE DB style ("Provider=...;Data Source=...;"), keys without
// regard to case; a string without '=' is the data source itself. The provider is taken
// from the string's Provider key, else from the Provider property (default MSDASQL).
// Provider failures are thrown as ado::Error and also replace the Errors collection; a
// failure while running a statement names it (Error::Statement).
//
// Ownership and threads: a connection lives in a ConnectionPtr made by Create; recordsets
// and commands opened on it hold it alive. A connection and everything opened on it are used
// from one thread at a time; different connections, even to the same file, may work on
// different threads at once.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "ado/Enums.h"
#include "ado/Error.h"
#include "ado/Properties.h"
#include "ado/Variant.h"

namespace ado {

class Recordset;
class Fields;
using RecordsetPtr = std::shared_ptr<Recordset>;
class Connection;
using ConnectionPtr = std::shared_ptr<Connection>;

namespace detail {
class EngineAccess;
}
namespace provider {
class Session;
}

class Connection : public std::enable_shared_from_this<Connection> {
    struct Passkey {
        explicit Passkey() = default;
    };

public:
    // Made only by Create: a connection is always held by a ConnectionPtr.
    explicit Connection(Passkey);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    static ConnectionPtr Create() { return std::make_shared<Connection>(Passkey{}); }

    void Open(std::string_view connectionString = {}, std::string_view user = {}, std::string_view password = {},
              int32_t options = adOptionUnspecified);
    // Closing with a transaction open fails with 3246 and leaves the connection open.
    void Close();
    ObjectStateEnum State() const;

    ado::Errors& Errors() { return errors_; }
    const ado::Errors& Errors() const { return errors_; }
    ado::Properties& Properties() { return properties_; }

    std::string Provider() const { return provider_; }
    void Provider(std::string_view name);  // only while closed (3705 otherwise)
    ConnectModeEnum Mode() const { return mode_; }
    void Mode(ConnectModeEnum mode);
    CursorLocationEnum CursorLocation() const { return cursorLocation_; }
    void CursorLocation(CursorLocationEnum location) { cursorLocation_ = location; }
    int32_t ConnectionTimeout() const { return connectionTimeout_; }
    void ConnectionTimeout(int32_t seconds);
    int32_t CommandTimeout() const { return commandTimeout_; }
    void CommandTimeout(int32_t seconds);
    std::string ConnectionString() const { return connectionString_; }
    void ConnectionString(std::string_view text);

    // Runs a statement. A row-returning statement gives an open, read-only, forward-only
    // recordset; any other gives a closed recordset and sets *recordsAffected. Plain SQL does
    // not look at the record locks of pessimistic edits (see Recordset): only the engine's
    // own locks can hold it up.
    RecordsetPtr Execute(std::string_view commandText, int32_t* recordsAffected = nullptr,
                         int32_t options = adOptionUnspecified);
    // Runs a statement forward-only without keeping its rows, for results of any size:
    // `start` (when given) sees the fields once before the first row, then `row` is called
    // once per row, in order, with the fields on that row, and returns false to stop. The
    // embedded engine reads a few hundred rows at a time, so memory stays flat; the
    // connection runs nothing else meanwhile. Returns the records affected by a statement
    // that returns no rows, else -1.
    int64_t ExecuteEach(std::string_view commandText, const std::function<bool(Fields&)>& row,
                        const std::function<void(Fields&)>& start = {});

    // Nested levels are real savepoints; the result is the new level (1 = outermost).
    int32_t BeginTrans();
    void CommitTrans();
    void RollbackTrans();

private:
    // The engine side below is reached through detail::EngineAccess (src/ado/engine_access.h).
    friend class detail::EngineAccess;
    // The open session (3709 when closed).
    provider::Session& Session();
    void AddStandardProperties();

    std::unique_ptr<provider::Session> session_;
    ado::Errors errors_;
    ado::Properties properties_;
    std::string provider_ = "MSDASQL";
    std::string connectionString_;
    ConnectModeEnum mode_ = adModeUnknown;
    CursorLocationEnum cursorLocation_ = adUseServer;
    int32_t connectionTimeout_ = 15;
    int32_t commandTimeout_ = 30;
};

}  // namespace ado
