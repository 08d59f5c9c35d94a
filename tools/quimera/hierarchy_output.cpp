#include "hierarchy_output.h"

#include <cctype>
#include <string>
#include <vector>

namespace tool {

namespace {

void WriteLevel(ado::Recordset& rs, std::ostream& out, size_t depth, std::string_view title) {
    if (rs.adoEOF() && rs.BOF()) return;  // an empty chapter shows nothing
    const std::string indent(depth * 2, ' ');
    std::vector<ado::Field*> values, chapters;
    for (ado::Field& f : rs.Fields()) (f.Type() == ado::adChapter ? chapters : values).push_back(&f);
    out << indent << title;
    for (size_t i = 0; i < values.size(); ++i) out << (i ? " | " : "") << values[i]->Name();
    out << '\n';
    for (rs.MoveFirst(); !rs.adoEOF(); rs.MoveNext()) {
        out << indent;
        for (size_t i = 0; i < values.size(); ++i) {
            const ado::Variant v = values[i]->Value();
            out << (i ? " | " : "") << (v.IsNull() ? std::string("Null") : v.ToString());
        }
        out << '\n';
        for (ado::Field* chapter : chapters)
            WriteLevel(*chapter->Value().AsObject(), out, depth + 1, chapter->Name() + ": ");
    }
}

}  // namespace

bool IsShapeStatement(std::string_view statement) {
    size_t i = 0;
    while (i < statement.size() && std::isspace(static_cast<unsigned char>(statement[i]))) ++i;
    std::string word;
    for (; i < statement.size() && std::isalpha(static_cast<unsigned char>(statement[i])); ++i)
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(statement[i])));
    return word == "SHAPE";
}

int64_t WriteHierarchy(ado::Recordset& rs, std::ostream& out) {
    WriteLevel(rs, out, 0, "");
    return rs.RecordCount();
}

}  // namespace tool
