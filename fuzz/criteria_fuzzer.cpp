// Fuzz target: any text as Find criteria, Filter criteria and a Sort order. Each parser gives
// its result or fails with ado::Error 3001, never another exception; a Find criterion also
// reads as a Filter of that one clause; what parses is then applied to a small in-memory
// recordset (with an index on one field), which may fail only with an ado::Error and must
// leave the cursor on a row, at BOF or at EOF, with a filtered count no larger than its rows.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ado/ado.h"
#include "ado/criteria/criteria.h"
#include "ado/error_numbers.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "criteria: %s: [%s]\n", what, text.c_str());
    std::abort();
}

template <class F>
bool Parses(F&& parse, const std::string& text) {
    try {
        parse();
        return true;
    } catch (const ado::Error& e) {
        if (e.Number() != ado::err::InvalidArgument) Fail("a refusal that is not 3001", text);
        return false;
    }
}

ado::RecordsetPtr Rows() {
    auto rs = ado::Recordset::Create();
    rs->Fields().Append("Id", ado::adInteger);
    rs->Fields().Append("Nombre", ado::adVarWChar, 20);
    rs->Fields().Append("Alta", ado::adDate);
    rs->Open();
    const char* names[] = {"José", "ana", "O'Hara", ""};
    for (int i = 0; i < 6; ++i) {
        rs->AddNew();
        rs->Fields()["Id"].Value(ado::Variant(i));
        if (i % 4 != 3) rs->Fields()["Nombre"].Value(ado::Variant(names[i % 4]));
        if (i % 3) rs->Fields()["Alta"].Value(ado::Variant(ado::MakeDate(1997, 7, 1 + i)));
        rs->Update();
    }
    rs->Fields()["Nombre"].Properties().Item("Optimize").Value(ado::Variant(true));
    return rs;
}

void Apply(const std::string& text, bool find, bool filter, bool sort) {
    static const ado::RecordsetPtr rs = Rows();
    auto settled = [&] {
        if (!rs->adoEOF() && !rs->BOF()) rs->Fields()["Id"].Value();
        if (rs->RecordCount() > 6) Fail("more rows than there are", text);
    };
    try {
        if (filter) rs->Filter(ado::Variant(text));
        settled();
        if (sort) rs->Sort(text);
        settled();
        if (find) {
            rs->Find(text, 0, ado::adSearchForward, ado::Variant(int32_t{ado::adBookmarkFirst}));
            settled();
            rs->Find(text, 0, ado::adSearchBackward, ado::Variant(int32_t{ado::adBookmarkLast}));
            settled();
        }
    } catch (const ado::Error&) {
    }
    rs->Sort("");
    rs->Filter(ado::Variant(""));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ado::criteria::Clause clause;
    const bool find = Parses([&] { clause = ado::criteria::ParseFind(text); }, text);
    ado::criteria::Criteria criteria;
    const bool filter = Parses([&] { criteria = ado::criteria::ParseFilter(text); }, text);
    const bool sort = Parses([&] { ado::criteria::ParseSort(text); }, text);
    if (find && !(filter && criteria.anyOf.size() == 1 && criteria.anyOf[0].size() == 1 &&
                  criteria.anyOf[0][0].field == clause.field && criteria.anyOf[0][0].value == clause.value))
        Fail("a Find criterion that is not a Filter of one clause", text);
    if (find || filter || sort) Apply(text, find, filter, sort);
    return 0;
}
