// Recordset: opening a recordset file and saving to one.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "ado/Recordset.h"
#include "ado/connection_string.h"
#include "ado/cursor/cursor.h"
#include "ado/error_numbers.h"
#include "ado/persist/persist.h"
#include "ado/recordset_chapters.h"

namespace ado {

namespace {

// A rowset's rows and pending changes move into a cursor; the model keeps its columns,
// chapters and properties for saving.
persist::Rowset TakeRows(persist::Rowset& model) {
    persist::Rowset rows = std::move(model);
    model.rows = cursor::RowStore(rows.rows.Columns());
    model.extras = rows.extras;
    model.updatable = rows.updatable;
    model.reshapeName = rows.reshapeName;
    model.commandTimeout = rows.commandTimeout;
    return rows;
}

bool IsPersistProvider(std::string_view connectionString) {
    const auto provider = ConnectionString::Parse(connectionString).Get("Provider");
    return provider && EqualsNoCase(*provider, "MsPersist");
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
    OpenRowset(TakeRows(file->rowsets[0]), lockType, file, 0);
}

void Recordset::OpenRowset(persist::Rowset&& rowset, LockTypeEnum lockType,
                           const std::shared_ptr<persist::RowsetFile>& file, size_t index) {
    cursorLocation_ = adUseClient;
    cursorLocationSet_ = true;
    cursorType_ = adOpenStatic;
    lockType_ = lockType;
    // One recordset per chapter column holds the child level; each row's chapter shows it
    // filtered to the rows related to that row (Field::Value has it follow the row read).
    for (size_t c = 0; c < rowset.rows.ColumnCount(); ++c) {
        const persist::ColumnExtra& extra = rowset.extras[c];
        if (rowset.rows.Columns()[c].type != adChapter || extra.child < 0) continue;
        const auto childIndex = static_cast<size_t>(extra.child);
        auto chapter = Recordset::Create();
        // Chapters write through the parent's connection.
        chapter->connection_ = connection_;
        chapter->chapter_ = MakeChapterView(file->rowsets[childIndex], extra.relation);
        chapter->OpenRowset(TakeRows(file->rowsets[childIndex]), lockType, file, childIndex);
        const Variant value(chapter);
        for (cursor::RowId row = 0; row < rowset.rows.RowCount(); ++row) rowset.rows.Set(row, c, value);
        chapterColumns_.emplace_back(c, chapter);
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
    if (!fileRoot) return source;
    root.reshapeName = fileRoot->reshapeName;
    root.commandTimeout = fileRoot->commandTimeout;
    // The children are the rows of the chapters' recordsets, as edited, in depth-first
    // pre-order; their columns' chapters and calculations are those of the file's rowset.
    const persist::RowsetFile& file = *file_;
    std::function<int32_t(const Recordset&, size_t)> addChapter = [&](const Recordset& chapter, size_t inFile) {
        const cursor::Cursor& cs = *chapter.state_;
        const persist::Rowset& model = file.rowsets[inFile];
        const size_t index = source.rowsets.size();
        persist::RowsetSource& child = source.rowsets.emplace_back();
        child.rows = &cs.store;
        child.pending = &cs.pending;
        const size_t visible = cursor::VisibleColumnCount(cs.store.Columns());
        for (size_t c = 0; c < visible; ++c) child.columns.push_back(c);
        child.extras.assign(model.extras.begin(), model.extras.begin() + static_cast<std::ptrdiff_t>(visible));
        for (cursor::RowId row = 0; row < cs.store.RowCount(); ++row)
            if (persist::KeptInFile(cs.store, cs.pending, row)) child.order.push_back(row);
        child.updatable = model.updatable;
        child.reshapeName = model.reshapeName;
        child.commandTimeout = model.commandTimeout;
        for (const auto& [column, grandchild] : chapter.chapterColumns_) {
            const int32_t at = addChapter(*grandchild, static_cast<size_t>(model.extras[column].child));
            source.rowsets[index].extras[column].child = at;
        }
        return static_cast<int32_t>(index);
    };
    for (const auto& [column, chapter] : chapterColumns_) {
        if (column >= source.rowsets[0].extras.size() || source.rowsets[0].extras[column].child < 0) continue;
        const int32_t at = addChapter(*chapter, static_cast<size_t>(source.rowsets[0].extras[column].child));
        source.rowsets[0].extras[column].child = at;
    }
    return source;
}

bool Recordset::HasPendingChanges() const {
    const cursor::Cursor& s = *state_;
    std::unordered_set<const Recordset*> chapters;  // the rows of a column share their chapter's recordset
    for (cursor::RowId row = 0; row < s.store.RowCount(); ++row) {
        if (s.IsPending(row)) return true;
        for (size_t c = 0; c < s.store.ColumnCount(); ++c) {
            if (s.store.Columns()[c].type != adChapter) continue;
            const Variant chapter = s.store.Get(row, c);
            if (chapter.Type() == VariantType::Object && chapter.AsObject()) chapters.insert(chapter.AsObject().get());
        }
    }
    return std::any_of(chapters.begin(), chapters.end(), [](const Recordset* r) { return r->HasPendingChanges(); });
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
