#include "table_printer.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tool {

namespace {

// Display width of UTF-8 text: one column per code point.
size_t Width(const std::string& s) {
    return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string Cell(const ado::Variant& v) {
    if (v.IsNull()) return "Null";
    if (v.Type() == ado::VariantType::Binary) return "<" + std::to_string(v.AsBinary().size()) + " bytes>";
    if (v.Type() == ado::VariantType::Object)  // a chapter: its child rows
        return v.AsObject() ? "<" + std::to_string(v.AsObject()->RecordCount()) + " filas>" : "<capítulo>";
    return v.ToString();
}

bool RightAligned(ado::DataTypeEnum t) {
    switch (t) {
        case ado::adSmallInt: case ado::adInteger: case ado::adBigInt: case ado::adUnsignedTinyInt:
        case ado::adSingle: case ado::adDouble: case ado::adCurrency: case ado::adNumeric: case ado::adDecimal:
            return true;
        default: return false;
    }
}

}  // namespace

int PrintTable(ado::Recordset& rs, std::ostream& out, int maxRows) {
    ado::Fields& fields = rs.Fields();
    const size_t n = static_cast<size_t>(fields.Count());
    std::vector<std::vector<std::string>> rows;
    std::vector<size_t> widths(n);
    for (size_t c = 0; c < n; ++c) widths[c] = Width(fields[static_cast<int32_t>(c)].Name());
    int total = 0;
    for (; !rs.adoEOF(); rs.MoveNext(), ++total) {
        if (maxRows >= 0 && total >= maxRows) continue;
        auto& row = rows.emplace_back();
        for (size_t c = 0; c < n; ++c) {
            row.push_back(Cell(fields[static_cast<int32_t>(c)].Value()));
            widths[c] = std::max(widths[c], Width(row.back()));
        }
    }
    auto pad = [&](const std::string& s, size_t c, bool right) {
        const std::string fill(widths[c] - Width(s), ' ');
        return right ? fill + s : s + fill;
    };
    for (size_t c = 0; c < n; ++c) out << (c ? " | " : "") << pad(fields[static_cast<int32_t>(c)].Name(), c, false);
    out << '\n';
    for (size_t c = 0; c < n; ++c) out << (c ? "-+-" : "") << std::string(widths[c], '-');
    out << '\n';
    for (const auto& row : rows) {
        for (size_t c = 0; c < n; ++c)
            out << (c ? " | " : "") << pad(row[c], c, RightAligned(fields[static_cast<int32_t>(c)].Type()));
        out << '\n';
    }
    if (maxRows >= 0 && total > maxRows) out << "... (" << total - maxRows << " filas más)\n";
    out << "(" << total << (total == 1 ? " fila)\n" : " filas)\n");
    return total;
}

}  // namespace tool
