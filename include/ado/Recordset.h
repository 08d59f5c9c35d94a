// ado::Recordset: rows from a source, a current position and, on updatable cursors, edits.
//
// Every recordset is served by the client cursor engine: the rows are read into memory when
// it opens. CursorLocation says who would own the cursor on the platform: a client cursor
// (adUseClient) is always static and scrollable with stable bookmarks; a server cursor keeps
// the requested type and its limits (a forward-only one cannot move backwards, has no
// bookmarks and reports RecordCount -1).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ado/Connection.h"
#include "ado/Enums.h"
#include "ado/Field.h"
#include "ado/Properties.h"
#include "ado/Variant.h"

namespace ado {

namespace cursor {
struct CursorState;
class RowStore;
}

class Recordset : public std::enable_shared_from_this<Recordset> {
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;
    static RecordsetPtr Create() { return std::make_shared<Recordset>(); }

    // Opens with the properties set before (Source, ActiveConnection, CursorType, ...);
    // arguments that are given override them. Source is SQL text or a table name.
    void Open();
    void Open(std::string_view source, const ConnectionPtr& activeConnection,
              CursorTypeEnum cursorType = adOpenUnspecified, LockTypeEnum lockType = adLockUnspecified,
              int32_t options = adCmdUnknown);
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

    std::string Source() const { return source_; }
    void Source(std::string_view source);
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

    // Engine side: opens over rows already read (Connection::Execute).
    void Adopt(cursor::RowStore&& rows, const ConnectionPtr& connection, std::string source);

private:
    void RequireOpen() const;
    void RequireClosed() const;
    void RequireScrollable() const;
    void Load(const std::string& text, CommandTypeEnum type);
    void Start(cursor::RowStore&& rows);

    std::shared_ptr<cursor::CursorState> state_;
    ConnectionPtr connection_;
    std::string source_;
    CursorTypeEnum cursorType_ = adOpenForwardOnly;
    LockTypeEnum lockType_ = adLockReadOnly;
    CursorLocationEnum cursorLocation_ = adUseServer;
    bool cursorLocationSet_ = false;  // otherwise inherited from the connection at Open
    MarshalOptionsEnum marshalOptions_ = adMarshalAll;
    ado::Properties properties_;
};

}  // namespace ado
