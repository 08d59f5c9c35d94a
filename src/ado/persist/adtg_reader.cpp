// Reads the ADTG format: header, handler options, per rowset its result descriptor, context,
// table and column descriptors, then the row operations of every rowset and the end token.
#include <algorithm>

#include "ado/Regional.h"
#include "ado/error_numbers.h"
#include "ado/persist/adtg_format.h"
#include "ado/persist/adtg_values.h"
#include "ado/persist/persist.h"

namespace ado::persist {

namespace {

using namespace adtg;
using cursor::RowId;
using cursor::RowStore;

// A metadata block already in memory, read field by field.
class Block {
public:
    Block(ByteSource& in, const uint8_t* p, size_t n, uint64_t offset)
        : in_(in), begin_(p), p_(p), end_(p + n), offset_(offset) {}
    const uint8_t* Bytes(size_t n) {
        if (static_cast<size_t>(end_ - p_) < n) Fail("un descriptor es más corto que sus campos");
        const uint8_t* p = p_;
        p_ += n;
        return p;
    }
    uint8_t U8() { return *Bytes(1); }
    uint16_t U16() { return Get<uint16_t>(Bytes(2)); }
    uint32_t U32() { return Get<uint32_t>(Bytes(4)); }
    std::string Utf16(size_t bytes) {
        std::string s;
        AppendUtf8FromUtf16(s, Bytes(bytes), bytes);
        return s;
    }
    std::string Lps() { return Utf16(size_t{U16()} * 2); }
    bool AtEnd() const { return p_ == end_; }
    uint64_t Offset() const { return offset_ + static_cast<uint64_t>(p_ - begin_); }
    [[noreturn]] void Fail(std::string_view what) const { in_.FailAt(Offset(), what); }

private:
    ByteSource& in_;
    const uint8_t *begin_, *p_, *end_;
    uint64_t offset_;
};

bool SameGuid(const uint8_t* p, const uint8_t (&guid)[16]) { return std::equal(guid, guid + 16, p); }

// A rowset while its file is read.
struct Reading {
    uint16_t totalColumns = 0;
    uint32_t rowCount = 0;
    std::vector<std::pair<uint16_t, std::string>> tables;  // ordinal, update name
    std::vector<cursor::ColumnInfo> columns;
    std::vector<ColumnLayout> layouts;
    size_t presenceBits = 0;
};

class AdtgReader {
public:
    explicit AdtgReader(ByteSource& in) : in_(in), codePage_(RegionalSettings::Current().ansiCodePage) {}

    RowsetFile Read() {
        ReadHeader();
        ReadMetadata();
        LinkChapters();
        ReadRows();
        return std::move(file_);
    }

private:
    void ReadHeader() {
        const uint8_t* p = in_.Take(2);
        if (!p || p[0] != kHeaderToken || p[1] < 6) in_.FailAt(0, "no es un archivo ADTG");  // up to the byte order
        const uint8_t* h = in_.Need(p[1]);
        if (h[0] != 'T' || h[1] != 'G' || h[2] != '!') in_.FailAt(2, "no es un archivo ADTG");
        if (h[5] != 0) in_.FailAt(7, "el archivo usa un orden de bytes que no se admite");
    }

    void ReadMetadata() {
        for (int token = in_.Peek(); IsMetadata(token); token = in_.Peek()) {
            const uint64_t start = in_.Offset();
            const uint8_t* head = in_.Need(3);
            const size_t size = Get<uint16_t>(head + 1);
            Block b(in_, in_.Need(size), size, start + 3);
            switch (token) {
                case kResultDescriptor: ReadResult(b); break;
                case kContext:
                    RequireRowset(b);
                    ReadProperties(b);
                    break;
                case kTableDescriptor: ReadTable(b); break;
                case kColumnDescriptor: ReadColumn(b); break;
                default: break;  // handler options: nothing the model keeps
            }
        }
        if (reading_.empty()) in_.Fail("el archivo no describe ningún conjunto de registros");
        for (size_t i = 0; i < reading_.size(); ++i) {
            Reading& r = reading_[i];
            if (r.columns.size() != r.totalColumns) in_.Fail("faltan descriptores de columna");
            Rowset& rowset = file_.rowsets[i];
            rowset.rows = RowStore(std::move(r.columns));
            rowset.rows.Reserve(std::min<uint64_t>(r.rowCount, in_.Remaining()));
        }
    }

    static bool IsMetadata(int token) {
        return token == kHandlerOptions || token == kResultDescriptor || token == kTableDescriptor ||
               token == kColumnDescriptor || token == kContext;
    }

    Reading& RequireRowset(Block& b) {
        if (reading_.empty()) b.Fail("un descriptor aparece antes del conjunto de registros");
        return reading_.back();
    }

    void ReadResult(Block& b) {
        b.Bytes(16 + 3);  // GUID, reserved, cursor model, normalization
        Reading& r = reading_.emplace_back();
        file_.rowsets.emplace_back();
        b.U16();  // visible columns: the hidden flags of the columns say it again
        r.totalColumns = b.U16();
        b.U16();  // computed columns
        b.U16();  // tables: their descriptors follow
        if (b.U16() != 0) b.Fail("el orden de filas guardado no se admite");
        r.rowCount = b.U32();
        ReadProperties(b);
    }

    void ReadProperties(Block& b) {
        Rowset& rowset = file_.rowsets.back();
        if (b.AtEnd()) return;
        const uint16_t sets = b.U16();
        for (uint16_t s = 0; s < sets; ++s) {
            const uint8_t* guid = b.Bytes(16);
            const bool adc = SameGuid(guid, kAdcPropertySet), rowsetSet = SameGuid(guid, kRowsetPropertySet);
            const uint16_t count = b.U16();
            for (uint16_t k = 0; k < count; ++k) {
                const uint32_t id = b.U32();
                const uint16_t size = b.U16();
                if (adc && id == kReshapeNameProperty) {
                    rowset.reshapeName = b.Utf16(size & ~1u);
                    b.Bytes(size & 1u);
                } else if (rowsetSet && id == kCommandTimeoutProperty && size == 4) {
                    rowset.commandTimeout = static_cast<int32_t>(b.U32());
                } else if (rowsetSet && id == kChangeProperty && size == 2) {
                    rowset.updatable = b.U16() != 0;
                } else {
                    b.Bytes(size);
                }
            }
        }
    }

    void ReadTable(Block& b) {
        Reading& r = RequireRowset(b);
        const uint16_t ordinal = b.U16();
        std::string original = b.Lps();
        std::string update = b.Lps();
        r.tables.emplace_back(ordinal, update.empty() ? std::move(original) : std::move(update));
    }

    std::string TableName(Block& b, const Reading& r, uint16_t ordinal) {
        for (const auto& [n, name] : r.tables)
            if (n == ordinal) return name;
        b.Fail("una columna nombra una tabla que no está descrita");
    }

    void ReadColumn(Block& b) {
        Reading& r = RequireRowset(b);
        const uint8_t* map = b.Bytes(3);
        if ((map[0] & 0x0C) || (map[1] & ~kHasAutoIncrement) || (map[2] & ~kHasCalculation))
            b.Fail("un descriptor de columna tiene campos que no se admiten");
        if (b.U16() != r.columns.size() + 1 || r.columns.size() >= r.totalColumns)
            b.Fail("los descriptores de columna no siguen el orden de las columnas");
        cursor::ColumnInfo c;
        ColumnExtra extra;
        if (map[0] & kHasName) c.name = b.Lps();
        if (map[0] & kHasBaseTable) c.baseTable = TableName(b, r, b.U16());
        if (map[0] & kHasBaseColumn) b.U16();
        if (map[0] & kHasBaseName) c.baseColumn = b.Lps();
        const uint64_t typeAt = b.Offset();
        const uint16_t dbType = b.U16();
        if (!IsKnownDbType(dbType)) in_.FailAt(typeAt, "una columna es de un tipo desconocido");
        const uint32_t maxLength = b.U32();
        c.precision = static_cast<uint8_t>(std::min<uint32_t>(b.U32(), 255));
        c.numericScale = static_cast<uint8_t>(std::min<uint32_t>(b.U32(), 255));
        const uint32_t flags = b.U32();
        if (map[0] & kHasCatalog) c.baseCatalog = b.Lps();
        if (map[0] & kHasSchema) c.baseSchema = b.Lps();
        if (map[1] & kHasAutoIncrement) c.autoIncrement = b.U16() != 0;
        c.hidden = b.U16() == 0;
        if (reading_.size() > 1 && b.U32() != reading_.size()) b.Fail("una columna nombra otro conjunto de registros");
        if (map[2] & kHasCalculation) {
            const uint32_t n = b.U32();
            const uint8_t* blob = b.Bytes(n);
            extra.calculation.assign(blob, blob + n);
        }
        if (dbType == kDbTypeChapter) {
            const uint32_t n = b.U32();
            if (n % 12) b.Fail("la relación de un capítulo no es válida");
            for (uint32_t k = 0; k < n / 12; ++k) {
                RelationPair pair;
                pair.parent = b.U32();
                pair.child = b.U32();
                pair.kind = b.U32();
                extra.relation.push_back(pair);
            }
            b.U32();
        }
        c.type = AdoTypeOf(dbType, flags);
        // A NUMERIC column's values are written with its scale: one no value can have is refused.
        if (c.type == adNumeric && c.numericScale > 28) in_.FailAt(typeAt, "una columna numérica tiene una escala no válida");
        c.definedSize = static_cast<int32_t>(maxLength);
        c.attributes = static_cast<int32_t>(flags);
        c.key = (flags & adFldKeyColumn) != 0;
        ColumnLayout layout = LayoutOf(dbType, flags, maxLength);
        layout.precision = c.precision;
        layout.scale = c.numericScale;
        r.presenceBits += layout.presenceBit;
        r.layouts.push_back(layout);
        r.columns.push_back(std::move(c));
        file_.rowsets.back().extras.push_back(std::move(extra));
    }

    // Each chapter takes the next rowset of the file as its child, depth first.
    void LinkChapters() {
        size_t next = 1;
        LinkChildren(0, next, 0);
        if (next != file_.rowsets.size()) in_.Fail("hay conjuntos de registros que ningún capítulo usa");
    }

    void LinkChildren(size_t index, size_t& next, int depth) {
        if (depth > 64) in_.Fail("la jerarquía es demasiado profunda");
        for (size_t c = 0; c < reading_[index].layouts.size(); ++c) {
            if (!reading_[index].layouts[c].Chapter()) continue;
            ColumnExtra& extra = file_.rowsets[index].extras[c];
            if (next >= file_.rowsets.size()) in_.Fail("un capítulo no tiene conjunto de registros");
            extra.child = static_cast<int32_t>(next++);
            const size_t parentColumns = file_.rowsets[index].rows.ColumnCount();
            const size_t childColumns = file_.rowsets[static_cast<size_t>(extra.child)].rows.ColumnCount();
            for (const RelationPair& p : extra.relation)
                if (p.parent < 1 || p.parent > parentColumns || p.child < 1 || p.child > childColumns)
                    in_.Fail("la relación de un capítulo nombra columnas que no existen");
            LinkChildren(static_cast<size_t>(extra.child), next, depth + 1);
        }
    }

    void ReadRows() {
        for (;;) {
            const uint8_t* t = in_.Take(1);
            if (!t) in_.Fail("falta la marca de final");
            if (*t == kDone) break;
            size_t index = 0;
            if (*t & kChildRow) {
                const uint32_t id = Get<uint32_t>(in_.Need(4));
                if (id < 2 || id > file_.rowsets.size()) in_.Fail("una fila nombra un conjunto de registros que no existe");
                index = id - 1;
            }
            switch (*t & ~kChildRow) {
                case kOriginalRow: ReadOriginal(index); break;
                case kChangeRow: ReadChange(LastRow(index)); break;
                case kDeleteRow: MarkDeleted(LastRow(index)); break;
                case kInsertRow: ReadInsert(index); break;
                default: in_.FailAt(in_.Offset() - 1, "marca de fila desconocida");
            }
        }
        if (in_.Remaining() != 0) in_.Fail("hay datos después de la marca de final");
    }

    // The row an original image just gave, which a change or a deletion applies to.
    std::pair<size_t, RowId> LastRow(size_t index) {
        if (!lastOriginal_ || lastRowset_ != index) in_.Fail("un cambio no sigue a la fila que cambia");
        lastOriginal_ = false;
        return {index, lastRow_};
    }

    void ReadOriginal(size_t index) {
        Rowset& rowset = file_.rowsets[index];
        const Reading& r = reading_[index];
        const uint8_t* map = Copy((r.presenceBits + 7) / 8);
        StoreSink put(rowset.rows);
        lastRow_ = rowset.rows.BeginRow();
        size_t bit = 0;
        for (const ColumnLayout& c : r.layouts) {
            const bool present = !c.presenceBit || (map[bit / 8] & (0x80 >> (bit % 8)));
            bit += c.presenceBit;
            if (c.Chapter() || !present) put.Null();
            else DecodeValue(in_, c, codePage_, scratch_, put);
        }
        lastRowset_ = index;
        lastOriginal_ = true;
    }

    // The next bytes, copied: reading values moves the source's buffer.
    const uint8_t* Copy(size_t n) {
        const uint8_t* p = in_.Need(n);
        maps_.assign(p, p + n);
        return maps_.data();
    }

    // The changed and the null maps of an update or an insert.
    std::pair<const uint8_t*, const uint8_t*> Maps(size_t columns) {
        const size_t bytes = (columns + 7) / 8;
        const uint8_t* changed = Copy(2 * bytes);
        return {changed, changed + bytes};
    }

    static bool Bit(const uint8_t* map, size_t i) { return map[i / 8] & (0x80 >> (i % 8)); }

    void ReadChange(std::pair<size_t, RowId> at) {
        const auto [index, row] = at;
        Rowset& rowset = file_.rowsets[index];
        const Reading& r = reading_[index];
        const auto [changed, nulls] = Maps(r.layouts.size());
        cursor::PendingChange& p = Pending(rowset, row);
        for (size_t c = 0; c < r.layouts.size(); ++c) {
            if (r.layouts[c].Chapter() || (!Bit(changed, c) && !Bit(nulls, c))) continue;
            VariantSink out;
            if (Bit(changed, c)) DecodeValue(in_, r.layouts[c], codePage_, scratch_, out);
            else out.Null();
            rowset.rows.Set(row, c, out.value);
            p.changed[c] = 1;
        }
        rowset.rows.SetFlags(row, static_cast<uint8_t>(rowset.rows.Flags(row) | RowStore::Modified));
    }

    void MarkDeleted(std::pair<size_t, RowId> at) {
        Rowset& rowset = file_.rowsets[at.first];
        Pending(rowset, at.second);
        rowset.rows.SetFlags(at.second, static_cast<uint8_t>(rowset.rows.Flags(at.second) | RowStore::Deleted));
    }

    static cursor::PendingChange& Pending(Rowset& rowset, RowId row) {
        cursor::PendingChange& p = rowset.pending[row];
        if (p.changed.empty()) {
            p.changed.assign(rowset.rows.ColumnCount(), 0);
            p.original = rowset.rows.Row(row);
        }
        return p;
    }

    void ReadInsert(size_t index) {
        Rowset& rowset = file_.rowsets[index];
        const Reading& r = reading_[index];
        const auto [changed, nulls] = Maps(r.layouts.size());
        StoreSink put(rowset.rows);
        const RowId row = rowset.rows.BeginRow();
        cursor::PendingChange p;
        p.changed.assign(r.layouts.size(), 0);
        for (size_t c = 0; c < r.layouts.size(); ++c) {
            const bool given = !r.layouts[c].Chapter() && Bit(changed, c);
            if (given) DecodeValue(in_, r.layouts[c], codePage_, scratch_, put);
            else put.Null();
            p.changed[c] = given || (!r.layouts[c].Chapter() && Bit(nulls, c));
        }
        rowset.rows.SetFlags(row, RowStore::New);
        rowset.pending.emplace(row, std::move(p));
        lastOriginal_ = false;
    }

    ByteSource& in_;
    CodePage codePage_;
    std::string scratch_;
    std::vector<uint8_t> maps_;
    RowsetFile file_;
    std::vector<Reading> reading_;
    size_t lastRowset_ = 0;
    RowId lastRow_ = 0;
    bool lastOriginal_ = false;
};

}  // namespace

RowsetFile ReadAdtg(ByteSource& in) { return AdtgReader(in).Read(); }

}  // namespace ado::persist
