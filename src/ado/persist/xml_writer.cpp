// Writes the XML persistence format as ADO does: the schema (nested ElementTypes for
// chapters), then the data: unchanged rows, rs:update pairs, rs:insert and rs:delete groups;
// a hierarchy's child rows inside their parent row, a row shown again marked rs:duplicate.
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "ado/connection_string.h"
#include "ado/error_numbers.h"
#include "ado/persist/persist.h"
#include "ado/persist/relation_key.h"
#include "ado/persist/value_text.h"
#include "ado/persist/xml_layout.h"
#include "ado/persist/xml_types.h"

namespace ado::persist {

namespace {

using cursor::RowId;
using cursor::RowStore;

constexpr std::string_view kNamespaces[] = {"<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'",
                                            "xmlns:dt='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882'",
                                            "xmlns:rs='urn:schemas-microsoft-com:rowset'", "xmlns:z='#RowsetSchema'>"};

bool IsNameStart(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80; }
bool IsNameChar(unsigned char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

bool IsXmlName(std::string_view s) {
    if (s.empty() || !IsNameStart(static_cast<unsigned char>(s[0]))) return false;
    return std::all_of(s.begin(), s.end(), [](char c) { return IsNameChar(static_cast<unsigned char>(c)); });
}

bool HasScale(DataTypeEnum t) { return t == adDecimal || t == adNumeric || t == adVarNumeric || t == adDBTimeStamp; }
bool IsDateTime(DataTypeEnum t) { return t == adDate || t == adFileTime || t == adDBTimeStamp; }
bool IsBinary(DataTypeEnum t) { return t == adBinary || t == adVarBinary || t == adLongVarBinary; }
std::string RelationHex(const std::vector<RelationPair>& relation) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const RelationPair& r : relation)
        for (uint32_t v : {r.parent, r.child, r.kind})
            for (int byte = 0; byte < 4; ++byte) {
                const unsigned b = (v >> (8 * byte)) & 0xFF;
                hex.push_back(kDigits[b >> 4]);
                hex.push_back(kDigits[b & 15]);
            }
    return hex;
}

}  // namespace

void RefusePendingHierarchyInXml() {
    Raise(Condition::NotSupported, "(un conjunto de registros jerárquico con cambios pendientes no se puede guardar en XML)");
}

namespace {

class XmlWriter {
public:
    XmlWriter(const FileSource& source, ByteSink& out) : source_(source), out_(out), layout_(buf_, source.crlf) {
        for (const RowsetSource& rs : source_.rowsets) names_.push_back(XmlNames(rs));
        written_.resize(source_.rowsets.size());
        indexes_.resize(source_.rowsets.size());
    }

    void Write() {
        if (source_.rowsets.size() > 1)
            for (const RowsetSource& rs : source_.rowsets)
                if (!rs.pending->empty()) RefusePendingHierarchyInXml();
        for (size_t i = 0; i < std::size(kNamespaces); ++i) layout_.Line(i == 0 ? 0 : 1, kNamespaces[i]);
        layout_.Line(0, "<s:Schema id='RowsetSchema'>");
        Schema(0, 1, "row", nullptr);
        layout_.Line(0, "</s:Schema>");
        layout_.Line(0, "<rs:data>");
        Data();
        layout_.Line(0, "</rs:data>");
        layout_.Line(0, "</xml>");
        out_.Flush();
    }

private:
    // The attribute name of each column: its own, or "c<n>" where it is no XML name or
    // repeats an earlier column's; a "c<n>" that another column holds as its own name takes
    // a suffix, so that every column keeps an attribute of its own.
    static std::vector<std::string> XmlNames(const RowsetSource& rs) {
        const size_t n = rs.columns.size();
        std::vector<std::string> names(n);
        std::unordered_set<std::string> taken;  // lower case: names repeat without regard to case
        for (size_t k = 0; k < n; ++k) {
            const std::string& name = rs.Column(k).name;
            if (IsXmlName(name) && name.find(':') == std::string::npos && taken.insert(LowerAscii(name)).second)
                names[k] = name;
        }
        for (size_t k = 0; k < n; ++k) {
            if (!names[k].empty()) continue;
            std::string candidate = "c" + std::to_string(k);
            for (int suffix = 1; !taken.insert(LowerAscii(candidate)).second; ++suffix)
                candidate = "c" + std::to_string(k) + "_" + std::to_string(suffix);
            names[k] = std::move(candidate);
        }
        return names;
    }

    void Schema(size_t index, int depth, std::string_view name, const ColumnExtra* chapter) {
        const RowsetSource& rs = source_.rowsets[index];
        layout_.Line(depth, "<s:ElementType");
        layout_.Attribute("name", name, depth);
        layout_.Attribute("content", "eltOnly", depth);
        if (rs.commandTimeout) layout_.Attribute("rs:CommandTimeout", std::to_string(rs.commandTimeout), depth);
        if (rs.updatable) layout_.Attribute("rs:updatable", "true", depth);
        if (!rs.reshapeName.empty()) layout_.Attribute("rs:ReshapeName", rs.reshapeName, depth);
        if (chapter) layout_.Attribute("rs:relation", RelationHex(chapter->relation), depth);
        layout_.Raw(">");
        for (size_t k = 0; k < rs.columns.size(); ++k) {
            const cursor::ColumnInfo& c = rs.Column(k);
            if (c.type == adChapter) {
                if (rs.extras[k].child < 0) Raise(Condition::NotSupported, "(un capítulo sin conjunto de registros)");
                Schema(static_cast<size_t>(rs.extras[k].child), depth + 1, names_[index][k], &rs.extras[k]);
                continue;
            }
            Column(rs, index, k, depth + 1);
        }
        layout_.Line(depth + 1, "<s:extends type='rs:rowbase'/>");
        layout_.Line(depth, "</s:ElementType>");
    }

    void Column(const RowsetSource& rs, size_t index, size_t k, int depth) {
        const cursor::ColumnInfo& c = rs.Column(k);
        const int more = depth + 1;
        layout_.Line(depth, "<s:AttributeType");
        layout_.Attribute("name", names_[index][k], more);
        if (names_[index][k] != c.name) layout_.Attribute("rs:name", c.name, more);
        layout_.Attribute("rs:number", std::to_string(k + 1), more);
        const auto flags = static_cast<uint32_t>(c.attributes);
        struct Flag {
            uint32_t bit;
            std::string_view attribute;
        };
        static constexpr Flag kBefore[] = {{adFldIsNullable, "rs:nullable"}, {adFldMayDefer, "rs:maydefer"},
                                           {adFldUpdatable, "rs:write"}, {adFldUnknownUpdatable, "rs:writeunknown"},
                                           {adFldRowVersion, "rs:rowver"}};
        for (const Flag& f : kBefore)
            if (flags & f.bit) layout_.Attribute(f.attribute, "true", more);
        const std::string& calculation = rs.extras[k].calculation;
        if (!calculation.empty()) layout_.HexAttribute("rs:calculation", HexOf(calculation), more);
        if (!c.baseCatalog.empty()) layout_.Attribute("rs:basecatalog", c.baseCatalog, more);
        if (!c.baseSchema.empty()) layout_.Attribute("rs:baseschema", c.baseSchema, more);
        if (!c.baseTable.empty()) layout_.Attribute("rs:basetable", c.baseTable, more);
        if (!c.baseColumn.empty()) layout_.Attribute("rs:basecolumn", c.baseColumn, more);
        if (c.key) layout_.Attribute("rs:keycolumn", "true", more);
        if (c.autoIncrement) layout_.Attribute("rs:autoincrement", "true", more);
        if (c.hidden) layout_.Attribute("rs:hidden", "true", more);
        layout_.Raw(">");

        layout_.Line(more, "<s:datatype");
        const XmlTypeName type = XmlTypeOf(c.type);
        layout_.Attribute("dt:type", type.dtType, more);
        if (!type.dbType.empty()) layout_.Attribute("rs:dbtype", type.dbType, more);
        if (c.type != adVariant) {
            const uint32_t size = IsDateTime(c.type) ? 16 : static_cast<uint32_t>(c.definedSize);
            layout_.Attribute("dt:maxLength", std::to_string(size), more);
            if (HasScale(c.type)) layout_.Attribute("rs:scale", std::to_string(c.numericScale), more);
            if (c.precision != 255) layout_.Attribute("rs:precision", std::to_string(c.precision), more);
            if (IsFixedLengthType(c.type)) layout_.Attribute("rs:fixedlength", "true", more);
        }
        if (c.type == adLongVarBinary || c.type == adLongVarChar || c.type == adLongVarWChar || c.type == adBSTR)
            layout_.Attribute("rs:long", "true", more);
        if (!(flags & adFldMayBeNull)) layout_.Attribute("rs:maybenull", "false", more);
        layout_.Raw("/>");
        layout_.Line(depth, "</s:AttributeType>");
    }

    static std::string HexOf(std::string_view bytes) {
        std::string hex;
        AppendXmlText(hex, adVarBinary, 0, Variant(Binary(bytes.begin(), bytes.end())));
        return hex;
    }

    void Data() {
        const RowsetSource& root = source_.rowsets[0];
        for (RowId row : root.order) {
            const uint8_t flags = root.rows->Flags(row);
            if (flags & (RowStore::Deleted | RowStore::New)) continue;
            const cursor::PendingChange* p = root.Pending(row);
            if ((flags & RowStore::Modified) && p && !p->original.empty()) {
                layout_.Line(1, "<rs:update>");
                layout_.Line(2, "<rs:original>");
                Row(0, row, 3, "z:row", &p->original, nullptr);
                layout_.Line(2, "</rs:original>");
                Row(0, row, 2, "z:row", nullptr, &p->changed);
                layout_.Line(1, "</rs:update>");
            } else {
                Row(0, row, 1, "z:row", nullptr, nullptr);
            }
            Flush();
        }
        Group("rs:insert", [](uint8_t flags) { return (flags & RowStore::New) && !(flags & RowStore::Deleted); }, false);
        Group("rs:delete", [](uint8_t flags) { return (flags & RowStore::Deleted) != 0; }, true);
    }

    template <class Member>
    void Group(std::string_view element, Member member, bool original) {
        const RowsetSource& root = source_.rowsets[0];
        bool open = false;
        for (RowId row : root.order) {
            if (!member(root.rows->Flags(row))) continue;
            const cursor::PendingChange* p = root.Pending(row);
            if (original && (!p || p->original.empty())) continue;
            if (!open) layout_.Line(1, "<" + std::string(element) + ">");
            open = true;
            Row(0, row, 2, "z:row", original ? &p->original : nullptr,
                !original && p && !p->changed.empty() ? &p->changed : nullptr);
            Flush();
        }
        if (open) layout_.Line(1, "</" + std::string(element) + ">");
    }

    // One row element: `values` when given (an original image), else the store's; `given`
    // limits it to the columns a change or an insertion gave, those given Null as rs:forcenull.
    void Row(size_t index, RowId row, int depth, std::string_view element, const std::vector<Variant>* values,
             const std::vector<uint8_t>* given, bool duplicate = false) {
        const RowsetSource& rs = source_.rowsets[index];
        const int more = depth + 1;
        layout_.Line(depth, "<" + std::string(element));
        if (duplicate) layout_.Attribute("rs:duplicate", "true", more);
        std::string forced;
        for (size_t k = 0; k < rs.columns.size(); ++k) {
            const cursor::ColumnInfo& c = rs.Column(k);
            if (c.type == adChapter) continue;
            if (given && !(*given)[rs.columns[k]]) continue;
            const Variant v = values ? (*values)[rs.columns[k]] : rs.rows->Get(row, rs.columns[k]);
            text_.clear();
            if (!AppendXmlText(text_, c.type, c.numericScale, v)) {
                if (given && v.IsNull()) forced += (forced.empty() ? "" : " ") + names_[index][k];
                continue;
            }
            if (IsBinary(c.type)) layout_.HexAttribute(names_[index][k], text_, more);
            else layout_.Attribute(names_[index][k], text_, more);
        }
        if (!forced.empty()) layout_.Attribute("rs:forcenull", forced, more);
        // A row of a rowset with chapters is written open, its child rows inside, even none.
        if (!Children(index, row, depth + 1)) return layout_.Raw("/>");
        layout_.Line(depth, "</" + std::string(element) + ">");
    }

    // The child rows of every chapter of the row, inside it; false when its rowset has no chapter.
    bool Children(size_t index, RowId row, int depth) {
        const RowsetSource& rs = source_.rowsets[index];
        const bool chapters = std::any_of(rs.columns.begin(), rs.columns.end(),
                                          [&](size_t c) { return rs.rows->Columns()[c].type == adChapter; });
        if (chapters) layout_.Raw(">");
        for (size_t k = 0; k < rs.columns.size(); ++k) {
            if (rs.Column(k).type != adChapter || rs.extras[k].child < 0) continue;
            const auto child = static_cast<size_t>(rs.extras[k].child);
            const std::vector<RelationPair>& relation = rs.extras[k].relation;
            std::string key;
            if (!Key(rs, row, relation, &RelationPair::parent, key)) continue;  // Null relates to nothing
            const auto& index2 = ChildIndex(child, relation);
            auto it = index2.find(key);
            if (it == index2.end()) continue;
            for (RowId c : it->second) {
                const bool again = written_[child].count(c) != 0;
                written_[child].insert(c);
                Row(child, c, depth, names_[index][k], nullptr, nullptr, again);
            }
        }
        return chapters;
    }

    // The values of a row's relation columns as one text; false when one is Null.
    static bool Key(const RowsetSource& rs, RowId row, const std::vector<RelationPair>& relation,
                    uint32_t RelationPair::*side, std::string& key) {
        for (const RelationPair& r : relation) {
            if (!AddToKey(key, rs.rows->Get(row, rs.columns[r.*side - 1]))) return false;
        }
        return true;
    }

    // The rows of a child rowset by the values of its relation columns, built once.
    const std::unordered_map<std::string, std::vector<RowId>>& ChildIndex(size_t child,
                                                                          const std::vector<RelationPair>& relation) {
        auto& built = indexes_[child];
        if (!built.empty() || source_.rowsets[child].order.empty()) return built;
        const RowsetSource& rs = source_.rowsets[child];
        for (RowId row : rs.order) {
            if (rs.rows->Flags(row) & RowStore::Deleted) continue;
            std::string key;
            if (Key(rs, row, relation, &RelationPair::child, key)) built[key].push_back(row);
        }
        return built;
    }

    void Flush() { out_.FlushIfFull(); }

    const FileSource& source_;
    SinkBuffer out_;
    std::string& buf_ = out_.text;
    XmlLayout layout_;
    std::string text_;
    std::vector<std::vector<std::string>> names_;
    std::vector<std::unordered_set<RowId>> written_;
    std::vector<std::unordered_map<std::string, std::vector<RowId>>> indexes_;
};

}  // namespace

void WriteXml(const FileSource& source, ByteSink& out) { XmlWriter(source, out).Write(); }

}  // namespace ado::persist
