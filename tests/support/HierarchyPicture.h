// A hierarchical recordset as one line of text: each row's values separated by spaces, its
// chapters as name[child rows], rows separated by " | " ("; " inside a chapter). Walking it
// reads every chapter of every row.
#pragma once

#include <string>

#include "ado/ado.h"

namespace testsupport {

inline std::string HierarchyPicture(ado::Recordset& rs, const char* separator = " | ") {
    std::string out;
    if (rs.RecordCount() > 0) rs.MoveFirst();
    for (; !rs.adoEOF(); rs.MoveNext()) {
        if (!out.empty()) out += separator;
        std::string row;
        for (ado::Field& f : rs.Fields()) {
            if (!row.empty()) row += ' ';
            if (f.Type() == ado::adChapter)
                row += f.Name() + "[" + HierarchyPicture(*f.Value().AsObject(), "; ") + "]";
            else
                row += f.Value().IsNull() ? "Null" : f.Value().ToString();
        }
        out += row;
    }
    return out;
}

}  // namespace testsupport
