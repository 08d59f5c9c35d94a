// A result's rows written as they come, in one of the tool's formats: an aligned table, CSV
// or JSON. Outputs keep no rows but the first few a table measures its columns on, so any
// number of rows goes through in flat memory.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string_view>

#include "ado/Recordset.h"

namespace tool {

enum class Format { Table, Csv, Json };
// "tabla", "csv" or "json".
std::optional<Format> ParseFormat(std::string_view name);

class RowOutput {
public:
    virtual ~RowOutput() = default;
    // The fields once, before any row.
    virtual void Begin(ado::Fields& fields) = 0;
    // The fields on the next row.
    virtual void Row(ado::Fields& fields) = 0;
    // After the last row written; `left` rows were left out (-1: some, how many unknown).
    virtual void End(int64_t left) = 0;
};

// Table: aligned by display width, numbers to the right, a count at the end.
std::unique_ptr<RowOutput> MakeTableOutput(std::ostream& out);
// CSV (RFC 4180, a header row of field names) and JSON (an array of objects): numbers with
// '.', dates as "yyyy-mm-ddThh:mm:ss", binaries as hexadecimal, Null as an empty CSV field
// or JSON null.
std::unique_ptr<RowOutput> MakeCsvOutput(std::ostream& out);
std::unique_ptr<RowOutput> MakeJsonOutput(std::ostream& out);
std::unique_ptr<RowOutput> MakeRowOutput(Format format, std::ostream& out);

// Writes the recordset's rows from its current position on, at most maxRows of them (-1:
// all); returns the number of rows it went through.
int64_t WriteRows(ado::Recordset& rs, RowOutput& output, int64_t maxRows = -1);

}  // namespace tool
