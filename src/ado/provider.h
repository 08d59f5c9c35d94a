// The narrow interface between the ado objects and the engines under them.
//
// A Provider serves one or more provider names ("Microsoft.Jet.OLEDB.4.0", "MSDASQL", ...)
// and opens Sessions. A Session runs statements and fills the cursor engine's RowStore.
// Providers know nothing of Connection or Recordset; failures are thrown as ado::Error.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ado/Enums.h"
#include "ado/Error.h"
#include "ado/Variant.h"
#include "ado/connection_string.h"
#include "ado/cursor/row_store.h"
#include "ado/cursor/row_write.h"

namespace ado::persist {
struct RowsetFile;
}

namespace ado::provider {

struct OpenRequest {
    std::string providerName;
    ConnectionString settings;    // every key of the connection string
    std::string user;
    std::string password;
    ConnectModeEnum mode = adModeUnknown;
    int32_t connectionTimeout = 15;
};

struct Statement {
    std::string text;
    CommandTypeEnum type = adCmdText;
    std::vector<Variant> parameters;       // values, in the command's order
    std::vector<std::string> parameterNames;  // their names, when the command has named parameters
    int32_t timeoutSeconds = 30;           // 0 = no limit
    bool prepared = false;                 // keep the compiled statement for the next run
    // The rows are for an updatable cursor: engines that can, add each base-table row's
    // identity as hidden columns after the visible ones (ColumnInfo::rowIdentity).
    bool rowIdentity = false;
    // Forward-only reading that keeps no rows: an engine that can hands the rows over a page
    // at a time, calling `page` with every full page and then clearing the rows; `page`
    // returns false to stop the reading. The rows left at the end are the caller's last page.
    std::function<bool(cursor::RowStore&)> page;
};

// A parameter a statement declares, as Refresh reports it.
struct ParameterInfo {
    std::string name;
    DataTypeEnum type = adVariant;
    int32_t size = 0;
};

// A statement a session compiled once, run again with new values (a prepared Command).
class PreparedStatement {
public:
    virtual ~PreparedStatement() = default;
    // False once the session that compiled it has closed or reopened its database; a
    // statement that is no longer valid must be prepared again.
    virtual bool Valid() const = 0;
    // Runs it with the values, names and time limit of `statement`, whose text and type
    // are those it was prepared from; the result is as Session::Execute's.
    virtual int64_t Run(const Statement& statement, cursor::RowStore& rows) = 0;
};

class Session {
public:
    virtual ~Session() = default;

    // Runs the statement. When it returns rows, `rows` receives columns and data and the
    // result is -1; otherwise the result is the number of records affected.
    virtual int64_t Execute(const Statement& statement, cursor::RowStore& rows) = 0;

    // Runs a command whose result is a hierarchy (a SHAPE command): `hierarchy` receives one
    // rowset per recordset, the root first and the children in depth-first pre-order, with
    // each chapter column's child and relation. False, with nothing run, when the statement
    // is no such command (the default).
    virtual bool ExecuteHierarchy(const Statement& statement, persist::RowsetFile& hierarchy) {
        (void)statement;
        (void)hierarchy;
        return false;
    }

    // Compiles the statement for repeated runs. nullptr when the engine keeps no compiled
    // form of it (the default); the caller then runs it through Execute each time.
    virtual std::unique_ptr<PreparedStatement> Prepare(const Statement& statement) {
        (void)statement;
        return nullptr;
    }

    // The parameters the statement declares (Command's Parameters.Refresh).
    virtual std::vector<ParameterInfo> DescribeParameters(const Statement& statement) = 0;

    // Transactions; BeginTrans returns the new nesting level (1 for the outermost).
    virtual int32_t BeginTrans() = 0;
    virtual void CommitTrans() = 0;
    virtual void RollbackTrans() = 0;
    virtual int32_t TransactionLevel() const = 0;

    // Writes one row to its base table; returns the rows affected (0 means the row was not
    // found as it was read). For an insert, `readBack` receives the columns it names as stored,
    // then the new row's identity when the shape asks for it (readBackIdentity). An update or
    // delete whose shape does not identify one row (singleRow false) and would change more
    // than one is undone and fails with -2147467259 (too many rows). A row another connection
    // holds in a pessimistic edit fails with 3260 after the connection's lock wait.
    virtual int64_t Write(const cursor::RowWrite& write, std::vector<Variant>* readBack) = 0;

    // What Write said of one row of a batch: rows affected (0 = not found as read), the
    // inserted row's read-back columns, or the row's own failure (held apart: rows rarely fail,
    // and a batch refills thousands of outcomes).
    struct WriteOutcome {
        int64_t affected = 0;
        std::vector<Variant> readBack;
        std::unique_ptr<Error> error;
    };
    // Writes the rows in order, inside the caller's transaction; `outcomes` receives one
    // outcome per write. A failing row does not stop the others. The default calls Write per
    // row; engines override it to send rows of the same shape together.
    virtual void WriteRows(std::span<const cursor::RowWrite> writes, std::vector<WriteOutcome>& outcomes);
    // True when Write binds a write's cells (RowWrite::cells) itself; otherwise every value
    // comes as a Variant.
    virtual bool BindsStoreCells() const { return false; }
    // Pessimistic editing. Lock takes the lock of one record (the row `row`'s criteria find)
    // for this connection until Unlock, and returns its id (never 0). No transaction is held
    // meanwhile: cancelling the edit undoes nothing else, and the client may begin and end
    // transactions during it. A record another connection holds fails with 3260 after the
    // connection's lock wait; other records stay free. The edit's own write goes through
    // WriteLocked; Unlock ends the lock, keeping what WriteLocked wrote.
    virtual uint64_t Lock(const cursor::RowWrite& row) = 0;
    virtual int64_t WriteLocked(uint64_t lock, const cursor::RowWrite& write, std::vector<Variant>* readBack) {
        (void)lock;
        return Write(write, readBack);
    }
    virtual void Unlock(uint64_t lock) = 0;

    // A connection-level dynamic property was written by the client (the hook may refuse).
    virtual void PropertyWritten(std::string_view name, const Variant& value) {
        (void)name;
        (void)value;
    }
    // Dynamic properties the session offers, with their initial values.
    virtual std::vector<std::pair<std::string, Variant>> DynamicProperties() const { return {}; }
};

class Provider {
public:
    virtual ~Provider() = default;
    virtual bool Serves(std::string_view providerName) const = 0;
    virtual std::unique_ptr<Session> Open(const OpenRequest& request) = 0;
    // Creates a new, empty database (ADOX's Catalog.Create); fails if it exists.
    virtual void Create(const OpenRequest& request);
    // Writes a compacted copy of the source database as the destination (JRO's
    // JetEngine.CompactDatabase); the default fails with NotSupported.
    virtual void Compact(const OpenRequest& source, const OpenRequest& destination);
    // Converts a database of an earlier format to the current one; the default fails with
    // NotSupported. True when there was something to convert.
    virtual bool Upgrade(const OpenRequest& request, int& tables, int64_t& rows);
};

// The providers linked into this program. Unknown names give nullptr.
Provider* FindProvider(std::string_view providerName);

}  // namespace ado::provider
