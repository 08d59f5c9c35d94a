#include "ado/Connection.h"

#include "ado/Recordset.h"
#include "ado/connection_string.h"
#include "ado/engine_access.h"
#include "ado/error_numbers.h"
#include "ado/provider.h"

namespace ado {

namespace {

// Dynamic properties every connection offers, with their initial values.
struct StandardProperty {
    std::string_view name;
    DataTypeEnum type;
    Variant (*initial)();
};
constexpr StandardProperty kStandardProperties[] = {
    {"Jet OLEDB:Database Password", adBSTR, [] { return Variant(""); }},
    {"Jet OLEDB:New Database Password", adBSTR, [] { return Variant(""); }},
    {"Jet OLEDB:Engine Type", adInteger, [] { return Variant(int32_t{5}); }},
    {"Data Provider", adBSTR, [] { return Variant(""); }},
    {"Extended Properties", adBSTR, [] { return Variant(""); }},
    {"Transaction DDL", adInteger, [] { return Variant(int32_t{8}); }},
};

// A write that changed the file's password changes the connection's own string too, so
// that opening again with that string opens the file with the password it now has.
void KeepSessionPassword(provider::Session& session, Properties& properties, std::string& connectionString) {
    constexpr std::string_view kPassword = "Jet OLEDB:Database Password";
    for (auto& [name, value] : session.DynamicProperties()) {
        if (!EqualsNoCase(name, kPassword)) continue;
        if (Property* p = properties.Find(name)) p->Store(value);
        ConnectionString cs = ConnectionString::Parse(connectionString);
        const std::optional<std::string> before = cs.Get(kPassword);
        if (!before || *before == value.ToString()) return;
        cs.Set(kPassword, value.ToString());
        connectionString = cs.ToString();
    }
}

}  // namespace

Connection::Connection(Passkey) { AddStandardProperties(); }

Connection::~Connection() {
    if (session_) {
        // A connection dropped with a transaction open loses the uncommitted work, as the
        // engine would; nothing committed is touched.
        try {
            while (session_->TransactionLevel() > 0) session_->RollbackTrans();
        } catch (...) {
        }
    }
}

void Connection::AddStandardProperties() {
    for (const auto& sp : kStandardProperties) {
        std::string name(sp.name);
        properties_.Add(Property(name, sp.initial(), sp.type, adPropRead | adPropWrite, [this, name](const Variant& v) {
            if (!session_) return;
            detail::EngineAccess::Guard(*this, [&] { session_->PropertyWritten(name, v); });
            KeepSessionPassword(*session_, properties_, connectionString_);
        }));
    }
    // The engine behind the connection, as its provider names it (DBPROP_DBMSNAME): read only.
    properties_.Add(Property("DBMS Name", Variant(""), adBSTR, adPropRead,
                             [](const Variant&) { Raise(Condition::NotSupported, "(propiedad de sólo lectura)"); }));
}

ObjectStateEnum Connection::State() const { return session_ ? adStateOpen : adStateClosed; }

void Connection::Provider(std::string_view name) {
    if (session_) Raise(Condition::ObjectOpen);
    provider_ = name;
}

void Connection::Mode(ConnectModeEnum mode) {
    if (session_) Raise(Condition::ObjectOpen);
    mode_ = mode;
}

void Connection::ConnectionTimeout(int32_t seconds) {
    if (seconds < 0) Raise(Condition::InvalidArgument);
    connectionTimeout_ = seconds;
}

void Connection::CommandTimeout(int32_t seconds) {
    if (seconds < 0) Raise(Condition::InvalidArgument);
    commandTimeout_ = seconds;
}

void Connection::ConnectionString(std::string_view text) {
    if (session_) Raise(Condition::ObjectOpen);
    connectionString_ = text;
}

void Connection::Open(std::string_view connectionString, std::string_view user, std::string_view password, int32_t) {
    if (session_) Raise(Condition::ObjectOpen);
    if (!connectionString.empty()) connectionString_ = connectionString;
    detail::EngineAccess::Guard(*this, [&] {
        provider::OpenRequest request;
        request.settings = ado::ConnectionString::Parse(connectionString_);
        if (auto p = request.settings.Get("Provider")) provider_ = *p;
        request.providerName = provider_;
        // Dynamic properties written before Open count as connection-string keys.
        for (const auto& prop : properties_)
            if (prop.Value().IsText() && !prop.Value().AsString().empty() && !request.settings.Get(prop.Name()))
                request.settings.Set(prop.Name(), prop.Value().AsString());
        request.user = user.empty() ? request.settings.GetOr("User ID", "") : std::string(user);
        request.password = password.empty() ? request.settings.GetOr("Password", "") : std::string(password);
        request.mode = mode_;
        request.connectionTimeout = connectionTimeout_;

        provider::Provider* p = provider::FindProvider(provider_);
        if (!p) Raise(Condition::ProviderNotFound, provider_);
        session_ = p->Open(request);
        for (auto& [name, value] : session_->DynamicProperties())
            if (Property* existing = properties_.Find(name))
                existing->Store(value);
    });
}

void Connection::Close() {
    if (!session_) Raise(Condition::ObjectClosed);
    if (session_->TransactionLevel() > 0) Raise(Condition::InTransaction);
    session_.reset();
}

provider::Session& Connection::Session() {
    if (!session_) Raise(Condition::ObjectClosed);
    return *session_;
}

RecordsetPtr Connection::Execute(std::string_view commandText, int32_t* recordsAffected, int32_t options) {
    provider::Session& s = Session();
    auto rs = Recordset::Create();
    rs->CursorLocation(adUseServer);
    rs->CursorType(adOpenForwardOnly);
    rs->LockType(adLockReadOnly);
    cursor::RowStore rows;
    provider::Statement st;
    st.text = std::string(commandText);
    st.type = (options == adOptionUnspecified) ? adCmdText
                                               : static_cast<CommandTypeEnum>(options & ~adExecuteNoRecords);
    if (st.type == adCmdUnknown || st.type == adCmdUnspecified) st.type = adCmdText;
    st.timeoutSeconds = commandTimeout_;
    const int64_t affected = detail::EngineAccess::Guard(*this, st.text, [&] { return s.Execute(st, rows); });
    if (affected >= 0) {
        if (recordsAffected) *recordsAffected = static_cast<int32_t>(affected);
        return rs;
    }
    if (recordsAffected) *recordsAffected = -1;
    if (!(options != adOptionUnspecified && (options & adExecuteNoRecords)))
        detail::EngineAccess::Adopt(*rs, std::move(rows), shared_from_this(), std::string(commandText));
    return rs;
}

int64_t Connection::ExecuteEach(std::string_view commandText, const std::function<bool(Fields&)>& row,
                                const std::function<void(Fields&)>& start) {
    provider::Session& s = Session();
    auto rs = Recordset::Create();
    rs->CursorLocation(adUseServer);
    rs->CursorType(adOpenForwardOnly);
    rs->LockType(adLockReadOnly);
    bool started = false;
    bool stopped = false;
    // Each page of rows becomes the recordset's rows in turn.
    auto deliver = [&](cursor::RowStore& rows) {
        cursor::RowStore page(rows.Columns());
        std::swap(page, rows);
        if (rs->State() == adStateOpen) rs->Close();
        detail::EngineAccess::Adopt(*rs, std::move(page), shared_from_this(), std::string(commandText));
        if (!started && start) start(rs->Fields());
        started = true;
        for (; !rs->adoEOF(); rs->MoveNext()) {
            if (!row(rs->Fields())) {
                stopped = true;
                return false;
            }
        }
        return true;
    };
    provider::Statement st;
    st.text = std::string(commandText);
    st.timeoutSeconds = commandTimeout_;
    st.page = deliver;
    cursor::RowStore rows;
    const int64_t affected = detail::EngineAccess::Guard(*this, st.text, [&] { return s.Execute(st, rows); });
    if (affected >= 0) return affected;
    if (!stopped && (!started || rows.RowCount() > 0)) deliver(rows);
    return -1;
}

int32_t Connection::BeginTrans() {
    provider::Session& s = Session();
    return detail::EngineAccess::Guard(*this, [&] { return s.BeginTrans(); });
}

void Connection::CommitTrans() {
    provider::Session& s = Session();
    detail::EngineAccess::Guard(*this, [&] {
        if (s.TransactionLevel() == 0) Raise(Condition::NoTransaction);
        s.CommitTrans();
    });
}

void Connection::RollbackTrans() {
    provider::Session& s = Session();
    detail::EngineAccess::Guard(*this, [&] {
        if (s.TransactionLevel() == 0) Raise(Condition::NoTransaction);
        s.RollbackTrans();
    });
}

}  // namespace ado
