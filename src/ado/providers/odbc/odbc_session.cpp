#include "ado/providers/odbc/odbc_session.h"

#include <algorithm>
#include <cctype>

namespace ado::odbc {

namespace {

std::string InfoText(SQLHDBC dbc, SQLUSMALLINT info) {
    SQLWCHAR buffer[256] = {};
    SQLSMALLINT bytes = 0;
    if (!Succeeded(SQLGetInfoW(dbc, info, buffer, sizeof buffer, &bytes))) return {};
    return ToUtf8(buffer, std::min<size_t>(static_cast<size_t>(std::max<SQLSMALLINT>(bytes, 0)) / sizeof(SQLWCHAR),
                                           std::size(buffer) - 1));
}

template <class T>
T InfoNumber(SQLHDBC dbc, SQLUSMALLINT info) {
    T value{};
    SQLGetInfoW(dbc, info, &value, sizeof value, nullptr);
    return value;
}

// A bare name ("Clientes", "dbo.Clientes", "[Mis datos]") rather than a statement.
bool LooksLikeTableName(std::string_view text) {
    if (text.empty()) return false;
    if (text.front() == '[' && text.back() == ']' && text.find(']') == text.size() - 1) return true;
    for (unsigned char c : text)
        if (!(std::isalnum(c) || c == '_' || c == '.' || c == '$' || c == '#' || c >= 0x80)) return false;
    return true;
}

// The last part of a table name without its quotes, as drivers name base tables.
std::string BareTableName(std::string_view name) {
    if (const size_t dot = name.rfind('.'); dot != std::string_view::npos) name.remove_prefix(dot + 1);
    if (name.size() >= 2 && (name.front() == '[' || name.front() == '"' || name.front() == '`'))
        name = name.substr(1, name.size() - 2);
    return std::string(name);
}

std::vector<cursor::ColumnInfo> InfosOf(const std::vector<DescribedColumn>& described) {
    std::vector<cursor::ColumnInfo> infos;
    infos.reserve(described.size());
    for (const auto& d : described) infos.push_back(d.info);
    return infos;
}

}  // namespace

OdbcSession::OdbcSession(const std::string& connectionString, const provider::OpenRequest& request,
                         ErrorContext context)
    : context_(std::move(context)),
      connectionTimeout_(request.connectionTimeout),
      connectionString_(connectionString),
      request_(request) {
    SQLHANDLE h = SQL_NULL_HANDLE;
    Check(SQLAllocHandle(SQL_HANDLE_DBC, Environment(), &h), SQL_HANDLE_ENV, Environment(), context_);
    dbc_ = Handle(SQL_HANDLE_DBC, h);
    Connect(connectionString, request.connectionTimeout);
    ReadFeatures();
    h = SQL_NULL_HANDLE;
    if (!Succeeded(SQLAllocHandle(SQL_HANDLE_STMT, dbc_.get(), &h))) {
        const Error e = DiagnosticError(SQL_HANDLE_DBC, dbc_.get(), context_);
        SQLDisconnect(dbc_.get());  // a connected handle cannot be freed
        throw e;
    }
    stmt_ = Handle(SQL_HANDLE_STMT, h);
    keys_ = KeyCache(dbc_.get());
}

OdbcSession::~OdbcSession() {
    // Work not committed is lost, as when the connection drops.
    if (level_ > 0) SQLEndTran(SQL_HANDLE_DBC, dbc_.get(), SQL_ROLLBACK);
    statements_.Clear();
    stmt_.Reset();
    SQLDisconnect(dbc_.get());
}

void OdbcSession::Connect(const std::string& connectionString, int32_t timeoutSeconds) {
    SQLSetConnectAttr(dbc_.get(), SQL_ATTR_LOGIN_TIMEOUT,
                      reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(std::max(timeoutSeconds, 0))), 0);
    WString text = ToUtf16(connectionString);
    SQLWCHAR completed[1024];
    SQLSMALLINT completedLength = 0;
    const SQLRETURN rc = SQLDriverConnectW(dbc_.get(), nullptr, text.data(), static_cast<SQLSMALLINT>(text.size()),
                                           completed, static_cast<SQLSMALLINT>(std::size(completed)), &completedLength,
                                           SQL_DRIVER_NOPROMPT);
    if (!Succeeded(rc)) ThrowDiagnostics(SQL_HANDLE_DBC, dbc_.get(), context_);
}

void OdbcSession::ReadFeatures() {
    SQLHDBC dbc = dbc_.get();
    dbmsName_ = InfoText(dbc, SQL_DBMS_NAME);
    driverName_ = InfoText(dbc, SQL_DRIVER_NAME);
    dialect_ = &DialectFor(dbmsName_, InfoText(dbc, SQL_IDENTIFIER_QUOTE_CHAR));
    const auto getData = InfoNumber<SQLUINTEGER>(dbc, SQL_GETDATA_EXTENSIONS);
    fetch_.getDataBound = (getData & SQL_GD_BOUND) != 0;
    fetch_.getDataBlock = (getData & SQL_GD_BLOCK) != 0;
    fetch_.narrowUtf8 = NarrowTextIsUtf8(driverName_);
    commitClosesStatements_ = InfoNumber<SQLUSMALLINT>(dbc, SQL_CURSOR_COMMIT_BEHAVIOR) == SQL_CB_DELETE ||
                              InfoNumber<SQLUSMALLINT>(dbc, SQL_CURSOR_ROLLBACK_BEHAVIOR) == SQL_CB_DELETE;
}

std::string OdbcSession::StatementText(const provider::Statement& st) const {
    switch (st.type) {
        case adCmdTable:
        case adCmdTableDirect: return "SELECT * FROM " + QuoteTableName(st.text, dialect_->quote);
        case adCmdStoredProc: {
            std::string call = "{call " + st.text + "(";
            for (size_t i = 0; i < st.parameters.size(); ++i) call += i ? ",?" : "?";
            return call + ")}";
        }
        case adCmdUnknown:
            if (LooksLikeTableName(st.text)) return "SELECT * FROM " + QuoteTableName(st.text, dialect_->quote);
            return st.text;
        default: return st.text;
    }
}

void OdbcSession::SetTimeout(SQLHSTMT stmt, SQLULEN& current, int32_t seconds) {
    const auto wanted = static_cast<SQLULEN>(std::max(seconds, 0));
    if (wanted == current) return;
    // A driver that cannot limit statements runs them without a limit.
    SQLSetStmtAttr(stmt, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(wanted), 0);
    current = wanted;
}

int64_t OdbcSession::Execute(const provider::Statement& st, cursor::RowStore& rows) {
    const std::string sql = StatementText(st);
    const Operation op = OperationOf(sql);
    SQLHSTMT h = stmt_.get();
    SQLULEN* timeout = &stmtTimeout_;
    ParameterSet* parameters = &parameters_;
    const bool direct = st.parameters.empty() && st.type != adCmdStoredProc && !st.prepared;
    if (st.prepared) {
        // A prepared command keeps its compiled statement in the cache for the next run.
        PreparedStatement& p = statements_.Get(dbc_.get(), sql, context_);
        h = p.stmt.get();
        timeout = &p.timeout;
        parameters = &p.parameters;
    } else {
        SQLFreeStmt(h, SQL_CLOSE);
        SQLFreeStmt(h, SQL_RESET_PARAMS);
    }
    SetTimeout(h, *timeout, st.timeoutSeconds);
    SQLRETURN rc;
    if (direct) {
        WString text = ToUtf16(sql);
        rc = SQLExecDirectW(h, text.data(), static_cast<SQLINTEGER>(text.size()));
    } else {
        if (!st.prepared) {
            WString text = ToUtf16(sql);
            CheckStmt(SQLPrepareW(h, text.data(), static_cast<SQLINTEGER>(text.size())), h, context_, op);
        }
        // Markers are positional in ODBC: values bind in the command's order.
        SQLSMALLINT expected = 0;
        if (Succeeded(SQLNumParams(h, &expected)) && st.parameters.size() < static_cast<size_t>(expected))
            Raise(Condition::MissingParameters);
        parameters->Bind(h, st.parameters, fetch_.narrowUtf8, context_);
        rc = SQLExecute(h);
    }
    if (rc != SQL_NO_DATA) CheckStmt(rc, h, context_, op);
    return CollectResults(h, st, op, rows);
}

int64_t OdbcSession::CollectResults(SQLHSTMT h, const provider::Statement& st, Operation op, cursor::RowStore& rows) {
    // The first result with columns becomes the recordset; the counts before it add up.
    int64_t affected = 0;
    for (;;) {
        SQLSMALLINT columns = 0;
        CheckStmt(SQLNumResultCols(h, &columns), h, context_, op);
        if (columns > 0) {
            std::vector<DescribedColumn> described = DescribeResult(h, context_, &keys_);
            const bool table = st.type == adCmdTable || st.type == adCmdTableDirect ||
                               (st.type == adCmdUnknown && LooksLikeTableName(st.text));
            const bool anyBase = std::any_of(described.begin(), described.end(),
                                             [](const DescribedColumn& d) { return !d.info.baseTable.empty(); });
            // Drivers that do not name base tables: a table opened by name is its own base.
            if (table && !anyBase)
                for (auto& d : described) {
                    d.info.baseTable = BareTableName(st.text);
                    d.info.baseColumn = d.info.name;
                    d.info.key = keys_.IsKey(d.info);
                    if (d.info.key) d.info.attributes |= adFldKeyColumn;
                }
            for (const auto& d : described)
                if (!d.info.baseTable.empty()) columnTypes_[d.info.baseTable + '\x1f' + d.info.baseColumn] = d.sqlType;
            rows.Columns() = InfosOf(described);
            {
                ResultReader reader(h, described, fetch_, context_);
                reader.ReadAll(rows);
            }
            SQLFreeStmt(h, SQL_CLOSE);
            return -1;
        }
        SQLLEN count = 0;
        if (Succeeded(SQLRowCount(h, &count)) && count > 0) affected += count;
        const SQLRETURN rc = SQLMoreResults(h);
        if (rc == SQL_NO_DATA) break;
        CheckStmt(rc, h, context_, op);
    }
    SQLFreeStmt(h, SQL_CLOSE);
    keys_.Clear();  // a statement without rows may have changed a table's keys
    return affected;
}

void OdbcSession::RunStatement(const std::string& sql) {
    SQLHSTMT h = stmt_.get();
    SQLFreeStmt(h, SQL_CLOSE);
    SQLFreeStmt(h, SQL_RESET_PARAMS);
    WString text = ToUtf16(sql);
    const SQLRETURN rc = SQLExecDirectW(h, text.data(), static_cast<SQLINTEGER>(text.size()));
    if (rc != SQL_NO_DATA) CheckStmt(rc, h, context_);
    SQLFreeStmt(h, SQL_CLOSE);
}

void OdbcSession::SetAutocommit(bool on) {
    const SQLULEN mode = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
    Check(SQLSetConnectAttr(dbc_.get(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(mode), 0), SQL_HANDLE_DBC,
          dbc_.get(), context_);
}

void OdbcSession::EndTransaction(bool commit) {
    Check(SQLEndTran(SQL_HANDLE_DBC, dbc_.get(), commit ? SQL_COMMIT : SQL_ROLLBACK), SQL_HANDLE_DBC, dbc_.get(),
          context_);
    SetAutocommit(true);
    if (commitClosesStatements_) statements_.Clear();
}

namespace {
std::string SavepointName(int32_t level) { return "brezal_" + std::to_string(level); }
}  // namespace

int32_t OdbcSession::BeginTrans() {
    if (level_ == 0) {
        SetAutocommit(false);
    } else {
        if (dialect_->savepoint.empty()) Raise(Condition::NotSupported, "(el motor no admite transacciones anidadas)");
        RunStatement(std::string(dialect_->savepoint) + SavepointName(level_ + 1));
    }
    return ++level_;
}

void OdbcSession::CommitTrans() {
    if (level_ == 1) {
        EndTransaction(true);  // locks taken inside the transaction end with it
    } else if (!dialect_->release.empty()) {
        RunStatement(std::string(dialect_->release) + SavepointName(level_));
    }
    --level_;
}

void OdbcSession::RollbackTrans() {
    if (level_ == 1) {
        EndTransaction(false);
    } else {
        RunStatement(std::string(dialect_->rollbackTo) + SavepointName(level_));
        if (!dialect_->release.empty()) RunStatement(std::string(dialect_->release) + SavepointName(level_));
    }
    --level_;
}

std::vector<provider::ParameterInfo> OdbcSession::DescribeParameters(const provider::Statement& st) {
    if (st.type == adCmdStoredProc) return ProcedureParameters(st.text);
    SQLHANDLE h = SQL_NULL_HANDLE;
    Check(SQLAllocHandle(SQL_HANDLE_STMT, dbc_.get(), &h), SQL_HANDLE_DBC, dbc_.get(), context_);
    const Handle stmt(SQL_HANDLE_STMT, h);
    WString text = ToUtf16(StatementText(st));
    CheckStmt(SQLPrepareW(h, text.data(), static_cast<SQLINTEGER>(text.size())), h, context_);
    SQLSMALLINT count = 0;
    CheckStmt(SQLNumParams(h, &count), h, context_);
    std::vector<provider::ParameterInfo> params;
    for (SQLSMALLINT i = 1; i <= count; ++i) {
        // Markers have no names: they are numbered as ADO numbers them.
        provider::ParameterInfo& p = params.emplace_back();
        p.name = "Param" + std::to_string(i);
        SQLSMALLINT sqlType = 0, digits = 0, nullable = SQL_NULLABLE_UNKNOWN;
        SQLULEN size = 0;
        if (!Succeeded(SQLDescribeParam(h, static_cast<SQLUSMALLINT>(i), &sqlType, &size, &digits, &nullable)))
            continue;  // stays adVariant
        const TypeMapping m = MapSqlType(sqlType, {}, false, size);
        p.type = m.type;
        p.size = m.fixedSize > 0 ? m.fixedSize : static_cast<int32_t>(std::min<SQLULEN>(size, INT32_MAX));
    }
    return params;
}

std::string OdbcSession::CurrentSchema() {
    if (dialect_->currentSchema.empty()) return {};
    cursor::RowStore row;
    RunPrepared(std::string(dialect_->currentSchema), {}, {}, Operation::Other, &row);
    return row.RowCount() == 1 && !row.Get(0, 0).IsNull() ? row.Get(0, 0).ToString() : std::string();
}

std::vector<provider::ParameterInfo> OdbcSession::ProcedureParameters(const std::string& name) {
    std::string schema, procedure = name;
    if (const size_t dot = name.rfind('.'); dot != std::string::npos) {
        schema = name.substr(0, dot);
        procedure = name.substr(dot + 1);
    }
    // An unqualified name is the one the engine would run: in its current schema, or else
    // in the first schema that has a procedure of that name (other schemas may have theirs).
    if (schema.empty()) schema = CurrentSchema();
    bool found = false;
    std::vector<provider::ParameterInfo> params = ProcedureColumns(schema, procedure, found);
    if (!found && name.find('.') == std::string::npos) params = ProcedureColumns({}, procedure, found);
    return params;
}

std::vector<provider::ParameterInfo> OdbcSession::ProcedureColumns(const std::string& schema,
                                                                   const std::string& procedure, bool& found) {
    SQLHANDLE h = SQL_NULL_HANDLE;
    Check(SQLAllocHandle(SQL_HANDLE_STMT, dbc_.get(), &h), SQL_HANDLE_DBC, dbc_.get(), context_);
    const Handle stmt(SQL_HANDLE_STMT, h);
    WString s = ToUtf16(schema), p = ToUtf16(procedure);
    CheckStmt(SQLProcedureColumnsW(h, nullptr, 0, s.empty() ? nullptr : s.data(), static_cast<SQLSMALLINT>(s.size()),
                                   p.data(), static_cast<SQLSMALLINT>(p.size()), nullptr, 0),
              h, context_);
    auto textAt = [h](SQLUSMALLINT column) {
        SQLWCHAR text[256] = {};
        SQLLEN bytes = 0;
        SQLGetData(h, column, SQL_C_WCHAR, text, sizeof text, &bytes);
        return ToUtf8(text, std::min<size_t>(static_cast<size_t>(std::max<SQLLEN>(bytes, 0)) / 2, 255));
    };
    std::vector<provider::ParameterInfo> params;
    std::string firstSchema;
    found = false;
    while (Succeeded(CheckStmt(SQLFetch(h), h, context_))) {
        const std::string rowSchema = textAt(2);
        if (!found) firstSchema = rowSchema;
        found = true;
        if (rowSchema != firstSchema) continue;  // a namesake in another schema
        SQLINTEGER size = 0;
        SQLSMALLINT role = 0, sqlType = 0;
        const std::string column = textAt(4);
        SQLGetData(h, 5, SQL_C_SSHORT, &role, 0, nullptr);
        SQLGetData(h, 6, SQL_C_SSHORT, &sqlType, 0, nullptr);
        SQLGetData(h, 8, SQL_C_SLONG, &size, 0, nullptr);
        // Inputs only: results and return values are not bound.
        if (role != SQL_PARAM_INPUT && role != SQL_PARAM_INPUT_OUTPUT) continue;
        const TypeMapping m = MapSqlType(sqlType, {}, false, static_cast<SQLULEN>(std::max<SQLINTEGER>(size, 0)));
        provider::ParameterInfo& info = params.emplace_back();
        info.name = column;
        if (info.name.empty()) info.name = "Param" + std::to_string(params.size());
        info.type = m.type;
        info.size = m.fixedSize > 0 ? m.fixedSize : std::max<SQLINTEGER>(size, 0);
    }
    return params;
}

}  // namespace ado::odbc
