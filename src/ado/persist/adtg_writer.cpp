// Writes the ADTG format as ADO 2.8 does: the fixed header and handler options, per rowset its
// descriptors (depth first), then every rowset's rows (deletions first, then the others in
// order, changes after their original image, insertions last) and the end token.
#include <algorithm>

#include "ado/connection_string.h"
#include "ado/Regional.h"
#include "ado/error_numbers.h"
#include "ado/persist/adtg_format.h"
#include "ado/persist/adtg_values.h"
#include "ado/persist/persist.h"
#include "ado/persist/value_text.h"
#include "ado/persist/xml_types.h"

namespace ado::persist {

namespace {

using namespace adtg;
using cursor::RowId;
using cursor::RowStore;


bool IsLongType(DataTypeEnum t) { return t == adLongVarBinary || t == adLongVarChar || t == adLongVarWChar || t == adBSTR; }

// How one saved column is written.
struct WrittenColumn {
    ColumnLayout layout;
    DataTypeEnum type = adEmpty;
    bool asText = false;  // a Variant column holding texts, written as long Unicode text
    uint16_t table = 0;   // its base table's ordinal, 0 for none
    uint16_t tableColumn = 0;
};

struct Table {
    std::string name, catalog, schema;
    std::vector<uint16_t> columns;  // recordset ordinals
    std::vector<uint16_t> keys;
};

std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

class AdtgWriter {
public:
    AdtgWriter(const FileSource& source, ByteSink& out)
        : source_(source), out_(out), codePage_(RegionalSettings::Current().ansiCodePage) {}

    void Write() {
        buf_.append(reinterpret_cast<const char*>(kHeader), sizeof kHeader);
        buf_.append(reinterpret_cast<const char*>(kHandlerBlock), sizeof kHandlerBlock);
        for (size_t i = 0; i < source_.rowsets.size(); ++i) {
            plans_.push_back(Plan(source_.rowsets[i]));
            WriteMetadata(i);
        }
        for (size_t i = 0; i < source_.rowsets.size(); ++i) WriteRows(i);
        buf_.push_back(static_cast<char>(kDone));
        out_.Flush();
    }

private:
    struct RowsetPlan {
        std::vector<WrittenColumn> columns;
        std::vector<Table> tables;
        size_t presenceBits = 0;
    };

    // The values a rowset's rows will write, looked at once: where a column holds Null without
    // saying it may, where texts outgrow their size, where a Variant column holds text.
    RowsetPlan Plan(const RowsetSource& rs) {
        RowsetPlan plan;
        for (size_t k = 0; k < rs.columns.size(); ++k) {
            const cursor::ColumnInfo& info = rs.Column(k);
            WrittenColumn w;
            w.type = info.type;
            uint32_t flags = static_cast<uint32_t>(info.attributes);
            flags &= ~static_cast<uint32_t>(adFldFixed | adFldLong | adFldIsChapter | adFldKeyColumn);
            if (info.key) flags |= adFldKeyColumn;
            uint64_t longest = info.definedSize > 0 ? static_cast<uint32_t>(info.definedSize) : 0;
            if (info.type == adChapter) {
                flags = adFldIsChapter | adFldFixed;
            } else {
                Scan(rs, k, w, flags, longest);
                if (w.asText) w.type = adLongVarWChar;
                if (IsFixedLengthType(w.type) || w.type == adVariant) flags |= adFldFixed;
                if (IsLongType(w.type)) flags |= adFldLong;
            }
            const uint16_t dbType = DbTypeOf(w.type);
            uint32_t maxLength = FixedSize(dbType);
            if (dbType == kDbTypeChapter) maxLength = 4;
            // Variable-length texts and binaries declare room for the longest value they hold.
            else if (maxLength == 0 && (IsLongType(w.type) || IsFixedLengthType(w.type)))
                maxLength = static_cast<uint32_t>(info.definedSize);
            else if (maxLength == 0) maxLength = static_cast<uint32_t>(std::min<uint64_t>(longest, UINT32_MAX));
            if (w.asText) maxLength = 536870910;
            w.layout = LayoutOf(dbType, flags, maxLength);
            w.layout.precision = info.precision;
            w.layout.scale = info.numericScale;
            plan.presenceBits += w.layout.presenceBit;
            if (!info.baseTable.empty() && info.type != adChapter) AddToTable(plan, info, k, w);
            plan.columns.push_back(w);
        }
        return plan;
    }

    void Scan(const RowsetSource& rs, size_t k, WrittenColumn& w, uint32_t& flags, uint64_t& longest) {
        const size_t column = rs.columns[k];
        const DataTypeEnum type = rs.Column(k).type;
        const bool wide = DbTypeOf(type) == kDbTypeWStr;
        auto look = [&](const Variant& v) {
            if (v.IsNull() || (v.IsEmpty() && type != adVariant)) {
                if (!(flags & (adFldIsNullable | adFldMayBeNull))) flags |= adFldMayBeNull;
            } else if (type == adVariant) {
                w.asText |= v.Type() == VariantType::String;
            } else if (v.Type() == VariantType::String) {
                longest = std::max<uint64_t>(longest, StoredLength(v.AsString(), wide));
            } else if (v.Type() == VariantType::Binary) {
                longest = std::max<uint64_t>(longest, v.AsBinary().size());
            }
        };
        const bool variable = DbTypeOf(type) == kDbTypeBytes || DbTypeOf(type) == kDbTypeStr || wide;
        for (RowId row : rs.order) {
            if (const cursor::PendingChange* p = rs.Pending(row); p && !p->original.empty()) look(p->original[column]);
            const RowStore::Cell& cell = rs.rows->CellAt(row, column);
            using Tag = RowStore::Tag;
            if (cell.tag == Tag::Text && variable)
                longest = std::max<uint64_t>(longest, StoredLength(rs.rows->TextAt(cell), wide));
            else if (cell.tag == Tag::Blob)
                longest = std::max<uint64_t>(longest, cell.length);
            else if (cell.tag == Tag::Null || cell.tag == Tag::Text || cell.tag == Tag::Boxed || cell.tag == Tag::Empty)
                look(rs.rows->Get(row, column));
        }
    }

    // The length a text takes in its column: UTF-16 code units, or bytes in the code page.
    uint64_t StoredLength(std::string_view text, bool wide) {
        if (wide) return Utf16Length(text);
        if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            return text.size();
        std::string encoded;
        codePage_.AppendEncoded(encoded, text);
        return encoded.size();
    }

    static void AddToTable(RowsetPlan& plan, const cursor::ColumnInfo& info, size_t k, WrittenColumn& w) {
        auto it = std::find_if(plan.tables.begin(), plan.tables.end(),
                               [&](const Table& t) { return EqualsNoCase(t.name, info.baseTable); });
        if (it == plan.tables.end()) {
            plan.tables.push_back({info.baseTable, info.baseCatalog, info.baseSchema, {}, {}});
            it = plan.tables.end() - 1;
        }
        it->columns.push_back(static_cast<uint16_t>(k + 1));
        if (info.key) it->keys.push_back(static_cast<uint16_t>(k + 1));
        w.table = static_cast<uint16_t>(it - plan.tables.begin() + 1);
        w.tableColumn = static_cast<uint16_t>(it->columns.size());
    }

    // A metadata token: its payload after the token and its size.
    void Token(uint8_t token, const std::string& payload) {
        if (payload.size() > 0xFFFF) Raise(Condition::DataConversion, "(un descriptor del archivo ADTG pasa de 64 KB)");
        buf_.push_back(static_cast<char>(token));
        Put<uint16_t>(buf_, static_cast<uint16_t>(payload.size()));
        buf_ += payload;
    }

    static void PutLps(std::string& out, std::string_view utf8) {
        std::string units;
        if (!AppendUtf16FromUtf8(units, utf8)) Raise(Condition::DataConversion, "(un nombre no es UTF-8 válido)");
        if (units.size() / 2 > 0xFFFF) Raise(Condition::DataConversion, "(un nombre es demasiado largo)");
        Put<uint16_t>(out, static_cast<uint16_t>(units.size() / 2));
        out += units;
    }

    static void PutProperty(std::string& out, uint32_t id, uint32_t value, int size) {
        Put<uint32_t>(out, id);
        Put<uint16_t>(out, static_cast<uint16_t>(size));
        if (size == 2) Put<uint16_t>(out, static_cast<uint16_t>(value));
        else if (size == 4) Put<uint32_t>(out, value);
    }

    void WriteMetadata(size_t index) {
        const RowsetSource& rs = source_.rowsets[index];
        const RowsetPlan& plan = plans_[index];
        std::string p;
        p.append(reinterpret_cast<const char*>(kResultGuid), 16);
        p.append(3, '\0');
        uint16_t visible = 0;
        for (size_t k = 0; k < rs.columns.size(); ++k) visible += !rs.Column(k).hidden;
        Put<uint16_t>(p, visible);
        Put<uint16_t>(p, static_cast<uint16_t>(rs.columns.size()));
        Put<uint16_t>(p, 0);
        Put<uint16_t>(p, static_cast<uint16_t>(plan.tables.size()));
        Put<uint16_t>(p, 0);
        uint32_t rowCount = 0;
        for (RowId row : rs.order) rowCount += !(rs.rows->Flags(row) & RowStore::Deleted);
        Put<uint32_t>(p, rowCount);
        Put<uint16_t>(p, 1);
        p.append(reinterpret_cast<const char*>(kAdcPropertySet), 16);
        Put<uint16_t>(p, 7);
        PutProperty(p, 0x0B, 1, 4);
        PutProperty(p, 0x13, 1, 4);
        for (uint32_t id : {0x0Du, 0x0Eu, 0x0Fu, 0x10u}) PutProperty(p, id, 0, 0);
        std::string name;
        AppendUtf16FromUtf8(name, rs.reshapeName);
        Put<uint32_t>(p, kReshapeNameProperty);
        Put<uint16_t>(p, static_cast<uint16_t>(name.size()));
        p += name;
        Token(kResultDescriptor, p);

        p.clear();
        Put<uint16_t>(p, 2);
        p.append(reinterpret_cast<const char*>(kRowsetPropertySet), 16);
        Put<uint16_t>(p, 4);
        PutProperty(p, kChangeProperty, rs.updatable ? 0xFFFF : 0, 2);
        PutProperty(p, 0x86, rs.updatable ? 0xFFFF : 0, 2);
        PutProperty(p, kCommandTimeoutProperty, static_cast<uint32_t>(rs.commandTimeout), 4);
        PutProperty(p, 0x49, 0, 4);
        p.append(reinterpret_cast<const char*>(kAdcPropertySet), 16);
        Put<uint16_t>(p, 5);
        for (auto [id, value] : {std::pair{0x04u, 15u}, {0x05u, 2u}, {0x03u, 15u}, {0x07u, 50u}, {0x08u, 3u}})
            PutProperty(p, id, value, 4);
        Token(kContext, p);

        for (size_t t = 0; t < plan.tables.size(); ++t) {
            const Table& table = plan.tables[t];
            p.clear();
            Put<uint16_t>(p, static_cast<uint16_t>(t + 1));
            PutLps(p, table.catalog.empty() || table.schema.empty()
                          ? Quoted(table.name)
                          : Quoted(table.catalog) + "." + Quoted(table.schema) + "." + Quoted(table.name));
            PutLps(p, table.name);
            Put<uint16_t>(p, 0);
            Put<uint16_t>(p, static_cast<uint16_t>(table.columns.size()));
            Put<uint16_t>(p, static_cast<uint16_t>(table.keys.size()));
            for (uint16_t key : table.keys) Put<uint16_t>(p, key);
            Token(kTableDescriptor, p);
        }
        for (size_t k = 0; k < rs.columns.size(); ++k) WriteColumn(index, k);
    }

    void WriteColumn(size_t index, size_t k) {
        const RowsetSource& rs = source_.rowsets[index];
        const cursor::ColumnInfo& info = rs.Column(k);
        const WrittenColumn& w = plans_[index].columns[k];
        const ColumnExtra& extra = rs.extras[k];
        const bool base = w.table != 0;
        uint8_t map[3] = {kHasName, kHasAutoIncrement, 0};
        if (base) map[0] |= kHasBaseTable | kHasBaseColumn | kHasBaseName;
        if (base && !info.baseCatalog.empty()) map[0] |= kHasCatalog;
        if (base && !info.baseSchema.empty()) map[0] |= kHasSchema;
        if (!extra.calculation.empty()) map[2] |= kHasCalculation;
        std::string p(reinterpret_cast<const char*>(map), 3);
        Put<uint16_t>(p, static_cast<uint16_t>(k + 1));
        PutLps(p, info.name);
        if (base) {
            Put<uint16_t>(p, w.table);
            Put<uint16_t>(p, w.tableColumn);
            PutLps(p, info.baseColumn.empty() ? info.name : info.baseColumn);
        }
        Put<uint16_t>(p, w.layout.dbType);
        Put<uint32_t>(p, w.layout.maxLength);
        Put<uint32_t>(p, w.layout.dbType == kDbTypeChapter ? 0 : info.precision);
        Put<uint32_t>(p, w.layout.dbType == kDbTypeChapter ? 0 : info.numericScale);
        Put<uint32_t>(p, w.layout.flags);
        if (map[0] & kHasCatalog) PutLps(p, info.baseCatalog);
        if (map[0] & kHasSchema) PutLps(p, info.baseSchema);
        Put<uint16_t>(p, info.autoIncrement ? 0xFFFF : 0);
        Put<uint16_t>(p, info.hidden ? 0 : 0xFFFF);
        if (index > 0) Put<uint32_t>(p, static_cast<uint32_t>(index + 1));
        if (!extra.calculation.empty()) {
            Put<uint32_t>(p, static_cast<uint32_t>(extra.calculation.size()));
            p += extra.calculation;
        }
        if (w.layout.dbType == kDbTypeChapter) {
            Put<uint32_t>(p, static_cast<uint32_t>(12 * extra.relation.size()));
            for (const RelationPair& r : extra.relation) {
                Put<uint32_t>(p, r.parent);
                Put<uint32_t>(p, r.child);
                Put<uint32_t>(p, r.kind);
            }
            Put<uint32_t>(p, 0);
        }
        Token(kColumnDescriptor, p);
    }

    void RowToken(uint8_t token, size_t index) {
        buf_.push_back(static_cast<char>(index > 0 ? token | kChildRow : token));
        if (index > 0) Put<uint32_t>(buf_, static_cast<uint32_t>(index + 1));
    }

    void WriteValue(const WrittenColumn& w, const Variant& v) {
        if (w.asText) {
            std::string text;
            AppendXmlText(text, adVariant, 0, v);
            return EncodeValue(buf_, w.layout, Variant(std::move(text)), codePage_);
        }
        EncodeValue(buf_, w.layout, v, codePage_);
    }

    static bool IsNullFor(const WrittenColumn& w, const Variant& v) {
        return v.IsNull() || (v.IsEmpty() && w.layout.dbType != kDbTypeVariant);
    }

    // A row as it was read: the presence map, then the values present.
    template <class ValueOf>
    void WriteOriginal(const RowsetPlan& plan, ValueOf valueOf) {
        values_.clear();
        std::string map((plan.presenceBits + 7) / 8, '\xFF');
        size_t bit = 0;
        for (size_t k = 0; k < plan.columns.size(); ++k) {
            const WrittenColumn& w = plan.columns[k];
            values_.push_back(w.layout.Chapter() ? Variant(Variant::Null) : valueOf(k));
            if (w.layout.presenceBit) {
                if (IsNullFor(w, values_.back())) map[bit / 8] = static_cast<char>(map[bit / 8] & ~(0x80 >> (bit % 8)));
                ++bit;
            }
        }
        buf_ += map;
        for (size_t k = 0; k < plan.columns.size(); ++k)
            if (!IsNullFor(plan.columns[k], values_[k])) WriteValue(plan.columns[k], values_[k]);
    }

    // The columns a change or an insertion gives: changed values, then the ones set to Null.
    void WriteUpdate(const RowsetSource& rs, const RowsetPlan& plan, RowId row, const std::vector<uint8_t>* changed) {
        const size_t n = plan.columns.size(), bytes = (n + 7) / 8;
        std::string maps(2 * bytes, '\0');
        values_.clear();
        for (size_t k = 0; k < n; ++k) {
            values_.push_back(rs.rows->Get(row, rs.columns[k]));
            if (plan.columns[k].layout.Chapter()) continue;
            const bool given = changed ? (*changed)[rs.columns[k]] != 0 : !IsNullFor(plan.columns[k], values_[k]);
            if (!given) continue;
            const size_t at = (IsNullFor(plan.columns[k], values_[k]) ? bytes : 0) + k / 8;
            maps[at] = static_cast<char>(maps[at] | (0x80 >> (k % 8)));
        }
        buf_ += maps;
        for (size_t k = 0; k < n; ++k)
            if (maps[k / 8] & (0x80 >> (k % 8))) WriteValue(plan.columns[k], values_[k]);
    }

    void WriteRows(size_t index) {
        const RowsetSource& rs = source_.rowsets[index];
        const RowsetPlan& plan = plans_[index];
        auto stored = [&](RowId row) { return [&rs, row](size_t k) { return rs.rows->Get(row, rs.columns[k]); }; };
        auto original = [&](const cursor::PendingChange& p) {
            return [&rs, &p](size_t k) { return p.original[rs.columns[k]]; };
        };
        for (RowId row : rs.order) {
            const cursor::PendingChange* p = rs.Pending(row);
            if (!(rs.rows->Flags(row) & RowStore::Deleted) || !p || p->original.empty()) continue;
            RowToken(kOriginalRow, index);
            WriteOriginal(plan, original(*p));
            RowToken(kDeleteRow, index);
            Flush();
        }
        for (RowId row : rs.order) {
            const uint8_t flags = rs.rows->Flags(row);
            if (flags & (RowStore::Deleted | RowStore::New)) continue;
            const cursor::PendingChange* p = rs.Pending(row);
            const bool changed = (flags & RowStore::Modified) && p && !p->original.empty();
            RowToken(kOriginalRow, index);
            if (changed) WriteOriginal(plan, original(*p));
            else WriteOriginal(plan, stored(row));
            if (changed) {
                RowToken(kChangeRow, index);
                WriteUpdate(rs, plan, row, &p->changed);
            }
            Flush();
        }
        for (RowId row : rs.order) {
            const uint8_t flags = rs.rows->Flags(row);
            if (!(flags & RowStore::New) || (flags & RowStore::Deleted)) continue;
            const cursor::PendingChange* p = rs.Pending(row);
            RowToken(kInsertRow, index);
            WriteUpdate(rs, plan, row, p && !p->changed.empty() ? &p->changed : nullptr);
            Flush();
        }
    }

    void Flush() { out_.FlushIfFull(); }

    const FileSource& source_;
    SinkBuffer out_;
    CodePage codePage_;
    std::string& buf_ = out_.text;
    std::vector<RowsetPlan> plans_;
    std::vector<Variant> values_;
};

}  // namespace

void WriteAdtg(const FileSource& source, ByteSink& out) { AdtgWriter(source, out).Write(); }

}  // namespace ado::persist
