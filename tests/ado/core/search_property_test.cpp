// Find, Filter and Sort against answers computed here by brute force, over random rows with
// Nulls, accented and differently cased names, dates and numbers; with and without field indexes.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

#include "ado/Regional.h"
#include "ado/ado.h"
#include "ado/text/collator.h"
#include "ado/text/letter_case.h"
#include "support/Checks.h"

using namespace ado;

namespace {

const char* const kNames[] = {"José", "jose", "JOSÉ", "Ana", "ána", "Ñu", "nube", "Zoe", "álvaro", "Alvaro", "O'Hara"};

struct Row {
    int id;
    std::optional<std::string> nombre;
    std::optional<int> fecha;  // day of July 1997
    std::optional<int> importe;
};

std::string Language() {
    const std::string& l = RegionalSettings::Current().language;
    return l.empty() ? "es" : l;
}

// The oracle's comparisons, written independently of the cursor engine's.
struct Oracle {
    text::Collator collator{Language()};

    // nullopt: a Null takes part.
    template <class T>
    static std::optional<int> Three(const std::optional<T>& a, const T& b) {
        if (!a) return std::nullopt;
        return *a < b ? -1 : b < *a ? 1 : 0;
    }
    std::optional<int> Text(const std::optional<std::string>& a, const std::string& b) const {
        if (!a) return std::nullopt;
        return collator.Compare(*a, b);
    }
};

struct Clause {
    std::string text;
    std::function<bool(const Row&)> holds;
};

bool Apply(std::optional<int> r, const std::string& op) {
    if (!r) return false;
    if (op == "=") return *r == 0;
    if (op == "<>") return *r != 0;
    if (op == "<") return *r < 0;
    if (op == "<=") return *r <= 0;
    if (op == ">") return *r > 0;
    return *r >= 0;
}

std::string Quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

class SearchProperty : public ::testing::TestWithParam<unsigned> {
protected:
    void SetUp() override {
        rng.seed(GetParam());
        rs = Recordset::Create();
        rs->Fields().Append("Id", adInteger);
        rs->Fields().Append("Nombre", adVarWChar, 20);
        rs->Fields().Append("Fecha", adDate);
        rs->Fields().Append("Importe", adInteger);
        rs->Open();
        for (int i = 1; i <= 80; ++i) {
            Row r{i, {}, {}, {}};
            if (Chance(85)) r.nombre = kNames[Pick(std::size(kNames))];
            if (Chance(85)) r.fecha = 1 + static_cast<int>(Pick(10));
            if (Chance(85)) r.importe = static_cast<int>(Pick(21)) - 10;
            rows.push_back(r);
            rs->AddNew();
            rs->Fields()["Id"].Value(Variant(i));
            if (r.nombre) rs->Fields()["Nombre"].Value(Variant(*r.nombre));
            if (r.fecha) rs->Fields()["Fecha"].Value(Variant(MakeDate(1997, 7, *r.fecha)));
            if (r.importe) rs->Fields()["Importe"].Value(Variant(*r.importe));
            rs->Update();
        }
    }

    // Changes a few rows' names and amounts through the recordset, as its model says.
    void EditSomeRows() {
        rs->Filter(Variant(""));
        rs->Sort("");
        for (int k = 0; k < 6; ++k) {
            const size_t i = Pick(rows.size());
            Row& r = rows[i];
            r.nombre = Chance(85) ? std::optional<std::string>(kNames[Pick(std::size(kNames))]) : std::nullopt;
            r.importe = Chance(85) ? std::optional<int>(static_cast<int>(Pick(21)) - 10) : std::nullopt;
            rs->MoveFirst();
            rs->Move(static_cast<int32_t>(i));
            rs->Fields()["Nombre"].Value(r.nombre ? Variant(*r.nombre) : Variant(Variant::Null));
            rs->Fields()["Importe"].Value(r.importe ? Variant(*r.importe) : Variant(Variant::Null));
            rs->Update();
        }
    }

    bool Chance(int percent) { return static_cast<int>(rng() % 100) < percent; }
    size_t Pick(size_t n) { return rng() % n; }
    std::string Op() {
        static const char* const ops[] = {"=", "<>", "<", "<=", ">", ">="};
        return ops[Pick(6)];
    }

    Clause RandomClause() {
        switch (Pick(7)) {
            case 0: {
                const std::string name = kNames[Pick(std::size(kNames))], op = Op();
                return {"Nombre " + op + " " + Quoted(name),
                        [=, this](const Row& r) { return Apply(oracle.Text(r.nombre, name), op); }};
            }
            case 1: {
                const int n = static_cast<int>(Pick(21)) - 10;
                const std::string op = Op();
                return {"Importe" + op + std::to_string(n),
                        [=](const Row& r) { return Apply(Oracle::Three(r.importe, n), op); }};
            }
            case 2: {
                const int d = 1 + static_cast<int>(Pick(10));
                const std::string op = Op();
                return {"[Fecha] " + op + " #7/" + std::to_string(d) + "/1997#",
                        [=](const Row& r) { return Apply(Oracle::Three(r.fecha, d), op); }};
            }
            case 3: {
                const bool isNull = Chance(50);
                return {std::string("Nombre ") + (isNull ? "= Null" : "<> NULL"),
                        [=](const Row& r) { return r.nombre.has_value() != isNull; }};
            }
            case 4: {
                const std::string lang = Language();
                static const char* const prefixes[] = {"jo", "JO", "a", "Á", ""};
                const std::string p = prefixes[Pick(std::size(prefixes))];
                return {"Nombre LIKE '" + p + (Chance(50) ? "*'" : "%'"), [=](const Row& r) {
                            return r.nombre && text::Lower(*r.nombre, lang).rfind(text::Lower(p, lang), 0) == 0;
                        }};
            }
            case 5: {
                const std::string lang = Language();
                static const char* const parts[] = {"os", "U", "é", "var"};
                const std::string p = parts[Pick(std::size(parts))];
                return {"Nombre like '*" + p + "*'", [=](const Row& r) {
                            return r.nombre && text::Lower(*r.nombre, lang).find(text::Lower(p, lang)) != std::string::npos;
                        }};
            }
            default: {
                const int n = static_cast<int>(Pick(5));
                const std::string op = Op();
                return {"Importe " + op + " $" + std::to_string(n) + ".00",
                        [=](const Row& r) { return Apply(Oracle::Three(r.importe, n), op); }};
            }
        }
    }

    std::vector<int> VisibleIds() {
        std::vector<int> ids;
        if (rs->RecordCount() == 0) return ids;
        rs->MoveFirst();
        while (!rs->adoEOF()) {
            ids.push_back(rs->Fields()["Id"].Value().ToInt32());
            rs->MoveNext();
        }
        return ids;
    }

    // The sort the test asks for, applied to the oracle's rows.
    std::vector<Row> Sorted(std::vector<Row> in, const std::vector<std::pair<int, bool>>& keys) {
        auto cmp = [&](const Row& a, const Row& b) {
            for (auto [column, desc] : keys) {
                int r = 0;
                auto nulls = [](bool x, bool y) { return x == y ? 0 : x ? -1 : 1; };  // Null first
                if (column == 0) {
                    r = (!a.nombre || !b.nombre) ? nulls(!a.nombre, !b.nombre) : oracle.collator.Compare(*a.nombre, *b.nombre);
                } else if (column == 1) {
                    r = (!a.fecha || !b.fecha) ? nulls(!a.fecha, !b.fecha) : (*a.fecha > *b.fecha) - (*a.fecha < *b.fecha);
                } else {
                    r = (!a.importe || !b.importe) ? nulls(!a.importe, !b.importe)
                                                   : (*a.importe > *b.importe) - (*a.importe < *b.importe);
                }
                if (r != 0) return desc ? r > 0 : r < 0;
            }
            return false;
        };
        std::stable_sort(in.begin(), in.end(), cmp);
        return in;
    }

    void Optimize(bool on) {
        for (const char* f : {"Nombre", "Fecha", "Importe"}) rs->Fields()[f].Properties().Item("Optimize").Value(Variant(on));
    }

    std::mt19937 rng;
    RecordsetPtr rs;
    std::vector<Row> rows;
    Oracle oracle;
};

std::vector<int> Ids(const std::vector<Row>& rows) {
    std::vector<int> ids;
    for (const Row& r : rows) ids.push_back(r.id);
    return ids;
}

TEST_P(SearchProperty, FilterSortAndFindAgreeWithBruteForce) {
    static const char* const kColumns[] = {"Nombre", "Fecha", "Importe"};
    for (int round = 0; round < 60; ++round) {
        // Indexes stay through half of the rounds, and rows change under them.
        if (round % 8 == 0) Optimize(round % 16 == 0);
        EditSomeRows();
        // A filter: alternatives of one or two clauses.
        const size_t groups = 1 + Pick(3);
        std::vector<std::vector<Clause>> dnf(groups);
        std::string filter;
        for (size_t g = 0; g < groups; ++g) {
            const size_t n = 1 + Pick(2);
            std::string group;
            for (size_t i = 0; i < n; ++i) {
                dnf[g].push_back(RandomClause());
                group += (i ? " AND " : "") + dnf[g].back().text;
            }
            filter += (g ? " OR " : "") + (n > 1 || Chance(30) ? "(" + group + ")" : group);
        }
        std::vector<Row> expected;
        for (const Row& r : rows)
            if (std::any_of(dnf.begin(), dnf.end(), [&](const auto& group) {
                    return std::all_of(group.begin(), group.end(), [&](const Clause& c) { return c.holds(r); });
                }))
                expected.push_back(r);

        // A sort of one or two columns.
        std::vector<std::pair<int, bool>> keys;
        std::string sort;
        for (size_t k = 0, n = 1 + Pick(2); k < n; ++k) {
            const int column = static_cast<int>(Pick(3));
            const bool desc = Chance(50);
            keys.emplace_back(column, desc);
            sort += (k ? ", " : "") + std::string(kColumns[column]) + (desc ? " DESC" : Chance(50) ? " ASC" : "");
        }
        SCOPED_TRACE("filter: " + filter + "; sort: " + sort);

        rs->Sort("");
        rs->Filter(Variant(filter));
        EXPECT_EQ(VisibleIds(), Ids(expected));
        EXPECT_EQ(rs->RecordCount(), static_cast<int32_t>(expected.size()));
        rs->Sort(sort);
        const std::vector<Row> ordered = Sorted(expected, keys);
        EXPECT_EQ(VisibleIds(), Ids(ordered));

        // Find walks the sorted view, forward from the first row and backward from the last.
        const Clause find = RandomClause();
        SCOPED_TRACE("find: " + find.text);
        std::vector<int> matches;
        for (const Row& r : ordered)
            if (find.holds(r)) matches.push_back(r.id);
        std::vector<int> found;
        if (!ordered.empty()) {
            rs->Find(find.text, 0, adSearchForward, Variant(int32_t{adBookmarkFirst}));
            while (!rs->adoEOF()) {
                found.push_back(rs->Fields()["Id"].Value().ToInt32());
                rs->Find(find.text, 1);
            }
        }
        EXPECT_EQ(found, matches);
        std::vector<int> back;
        if (!ordered.empty()) {
            rs->Find(find.text, 0, adSearchBackward, Variant(int32_t{adBookmarkLast}));
            while (!rs->BOF()) {
                back.push_back(rs->Fields()["Id"].Value().ToInt32());
                rs->Find(find.text, 1, adSearchBackward);
            }
        }
        std::reverse(back.begin(), back.end());
        EXPECT_EQ(back, matches);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, SearchProperty, ::testing::Values(1u, 7u, 42u, 2024u, 90210u));

}  // namespace
