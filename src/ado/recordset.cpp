// Recordset: opening, closing and the properties that govern the cursor.
#include "ado/Recordset.h"
#include "ado/engine_access.h"
#include "ado/persist/rowset_file.h"

#include "ado/cursor/cursor.h"
#include "ado/cursor/write_planner.h"
#include "ado/error_numbers.h"
#include "ado/provider.h"

namespace ado {

Recordset::Recordset(Passkey) : state_(std::make_shared<cursor::Cursor>()) {
    state_->owner = this;
    RebuildFields();
    properties_.Add({"Update Criteria", Variant(int32_t{adCriteriaUpdCols}), adInteger, adPropRead | adPropWrite});
    properties_.Add({"Unique Table", Variant(""), adBSTR, adPropRead | adPropWrite});
}

Recordset::~Recordset() {
    // A record lock must not outlive its recordset.
    try {
        ReleaseLock();
    } catch (...) {
    }
    state_->owner = nullptr;
    state_->open = false;
}

ObjectStateEnum Recordset::State() const { return state_->open ? adStateOpen : adStateClosed; }

void Recordset::RequireOpen() const {
    if (!state_->open) Raise(Condition::ObjectClosed);
}

void Recordset::RequireClosed() const {
    if (state_->open) Raise(Condition::ObjectOpen);
}

void Recordset::Source(std::string_view source) {
    RequireClosed();
    source_ = source;
    sourceCommand_.reset();
}

void Recordset::Source(const CommandPtr& command) {
    RequireClosed();
    if (!command) Raise(Condition::InvalidArgument);
    sourceCommand_ = command;
    source_ = command->CommandText();
}

void Recordset::ActiveConnection(const ConnectionPtr& connection) {
    // An open client cursor may be disconnected (null) and reconnected later.
    if (state_->open && cursorLocation_ != adUseClient) Raise(Condition::ObjectOpen);
    if (state_->open && state_->editMode != adEditNone) Raise(Condition::EditInProgress);
    if (connection && connection->State() == adStateClosed) Raise(Condition::ObjectClosed);
    if (state_->open && connection != connection_) ForgetRowIdentities();
    connection_ = connection;
}

void Recordset::ForgetRowIdentities() {
    cursor::Cursor& s = *state_;
    const size_t visible = cursor::VisibleColumnCount(s.store.Columns());
    if (visible == s.store.ColumnCount()) return;
    // A row identity means something only to the connection the rows were read on, and only
    // until its file is compacted: it does not outlive that connection.
    while (s.store.ColumnCount() > visible) s.store.RemoveColumn(s.store.ColumnCount() - 1);
    for (auto& [row, p] : s.pending) {
        if (p.original.size() > visible) p.original.resize(visible);
        if (p.changed.size() > visible) p.changed.resize(visible);
    }
    s.scratch = cursor::RowWrite();  // its shape was planned over the old columns
}

CursorTypeEnum Recordset::CursorType() const { return cursorType_; }

void Recordset::CursorType(CursorTypeEnum type) {
    RequireClosed();
    cursorType_ = type;
}

void Recordset::LockType(LockTypeEnum type) {
    // An open client cursor changes between optimistic and batch optimistic (what reconnecting
    // a recordset needs); nothing else changes once open.
    auto batchKind = [](LockTypeEnum t) { return t == adLockOptimistic || t == adLockBatchOptimistic; };
    if (state_->open && !(cursorLocation_ == adUseClient && batchKind(lockType_) && batchKind(type)))
        Raise(Condition::ObjectOpen);
    if (state_->open && state_->editMode != adEditNone) Raise(Condition::EditInProgress);
    lockType_ = type;
}

void Recordset::CursorLocation(CursorLocationEnum location) {
    RequireClosed();
    cursorLocation_ = location;
    cursorLocationSet_ = true;
}

void Recordset::Open() {
    if (source_.empty() && !connection_ && state_->store.ColumnCount() > 0) {
        // An in-memory recordset over the fields appended to it.
        RequireClosed();
        cursorLocation_ = adUseClient;
        cursorType_ = adOpenStatic;
        if (lockType_ == adLockReadOnly || lockType_ == adLockUnspecified) lockType_ = adLockBatchOptimistic;
        cursor::RowStore rows(state_->store.Columns());
        Start(std::move(rows));
        return;
    }
    if (sourceCommand_) return Open(sourceCommand_, cursorType_, lockType_);
    if (!connection_) return OpenWithoutConnection(source_, lockType_);
    Open(source_, connection_, cursorType_, lockType_, adCmdUnknown);
}

void Recordset::Prepare(CursorTypeEnum cursorType, LockTypeEnum lockType) {
    if (!cursorLocationSet_) cursorLocation_ = connection_->CursorLocation();
    if (cursorType != adOpenUnspecified) cursorType_ = cursorType;
    if (lockType != adLockUnspecified) lockType_ = lockType;
    // A client cursor is always static; the others keep the type asked for.
    if (cursorLocation_ == adUseClient) cursorType_ = adOpenStatic;
}

void Recordset::Open(const CommandPtr& command, CursorTypeEnum cursorType, LockTypeEnum lockType) {
    RequireClosed();
    if (!command) Raise(Condition::InvalidArgument);
    connection_ = command->RequireConnection();
    sourceCommand_ = command;
    source_ = command->CommandText();
    Prepare(cursorType, lockType);
    provider::Statement shape;
    shape.text = source_;
    shape.timeoutSeconds = command->CommandTimeout();
    shape.rowIdentity = lockType_ != adLockReadOnly;
    if (LoadHierarchy(shape)) return;
    // The command's own run: its parameters, and its compiled statement while Prepared.
    cursor::RowStore rows;
    if (command->RunInto(connection_, command->CommandType(), Variant(), rows, lockType_ != adLockReadOnly) >= 0)
        return;
    Start(std::move(rows));
}

void Recordset::Open(std::string_view source, const ConnectionPtr& activeConnection, CursorTypeEnum cursorType,
                     LockTypeEnum lockType, int32_t options) {
    RequireClosed();
    if (!activeConnection) return OpenWithoutConnection(source, lockType);
    if (activeConnection->State() == adStateClosed) Raise(Condition::ObjectClosed);
    if (source.empty()) Raise(Condition::InvalidArgument);
    connection_ = activeConnection;
    source_ = source;
    sourceCommand_.reset();
    Prepare(cursorType, lockType);
    auto type = static_cast<CommandTypeEnum>(options & ~adExecuteNoRecords);
    if (type == adCmdUnspecified) type = adCmdUnknown;
    provider::Statement st;
    st.text = source_;
    st.type = type;
    st.timeoutSeconds = connection_->CommandTimeout();
    st.rowIdentity = lockType_ != adLockReadOnly;
    Load(st);
}

void Recordset::Load(const provider::Statement& st) {
    if (LoadHierarchy(st)) return;
    provider::Session& session = detail::EngineAccess::Session(*connection_);
    cursor::RowStore rows;
    const int64_t affected =
        detail::EngineAccess::Guard(*connection_, st.text, [&] { return session.Execute(st, rows); });
    if (affected >= 0) return;  // an action statement leaves the recordset closed
    Start(std::move(rows));
}

bool Recordset::LoadHierarchy(const provider::Statement& st) {
    // A hierarchy: one rowset per level, whose chapters open as a file's do.
    provider::Session& session = detail::EngineAccess::Session(*connection_);
    persist::RowsetFile hierarchy;
    if (!detail::EngineAccess::Guard(*connection_, st.text, [&] { return session.ExecuteHierarchy(st, hierarchy); }))
        return false;
    OpenHierarchy(std::make_shared<persist::RowsetFile>(std::move(hierarchy)), lockType_);
    return true;
}

void Recordset::Adopt(cursor::RowStore&& rows, const ConnectionPtr& connection, std::string source) {
    RequireClosed();
    connection_ = connection;
    source_ = std::move(source);
    Start(std::move(rows));
}

void Recordset::Start(cursor::RowStore&& rows) {
    // A fresh state: fields handed out by an earlier open keep the old one alive.
    state_ = std::make_shared<cursor::Cursor>();
    cursor::Cursor& s = *state_;
    s.store = std::move(rows);
    cursor::NumberBaseTables(s.store.Columns());
    s.scrollable = !(cursorLocation_ == adUseServer && cursorType_ == adOpenForwardOnly);
    s.bookmarks = cursorLocation_ == adUseClient || cursorType_ == adOpenKeyset || cursorType_ == adOpenStatic;
    RebuildFields();
    s.ShowRows({});
    s.open = true;
    s.owner = this;
    filter_ = Variant(int32_t{adFilterNone});
    file_.reset();
    persistedFile_.clear();
    if (!sort_.empty()) {
        // A Sort set before Open orders the rows once they are there; one that names no field
        // of them, or a server cursor, leaves them in their order.
        try {
            if (cursorLocation_ != adUseClient) Raise(Condition::NotSupported);
            ApplySort(sort_);
        } catch (const Error&) {
            sort_.clear();
        }
    }
}

void Recordset::Close() {
    RequireOpen();
    if (state_->editMode != adEditNone) Raise(Condition::EditInProgress);
    state_->open = false;
    state_->owner = nullptr;
    file_.reset();
    // The fields stay defined, without rows, as ADO keeps them after Close (the row
    // identities go with the rows).
    auto closed = std::make_shared<cursor::Cursor>();
    const auto& columns = state_->store.Columns();
    closed->store = cursor::RowStore({columns.begin(), columns.begin() + static_cast<std::ptrdiff_t>(
                                                                             cursor::VisibleColumnCount(columns))});
    closed->owner = this;
    state_ = std::move(closed);
    RebuildFields();
}

ado::Fields& Recordset::Fields() { return state_->fields; }

EditModeEnum Recordset::EditMode() const {
    RequireOpen();
    if (state_->editMode == adEditNone) state_->RequireCurrent();
    return state_->editMode;
}

bool Recordset::Supports(CursorOptionEnum option) const {
    int32_t caps = adFind;
    if (lockType_ != adLockReadOnly) caps |= adAddNew | adDelete | adUpdate;
    if (lockType_ == adLockBatchOptimistic || (lockType_ != adLockReadOnly && cursorLocation_ == adUseClient))
        caps |= adUpdateBatch;
    if (state_->scrollable) caps |= adMovePrevious | adHoldRecords;
    if (state_->bookmarks || (!state_->open && (cursorLocation_ == adUseClient || cursorType_ == adOpenKeyset ||
                                                cursorType_ == adOpenStatic)))
        caps |= adBookmark | adApproxPosition;
    return (caps & option) == option;
}

int32_t Recordset::RecordCount() const {
    RequireOpen();
    // Forward-only and dynamic server cursors do not know their count.
    if (cursorLocation_ == adUseServer && (cursorType_ == adOpenForwardOnly || cursorType_ == adOpenDynamic))
        return -1;
    return static_cast<int32_t>(state_->CountedRows());
}

}  // namespace ado
