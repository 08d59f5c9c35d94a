// ado::Recordset: rows from a source, a current position and, on updatable cursors, edits.
//
// Every recordset is served by the client cursor engine: the rows are read into memory when
// it opens. CursorLocation says who would own the cursor on the platform: a client cursor
// (adUseClient) is always static and scrollable with stable bookmarks; a server cursor keeps
// the requested type and its limits (a forward-only one cannot move backwards, has no
// bookmarks and reports RecordCount -1).
//
// Editing. A cursor opened with adLockOptimistic or adLockPessimistic writes each row to
// its base table at Update (immediate mode); adLockBatchOptimistic keeps the changes
// pending, with each row's original values and status, until UpdateBatch writes them in
// one transaction. Assigning a field starts an edit (EditMode 1), AddNew an addition (2).
// Update's WHERE holds the key plus the columns the "Update Criteria" property names; a
// row that no longer matches fails with -2147217864 and stays pending. A recordset whose
// ActiveConnection is set to null keeps working disconnected: its edits stay pending until
// it is reconnected and UpdateBatch runs. Moving off an edited row saves it first.
// EditMode returns to adEditNone after every successful Update, in batch mode too.
//
// One row per write. An updatable cursor keeps each base-table row's identity where the
// engine has one (the embedded engine's rowid; never a Field, never saved, dropped when the
// recordset is disconnected), and Update and Delete write WHERE identity AND the criteria.
// A write without identity whose criteria hold no key column is undone when it would change
// more than one row, and fails with -2147467259; a row not found fails with -2147217864.
//
// Pessimistic editing (adLockPessimistic, immediate mode): the first field assignment locks
// that one record for the connection until Update or CancelUpdate, without a transaction, so
// cancelling undoes nothing else and BeginTrans works meanwhile. Another connection that
// edits, updates or deletes that record through a recordset meets 3260 after its lock wait;
// other records and tables stay free. Plain SQL run through Execute does not look at record
// locks on the embedded engine.
//
// Files. A recordset opened on a file name with no connection (or with the connection string
// "Provider=MsPersist") reads ADO's ADTG or XML recordset file: a client-side, static, batch
// optimistic recordset with no connection, its pending changes and original values intact, so
// that UpdateBatch sends them once a connection is set, and CancelBatch restores the originals.
// A hierarchy's chapter fields hold child recordsets (copies of the child rows). Save writes the
// rows, pending changes included, as ADTG or XML; it refuses a file that exists (58), and
// Save() with no destination writes over the file last saved to or opened from, in that
// file's format. Only a criteria Filter limits the rows saved; saving moves to the first row.
// A file is written beside its destination and moved into place when complete. A hierarchy
// with pending changes cannot be saved as XML (3251). LockType may change on an open client
// recordset between adLockOptimistic and adLockBatchOptimistic; other changes fail with 3705.
//
// Server cursors (adUseServer) are served by the same engine. A server cursor does not
// support Sort, Filter with criteria, field indexes or disconnection.
//
// Ownership: a recordset lives in a RecordsetPtr made by Create and holds its connection
// alive while connected. Threads: it is used with its connection, on one thread at a time; a
// disconnected one (ActiveConnection null) may be handed to another thread as a whole.
// Errors: failures are thrown as ado::Error with ADO's numbers; a failing open names its
// statement (Error::Statement) and also lands in the connection's Errors.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ado/Command.h"
#include "ado/Connection.h"
#include "ado/Enums.h"
#include "ado/Field.h"
#include "ado/Properties.h"
#include "ado/Variant.h"

namespace ado {

namespace provider {
struct Statement;
}
namespace persist {
struct Rowset;
struct RowsetFile;
struct FileSource;
}
namespace cursor {
class Cursor;
class RowStore;
using RowId = uint32_t;
}
namespace detail {
class EngineAccess;
}

class Recordset : public std::enable_shared_from_this<Recordset> {
    struct Passkey {
        explicit Passkey() = default;
    };

public:
    // Made only by Create: a recordset is always held by a RecordsetPtr.
    explicit Recordset(Passkey);
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;
    static RecordsetPtr Create() { return std::make_shared<Recordset>(Passkey{}); }

    // Opens with the properties set before (Source, ActiveConnection, CursorType, ...);
    // arguments that are given override them. Source is SQL text or a table name.
    void Open();
    void Open(std::string_view source, const ConnectionPtr& activeConnection,
              CursorTypeEnum cursorType = adOpenUnspecified, LockTypeEnum lockType = adLockUnspecified,
              int32_t options = adCmdUnknown);
    // Opens over a command: its connection, text, type and parameters.
    void Open(const CommandPtr& command, CursorTypeEnum cursorType = adOpenUnspecified,
              LockTypeEnum lockType = adLockUnspecified);
    // Opens on a new connection made from the connection string; "Provider=MsPersist" opens
    // the file `source` names.
    void Open(std::string_view source, std::string_view connectionString,
              CursorTypeEnum cursorType = adOpenUnspecified, LockTypeEnum lockType = adLockUnspecified,
              int32_t options = adCmdUnknown);
    // No connection: `source` is a recordset file.
    void Open(std::string_view source, std::nullptr_t, CursorTypeEnum cursorType = adOpenUnspecified,
              LockTypeEnum lockType = adLockUnspecified, int32_t options = adCmdUnknown);
    // Writes the recordset to a file: adPersistADTG or adPersistXML.
    void Save(std::string_view destination = {}, PersistFormatEnum persistFormat = adPersistADTG);
    void Close();
    ObjectStateEnum State() const;

    bool adoEOF() const;
    bool BOF() const;
    // Bookmarks are Variants (R8) that stay valid for the life of the open recordset.
    Variant Bookmark() const;
    void Bookmark(const Variant& bookmark);
    int32_t RecordCount() const;
    // 1-based; adPosBOF / adPosEOF / adPosUnknown where there is no current row.
    int32_t AbsolutePosition() const;
    void AbsolutePosition(int32_t position);

    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    // Moves `rows` from the current row, or from `start` (a bookmark or a BookmarkEnum value).
    void Move(int32_t rows, const Variant& start = Variant());

    ado::Fields& Fields();
    bool Supports(CursorOptionEnum option) const;
    EditModeEnum EditMode() const;

    void AddNew();
    void Update();
    void CancelUpdate();
    void Delete(AffectEnum affect = adAffectCurrent);
    void UpdateBatch(AffectEnum affect = adAffectAll);
    void CancelBatch(AffectEnum affect = adAffectAll);
    // Not in ADO: every row without a pending change becomes a pending insertion of all its
    // fields, so that a batch update (or a file of the recordset sent to another database)
    // adds the rows there. Rows already pending keep their change.
    void PendingAsNew();
    // RecordStatusEnum bits of the current row.
    int32_t Status() const;
    // Searching, filtering and sorting in memory (client cursor engine).
    //
    // Find moves to the first row that meets `criteria` ("Field op Value", one clause; see
    // src/ado/criteria/criteria.h for the forms), searching from the current row (start
    // adBookmarkCurrent, the default), the first or last row (adBookmarkFirst/Last) or a
    // bookmark, `skipRecords` rows away from it in `searchDirection`. Nothing found leaves the
    // cursor at EOF (forward) or BOF (backward). Fails with 3021 when it should start from the
    // current row and there is none, 3001 for criteria it cannot read (the position unchanged),
    // 3265 for a field that is not there. A field made an index with its "Optimize" property
    // is searched through it.
    void Find(std::string_view criteria, int32_t skipRecords = 0, SearchDirectionEnum searchDirection = adSearchForward,
              const Variant& start = Variant());
    // A criteria string (clauses joined by AND and OR), an array of bookmarks of this
    // recordset, or a FilterGroupEnum value; "" and adFilterNone remove it. The rows shown
    // (and RecordCount, AbsolutePosition, Move*, bookmarks) are those that met the filter when
    // it was set: a row edited afterwards stays until the filter is set again; rows added are
    // shown. The cursor moves to the first row shown. A bookmark that is no row of this
    // recordset fails with -2147217906 and leaves the filter as it was; criteria on a server
    // cursor fail with 3251.
    Variant Filter() const { return filter_; }
    void Filter(const Variant& filter);
    // "Field [ASC|DESC], ..." (also ASCENDING/DESCENDING, [names with spaces]); a stable order
    // of the rows shown, under any filter; "" restores the order of arrival. The current row
    // stays current. A server cursor refuses with 3251. Set before Open, it applies at Open.
    std::string Sort() const { return sort_; }
    void Sort(std::string_view sort);

    std::string Source() const { return source_; }
    void Source(std::string_view source);
    void Source(const CommandPtr& command);
    ConnectionPtr ActiveConnection() const { return connection_; }
    void ActiveConnection(const ConnectionPtr& connection);
    CursorTypeEnum CursorType() const;
    void CursorType(CursorTypeEnum type);
    LockTypeEnum LockType() const { return lockType_; }
    void LockType(LockTypeEnum type);
    CursorLocationEnum CursorLocation() const { return cursorLocation_; }
    void CursorLocation(CursorLocationEnum location);
    MarshalOptionsEnum MarshalOptions() const { return marshalOptions_; }
    void MarshalOptions(MarshalOptionsEnum options) { marshalOptions_ = options; }
    ado::Properties& Properties() { return properties_; }

    // The file Save() with no destination writes to: the one last saved to or opened from
    // (empty when none). Setting it also says which format that file is in.
    const std::string& PersistedFile() const { return persistedFile_; }
    void PersistedFile(std::string_view path, PersistFormatEnum format);

    struct ChapterView;  // what a chapter's recordset shows (recordset_chapters.h)

private:
    // The engine side below is reached through detail::EngineAccess (src/ado/engine_access.h).
    friend class detail::EngineAccess;
    // A chapter field of `parent`'s row `row` was read. This recordset, a chapter's, holds the
    // whole child level and shows the child rows related to that row.
    void FollowParent(const cursor::Cursor& parent, cursor::RowId row);
    // A field of the current row was assigned; Fields::Append and Delete.
    void SetFieldValue(size_t column, const Variant& value);
    void AppendField(std::string_view name, DataTypeEnum type, int32_t definedSize, int32_t attributes,
                     const Variant& value);
    void DeleteField(size_t column);
    // Opens over rows already read (Connection::Execute, Command::Execute).
    void Adopt(cursor::RowStore&& rows, const ConnectionPtr& connection, std::string source);

    void RequireOpen() const;
    void RequireClosed() const;
    void RequireScrollable() const;
    void Load(const provider::Statement& statement);
    // Opens the statement's hierarchy when it gives one (a SHAPE command); false otherwise.
    bool LoadHierarchy(const provider::Statement& statement);
    void Prepare(CursorTypeEnum cursorType, LockTypeEnum lockType);
    void Start(cursor::RowStore&& rows);
    void RebuildFields();
    void RequireUpdatable() const;
    bool Immediate() const;
    void BeginEdit(cursor::RowId row);
    void AddedToChapter(cursor::RowId row);  // a row added to a chapter's recordset relates to its parent
    void WriteEdit();
    void KeepEditPending();
    void KeepAssignedValues();
    void DeleteRow(cursor::RowId row);
    void ForgetRowIdentities();  // the hidden identity columns leave when the connection does
    void ReleaseLock();          // ends the pessimistic edit's record lock, if any
    bool LeaveRow();  // before a move: saves an edit; true when a deleted current row left
    void OpenWithoutConnection(std::string_view source, LockTypeEnum lockType);
    void OpenFile(std::string_view path, LockTypeEnum lockType);
    // Opens over a hierarchy's root (a file's, or a SHAPE command's); `file` keeps the rest.
    void OpenHierarchy(const std::shared_ptr<persist::RowsetFile>& file, LockTypeEnum lockType);
    // Opens over a rowset of a file; its chapters take their rows from `file`'s children.
    void OpenRowset(persist::Rowset&& rowset, LockTypeEnum lockType,
                    const std::shared_ptr<persist::RowsetFile>& file, size_t index);
    persist::FileSource SaveSource() const;
    // Whether this recordset or the recordset of any of its chapters has changes waiting for UpdateBatch.
    bool HasPendingChanges() const;
    size_t ColumnOfField(const std::string& name) const;  // 3265 when no field has the name
    void ApplySort(std::string_view sort);

    std::shared_ptr<cursor::Cursor> state_;
    ConnectionPtr connection_;
    std::string source_;
    CommandPtr sourceCommand_;
    CursorTypeEnum cursorType_ = adOpenForwardOnly;
    LockTypeEnum lockType_ = adLockReadOnly;
    CursorLocationEnum cursorLocation_ = adUseServer;
    bool cursorLocationSet_ = false;  // otherwise inherited from the connection at Open
    MarshalOptionsEnum marshalOptions_ = adMarshalAll;
    Variant filter_ = Variant(int32_t{adFilterNone});
    std::string sort_;
    ado::Properties properties_;
    std::string persistedFile_;
    PersistFormatEnum persistedFormat_ = adPersistADTG;
    // A hierarchy opened from a file: its child rowsets, and the root's chapters and
    // properties (the root's rows live in the cursor).
    std::shared_ptr<persist::RowsetFile> file_;
    // A chapter's recordset: its rows by relation key, and the parent row it follows.
    std::shared_ptr<ChapterView> chapter_;
    // A hierarchy's chapter columns and the recordset of each, which rows added later show too.
    std::vector<std::pair<size_t, std::shared_ptr<Recordset>>> chapterColumns_;
    // The columns a row added to a chapter takes from its parent row, and their values.
    std::vector<std::pair<size_t, Variant>> relatedValues_;
};

}  // namespace ado
