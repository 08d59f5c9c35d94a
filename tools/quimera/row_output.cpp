#include "row_output.h"

#include <array>
#include <utility>

namespace tool {

std::optional<Format> ParseFormat(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, Format>, 3> kNames = {
        {{"tabla", Format::Table}, {"csv", Format::Csv}, {"json", Format::Json}}};
    for (const auto& [n, f] : kNames)
        if (n == name) return f;
    return std::nullopt;
}

std::unique_ptr<RowOutput> MakeRowOutput(Format format, std::ostream& out) {
    switch (format) {
        case Format::Csv: return MakeCsvOutput(out);
        case Format::Json: return MakeJsonOutput(out);
        case Format::Table: break;
    }
    return MakeTableOutput(out);
}

int64_t WriteRows(ado::Recordset& rs, RowOutput& output, int64_t maxRows) {
    output.Begin(rs.Fields());
    int64_t total = 0;
    for (; !rs.adoEOF(); rs.MoveNext(), ++total)
        if (maxRows < 0 || total < maxRows) output.Row(rs.Fields());
    output.End(maxRows >= 0 && total > maxRows ? total - maxRows : 0);
    return total;
}

}  // namespace tool
