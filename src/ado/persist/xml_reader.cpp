// Reads the XML persistence format with expat, a piece of the file at a time: the schema
// gives each rowset's columns, then every row element goes straight into its rowset's rows.
// A DOM of the whole document would take several times the finished recordset.
#include <expat.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <optional>
#include <unordered_map>

#include "ado/connection_string.h"
#include "ado/error_numbers.h"
#include "ado/persist/adtg_format.h"
#include "ado/persist/persist.h"
#include "ado/persist/value_text.h"
#include "ado/persist/xml_types.h"

namespace ado::persist {

namespace {

using cursor::RowId;
using cursor::RowStore;

constexpr char kSeparator = '\x01';
constexpr size_t kChunk = size_t{1} << 20;

enum class Ns { None, Schema, DataType, Rowset, Row, Other };

struct Name {
    Ns ns = Ns::None;
    std::string_view local;
};

// expat gives "uri<sep>local<sep>prefix" for names in a namespace, "local" for the others.
Name Split(const char* qualified) {
    const std::string_view s(qualified);
    const size_t sep = s.find(kSeparator);
    if (sep == std::string_view::npos) return {Ns::None, s};
    const std::string_view uri = s.substr(0, sep);
    const size_t end = s.find(kSeparator, sep + 1);
    Ns ns = Ns::Other;
    if (EqualsNoCase(uri, "uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882")) ns = Ns::Schema;
    else if (EqualsNoCase(uri, "uuid:C2F41010-65B3-11d1-A29F-00AA00C14882")) ns = Ns::DataType;
    else if (uri == "urn:schemas-microsoft-com:rowset") ns = Ns::Rowset;
    else if (uri == "#RowsetSchema") ns = Ns::Row;
    return {ns, s.substr(sep + 1, end == std::string_view::npos ? std::string_view::npos : end - sep - 1)};
}

// The name as the document writes it ("z:row"), for messages.
std::string Shown(const char* qualified) {
    const std::string_view s(qualified);
    const size_t first = s.find(kSeparator);
    if (first == std::string_view::npos) return std::string(s);
    const size_t second = s.find(kSeparator, first + 1);
    if (second == std::string_view::npos) return std::string(s.substr(first + 1));
    return std::string(s.substr(second + 1)) + ":" + std::string(s.substr(first + 1, second - first - 1));
}

bool IsTrue(std::string_view v) { return v == "true" || v == "True" || v == "1" || v == "-1"; }

// A column while the schema is read.
struct ColumnDraft {
    cursor::ColumnInfo info;
    ColumnExtra extra;
    std::string xmlName;
    std::optional<uint32_t> number;
    std::string dtType, dbType;
    std::optional<uint32_t> maxLength;
    std::optional<uint32_t> precision, scale;
    bool fixed = false, isLong = false, mayBeNull = true;
};

struct RowsetDraft {
    std::vector<ColumnDraft> columns;
    std::unordered_map<std::string_view, size_t> byName;  // attribute name -> column
};

// Where a row element puts its row.
enum class Mode { Plain, Original, Change, Insert, Delete };

struct Open {
    enum class Kind { Other, ElementType, AttributeType, Data, Update, Original, Insert, Delete, RowElement, Skipped };
    Kind kind = Kind::Other;
    size_t rowset = 0;
    RowId row = 0;
};

class XmlReader {
public:
    explicit XmlReader(ByteSource& in) : in_(in), parser_(XML_ParserCreateNS(nullptr, kSeparator)) {
        if (!parser_) throw std::bad_alloc();
        XML_SetUserData(parser_, this);
        XML_SetReturnNSTriplet(parser_, XML_TRUE);
        XML_SetElementHandler(parser_, &XmlReader::OnStart, &XmlReader::OnEnd);
        XML_SetStartDoctypeDeclHandler(parser_, &XmlReader::OnDoctype);
    }
    ~XmlReader() { XML_ParserFree(parser_); }
    XmlReader(const XmlReader&) = delete;
    XmlReader& operator=(const XmlReader&) = delete;

    RowsetFile Read() {
        for (;;) {
            // A small file asks for no more than it holds.
            const size_t want = std::clamp(in_.Remaining(), size_t{1}, kChunk);
            void* buffer = XML_GetBuffer(parser_, static_cast<int>(want));
            if (!buffer) throw std::bad_alloc();
            const std::span<const uint8_t> piece = in_.TakeSome(want);
            if (!sawLineEnd_) NoteLineEnd(piece);
            if (!piece.empty()) std::memcpy(buffer, piece.data(), piece.size());  // the end gives no data pointer
            const bool last = piece.empty();
            if (XML_ParseBuffer(parser_, static_cast<int>(piece.size()), last) != XML_STATUS_OK) Fail();
            if (last) break;
            if (!reserved_) ReserveFromFirstRows();
        }
        if (!sawData_) Fail("el archivo no tiene la sección de datos (rs:data)");
        file_.format = adPersistXML;
        return std::move(file_);
    }

private:
    // A large file's rows come in one growth of the row store: once the first rows are in, room
    // for as many more as the rest of the file holds at the same rate, and a little over.
    void ReserveFromFirstRows() {
        if (file_.rowsets.empty() || file_.rowsets[0].rows.RowCount() < 1000) return;
        reserved_ = true;
        RowStore& rows = file_.rowsets[0].rows;
        const double scale = 1.05 * static_cast<double>(in_.Offset() + in_.Remaining()) / static_cast<double>(in_.Offset());
        rows.Reserve(static_cast<size_t>(static_cast<double>(rows.RowCount()) * scale),
                     static_cast<size_t>(static_cast<double>(rows.TextBytes()) * scale));
    }

    // Whether lines end in CR LF, from the first line end (in UTF-8 or UTF-16).
    void NoteLineEnd(std::span<const uint8_t> piece) {
        for (size_t i = 0; i < piece.size(); ++i) {
            if (piece[i] != '\n') continue;
            size_t j = i;
            while (j > 0 && piece[j - 1] == 0) --j;
            file_.crlf = j > 0 && piece[j - 1] == '\r';
            sawLineEnd_ = true;
            return;
        }
    }

    // What a failure says beyond the invalid-file text that Fail puts before it again.
    static std::string DetailOf(const Error& e) {
        const std::string prefix = std::string(Lookup(Condition::InvalidFile).description) + " (";
        const std::string& d = e.Description();
        if (d.rfind(prefix, 0) == 0 && d.back() == ')') return d.substr(prefix.size(), d.size() - prefix.size() - 1);
        return d;
    }

    [[noreturn]] void Fail(std::string what = {}) {
        if (what.empty() && failure_) what = DetailOf(*failure_);
        if (what.empty()) what = std::string("XML no válido: ") + XML_ErrorString(XML_GetErrorCode(parser_));
        std::string where = "(archivo '" + in_.Name() + "', línea " + std::to_string(XML_GetCurrentLineNumber(parser_));
        if (element_.empty()) where += ", columna " + std::to_string(XML_GetCurrentColumnNumber(parser_) + 1);
        else where += ", elemento '" + element_ + "'";
        Raise(Condition::InvalidFile, where + ": " + what + ")");
    }

    // expat is C: a failure stops the parser and is thrown again once it has returned.
    template <class F>
    void Guard(F&& f) {
        try {
            f();
        } catch (const Error& e) {
            failure_ = e;
        } catch (const std::exception& e) {
            failure_ = Error(err::Fail, e.what());
        }
        if (!failure_) return;
        if (name_) element_ = Shown(name_);
        XML_StopParser(parser_, XML_FALSE);
    }

    static void OnStart(void* self, const XML_Char* name, const XML_Char** atts) {
        auto* r = static_cast<XmlReader*>(self);
        r->Guard([&] { r->Start(name, atts); });
    }
    static void OnEnd(void* self, const XML_Char* name) {
        auto* r = static_cast<XmlReader*>(self);
        r->Guard([&] { r->End(name); });
    }
    static void OnDoctype(void* self, const XML_Char*, const XML_Char*, const XML_Char*, int) {
        auto* r = static_cast<XmlReader*>(self);
        r->Guard([] { Raise(Condition::InvalidFile, "(una declaración de tipo de documento no se admite)"); });
    }

    [[noreturn]] static void Bad(std::string_view what) { Raise(Condition::InvalidFile, "(" + std::string(what) + ")"); }

    void Start(const char* qualified, const char** atts) {
        const Name n = Split(qualified);
        name_ = qualified;
        Open o;
        if (!stack_.empty() && stack_.back().kind == Open::Kind::Skipped) {
            o.kind = Open::Kind::Skipped;
        } else if (n.ns == Ns::Schema && n.local == "ElementType") {
            o = StartRowset(atts);
        } else if (n.ns == Ns::Schema && n.local == "AttributeType") {
            o.kind = Open::Kind::AttributeType;
            StartColumn(atts);
            o.rowset = stack_.back().rowset;
        } else if (n.ns == Ns::Schema && n.local == "datatype") {
            if (stack_.empty() || stack_.back().kind != Open::Kind::AttributeType) Bad("s:datatype fuera de una columna");
            ReadTypeAttributes(atts, drafts_[stack_.back().rowset].columns.back());
        } else if (n.ns == Ns::Rowset && n.local == "data") {
            o.kind = Open::Kind::Data;
            StartData();
        } else if (inData_) {
            o = StartInData(n, atts);
        }
        stack_.push_back(o);
    }

    void End(const char* qualified) {
        name_ = qualified;
        const Open o = stack_.back();
        stack_.pop_back();
        if (o.kind == Open::Kind::AttributeType) EndColumn(drafts_[o.rowset]);
        if (o.kind == Open::Kind::Data) inData_ = false;
        if (o.kind == Open::Kind::Update) lastOriginal_.reset();
    }

    // --- schema ---

    Open StartRowset(const char** atts) {
        if (schemaDone_) Bad("un s:ElementType después de los datos");
        const bool child = !stack_.empty() && stack_.back().kind == Open::Kind::ElementType;
        if (!child && !file_.rowsets.empty()) Bad("el esquema describe más de un conjunto de registros raíz");
        if (file_.rowsets.size() >= 4096) Bad("el esquema describe demasiados conjuntos de registros");
        const size_t index = file_.rowsets.size();
        file_.rowsets.emplace_back();
        drafts_.emplace_back();
        Rowset& rowset = file_.rowsets.back();
        std::string name;
        ColumnDraft chapter;
        for (const char** a = atts; *a; a += 2) {
            const Name an = Split(a[0]);
            const std::string_view v = a[1];
            if (an.ns == Ns::None && an.local == "name") name = v;
            else if (an.ns == Ns::Rowset && an.local == "name") chapter.info.name = v;
            else if (an.ns == Ns::Rowset && an.local == "updatable") rowset.updatable = IsTrue(v);
            else if (an.ns == Ns::Rowset && an.local == "ReshapeName") rowset.reshapeName = v;
            else if (an.ns == Ns::Rowset && an.local == "CommandTimeout") rowset.commandTimeout = std::atoi(a[1]);
            else if (an.ns == Ns::Rowset && an.local == "relation") chapter.extra.relation = Relation(v);
        }
        if (child) {
            // A nested ElementType is a chapter column of its parent, and the child's schema.
            chapter.xmlName = name;
            if (chapter.info.name.empty()) chapter.info.name = name;
            chapter.info.type = adChapter;
            chapter.info.definedSize = 4;
            chapter.info.attributes = adFldIsChapter | adFldFixed;
            chapter.extra.child = static_cast<int32_t>(index);
            drafts_[stack_.back().rowset].columns.push_back(std::move(chapter));
        }
        Open o;
        o.kind = Open::Kind::ElementType;
        o.rowset = index;
        return o;
    }

    // The triples of rs:relation: three little-endian ULONGs each, in hexadecimal.
    static std::vector<RelationPair> Relation(std::string_view hex) {
        const Variant bytes = XmlValue(adVarBinary, hex, "rs:relation");
        const Binary& b = bytes.AsBinary();
        if (b.size() % 12) Bad("la relación de un capítulo no es válida");
        auto word = [&](size_t at) {
            return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 3]} << 24;
        };
        std::vector<RelationPair> pairs;
        for (size_t i = 0; i < b.size(); i += 12) pairs.push_back({word(i), word(i + 4), word(i + 8)});
        return pairs;
    }

    void StartColumn(const char** atts) {
        if (schemaDone_) Bad("un s:AttributeType después de los datos");
        if (stack_.empty() || stack_.back().kind != Open::Kind::ElementType)
            Bad("s:AttributeType fuera de un s:ElementType");
        RowsetDraft& rd = drafts_[stack_.back().rowset];
        if (rd.columns.size() >= 65535) Bad("demasiadas columnas");
        ColumnDraft& c = rd.columns.emplace_back();
        for (const char** a = atts; *a; a += 2) {
            const Name an = Split(a[0]);
            const std::string_view v = a[1];
            if (an.ns == Ns::None && an.local == "name") c.xmlName = v;
            else if (an.ns == Ns::Rowset) ReadColumnAttribute(an.local, v, c);
        }
        ReadTypeAttributes(atts, c);
        if (c.info.name.empty()) c.info.name = c.xmlName;
    }

    static void ReadColumnAttribute(std::string_view a, std::string_view v, ColumnDraft& c) {
        struct Flag {
            std::string_view attribute;
            int32_t bit;
        };
        static constexpr Flag kFlags[] = {{"nullable", adFldIsNullable}, {"maydefer", adFldMayDefer},
                                          {"write", adFldUpdatable}, {"writeunknown", adFldUnknownUpdatable},
                                          {"rowver", adFldRowVersion}, {"keycolumn", adFldKeyColumn}};
        for (const Flag& f : kFlags)
            if (a == f.attribute && IsTrue(v)) c.info.attributes |= f.bit;
        if (a == "name") c.info.name = v;
        else if (a == "number") c.number = static_cast<uint32_t>(std::strtoul(std::string(v).c_str(), nullptr, 10));
        else if (a == "basecatalog") c.info.baseCatalog = v;
        else if (a == "baseschema") c.info.baseSchema = v;
        else if (a == "basetable") c.info.baseTable = v;
        else if (a == "basecolumn") c.info.baseColumn = v;
        else if (a == "autoincrement") c.info.autoIncrement = IsTrue(v);
        else if (a == "hidden") c.info.hidden = IsTrue(v);
        else if (a == "calculation") c.extra.calculation = std::string(ParseHex(v));
    }

    static std::string ParseHex(std::string_view v) {
        const Variant bytes = XmlValue(adVarBinary, v, "rs:calculation");
        return std::string(bytes.AsBinary().begin(), bytes.AsBinary().end());
    }

    static std::optional<uint32_t> Number(std::string_view v) {
        char* end = nullptr;
        const std::string s(v);
        const unsigned long long n = std::strtoull(s.c_str(), &end, 10);
        if (s.empty() || *end || n > UINT32_MAX) Bad("un tamaño del esquema no es un número: '" + s + "'");
        return static_cast<uint32_t>(n);
    }

    static void ReadTypeAttributes(const char** atts, ColumnDraft& c) {
        for (const char** a = atts; *a; a += 2) {
            const Name an = Split(a[0]);
            const std::string_view v = a[1];
            if (an.ns == Ns::DataType && an.local == "type") c.dtType = v;
            else if (an.ns == Ns::DataType && an.local == "maxLength") c.maxLength = Number(v);
            else if (an.ns == Ns::Rowset && an.local == "dbtype") c.dbType = v;
            else if (an.ns == Ns::Rowset && an.local == "precision") c.precision = Number(v);
            else if (an.ns == Ns::Rowset && an.local == "scale") c.scale = Number(v);
            else if (an.ns == Ns::Rowset && an.local == "fixedlength") c.fixed = IsTrue(v);
            else if (an.ns == Ns::Rowset && an.local == "long") c.isLong = IsTrue(v);
            else if (an.ns == Ns::Rowset && an.local == "maybenull") c.mayBeNull = IsTrue(v);
        }
    }

    static void EndColumn(RowsetDraft& rd) {
        ColumnDraft& c = rd.columns.back();
        cursor::ColumnInfo& info = c.info;
        info.type = AdoTypeOfXml(c.dtType, c.dbType, c.fixed, c.isLong, c.maxLength.has_value());
        const uint32_t natural = adtg::FixedSize(adtg::DbTypeOf(info.type));
        info.definedSize = static_cast<int32_t>(natural ? natural : c.maxLength.value_or(0));
        info.precision = static_cast<uint8_t>(std::min<uint32_t>(c.precision.value_or(255), 255));
        info.numericScale = static_cast<uint8_t>(std::min<uint32_t>(c.scale.value_or(0), 255));
        if (c.mayBeNull) info.attributes |= adFldMayBeNull;
        if (IsFixedLengthType(info.type) || info.type == adVariant) info.attributes |= adFldFixed;
        if (info.type == adVariant) info.definedSize = 16;
        if (c.isLong) info.attributes |= adFldLong;
        info.key = (info.attributes & adFldKeyColumn) != 0;
    }

    // The columns in rs:number order; those without a number (chapters) take the free places
    // in document order. Numbers that do not fit (out of range, repeated) keep document order.
    static std::vector<size_t> ColumnOrder(const RowsetDraft& rd) {
        const size_t n = rd.columns.size();
        std::vector<size_t> slots(n, SIZE_MAX);
        for (size_t k = 0; k < n; ++k) {
            const std::optional<uint32_t>& number = rd.columns[k].number;
            if (!number) continue;
            if (*number < 1 || *number > n || slots[*number - 1] != SIZE_MAX) {
                std::iota(slots.begin(), slots.end(), size_t{0});
                return slots;
            }
            slots[*number - 1] = k;
        }
        size_t next = 0;
        for (size_t k = 0; k < n; ++k) {
            if (rd.columns[k].number) continue;
            while (slots[next] != SIZE_MAX) ++next;
            slots[next] = k;
        }
        return slots;
    }

    // Gives each rowset its columns in order, and its rows.
    void FinishSchema() {
        schemaDone_ = true;
        if (file_.rowsets.empty()) Bad("el archivo no tiene esquema (s:Schema)");
        for (size_t i = 0; i < drafts_.size(); ++i) {
            RowsetDraft& rd = drafts_[i];
            std::vector<ColumnDraft> ordered;
            for (size_t k : ColumnOrder(rd)) ordered.push_back(std::move(rd.columns[k]));
            rd.columns = std::move(ordered);
            std::vector<cursor::ColumnInfo> columns;
            Rowset& rowset = file_.rowsets[i];
            for (size_t k = 0; k < rd.columns.size(); ++k) {
                columns.push_back(rd.columns[k].info);
                rowset.extras.push_back(rd.columns[k].extra);
                rd.byName.emplace(rd.columns[k].xmlName, k);  // the keys point into rd.columns, settled now
            }
            rowset.rows = RowStore(std::move(columns));
        }
        for (const Rowset& rowset : file_.rowsets)
            for (const ColumnExtra& extra : rowset.extras)
                for (const RelationPair& r : extra.relation)
                    if (extra.child < 0 || r.parent < 1 || r.parent > rowset.rows.ColumnCount() || r.child < 1 ||
                        r.child > drafts_[static_cast<size_t>(extra.child)].columns.size())
                        Bad("la relación de un capítulo nombra columnas que no existen");
    }

    // --- data ---

    void StartData() {
        // The schema is settled when the data begins: none of its elements may still be open.
        for (const Open& open : stack_)
            if (open.kind == Open::Kind::ElementType || open.kind == Open::Kind::AttributeType)
                Bad("rs:data dentro del esquema");
        if (!schemaDone_) FinishSchema();
        inData_ = sawData_ = true;
    }

    Open StartInData(const Name& n, const char** atts) {
        Open o;
        const Open::Kind parent = stack_.back().kind;
        if (n.ns == Ns::Rowset) {
            struct Group {
                std::string_view local;
                Open::Kind kind;
            };
            static constexpr Group kGroups[] = {{"update", Open::Kind::Update}, {"original", Open::Kind::Original},
                                                {"insert", Open::Kind::Insert}, {"delete", Open::Kind::Delete}};
            for (const Group& g : kGroups)
                if (n.local == g.local) o.kind = g.kind;
            return o;
        }
        size_t rowset = 0;
        if (parent == Open::Kind::RowElement) {
            // A child row: the element is named after a chapter of the parent's rowset.
            const RowsetDraft& rd = drafts_[stack_.back().rowset];
            auto it = rd.byName.find(n.local);
            if (n.ns != Ns::None || it == rd.byName.end() || rd.columns[it->second].extra.child < 0) return o;
            rowset = static_cast<size_t>(rd.columns[it->second].extra.child);
        } else if (!(n.ns == Ns::Row && n.local == "row")) {
            return o;  // elements the format does not define are ignored
        }
        Mode mode = Mode::Plain;
        switch (parent) {
            case Open::Kind::Original: mode = Mode::Original; break;
            case Open::Kind::Update: mode = Mode::Change; break;
            case Open::Kind::Insert: mode = Mode::Insert; break;
            case Open::Kind::Delete: mode = Mode::Delete; break;
            default: break;
        }
        return Row(rowset, mode, atts);
    }

    Open Row(size_t index, Mode mode, const char** atts) {
        Rowset& rowset = file_.rowsets[index];
        const RowsetDraft& rd = drafts_[index];
        slots_.assign(rd.columns.size(), nullptr);
        forced_.assign(rd.columns.size(), 0);
        bool duplicate = false;
        size_t guess = 0;
        for (const char** a = atts; *a; a += 2) {
            const char* attribute = a[0];
            if (std::strchr(attribute, kSeparator)) {
                const Name an = Split(attribute);
                if (an.ns == Ns::Rowset && an.local == "forcenull") Forced(rd, a[1]);
                else if (an.ns == Ns::Rowset && an.local == "duplicate") duplicate = IsTrue(a[1]);
                continue;
            }
            // Attributes come in column order as a rule: try the next column first.
            size_t k = guess < rd.columns.size() && std::strcmp(rd.columns[guess].xmlName.c_str(), attribute) == 0
                           ? guess
                           : SIZE_MAX;
            if (k == SIZE_MAX) {
                auto it = rd.byName.find(attribute);
                if (it == rd.byName.end()) continue;  // attributes the schema does not define are ignored
                k = it->second;
            }
            if (rd.columns[k].extra.child < 0) slots_[k] = a[1];
            guess = k + 1;
        }
        Open o;
        o.kind = Open::Kind::RowElement;
        o.rowset = index;
        if (duplicate) {  // a child row shown again under another parent: it is there already
            o.kind = Open::Kind::Skipped;
            return o;
        }
        if (mode == Mode::Change) {
            if (!lastOriginal_ || lastOriginal_->first != index) Bad("un cambio sin su fila original (rs:original)");
            o.row = lastOriginal_->second;
            ApplyChange(rowset, o.row);
            return o;
        }
        o.row = PutRow(rowset, rd);
        switch (mode) {
            case Mode::Original: lastOriginal_ = {index, o.row}; break;
            case Mode::Insert: {
                cursor::PendingChange p;
                p.changed.resize(rd.columns.size());
                for (size_t k = 0; k < rd.columns.size(); ++k) p.changed[k] = slots_[k] || forced_[k];
                rowset.rows.SetFlags(o.row, RowStore::New);
                rowset.pending.emplace(o.row, std::move(p));
                break;
            }
            case Mode::Delete: {
                cursor::PendingChange& p = rowset.pending[o.row];
                p.changed.assign(rd.columns.size(), 0);
                p.original = rowset.rows.Row(o.row);
                rowset.rows.SetFlags(o.row, RowStore::Deleted);
                break;
            }
            default: break;
        }
        return o;
    }

    void Forced(const RowsetDraft& rd, std::string_view names) {
        size_t start = 0;
        while (start < names.size()) {
            size_t end = names.find(' ', start);
            if (end == std::string_view::npos) end = names.size();
            if (auto it = rd.byName.find(names.substr(start, end - start)); it != rd.byName.end()) forced_[it->second] = 1;
            start = end + 1;
        }
    }

    RowId PutRow(Rowset& rowset, const RowsetDraft& rd) {
        RowStore& rows = rowset.rows;
        StoreSink put(rows);
        const RowId row = rows.BeginRow();
        for (size_t k = 0; k < rd.columns.size(); ++k) {
            if (!slots_[k]) {
                rows.PutNull();
                continue;
            }
            const cursor::ColumnInfo& c = rows.Columns()[k];
            ParseXmlValue(c.type, slots_[k], c.name, put);
        }
        return row;
    }

    void ApplyChange(Rowset& rowset, RowId row) {
        RowStore& rows = rowset.rows;
        cursor::PendingChange& p = rowset.pending[row];
        if (p.changed.empty()) {
            p.changed.assign(rows.ColumnCount(), 0);
            p.original = rows.Row(row);
        }
        for (size_t k = 0; k < rows.ColumnCount(); ++k) {
            if (!slots_[k] && !forced_[k]) continue;
            const cursor::ColumnInfo& c = rows.Columns()[k];
            rows.Set(row, k, slots_[k] ? XmlValue(c.type, slots_[k], c.name) : Variant(Variant::Null));
            p.changed[k] = 1;
        }
        rows.SetFlags(row, static_cast<uint8_t>(rows.Flags(row) | RowStore::Modified));
    }

    ByteSource& in_;
    XML_Parser parser_;
    RowsetFile file_;
    std::vector<RowsetDraft> drafts_;
    std::vector<Open> stack_;
    std::vector<const char*> slots_;
    std::vector<uint8_t> forced_;
    std::optional<std::pair<size_t, RowId>> lastOriginal_;
    std::optional<Error> failure_;
    const char* name_ = nullptr;  // the element of the callback running, valid during it
    std::string element_;         // a failing element's name, as the document writes it
    bool schemaDone_ = false, inData_ = false, sawData_ = false, sawLineEnd_ = false, reserved_ = false;
};

}  // namespace

RowsetFile ReadXml(ByteSource& in) { return XmlReader(in).Read(); }

}  // namespace ado::persist
