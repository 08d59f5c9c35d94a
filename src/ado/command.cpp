#include "ado/Command.h"

#include "ado/Recordset.h"
#include "ado/connection_string.h"
#include "ado/engine_access.h"
#include "ado/error_numbers.h"
#include "ado/provider.h"

namespace ado {

namespace {

std::string_view Unbracketed(std::string_view name) {
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') return name.substr(1, name.size() - 2);
    return name;
}

}  // namespace

// --- Parameters ----------------------------------------------------------------------------

void Parameters::DescribeNow() const {
    const ConnectionPtr& cn = owner_->connection_;
    if (!items_.empty() || !cn || cn->State() != adStateOpen || owner_->text_.empty()) {
        described_ = !items_.empty();
        return;
    }
    // Refresh changes the collection; the client's read is what asks for it.
    const_cast<Parameters*>(this)->Refresh();
}

int32_t Parameters::IndexOf(std::string_view name) const {
    Describe();
    return Find(name);
}

int32_t Parameters::Find(std::string_view name) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (EqualsNoCase(Unbracketed(items_[i]->Name()), Unbracketed(name))) return static_cast<int32_t>(i);
    return -1;
}

ParameterPtr Parameters::Item(int32_t index) const {
    Describe();
    if (index < 0 || index >= Count()) Raise(Condition::ItemNotFound);
    return items_[static_cast<size_t>(index)];
}

ParameterPtr Parameters::Item(std::string_view name) const {
    const int32_t i = IndexOf(name);
    if (i < 0) Raise(Condition::ItemNotFound, std::string(name));
    return items_[static_cast<size_t>(i)];
}

void Parameters::Append(ParameterPtr p) {
    if (!p) Raise(Condition::InvalidArgument);
    described_ = true;  // the client defines the collection: the provider is not asked
    if (!p->Name().empty() && Find(p->Name()) >= 0) Raise(Condition::IllegalOperation, "(parámetro repetido)");
    items_.push_back(std::move(p));
}

void Parameters::Delete(int32_t index) {
    Describe();
    if (index < 0 || index >= Count()) Raise(Condition::ItemNotFound);
    items_.erase(items_.begin() + index);
}

void Parameters::Delete(std::string_view name) {
    const int32_t i = IndexOf(name);
    if (i < 0) Raise(Condition::ItemNotFound, std::string(name));
    Delete(i);
}

void Parameters::Refresh() {
    const ConnectionPtr cn = owner_->RequireConnection();
    provider::Statement st;
    st.text = owner_->CommandText();
    st.type = owner_->CommandType();
    provider::Session& session = detail::EngineAccess::Session(*cn);
    const auto found = detail::EngineAccess::Guard(*cn, st.text, [&] { return session.DescribeParameters(st); });
    std::vector<ParameterPtr> refreshed;
    for (const auto& info : found) {
        // A value the client already gave under the same name is kept.
        const int32_t old = Find(info.name);
        Variant value = old >= 0 ? items_[static_cast<size_t>(old)]->Value() : Variant();
        refreshed.push_back(std::make_shared<Parameter>(info.name, info.type, adParamInput, info.size, value));
    }
    items_ = std::move(refreshed);
    described_ = true;
}

// --- Command -------------------------------------------------------------------------------

struct Command::Run {
    provider::Statement statement;  // refilled by each run, so its buffers are reused
    std::unique_ptr<provider::PreparedStatement> compiled;
    CommandTypeEnum compiledType = adCmdUnknown;
    bool compiledIdentity = false;  // compiled with row identity columns
    // The session that declined to compile the statement, so it is not asked on every run.
    // Only its address is compared: a new session at the same address merely goes unasked.
    const provider::Session* declinedBy = nullptr;
};

Command::Command(Passkey) : run_(std::make_unique<Run>()) { parameters_.owner_ = this; }

Command::~Command() = default;

void Command::ForgetCompiled() {
    run_->compiled.reset();
    run_->declinedBy = nullptr;
    // A collection nobody filled is described again for the new statement.
    if (parameters_.items_.empty()) parameters_.described_ = false;
}

void Command::ActiveConnection(const ConnectionPtr& c) {
    connection_ = c;
    ForgetCompiled();
}

void Command::CommandText(std::string_view text) {
    text_ = text;
    ForgetCompiled();
}

void Command::CommandType(CommandTypeEnum type) {
    type_ = type;
    ForgetCompiled();
}

void Command::Prepared(bool prepared) {
    prepared_ = prepared;
    ForgetCompiled();
}

void Command::CommandTimeout(int32_t seconds) {
    if (seconds < 0) Raise(Condition::InvalidArgument);
    timeout_ = seconds;
}

ConnectionPtr Command::RequireConnection() const {
    if (!connection_ || connection_->State() == adStateClosed) Raise(Condition::InvalidConnection);
    if (text_.empty()) Raise(Condition::InvalidArgument, "(el comando no tiene texto)");
    return connection_;
}

ParameterPtr Command::CreateParameter(std::string_view name, DataTypeEnum type, ParameterDirectionEnum direction,
                                      int32_t size, const Variant& value) const {
    return std::make_shared<Parameter>(std::string(name), type, direction, size, value);
}

void Command::FillStatement(CommandTypeEnum type, const Variant& values, bool rowIdentity) {
    provider::Statement& st = run_->statement;
    if (st.text != text_) st.text = text_;
    st.type = type;
    st.rowIdentity = rowIdentity;
    st.timeoutSeconds = timeout_;
    st.prepared = prepared_;
    const size_t count = parameters_.items_.size();
    st.parameters.resize(count);
    st.parameterNames.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const Parameter& p = *parameters_.items_[i];
        st.parameters[i] = p.Value();
        if (st.parameterNames[i] != p.Name()) st.parameterNames[i] = p.Name();
    }
    if (values.Type() == VariantType::Array) {
        // Values given to Execute replace those of the collection, in order.
        const SafeArray& a = values.AsArray();
        for (int32_t i = a.LBound(); i <= a.UBound(); ++i) {
            const size_t k = static_cast<size_t>(i - a.LBound());
            if (k < st.parameters.size()) st.parameters[k] = a.At({i});
            else st.parameters.push_back(a.At({i})), st.parameterNames.emplace_back();
        }
    }
}

provider::PreparedStatement* Command::Compiled(provider::Session& session) {
    Run& r = *run_;
    if (!prepared_) return nullptr;
    const bool sameType = r.compiledType == r.statement.type && r.compiledIdentity == r.statement.rowIdentity;
    if (r.compiled && r.compiled->Valid() && sameType) return r.compiled.get();
    if (!r.compiled && r.declinedBy == &session && sameType) return nullptr;
    r.compiled.reset();
    r.declinedBy = nullptr;
    r.compiledType = r.statement.type;
    r.compiledIdentity = r.statement.rowIdentity;
    r.compiled = session.Prepare(r.statement);
    if (!r.compiled) r.declinedBy = &session;
    return r.compiled.get();
}

int64_t Command::RunInto(const ConnectionPtr& cn, CommandTypeEnum type, const Variant& values,
                         cursor::RowStore& rows, bool rowIdentity) {
    FillStatement(type, values, rowIdentity);
    const provider::Statement& st = run_->statement;
    provider::Session& session = detail::EngineAccess::Session(*cn);
    return detail::EngineAccess::Guard(*cn, st.text, [&] {
        provider::PreparedStatement* compiled = Compiled(session);
        return compiled ? compiled->Run(st, rows) : session.Execute(st, rows);
    });
}

RecordsetPtr Command::Execute(int32_t* recordsAffected, const Variant& parameters, int32_t options) {
    const ConnectionPtr cn = RequireConnection();
    cursor::RowStore rows;
    const int64_t affected = RunInto(cn,
                                     (options != adOptionUnspecified && (options & ~adExecuteNoRecords))
                                         ? static_cast<CommandTypeEnum>(options & ~adExecuteNoRecords)
                                         : type_,
                                     parameters, rows);
    if (recordsAffected) *recordsAffected = affected >= 0 ? static_cast<int32_t>(affected) : -1;
    // With adExecuteNoRecords there is no recordset at all, as ADO gives none.
    if (options != adOptionUnspecified && (options & adExecuteNoRecords)) return nullptr;
    auto rs = Recordset::Create();
    rs->CursorLocation(adUseServer);
    rs->CursorType(adOpenForwardOnly);
    rs->LockType(adLockReadOnly);
    if (affected < 0) detail::EngineAccess::Adopt(*rs, std::move(rows), cn, text_);
    return rs;
}

}  // namespace ado
