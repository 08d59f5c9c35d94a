// Recordset: opening a recordset file and saving to one.
#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "ado/Recordset.h"
#include "ado/connection_string.h"
#include "ado/cursor/cursor.h"
#include "ado/error_numbers.h"
#include "ado/persist/persist.h"
#include "ado/persist/relation_key.h"

namespace ado {

namespace {

bool IsPersistProvider(std::string_view connectionString) {
    const auto provider = ConnectionString::Parse(connectionString).Get("Provider");
    return provider && EqualsNoCase(*provider, "MsPersist");
}

// The rows of a child rowset that relate to each key of its relation columns.
using ChildIndex = std::unordered_map<std::string, std::vector<cursor::RowId>>;

ChildIndex IndexChildRows(const persist::Rowset& child, const std::vector<persist::RelationPair>& relation) {
    ChildIndex index;
    for (cursor::RowId row = 0; row < child.rows.RowCount(); ++row) {
        if (!persist::KeptInFile(child.rows, child.pending, row)) continue;
        std::string key;
        bool related = true;
        for (const persist::RelationPair& r : relation)
            related = related && persist::AddToKey(key, child.rows.Get(row, r.child - 1));
        if (related) index[key].push_back(row);
    }
    return index;
}

// A copy of some rows of a rowset, with their pending changes, as a rowset of their own.
persist::Rowset Subset(const persist::Rowset& from, const std::vector<cursor::RowId>& rows) {
    persist::Rowset sub;
    sub.rows = cursor::RowStore(from.rows.Columns());
    sub.extras = from.extras;
    sub.updatable = from.updatable;
    sub.reshapeName = from.reshapeName;
    sub.commandTimeout = from.commandTimeout;
    sub.rows.Reserve(rows.size());
    for (cursor::RowId row : rows) {
        const cursor::RowId copy = sub.rows.BeginRow();
        for (size_t c = 0; c < from.rows.ColumnCount(); ++c) sub.rows.PutVariant(from.rows.Get(row, c));
        sub.rows.SetFlags(copy, from.rows.Flags(row));
        if (auto it = from.pending.find(row); it != from.pending.end()) sub.pending.emplace(copy, it->second);
    }
    return sub;
}

}  // namespace

void Recordset::Open(std::string_view source, std::string_view connectionString, CursorTypeEnum cursorType,
                     LockTypeEnum lockType, int32_t options) {
    RequireClosed();
    if (IsPersistProvider(connectionString)) return OpenFile(source, lockType);
    auto connection = Connection::Create();
    connection->CursorLocation(cursorLocationSet_ ? cursorLocation_ : adUseServer);
    connection->Open(connectionString);
    Open(source, connection, cursorType, lockType, options);
}

void Recordset::Open(std::string_view source, std::nullptr_t, CursorTypeEnum, LockTypeEnum lockType, int32_t) {
    RequireClosed();
    OpenWithoutConnection(source, lockType);
}

void Recordset::OpenWithoutConnection(std::string_view source, LockTypeEnum lockType) {
    // Without a connection only a recordset file can be opened.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(source), ec))
        Raise(Condition::ObjectClosed, "(no hay conexión, y '" + std::string(source) + "' no es un archivo)");
    OpenFile(source, lockType);
}

void Recordset::OpenFile(std::string_view path, LockTypeEnum lockType) {
    if (path.empty()) Raise(Condition::InvalidArgument);
    auto file = std::make_shared<persist::RowsetFile>(persist::ReadFile(std::string(path)));
    // A file that says it cannot be changed opens read-only; otherwise batch optimistic,
    // unless optimistic or read-only was asked for.
    if (!file->rowsets[0].updatable) lockType = adLockReadOnly;
    else if (lockType != adLockReadOnly && lockType != adLockOptimistic) lockType = adLockBatchOptimistic;
    connection_ = nullptr;
    source_ = path;
    sourceCommand_.reset();
    OpenHierarchy(file, lockType);
    persistedFile_ = path;
    persistedFormat_ = file->format;
}

void Recordset::OpenHierarchy(const std::shared_ptr<persist::RowsetFile>& file, LockTypeEnum lockType) {
    // The root's rows move into the cursor; the model keeps its columns for saving.
    persist::Rowset root = std::move(file->rowsets[0]);
    file->rowsets[0].rows = cursor::RowStore(root.rows.Columns());
    file->rowsets[0].extras = root.extras;
    file->rowsets[0].reshapeName = root.reshapeName;
    file->rowsets[0].commandTimeout = root.commandTimeout;
    OpenRowset(std::move(root), lockType, file, 0);
}

void Recordset::OpenRowset(persist::Rowset&& rowset, LockTypeEnum lockType,
                           const std::shared_ptr<persist::RowsetFile>& file, size_t index) {
    cursorLocation_ = adUseClient;
    cursorLocationSet_ = true;
    cursorType_ = adOpenStatic;
    lockType_ = lockType;
    // Each chapter holds a recordset of the child rows related to its row.
    for (size_t c = 0; c < rowset.rows.ColumnCount(); ++c) {
        const persist::ColumnExtra& extra = rowset.extras[c];
        if (rowset.rows.Columns()[c].type != adChapter || extra.child < 0) continue;
        const auto childIndex = static_cast<size_t>(extra.child);
        const ChildIndex related = IndexChildRows(file->rowsets[childIndex], extra.relation);
        for (cursor::RowId row = 0; row < rowset.rows.RowCount(); ++row) {
            std::string key;
            bool keyed = true;
            for (const persist::RelationPair& r : extra.relation)
                keyed = keyed && persist::AddToKey(key, rowset.rows.Get(row, r.parent - 1));
            const auto it = keyed ? related.find(key) : related.end();
            const std::vector<cursor::RowId> none;
            auto chapter = Recordset::Create();
            // Chapters write through the parent's connection; a row added to one relates to its parent.
            chapter->connection_ = connection_;
            for (const persist::RelationPair& r : extra.relation)
                chapter->relatedValues_.emplace_back(r.child - 1, rowset.rows.Get(row, r.parent - 1));
            chapter->OpenRowset(Subset(file->rowsets[childIndex], it == related.end() ? none : it->second), lockType,
                                file, childIndex);
            rowset.rows.Set(row, c, Variant(chapter));
        }
    }
    Start(std::move(rowset.rows));
    state_->pending = std::move(rowset.pending);
    if (index == 0 && file->rowsets.size() > 1) file_ = file;
}

void Recordset::PersistedFile(std::string_view path, PersistFormatEnum format) {
    persistedFile_ = path;
    persistedFormat_ = format;
}

persist::FileSource Recordset::SaveSource() const {
    const cursor::Cursor& s = *state_;
    persist::FileSource source;
    persist::RowsetSource& root = source.rowsets.emplace_back();
    root.rows = &s.store;
    root.pending = &s.pending;
    const persist::Rowset* fileRoot = file_ ? &file_->rowsets[0] : nullptr;
    for (size_t c = 0; c < cursor::VisibleColumnCount(s.store.Columns()); ++c) {
        root.columns.push_back(c);
        persist::ColumnExtra extra;
        // A hierarchy's chapters and calculations are those of the file's column of that name.
        for (size_t f = 0; fileRoot && f < fileRoot->rows.ColumnCount(); ++f)
            if (EqualsNoCase(fileRoot->rows.Columns()[f].name, s.store.Columns()[c].name)) extra = fileRoot->extras[f];
        root.extras.push_back(std::move(extra));
    }
    // Only a criteria filter limits the rows; the others show a view of what is saved whole.
    if (filter_.IsText() && !filter_.AsString().empty()) {
        root.order = s.Visible();
    } else {
        for (cursor::RowId row = 0; row < s.store.RowCount(); ++row)
            if (persist::KeptInFile(s.store, s.pending, row)) root.order.push_back(row);
    }
    root.updatable = lockType_ != adLockReadOnly;
    if (fileRoot) {
        root.reshapeName = fileRoot->reshapeName;
        root.commandTimeout = fileRoot->commandTimeout;
        const persist::FileSource children = persist::SourceOf(*file_);
        for (size_t i = 1; i < children.rowsets.size(); ++i) source.rowsets.push_back(children.rowsets[i]);
    }
    return source;
}

bool Recordset::HasPendingChanges() const {
    const cursor::Cursor& s = *state_;
    std::vector<size_t> chapters;
    for (size_t c = 0; c < s.store.ColumnCount(); ++c)
        if (s.store.Columns()[c].type == adChapter) chapters.push_back(c);
    for (cursor::RowId row = 0; row < s.store.RowCount(); ++row) {
        if (s.IsPending(row)) return true;
        for (size_t c : chapters) {
            const Variant chapter = s.store.Get(row, c);
            if (chapter.Type() == VariantType::Object && chapter.AsObject() && chapter.AsObject()->HasPendingChanges())
                return true;
        }
    }
    return false;
}

void Recordset::Save(std::string_view destination, PersistFormatEnum persistFormat) {
    RequireOpen();
    if (state_->editMode != adEditNone) Update();
    const bool again = destination.empty();
    if (again && persistedFile_.empty()) Raise(Condition::InvalidArgument, "(no se indicó el archivo de destino)");
    const std::string path = again ? persistedFile_ : std::string(destination);
    const PersistFormatEnum format = again ? persistedFormat_ : persistFormat;
    // As ADO: the XML format cannot keep a hierarchy's pending changes (ADTG can), its chapters' included.
    const auto& columns = state_->store.Columns();
    if (format == adPersistXML &&
        std::any_of(columns.begin(), columns.end(), [](const cursor::ColumnInfo& c) { return c.type == adChapter; }) &&
        HasPendingChanges())
        persist::RefusePendingHierarchyInXml();
    persist::SaveFile(SaveSource(), path, format, again);
    persistedFile_ = path;
    persistedFormat_ = format;
    MoveFirst();
}

}  // namespace ado
