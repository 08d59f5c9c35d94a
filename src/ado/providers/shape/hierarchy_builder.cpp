#include "ado/providers/shape/hierarchy_builder.h"

#include "ado/connection_string.h"
#include "ado/error_numbers.h"

namespace ado::shape {

namespace {

class Builder {
public:
    Builder(provider::Session& data, const provider::Statement& base, persist::RowsetFile& file)
        : data_(data), base_(base), file_(file) {}

    // Adds the rowset of `source` (and, under it, its chapters' rowsets); returns its index.
    size_t Level(const RowSource& source, const std::vector<Chapter>& chapters) {
        size_t index;
        if (source.kind == RowSource::Kind::Shape) {
            index = Level(source.shape->parent, source.shape->chapters);
        } else {
            index = file_.rowsets.size();
            file_.rowsets.emplace_back();
            Read(source, index);
        }
        for (const Chapter& chapter : chapters) {
            const size_t child = Level(chapter.child, {});
            AddChapter(index, chapter, child);
        }
        return index;
    }

private:
    provider::Session& data_;
    const provider::Statement& base_;
    persist::RowsetFile& file_;

    void Read(const RowSource& source, size_t index) {
        provider::Statement st;
        st.text = source.text;
        st.type = source.kind == RowSource::Kind::Table ? adCmdTable : adCmdText;
        st.timeoutSeconds = base_.timeoutSeconds;
        st.rowIdentity = base_.rowIdentity;
        persist::Rowset& rowset = file_.rowsets[index];
        if (data_.Execute(st, rowset.rows) >= 0)
            Raise(Condition::InvalidArgument, "(SHAPE: la orden {" + source.text + "} no devuelve filas)");
        rowset.extras.resize(rowset.rows.ColumnCount());
    }

    // The 1-based ordinal of a visible column of a rowset, by name.
    uint32_t Ordinal(size_t index, const std::string& name) const {
        const auto& columns = file_.rowsets[index].rows.Columns();
        for (size_t c = 0; c < cursor::VisibleColumnCount(columns); ++c)
            if (EqualsNoCase(columns[c].name, name)) return static_cast<uint32_t>(c + 1);
        Raise(Condition::ItemNotFound, "(SHAPE: RELATE nombra el campo '" + name + "', que no está en sus filas)");
    }

    // The chapter column goes after the parent's visible columns, before its row identities.
    void AddChapter(size_t parent, const Chapter& chapter, size_t child) {
        persist::ColumnExtra extra;
        extra.child = static_cast<int32_t>(child);
        for (const RelatePair& pair : chapter.relation)
            extra.relation.push_back({Ordinal(parent, pair.parent), Ordinal(child, pair.child), 0});
        cursor::ColumnInfo info;
        info.name = chapter.name;
        info.type = adChapter;
        info.definedSize = 4;
        info.attributes = adFldIsChapter | adFldFixed;
        persist::Rowset& rowset = file_.rowsets[parent];
        const size_t at = cursor::VisibleColumnCount(rowset.rows.Columns());
        rowset.rows.InsertColumn(at, std::move(info), Variant(Variant::Null));
        rowset.extras.insert(rowset.extras.begin() + static_cast<std::ptrdiff_t>(at), std::move(extra));
    }
};

}  // namespace

void BuildHierarchy(const Shape& shape, provider::Session& data, const provider::Statement& base,
                    persist::RowsetFile& hierarchy) {
    hierarchy.rowsets.clear();
    Builder(data, base, hierarchy).Level(shape.parent, shape.chapters);
}

}  // namespace ado::shape
