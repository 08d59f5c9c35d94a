#include "ado/cursor/row_write.h"

namespace ado::cursor {

namespace {

void AppendWhere(const RowWrite& w, std::string (*quote)(std::string_view), WriteSql& out) {
    if (w.whereColumns.empty()) return;
    out.text += " WHERE ";
    for (size_t i = 0; i < w.whereColumns.size(); ++i) {
        if (i) out.text += " AND ";
        out.text += quote(w.whereColumns[i]);
        const Variant& v = w.whereValues[i];
        if (v.IsNull() || v.IsEmpty()) {
            out.text += " IS NULL";
        } else {
            out.text += " = ?";
            out.parameters.push_back(v);
        }
    }
}

}  // namespace

WriteSql BuildWriteSql(const RowWrite& w, std::string (*quote)(std::string_view)) {
    WriteSql out;
    out.text.reserve(64 + 24 * (w.setColumns.size() + w.whereColumns.size()));
    switch (w.kind) {
        case RowWrite::Kind::Insert: {
            out.text = "INSERT INTO " + quote(w.table);
            if (w.setColumns.empty()) {
                out.text += " DEFAULT VALUES";
                break;
            }
            out.text += " (";
            for (size_t i = 0; i < w.setColumns.size(); ++i) out.text += (i ? ", " : "") + quote(w.setColumns[i]);
            out.text += ") VALUES (";
            for (size_t i = 0; i < w.setColumns.size(); ++i) out.text += i ? ", ?" : "?";
            out.text += ")";
            out.parameters = w.setValues;
            break;
        }
        case RowWrite::Kind::Update:
            out.text = "UPDATE " + quote(w.table) + " SET ";
            for (size_t i = 0; i < w.setColumns.size(); ++i) out.text += (i ? ", " : "") + quote(w.setColumns[i]) + " = ?";
            out.parameters = w.setValues;
            AppendWhere(w, quote, out);
            break;
        case RowWrite::Kind::Delete:
            out.text = "DELETE FROM " + quote(w.table);
            AppendWhere(w, quote, out);
            break;
    }
    return out;
}

void WriteShapeKey(const RowWrite& w, std::string& key) {
    key.clear();
    key += static_cast<char>('0' + static_cast<int>(w.kind));
    key += w.table;
    key += '\0';
    for (const auto& c : w.setColumns) key.append(c).push_back('\0');
    key += '\1';
    for (size_t i = 0; i < w.whereColumns.size(); ++i) {
        key.append(w.whereColumns[i]).push_back(w.whereValues[i].IsNull() || w.whereValues[i].IsEmpty() ? '\2' : '\0');
    }
    key += '\1';
    for (const auto& c : w.readBack) key.append(c).push_back('\0');
}

}  // namespace ado::cursor
