// ado::Connection: one open session with a database engine.
//
// Connection strings are OLE DB style ("Provider=...;Data Source=...;"), keys without
// regard to case; a string without '=' is the data source itself. The provider is taken
// from the string's Provider key, else from the Provider property (default MSDASQL).
// Provider failures are thrown as ado::Error and also replace the Errors collection.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ado/Enums.h"
#include "ado/Error.h"
#include "ado/Properties.h"
#include "ado/Variant.h"

namespace ado {

class Recordset;
using RecordsetPtr = std::shared_ptr<Recordset>;
class Connection;
using ConnectionPtr = std::shared_ptr<Connection>;

namespace provider {
class Session;
}

class Connection : public std::enable_shared_from_this<Connection> {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    static ConnectionPtr Create() { return std::make_shared<Connection>(); }

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

    // Nested levels are real savepoints; the result is the new level (1 = outermost).
    int32_t BeginTrans();
    void CommitTrans();
    void RollbackTrans();

    // Engine side: the open session (3709 when closed).
    provider::Session& Session();
    // Runs an engine call, recording a failure in Errors before passing it on.
    template <class F>
    decltype(auto) Guard(F&& f) {
        try {
            return f();
        } catch (const Error& e) {
            errors_.Replace(e);
            throw;
        }
    }

private:
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
