// Recordset files in ADO's two persistence formats: ADTG (binary) and XML.
//
// Readers build the whole file model (every rowset of a hierarchy, pending changes with their
// originals) reading the file a piece at a time; they fail with an ado::Error (E_FAIL) whose
// description names the file and the offset (ADTG) or the line and element (XML). Writers
// take borrowed views of the rows and write through a sink; SaveFile writes a file beside its
// destination and moves it into place only when complete.
#pragma once

#include <string>
#include <string_view>

#include "ado/Enums.h"
#include "ado/persist/byte_source.h"
#include "ado/persist/rowset_file.h"
#include "ado/persist/save_source.h"

namespace ado::persist {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(std::string_view bytes) = 0;
};

// What a writer has written and not yet handed to its sink, handed over a megabyte at a time.
class SinkBuffer {
public:
    explicit SinkBuffer(ByteSink& out) : out_(out) {}
    std::string text;
    void FlushIfFull() {
        if (text.size() < (size_t{1} << 20)) return;
        Flush();
    }
    void Flush() {
        out_.Write(text);
        text.clear();
    }

private:
    ByteSink& out_;
};

class StringSink final : public ByteSink {
public:
    void Write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
};

RowsetFile ReadAdtg(ByteSource& in);
RowsetFile ReadXml(ByteSource& in);
// Either format, told apart by the first bytes.
RowsetFile ReadAny(ByteSource& in);
RowsetFile ReadFile(const std::string& path);

void WriteAdtg(const FileSource& source, ByteSink& out);
void WriteXml(const FileSource& source, ByteSink& out);
// ADO's refusal to write a hierarchy with pending changes as XML (3251).
[[noreturn]] void RefusePendingHierarchyInXml();
// Writes the file in the format; with `replace` false an existing file is refused (58).
void SaveFile(const FileSource& source, const std::string& path, PersistFormatEnum format, bool replace);

}  // namespace ado::persist
