#include "ado/persist/persist.h"

#include "ado/error_numbers.h"
#include "ado/persist/file_output.h"

namespace ado::persist {

namespace {

class FileSink final : public ByteSink {
public:
    explicit FileSink(AtomicFile& file) : file_(file) {}
    void Write(std::string_view bytes) override { file_.Write(bytes); }

private:
    AtomicFile& file_;
};

}  // namespace

RowsetFile ReadAny(ByteSource& in) {
    // ADTG starts with its header token; XML with '<', a byte order mark or white space.
    RowsetFile file = in.Peek() == 0x01 ? ReadAdtg(in) : ReadXml(in);
    for (Rowset& rowset : file.rowsets) rowset.rows.ShrinkToFit();  // the readers reserve by estimate
    return file;
}

RowsetFile ReadFile(const std::string& path) {
    ByteSource in = ByteSource::OpenFile(path);
    return ReadAny(in);
}

void SaveFile(const FileSource& source, const std::string& path, PersistFormatEnum format, bool replace) {
    if (format != adPersistADTG && format != adPersistXML) Raise(Condition::InvalidArgument, "(formato de archivo)");
    AtomicFile file(path);
    FileSink sink(file);
    if (format == adPersistXML) WriteXml(source, sink);
    else WriteAdtg(source, sink);
    file.Commit(replace);
}

FileSource SourceOf(const RowsetFile& file) {
    FileSource source;
    source.crlf = file.crlf;
    for (const Rowset& r : file.rowsets) {
        RowsetSource& s = source.rowsets.emplace_back();
        s.rows = &r.rows;
        s.pending = &r.pending;
        // Row identities read for writing back are not saved (they come last).
        const size_t visible = cursor::VisibleColumnCount(r.rows.Columns());
        for (size_t c = 0; c < visible; ++c) s.columns.push_back(c);
        s.extras.assign(r.extras.begin(), r.extras.begin() + static_cast<std::ptrdiff_t>(visible));
        for (cursor::RowId row = 0; row < r.rows.RowCount(); ++row)
            if (KeptInFile(r.rows, r.pending, row)) s.order.push_back(row);
        s.updatable = r.updatable;
        s.reshapeName = r.reshapeName;
        s.commandTimeout = r.commandTimeout;
    }
    return source;
}

}  // namespace ado::persist
