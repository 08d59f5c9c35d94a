#include "ado/cursor/row_write.h"

namespace ado::cursor {

namespace {

void AppendWhere(const WriteShape& s, std::string (*quote)(std::string_view), std::string& text) {
    if (s.whereColumns.empty()) return;
    text += " WHERE ";
    for (size_t i = 0; i < s.whereColumns.size(); ++i) {
        if (i) text += " AND ";
        text += quote(s.whereColumns[i]);
        text += s.whereIsNull[i] ? " IS NULL" : " = ?";
    }
}

}  // namespace

void WriteShape::Seal() {
    key.clear();
    key += static_cast<char>('0' + static_cast<int>(kind));
    key += table;
    key += '\0';
    for (const auto& c : setColumns) key.append(c).push_back('\0');
    key += '\1';
    for (size_t i = 0; i < whereColumns.size(); ++i) key.append(whereColumns[i]).push_back(whereIsNull[i] ? '\2' : '\0');
    key += '\1';
    for (const auto& c : readBack) key.append(c).push_back('\0');
    key += readBackIdentity ? '\3' : '\1';
}

std::string BuildWriteText(const WriteShape& s, std::string (*quote)(std::string_view)) {
    std::string text;
    text.reserve(64 + 24 * (s.setColumns.size() + s.whereColumns.size()));
    switch (s.kind) {
        case WriteShape::Kind::Insert:
            text = "INSERT INTO " + quote(s.table);
            if (s.setColumns.empty()) return text + " DEFAULT VALUES";
            text += " (";
            for (size_t i = 0; i < s.setColumns.size(); ++i) text += (i ? ", " : "") + quote(s.setColumns[i]);
            text += ") VALUES (";
            for (size_t i = 0; i < s.setColumns.size(); ++i) text += i ? ", ?" : "?";
            return text + ")";
        case WriteShape::Kind::Update:
            text = "UPDATE " + quote(s.table) + " SET ";
            for (size_t i = 0; i < s.setColumns.size(); ++i) text += (i ? ", " : "") + quote(s.setColumns[i]) + " = ?";
            AppendWhere(s, quote, text);
            return text;
        case WriteShape::Kind::Delete:
            text = "DELETE FROM " + quote(s.table);
            AppendWhere(s, quote, text);
            return text;
    }
    return text;
}

WriteSql BuildWriteSql(const RowWrite& w, std::string (*quote)(std::string_view)) {
    WriteSql out{BuildWriteText(w.Shape(), quote), {}};
    for (const Variant* v : w.setValues) out.parameters.push_back(*v);
    for (size_t i = 0; i < w.whereValues.size(); ++i)
        if (!w.Shape().whereIsNull[i]) out.parameters.push_back(w.WhereValue(i));
    return out;
}

std::vector<Variant> WhereValuesOf(const RowWrite& w) {
    std::vector<Variant> values;
    for (const Variant* v : w.whereValues) values.push_back(*v);
    return values;
}

RowWrite MakeWrite(WriteShape shape, std::vector<Variant> setValues, std::vector<Variant> whereValues) {
    shape.whereIsNull.resize(whereValues.size());
    for (size_t i = 0; i < whereValues.size(); ++i)
        shape.whereIsNull[i] = whereValues[i].IsNull() || whereValues[i].IsEmpty();
    shape.Seal();
    RowWrite w;
    w.shape = std::make_shared<const WriteShape>(std::move(shape));
    w.own = std::move(setValues);
    const size_t sets = w.own.size();
    w.own.insert(w.own.end(), std::make_move_iterator(whereValues.begin()), std::make_move_iterator(whereValues.end()));
    for (size_t i = 0; i < w.own.size(); ++i) (i < sets ? w.setValues : w.whereValues).push_back(&w.own[i]);
    return w;
}

}  // namespace ado::cursor
